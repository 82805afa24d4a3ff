// The multiple tool (mode 12): clicks and rectangles take whole items into the selection, which
// is then moved, deleted, cut or copied to the clipboard, joined into a group or split. A move
// or a paste floats copies under the cursor (mirror and rotate while they float) until a click
// puts them down. Every operation that changes the board is one undo step; Esc puts everything
// back.
#pragma once

#include "tools/multiple_dialogs.h"
#include "tools/tool_context.h"

namespace zevo {

// Puts the multiple tool's states into a mode table.
void InstallMultipleTool(ModeTable& table);

// The reference point of the items of a list, the point copies are stored relative to: the
// placement point of a single placed group (looking through groups that hold nothing but one
// group), else the centre of the only round land on an origin-role layer among the items, else
// the centre of their bounds on the grid.
Point SelectionReference(const ViewState& view, const Board& board, const ListNode& items);

}  // namespace zevo
