// SPDX-License-Identifier: MIT
// Threads for one large product. Private to the library.
#ifndef KOCALVIX_SRC_KERNEL_WORKER_THREADS_H
#define KOCALVIX_SRC_KERNEL_WORKER_THREADS_H

namespace kocalvix::kernel {

/// Runs task(context, t) for t = 0 .. count - 1: part 0 on the calling thread, every other part
/// on a thread started for this call, and returns when all parts have finished. A part whose
/// thread cannot be started runs on the calling thread instead. `task` must not throw.
void RunOnThreads(int count, void (*task)(void* context, int part), void* context);

}  // namespace kocalvix::kernel

#endif  // KOCALVIX_SRC_KERNEL_WORKER_THREADS_H
