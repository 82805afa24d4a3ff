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
    Entry* link;
    uint32_t size;   // bytes without the terminator
    uint32_t shown;  // bytes up to the first NUL: the length View() finds (see InternedView)
    char text[1];    // size + 1 bytes
};
static_assert(offsetof(Entry, text) == offsetof(Entry, shown) + sizeof(uint32_t));

// Entries are carved out of large blocks: they are never removed, so there is nothing to free
// one by one, and a million names cost no million heap calls.
class StringPool {
  public:
    Istr intern(std::string_view s) {
        const uint32_t bucket = InternBucket(InternHash(s));
        Entry** slot = &buckets_[bucket];
        for (Entry* e = *slot; e; e = e->link) {
            if (e->size == s.size() && std::memcmp(e->text, s.data(), s.size()) == 0)
                return e->text;
            slot = &e->link;
        }
        Entry* e = allocate(s.size());
        e->link = nullptr;
        e->size = static_cast<uint32_t>(s.size());
        std::memcpy(e->text, s.data(), s.size());
        e->text[s.size()] = '\0';
        e->shown = static_cast<uint32_t>(std::strlen(e->text));
        *slot = e;
        return e->text;
    }

  private:
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
    Entry* buckets_[kInternBuckets] = {};
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

const ReservedWords& Reserved() {
    static const ReservedWords words{Intern(" TEXT"), Intern(" PAD"),        Intern(" PAINTED"),
                                     Intern(" LOOP"), Intern(" LINES"),      Intern(" WINDOW"),
                                     Intern(" DRC"),  Intern(" DOTTEDLINE"), Intern("NO_DRC")};
    return words;
}

}  // namespace zevo
