#include "tools/line_tools.h"

#include <algorithm>
#include <cmath>
#include <cstdio>

#include "board/model/intern.h"
#include "checks/pair_gap.h"
#include "text/strings.h"
#include "tools/drawing_tools.h"

namespace zevo {

namespace {

// --- shared helpers

std::string ApertureEntry(int n, double diameter) {
    char buf[64];
    std::snprintf(buf, sizeof buf, "%3d: %.3f", n, diameter);
    return buf;
}

Point GridCursor(const ToolContext& c) {
    return c.view.ScreenToInput(c.cursorX, c.cursorY);
}

ToolResult UndoLast(ToolContext& c) {
    if (!c.history.Undo()) return ToolResult::Ignored;
    c.host.Repaint();
    return ToolResult::Reverted;
}

ToolResult Cancel(ToolContext& c) {
    c.overlay.band = false;
    c.overlay.bandLine = false;
    c.cancel();
    return ToolResult::Reverted;
}

// The layer and the definition cannot be chosen while an operation is open.
void GreyWhileBusy(ToolContext& c) {
    c.modes.setToolBarEnabled(Cmd::LayerSelect, false);
    c.modes.setToolBarEnabled(Cmd::SelectSettings, false);
    c.host.SetDefinitionItemsEnabled(false, false);
    c.host.ToolBarChanged();
}

// Takes e out of the board into the selection (a pending step), highlighted.
void Take(ToolContext& c, container* e) {
    UndoStep* step = c.history.BeginStep();
    c.selection.lift(e, step);
    c.selection.addPending(step);
    c.selection.highlight(true);
}

// The n-th element taken (0: the first), or none.
drawn* Taken(ToolContext& c, int n) {
    ListNode* p = c.selection.list.next;
    for (int i = 0; i < n && p != &c.selection.list; ++i) p = p->next;
    if (p == &c.selection.list) return nullptr;
    container* e = AsElement(p);
    return IsDrawn(e) ? AsDrawn(e) : nullptr;
}

// What was taken goes back where it stood and every frame of the operation closes.
void PutBack(ToolContext& c) {
    c.selection.restore();
    c.modes.popModes(c.modes.depth() - 1);
}

bool AnyOffBoard(const Board& b, const std::vector<drawn*>& made) {
    return std::any_of(made.begin(), made.end(), [&](const drawn* d) { return OffBoard(b, d); });
}

void Destroy(Board& b, std::vector<drawn*>& made) {
    for (drawn* d : made) d->destroy(b);
    made.clear();
}

// One committed undo step: `removed` leave the board, `added` are appended to it.
void Replace(ToolContext& c, const std::vector<const drawn*>& removed,
             const std::vector<drawn*>& added) {
    UndoStep* step = c.history.BeginStep();
    for (const drawn* r : removed) {
        drawn* e = const_cast<drawn*>(r);
        if (!e->linked()) continue;
        ListNode* successor = e->unlink(c.board.changes);
        c.history.RecordRemoved(step, e, successor);
    }
    for (drawn* a : added) {
        c.board.AppendElement(nullptr, a);
        c.history.RecordAdded(step, a);
    }
    c.history.CommitStep(step);
    c.host.DocumentModified();
    c.host.Repaint();
}

// New elements beside the old ones: those off the board are dropped, the rest form one step.
ToolResult AddNew(ToolContext& c, std::vector<drawn*> made) {
    std::vector<drawn*> kept;
    for (drawn* d : made) {
        if (OffBoard(c.board, d))
            d->destroy(c.board);
        else
            kept.push_back(d);
    }
    if (kept.empty()) return ToolResult::PopFrame;
    Replace(c, {}, kept);
    return ToolResult::Committed;
}

bool LineOrArc(const container* e) {
    return e && (e->kind == kLine || e->kind == kArc);
}

bool InFilledArea(const container* e) {
    return e->parent && e->parent->parent && e->parent->parent->type == Reserved().painted;
}

// --- parallel and middle lines (mode 8)

ToolResult ParallelStart(ToolContext& c) {
    c.overlay.clear();
    c.modes.startTool(kModeParallel);
    return ToolResult::Reverted;
}

// An element a parallel can be made of: a line of some length or an arc of some radius, not
// part of a filled area.
bool ParallelSource(const container* e) {
    if (InFilledArea(e)) return false;
    if (e->kind == kLine) {
        const line* l = static_cast<const line*>(e);
        return std::fabs(l->ex - l->x) > kEps || std::fabs(l->ey - l->y) >= kEps;
    }
    return e->kind == kArc && static_cast<const arc*>(e)->r >= 0.0005;
}

ToolResult ParallelClick0(ToolContext& c) {
    const Point p = c.cursorWorld();
    c.drawing.lastPoint = p;
    container* e = c.pickElement(p);
    if (!e) return Refuse(c);
    const DrawingSettings& s = *c.drawing.settings;
    if ((c.keys & kKeyShift) || s.middleByClick) {
        Take(c, e);
        c.modes.pushState(1, kHintMiddleSecond);
    } else {
        if (!ParallelSource(e)) return Refuse(c);
        Take(c, e);
        if (s.singleLineParallel)
            c.modes.pushState(2, kHintParallelSide);
        else
            c.modes.pushState(3, kHintSectionLast);
    }
    GreyWhileBusy(c);
    return ToolResult::NextState;
}

ToolResult ParallelCommand0(ToolContext& c) {
    switch (c.currentCommand) {
        case EditOp::LayerSelect:
            return ChooseLayer(c);
        case EditOp::SelectSettings: {
            DrawingSettings& s = *c.drawing.settings;
            ParallelSettingsModel m(c.board, s);
            if (!c.host.Run(m)) return ToolResult::Handled;
            s.middleByClick = m.middleByClick;
            s.singleLineParallel = m.singleLineParallel;
            if (m.aperture >= 0 && m.aperture < kApertures) s.lineAperture = m.aperture;
            c.host.DefinitionsChanged();
            return ToolResult::Handled;
        }
        default:
            return ToolResult::Ignored;
    }
}

// Asks for the values of a set of lines; false when the dialog was left without 決定.
bool AskValues(ToolContext& c, LineSetInputModel::Kind kind, LineSetValues& values) {
    LineSetInputModel m(kind, values);
    if (!c.host.Run(m) || !m.decided()) return false;
    values = m.values();
    return true;
}

// The other element of a middle line: the gap between the two as copper; touching elements
// are a short.
ToolResult MiddleClick1(ToolContext& c) {
    const Point q = c.cursorWorld();
    const drawn* e = Taken(c, 0);
    container* f = c.pickElement(q);
    if (!f || !e) return Refuse(c);
    PairGapResult r;
    const bool measured = PairGap(c.board, e, f, r);
    PutBack(c);
    if (!measured || r.overlap || SamePoint(r.nearA, r.nearB)) {
        c.host.Message(TableText(kMsgShort));
        return ToolResult::PopFrame;
    }
    DrawingSettings& s = *c.drawing.settings;
    if (!AskValues(c, LineSetInputModel::Kind::kMiddle, s.middleValues))
        return ToolResult::PopFrame;
    return AddNew(c, MiddleLines(c.board, r.nearA, r.nearB, s.middleValues, c.board.currentLayer,
                                 s.lineAperture));
}

ToolResult ParallelClick2(ToolContext& c) {
    const Point q = c.cursorWorld();
    const drawn* e = Taken(c, 0);
    if (!e) return Refuse(c);
    PutBack(c);
    DrawingSettings& s = *c.drawing.settings;
    const auto kind = e->kind == kArc ? LineSetInputModel::Kind::kParallelArc
                                      : LineSetInputModel::Kind::kParallelLine;
    if (!AskValues(c, kind, s.parallelValues)) return ToolResult::PopFrame;
    return AddNew(
        c, ParallelsOf(c.board, e, q, s.parallelValues, c.board.currentLayer, s.lineAperture));
}

// The point on the last line of the section: a line the run from the first one reaches, or the
// first element itself.
ToolResult SectionClick3(ToolContext& c) {
    const Point q = c.cursorWorld();
    const drawn* e = Taken(c, 0);
    if (!e) return Refuse(c);
    container* f = c.pickElement(q);
    if (!f && e->hitTest(c.board, q, c.view.pickRadiusWorld)) {
        c.modes.gotoState(4, kHintSectionSide);
        return ToolResult::NextState;
    }
    if (!f || f->kind != kLine || e->kind != kLine) return Refuse(c);
    if (SectionOf(c.board, static_cast<const line*>(e), static_cast<const line*>(f)).empty())
        return Refuse(c);
    Take(c, f);
    c.modes.gotoState(4, kHintSectionSide);
    return ToolResult::NextState;
}

ToolResult SectionClick4(ToolContext& c) {
    const Point q = c.cursorWorld();
    const drawn* e = Taken(c, 0);
    const drawn* f = Taken(c, 1);
    if (!e) return Refuse(c);
    if (!f) f = e;
    PutBack(c);
    DrawingSettings& s = *c.drawing.settings;
    if (e->kind == kArc) {
        if (!AskValues(c, LineSetInputModel::Kind::kParallelArc, s.parallelValues))
            return ToolResult::PopFrame;
        return AddNew(
            c, ParallelsOf(c.board, e, q, s.parallelValues, c.board.currentLayer, s.lineAperture));
    }
    const auto run = SectionOf(c.board, static_cast<const line*>(e), static_cast<const line*>(f));
    if (run.empty()) return Refuse(c);
    if (!AskValues(c, LineSetInputModel::Kind::kSection, s.parallelValues))
        return ToolResult::PopFrame;
    return AddNew(c, SectionParallels(c.board, run, q, s.parallelValues, c.board.currentLayer,
                                      s.lineAperture));
}

// --- connect, stretch, split and chamfer (mode 9)

ToolResult ConnectStart(ToolContext& c) {
    c.overlay.clear();
    c.modes.startTool(kModeConnect);
    return ToolResult::Reverted;
}

ToolResult ConnectClick0(ToolContext& c) {
    const Point p = c.cursorWorld();
    c.drawing.lastPoint = p;
    container* e = c.pickElement(p);
    if (!e) return Refuse(c);
    const DrawingSettings& s = *c.drawing.settings;
    const bool shift = c.keys & kKeyShift;
    if ((c.keys & kKeyCtrl) || (s.splitByClick && !shift)) {
        if (!LineOrArc(e) || e->parent) return Refuse(c);
        std::vector<drawn*> made;
        if (SplitElement(c.board, AsDrawn(e), p, made) != EditOutcome::kDone) return Refuse(c);
        Replace(c, {AsDrawn(e)}, made);
        return ToolResult::Committed;
    }
    if (shift) {
        if (e->kind != kLine || AsDrawn(e)->square() || e->parent) return Refuse(c);
        Take(c, e);
        c.modes.pushState(5, kHintChamferSecond);
    } else {
        if (!LineOrArc(e) || e->parent) return Refuse(c);
        Take(c, e);
        c.modes.pushState(1, kHintConnectSecond);
    }
    GreyWhileBusy(c);
    return ToolResult::NextState;
}

ToolResult ConnectCommand0(ToolContext& c) {
    switch (c.currentCommand) {
        case EditOp::LayerSelect:
            return ChooseLayer(c);
        case EditOp::SelectSettings: {
            ConnectSettingsModel m(*c.drawing.settings);
            if (c.host.Run(m)) m.store(*c.drawing.settings);
            return ToolResult::Handled;
        }
        default:
            return ToolResult::Ignored;
    }
}

// The outcome of an edit of the geometry: no geometry beeps and stays, no change beeps and
// cancels, new elements that would leave the board beep and stay (the old ones are kept), and
// otherwise the old elements are replaced by the new ones as one step.
ToolResult Finish(ToolContext& c, EditOutcome outcome, const std::vector<const drawn*>& old,
                  std::vector<drawn*>& made) {
    if (outcome == EditOutcome::kNoGeometry) return Refuse(c);
    if (outcome == EditOutcome::kNoChange) {
        PutBack(c);
        return Refuse(c);
    }
    if (AnyOffBoard(c.board, made)) {
        Destroy(c.board, made);
        return Refuse(c);
    }
    PutBack(c);
    Replace(c, old, made);
    return ToolResult::Committed;
}

ToolResult ConnectClick1(ToolContext& c) {
    const Point q = c.cursorWorld();
    const drawn* e = Taken(c, 0);
    if (!e) return Refuse(c);
    container* f = c.pickElement(q);
    std::vector<drawn*> made;
    if ((c.keys & kKeyShift) || c.drawing.settings->stretchByClick) {
        const drawn* target = f && IsDrawn(f) ? AsDrawn(f) : nullptr;
        const EditOutcome o =
            StretchElement(c.board, e, c.drawing.lastPoint, target, GridCursor(c), made);
        return Finish(c, o, {e}, made);
    }
    if (!LineOrArc(f) || f->parent) return Refuse(c);
    std::vector<const drawn*> replaced;
    const EditOutcome o =
        ConnectElements(c.board, e, c.drawing.lastPoint, AsDrawn(f), q, replaced, made);
    return Finish(c, o, replaced, made);
}

ToolResult ChamferClick5(ToolContext& c) {
    const Point q = c.cursorWorld();
    const drawn* e = Taken(c, 0);
    if (!e) return Refuse(c);
    container* f = c.pickElement(q);
    // Only a round line of the same layer outside any group is the other side of a corner.
    if (!f || f->kind != kLine || AsDrawn(f)->square() || f->parent ||
        AsDrawn(f)->layer != e->layer)
        return ToolResult::Ignored;
    PutBack(c);
    DrawingSettings& s = *c.drawing.settings;
    if (!(c.keys & kKeyShift)) {
        ChamferRadiusModel m(s.chamferRadius);
        if (!c.host.Run(m) || !m.decided()) return ToolResult::PopFrame;
        s.chamferRadius = m.value();
    }
    std::vector<drawn*> made;
    if (ChamferCorner(c.board, static_cast<const line*>(e), static_cast<const line*>(f),
                      s.chamferRadius, made) != EditOutcome::kDone)
        return Refuse(c);
    if (AnyOffBoard(c.board, made)) {
        Destroy(c.board, made);
        return Refuse(c);
    }
    Replace(c, {e, AsDrawn(f)}, made);
    return ToolResult::Committed;
}

// --- the two groups of lines

ToolResult GroupDrag0(ToolContext& c) {
    const DrawingSettings& s = *c.drawing.settings;
    if (s.stretchByClick || s.splitByClick || (c.keys & kKeyCtrl)) return ToolResult::Ignored;
    c.drawing.groupStretch = c.keys & kKeyShift;
    c.overlay.band = true;
    c.overlay.bandLine = true;
    c.overlay.bandAnchor = {c.pressX, c.pressY};
    c.overlay.bandCursor = {c.cursorX, c.cursorY};
    c.modes.pushState(2, kHintGroupFirst);
    GreyWhileBusy(c);
    return ToolResult::NextState;
}

ToolResult GroupHover(ToolContext& c) {
    if (!c.overlay.band) return ToolResult::Ignored;
    c.overlay.bandCursor = {c.cursorX, c.cursorY};
    return ToolResult::Handled;
}

// The first rubber line is released: it stays on the screen as the reference line.
ToolResult GroupClick2(ToolContext& c) {
    c.overlay.band = false;
    c.overlay.bandLine = false;
    c.selection.referenceLine = {c.view.ScreenToWorld(c.pressX, c.pressY), c.cursorWorld(), true};
    c.selection.highlight(true);
    c.modes.gotoState(3, kHintGroupSecondDrag);
    return ToolResult::NextState;
}

ToolResult GroupDrag3(ToolContext& c) {
    c.overlay.band = true;
    c.overlay.bandLine = true;
    c.overlay.bandAnchor = {c.pressX, c.pressY};
    c.overlay.bandCursor = {c.cursorX, c.cursorY};
    c.modes.gotoState(4, kHintGroupSecond);
    return ToolResult::NextState;
}

// Where the segment a-b crosses the segment c-d, as the fraction of a-b; none when they do not.
std::optional<double> CrossingOf(Point a, Point b, Point c, Point d) {
    const double rx = b.x - a.x, ry = b.y - a.y, sx = d.x - c.x, sy = d.y - c.y;
    const double den = rx * sy - ry * sx;
    if (std::fabs(den) < 1e-12) return std::nullopt;
    const double t = ((c.x - a.x) * sy - (c.y - a.y) * sx) / den;
    const double u = ((c.x - a.x) * ry - (c.y - a.y) * rx) / den;
    if (t < 0 || t > 1 || u < 0 || u > 1) return std::nullopt;
    return t;
}

struct Crossed {
    const line* l;
    double along;  // where the rubber line crosses it, as a fraction of the rubber line
    Point at;
};

// The top-level lines on layers open for editing that the rubber line a-b crosses, in the order
// the rubber line meets them.
std::vector<Crossed> CrossedLines(const Board& b, Point a, Point z,
                                  const std::vector<Crossed>& exclude) {
    std::vector<Crossed> out;
    for (container* e : Items(b.items)) {
        if (e->kind != kLine || !OnActiveLayer(b, AsDrawn(e))) continue;
        const line* l = static_cast<const line*>(e);
        if (std::any_of(exclude.begin(), exclude.end(), [&](const Crossed& x) { return x.l == l; }))
            continue;
        if (auto t = CrossingOf(a, z, l->start(), l->end()))
            out.push_back({l, *t, {a.x + *t * (z.x - a.x), a.y + *t * (z.y - a.y)}});
    }
    std::stable_sort(out.begin(), out.end(),
                     [](const Crossed& x, const Crossed& y) { return x.along < y.along; });
    return out;
}

ToolResult GroupClick4(ToolContext& c) {
    c.overlay.band = false;
    c.overlay.bandLine = false;
    const ReferenceLine first = c.selection.referenceLine;
    const Point a = c.view.ScreenToWorld(c.pressX, c.pressY), z = c.cursorWorld();
    PutBack(c);
    const std::vector<Crossed> one = CrossedLines(c.board, first.a, first.b, {});
    const std::vector<Crossed> two = CrossedLines(c.board, a, z, one);
    if (one.empty() || two.empty()) return Refuse(c);
    // The lines are paired in the order each rubber line meets them.
    const size_t pairs = std::min(one.size(), two.size());
    bool failed = one.size() != two.size();
    std::vector<const drawn*> removed;
    std::vector<drawn*> added;
    for (size_t i = 0; i < pairs; ++i) {
        std::vector<drawn*> made;
        std::vector<const drawn*> replaced;
        EditOutcome o;
        if (c.drawing.groupStretch) {
            o = StretchElement(c.board, one[i].l, one[i].at, two[i].l, one[i].at, made);
            replaced = {one[i].l};
        } else {
            o = ConnectElements(c.board, one[i].l, one[i].at, two[i].l, two[i].at, replaced, made);
        }
        if (o != EditOutcome::kDone || AnyOffBoard(c.board, made)) {
            Destroy(c.board, made);
            failed = true;
            continue;
        }
        removed.insert(removed.end(), replaced.begin(), replaced.end());
        added.insert(added.end(), made.begin(), made.end());
    }
    if (added.empty()) return Refuse(c);
    Replace(c, removed, added);
    if (failed) c.host.Beep();
    return ToolResult::Committed;
}

template <ToolOp F>
constexpr ToolOp O = Overlaid<F>;

constexpr ToolState kParallelStates[] = {
    {NoOp, O<ParallelClick0>, NoOp, NoOp, O<ParallelCommand0>, O<UndoLast>, O<ParallelStart>},
    {NoOp, O<MiddleClick1>, NoOp, NoOp, NoOp, O<Cancel>, O<Cancel>},
    {NoOp, O<ParallelClick2>, NoOp, NoOp, NoOp, O<Cancel>, O<Cancel>},
    {NoOp, O<SectionClick3>, NoOp, NoOp, NoOp, O<Cancel>, O<Cancel>},
    {NoOp, O<SectionClick4>, NoOp, NoOp, NoOp, O<Cancel>, O<Cancel>},
};

constexpr ToolState kConnectStates[] = {
    {NoOp, O<ConnectClick0>, O<GroupDrag0>, NoOp, O<ConnectCommand0>, O<UndoLast>, O<ConnectStart>},
    {NoOp, O<ConnectClick1>, NoOp, NoOp, NoOp, O<Cancel>, O<Cancel>},
    {O<GroupHover>, O<GroupClick2>, NoOp, NoOp, NoOp, O<Cancel>, O<Cancel>},
    {NoOp, NoOp, O<GroupDrag3>, NoOp, NoOp, O<Cancel>, O<Cancel>},
    {O<GroupHover>, O<GroupClick4>, NoOp, NoOp, NoOp, O<Cancel>, O<Cancel>},
    {NoOp, O<ChamferClick5>, NoOp, NoOp, NoOp, O<Cancel>, O<Cancel>},
};

std::optional<double> Evaluate(const std::string& text) {
    const auto v = EvaluateInput(text);
    if (!v || !std::isfinite(*v)) return std::nullopt;
    return v;
}

}  // namespace

void InstallLineTools(ModeTable& table) {
    table[kModeParallel] = kParallelStates;
    table[kModeConnect] = kConnectStates;
}

// --- dialogs

ParallelSettingsModel::ParallelSettingsModel(const Board& board, const DrawingSettings& s)
    : middleByClick(s.middleByClick),
      singleLineParallel(s.singleLineParallel),
      aperture(s.lineAperture),
      board_(board) {}

std::string ParallelSettingsModel::entry(int n) const {
    return ApertureEntry(n, 2 * board_.roundHalf(n));
}

LineSetInputModel::LineSetInputModel(Kind kind, const LineSetValues& values)
    : spacing(FormatNumber(values.spacing)),
      length(FormatNumber(values.length)),
      count(std::to_string(values.count)),
      kind_(kind),
      values_(values) {}

std::optional<FieldError> LineSetInputModel::decide() {
    const auto s = Evaluate(spacing);
    if (!s) return FieldError{kFieldSpacing};
    std::optional<double> l = values_.length;
    if (lengthEnabled()) {
        l = Evaluate(length);
        if (!l) return FieldError{kFieldLength};
    }
    const auto n = Evaluate(count);
    if (!n) return FieldError{kFieldCount};
    values_.spacing = *s;
    values_.length = *l;
    values_.count = int(std::clamp(std::trunc(*n), 0.0, double(kMaxLineSetCount)));
    decided_ = true;
    return std::nullopt;
}

ConnectSettingsModel::ConnectSettingsModel(const DrawingSettings& s)
    : click(s.splitByClick     ? Click::kSplit
            : s.stretchByClick ? Click::kStretch
                               : Click::kConnect) {}

void ConnectSettingsModel::store(DrawingSettings& s) const {
    s.stretchByClick = click == Click::kStretch;
    s.splitByClick = click == Click::kSplit;
}

ChamferRadiusModel::ChamferRadiusModel(double r) : radius(FormatNumber(r)) {}

std::optional<FieldError> ChamferRadiusModel::decide() {
    const auto r = Evaluate(radius);
    if (!r) return FieldError{kFieldRadius};
    value_ = *r;
    decided_ = true;
    return std::nullopt;
}

}  // namespace zevo
