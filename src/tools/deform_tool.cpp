#include "tools/deform_tool.h"

#include <algorithm>
#include <cmath>
#include <unordered_map>

#include "board/model/intern.h"
#include "text/strings.h"
#include "tools/drawing_tools.h"

namespace zevo {

namespace {

// --- geometry of the elements being moved

Point GridCursor(const ToolContext& c) {
    return c.view.ScreenToInput(c.cursorX, c.cursorY);
}

Point OnGrid(const ViewState& v, Point p) {
    if (!v.onGrid()) return {RoundToInput(p.x), RoundToInput(p.y)};
    return {SnapToGrid(p.x, v.gridOriginX, v.gridSpacing, !v.mirrored()),
            SnapToGrid(p.y, v.gridOriginY, v.gridSpacing, false)};
}

// The node points of a drawn element in a fixed order: a land's centre; a line's or an arc's
// start and end; a rectangle's centre and its centre line's two ends.
int NodePoints(const drawn* d, Point (&out)[3]) {
    switch (d->kind) {
        case kLand:
            out[0] = d->ref();
            return 1;
        case kLine: {
            const line* l = static_cast<const line*>(d);
            out[0] = l->start(), out[1] = l->end();
            return 2;
        }
        case kArc: {
            const arc* a = static_cast<const arc*>(d);
            out[0] = a->startPt, out[1] = a->endPt;
            return 2;
        }
        case kRect: {
            const rect* r = static_cast<const rect*>(d);
            out[0] = r->ref(), out[1] = r->e1, out[2] = r->e2;
            return 3;
        }
        default:
            return 0;
    }
}

// The points a move takes of an element, in a fixed order, so that the same walk over the
// element before the move and over its copy after it pairs them up.
template <class F>
void MovedPointsOf(const container* e, DeformPart part, F&& add) {
    if (e->kind == kGroup) {
        for (const container* m : Items(AsGroup(e)->members)) MovedPointsOf(m, part, add);
        return;
    }
    if (!IsDrawn(e)) return;
    const drawn* d = AsDrawn(e);
    Point p[3];
    const int n = NodePoints(d, p);
    // A rectangle's ends are its second and third node points; a line's or an arc's the first
    // and the second.
    const int first = d->kind == kRect ? 1 : 0;
    switch (part) {
        case DeformPart::kWhole:
            for (int i = 0; i < n; ++i) add(p[i], d->layer);
            return;
        case DeformPart::kStart:
            add(p[first], d->layer);
            return;
        case DeformPart::kEnd:
            add(p[first + 1], d->layer);
            return;
        case DeformPart::kBothEnds:
            add(p[first], d->layer);
            add(p[first + 1], d->layer);
            return;
    }
}

// Makes dst (a copy of src, or of an element of the same shape) equal to src again.
void CopyGeometry(Board& b, container* dst, const container* src) {
    if (src->kind == kGroup) {
        group* g = AsGroup(dst);
        const group* h = AsGroup(src);
        ListNode* d = g->members.next;
        for (const ListNode* s = h->members.next; s != &h->members && d != &g->members;
             s = s->next, d = d->next)
            CopyGeometry(b, AsElement(d), AsElement(s));
        if (g->ext && h->ext) {
            g->ext->pt = h->ext->pt;
            g->ext->angle = h->ext->angle;
            if (g->ext->kind == 1 && h->ext->kind == 1) {
                static_cast<TextPlacement*>(g->ext)->hi =
                    static_cast<const TextPlacement*>(h->ext)->hi;
                static_cast<TextPlacement*>(g->ext)->pit =
                    static_cast<const TextPlacement*>(h->ext)->pit;
            }
        }
        return;
    }
    if (!IsDrawn(src)) return;
    drawn* x = AsDrawn(dst);
    const drawn* y = AsDrawn(src);
    x->x = y->x, x->y = y->y;
    x->aperture = y->aperture, x->layer = y->layer, x->flags = y->flags;
    switch (src->kind) {
        case kLine:
            static_cast<line*>(x)->ex = static_cast<const line*>(y)->ex;
            static_cast<line*>(x)->ey = static_cast<const line*>(y)->ey;
            break;
        case kArc: {
            arc* a = static_cast<arc*>(x);
            const arc* o = static_cast<const arc*>(y);
            a->r = o->r, a->st = o->st, a->end = o->end;
            break;
        }
        case kRect: {
            rect* r = static_cast<rect*>(x);
            const rect* o = static_cast<const rect*>(y);
            r->dx = o->dx, r->dy = o->dy, r->ang = o->ang;
            break;
        }
        default:
            break;
    }
    x->updateBounds(b);
}

// An arc's start or end angle set to a; the sweep keeps running counter-clockwise from the start.
void SetArcAngle(const Board& b, arc* a, bool start, double angle) {
    if (start) {
        a->st = NormaliseAngle(angle);
    } else {
        a->end = angle;
    }
    while (a->end < a->st) a->end += kTwoPi;
    while (a->end - a->st > kTwoPi) a->end -= kTwoPi;
    a->updateBounds(b);
}

double AngleOf(Point p, Point centre) {
    return std::atan2(p.y - centre.y, p.x - centre.x);
}

Point EndPoint(const container* e, DeformPart part) {
    Point p[3];
    const int n = NodePoints(AsDrawn(e), p);
    const int first = e->kind == kRect ? 1 : 0;
    if (n < first + 2) return p[0];
    return part == DeformPart::kEnd ? p[first + 1] : p[first];
}

// A follower's ends (or the whole of a land or of a rectangle at its centre) go to where the
// moved points are now.
void Follow(Board& b, DeformJoint& j, const std::vector<Point>& moved) {
    CopyGeometry(b, j.live, j.base);
    drawn* d = AsDrawn(j.live);
    auto at = [&](int k) { return moved[size_t(j.node[k])]; };
    switch (d->kind) {
        case kLand:
            if (j.node[0] >= 0) d->moveTo(b, at(0));
            break;
        case kLine: {
            line* l = static_cast<line*>(d);
            if (j.node[0] >= 0) l->x = at(0).x, l->y = at(0).y;
            if (j.node[1] >= 0) l->ex = at(1).x, l->ey = at(1).y;
            l->updateBounds(b);
            break;
        }
        case kArc: {
            arc* a = static_cast<arc*>(d);
            if (j.node[0] >= 0) SetArcAngle(b, a, true, AngleOf(at(0), a->centre()));
            if (j.node[1] >= 0) SetArcAngle(b, a, false, AngleOf(at(1), a->centre()));
            break;
        }
        case kRect: {
            rect* r = static_cast<rect*>(d);
            if (j.node[0] >= 0) {
                r->moveTo(b, at(0));
                break;
            }
            if (j.node[1] >= 0) r->dragVertex(b, r->e1, at(1));
            if (j.node[2] >= 0) r->dragVertex(b, r->e2, at(2));
            break;
        }
        default:
            break;
    }
}

bool SingleLine(const DeformWork& w) {
    return w.items.size() == 1 && w.items[0].base->kind == kLine;
}

// The copies are made again from where the move started: the turns about the reference point,
// then the move that takes the reference point to the target; the followers' ends go along.
void Rebuild(ToolContext& c, bool eightDirections) {
    Board& b = c.board;
    DeformWork& w = c.deform;
    Point d{w.target.x - w.reference.x, w.target.y - w.reference.y};
    if ((w.kind == kDeformLineEnd || w.kind == kDeformFreeEnd) && SingleLine(w) &&
        eightDirections) {
        const DeformItem& it = w.items[0];
        const line* l = static_cast<const line*>(it.base);
        const Point v = it.part == DeformPart::kEnd ? l->end() : l->start();
        const Point other = it.part == DeformPart::kEnd ? l->start() : l->end();
        const Point to = Constrain8({v.x + d.x, v.y + d.y}, other);
        d = {to.x - v.x, to.y - v.y};
    }
    for (DeformItem& it : w.items) {
        container* e = it.live;
        CopyGeometry(b, e, it.base);
        for (const DeformWork::Turn& t : w.turns) {
            if (t.mirror)
                e->mirror(b, w.reference.x);
            else
                e->rotate(b, w.reference, t.angle);
        }
        if (w.kind == kDeformRadius) {
            arc* a = static_cast<arc*>(e);
            a->r = w.radius;
            a->updateBounds(b);
        } else if (w.kind == kDeformArcEnd) {
            SetArcAngle(b, static_cast<arc*>(e), it.part == DeformPart::kStart, w.angle);
        } else if (it.part == DeformPart::kWhole) {
            if (d.x != 0 || d.y != 0) e->translate(b, d.x, d.y);
        } else if (e->kind == kLine) {
            line* l = static_cast<line*>(e);
            if (it.part == DeformPart::kEnd)
                l->ex += d.x, l->ey += d.y;
            else
                l->x += d.x, l->y += d.y;
            l->updateBounds(b);
        } else {
            e->moveVertex(b, EndPoint(it.base, it.part), d.x, d.y);
        }
    }
    if (w.joints.empty()) return;
    w.moved.clear();
    for (const DeformItem& it : w.items)
        MovedPointsOf(it.live, it.part, [&](Point p, int) { w.moved.push_back(p); });
    if (w.moved.size() != w.points.size()) return;  // cannot happen: copies keep their shape
    for (DeformJoint& j : w.joints) Follow(b, j, w.moved);
}

// Where the reference point goes: the arcs take their radius or end angle from it.
bool SetTarget(ToolContext& c, Point t) {
    DeformWork& w = c.deform;
    if (w.kind == kDeformRadius) {
        const arc* a = static_cast<const arc*>(w.items[0].base);
        const double r = Dist(t, a->centre());
        if (!(r > 0.001)) return false;
        w.radius = r;
    } else if (w.kind == kDeformArcEnd) {
        const DeformItem& it = w.items[0];
        const arc* a = static_cast<const arc*>(it.base);
        const Point v = EndPoint(a, it.part);
        const Point to{v.x + t.x - w.reference.x, v.y + t.y - w.reference.y};
        if (SamePoint(to, a->centre())) return false;
        w.angle = AngleOf(to, a->centre());
    }
    w.target = t;
    return true;
}

bool EightDirections(const ToolContext& c) {
    return !(c.keys & kKeyCtrl) &&
           ((c.keys & kKeyShift) || c.host.SelectionOptions().deformEightAlways);
}

// --- the screen while dragging: only what moves is drawn again

Box BoundsOf(const container* e) {
    Box b;
    if (e->kind == kGroup) {
        if (!Board::GroupBounds(AsGroup(e), b)) return {1, 1, 0, 0};
        return b;
    }
    return AsDrawn(e)->bounds;
}

// The copies' highlight is taken off the screen by copying the back buffer over where they are
// drawn: the back buffer holds the board as it was, the taken elements at their old places.
void EraseDragged(ToolContext& c) {
    if (!c.screen || !c.back || c.selection.empty()) return;
    bool any = false;
    Box box;
    for (const container* e : Items(c.selection.list)) {
        const Box b = BoundsOf(e);
        if (b.minX > b.maxX) continue;
        if (!any)
            box = b;
        else
            box.grow(b);
        any = true;
    }
    if (!any) return;
    const Point p = c.view.WorldToScreen(box.minX, box.maxY);
    const Point q = c.view.WorldToScreen(box.maxX, box.minY);
    auto clampPixel = [](double v, int limit) {
        return int(std::clamp(std::floor(v), -4.0, double(limit) + 4));
    };
    const int w = c.screen->width(), h = c.screen->height();
    const int x0 = clampPixel(std::min(p.x, q.x), w) - 2,
              x1 = clampPixel(std::max(p.x, q.x), w) + 3;
    const int y0 = clampPixel(std::min(p.y, q.y), h) - 2,
              y1 = clampPixel(std::max(p.y, q.y), h) + 3;
    c.screen->Blit(*c.back, x0, y0, x1 - x0, y1 - y0, x0, y0, RasterOp::kCopy);
}

// --- taking and putting down

void Lift(ToolContext& c, UndoStep* step, container* e) {
    ListNode* successor = e->unlink(c.board.changes);
    c.history.RecordRemoved(step, e, successor);
    c.deform.lifted.push_back({e, successor});
}

container* LiveCopy(ToolContext& c, const container* base) {
    container* live = base->clone(c.board);
    live->insertBefore(&c.selection.list, c.board.changes);
    return live;
}

// Ends the work: the bases made for the move go back to their pool.
void ClearWork(ToolContext& c) {
    DeformWork& w = c.deform;
    for (DeformItem& it : w.items)
        if (it.ownBase) it.base->destroy(c.board);
    w.items.clear();
    w.turns.clear();
    w.lifted.clear();
    w.points.clear();
    w.moved.clear();
    w.joints.clear();
    w.active = false;
}

// The free elements of the document with a node point on a moved point of their layer join
// the move. False when the end-point table cannot hold them all.
bool CollectJoints(ToolContext& c, const container* unit) {
    DeformWork& w = c.deform;
    if (w.points.empty()) return true;
    constexpr double kNear = 0.0015;
    Box area{w.points[0].at.x, w.points[0].at.y, w.points[0].at.x, w.points[0].at.y};
    for (const MovedPoint& m : w.points) area.grow({m.at.x, m.at.y, m.at.x, m.at.y});
    area = {area.minX - kNear, area.minY - kNear, area.maxX + kNear, area.maxY + kNear};
    // The points by x, so that a node point is looked up among its neighbours only.
    std::vector<uint32_t> byX(w.points.size());
    for (uint32_t i = 0; i < byX.size(); ++i) byX[i] = i;
    std::sort(byX.begin(), byX.end(),
              [&](uint32_t a, uint32_t b) { return w.points[a].at.x < w.points[b].at.x; });
    auto pointAt = [&](Point p, int layer) {
        auto it = std::lower_bound(byX.begin(), byX.end(), p.x - kNear,
                                   [&](uint32_t i, double x) { return w.points[i].at.x < x; });
        int found = -1;
        for (; it != byX.end() && w.points[*it].at.x <= p.x + kNear; ++it) {
            const MovedPoint& m = w.points[*it];
            if (m.layer == layer && SamePoint(m.at, p) && (found < 0 || int(*it) < found))
                found = int(*it);
        }
        return found;
    };
    bool full = false;
    c.board.drawnIndex.find(
        c.board.items,
        [&](const OuterBox& b) {
            return double(b.maxX) < area.minX || double(b.minX) > area.maxX ||
                   double(b.maxY) < area.minY || double(b.minY) > area.maxY;
        },
        [&](const drawn* d) {
            if (d->parent || d == unit || !OnActiveLayer(c.board, d)) return false;
            Point nodes[3];
            const int n = NodePoints(d, nodes);
            DeformJoint j;
            bool any = false;
            for (int k = 0; k < n; ++k) {
                j.node[k] = pointAt(nodes[k], d->layer);
                any = any || j.node[k] >= 0;
            }
            if (!any) return false;
            if (w.joints.size() >= DeformWork::kJointCapacity) {
                full = true;
                return true;
            }
            j.base = const_cast<drawn*>(d);
            w.joints.push_back(j);
            return false;
        });
    return !full;
}

// A line, a copy of `l` from `from` to `to`.
container* Half(ToolContext& c, const line* l, Point from, Point to) {
    line* h = static_cast<line*>(l->clone(c.board));
    h->x = from.x, h->y = from.y, h->ex = to.x, h->ey = to.y;
    h->updateBounds(c.board);
    return h;
}

bool IsPartGroup(const container* e) {
    return e->kind == kGroup && AsGroup(e)->ext && AsGroup(e)->ext->kind == 2;
}

// --- state 0

ToolResult DeformStart(ToolContext& c) {
    c.overlay.clear();
    c.modes.startTool(kModeDeform);
    return ToolResult::Reverted;
}

ToolResult UndoLast(ToolContext& c) {
    if (!c.history.Undo()) return ToolResult::Ignored;
    c.host.Repaint();
    return ToolResult::Reverted;
}

ToolResult DeformCommand0(ToolContext& c) {
    switch (c.currentCommand) {
        case EditOp::LayerSelect:
            return ChooseLayer(c);
        case EditOp::SelectSettings: {
            const SelectionSettings now = c.host.SelectionOptions();
            SelectMethodModel m(now);
            if (c.host.Run(m)) c.host.SetSelectionOptions(m.applied(now));
            return ToolResult::Handled;
        }
        default:
            return ToolResult::Ignored;
    }
}

// What the click takes and how it moves; the halves of a bent line are made here.
void ChooseItems(ToolContext& c, container* unit, const drawn* picked, Point p, bool nearVertex) {
    DeformWork& w = c.deform;
    const Point v = picked->nearEnd(p);
    DeformItem it;
    it.base = unit;
    it.origin = unit;
    switch (unit->kind) {
        case kGroup:
            w.kind = kDeformGroup;
            w.reference = DeformReference(c.view, c.board, AsGroup(unit));
            break;
        case kLand:
            w.kind = kDeformElement;
            w.reference = AsDrawn(unit)->ref();
            break;
        case kRect: {
            const rect* r = static_cast<const rect*>(unit);
            w.kind = kDeformElement;
            w.reference = r->ref();
            // Taken alone at an end of its centre line, a rectangle stretches there.
            if (w.unitMode && nearVertex && !(v == r->ref())) {
                it.part = v == r->e1 ? DeformPart::kStart : DeformPart::kEnd;
                w.reference = v;
            }
            break;
        }
        case kLine: {
            const line* l = static_cast<const line*>(unit);
            if (nearVertex) {
                w.kind = w.unitMode ? kDeformLineEnd : kDeformFreeEnd;
                it.part = v == l->start() ? DeformPart::kStart : DeformPart::kEnd;
                w.reference = v;
                break;
            }
            // Bent at the click: a line from each end to the point, whose shared end moves.
            const Point q = GridCursor(c);
            w.kind = kDeformFreeEnd;
            w.reference = q;
            it.part = DeformPart::kEnd;
            it.ownBase = true;
            it.base = Half(c, l, l->start(), q);
            w.items.push_back(it);
            it.base = Half(c, l, l->end(), q);
            break;
        }
        case kArc: {
            const arc* a = static_cast<const arc*>(unit);
            w.reference = GridCursor(c);
            if (nearVertex) {
                w.kind = kDeformArcEnd;
                it.part = v == a->startPt ? DeformPart::kStart : DeformPart::kEnd;
                w.angle = it.part == DeformPart::kStart ? a->st : a->end;
            } else {
                w.kind = kDeformRadius;
                it.part = DeformPart::kBothEnds;
                w.radius = a->r;
            }
            break;
        }
        default:
            break;
    }
    w.items.push_back(it);
}

// The hourglass while the click is at work.
struct Hourglass {
    explicit Hourglass(ToolHost& h) : host(h) { host.WaitCursor(true); }
    ~Hourglass() { host.WaitCursor(false); }
    ToolHost& host;
};

ToolResult DeformClick0(ToolContext& c) {
    const Hourglass busy(c.host);
    const Point p = c.cursorWorld();
    container* e = c.pickElement(p);
    if (!e || !IsDrawn(e)) return Refuse(c);
    const drawn* d = AsDrawn(e);
    const Point v = d->nearEnd(p);
    const double h = d->kind == kRect ? static_cast<const rect*>(d)->dy / 2 : d->halfSize(c.board);
    const bool nearVertex = Dist(v, p) < 1.5 * h + c.view.pickRadiusWorld;
    const bool shift = c.keys & kKeyShift, ctrl = c.keys & kKeyCtrl;

    DeformWork& w = c.deform;
    ClearWork(c);
    w.unitMode = shift || ctrl || c.host.SelectionOptions().selectSingleByDefault ||
                 (!nearVertex && d->kind == kLine && !d->parent);
    container* unit = w.unitMode && ctrl && e->parent ? editUnit(e) : topItem(e);
    ChooseItems(c, unit, d, p, nearVertex);

    // Vertex mode: the free elements whose node points sit on the moved points follow.
    if (!w.unitMode) {
        bool fits = true;
        for (const DeformItem& it : w.items)
            MovedPointsOf(it.base, it.part, [&](Point at, int layer) {
                if (w.points.size() >= DeformWork::kPointCapacity)
                    fits = false;
                else
                    w.points.push_back({at, layer});
            });
        if (!fits || !CollectJoints(c, unit)) {
            // The table is full: nothing is taken.
            ClearWork(c);
            return Refuse(c);
        }
    }

    UndoStep* step = c.history.BeginStep();
    Lift(c, step, unit);
    for (DeformJoint& j : w.joints) Lift(c, step, j.base);
    c.selection.addPending(step);
    for (DeformItem& it : w.items) it.live = LiveCopy(c, it.base);
    for (DeformJoint& j : w.joints) j.live = LiveCopy(c, j.base);
    w.target = w.reference;
    w.active = true;
    c.drawing.lastPoint = w.reference;

    c.modes.pushState(1, kHintDeformDrag);
    c.modes.setToolBarEnabled(Cmd::LayerSelect, false);
    c.modes.setToolBarEnabled(Cmd::NumericInput, true);
    c.modes.setToolBarEnabled(Cmd::Intersection, true);
    c.modes.setToolBarEnabled(Cmd::SelectSettings, w.kind == kDeformGroup ||
                                                       w.kind == kDeformFreeEnd ||
                                                       unit->kind == kLine);
    c.modes.setToolBarEnabled(Cmd::Rotate, unit->kind == kGroup || unit->kind == kRect);
    c.modes.setToolBarEnabled(Cmd::Mirror, IsPartGroup(unit));
    c.host.SetDefinitionItemsEnabled(false, c.modes.toolBarEnabled(Cmd::SelectSettings));
    c.host.ToolBarChanged();
    // A bent line leaves the picture; anything else stays in its place under the copy until the
    // move is put down.
    if (w.items[0].ownBase)
        c.host.Repaint();
    else
        c.selection.highlight(true);
    return ToolResult::NextState;
}

// --- state 1

ToolResult DeformHover1(ToolContext& c) {
    if (!c.deform.active || !SetTarget(c, GridCursor(c))) return ToolResult::Ignored;
    EraseDragged(c);
    Rebuild(c, EightDirections(c));
    c.selection.highlight(true);
    return ToolResult::Handled;
}

bool Dropped(const container* e) {
    return e->kind == kLine && static_cast<const line*>(e)->zeroLength();
}

// All pending steps of the operation as one, still pending.
UndoStep* MergePending(ToolContext& c) {
    auto& pending = c.selection.pending;
    UndoStep* first = pending.front();
    for (size_t i = 1; i < pending.size(); ++i) {
        UndoStep* step = pending[i];
        while (!step->entries.emptyList()) {
            ListNode* n = step->entries.next;
            n->unlink(c.board.changes);
            n->insertBefore(&first->entries, c.board.changes);
        }
        c.history.DiscardStep(step);
    }
    pending.clear();
    return first;
}

// The move as it stands is put down: each copy takes the place of the element it came from
// (lines of no length are dropped), one undo step. Refused with a beep, dragging on, when
// anything would leave the board.
ToolResult PutDown(ToolContext& c) {
    DeformWork& w = c.deform;
    for (const DeformItem& it : w.items)
        if (!Dropped(it.live) && OffBoard(c.board, it.live)) return Refuse(c);
    for (const DeformJoint& j : w.joints)
        if (!Dropped(j.live) && OffBoard(c.board, j.live)) return Refuse(c);

    UndoStep* step = MergePending(c);
    c.selection.clear();
    std::unordered_map<const container*, std::vector<container*>> copies;
    for (const DeformItem& it : w.items) copies[it.origin].push_back(it.live);
    for (const DeformJoint& j : w.joints) copies[j.base].push_back(j.live);
    // The last taken first: what followed an element is then either in the document or already
    // stands for an element taken after it.
    std::unordered_map<const ListNode*, ListNode*> place;
    for (auto k = w.lifted.rbegin(); k != w.lifted.rend(); ++k) {
        ListNode* successor = k->successor;
        if (auto p = place.find(successor); p != place.end()) successor = p->second;
        ListNode* first = nullptr;
        for (container* copy : copies[k->element]) {
            if (Dropped(copy)) {
                copy->destroy(c.board);
                continue;
            }
            copy->parent = k->element->parent;
            copy->insertBefore(successor, c.board.changes);
            c.history.RecordAdded(step, copy);
            if (!first) first = copy;
        }
        place[k->element] = first ? first : successor;
    }
    ClearWork(c);
    c.history.CommitStep(step);
    c.host.DocumentModified();
    c.modes.popModes(c.modes.depth() - 1);
    c.host.Repaint();
    return ToolResult::Committed;
}

ToolResult Settle(ToolContext& c, Point target, bool eightDirections) {
    if (!SetTarget(c, target)) return Refuse(c);
    EraseDragged(c);
    Rebuild(c, eightDirections);
    const ToolResult r = PutDown(c);
    if (r == ToolResult::Refused) c.selection.highlight(true);
    return r;
}

ToolResult DeformClick1(ToolContext& c) {
    if (!c.deform.active) return ToolResult::Ignored;
    return Settle(c, GridCursor(c), EightDirections(c));
}

ToolResult DeformPoint1(ToolContext& c) {
    if (!c.deform.active) return ToolResult::Ignored;
    return Settle(c, c.inputPoint, false);
}

ToolResult Turn(ToolContext& c, DeformWork::Turn t) {
    c.deform.turns.push_back(t);
    EraseDragged(c);
    Rebuild(c, EightDirections(c));
    c.selection.highlight(true);
    return ToolResult::Handled;
}

ToolResult ArcInput(ToolContext& c) {
    DeformWork& w = c.deform;
    const arc* a = static_cast<const arc*>(w.items[0].live);
    const bool radius = w.kind == kDeformRadius;
    const double now =
        radius ? a->r
               : ToDegrees(NormaliseAngle(w.items[0].part == DeformPart::kStart ? a->st : a->end));
    ArcDeformModel m(radius ? ArcDeformModel::Asks::kRadius : ArcDeformModel::Asks::kAngle, now);
    c.host.Run(m);
    if (!m.decided()) return ToolResult::Handled;
    if (radius) {
        if (!(m.number > 0.001)) return Refuse(c);
        w.radius = m.number;
    } else {
        w.angle = ToRadians(m.number);
    }
    EraseDragged(c);
    Rebuild(c, false);
    const ToolResult r = PutDown(c);
    if (r == ToolResult::Refused) c.selection.highlight(true);
    return r;
}

ToolResult DeformCommand1(ToolContext& c) {
    DeformWork& w = c.deform;
    if (!w.active) return ToolResult::Ignored;
    switch (c.currentCommand) {
        case EditOp::SelectSettings: {
            const SelectionSettings now = c.host.SelectionOptions();
            DeformMethodModel m(now);
            if (c.host.Run(m)) c.host.SetSelectionOptions(m.applied(now));
            return ToolResult::Handled;
        }
        case EditOp::Mirror:
            if (!IsPartGroup(w.items[0].base)) return ToolResult::Ignored;
            return Turn(c, {true, 0});
        case EditOp::Rotate: {
            const int k = w.items[0].base->kind;
            if (k != kGroup && k != kRect) return ToolResult::Ignored;
            if (!c.host.SelectionOptions().anyAngleRotation && !(c.keys & kKeyCtrl))
                return Turn(c, {false, kPi / 2});
            RotationAngleModel m;
            c.host.Run(m);
            if (!m.decided()) return ToolResult::Handled;
            return Turn(c, {false, ToRadians(m.degrees)});
        }
        case EditOp::NumericInput:
            if (w.kind == kDeformRadius || w.kind == kDeformArcEnd) return ArcInput(c);
            return NumericInput(c, true);
        default:
            return ToolResult::Ignored;
    }
}

// Everything taken goes back where it stood; the copies and the halves of a bent line go.
ToolResult DeformCancel(ToolContext& c) {
    ClearWork(c);
    c.cancel();
    return ToolResult::Reverted;
}

template <ToolOp F>
constexpr ToolOp O = Overlaid<F>;

constexpr ToolState kDeformStates[] = {
    {NoOp, O<DeformClick0>, NoOp, NoOp, O<DeformCommand0>, O<UndoLast>, O<DeformStart>},
    {O<DeformHover1>, O<DeformClick1>, NoOp, O<DeformPoint1>, O<DeformCommand1>, O<DeformCancel>,
     O<DeformCancel>},
};

}  // namespace

void InstallDeformTool(ModeTable& table) {
    table[kModeDeform] = kDeformStates;
}

Point DeformReference(const ViewState& view, const Board& board, const group* g) {
    if (g->ext) return g->ext->pt;
    const drawn* found = nullptr;
    if (g->type == Reserved().pad) {
        ForEachDrawn(g->members, [&](const drawn* d) {
            if (!found && d->kind == kLand) found = d;
        });
    } else {
        ForEachDrawn(g->members, [&](const drawn* d) {
            if (!found && d->kind == kLand && !d->square() && board.HasRole(d->layer, kRoleOrigin))
                found = d;
        });
    }
    if (found) return found->ref();
    Box b;
    if (!Board::GroupBounds(g, b)) return OnGrid(view, {});
    return OnGrid(view, {(b.minX + b.maxX) / 2, (b.minY + b.maxY) / 2});
}

}  // namespace zevo
