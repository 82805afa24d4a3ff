#include "tools/view_tools.h"

#include "board/model/intern.h"
#include "tools/delete_tool.h"
#include "tools/drawing_tools.h"
#include "view/board_renderer.h"

namespace zevo {

namespace {

container* FindConductor(const Board& b, const ListNode& head, Point p, double t) {
    for (container* c : Items(head)) {
        if (c->kind == kGroup) {
            if (container* hit = FindConductor(b, AsGroup(c)->members, p, t)) return hit;
        } else if (IsDrawn(c)) {
            const drawn* d = AsDrawn(c);
            if (ConductorLayer(b, d->layer) && d->hitTest(b, p, t)) return c;
        }
    }
    return nullptr;
}

ToolResult CloseEquipotential(ToolContext& c) {
    // The highlight goes with the next repaint.
    c.modes.popModes(1);
    c.host.Repaint();
    return ToolResult::PopFrame;
}

constexpr ToolState kEquipotential{NoOp, EquipotentialClick, NoOp, NoOp, NoOp,
                                   NoOp, CloseEquipotential};

struct EditorModes {
    ModeTable table;
    EditorModes() {
        table = DefaultModeTable();
        InstallDrawingTools(table);
        InstallDeleteTool(table);
        table[kModeEquipotential] = std::span<const ToolState>(&kEquipotential, 1);
    }
};

}  // namespace

container* EquipotentialStart(const Board& b, Point p, double t) {
    container* e = FindConductor(b, b.items, p, t);
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

const ModeTable& EditorModeTable() {
    static const EditorModes modes;
    return modes.table;
}

}  // namespace zevo
