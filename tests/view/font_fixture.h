// Font files made byte by byte for the tests, independent of the font editor's image code.
#pragma once

#include <cstdint>
#include <initializer_list>
#include <map>
#include <string>
#include <vector>

#include "view/font_format.h"

namespace zevo::testing {

// Glyph record bytes: the count, then the entries as given.
inline std::string Record(std::initializer_list<int> entries, int count = -1) {
    std::string r(1, char(0));
    for (int b : entries) r.push_back(char(b));
    // Count entries, not bytes: a two-byte entry's second byte is not an entry.
    int n = 0;
    for (std::size_t i = 1; i < r.size(); ++i) {
        ++n;
        if ((uint8_t(r[i]) & kKindMask) == kKindXY) ++i;
    }
    r[0] = char(count >= 0 ? count : n);
    return r;
}
// A two-byte entry (pen down when `pen`).
inline int XY0(int x, bool pen) {
    return (pen ? 0x80 : 0) | 0x60 | x;
}

// Builds a font file: glyph records per code, laid out in index order after the index.
class FontBytes {
  public:
    explicit FontBytes(bool currentFormat = true) : current_(currentFormat) {}
    FontBytes& glyph(FontCode code, std::string record) {
        glyphs_[FontCellOfCode(code)] = std::move(record);
        return *this;
    }
    // A raw cell value (to point past the end, at nothing, ...).
    FontBytes& rawCell(FontCode code, uint32_t value) {
        raw_[FontCellOfCode(code)] = value;
        return *this;
    }
    std::string build() const {
        const std::size_t indexEnd = current_ ? kFontIndexEnd : kFontOldIndexEnd;
        std::string f(indexEnd, '\0');
        if (current_) f.replace(0, kFontHeaderTextSize, kFontHeaderText, kFontHeaderTextSize);
        for (const auto& [cell, rec] : glyphs_) {
            const uint32_t at = static_cast<uint32_t>(f.size());
            WriteCellValue(reinterpret_cast<uint8_t*>(&f[FontCellOffset(cell)]), at);
            f += rec;
        }
        for (const auto& [cell, v] : raw_)
            WriteCellValue(reinterpret_cast<uint8_t*>(&f[FontCellOffset(cell)]), v);
        return f;
    }

  private:
    bool current_;
    std::map<int, std::string> glyphs_;
    std::map<int, uint32_t> raw_;
};

}  // namespace zevo::testing
