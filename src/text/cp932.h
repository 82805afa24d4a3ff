// Shift-JIS (code page 932) <-> UTF-8.
//
// Everything the programs read and write (board files, settings, libraries, the font, netlists)
// holds CP932 bytes; the windows and the file system of the host speak UTF-8. These two
// conversions are the only bridge between them.
//
// Neither conversion ever fails or stops early. What cannot be converted is replaced, one
// replacement per character, and the rest of the string is converted as usual:
//   - CP932 -> UTF-8: a byte pair (lead byte followed by a valid second byte) without a character
//     becomes one U+FFFD; a stray byte (an undefined single byte, or a lead byte whose second
//     byte is missing or not a second byte) becomes one U+FFFD and the next byte starts afresh,
//     so an ASCII character after a broken lead byte is kept.
//   - UTF-8 -> CP932: a character without a CP932 code becomes "?"; each byte of an invalid UTF-8
//     sequence (overlong forms, surrogates, stray continuation bytes, truncated sequences) becomes
//     "?" of its own.
// The usual Japanese variants are folded onto the CP932 codes: U+301C WAVE DASH and U+FF5E
// FULLWIDTH TILDE are both 0x8160, U+2212 MINUS SIGN and U+FF0D FULLWIDTH HYPHEN-MINUS both
// 0x817C, and so on for the other JIS/CP932 pairs; U+00A5 YEN SIGN becomes the single byte 0x5C
// (the yen sign of Japanese fonts) and U+203E OVERLINE 0x7E. Reading back gives the CP932
// characters (0x5C is "\", 0x8160 is U+FF5E).
#pragma once

#include <cstddef>
#include <string>
#include <string_view>

namespace zevo {

// `replaced`, when given, receives the number of replacement characters written.
std::string Cp932ToUtf8(std::string_view cp932, std::size_t* replaced = nullptr);
std::string Utf8ToCp932(std::string_view utf8, std::size_t* replaced = nullptr);

// The CP932 structure, independent of any character table.
inline bool IsCp932LeadByte(unsigned char b) {
    return (b >= 0x81 && b <= 0x9F) || (b >= 0xE0 && b <= 0xFC);
}
inline bool IsCp932TrailByte(unsigned char b) {
    return b >= 0x40 && b <= 0xFC && b != 0x7F;
}

// False when the platform's converter could not be loaded; then only ASCII converts.
bool Cp932Available();

}  // namespace zevo
