// SPDX-License-Identifier: MIT
// Worker threads that live for one product only.
//
// A pool of parked threads would save the start-up of a few tens of microseconds per large
// product, but it would have to be stopped when the library is unloaded, and on Windows a DLL's
// static destructors run under the loader lock, where joining a thread deadlocks (and threads
// left running would execute unloaded code). Threads started and joined inside the call cannot
// outlive it, hold no global state, and cost little next to the products that use them: only
// products of millions of multiplications are split at all.
#include "kernel/worker_threads.h"

#include <cstddef>
#include <cstdint>
#include <vector>

#if defined(_WIN32)
#define WIN32_LEAN_AND_MEAN
#include <process.h>
#include <windows.h>
#else
#include <thread>
#endif

namespace kocalvix::kernel {
namespace {

struct Part {
    void (*task)(void*, int);
    void* context;
    int index;
};

#if defined(_WIN32)
using Thread = HANDLE;

unsigned __stdcall RunPart(void* argument) {
    const Part* part = static_cast<const Part*>(argument);
    part->task(part->context, part->index);
    return 0;
}

// False when the thread could not be started.
bool Start(const Part& part, Thread& thread) {
    const std::uintptr_t handle =
        _beginthreadex(nullptr, 0, RunPart, const_cast<Part*>(&part), 0, nullptr);
    thread = reinterpret_cast<HANDLE>(handle);
    return handle != 0;
}

void Join(Thread& thread) {
    WaitForSingleObject(thread, INFINITE);
    CloseHandle(thread);
}
#else
using Thread = std::thread;

bool Start(const Part& part, Thread& thread) {
    try {
        thread = std::thread([&part] { part.task(part.context, part.index); });
        return true;
    } catch (...) {  // std::system_error, or std::bad_alloc for the thread's state
        return false;
    }
}

void Join(Thread& thread) {
    thread.join();
}
#endif

}  // namespace

void RunOnThreads(int count, void (*task)(void* context, int part), void* context) {
    if (count <= 1) {
        task(context, 0);
        return;
    }
    // Everything is allocated before the first part starts, so a std::bad_alloc leaves no
    // part begun.
    std::vector<Part> parts(static_cast<std::size_t>(count));
    std::vector<Thread> threads(static_cast<std::size_t>(count));
    std::vector<char> started(static_cast<std::size_t>(count), 0);
    for (int t = 1; t < count; ++t) {
        parts[t] = Part{task, context, t};
        started[t] = Start(parts[t], threads[t]) ? 1 : 0;
    }
    task(context, 0);
    for (int t = 1; t < count; ++t) {
        if (started[t]) {
            Join(threads[t]);
        } else {
            task(context, t);
        }
    }
}

}  // namespace kocalvix::kernel
