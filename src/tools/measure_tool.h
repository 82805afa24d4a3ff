// The spacing measurement (mode 16, "間隔", key D): the gap between two elements as copper, or
// with Shift the distance between their nearer end points. The first element is taken out of
// the board while the second is chosen; both stay as they were. The result is drawn as a line
// between the two points (until the next repaint) and shown in "間隔表示".
#pragma once

#include <string>

#include "tools/dialog.h"
#include "tools/tool_context.h"

namespace zevo {

// Puts the measurement's states into a mode table.
void InstallMeasureTool(ModeTable& table);

// "間隔表示" (dialog 167): ⊿Ｘ, ⊿Ｙ and 間隔 between a and b, each "%.9g"; the distance is 0 when
// its square is below 1e-8. 了解 closes it.
class SpacingResultModel : public DialogModel {
  public:
    SpacingResultModel(Point a, Point b);
    std::string dx, dy, distance;
};

}  // namespace zevo
