// The deform tool (mode 6): a click takes a land, rectangle, line end, arc or group and the copy
// follows the cursor until a second click puts it down as one undo step. Without Shift (vertex
// mode) the free elements of the same layer whose node points sit on the moved points follow
// with their ends; with Shift, Ctrl or "単一要素(部品)選択" (unit mode) only what was taken moves.
// A click on the middle of a free line bends it there. While dragging, groups and rectangles
// turn, parts mirror, and a point can be typed; Esc and Backspace put everything back.
#pragma once

#include "tools/deform_dialogs.h"
#include "tools/tool_context.h"

namespace zevo {

// Puts the deform tool's states into a mode table.
void InstallDeformTool(ModeTable& table);

// The point a group moves by: its placement point (part or text), a pad's first land, the
// centre of a round land on an origin layer inside it, or else the centre of its bounds on the
// grid.
Point DeformReference(const ViewState& view, const Board& board, const group* g);

}  // namespace zevo
