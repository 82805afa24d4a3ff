#include "tools/view_tools.h"

#include <algorithm>
#include <cstdlib>

#include "board/model/intern.h"
#include "text/strings.h"
#include "tools/change_tool.h"
#include "tools/deform_tool.h"
#include "tools/delete_tool.h"
#include "tools/display_tools.h"
#include "tools/drawing_tools.h"
#include "tools/fill_tool.h"
#include "tools/line_tools.h"
#include "tools/measure_tool.h"
#include "tools/multiple_tool.h"
#include "view/board_renderer.h"

namespace zevo {

namespace {

// The first element in document order on a conductor layer whose hit test takes the point,
// through the board's index: an element whose bounds, grown by the tolerance, miss the point is
// passed over without its node being read, as its hit test would refuse it first thing.
container* FindConductor(const Board& b, Point p, double t) {
    const drawn* hit = b.drawnIndex.find(
        b.items,
        [&](const OuterBox& box) {
            return p.x < double(box.minX) - t || p.x > double(box.maxX) + t ||
                   p.y < double(box.minY) - t || p.y > double(box.maxY) + t;
        },
        [&](const drawn* d) { return ConductorLayer(b, d->layer) && d->hitTest(b, p, t); });
    return const_cast<drawn*>(hit);
}

ToolResult CloseEquipotential(ToolContext& c) {
    // The highlight goes with the next repaint.
    c.modes.popModes(1);
    c.host.Repaint();
    return ToolResult::PopFrame;
}

// --- the zoom rectangle (mode 14): a click anchors the band, the second click zooms to it

ToolResult ZoomFirst(ToolContext& c) {
    c.overlay.band = true;
    c.overlay.bandAnchor = {c.cursorX, c.cursorY};
    c.overlay.bandCursor = {c.cursorX, c.cursorY};
    c.modes.pushState(1, kHintZoomSecond);
    return ToolResult::NextState;
}

ToolResult CloseFrames(ToolContext& c, int frames) {
    c.overlay.band = false;
    c.modes.popModes(frames);
    return ToolResult::PopFrame;
}

ToolResult ZoomClose(ToolContext& c) {
    return CloseFrames(c, 1);
}
ToolResult ZoomCloseBoth(ToolContext& c) {
    return CloseFrames(c, 2);
}

ToolResult ZoomSecond(ToolContext& c) {
    const PixelPoint a = c.overlay.bandAnchor;
    c.view.previous = {c.view.scale, c.view.viewLeft, c.view.viewBottom};
    CloseFrames(c, 2);
    ZoomToRectangle(c.view, int(a.x), int(a.y), c.cursorX, c.cursorY);
    c.host.Repaint();
    return ToolResult::Handled;
}

constexpr ToolState kZoomStates[] = {
    {NoOp, Overlaid<ZoomFirst>, NoOp, NoOp, NoOp, Overlaid<ZoomClose>, Overlaid<ZoomClose>},
    {NoOp, Overlaid<ZoomSecond>, NoOp, NoOp, NoOp, Overlaid<ZoomClose>, Overlaid<ZoomCloseBoth>},
};

// --- the grid origin (mode 15)

ToolResult SetOrigin(ToolContext& c, Point p) {
    c.board.SetGridOrigin(p.x, p.y);
    c.view.TakeBoardGrid(c.board);
    c.host.DocumentModified();
    c.modes.popModes(1);
    c.host.Repaint();
    return ToolResult::Committed;
}

ToolResult OriginClick(ToolContext& c) {
    return SetOrigin(c, c.cursorWorld());
}

ToolResult OriginPoint(ToolContext& c) {
    const Point p = c.inputPoint;
    if (!(p.x >= 0 && p.y >= 0 && p.x <= c.board.sizeX && p.y <= c.board.sizeY)) {
        c.host.Beep();
        return ToolResult::Refused;
    }
    return SetOrigin(c, p);
}

ToolResult OriginCommand(ToolContext& c) {
    if (c.currentCommand != EditOp::NumericInput) return ToolResult::Ignored;
    return NumericInput(c, false);
}

ToolResult OriginClose(ToolContext& c) {
    return CloseFrames(c, 1);
}

constexpr ToolState kGridOrigin{NoOp,          OriginClick, NoOp,       OriginPoint,
                                OriginCommand, OriginClose, OriginClose};

constexpr ToolState kEquipotential{NoOp, EquipotentialClick, NoOp, NoOp, NoOp,
                                   NoOp, CloseEquipotential};

struct EditorModes {
    ModeTable table;
    EditorModes() {
        table = DefaultModeTable();
        InstallDrawingTools(table);
        InstallDeleteTool(table);
        InstallDeformTool(table);
        InstallMultipleTool(table);
        InstallMeasureTool(table);
        InstallDisplayTools(table);
        InstallLineTools(table);
        InstallFillTool(table);
        InstallChangeTool(table);
        table[kModeEquipotential] = std::span<const ToolState>(&kEquipotential, 1);
        table[kModeZoom] = kZoomStates;
        table[kModeGridOrigin] = std::span<const ToolState>(&kGridOrigin, 1);
    }
};

}  // namespace

container* EquipotentialStart(const Board& b, Point p, double t) {
    container* e = FindConductor(b, p, t);
    if (!e || !e->parent) return e;
    const ReservedWords& w = Reserved();
    const group* g = e->parent;
    if (g->type != w.lines && g->type != w.loop && g->type != w.window) return e;
    for (group* a = e->parent; a; a = a->parent)
        if (a->type == w.painted) return a;
    return e;  // a stroke outside any filled area stands alone
}

Net EquipotentialNet(Board& b, Point p, double t) {
    Net net;
    container* start = EquipotentialStart(b, p, t);
    if (!start) return net;
    const ReservedWords& w = Reserved();
    const group* g = start->parent;
    if (start->kind != kGroup && g &&
        (g->type == w.lines || g->type == w.loop || g->type == w.window)) {
        net.push_back(start);  // no filled area above it: the element alone, no flood fill
        return net;
    }
    CollectNet(b, start, net, 1);
    return net;
}

ToolResult EquipotentialClick(ToolContext& c) {
    const Net net = EquipotentialNet(c.board, c.cursorWorld(), c.view.pickRadiusWorld);
    Framebuffer* fb = c.back ? c.back : c.screen;
    if (net.empty() || !fb) return ToolResult::Ignored;
    OutlinePainter painter(c.board, c.view, *fb);
    const Pen pen{kGreyPen, RasterOp::kCopy};
    for (container* m : net) {
        if (m->kind == kGroup)
            ForEachDrawn(AsGroup(m)->members, [&](drawn* d) { painter.Draw(d, pen); });
        else if (IsDrawn(m))
            painter.Draw(AsDrawn(m), pen);
    }
    return ToolResult::Handled;
}

void ZoomToRectangle(ViewState& view, int x1, int y1, int x2, int y2) {
    const double w = view.clientWidth, h = view.clientHeight, s = view.scale;
    const double sx = x1 == x2 ? 1000 : w * s / std::abs(x2 - x1);
    const double sy = y1 == y2 ? 1000 : h * s / std::abs(y2 - y1);
    const double scale = std::min({sx, sy, 1000.0});
    const Point c = view.ScreenToWorld((x1 + x2) / 2, (y1 + y2) / 2);
    view.SetView(scale, c.x - w / scale / 2, c.y - h / scale / 2);
}

const ModeTable& EditorModeTable() {
    static const EditorModes modes;
    return modes.table;
}

}  // namespace zevo
