// The font editor's copy of the whole font: one byte buffer laid out exactly as the file is
// written (header, 60-row index, glyph records in index order).
#pragma once

#include <cstddef>
#include <cstdint>
#include <filesystem>
#include <span>
#include <string_view>
#include <vector>

#include "view/font_format.h"

namespace zevo {

// The largest font the editor keeps: loading stops after the record that takes the image past
// kFontImageLimit, so the buffer holds one longest record more.
inline constexpr std::size_t kFontImageCapacity = 4193792;
inline constexpr std::size_t kFontImageLimit = kFontImageCapacity - 1;  // 4 193 791
inline constexpr std::size_t kFontImageBuffer = kFontImageCapacity + kMaxGlyphRecord;

struct FontLoadResult {
    bool found = false;          // a file was read
    bool earlierFormat = false;  // the file had no header text (42-row index)
    bool truncated = false;      // glyphs past the capacity were dropped
    int glyphs = 0;              // glyph records taken over
    int damaged = 0;             // cells whose record lay outside the file (dropped)
};

enum class FontSaveResult {
    kNothingToWrite,  // no glyph changed, or the font holds no glyph
    kWritten,
    kCannotWrite,
};

class FontImage {
  public:
    FontImage();

    // An empty font: the header, an all-zero index, total 33 968.
    void Clear();
    // Replaces the image with the glyphs of a font file's bytes, current or earlier format; the
    // records are packed in index order from offset 33 968 on.
    FontLoadResult Load(std::string_view file);
    // Load() of a file; a missing file gives an empty font.
    FontLoadResult LoadFile(const std::filesystem::path& path);

    std::size_t total() const { return total_; }
    std::string_view bytes() const { return {reinterpret_cast<const char*>(data_.data()), total_}; }
    uint32_t cellValue(int cell) const { return ReadCellValue(&data_[FontCellOffset(cell)]); }
    bool hasGlyph(int cell) const { return cellValue(cell) > kNoGlyphLimit; }
    // The record of a cell (empty when it has none).
    std::span<const uint8_t> record(int cell) const;
    int glyphCount() const;

    // Puts a record (shortest encoding; empty for no glyph) in the place of the cell's glyph,
    // moving every later record and index cell. False, with nothing changed, when the image
    // would grow past its capacity (a full font can still shrink).
    bool Splice(int cell, std::span<const uint8_t> encoded);

    // Set by every splice; cleared by loading.
    bool changed() const { return changed_; }
    // Saving rules: nothing is written unless a glyph changed and the font holds a glyph.
    bool needsSave() const { return changed_ && total_ > kFontIndexEnd; }
    // Writes total bytes to `path` through a temporary file renamed over the old one.
    FontSaveResult Save(const std::filesystem::path& path);

  private:
    std::size_t recordSizeAt(uint32_t offset) const;

    std::vector<uint8_t> data_;
    std::size_t total_ = kFontIndexEnd;
    bool changed_ = false;
};

}  // namespace zevo
