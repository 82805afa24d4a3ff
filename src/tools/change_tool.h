// The change tool (mode 10): a click opens the dialog of the thing under the cursor (an
// element's layer, aperture and shape; a text; a filled area's layer; a part's reference; a pin's
// name and number) or, with Shift and Ctrl, turns a line into a dotted line. What the dialog
// decides replaces the old item in its place as one committed undo step.
#pragma once

#include "tools/change_dialogs.h"
#include "tools/tool_context.h"

namespace zevo {

// Puts the change tool's state into a mode table.
void InstallChangeTool(ModeTable& table);

// What a click changes, decided from the picked element and the keys.
enum class ChangeTarget : int {
    kRefused = -1,
    kElement = 0,  // the element picked
    kText = 1,     // the text it draws (its parent)
    kArea = 2,     // the filled area it belongs to (its grandparent)
    kPart = 3,     // the part it belongs to (its top item)
    kPin = 4,      // the element as a pin of its part
    kDotted = 5,   // the line, made a dotted line
};
ChangeTarget ClassifyChange(const container* e, bool shift, bool ctrl, bool partNumberFirst);

// A part: a group whose type word does not begin with a blank (a plain group counts).
bool IsPart(const container* e);

// The strokes of a dotted line over a..b: `dot` long, `gap` apart, from a; the last is cut at
// b and pieces shorter than 1e-8 are left out. Empty when the values make no strokes or more
// than `limit` of them.
std::vector<std::pair<Point, Point>> DottedStrokes(Point a, Point b, double dot, double gap,
                                                   size_t limit);

}  // namespace zevo
