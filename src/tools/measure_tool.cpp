#include "tools/measure_tool.h"

#include <cmath>
#include <cstdio>

#include "checks/pair_gap.h"
#include "text/strings.h"
#include "view/board_renderer.h"

namespace zevo {

namespace {

std::string Number(double v) {
    char buf[64];
    std::snprintf(buf, sizeof buf, "%.9g", v);
    return buf;
}

container* First(ToolContext& c) {
    return c.selection.empty() ? nullptr : AsElement(c.selection.list.next);
}

ToolResult MeasureFirst(ToolContext& c) {
    const Point p = c.cursorWorld();
    container* e = c.pickElement(p);
    if (!e) {
        c.host.Beep();
        return ToolResult::Refused;
    }
    c.drawing.lastPoint = p;
    UndoStep* step = c.history.BeginStep();
    c.selection.lift(e, step);
    c.selection.addPending(step);
    c.selection.highlight(true);
    c.modes.pushState((c.keys & kKeyShift) ? 2 : 1, kHintSpacingSecond);
    return ToolResult::NextState;
}

ToolResult CloseMeasure(ToolContext& c) {
    c.modes.popModes(1);
    return ToolResult::PopFrame;
}

// The first element goes back where it stood; `frames` close.
void PutBack(ToolContext& c, int frames) {
    c.selection.restore();
    c.modes.popModes(frames);
}

// The second element: one of the board under the cursor, or the first one itself.
const drawn* Second(ToolContext& c, Point p, const container* first) {
    if (container* e = c.pickElement(p); e && IsDrawn(e)) return AsDrawn(e);
    if (first && IsDrawn(first) && AsDrawn(first)->hitTest(c.board, p, c.view.pickRadiusWorld))
        return AsDrawn(first);
    return nullptr;
}

// The line between the two points in the highlight pen, then the figures.
ToolResult Show(ToolContext& c, Point a, Point b) {
    const Point sa = c.view.WorldToScreen(a), sb = c.view.WorldToScreen(b);
    const PixelPoint pa{int64_t(std::floor(sa.x + 0.5)), int64_t(std::floor(sa.y + 0.5))};
    const PixelPoint pb{int64_t(std::floor(sb.x + 0.5)), int64_t(std::floor(sb.y + 0.5))};
    for (Framebuffer* fb : {c.back, c.screen})
        if (fb) fb->LineWithEnd(pa, pb, {kGreyPen, RasterOp::kCopy});
    SpacingResultModel m(a, b);
    c.host.ShowScreenNow();
    c.host.Run(m);
    return ToolResult::Handled;
}

ToolResult MeasureGap(ToolContext& c) {
    const Point p = c.cursorWorld();
    const container* first = First(c);
    const drawn* second = Second(c, p, first);
    if (!first || !second) {
        c.host.Beep();
        return ToolResult::Refused;
    }
    PairGapResult r;
    const bool measured = PairGap(c.board, first, second, r);
    PutBack(c, 2);
    if (!measured || r.overlap || SamePoint(r.nearA, r.nearB)) {
        c.host.Message(TableText(kMsgShort));
        return ToolResult::Handled;
    }
    return Show(c, r.nearA, r.nearB);
}

ToolResult MeasureEnds(ToolContext& c) {
    const Point p = c.cursorWorld();
    const container* first = First(c);
    const drawn* second = Second(c, p, first);
    if (!first || !second || !IsDrawn(first)) {
        c.host.Beep();
        return ToolResult::Refused;
    }
    const Point a = AsDrawn(first)->nearEnd(c.drawing.lastPoint);
    const Point b = second->nearEnd(p);
    PutBack(c, 2);
    return Show(c, a, b);
}

ToolResult MeasureBack(ToolContext& c) {
    PutBack(c, 1);
    return ToolResult::Reverted;
}

ToolResult MeasureReset(ToolContext& c) {
    PutBack(c, 2);
    return ToolResult::Reverted;
}

constexpr ToolState kMeasureStates[] = {
    {NoOp, MeasureFirst, NoOp, NoOp, NoOp, CloseMeasure, CloseMeasure},
    {NoOp, MeasureGap, NoOp, NoOp, NoOp, MeasureBack, MeasureReset},
    {NoOp, MeasureEnds, NoOp, NoOp, NoOp, MeasureBack, MeasureReset},
};

}  // namespace

SpacingResultModel::SpacingResultModel(Point a, Point b) {
    const double x = std::fabs(b.x - a.x), y = std::fabs(b.y - a.y);
    const double square = x * x + y * y;
    dx = Number(x);
    dy = Number(y);
    distance = Number(square < 1e-8 ? 0 : std::sqrt(square));
}

void InstallMeasureTool(ModeTable& table) {
    table[kModeSpacing] = kMeasureStates;
}

}  // namespace zevo
