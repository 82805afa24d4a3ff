// The character tables behind cp932.cpp and the one function that fills them from the
// platform's converter (glibc/libiconv iconv, or code page 932 on Windows).
#pragma once

#include <cstdint>

namespace zevo::cp932 {

inline constexpr std::uint16_t kNoChar = 0xFFFF;  // neither U+FFFF nor 0xFFFF is ever a character

struct Tables {
    // Index: a single byte b, or (lead << 8) | trail. Value: the BMP character or kNoChar.
    std::uint16_t decode[0x10000];
    // Index: a BMP character. Value: a single byte (< 0x100), a byte pair (lead << 8 | trail),
    // or kNoChar. One-way mappings of the converter (U+00A5 -> 0x5C and the like) are included.
    std::uint16_t encode[0x10000];
};

// Fills both tables (they come in filled with kNoChar). Returns false when the converter is not
// available; the tables then stay as they are.
bool FillFromPlatform(Tables& t);

}  // namespace zevo::cp932
