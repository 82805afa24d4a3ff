#include "tools/display_tools.h"

#include <cmath>
#include <cstdio>

#include "board/model/intern.h"
#include "tools/drawing_tools.h"
#include "view/board_renderer.h"
#include "view/digit_font.h"

namespace zevo {

namespace {

std::string Number(double v) {
    char buf[64];
    std::snprintf(buf, sizeof buf, "%.12g", v);
    return buf;
}

ToolResult CloseDisplay(ToolContext& c) {
    c.modes.popModes(1);
    return ToolResult::PopFrame;
}

// The element drawn in the highlight pen where it stays until the next repaint.
void Highlight(ToolContext& c, const drawn* e) {
    for (Framebuffer* fb : {c.back, c.screen}) {
        if (!fb) continue;
        OutlinePainter painter(c.board, c.view, *fb);
        painter.Draw(e, {kGreyPen, RasterOp::kCopy});
    }
}

// --- the coordinate display (mode 17)

ToolResult ShowCoordinates(ToolContext& c, Point p) {
    CoordinateDisplayModel m(p, c.board.gridOrigin, c.host.CoordinatesRelative());
    c.modes.popModes(1);
    c.host.ShowScreenNow();
    c.host.Run(m);
    return ToolResult::PopFrame;
}

ToolResult CoordinateClick(ToolContext& c) {
    Point p = c.view.ScreenToInput(c.cursorX, c.cursorY);
    if (container* e = c.pickElement(p); e && IsDrawn(e)) {
        Highlight(c, AsDrawn(e));
        p = CoordinateSnap(c.board, AsDrawn(e), p, c.view.pickRadiusWorld);
    }
    return ShowCoordinates(c, p);
}

ToolResult CoordinatePoint(ToolContext& c) {
    return ShowCoordinates(c, c.inputPoint);
}

ToolResult CoordinateCommand(ToolContext& c) {
    switch (c.currentCommand) {
        case EditOp::SelectSettings: {
            CoordinateReferenceModel m(c.host.CoordinatesRelative());
            if (c.host.Run(m)) c.host.SetCoordinatesRelative(m.relative);
            return ToolResult::Handled;
        }
        case EditOp::NumericInput:
            return NumericInput(c, false);
        default:
            return ToolResult::Ignored;
    }
}

constexpr ToolState kCoordinates{
    NoOp, CoordinateClick, NoOp, CoordinatePoint, CoordinateCommand, CloseDisplay, CloseDisplay};

// --- the pin number display (mode 19)

bool IsPartGroup(const container* e) {
    if (e->kind != kGroup) return false;
    const std::string_view type = View(AsGroup(e)->type);
    return !type.empty() && type[0] != ' ';
}

ToolResult PinNumberClick(ToolContext& c) {
    container* e = c.pickElement(c.cursorWorld());
    container* top = e ? topItem(e) : nullptr;
    if (!e || top == e || !IsPartGroup(top)) {
        c.host.Beep();
        return ToolResult::Refused;
    }
    const int w = c.view.clientWidth, h = c.view.clientHeight;
    for (const PinLabel& label : PinLabels(c.board, *AsGroup(top))) {
        const Point s = c.view.WorldToScreen(label.at);
        const int64_t x = RoundNearest(s.x), y = RoundNearest(s.y);
        if (x < 0 || y < 0 || x >= w || y >= h) continue;
        for (Framebuffer* fb : {c.back, c.screen})
            if (fb)
                DrawNumber(*fb, x - kDigitCellWidth / 2, y - kDigitCellHeight / 2,
                           unsigned(label.number), 0xFFFFFF);
    }
    c.modes.popModes(1);
    return ToolResult::PopFrame;
}

constexpr ToolState kPinNumbers{NoOp, PinNumberClick, NoOp, NoOp, NoOp, CloseDisplay, CloseDisplay};

void CollectLabels(const Board& b, const ListNode& head, std::vector<PinLabel>& out) {
    for (container* e : Items(head)) {
        if (out.size() >= size_t(kMaxPinLabels)) return;
        if (e->kind == kGroup) {
            CollectLabels(b, AsGroup(e)->members, out);
            continue;
        }
        if (!IsDrawn(e)) continue;
        const drawn* d = AsDrawn(e);
        if (d->pinNo == 0 || d->layer < 0 || d->layer >= kLayers ||
            !(b.layerFlags[size_t(d->layer)] & kDisp))
            continue;
        Point at = d->ref();
        if (d->kind == kArc) {
            const arc* a = static_cast<const arc*>(d);
            const double m = (a->st + a->end) / 2;
            at = {a->x + a->r * std::cos(m), a->y + a->r * std::sin(m)};
        } else if (d->kind == kLine) {
            const line* l = static_cast<const line*>(d);
            at = {(l->x + l->ex) / 2, (l->y + l->ey) / 2};
        }
        out.push_back({at, std::abs(int(d->pinNo))});
    }
}

}  // namespace

Point CoordinateSnap(const Board& b, const drawn* e, Point p, double t) {
    const double half = e->kind == kRect ? static_cast<const rect*>(e)->dy / 2 : e->halfSize(b);
    const double radius = 1.5 * half + t;
    const auto nearEnd = [&](Point centre) {
        const Point end = e->nearEnd(p);
        return std::hypot(end.x - p.x, end.y - p.y) < radius ? end : centre;
    };
    switch (e->kind) {
        case kLand:
            return e->ref();
        case kArc:
            return nearEnd(e->ref());
        case kLine: {
            const line* l = static_cast<const line*>(e);
            return nearEnd({(l->x + l->ex) / 2, (l->y + l->ey) / 2});
        }
        default:
            return p;
    }
}

CoordinateDisplayModel::CoordinateDisplayModel(Point p, Point origin, bool relativeFirst)
    : absX(Number(p.x)),
      absY(Number(p.y)),
      relX(Number(p.x - origin.x)),
      relY(Number(p.y - origin.y)),
      relativeFirst(relativeFirst) {}

std::vector<PinLabel> PinLabels(const Board& board, const group& part) {
    std::vector<PinLabel> out;
    CollectLabels(board, part.members, out);
    return out;
}

void InstallDisplayTools(ModeTable& table) {
    table[kModeCoordinates] = std::span<const ToolState>(&kCoordinates, 1);
    table[kModePinNumbers] = std::span<const ToolState>(&kPinNumbers, 1);
}

}  // namespace zevo
