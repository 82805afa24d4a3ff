// Any font file must lay out any text without reading outside what it read: index cells that
// point past the end, short records, 255-entry glyphs. The first input byte says how long the
// text at the end of the input is; the rest before it is the font file.
#include <cstdint>
#include <cstdlib>
#include <filesystem>
#include <string>
#include <string_view>
#include <vector>

#include "board/model/board.h"
#include "paths/file_io.h"
#include "scratch_file.h"
#include "view/stroke_font.h"

namespace {

const std::filesystem::path& File() {
    return zevo::fuzz::ScratchFile("zevo-fuzz-font-", "zevofont.dat");
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    if (size < 1) return 0;
    const std::size_t textLen = std::min<std::size_t>(data[0], size - 1);
    std::string_view rest(reinterpret_cast<const char*>(data + 1), size - 1);
    const std::string_view text = rest.substr(rest.size() - textLen);
    std::string font(rest.substr(0, rest.size() - textLen));
    // Short inputs get a real index in front, so that their bytes are glyph records.
    if (font.size() < zevo::kFontIndexEnd) {
        std::string full(zevo::kFontIndexEnd, '\0');
        full.replace(0, zevo::kFontHeaderTextSize, zevo::kFontHeaderText,
                     zevo::kFontHeaderTextSize);
        // Every code of the text points at the glyph bytes, or past them.
        zevo::TextCodes codes(text);
        uint32_t at = uint32_t(zevo::kFontIndexEnd);
        for (zevo::TextChar c; codes.next(c);) {
            const int cell = zevo::FontCellOfCode(c.code);
            if (cell >= 0)
                zevo::WriteCellValue(reinterpret_cast<uint8_t*>(&full[zevo::FontCellOffset(cell)]),
                                     at + uint32_t(c.offset % 7) * uint32_t(font.size() / 3 + 1));
        }
        font = full + font;
    }
    {
        zevo::FilePtr f = zevo::OpenFile(File(), "wb");
        if (!f) return 0;
        std::fwrite(font.data(), 1, font.size(), f.get());
    }
    zevo::Board board;
    zevo::TextParams p;
    p.text = text;
    p.height = 2 + data[0] % 5;
    p.pitch = 2;
    p.angle = data[0];
    p.mirror = data[0] & 1;
    zevo::TextLayout t = zevo::LayoutText(board, File(), p, {5, 5});
    if (t.text) {
        for (zevo::container* e : zevo::Items(t.text->members)) {
            const auto* l = static_cast<const zevo::line*>(e);
            if (l->x < 0 || l->ex < 0 || l->y < 0 || l->ey < 0) std::abort();
        }
        t.text->recycle(board);
    }
    zevo::CheckCoverage(File(), text);
    return 0;
}
