// SPDX-License-Identifier: MIT
// The number of threads a large product may use: the library's only mutable global setting.
// Private to the library; Calvix::SetThreadCount and Calvix::ThreadCount forward here.
#ifndef KOCALVIX_SRC_KERNEL_THREAD_COUNT_H
#define KOCALVIX_SRC_KERNEL_THREAD_COUNT_H

namespace kocalvix::kernel {

/// The most threads one product uses, whatever is requested.
constexpr int kMaxThreads = 64;

/// The current setting, 1 .. kMaxThreads.
int ThreadCount();

/// n >= 1 sets the count (capped at kMaxThreads); n <= 0 restores the default: the
/// environment variable KOCALVIX_THREADS when it holds a positive number, otherwise the
/// hardware's thread count capped at 8. Safe to call from any thread at any time.
void SetThreadCount(int n);

}  // namespace kocalvix::kernel

#endif  // KOCALVIX_SRC_KERNEL_THREAD_COUNT_H
