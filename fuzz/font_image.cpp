// The font editor loads any file (current or earlier format), and what it loaded splices and
// re-encodes consistently: every record walks inside the image and the records are packed in
// index order.
#include "glyph_editor/font_image.h"

#include <cstdint>
#include <cstdlib>
#include <string_view>

#include "glyph_editor/glyph_editor.h"

namespace {

zevo::FontImage& Image() {
    static zevo::FontImage img;  // 4 MB: made once
    return img;
}

void CheckPacked(const zevo::FontImage& img) {
    std::size_t next = zevo::kFontIndexEnd;
    for (int cell = 0; cell < zevo::kFontCells; ++cell) {
        if (!img.hasGlyph(cell)) continue;
        if (img.cellValue(cell) != next) std::abort();
        const auto rec = img.record(cell);
        if (rec.empty()) std::abort();
        next += rec.size();
    }
    if (next != img.total()) std::abort();
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    // Short inputs are the glyph part of an earlier-format file (no header, 42-row index) whose
    // first cells point into them.
    std::string file(reinterpret_cast<const char*>(data), size);
    if (size < zevo::kFontOldIndexEnd) {
        std::string full(zevo::kFontOldIndexEnd, '\0');
        for (std::size_t i = 0; i < size && i < 64; ++i)
            zevo::WriteCellValue(
                reinterpret_cast<uint8_t*>(&full[zevo::FontCellOffset(int(i) * 3)]),
                uint32_t(zevo::kFontOldIndexEnd + data[i] % (size + 1)));
        file = full + file;
    }
    zevo::FontImage& img = Image();
    img.Load(file);
    CheckPacked(img);
    // Re-encode the first glyphs through the editing buffer and splice them back.
    int done = 0;
    for (int cell = 0; cell < zevo::kFontCells && done < 8; ++cell) {
        if (!img.hasGlyph(cell)) continue;
        const zevo::GlyphBuffer g = zevo::GlyphBuffer::FromRecord(img.record(cell));
        const auto bytes = g.encode();
        if (zevo::GlyphBuffer::FromRecord(bytes).encode() != bytes) std::abort();
        img.Splice(cell, bytes);
        ++done;
    }
    CheckPacked(img);
    return 0;
}
