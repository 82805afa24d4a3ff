// Two view tools that look at the board without changing it: the coordinate display (mode 17,
// "座標"), which shows the coordinates of a clicked point, drawn to the nearest characteristic
// point of the element under it, and the pin number display (mode 19, "ピン番号表示"), which
// writes the pin numbers of a part over the board until the next repaint.
#pragma once

#include <string>
#include <vector>

#include "tools/dialog.h"
#include "tools/tool_context.h"

namespace zevo {

// Puts both tools' states into a mode table.
void InstallDisplayTools(ModeTable& table);

// The point the coordinate display shows for p when e lies under it: within 1.5 times e's half
// size plus the pick tolerance of an end, that end; otherwise a land's centre, an arc's centre,
// a line's midpoint, or p itself on a rectangle.
Point CoordinateSnap(const Board& board, const drawn* e, Point p, double tolerance);

// "座標表示" (dialog 168): the point under "絶対座標" and relative to the grid origin under
// "原点相対", each "%.12g". `relativeFirst` (the display reference "グリッド原点相対") makes the
// relative pair the one the window leads with; the figures are the same in both settings.
class CoordinateDisplayModel : public DialogModel {
  public:
    CoordinateDisplayModel(Point p, Point origin, bool relativeFirst);
    std::string absX, absY, relX, relY;
    bool relativeFirst = false;
};

// "基準座標設定" (dialog 162): "グリッド原点相対" (relative = true) or "絶対座標".
class CoordinateReferenceModel : public DialogModel {
  public:
    explicit CoordinateReferenceModel(bool relative) : relative(relative) {}
    bool relative = false;
};

// Where the pin numbers of a part go: every drawn member with a non-zero pin number on a shown
// layer, depth first, at most kMaxPinLabels. The point is an arc's point at its middle angle,
// a line's midpoint, or the element's reference point.
inline constexpr int kMaxPinLabels = 999;
struct PinLabel {
    Point at;
    int number = 0;  // the pin number's magnitude
};
std::vector<PinLabel> PinLabels(const Board& board, const group& part);

}  // namespace zevo
