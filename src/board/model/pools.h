// Per-class node pools. A node taken from a pool is constructed in place; a released node goes
// to the tail of its class's free list and is handed out again before any new memory is taken.
// Memory goes back to the heap only when the pool itself ends (the document's owner ends).
#pragma once

#include <algorithm>
#include <cstddef>
#include <memory>
#include <new>
#include <vector>

#if defined(__has_feature)
#if __has_feature(address_sanitizer)
#define ZEVO_ASAN 1
#endif
#endif
#if defined(__SANITIZE_ADDRESS__)
#define ZEVO_ASAN 1
#endif
#ifdef ZEVO_ASAN
#include <sanitizer/asan_interface.h>
#endif

namespace zevo {

// Memory for node slabs. A large slab (whole 2 MB units) is aligned for huge pages where the
// system offers them: on a virtual machine the first write to every fresh 4 KB page of a big
// board costs about as much as reading the board file.
void* TakeBulkMemory(size_t bytes);
void GiveBulkMemory(void* p, size_t bytes);

template <class T>
class NodePool {
  public:
    NodePool() = default;
    NodePool(const NodePool&) = delete;
    NodePool& operator=(const NodePool&) = delete;
    ~NodePool() {
        // Nodes hold only plain data and pointers into pools: nothing to tear down one by one.
        for (const Slab& s : slabs_) {
#ifdef ZEVO_ASAN
            ASAN_UNPOISON_MEMORY_REGION(s.slots, s.count * sizeof(Slot));
#endif
            GiveBulkMemory(s.slots, s.count * sizeof(Slot));
        }
    }

    template <class... A>
    T* take(A&&... args) {
        void* mem;
        if (freeHead_) {
            Slot* s = freeHead_;
#ifdef ZEVO_ASAN
            ASAN_UNPOISON_MEMORY_REGION(s, sizeof(Slot));
#endif
            freeHead_ = s->link;
            if (!freeHead_) freeTail_ = nullptr;
            --freeCount_;
            mem = s;
        } else {
            if (slabs_.empty() || used_ == slabs_.back().count) {
                // Slabs grow with the pool, so a huge board needs few of them.
                const size_t count =
                    slabs_.empty() ? kFirstSlab : std::min(slabs_.back().count * 2, kLargestSlab);
                slabs_.push_back({static_cast<Slot*>(TakeBulkMemory(count * sizeof(Slot))), count});
                allocatedBefore_ += used_;
                used_ = 0;
            }
            mem = &slabs_.back().slots[used_++];
        }
        return ::new (mem) T(static_cast<A&&>(args)...);
    }

    // Puts a node at the tail of the free list. Its contents are gone from here on.
    void give(T* node) {
        Slot* s = reinterpret_cast<Slot*>(node);
        s->link = nullptr;
        if (freeTail_)
            freeTail_->link = s;
        else
            freeHead_ = s;
        freeTail_ = s;
        ++freeCount_;
#ifdef ZEVO_ASAN
        // A recycled node must never be touched again: let the sanitizer say so in tests.
        ASAN_POISON_MEMORY_REGION(reinterpret_cast<char*>(s) + sizeof(Slot*),
                                  sizeof(Slot) - sizeof(Slot*));
#endif
    }

    size_t allocated() const {
        return allocatedBefore_ + used_;
    }
    size_t freeCount() const {
        return freeCount_;
    }
    size_t live() const {
        return allocated() - freeCount_;
    }

  private:
    union alignas(T) Slot {
        Slot* link;
        unsigned char bytes[sizeof(T)];
        Slot() {}
    };
    struct Slab {
        Slot* slots;
        size_t count;
    };
    static constexpr size_t kFirstSlab = 64 * 1024 / sizeof(Slot) > 0 ? 64 * 1024 / sizeof(Slot)
                                                                      : 16;
    static constexpr size_t kLargestSlab = (size_t(4) << 20) / sizeof(Slot);
    std::vector<Slab> slabs_;
    size_t used_ = 0;
    size_t allocatedBefore_ = 0;
    Slot* freeHead_ = nullptr;
    Slot* freeTail_ = nullptr;
    size_t freeCount_ = 0;
};

}  // namespace zevo
