#include "tools/drawing_tools.h"

#include <algorithm>
#include <cmath>

#include "board/model/intern.h"
#include "text/strings.h"
#include "view/board_renderer.h"
#include "view/stroke_font.h"

namespace zevo {

namespace {

// --- shared helpers

Point GridCursor(const ToolContext& c) {
    return c.view.ScreenToInput(c.cursorX, c.cursorY);
}

// Operations that change the document draw it again as a whole (after the overlay is settled).
void Repaint(ToolContext& c) {
    c.drawing.arcCross = false;
    c.host.Repaint();
}

void DrawMerged(ToolContext& c, const container* e) {
    auto draw = [&](Framebuffer* fb) {
        if (!fb) return;
        OutlinePainter painter(c.board, c.view, *fb);
        auto one = [&](const drawn* d) {
            if (d->layer < 0 || d->layer >= kLayers ||
                !(c.board.layerFlags[size_t(d->layer)] & kDisp))
                return;
            painter.Draw(d, {kPalette[size_t(c.board.layerColour[size_t(d->layer)] & 15)],
                             RasterOp::kMerge});
        };
        if (e->kind == kGroup)
            ForEachDrawn(AsGroup(e)->members, one);
        else if (IsDrawn(e))
            one(AsDrawn(e));
    };
    draw(c.back);
    draw(c.screen);
}

bool OnBoard(const Board& b, Point p) {
    return p.x >= 0 && p.y >= 0 && p.x <= b.sizeX && p.y <= b.sizeY;
}

void SetLayer(std::vector<drawn*>& list, const Board& b, int layer) {
    for (drawn* d : list) {
        d->layer = int16_t(layer);
        d->updateBounds(b);
    }
}

// Runs an aperture dialog; the settings as they came back.
ToolResult ChooseAperture(ToolContext& c, ApertureTool tool, bool squareLineEnabled = true) {
    ApertureSelectModel m(c.board, *c.drawing.settings, tool, squareLineEnabled);
    c.host.Run(m);
    if (!m.closed()) m.close();  // fields that do not evaluate keep the old values
    *c.drawing.settings = m.settings();
    c.host.DefinitionsChanged();
    return ToolResult::Handled;
}

void SetAperture(std::vector<drawn*>& list, const Board& b, int aperture, bool square) {
    for (drawn* d : list) {
        d->aperture = int16_t(aperture);
        d->flags = square ? uint8_t(d->flags | kSquareFlag) : uint8_t(d->flags & ~kSquareFlag);
        d->updateBounds(b);
    }
}

ToolResult MovePreview(ToolContext& c, Point p) {
    for (drawn* d : c.overlay.cursorPreview) d->moveTo(c.board, p);
    return ToolResult::Handled;
}

// --- round and square land

drawn* NewLand(ToolContext& c, Point p, bool squareTool) {
    const DrawingSettings& s = *c.drawing.settings;
    if (!squareTool) return c.board.CreateLand(c.board.currentLayer, s.roundLandAperture, false, p);
    if (s.squareAsRectangle)
        return c.board.CreateRect(c.board.currentLayer, s.rectAperture, p, s.rectDx, s.rectDy,
                                  ToRadians(s.rectAngle));
    return c.board.CreateLand(c.board.currentLayer, s.squareLandAperture, true, p);
}

template <bool Square>
ToolResult LandStart(ToolContext& c) {
    c.overlay.clear();
    c.modes.startTool(Square ? kModeSquareLand : kModeRoundLand);
    c.overlay.cursorPreview.push_back(NewLand(c, GridCursor(c), Square));
    return ToolResult::Reverted;
}

ToolResult LandHover(ToolContext& c) {
    return MovePreview(c, GridCursor(c));
}

template <bool Square>
ToolResult LandClick(ToolContext& c) {
    return PlaceElement(c, NewLand(c, GridCursor(c), Square));
}

template <bool Square>
ToolResult LandPoint(ToolContext& c) {
    c.drawing.lastPoint = c.inputPoint;
    return PlaceElement(c, NewLand(c, c.inputPoint, Square));
}

template <bool Square>
ToolResult LandCommand(ToolContext& c) {
    switch (c.currentCommand) {
        case EditOp::LayerSelect:
            return ChooseLayer(c, &c.overlay.cursorPreview);
        case EditOp::SelectSettings: {
            ChooseAperture(c, Square ? ApertureTool::kSquareLand : ApertureTool::kRoundLand);
            // A new kind, a new aperture or a new rectangle: the preview is made again.
            const Point at =
                c.overlay.cursorPreview.empty() ? GridCursor(c) : c.overlay.cursorPreview[0]->ref();
            for (drawn* d : c.overlay.cursorPreview) d->destroy(c.board);
            c.overlay.cursorPreview.clear();
            c.overlay.cursorPreview.push_back(NewLand(c, at, Square));
            return ToolResult::Handled;
        }
        case EditOp::NumericInput:
            return NumericInput(c, false);
        default:
            return ToolResult::Ignored;
    }
}

ToolResult UndoLast(ToolContext& c) {
    if (!c.history.Undo()) return ToolResult::Ignored;
    Repaint(c);
    return ToolResult::Reverted;
}

// --- line

line* NewDot(ToolContext& c, Point p) {
    const DrawingSettings& s = *c.drawing.settings;
    return c.board.CreateLine(c.board.currentLayer, s.currentLineAperture(), s.squareLine, p, p);
}

void SetSegment(const Board& b, line* l, Point s, Point e) {
    l->x = s.x, l->y = s.y, l->ex = e.x, l->ey = e.y;
    l->updateBounds(b);
}

line* Rubber(ToolContext& c) {
    return c.overlay.lineChain.empty() ? nullptr : static_cast<line*>(c.overlay.lineChain[0]);
}

ToolResult LineStart(ToolContext& c) {
    c.overlay.clear();
    c.modes.startTool(kModeLine);
    c.overlay.cursorPreview.push_back(NewDot(c, GridCursor(c)));
    return ToolResult::Reverted;
}

// The point a click gives: the grid-snapped cursor with the click-point option or Ctrl,
// otherwise the point of an element under the cursor.
Point ClickPoint(ToolContext& c) {
    const Point grid = GridCursor(c);
    if (c.drawing.settings->drawAtClickPoint || (c.keys & kKeyCtrl)) return grid;
    return SnapToElementPoint(c.board, c.cursorWorld(), c.view.pickRadiusWorld).value_or(grid);
}

ToolResult LineHover0(ToolContext& c) {
    return MovePreview(c, GridCursor(c));
}

ToolResult BeginChain(ToolContext& c, Point s, int hint) {
    if (c.overlay.cursorPreview.empty()) c.overlay.cursorPreview.push_back(NewDot(c, s));
    line* l = static_cast<line*>(c.overlay.cursorPreview[0]);
    SetSegment(c.board, l, s, s);
    if (OffBoard(c.board, l)) return Refuse(c);
    c.overlay.cursorPreview.clear();
    c.overlay.lineChain.push_back(l);
    c.drawing.lastPoint = s;
    c.modes.pushState(1, hint);
    for (Cmd id : kToolChoiceButtons) c.modes.setToolBarEnabled(id, false);
    c.host.ToolBarChanged();
    return ToolResult::NextState;
}

ToolResult LineClick0(ToolContext& c) {
    return BeginChain(c, ClickPoint(c),
                      c.host.RightClickOptionsOn() ? kHintLineNextBack : kHintLineNext);
}

ToolResult LinePoint0(ToolContext& c) {
    const ToolResult r = BeginChain(c, c.inputPoint, kHintLineNextBack);
    if (r == ToolResult::Refused) MovePreview(c, GridCursor(c));
    return r;
}

ToolResult LineCommand0(ToolContext& c) {
    switch (c.currentCommand) {
        case EditOp::LayerSelect:
            return ChooseLayer(c, &c.overlay.cursorPreview);
        case EditOp::SelectSettings: {
            ChooseAperture(c, ApertureTool::kLine);
            for (drawn* d : c.overlay.cursorPreview) d->destroy(c.board);
            c.overlay.cursorPreview.clear();
            c.overlay.cursorPreview.push_back(NewDot(c, GridCursor(c)));
            return ToolResult::Handled;
        }
        case EditOp::NumericInput:
            return NumericInput(c, false);
        default:
            return ToolResult::Ignored;
    }
}

bool EightDirections(const ToolContext& c) {
    return !(c.keys & kKeyCtrl) && (c.drawing.settings->lineEightAlways || (c.keys & kKeyShift));
}

ToolResult LineHover1(ToolContext& c) {
    line* l = Rubber(c);
    if (!l) return ToolResult::Ignored;
    Point e = GridCursor(c);
    if (EightDirections(c)) e = Constrain8(e, l->start());
    SetSegment(c.board, l, l->start(), e);
    return ToolResult::Handled;
}

// The rubber segment ends at e: placed as a pending step of the chain, or refused with a beep.
ToolResult PlaceSegment(ToolContext& c, Point e, Point last) {
    line* l = Rubber(c);
    if (!l) return ToolResult::Ignored;
    SetSegment(c.board, l, l->start(), e);
    if (SamePoint(l->start(), l->end()) || OffBoard(c.board, l)) return Refuse(c);
    c.overlay.lineChain.clear();
    AddElement(c, l, false);
    c.drawing.lastPoint = last;
    const DrawingSettings& s = *c.drawing.settings;
    c.overlay.lineChain.push_back(c.board.CreateLine(c.board.currentLayer, s.currentLineAperture(),
                                                     s.squareLine, l->end(), l->end()));
    return ToolResult::Pending;
}

// The radius around an element's nearer end within which a click takes that end.
double SnapRadius(const Board& b, const drawn* d) {
    if (d->kind == kRect) return 0.75 * static_cast<const rect*>(d)->dy;
    return 1.5 * d->halfSize(b);
}

ToolResult LineClick1(ToolContext& c) {
    line* l = Rubber(c);
    if (!l) return ToolResult::Ignored;
    Point e = ClickPoint(c);
    if (!(c.keys & kKeyCtrl)) {
        const Point p = c.cursorWorld();
        container* picked = c.drawing.settings->drawAtClickPoint ? nullptr : c.pickElement(p);
        const drawn* d = picked && IsDrawn(picked) ? AsDrawn(picked) : nullptr;
        if (d && d->layer == l->layer && Dist(p, d->nearEnd(p)) < SnapRadius(c.board, d))
            e = d->nearEnd(p);
        else if (EightDirections(c))
            e = Constrain8(e, l->start());
    }
    return PlaceSegment(c, e, GridCursor(c));
}

ToolResult LinePoint1(ToolContext& c) {
    return PlaceSegment(c, c.inputPoint, c.inputPoint);
}

// The rubber segment goes back to following the cursor as the first state's preview.
void EndChain(ToolContext& c) {
    line* l = Rubber(c);
    c.overlay.lineChain.clear();
    if (l) {
        const Point p = GridCursor(c);
        SetSegment(c.board, l, p, p);
        c.overlay.cursorPreview.push_back(l);
    }
    c.modes.popModes(1);
}

ToolResult LineBack1(ToolContext& c) {
    line* l = Rubber(c);
    if (c.selection.pending.empty() || !l) {
        EndChain(c);
        return ToolResult::PopFrame;
    }
    UndoStep* step = c.selection.pending.back();
    c.selection.pending.pop_back();
    const line* last =
        static_cast<const line*>(static_cast<UndoEntry*>(step->entries.prev)->element);
    const Point restart = last->start();
    l->layer = last->layer;
    l->aperture = last->aperture;
    l->flags = last->flags;
    c.board.currentLayer = l->layer;
    (l->square() ? c.drawing.settings->squareLineAperture : c.drawing.settings->lineAperture) =
        l->aperture;
    c.history.RevertStep(step);
    Point e = GridCursor(c);
    if (EightDirections(c)) e = Constrain8(e, restart);
    SetSegment(c.board, l, restart, e);
    c.drawing.lastPoint = restart;
    c.host.DefinitionsChanged();
    Repaint(c);
    return ToolResult::Reverted;
}

ToolResult LineReset1(ToolContext& c) {
    const bool placed = !c.selection.pending.empty();
    for (auto it = c.selection.pending.rbegin(); it != c.selection.pending.rend(); ++it)
        c.history.RevertStep(*it);
    c.selection.pending.clear();
    EndChain(c);
    if (!placed) return ToolResult::PopFrame;
    Repaint(c);
    return ToolResult::Reverted;
}

// The chain is decided: its segments become one undo step.
ToolResult Decide(ToolContext& c) {
    const bool placed = c.selection.commitAsOne();
    if (placed) c.host.DocumentModified();
    EndChain(c);
    return placed ? ToolResult::Committed : ToolResult::PopFrame;
}

ToolResult LineCommand1(ToolContext& c) {
    switch (c.currentCommand) {
        case EditOp::LayerSelect:
            return ChooseLayer(c, &c.overlay.lineChain);
        case EditOp::SelectSettings: {
            ChooseAperture(c, ApertureTool::kLine, false);
            SetAperture(c.overlay.lineChain, c.board, c.drawing.settings->currentLineAperture(),
                        c.drawing.settings->squareLine);
            return ToolResult::Handled;
        }
        case EditOp::NumericInput:
            return NumericInput(c, true);
        case EditOp::Decide:
            return Decide(c);
        default:
            return ToolResult::Ignored;
    }
}

// --- arc

void DrawCross(ToolContext& c, Point centre) {
    const Point s = c.view.WorldToScreen(centre);
    const int64_t x = int64_t(std::floor(s.x + 0.5)), y = int64_t(std::floor(s.y + 0.5));
    if (x < 0 || y < 0 || x >= c.view.clientWidth || y >= c.view.clientHeight) return;
    const Pen pen{kGreyPen, RasterOp::kCopy};
    for (Framebuffer* fb : {c.back, c.screen}) {
        if (!fb) continue;
        fb->Line({x - 2, y - 2}, {x + 3, y + 3}, pen);
        fb->Line({x + 2, y - 2}, {x - 3, y + 3}, pen);
    }
    c.drawing.arcCross = true;
}

ToolResult ArcStart(ToolContext& c) {
    c.overlay.clear();
    c.modes.startTool(kModeArc);
    return ToolResult::Reverted;
}

ToolResult ArcCentre(ToolContext& c, Point centre) {
    c.drawing.lastPoint = centre;
    c.modes.pushState(1, kHintArcStart);
    c.modes.setToolBarEnabled(Cmd::LayerSelect, false);
    c.modes.setToolBarEnabled(Cmd::SelectSettings, false);
    c.host.SetDefinitionItemsEnabled(false, false);
    c.host.ToolBarChanged();
    DrawCross(c, centre);
    return ToolResult::NextState;
}

ToolResult ArcByDialog(ToolContext& c, Point centre) {
    ArcDialogModel m(*c.drawing.settings);
    c.host.Run(m);
    if (!m.decided()) return ToolResult::Handled;
    DrawingSettings& s = *c.drawing.settings;
    s.arcRadius = m.radiusValue, s.arcStart = m.startValue, s.arcEnd = m.endValue;
    const double r = m.radiusValue;
    if (!(r > 0.001) || !(r > c.board.roundHalf(s.lineAperture) + 1e-8)) return Refuse(c);
    double a = m.startValue, b = m.endValue;
    BringAnglesIntoRange(a, b);
    return PlaceElement(c, c.board.CreateArc(c.board.currentLayer, s.lineAperture, centre, r,
                                             ToRadians(a), ToRadians(b)));
}

ToolResult ArcClick0(ToolContext& c) {
    return c.drawing.settings->arcByClicks ? ArcCentre(c, GridCursor(c))
                                           : ArcByDialog(c, GridCursor(c));
}

ToolResult ArcPoint0(ToolContext& c) {
    if (!c.drawing.settings->arcByClicks) return ArcByDialog(c, c.inputPoint);
    if (!OnBoard(c.board, c.inputPoint)) return ToolResult::Ignored;
    return ArcCentre(c, c.inputPoint);
}

ToolResult ArcCommand0(ToolContext& c) {
    switch (c.currentCommand) {
        case EditOp::LayerSelect:
            return ChooseLayer(c, nullptr);
        case EditOp::SelectSettings:
            return ChooseAperture(c, ApertureTool::kArc);
        case EditOp::NumericInput:
            return NumericInput(c, false);
        default:
            return ToolResult::Ignored;
    }
}

ToolResult ArcFirstPoint(ToolContext& c, Point p) {
    const Point centre = c.drawing.lastPoint;
    if (SamePoint(p, centre)) return Refuse(c);
    const double a = std::atan2(p.y - centre.y, p.x - centre.x);
    const double r = Dist(p, centre);
    const int aperture = c.drawing.settings->lineAperture;
    if (r <= c.board.roundHalf(aperture) + 1e-8) return Refuse(c);
    c.overlay.arcPreview.push_back(
        c.board.CreateArc(c.board.currentLayer, aperture, centre, r, a, a));
    c.drawing.arcReversed = false;
    c.modes.pushState(2, kHintArcEnd);
    return ToolResult::NextState;
}

ToolResult ArcClick1(ToolContext& c) {
    return ArcFirstPoint(c, GridCursor(c));
}
ToolResult ArcPoint1(ToolContext& c) {
    if (!OnBoard(c.board, c.inputPoint)) return ToolResult::Ignored;
    return ArcFirstPoint(c, c.inputPoint);
}
ToolResult ArcBack1(ToolContext& c) {
    c.modes.popModes(1);
    if (c.drawing.arcCross) Repaint(c);
    return ToolResult::PopFrame;
}
ToolResult ArcCommandLater(ToolContext& c) {
    if (c.currentCommand != EditOp::NumericInput) return ToolResult::Ignored;
    return NumericInput(c, true);
}

arc* ArcBeingDrawn(ToolContext& c) {
    return c.overlay.arcPreview.empty() ? nullptr : static_cast<arc*>(c.overlay.arcPreview[0]);
}

ToolResult ArcHover2(ToolContext& c) {
    arc* a = ArcBeingDrawn(c);
    if (!a) return ToolResult::Ignored;
    TrackArc(c.board, a, c.cursorWorld(), c.drawing.arcReversed);
    return ToolResult::Handled;
}

ToolResult ArcEnd(ToolContext& c, Point p) {
    arc* a = ArcBeingDrawn(c);
    if (!a) return ToolResult::Ignored;
    if (SamePoint(p, c.drawing.lastPoint)) return Refuse(c);
    TrackArc(c.board, a, p, c.drawing.arcReversed);
    if (OffBoard(c.board, a)) return Refuse(c);
    c.overlay.arcPreview.clear();
    AddElement(c, a, true);
    c.modes.popModes(2);
    if (c.drawing.arcCross) Repaint(c);
    return ToolResult::Committed;
}

ToolResult ArcClick2(ToolContext& c) {
    return ArcEnd(c, GridCursor(c));
}
ToolResult ArcPoint2(ToolContext& c) {
    return ArcEnd(c, c.inputPoint);
}
ToolResult ArcBack2(ToolContext& c) {
    for (drawn* d : c.overlay.arcPreview) d->destroy(c.board);
    c.overlay.arcPreview.clear();
    c.modes.popModes(1);
    return ToolResult::PopFrame;
}
ToolResult ArcReset2(ToolContext& c) {
    ArcBack2(c);
    return ArcBack1(c);
}

// --- pad

ToolResult PadDecoration(ToolContext& c) {
    for (drawn* d : c.overlay.cursorPreview) d->destroy(c.board);
    c.overlay.cursorPreview.clear();
    const int n = c.drawing.settings->padNumber;
    if (n < 0 || size_t(n) >= c.board.padDefs.size()) return ToolResult::Handled;
    const Point p = GridCursor(c);
    for (const PadPair& pair : c.board.padDefs[size_t(n)])
        c.overlay.cursorPreview.push_back(c.board.CreateLand(pair.layer, pair.aperture, false, p));
    return ToolResult::Handled;
}

ToolResult PadStart(ToolContext& c) {
    c.overlay.clear();
    c.modes.startTool(kModePad);
    PadDecoration(c);
    return ToolResult::Reverted;
}

ToolResult PadAt(ToolContext& c, Point p) {
    const int n = c.drawing.settings->padNumber;
    // Without a definition there is nothing to place (an empty group would be a stray item).
    if (n < 0 || size_t(n) >= c.board.padDefs.size() || c.board.padDefs[size_t(n)].empty())
        return Refuse(c);
    group* g = c.board.CreateGroup(Reserved().pad);
    for (const PadPair& pair : c.board.padDefs[size_t(n)])
        c.board.AppendElement(g, c.board.CreateLand(pair.layer, pair.aperture, false, p));
    return PlaceElement(c, g);
}

ToolResult PadClick(ToolContext& c) {
    return PadAt(c, GridCursor(c));
}
ToolResult PadPoint(ToolContext& c) {
    c.drawing.lastPoint = c.inputPoint;
    return PadAt(c, c.inputPoint);
}

ToolResult PadCommand(ToolContext& c) {
    switch (c.currentCommand) {
        case EditOp::LayerSelect:
            return ChooseLayer(c, nullptr);
        case EditOp::SelectSettings: {
            if (c.board.padDefs.empty()) return ToolResult::Ignored;
            PadSelectModel m(c.board, c.drawing.settings->padNumber);
            c.host.Run(m);
            if (!m.accepted()) return ToolResult::Handled;
            c.drawing.settings->padNumber = m.number();
            PadDecoration(c);
            c.host.DefinitionsChanged();
            return ToolResult::Handled;
        }
        case EditOp::NumericInput:
            return NumericInput(c, false);
        default:
            return ToolResult::Ignored;
    }
}

// --- text

ToolResult TextStart(ToolContext& c) {
    c.overlay.clear();
    c.modes.startTool(kModeText);
    return ToolResult::Reverted;
}

ToolResult TextAt(ToolContext& c, Point q) {
    const std::filesystem::path font = c.host.FontFile();
    TextDialogModel m(c.board, *c.drawing.settings, font);
    c.host.Run(m);
    if (!m.decided()) return ToolResult::Handled;
    DrawingSettings& s = *c.drawing.settings;
    m.store(s);
    TextParams params;
    params.text = s.text;
    params.layer = c.board.currentLayer;
    params.aperture = s.textAperture;
    params.height = s.textHeight;
    params.pitch = s.textPitch;
    params.angle = s.textAngle;
    params.mirror = s.textMirror;
    const TextLayout t = LayoutText(c.board, font, params, q);
    if (t.text) AddElement(c, t.text, true);
    // Strokes dropped at the board's edge, or no font: the beep says the text is not whole.
    if (t.dropped > 0 || t.fontMissing) c.host.Beep();
    if (t.text) return ToolResult::Committed;
    return t.dropped > 0 || t.fontMissing ? ToolResult::Refused : ToolResult::Handled;
}

ToolResult TextClick(ToolContext& c) {
    return TextAt(c, GridCursor(c));
}
ToolResult TextPoint(ToolContext& c) {
    c.drawing.lastPoint = c.inputPoint;
    return TextAt(c, c.inputPoint);
}
ToolResult TextCommand(ToolContext& c) {
    switch (c.currentCommand) {
        case EditOp::LayerSelect:
            return ChooseLayer(c, nullptr);
        case EditOp::SelectSettings:
            return ChooseAperture(c, ApertureTool::kText);
        case EditOp::NumericInput:
            return NumericInput(c, false);
        default:
            return ToolResult::Ignored;
    }
}

// --- intersection and end-point input

void RestoreCursorPreview(ToolContext& c) {
    c.overlay.hide();
    for (drawn* d : c.overlay.putAside) c.overlay.cursorPreview.push_back(d);
    c.overlay.putAside.clear();
    MovePreview(c, GridCursor(c));
}

void PutAttachedBack(ToolContext& c) {
    container* e = c.selection.attached;
    c.selection.attached = nullptr;
    if (!e || e->linked()) return;
    if (c.selection.attachedSuccessor)
        e->insertBefore(c.selection.attachedSuccessor, c.board.changes);
    else
        c.board.AppendElement(nullptr, e);
    c.selection.attachedSuccessor = nullptr;
}

void LeaveIntersection(ToolContext& c, int frames) {
    c.modes.popModes(frames);
    RestoreCursorPreview(c);
}

// The picked point goes to the tool below: what that tool made of it is the result.
ToolResult Deliver(ToolContext& c, Point p) {
    const ToolResult r = DeliverPoint(c, p);
    return r == ToolResult::Ignored ? ToolResult::PopFrame : r;
}

ToolResult IntersectionClick0(ToolContext& c) {
    const Point p = c.cursorWorld();
    container* e = c.pickElement(p);
    if (!e || !IsDrawn(e)) return Refuse(c);
    const drawn* d = AsDrawn(e);
    Point pt;
    if (c.keys & kKeyShift) {
        if (d->kind != kArc) return Refuse(c);
        pt = d->ref();
    } else if (d->kind == kLine || d->kind == kArc) {
        pt = d->nearEnd(p);
        if (Dist(p, pt) > 1.5 * d->halfSize(c.board) + c.view.pickRadiusWorld) {
            c.selection.attachedSuccessor = e->unlink(c.board.changes);
            c.selection.attached = e;
            c.selection.highlight(true);
            c.modes.pushState(1, kHintIntersectionSecond);
            return ToolResult::NextState;
        }
    } else {
        pt = d->nearEnd(p);
    }
    LeaveIntersection(c, 1);
    return Deliver(c, pt);
}

ToolResult IntersectionReset0(ToolContext& c) {
    LeaveIntersection(c, 1);
    return ToolResult::PopFrame;
}

ToolResult IntersectionClick1(ToolContext& c) {
    const Point p = c.cursorWorld();
    container* e = c.pickElement(p);
    if (!e || (e->kind != kLine && e->kind != kArc) || !c.selection.attached) return Refuse(c);
    const drawn* a = AsDrawn(c.selection.attached);
    const drawn* b = AsDrawn(e);
    auto segment = [](const drawn* d) {
        const line* l = static_cast<const line*>(d);
        return Segment{l->start(), l->end(), l->layer, l->aperture};
    };
    auto circle = [](const drawn* d) {
        const arc* k = static_cast<const arc*>(d);
        return Circle{k->centre(), k->r, k->layer, k->aperture};
    };
    Point p1, p2;
    int result = kNoPoint;
    bool two = true;
    if (a->kind == kLine && b->kind == kLine) {
        result = IntersectLines(segment(a), segment(b), p1);
        two = false;
    } else if (a->kind == kLine) {
        result = IntersectLineCircle(segment(a), circle(b), p1, p2);
    } else if (b->kind == kLine) {
        result = IntersectLineCircle(segment(b), circle(a), p1, p2);
    } else {
        result = IntersectCircles(circle(a), circle(b), p1, p2);
    }
    PutAttachedBack(c);
    LeaveIntersection(c, 2);
    Repaint(c);
    if (result != kOnePoint) return Refuse(c);
    return Deliver(c, two && Dist(p2, p) <= Dist(p1, p) ? p2 : p1);
}

ToolResult IntersectionBack1(ToolContext& c) {
    PutAttachedBack(c);
    c.modes.popModes(1);
    Repaint(c);
    return ToolResult::PopFrame;
}

ToolResult IntersectionReset1(ToolContext& c) {
    PutAttachedBack(c);
    LeaveIntersection(c, 2);
    Repaint(c);
    return ToolResult::PopFrame;
}

// --- the tables

template <ToolOp F>
constexpr ToolOp O = Overlaid<F>;

constexpr ToolState kRoundLandStates[] = {{O<LandHover>, O<LandClick<false>>, NoOp,
                                           O<LandPoint<false>>, O<LandCommand<false>>, O<UndoLast>,
                                           O<LandStart<false>>}};
constexpr ToolState kSquareLandStates[] = {{O<LandHover>, O<LandClick<true>>, NoOp,
                                            O<LandPoint<true>>, O<LandCommand<true>>, O<UndoLast>,
                                            O<LandStart<true>>}};
constexpr ToolState kLineStates[] = {
    {O<LineHover0>, O<LineClick0>, NoOp, O<LinePoint0>, O<LineCommand0>, O<UndoLast>, O<LineStart>},
    {O<LineHover1>, O<LineClick1>, NoOp, O<LinePoint1>, O<LineCommand1>, O<LineBack1>,
     O<LineReset1>},
};
constexpr ToolState kArcStates[] = {
    {NoOp, O<ArcClick0>, NoOp, O<ArcPoint0>, O<ArcCommand0>, O<UndoLast>, O<ArcStart>},
    {NoOp, O<ArcClick1>, NoOp, O<ArcPoint1>, O<ArcCommandLater>, O<ArcBack1>, O<ArcBack1>},
    {O<ArcHover2>, O<ArcClick2>, NoOp, O<ArcPoint2>, O<ArcCommandLater>, O<ArcBack2>, O<ArcReset2>},
};
constexpr ToolState kPadStates[] = {
    {O<LandHover>, O<PadClick>, NoOp, O<PadPoint>, O<PadCommand>, O<UndoLast>, O<PadStart>}};
constexpr ToolState kTextStates[] = {
    {NoOp, O<TextClick>, NoOp, O<TextPoint>, O<TextCommand>, O<UndoLast>, O<TextStart>}};
constexpr ToolState kIntersectionStates[] = {
    {NoOp, O<IntersectionClick0>, NoOp, NoOp, NoOp, NoOp, O<IntersectionReset0>},
    {NoOp, O<IntersectionClick1>, NoOp, NoOp, NoOp, O<IntersectionBack1>, O<IntersectionReset1>},
};

}  // namespace

void InstallDrawingTools(ModeTable& table) {
    table[kModeRoundLand] = kRoundLandStates;
    table[kModeSquareLand] = kSquareLandStates;
    table[kModeLine] = kLineStates;
    table[kModeArc] = kArcStates;
    table[kModePad] = kPadStates;
    table[kModeText] = kTextStates;
    table[kModeIntersection] = kIntersectionStates;
}

bool OffBoard(const Board& b, const container* e) {
    if (e->kind == kGroup) {
        for (const container* m : Items(AsGroup(e)->members))
            if (OffBoard(b, m)) return true;
        return false;
    }
    if (!IsDrawn(e)) return false;
    const Box& x = AsDrawn(e)->bounds;
    return x.minX < 0 || x.minY < 0 || x.maxX > b.sizeX || x.maxY > b.sizeY;
}

ToolResult ChooseLayer(ToolContext& c, std::vector<drawn*>* follow) {
    LayerSelectModel m(c.board);
    c.host.Run(m);
    if (!m.chosen()) return ToolResult::Handled;
    c.board.currentLayer = m.layer();
    if (follow) SetLayer(*follow, c.board, m.layer());
    c.host.DefinitionsChanged();
    return ToolResult::Handled;
}

ToolResult Refuse(ToolContext& c) {
    c.host.Beep();
    return ToolResult::Refused;
}

void AddElement(ToolContext& c, container* e, bool commit) {
    c.board.AppendElement(nullptr, e);
    UndoStep* step = c.history.BeginStep();
    c.history.RecordAdded(step, e);
    if (commit)
        c.history.CommitStep(step);
    else
        c.selection.pending.push_back(step);
    c.host.DocumentModified();
    DrawMerged(c, e);
}

ToolResult PlaceElement(ToolContext& c, container* e) {
    if (OffBoard(c.board, e)) {
        e->destroy(c.board);
        return Refuse(c);
    }
    AddElement(c, e, true);
    return ToolResult::Committed;
}

namespace {

std::optional<Point> SnapIn(const Board& b, const ListNode& head, Point p, double t) {
    for (container* c : Items(head)) {
        if (c->kind == kGroup) {
            if (auto hit = SnapIn(b, AsGroup(c)->members, p, t)) return hit;
            continue;
        }
        if (!IsDrawn(c)) continue;
        const drawn* d = AsDrawn(c);
        if (d->layer != b.currentLayer || !OnActiveLayer(b, d) || !d->hitTest(b, p, t)) continue;
        if (d->kind == kLand) return d->ref();
        const double h = d->kind == kRect ? static_cast<const rect*>(d)->dy / 2 : d->halfSize(b);
        const Point e = d->nearEnd(p);
        if (Dist(p, e) < 1.5 * h + t) return e;
    }
    return std::nullopt;
}

}  // namespace

std::optional<Point> SnapToElementPoint(const Board& board, Point p, double tolerance) {
    return SnapIn(board, board.items, p, tolerance);
}

void TrackArc(const Board& board, arc* k, Point p, bool& reversed) {
    if (std::fabs(p.x - k->x) < 1e-8 && std::fabs(p.y - k->y) < 1e-8) return;
    double a = std::atan2(p.y - k->y, p.x - k->x);
    while (a < 0) a += kTwoPi;
    const double s = k->st, e = k->end;
    if (!reversed) {
        if (a < s) a += kTwoPi;
        if (e - s >= kPi / 2) {
            if (a - s >= kTwoPi) a -= kTwoPi;
        } else if (a - s > kPi) {
            a -= kTwoPi;
            if (a < s) reversed = true;
        }
        k->end = a;
    } else {
        if (s > 3 * kPi / 2 && a < kPi / 2)
            a += kTwoPi;
        else if (s < kPi / 2 && a > 3 * kPi / 2)
            a -= kTwoPi;
        if (a > e) reversed = false;
        k->st = a;
    }
    k->updateBounds(board);
}

void BringAnglesIntoRange(double& start, double& end) {
    // Angles far out of range are first reduced by whole turns, so the loops below stay short.
    for (double* v : {&start, &end})
        if (std::fabs(*v) > 1e6) *v = std::fmod(*v, 360.0);
    double& larger = end >= start ? end : start;
    double& smaller = end >= start ? start : end;
    while (larger - smaller > 360) larger -= 360;
    while (larger > 360) larger -= 360, smaller -= 360;
    while (smaller <= -360) larger += 360, smaller += 360;
}

ToolResult NumericInput(ToolContext& c, bool nextPoint) {
    NumericInputModel m(nextPoint, c.drawing.numericMemory, c.drawing.lastPoint,
                        {c.view.gridOriginX, c.view.gridOriginY});
    c.host.Run(m);
    if (!m.point()) return ToolResult::Handled;
    return DeliverPoint(c, *m.point());
}

ToolResult DeliverPoint(ToolContext& c, Point p) {
    if (!(p.x > -1e16 && p.x < 1e16 && p.y > -1e16 && p.y < 1e16)) return Refuse(c);
    return c.pointInput(p);
}

void CancelIntersectionInput(ToolContext& c) {
    RestoreCursorPreview(c);
}

void OpenIntersectionInput(ToolContext& c) {
    c.overlay.hide();
    for (drawn* d : c.overlay.cursorPreview) c.overlay.putAside.push_back(d);
    c.overlay.cursorPreview.clear();
}

}  // namespace zevo
