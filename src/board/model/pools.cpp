#include "board/model/pools.h"

#include <cstdint>
#include <mutex>
#include <new>
#include <vector>

#ifdef __linux__
#include <sys/mman.h>
#endif

namespace zevo {

#ifdef __linux__
namespace {
// Large slabs are mapped in whole units of this, aligned to it, so that the system can back them
// with huge pages.
constexpr size_t kHugePage = size_t(2) << 20;
size_t Mapped(size_t bytes) {
    return (bytes + kHugePage - 1) & ~(kHugePage - 1);
}

// Large slabs given back are kept for the next board (opening another file, reverting, the
// next read of a batch) rather than unmapped at once: fresh memory is zeroed by the system page
// by page on first touch, which on a virtual machine costs as much as parsing the file. The
// system may still take kept memory back when it runs short (MADV_FREE); it then faults in afresh.
class KeptSlabs {
  public:
    void* take(size_t mapped) {
        std::lock_guard<std::mutex> lock(mutex_);
        for (size_t i = kept_.size(); i-- > 0;) {
            if (kept_[i].bytes != mapped) continue;
            void* p = kept_[i].p;
            kept_.erase(kept_.begin() + static_cast<std::ptrdiff_t>(i));
            total_ -= mapped;
            return p;
        }
        return nullptr;
    }
    bool keep(void* p, size_t mapped) {
        std::lock_guard<std::mutex> lock(mutex_);
        if (total_ + mapped > kLimit) return false;
#ifdef MADV_FREE
        madvise(p, mapped, MADV_FREE);
#endif
        kept_.push_back({p, mapped});
        total_ += mapped;
        return true;
    }

  private:
    // About what a board of two million elements holds.
    static constexpr size_t kLimit = size_t(512) << 20;
    struct Slab {
        void* p;
        size_t bytes;
    };
    std::mutex mutex_;
    std::vector<Slab> kept_;
    size_t total_ = 0;
};

KeptSlabs& Kept() {
    static KeptSlabs* kept = new KeptSlabs;  // lives until exit, like what it keeps
    return *kept;
}
}  // namespace
#endif

void* TakeBulkMemory(size_t bytes) {
#ifdef __linux__
    if (bytes >= kHugePage / 2) {
        bytes = Mapped(bytes);
        if (void* p = Kept().take(bytes)) return p;
        void* raw = mmap(nullptr, bytes + kHugePage, PROT_READ | PROT_WRITE,
                         MAP_PRIVATE | MAP_ANONYMOUS, -1, 0);
        if (raw == MAP_FAILED) throw std::bad_alloc();
        const uintptr_t start = reinterpret_cast<uintptr_t>(raw);
        const uintptr_t aligned = (start + kHugePage - 1) & ~(kHugePage - 1);
        if (aligned > start) munmap(raw, aligned - start);
        if (const size_t tail = start + kHugePage - aligned)
            munmap(reinterpret_cast<void*>(aligned + bytes), tail);
        void* p = reinterpret_cast<void*>(aligned);
        madvise(p, bytes, MADV_HUGEPAGE);
        return p;
    }
#endif
    return ::operator new(bytes);
}

void GiveBulkMemory(void* p, size_t bytes) {
    if (!p) return;
#ifdef __linux__
    if (bytes >= kHugePage / 2) {
        if (!Kept().keep(p, Mapped(bytes))) munmap(p, Mapped(bytes));
        return;
    }
#endif
    ::operator delete(p);
}

}  // namespace zevo
