// SPDX-License-Identifier: MIT
// Windows entry routine of the KoCalvix DLL. The library keeps no per-thread state, so thread
// attach and detach notifications are switched off on process attach; nothing else happens here.
#ifdef _WIN32
#define WIN32_LEAN_AND_MEAN
#include <windows.h>

BOOL APIENTRY DllMain(HMODULE module, DWORD reason, LPVOID /*reserved*/) {
    if (reason == DLL_PROCESS_ATTACH) {
        DisableThreadLibraryCalls(module);
    }
    return TRUE;
}
#endif
