// SPDX-License-Identifier: MIT
// A replacement of the global operator new and delete for test programs: it counts allocation
// calls and live blocks, can fail chosen allocations with std::bad_alloc, and refuses requests
// above a size limit. Linking counting_new.cpp into a program installs it for the whole process,
// the library's objects included.
#ifndef KOCALVIX_TESTS_ROBUSTNESS_COUNTING_NEW_H
#define KOCALVIX_TESTS_ROBUSTNESS_COUNTING_NEW_H

#include <cstddef>

namespace counting_new {

/// How an armed allocator fails: only allocation number `failAt` (counted from 1 after Arm), or
/// that one and every later one.
enum class FailMode { OnlyThat, FromThereOn };

/// Starts counting allocations from zero; with failAt > 0, allocation number failAt fails (and,
/// with FromThereOn, every one after it).
void Arm(long failAt, FailMode mode);
/// Stops failing allocations; the count since Arm stays readable.
void Disarm();
/// Allocations since the last Arm.
long Allocations();
/// True when an allocation was failed since the last Arm.
bool Injected();
/// Blocks allocated and not yet released, over the whole process.
long LiveBlocks();
/// Requests larger than `bytes` fail with std::bad_alloc (0: no limit); returns the old limit.
std::size_t SetSizeLimit(std::size_t bytes);
/// The largest request seen since the last Arm, refused ones included.
std::size_t LargestRequest();

}  // namespace counting_new

#endif  // KOCALVIX_TESTS_ROBUSTNESS_COUNTING_NEW_H
