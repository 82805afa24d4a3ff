// The process-wide string pool. Names and texts held by elements are interned once and compared
// by identity; entries live until the program ends.
#pragma once

#include <cstdint>
#include <cstring>
#include <string_view>

namespace zevo {

// An interned string: a NUL-terminated byte string owned by the pool, or nullptr for none.
using Istr = const char*;

// Returns the pool's copy of s; nullptr for an empty string.
Istr Intern(std::string_view s);
// A hint that Intern(s) follows soon: starts fetching the part of the pool it will look at.
void InternPrefetch(std::string_view s);
// The bucket hash of the pool (exposed for tests).
uint32_t InternHash(std::string_view s);
// The pool's table starts with this many slots and doubles as it fills.
inline constexpr uint32_t kInternBuckets = 16384;
// The hash mostly reflects the last few bytes of a name, so "N1" .. "N50000" would crowd into a
// twelfth of the buckets with chains of ninety; its bits are spread before the slot (one of
// 1 << bits) is taken.
inline uint32_t InternBucket(uint32_t hash, int bits = 14) {
    return (hash * 0x9E3779B1u) >> (32 - bits);
}

// "" held by groups: one static empty string, not a pool entry.
extern const char kEmptyText[];

inline std::string_view View(Istr s) {
    return s ? std::string_view(s) : std::string_view();
}
// The text of a string Intern() returned (never nullptr, kEmptyText or a literal), as View() gives
// it, with the length the pool keeps in front of the bytes instead of counting them.
inline std::string_view InternedView(Istr s) {
    uint32_t n;
    std::memcpy(&n, s - sizeof n, sizeof n);
    return {s, n};
}
inline bool IsBlank(Istr s) {
    return !s || !*s;
}

// Reserved group type words and the attribute "NO_DRC", interned once.
struct ReservedWords {
    Istr text, pad, painted, loop, lines, window, drc, dottedLine, noDrc;
};
const ReservedWords& Reserved();

}  // namespace zevo
