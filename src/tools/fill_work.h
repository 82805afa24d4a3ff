// What the fill tool keeps while an outline is being gathered: its two open ends, its layer,
// the filled area a window is cut into, and the document order of the elements it may take.
#pragma once

#include <cstddef>
#include <unordered_map>

#include "board/model/board.h"

namespace zevo {

struct FillWork {
    Point openEndA, openEndB;
    int layer = 0;
    bool started = false;  // the first outline element is taken
    // The filled area a window is being cut into (lifted into the selection), or none.
    group* area = nullptr;
    // Where each top-level element stood when the operation began: the outline's copies keep
    // the order the elements had in the document.
    std::unordered_map<const container*, size_t> order;
    void reset() {
        started = false;
        area = nullptr;
        order.clear();
    }
};

}  // namespace zevo
