// Any bytes as a drill program: no crash, no hang, only round lands on the layer, all finite.
#include <cmath>
#include <cstdint>
#include <cstdlib>
#include <memory>
#include <string_view>

#include "board/model/board.h"
#include "output/gerber_reader.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    using namespace zevo;
    auto b = std::make_unique<Board>();
    DrillReadOptions o;
    o.layer = 8;
    const int decimals = size > 0 ? data[0] % 9 : 3;
    o.inch = size > 0 && (data[0] & 0x80);
    o.askDecimals = [decimals] { return decimals; };
    const std::string_view text(reinterpret_cast<const char*>(data), size);
    LooksLikeDrillFile(text);
    InputResult r;
    ReadDrill(*b, text, o, r);
    for (container* e : r.elements) {
        const drawn* d = AsDrawn(e);
        if (e->kind != kLand || d->square() || d->layer != 8) std::abort();
        if (!std::isfinite(d->x) || !std::isfinite(d->y)) std::abort();
        e->recycle(*b);
    }
    return 0;
}
