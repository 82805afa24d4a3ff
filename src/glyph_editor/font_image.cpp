#include "glyph_editor/font_image.h"

#include <algorithm>
#include <cstring>

#include "paths/file_io.h"

namespace zevo {

FontImage::FontImage() : data_(kFontImageBuffer, 0) {
    Clear();
}

void FontImage::Clear() {
    std::fill(data_.begin(), data_.begin() + kFontIndexEnd, uint8_t{0});
    std::memcpy(data_.data(), kFontHeaderText, kFontHeaderTextSize);
    total_ = kFontIndexEnd;
    changed_ = false;
}

FontLoadResult FontImage::Load(std::string_view file) {
    Clear();
    FontLoadResult r;
    r.found = true;
    r.earlierFormat = !HasCurrentFontHeader(file);
    const int cells = r.earlierFormat ? kFontOldCells : kFontCells;
    const auto* src = reinterpret_cast<const uint8_t*>(file.data());
    for (int cell = 0; cell < cells; ++cell) {
        const std::size_t at = FontCellOffset(cell);
        if (at + 3 > file.size()) break;  // the index itself is cut short: no more glyphs
        const uint32_t v = ReadCellValue(src + at);
        if (v <= kNoGlyphLimit) continue;
        const std::size_t size = v < file.size() ? GlyphRecordSize(src + v, file.size() - v) : 0;
        if (size == 0) {
            ++r.damaged;
            continue;
        }
        std::memcpy(&data_[total_], src + v, size);
        WriteCellValue(&data_[FontCellOffset(cell)], static_cast<uint32_t>(total_));
        total_ += size;
        ++r.glyphs;
        if (total_ > kFontImageLimit) {
            for (int rest = cell + 1; rest < cells && !r.truncated; ++rest) {
                const std::size_t o = FontCellOffset(rest);
                r.truncated = o + 3 <= file.size() && ReadCellValue(src + o) > kNoGlyphLimit;
            }
            break;
        }
    }
    return r;
}

FontLoadResult FontImage::LoadFile(const std::filesystem::path& path) {
    const std::optional<std::string> bytes = ReadWholeFile(path);
    if (!bytes) {
        Clear();
        return {};
    }
    return Load(*bytes);
}

std::size_t FontImage::recordSizeAt(uint32_t offset) const {
    if (offset >= total_) return 0;
    return GlyphRecordSize(&data_[offset], total_ - offset);
}

std::span<const uint8_t> FontImage::record(int cell) const {
    const uint32_t v = cellValue(cell);
    if (v <= kNoGlyphLimit) return {};
    return {&data_[v], recordSizeAt(v)};
}

int FontImage::glyphCount() const {
    int n = 0;
    for (int cell = 0; cell < kFontCells; ++cell) n += hasGlyph(cell);
    return n;
}

bool FontImage::Splice(int cell, std::span<const uint8_t> encoded) {
    if (cell < 0 || cell >= kFontCells) return false;
    std::size_t place, old;
    if (hasGlyph(cell)) {
        place = cellValue(cell);
        old = recordSizeAt(static_cast<uint32_t>(place));
    } else {
        // Right after the nearest earlier glyph, so that records stay in index order.
        place = kFontIndexEnd;
        for (int c = cell - 1; c >= 0; --c) {
            if (hasGlyph(c)) {
                place = cellValue(c) + recordSizeAt(cellValue(c));
                break;
            }
        }
        old = 0;
    }
    const std::size_t size = encoded.size();
    if (size != old) {
        if (size > old && total_ - old + size > kFontImageCapacity) return false;
        const std::ptrdiff_t diff = std::ptrdiff_t(size) - std::ptrdiff_t(old);
        std::memmove(&data_[place + size], &data_[place + old], total_ - place - old);
        total_ = std::size_t(std::ptrdiff_t(total_) + diff);
        WriteCellValue(&data_[FontCellOffset(cell)], size ? static_cast<uint32_t>(place) : 0);
        for (int c = cell + 1; c < kFontCells; ++c) {
            const uint32_t v = cellValue(c);
            if (v > kNoGlyphLimit)
                WriteCellValue(&data_[FontCellOffset(c)], uint32_t(std::ptrdiff_t(v) + diff));
        }
    }
    if (size) std::memcpy(&data_[place], encoded.data(), size);
    changed_ = true;
    return true;
}

FontSaveResult FontImage::Save(const std::filesystem::path& path) {
    if (!needsSave()) return FontSaveResult::kNothingToWrite;
    if (!WriteFileAtomically(path, bytes())) return FontSaveResult::kCannotWrite;
    changed_ = false;
    return FontSaveResult::kWritten;
}

}  // namespace zevo
