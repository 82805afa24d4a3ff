// Any bytes as a Gerber file: the reader must neither crash nor hang, every element it makes
// must have finite bounds, and writing them back must work. The first byte picks the units and
// the decimals, so both paths are reached.
#include "output/gerber_reader.h"

#include <cmath>
#include <cstdint>
#include <cstdlib>
#include <memory>
#include <string>
#include <string_view>

#include "board/model/board.h"
#include "output/gerber_writer.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    using namespace zevo;
    auto b = std::make_unique<Board>();
    GerberReadOptions o;
    if (size > 0) {
        o.inch = data[0] & 1;
        o.decimals = (data[0] >> 1) % 7;
    }
    InputResult r;
    ReadGerber(*b, std::string_view(reinterpret_cast<const char*>(data), size), o, r);
    if (r.elements.size() > kMaxElementsPerFile) std::abort();
    for (container* e : r.elements) {
        Box box;
        if (e->kind == kGroup) {
            if (!Board::GroupBounds(AsGroup(e), box)) std::abort();
        } else {
            box = AsDrawn(e)->bounds;
        }
        if (!std::isfinite(box.minX) || !std::isfinite(box.minY) || !std::isfinite(box.maxX) ||
            !std::isfinite(box.maxY))
            std::abort();
        b->AppendElement(nullptr, e);
    }
    std::string out;
    WriteLayer(out, *b, o.layer, true, 3, DCodeTables::Defaults());
    return 0;
}
