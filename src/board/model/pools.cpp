#include "board/model/pools.h"

#include <cstdint>
#include <new>

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
}  // namespace
#endif

void* TakeBulkMemory(size_t bytes) {
#ifdef __linux__
    if (bytes >= kHugePage / 2) {
        bytes = Mapped(bytes);
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
        munmap(p, Mapped(bytes));
        return;
    }
#endif
    ::operator delete(p);
}

}  // namespace zevo
