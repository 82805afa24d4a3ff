#include "tools/fill_tool.h"

#include <algorithm>
#include <cmath>
#include <cstddef>
#include <cstdint>

#include "board/model/intern.h"
#include "text/strings.h"
#include "tools/drawing_tools.h"

namespace zevo {

namespace {

enum class Chain { kClosed, kOpen, kBranch };

ToolResult FillStart(ToolContext& c) {
    c.overlay.clear();
    c.fill.reset();
    c.modes.startTool(kModeFill);
    return ToolResult::Reverted;
}

ToolResult UndoLast(ToolContext& c) {
    if (!c.history.Undo()) return ToolResult::Ignored;
    c.host.Repaint();
    return ToolResult::Reverted;
}

ToolResult Cancel(ToolContext& c) {
    c.cancel();
    c.fill.reset();
    return ToolResult::Reverted;
}

bool Ask(ToolContext& c, int id) {
    return c.host.AskYesNo(TableText(id));
}

// A line drawn with a round aperture, or an arc.
bool OutlineKind(const container* e) {
    if (!e) return false;
    if (e->kind == kArc) return true;
    return e->kind == kLine && !static_cast<const line*>(e)->square();
}

// An element an outline may take: an outline kind standing on its own.
bool OutlineElement(const container* e) {
    return OutlineKind(e) && !e->parent;
}

// The filled area an element belongs to, or none.
group* PaintedOf(container* e) {
    container* t = topItem(e);
    if (!t || t->kind != kGroup || AsGroup(t)->type != Reserved().painted) return nullptr;
    return AsGroup(t);
}

void NumberTopLevel(ToolContext& c) {
    c.fill.order.clear();
    size_t n = 0;
    for (container* e : Items(c.board.items)) c.fill.order[e] = n++;
}

// The elements of the outline taken so far (the area a window is cut into is not one).
std::vector<drawn*> Outline(ToolContext& c) {
    std::vector<drawn*> out;
    for (ListNode* p = c.selection.list.next; p != &c.selection.list; p = p->next) {
        container* e = AsElement(p);
        if (e != c.fill.area && IsDrawn(e)) out.push_back(AsDrawn(e));
    }
    return out;
}

// Takes e into the outline in a pending step of its own.
void TakeNew(ToolContext& c, container* e) {
    UndoStep* step = c.history.BeginStep();
    c.selection.lift(e, step);
    c.selection.addPending(step);
}

// Follows the chain from the open end `end` as long as exactly one element continues it; each
// element taken joins the newest pending step.
Chain FollowChain(ToolContext& c, Point& end, Point other) {
    for (;;) {
        if (SamePoint(end, other)) return Chain::kClosed;
        drawn* next = nullptr;
        int found = 0;
        for (container* e : Items(c.board.items)) {
            if (!OutlineElement(e)) continue;
            const drawn* d = AsDrawn(e);
            if (d->layer != c.fill.layer || !d->isNodePoint(end)) continue;
            if (++found > 1) return Chain::kBranch;
            next = AsDrawn(e);
        }
        if (!next) return Chain::kOpen;
        c.selection.lift(next, c.selection.pending.back());
        end = next->farEnd(end);
    }
}

// The first element of an outline: taken, its ends open, the chain followed both ways.
Chain BeginOutline(ToolContext& c, drawn* e) {
    c.fill.layer = e->layer;
    c.fill.started = true;
    TakeNew(c, e);
    if (e->kind == kArc) {
        const arc* a = static_cast<const arc*>(e);
        c.fill.openEndA = a->startPt;
        c.fill.openEndB = a->endPt;
    } else {
        const line* l = static_cast<const line*>(e);
        c.fill.openEndA = l->start();
        c.fill.openEndB = l->end();
    }
    Chain r = FollowChain(c, c.fill.openEndA, c.fill.openEndB);
    if (r != Chain::kClosed) r = FollowChain(c, c.fill.openEndB, c.fill.openEndA);
    c.selection.highlight(true);
    return r;
}

// A further element of an open outline: taken when it continues one of the open ends.
ToolResult ContinueOutline(ToolContext& c, Chain& chain) {
    container* e = c.pickElement(c.cursorWorld());
    if (!OutlineElement(e) || AsDrawn(e)->layer != c.fill.layer) return Refuse(c);
    drawn* d = AsDrawn(e);
    Point* end = d->isNodePoint(c.fill.openEndA)   ? &c.fill.openEndA
                 : d->isNodePoint(c.fill.openEndB) ? &c.fill.openEndB
                                                   : nullptr;
    if (!end) return ToolResult::Ignored;
    Point* other = end == &c.fill.openEndA ? &c.fill.openEndB : &c.fill.openEndA;
    TakeNew(c, d);
    *end = d->farEnd(*end);
    chain = FollowChain(c, *end, *other);
    c.selection.highlight(true);
    return ToolResult::Pending;
}

void GreyWhileOpen(ToolContext& c) {
    c.modes.setToolBarEnabled(Cmd::LayerSelect, false);
    c.modes.setToolBarEnabled(Cmd::SelectSettings, false);
    c.host.SetDefinitionItemsEnabled(false, false);
    c.host.ToolBarChanged();
}

// The operation is over: nothing is lifted any more and the tool is back in its first state.
void Finish(ToolContext& c) {
    c.fill.reset();
    c.modes.popModes(c.modes.depth() - 1);
}

ToolResult PutBack(ToolContext& c) {
    c.selection.restore();
    Finish(c);
    return ToolResult::Reverted;
}

// The round aperture of the smallest half size among the elements (the first of equals).
int SmallestAperture(const Board& b, const std::vector<const drawn*>& elements) {
    int best = elements.front()->aperture;
    double bestHalf = elements.front()->halfSize(b);
    for (const drawn* d : elements) {
        const double h = d->halfSize(b);
        if (h < bestHalf) best = d->aperture, bestHalf = h;
    }
    return best;
}

// Copies of the elements, in the order the originals had in the document, into a new group.
group* CopyGroup(ToolContext& c, Istr type, std::vector<drawn*> elements) {
    std::stable_sort(elements.begin(), elements.end(), [&](const drawn* x, const drawn* y) {
        const auto ix = c.fill.order.find(x), iy = c.fill.order.find(y);
        const size_t nx = ix == c.fill.order.end() ? SIZE_MAX : ix->second;
        const size_t ny = iy == c.fill.order.end() ? SIZE_MAX : iy->second;
        return nx < ny;
    });
    group* g = c.board.CreateGroup(type);
    for (const drawn* d : elements) c.board.AppendElement(g, d->clone(c.board));
    return g;
}

// The strokes of the outlines into a " LINES" group; none when the outlines make no stroke or
// are more than the working area holds.
group* Hatch(ToolContext& c, const std::vector<const drawn*>& outlines, int layer, int aperture) {
    std::vector<FillEdge> edges;
    if (!AddFillEdges(outlines, edges)) return nullptr;
    const double diameter = 2 * c.board.roundHalf(aperture);
    const std::vector<FillStroke> strokes = HatchStrokes(edges, diameter);
    if (strokes.empty()) return nullptr;
    group* g = c.board.CreateGroup(Reserved().lines);
    for (const FillStroke& s : strokes)
        c.board.AppendElement(g, c.board.CreateLine(layer, aperture, false, s.a, s.b));
    return g;
}

// The new area joins the board; with the pending steps it makes one committed step.
ToolResult PlaceArea(ToolContext& c, group* area) {
    c.selection.eraseHighlight();
    c.board.AppendElement(nullptr, area);
    c.history.RecordAdded(c.selection.pending.back(), area);
    c.selection.clear();
    c.selection.commitAsOne();
    c.host.DocumentModified();
    Finish(c);
    c.host.Repaint();
    return ToolResult::Committed;
}

// The outline is closed and the answer was Yes: the area is made of it.
ToolResult MakeFill(ToolContext& c) {
    const std::vector<drawn*> outline = Outline(c);
    const std::vector<const drawn*> edges(outline.begin(), outline.end());
    if (outline.empty()) return PutBack(c);
    const int aperture = SmallestAperture(c.board, edges);
    group* lines = Hatch(c, edges, c.fill.layer, aperture);
    if (!lines) {
        if (edges.size() > kFillEdgeCapacity) c.host.Beep();
        PutBack(c);
        return edges.size() > kFillEdgeCapacity ? ToolResult::Refused : ToolResult::Reverted;
    }
    group* area = c.board.CreateGroup(Reserved().painted);
    c.board.AppendElement(area, lines);
    c.board.AppendElement(area, CopyGroup(c, Reserved().loop, outline));
    return PlaceArea(c, area);
}

// The outline is closed: the question, then the fill or everything back.
ToolResult Closed(ToolContext& c) {
    if (!Ask(c, kMsgAskFill)) return PutBack(c);
    return MakeFill(c);
}

// --- unfill

ToolResult Unfill(ToolContext& c, container* picked) {
    group* g = PaintedOf(picked);
    if (!g) return ToolResult::Ignored;
    TakeNew(c, g);
    c.selection.attached = g;
    c.selection.highlight(true);
    const bool yes = Ask(c, kMsgAskUnfill);
    c.selection.attached = nullptr;
    if (!yes) {
        c.selection.restore();
        return ToolResult::Reverted;
    }
    const group* loop = nullptr;
    for (container* m : Items(g->members))
        if (m->kind == kGroup && AsGroup(m)->type == Reserved().loop) {
            loop = AsGroup(m);
            break;
        }
    if (!loop || loop->members.emptyList()) {
        c.selection.restore();
        c.host.Beep();
        return ToolResult::Refused;
    }
    c.selection.eraseHighlight();
    UndoStep* step = c.selection.pending.back();
    for (container* m : Items(loop->members)) {
        container* copy = m->clone(c.board);
        c.board.AppendElement(nullptr, copy);
        c.history.RecordAdded(step, copy);
    }
    c.selection.clear();
    c.selection.commitAsOne();
    c.host.DocumentModified();
    c.host.Repaint();
    return ToolResult::Committed;
}

// --- windows

ToolResult BeginWindow(ToolContext& c, container* picked) {
    group* g = PaintedOf(picked);
    if (!g) return ToolResult::Ignored;
    TakeNew(c, g);
    c.fill.area = g;
    c.selection.highlight(true);
    c.modes.pushState(2, kHintWindow);
    c.modes.setToolBarEnabled(Cmd::SelectSettings, false);
    c.host.ToolBarChanged();
    return ToolResult::NextState;
}

// The window is complete and the answer was Yes: a new area of the old outlines and the new
// window replaces the old one. `made` are window elements made for the occasion (a land's
// edge), to be destroyed once copied; otherwise the window is the outline taken.
ToolResult CutWindow(ToolContext& c, std::vector<drawn*> made) {
    group* old = c.fill.area;
    const bool taken = made.empty();
    std::vector<drawn*> window = taken ? Outline(c) : made;
    std::vector<const drawn*> outlines = AreaOutlines(old);
    const size_t before = outlines.size();
    outlines.insert(outlines.end(), window.begin(), window.end());
    std::vector<const drawn*> ownWindow(outlines.begin() + ptrdiff_t(before), outlines.end());
    group* lines = nullptr;
    if (!window.empty() && before > 0) {
        const int aperture = SmallestAperture(c.board, outlines);
        lines = Hatch(c, outlines, AreaOutlines(old).front()->layer, aperture);
    }
    if (!lines) {
        for (drawn* d : made) d->destroy(c.board);
        c.host.Beep();
        PutBack(c);
        return ToolResult::Refused;
    }
    group* area = c.board.CreateGroup(Reserved().painted);
    c.board.AppendElement(area, lines);
    for (container* m : Items(old->members)) {
        if (m->kind != kGroup) continue;
        const Istr t = AsGroup(m)->type;
        if (t == Reserved().loop || t == Reserved().window)
            c.board.AppendElement(area, m->clone(c.board));
    }
    group* w = CopyGroup(c, Reserved().window, window);
    // The window's copies are drawn with a round pen.
    for (container* m : Items(w->members)) AsDrawn(m)->flags &= uint8_t(~kSquareFlag);
    c.board.AppendElement(area, w);
    for (drawn* d : made) d->destroy(c.board);
    return PlaceArea(c, area);
}

ToolResult WindowClosed(ToolContext& c, std::vector<drawn*> made = {}) {
    if (!Ask(c, kMsgAskWindow)) {
        for (drawn* d : made) d->destroy(c.board);
        return PutBack(c);
    }
    return CutWindow(c, std::move(made));
}

// The area's pen: the smallest round aperture of its outlines.
int AreaAperture(const Board& b, const group* area) {
    const std::vector<const drawn*> o = AreaOutlines(area);
    return o.empty() ? 0 : SmallestAperture(b, o);
}

ToolResult WindowClick2(ToolContext& c) {
    container* e = c.pickElement(c.cursorWorld());
    if (!e) return Refuse(c);
    if (e->kind == kLand) {
        const std::vector<const drawn*> o = AreaOutlines(c.fill.area);
        if (o.empty()) return Refuse(c);
        return WindowClosed(c, LandWindow(c.board, static_cast<const land*>(e), o.front()->layer,
                                          AreaAperture(c.board, c.fill.area)));
    }
    if (!OutlineElement(e)) return Refuse(c);
    NumberTopLevel(c);
    if (BeginOutline(c, AsDrawn(e)) == Chain::kClosed) return WindowClosed(c);
    c.modes.gotoState(3, kHintWindowNext);
    return ToolResult::NextState;
}

ToolResult WindowClick3(ToolContext& c) {
    Chain chain = Chain::kOpen;
    const ToolResult r = ContinueOutline(c, chain);
    if (r != ToolResult::Pending || chain != Chain::kClosed) return r;
    return WindowClosed(c);
}

// --- the states

ToolResult FillClick0(ToolContext& c) {
    container* e = c.pickElement(c.cursorWorld());
    if (!e) return Refuse(c);
    const DrawingSettings& s = *c.drawing.settings;
    if ((c.keys & kKeyShift) || s.unfillByClick) return Unfill(c, e);
    if ((c.keys & kKeyCtrl) || s.windowByClick) return BeginWindow(c, e);
    if (!OutlineElement(e)) return Refuse(c);
    NumberTopLevel(c);
    if (BeginOutline(c, AsDrawn(e)) == Chain::kClosed) return Closed(c);
    c.modes.pushState(1, kHintMiddleSecond);
    GreyWhileOpen(c);
    return ToolResult::NextState;
}

ToolResult FillCommand0(ToolContext& c) {
    switch (c.currentCommand) {
        case EditOp::LayerSelect:
            return ChooseLayer(c);
        case EditOp::SelectSettings: {
            DrawingSettings& s = *c.drawing.settings;
            FillSettingsModel m(s);
            if (c.host.Run(m)) m.store(s);
            return ToolResult::Handled;
        }
        default:
            return ToolResult::Ignored;
    }
}

ToolResult FillClick1(ToolContext& c) {
    Chain chain = Chain::kOpen;
    const ToolResult r = ContinueOutline(c, chain);
    if (r != ToolResult::Pending || chain != Chain::kClosed) return r;
    return Closed(c);
}

// The newest element taken goes back; the open ends are those the remaining chain leaves.
ToolResult FillBack1(ToolContext& c) {
    if (c.selection.pending.size() <= 1) return Cancel(c);
    c.selection.eraseHighlight();
    UndoStep* last = c.selection.pending.back();
    c.selection.pending.pop_back();
    c.history.RevertStep(last);
    std::vector<drawn*> outline = Outline(c);
    // The ends of the chain are the end points that occur an odd number of times.
    std::vector<Point> ends;
    auto note = [&](Point p) {
        for (size_t i = 0; i < ends.size(); ++i)
            if (SamePoint(ends[i], p)) {
                ends.erase(ends.begin() + ptrdiff_t(i));
                return;
            }
        ends.push_back(p);
    };
    for (const drawn* d : outline) {
        if (d->kind == kArc) {
            note(static_cast<const arc*>(d)->startPt);
            note(static_cast<const arc*>(d)->endPt);
        } else {
            note(static_cast<const line*>(d)->start());
            note(static_cast<const line*>(d)->end());
        }
    }
    if (ends.size() == 2) {
        c.fill.openEndA = ends[0];
        c.fill.openEndB = ends[1];
    }
    c.selection.highlight(true);
    c.host.Repaint();
    return ToolResult::Reverted;
}

template <ToolOp F>
constexpr ToolOp O = Overlaid<F>;

constexpr ToolState kFillStates[] = {
    {NoOp, O<FillClick0>, NoOp, NoOp, O<FillCommand0>, O<UndoLast>, O<FillStart>},
    {NoOp, O<FillClick1>, NoOp, NoOp, NoOp, O<FillBack1>, O<Cancel>},
    {NoOp, O<WindowClick2>, NoOp, NoOp, NoOp, O<Cancel>, O<Cancel>},
    {NoOp, O<WindowClick3>, NoOp, NoOp, NoOp, O<Cancel>, O<Cancel>},
};

}  // namespace

std::vector<const drawn*> AreaOutlines(const group* painted) {
    std::vector<const drawn*> out;
    if (!painted) return out;
    for (const container* m : Items(painted->members)) {
        if (m->kind != kGroup) continue;
        const group* g = AsGroup(m);
        if (g->type != Reserved().loop && g->type != Reserved().window) continue;
        for (const container* e : Items(g->members))
            if (e->kind == kLine || e->kind == kArc) out.push_back(AsDrawn(e));
    }
    return out;
}

std::vector<drawn*> LandWindow(Board& b, const land* l, int layer, int aperture) {
    const double pen = 2 * b.roundHalf(aperture);
    const double r = l->halfSize(b) + 1.5 * pen;
    std::vector<drawn*> out;
    if (!l->square()) {
        out.push_back(b.CreateArc(layer, aperture, l->ref(), r, 0, kTwoPi));
        return out;
    }
    const Point p[4] = {
        {l->x - r, l->y - r}, {l->x + r, l->y - r}, {l->x + r, l->y + r}, {l->x - r, l->y + r}};
    for (int i = 0; i < 4; ++i)
        out.push_back(b.CreateLine(layer, aperture, false, p[i], p[(i + 1) % 4]));
    return out;
}

FillSettingsModel::FillSettingsModel(const DrawingSettings& s)
    : click(s.unfillByClick   ? Click::kUnfill
            : s.windowByClick ? Click::kWindow
                              : Click::kFill) {}

void FillSettingsModel::store(DrawingSettings& s) const {
    s.unfillByClick = click == Click::kUnfill;
    s.windowByClick = click == Click::kWindow;
}

void InstallFillTool(ModeTable& table) {
    table[kModeFill] = kFillStates;
}

}  // namespace zevo
