// SPDX-License-Identifier: MIT
// Memory blocks for the implementation objects of fixed-size values, kept in a small per-thread
// cache: creating and destroying a Matrix3x1 or Matrix3x3 value then costs a few instructions
// instead of a trip through the heap. Not exported.
//
// Every thread keeps at most kCachedBlocks + 1 blocks; they return to the heap when the thread
// exits (its last destructors may still release blocks, which then go to the heap directly). A
// block may be taken on one thread and given back on another. On Windows, where a DLL's thread-exit
// hooks are unreliable (the entry routine switches thread notifications off), and with compilers
// without GNU thread-local storage, the blocks come from the heap directly.
#ifndef KOCALVIX_SRC_FIXED_BLOCK_CACHE_H
#define KOCALVIX_SRC_FIXED_BLOCK_CACHE_H

#include <cstddef>
#include <new>

#if !defined(_WIN32) && (defined(__GNUC__) || defined(__clang__))
#define KOCALVIX_BLOCK_CACHE 1
#endif

// Under AddressSanitizer a cached block is poisoned, so a use after release is still reported.
#if defined(__SANITIZE_ADDRESS__)
#define KOCALVIX_ASAN 1
#elif defined(__has_feature)
#if __has_feature(address_sanitizer)
#define KOCALVIX_ASAN 1
#endif
#endif
#ifdef KOCALVIX_ASAN
#include <sanitizer/asan_interface.h>
#define KOCALVIX_POISON(p, n) ASAN_POISON_MEMORY_REGION(p, n)
#define KOCALVIX_UNPOISON(p, n) ASAN_UNPOISON_MEMORY_REGION(p, n)
#else
#define KOCALVIX_POISON(p, n) static_cast<void>(0)
#define KOCALVIX_UNPOISON(p, n) static_cast<void>(0)
#endif

namespace kocalvix {
namespace fixed {

/// The size of every block, enough for the largest fixed-size implementation.
constexpr std::size_t kBlockSize = 128;
/// The most blocks one thread keeps in its list (its spare slot holds one more).
constexpr int kCachedBlocks = 32;

/// The slow paths: a block from the heap, and a block given back to a thread that cannot keep it
/// yet (first use, full cache, or the thread is exiting).
void* TakeBlockFromHeap();
void GiveBlockSlowly(void* block) noexcept;

#ifdef KOCALVIX_BLOCK_CACHE

struct FreeBlock {
    FreeBlock* next;
};

/// The cache of one thread. It is plain data without a destructor, so its storage stays usable
/// until the thread has ended. `room` counts the blocks the list may still keep: zero until the
/// thread's cleanup is scheduled (`armed`) and again once that cleanup has run (`closed`), so
/// giving a block back tests one number. `spare` holds one more block in front of the list: the
/// value released last is usually the next one created, and taking it back from there does not
/// wait for a load of the list's next link.
struct BlockCache {
    void* spare;
    FreeBlock* head;
    int room;
    bool armed;
    bool closed;
};

// The initial-exec model makes each access a plain thread-pointer offset; the few bytes come
// from the static TLS reserve that the loader keeps for libraries loaded later.
extern __thread BlockCache threadBlockCache __attribute__((tls_model("initial-exec")));

/// A block of kBlockSize bytes, aligned for any object of that size. Throws std::bad_alloc.
inline void* TakeBlock() {
    BlockCache& c = threadBlockCache;
    if (void* spare = c.spare) {
        c.spare = nullptr;
        KOCALVIX_UNPOISON(spare, kBlockSize);
        return spare;
    }
    if (c.head != nullptr) {
        FreeBlock* block = c.head;
        KOCALVIX_UNPOISON(block, kBlockSize);
        c.head = block->next;
        ++c.room;
        return block;
    }
    return TakeBlockFromHeap();
}

/// Returns a block obtained from TakeBlock (on any thread).
inline void GiveBlock(void* block) noexcept {
    BlockCache& c = threadBlockCache;
    if (c.room > 0) {
        if (c.spare == nullptr) {
            c.spare = block;
        } else {
            c.head = new (block) FreeBlock{c.head};
            --c.room;
        }
        KOCALVIX_POISON(block, kBlockSize);
        return;
    }
    GiveBlockSlowly(block);
}

#else

inline void* TakeBlock() {
    return TakeBlockFromHeap();
}

inline void GiveBlock(void* block) noexcept {
    GiveBlockSlowly(block);
}

#endif

}  // namespace fixed
}  // namespace kocalvix

#endif  // KOCALVIX_SRC_FIXED_BLOCK_CACHE_H
