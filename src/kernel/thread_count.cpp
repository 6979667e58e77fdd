// SPDX-License-Identifier: MIT
// The thread-count setting: one atomic int, so that any thread may read or change it while
// products run elsewhere (a product reads it once, when it starts).
#include "kernel/thread_count.h"

#include <algorithm>
#include <atomic>
#include <cstdlib>
#include <thread>

namespace kocalvix::kernel {
namespace {

// 0 stands for "the default"; constant-initialised, so it is valid before any constructor runs.
std::atomic<int> requested{0};

int DefaultThreadCount() {
    static const int count = [] {
        if (const char* text = std::getenv("KOCALVIX_THREADS")) {
            char* end = nullptr;
            const long value = std::strtol(text, &end, 10);
            if (end != text && *end == '\0' && value > 0) {
                return static_cast<int>(std::min<long>(value, kMaxThreads));
            }
        }
        const unsigned hardware = std::thread::hardware_concurrency();  // 0 when unknown
        return hardware == 0 ? 1 : static_cast<int>(std::min(hardware, 8u));
    }();
    return count;
}

}  // namespace

int ThreadCount() {
    const int n = requested.load(std::memory_order_relaxed);
    return n > 0 ? n : DefaultThreadCount();
}

void SetThreadCount(int n) {
    requested.store(n > 0 ? std::min(n, kMaxThreads) : 0, std::memory_order_relaxed);
}

}  // namespace kocalvix::kernel
