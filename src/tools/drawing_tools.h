// The drawing tools: round land, square land or rectangle, line chains, arcs, pads and texts
// (modes 0..5), and the two ways of giving a tool an exact point: numeric input and the
// intersection / end-point pick (mode 13).
#pragma once

#include "tools/tool_context.h"

namespace zevo {

// Puts the drawing tools and the intersection input into a mode table.
void InstallDrawingTools(ModeTable& table);

// An element leaves the board when its bounds (aperture included) reach below 0 or beyond the
// board's size; a group when any member at any depth does.
bool OffBoard(const Board& board, const container* e);

// Adds e to the board as one undo step (`commit`) or as a pending step of the operation in
// progress, marks the document modified and ORs e into the view in its layer colours.
void AddElement(ToolContext& c, container* e, bool commit);
// AddElement as one committed step, unless e would leave the board: then it is recycled with a
// beep (Refused).
ToolResult PlaceElement(ToolContext& c, container* e);
// A beep, and nothing changed.
ToolResult Refuse(ToolContext& c);
// The layer dialog (command 1 of the tools): the chosen layer becomes the current one, and the
// elements of `follow` (a preview on the cursor) move to it.
ToolResult ChooseLayer(ToolContext& c, std::vector<drawn*>* follow = nullptr);

// The point of an element under p on the current layer that a line end snaps to: a land's
// centre, the nearer end of a line or arc, the nearest node of a rectangle (ends only within
// 1.5 x the half size plus the tolerance). Nothing when no element offers one.
std::optional<Point> SnapToElementPoint(const Board& board, Point p, double tolerance);

// Moves the free end of an arc being drawn towards p. `reversed` is set while the first point is
// the arc's end (the cursor went clockwise first) and the start follows the cursor.
void TrackArc(const Board& board, arc* a, Point p, bool& reversed);

// The angles of the arc dialog brought into range (degrees).
void BringAnglesIntoRange(double& start, double& end);

// Opens the numeric input dialog (first-point or next-point form) and delivers its point.
ToolResult NumericInput(ToolContext& c, bool nextPoint);

// A point from numeric input or the intersection pick: refused with a beep outside +-1e16,
// otherwise stored in inputPoint and given to the current state's onPointInput.
ToolResult DeliverPoint(ToolContext& c, Point p);

// Command 327: the cursor elements of the tool are put aside before the intersection input opens.
void OpenIntersectionInput(ToolContext& c);
// The intersection input could not open: the preview put aside comes back under the cursor.
void CancelIntersectionInput(ToolContext& c);

}  // namespace zevo
