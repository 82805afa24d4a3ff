// The board file reader on any bytes: reading as a document and as a settings file, from memory and
// from a stream, then writing what was read in every format and reading that back. Nothing may
// crash, leak, hang or touch memory it does not own.
#include <cstdint>
#include <cstdio>
#include <memory>
#include <string>
#include <string_view>

#include "board/file/document.h"

namespace {

using namespace zevo;

// The old format draws rectangles with fill strokes; a pen of a thousandth of a millimetre across
// a big rectangle would make half a million of them. Only fuzz it on boards of modest output.
bool OldFormatIsSmall(const ListNode& list) {
    double strokes = 0;
    ForEachDrawn(list, [&](const drawn* d) {
        if (d->kind == kRect) strokes += static_cast<const rect*>(d)->dy / 0.00095;
    });
    return strokes < 200000;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const std::string_view text(reinterpret_cast<const char*>(data), size);
    auto board = std::make_unique<Board>();
    ResetToBuiltInDefaults(*board);
    if (size % 2) ReadSections(text, *board, {.keepItems = false, .applyVersion = false});
#ifdef __linux__
    if (size % 4 >= 2 && size > 0) {
        std::FILE* f = fmemopen(const_cast<uint8_t*>(data), size, "rb");
        if (f) {
            ReadDocument(f, *board);
            std::fclose(f);
        }
    } else
#endif
    {
        ReadDocumentText(text, *board);
    }

    const std::string written = WriteDocument(*board);
    auto again = std::make_unique<Board>();
    ResetToBuiltInDefaults(*again);
    ReadDocumentText(written, *again);
    WriteDocument(*again);

    TextOut out;
    const Point origin{12.5, -3};
    WriteItems(out, board->items, &origin);
    if (OldFormatIsSmall(board->items)) WriteOldFormat(*board);
    return 0;
}
