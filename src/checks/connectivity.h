// Which copper belongs together: the conductor set of a board, the connection rules, the nets
// (flood fill from the first remaining conductor, breadth first), and the net of one element for
// the equipotential tool. Nets are numbered from 1 into the elements' mark field.
#pragma once

#include <optional>
#include <vector>

#include "board/model/board.h"
#include "checks/progress.h"

namespace zevo {

// The members of one net in the order they were reached: lands, lines, arcs, rectangles and
// filled areas (" PAINTED" groups).
using Net = std::vector<container*>;

bool ConductorLayer(const Board& b, int layer);
bool ThroughLayer(const Board& b, int layer);
// A round land on a through layer: it connects to conductors on every layer.
bool IsThroughLand(const Board& b, const container* e);
// The layer that stands for a filled area: that of the first element of its first sub-group
// (-1 when there is none).
int AreaLayer(const group* area);
// The layer an element is tested with (a filled area's standing layer for a group).
int ConductorLayerOf(const container* e);
// The node points of a land, line, arc or rectangle; returns their count (1 to 3).
int NodePoints(const drawn* e, Point out[3]);

// Clears the mark of every land, line, arc and rectangle of the board, then collects the
// conductors in document order, depth first: filled areas on a conductor layer as whole
// candidates, through lands, and every other element on a conductor layer.
std::vector<container*> GatherConductors(Board& b);

// Does p lie on the area: a node point of an outline element or inside a fill stroke?
bool InFilledArea(const Board& b, const group* area, Point p);
// The connection rules between the member being expanded (a) and a candidate (b).
bool Connected(const Board& b, const container* a, const container* c);

// Writes `number` into the mark of every member (every element inside a filled area).
void NumberNet(const Net& net, int number);

// Every net of the board, numbered 1, 2, ... in the order built, with every member marked.
// Nothing when the monitor asked to stop (it is asked after every kProgressStep nets).
std::optional<std::vector<Net>> BuildNets(Board& b, ProgressMonitor* monitor = nullptr);

// The net of `start` (a conductor candidate) numbered `number`, after the conductor set of the
// whole board is gathered (which clears all marks). False, with `net` empty, when `start` is no
// conductor candidate.
bool CollectNet(Board& b, container* start, Net& net, int number);

}  // namespace zevo
