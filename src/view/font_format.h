// The stroke font file "zevofont.dat" and the mapping from text bytes to font codes.
//
// Layout of the file (little-endian):
//   0       128 bytes header: "ZEVO FONT DATA-1", NUL, the rest zero
//   128     index: 60 rows (Shift-JIS lead bytes) x 188 cells (trail bytes) x 3 bytes, each a
//           24-bit offset of the glyph record (low 16 bits first); 128 or less means no glyph
//   33968   glyph records in index order
// An earlier format had no header text and only 42 rows (lead bytes 0x81-0x9F, 0xE0-0xEA); its
// records follow at 23816. Only the font editor reads it (and converts it).
//
// A glyph record is a count N (0..255) and N point entries of one or two bytes. The first byte
// of an entry: bit 7 pen down, bits 6-5 kind, bits 4-0 a value:
//   11  two bytes: x = bits 4-0, y = bits 4-0 of the second byte
//   01  one byte: x = value, y unchanged
//   10  one byte: y = value, x unchanged
//   00  one byte: no point (still counts as one of the N entries)
// Glyph coordinates are 0..31 with (0, 0) the lower-left corner and y up; decoding starts at the
// point (0, 0), and a pen-down entry draws from the previous point.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string_view>

namespace zevo {

inline constexpr char kFontHeaderText[] = "ZEVO FONT DATA-1";               // compared with its NUL
inline constexpr std::size_t kFontHeaderTextSize = sizeof kFontHeaderText;  // 17
inline constexpr std::size_t kFontHeaderSize = 128;
inline constexpr int kFontRows = 60;
inline constexpr int kFontOldRows = 42;
inline constexpr int kFontRowCells = 188;
inline constexpr int kFontCells = kFontRows * kFontRowCells;
inline constexpr int kFontOldCells = kFontOldRows * kFontRowCells;
inline constexpr std::size_t kFontIndexEnd = kFontHeaderSize + 3 * kFontCells;        // 33968
inline constexpr std::size_t kFontOldIndexEnd = kFontHeaderSize + 3 * kFontOldCells;  // 23816
inline constexpr uint32_t kNoGlyphLimit = 128;  // a cell value of this or less: no glyph
inline constexpr int kGlyphGrid = 32;
inline constexpr int kMaxGlyphEntries = 255;
// The longest record: the count and 255 two-byte entries.
inline constexpr std::size_t kMaxGlyphRecord = 1 + 2 * kMaxGlyphEntries;
// What the board editor reads from a record's offset (a little more than the longest record).
inline constexpr std::size_t kGlyphReadSize = 513;

// Entry byte layout.
inline constexpr uint8_t kPenDown = 0x80;
inline constexpr uint8_t kKindMask = 0x60;
inline constexpr uint8_t kKindXY = 0x60;
inline constexpr uint8_t kKindX = 0x20;
inline constexpr uint8_t kKindY = 0x40;
inline constexpr uint8_t kKindNone = 0x00;
inline constexpr uint8_t kValueMask = 0x1F;

// A font code: lead byte in the high byte, trail byte in the low byte.
using FontCode = uint16_t;
inline constexpr FontCode kNoCode = 0;
inline constexpr FontCode kIdeographicSpace = 0x8140;

inline constexpr FontCode MakeCode(unsigned lead, unsigned trail) {
    return static_cast<FontCode>(((lead & 0xFF) << 8) | (trail & 0xFF));
}
inline constexpr unsigned LeadOf(FontCode c) {
    return c >> 8;
}
inline constexpr unsigned TrailOf(FontCode c) {
    return c & 0xFF;
}

// Row of a lead byte (0..59), or -1 when the byte leads no row.
int FontRowOfLead(unsigned lead);
// Cell of a trail byte (0..187), or -1 for a byte outside 0x40-0x7E and 0x80-0xFC.
int FontCellOfTrail(unsigned trail);
// Index cell number (row * 188 + cell) of a code, or -1 when the code has none.
int FontCellOfCode(FontCode code);
// The code of an index cell number (0 .. kFontCells - 1).
FontCode FontCodeOfCell(int cellNumber);
// File offset of the 3-byte index cell of a cell number.
inline constexpr std::size_t FontCellOffset(int cellNumber) {
    return kFontHeaderSize + 3 * static_cast<std::size_t>(cellNumber);
}
inline uint32_t ReadCellValue(const uint8_t* p) {
    return uint32_t(p[0]) | uint32_t(p[1]) << 8 | uint32_t(p[2]) << 16;
}
inline void WriteCellValue(uint8_t* p, uint32_t v) {
    p[0] = uint8_t(v), p[1] = uint8_t(v >> 8), p[2] = uint8_t(v >> 16);
}

// True when the bytes begin with the current header text (its NUL included).
bool HasCurrentFontHeader(std::string_view file);

// Size in bytes of the glyph record at `p` found by walking its entries, or 0 when the record
// does not fit in `avail` bytes.
std::size_t GlyphRecordSize(const uint8_t* p, std::size_t avail);

// One decoded point entry.
struct GlyphPoint {
    int x = 0, y = 0;
    bool pen = false;
};

// Walks the entries of a record, carrying the previous point. Stops at the count or where the
// bytes end, whichever comes first. Kind 00 entries yield the previous point.
class GlyphDecoder {
  public:
    GlyphDecoder(const uint8_t* record, std::size_t size);
    // The next entry; false at the end.
    bool next(GlyphPoint& out);
    // The entry count the record declares.
    int declared() const { return count_; }

  private:
    const uint8_t* p_;
    const uint8_t* end_;
    int count_ = 0;
    int done_ = 0;
    int x_ = 0, y_ = 0;
};

// ---- text bytes to font codes

// Full-width code of a single byte (0x20-0x7E, 0xA0-0xDF), or kNoCode.
FontCode FullWidthCodeOfByte(unsigned char b);

// One character of a text: its code (kNoCode for a byte without one) and the bytes it came from.
struct TextChar {
    FontCode code = kNoCode;
    std::size_t offset = 0;
    std::size_t length = 0;
};

// Walks a text the way the board editor reads it: single bytes mapped to full-width codes (a
// half-width kana with a following voiced or semi-voiced mark becomes one voiced kana), a lead
// byte and the byte after it one code. A lead byte that ends the text forms a code with trail
// byte 0, which has no glyph.
class TextCodes {
  public:
    explicit TextCodes(std::string_view text) : text_(text) {}
    bool next(TextChar& out);

  private:
    std::string_view text_;
    std::size_t pos_ = 0;
};

}  // namespace zevo
