#include "board/model/intern.h"

#include <cstddef>
#include <cstdlib>
#include <cstring>
#include <memory>
#include <vector>

namespace zevo {

const char kEmptyText[] = "";

namespace {

struct Entry {
    uint32_t size;   // bytes without the terminator
    uint32_t shown;  // bytes up to the first NUL: the length View() finds (see InternedView)
    char text[1];    // size + 1 bytes
};
static_assert(offsetof(Entry, text) == offsetof(Entry, shown) + sizeof(uint32_t));

// The first (up to) eight bytes of a text, zero-padded.
uint64_t Head(std::string_view s) {
    uint64_t h = 0;
    std::memcpy(&h, s.data(), s.size() < sizeof h ? s.size() : sizeof h);
    return h;
}

// Entries are carved out of large blocks: they are never removed, so there is nothing to free
// one by one, and a million names cost no million heap calls. They are found through an open
// table that holds each one's hash, size and first bytes: a lookup reads one or two neighbouring
// slots and touches an entry's bytes only for a name longer than eight bytes. The table doubles
// when three quarters full.
class StringPool {
  public:
    StringPool() : slots_(kInternBuckets), bits_(14) {}

    Istr intern(std::string_view s) {
        const uint32_t hash = InternHash(s);
        const uint64_t head = Head(s);
        const uint32_t size = static_cast<uint32_t>(s.size());
        const size_t mask = slots_.size() - 1;
        for (size_t i = InternBucket(hash, bits_);; i = (i + 1) & mask) {
            Slot& slot = slots_[i];
            if (!slot.entry) {
                Entry* e = allocate(s.size());
                e->size = size;
                std::memcpy(e->text, s.data(), s.size());
                e->text[s.size()] = '\0';
                e->shown = static_cast<uint32_t>(std::strlen(e->text));
                slot = {e, head, hash, size};
                if (++count_ * 4 > slots_.size() * 3) grow();
                return e->text;
            }
            if (slot.hash == hash && slot.size == size && slot.head == head &&
                (size <= sizeof head ||
                 std::memcmp(slot.entry->text + sizeof head, s.data() + sizeof head,
                             size - sizeof head) == 0))
                return slot.entry->text;
        }
    }

    void prefetch(std::string_view s) const {
#if defined(__GNUC__) || defined(__clang__)
        __builtin_prefetch(&slots_[InternBucket(InternHash(s), bits_)]);
#else
        (void)s;
#endif
    }

  private:
    struct Slot {
        Entry* entry = nullptr;
        uint64_t head = 0;
        uint32_t hash = 0;
        uint32_t size = 0;
    };

    void grow() {
        std::vector<Slot> old(slots_.size() * 2);
        old.swap(slots_);
        ++bits_;
        const size_t mask = slots_.size() - 1;
        for (const Slot& s : old) {
            if (!s.entry) continue;
            size_t i = InternBucket(s.hash, bits_);
            while (slots_[i].entry) i = (i + 1) & mask;
            slots_[i] = s;
        }
    }

    Entry* allocate(size_t n) {
        const size_t need = (offsetof(Entry, text) + n + 1 + 7) & ~size_t(7);
        if (need > kBlock / 4) {
            blocks_.emplace_back(new char[need]);
            return reinterpret_cast<Entry*>(blocks_.back().get());
        }
        if (used_ + need > kBlock || !current_) {
            blocks_.emplace_back(new char[kBlock]);
            current_ = blocks_.back().get();
            used_ = 0;
        }
        Entry* e = reinterpret_cast<Entry*>(current_ + used_);
        used_ += need;
        return e;
    }

    static constexpr size_t kBlock = 256 * 1024;
    std::vector<Slot> slots_;
    int bits_;  // slots_.size() is 1 << bits_
    size_t count_ = 0;
    std::vector<std::unique_ptr<char[]>> blocks_;
    char* current_ = nullptr;
    size_t used_ = 0;
};

StringPool& Pool() {
    static StringPool* pool = new StringPool;  // lives until exit, like its strings
    return *pool;
}

}  // namespace

uint32_t InternHash(std::string_view s) {
    uint32_t h = static_cast<uint32_t>(s.size()) + 1;
    for (char ch : s) {
        const uint32_t c =
            static_cast<uint32_t>(static_cast<int32_t>(static_cast<signed char>(ch)));
        h = (h << 5) ^ (h >> 27) ^ c;
    }
    return h;
}

Istr Intern(std::string_view s) {
    if (s.empty()) return nullptr;
    return Pool().intern(s);
}

void InternPrefetch(std::string_view s) {
    if (!s.empty()) Pool().prefetch(s);
}

const ReservedWords& Reserved() {
    static const ReservedWords words{Intern(" TEXT"), Intern(" PAD"),        Intern(" PAINTED"),
                                     Intern(" LOOP"), Intern(" LINES"),      Intern(" WINDOW"),
                                     Intern(" DRC"),  Intern(" DOTTEDLINE"), Intern("NO_DRC")};
    return words;
}

}  // namespace zevo
