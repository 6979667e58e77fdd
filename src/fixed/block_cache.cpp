// SPDX-License-Identifier: MIT
// The slow paths of the per-thread block cache, and the cleanup at thread exit.
#include "fixed/block_cache.h"

namespace kocalvix {
namespace fixed {

void* TakeBlockFromHeap() {
    return ::operator new(kBlockSize);
}

#ifdef KOCALVIX_BLOCK_CACHE

__thread BlockCache threadBlockCache
    __attribute__((tls_model("initial-exec"))) = {nullptr, nullptr, 0, false, false};

namespace {

// Empties the thread's cache when the thread exits and closes it, so that blocks released by
// destructors that run later go to the heap directly.
struct Reaper {
    ~Reaper() {
        BlockCache& c = threadBlockCache;
        c.room = 0;
        c.closed = true;
        if (c.spare != nullptr) {
            KOCALVIX_UNPOISON(c.spare, kBlockSize);
            ::operator delete(c.spare);
            c.spare = nullptr;
        }
        while (c.head != nullptr) {
            FreeBlock* block = c.head;
            KOCALVIX_UNPOISON(block, kBlockSize);
            c.head = block->next;
            ::operator delete(block);
        }
    }
    bool armed = false;
};

thread_local Reaper reaper;

}  // namespace

void GiveBlockSlowly(void* block) noexcept {
    BlockCache& c = threadBlockCache;
    if (!c.armed && !c.closed) {
        // First block on this thread: using the thread_local Reaper constructs it and schedules
        // its destructor for the thread's exit; from then on the cache keeps blocks.
        reaper.armed = true;
        c.armed = true;
        c.room = kCachedBlocks;
        GiveBlock(block);
        return;
    }
    ::operator delete(block);
}

#else

void GiveBlockSlowly(void* block) noexcept {
    ::operator delete(block);
}

#endif

}  // namespace fixed
}  // namespace kocalvix
