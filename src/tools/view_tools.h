// The tools that look at the board without changing it. The equipotential tool highlights the
// whole net of the conductor clicked.
#pragma once

#include "checks/connectivity.h"
#include "tools/tool_context.h"

namespace zevo {

// The element the equipotential tool starts from at p: the first element, in document order and
// depth first, on a conductor layer whose hit test accepts p; a filled area's stroke or outline
// stands for the whole area. Nothing when no conductor is there.
container* EquipotentialStart(const Board& board, Point p, double tolerance);

// The net of the conductor at p (empty when there is none, or when the element is no conductor
// candidate). The marks of the board are rewritten.
Net EquipotentialNet(Board& board, Point p, double tolerance);

// Mode 18's click: the net at the cursor drawn in the highlight pen into the back buffer (it
// stays until the next repaint).
ToolResult EquipotentialClick(ToolContext& c);

// The view that shows the rectangle between two client pixels (x1, y1) and (x2, y2) of the
// zoom tool: the scale fits the rectangle into the window (at most 1000 pixels per mm), the
// centre pixel (in integer division) becomes the centre of the view, kept on the board.
void ZoomToRectangle(ViewState& view, int x1, int y1, int x2, int y2);

// The mode table of the editor: the framework's table with the tools built so far in place of
// their stand-ins.
const ModeTable& EditorModeTable();

}  // namespace zevo
