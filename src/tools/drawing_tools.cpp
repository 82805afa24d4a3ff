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

Point GridCursor(const ToolContext& c) { return c.view.ScreenToInput(c.cursorX, c.cursorY); }

// Every operation hides the exclusive-or overlay before it changes what the overlay shows and
// draws it again afterwards, so a moved or removed preview leaves no trace on the screen.
template <ToolOp F>
void Overlaid(ToolContext& c) {
    c.hideOverlay();
    F(c);
    c.showOverlay();
}

// Operations that change the document draw it again as a whole (after the overlay is settled).
void Repaint(ToolContext& c) {
    c.arcCross = false;
    c.host.Repaint();
}

void DrawMerged(ToolContext& c, const container* e) {
    auto draw = [&](Framebuffer* fb) {
        if (!fb) return;
        OutlinePainter painter(c.board, c.view, *fb);
        auto one = [&](const drawn* d) {
            if (d->layer < 0 || d->layer >= kLayers || !(c.board.layerFlags[size_t(d->layer)] & kDisp))
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

void ChooseLayer(ToolContext& c, std::vector<drawn*>* follow) {
    LayerSelectModel m(c.board);
    c.host.RunLayerSelect(m);
    if (!m.chosen()) return;
    c.board.currentLayer = m.layer();
    if (follow) SetLayer(*follow, c.board, m.layer());
    c.host.DefinitionsChanged();
}

// Runs an aperture dialog; the settings as they came back.
void ChooseAperture(ToolContext& c, ApertureTool tool, bool squareLineEnabled = true) {
    ApertureSelectModel m(c.board, *c.drawing, tool, squareLineEnabled);
    c.host.RunApertureSelect(m);
    if (!m.closed()) m.close();  // fields that do not evaluate keep the old values
    *c.drawing = m.settings();
    c.host.DefinitionsChanged();
}

void SetAperture(std::vector<drawn*>& list, const Board& b, int aperture, bool square) {
    for (drawn* d : list) {
        d->aperture = int16_t(aperture);
        d->flags = square ? uint8_t(d->flags | kSquareFlag) : uint8_t(d->flags & ~kSquareFlag);
        d->updateBounds(b);
    }
}

void MovePreview(ToolContext& c, Point p) {
    for (drawn* d : c.cursorPreview) d->moveTo(c.board, p);
}

// --- round and square land

drawn* NewLand(ToolContext& c, Point p, bool squareTool) {
    const DrawingSettings& s = *c.drawing;
    if (!squareTool) return c.board.CreateLand(c.board.currentLayer, s.roundLandAperture, false, p);
    if (s.squareAsRectangle)
        return c.board.CreateRect(c.board.currentLayer, s.rectAperture, p, s.rectDx, s.rectDy,
                                  ToRadians(s.rectAngle));
    return c.board.CreateLand(c.board.currentLayer, s.squareLandAperture, true, p);
}

template <bool Square>
void LandStart(ToolContext& c) {
    c.clearPreviews();
    c.startTool(Square ? kModeSquareLand : kModeRoundLand);
    c.cursorPreview.push_back(NewLand(c, GridCursor(c), Square));
}

void LandHover(ToolContext& c) { MovePreview(c, GridCursor(c)); }

template <bool Square>
void LandClick(ToolContext& c) {
    PlaceElement(c, NewLand(c, GridCursor(c), Square));
}

template <bool Square>
void LandPoint(ToolContext& c) {
    c.lastPoint = c.inputPoint;
    PlaceElement(c, NewLand(c, c.inputPoint, Square));
}

template <bool Square>
void LandCommand(ToolContext& c) {
    switch (c.currentCommand) {
        case kCmdLayer: ChooseLayer(c, &c.cursorPreview); return;
        case kCmdSettings: {
            ChooseAperture(c, Square ? ApertureTool::kSquareLand : ApertureTool::kRoundLand);
            // A new kind, a new aperture or a new rectangle: the preview is made again.
            const Point at = c.cursorPreview.empty() ? GridCursor(c) : c.cursorPreview[0]->ref();
            for (drawn* d : c.cursorPreview) d->destroy(c.board);
            c.cursorPreview.clear();
            c.cursorPreview.push_back(NewLand(c, at, Square));
            return;
        }
        case kCmdNumeric: NumericInput(c, false); return;
        default: return;
    }
}

void UndoLast(ToolContext& c) {
    if (c.history.Undo()) Repaint(c);
}

// --- line

line* NewDot(ToolContext& c, Point p) {
    const DrawingSettings& s = *c.drawing;
    return c.board.CreateLine(c.board.currentLayer, s.currentLineAperture(), s.squareLine, p, p);
}

void SetSegment(const Board& b, line* l, Point s, Point e) {
    l->x = s.x, l->y = s.y, l->ex = e.x, l->ey = e.y;
    l->updateBounds(b);
}

line* Rubber(ToolContext& c) {
    return c.lineChain.empty() ? nullptr : static_cast<line*>(c.lineChain[0]);
}

void LineStart(ToolContext& c) {
    c.clearPreviews();
    c.startTool(kModeLine);
    c.cursorPreview.push_back(NewDot(c, GridCursor(c)));
}

// The point a click gives: the grid-snapped cursor with the click-point option or Ctrl,
// otherwise the point of an element under the cursor.
Point ClickPoint(ToolContext& c) {
    const Point grid = GridCursor(c);
    if (c.drawing->drawAtClickPoint || (c.keys & kKeyCtrl)) return grid;
    return SnapToElementPoint(c.board, c.cursorWorld(), c.view.pickRadiusWorld).value_or(grid);
}

void LineHover0(ToolContext& c) { MovePreview(c, GridCursor(c)); }

bool BeginChain(ToolContext& c, Point s, int hint) {
    if (c.cursorPreview.empty()) c.cursorPreview.push_back(NewDot(c, s));
    line* l = static_cast<line*>(c.cursorPreview[0]);
    SetSegment(c.board, l, s, s);
    if (OffBoard(c.board, l)) {
        c.host.Beep();
        return false;
    }
    c.cursorPreview.clear();
    c.lineChain.push_back(l);
    c.lastPoint = s;
    c.pushState(1, hint);
    for (int id : {303, 304, 305, 306, 307, 308, 310, 311, 312, 313, 314, 315, 317, 319, 322})
        c.setToolBarEnabled(id, false);
    c.host.ToolBarChanged();
    return true;
}

void LineClick0(ToolContext& c) {
    BeginChain(c, ClickPoint(c), c.host.RightClickOptionsOn() ? kHintLineNextBack : kHintLineNext);
}

void LinePoint0(ToolContext& c) {
    if (!BeginChain(c, c.inputPoint, kHintLineNextBack)) MovePreview(c, GridCursor(c));
}

void LineCommand0(ToolContext& c) {
    switch (c.currentCommand) {
        case kCmdLayer: ChooseLayer(c, &c.cursorPreview); return;
        case kCmdSettings: {
            ChooseAperture(c, ApertureTool::kLine);
            for (drawn* d : c.cursorPreview) d->destroy(c.board);
            c.cursorPreview.clear();
            c.cursorPreview.push_back(NewDot(c, GridCursor(c)));
            return;
        }
        case kCmdNumeric: NumericInput(c, false); return;
        default: return;
    }
}

bool EightDirections(const ToolContext& c) {
    return !(c.keys & kKeyCtrl) && (c.drawing->lineEightAlways || (c.keys & kKeyShift));
}

void LineHover1(ToolContext& c) {
    line* l = Rubber(c);
    if (!l) return;
    Point e = GridCursor(c);
    if (EightDirections(c)) e = Constrain8(e, l->start());
    SetSegment(c.board, l, l->start(), e);
}

// The rubber segment ends at e: placed as a pending step of the chain, or refused with a beep.
void PlaceSegment(ToolContext& c, Point e, Point last) {
    line* l = Rubber(c);
    if (!l) return;
    SetSegment(c.board, l, l->start(), e);
    if (SamePoint(l->start(), l->end()) || OffBoard(c.board, l)) {
        c.host.Beep();
        return;
    }
    c.lineChain.clear();
    c.board.AppendElement(nullptr, l);
    UndoStep* step = c.history.BeginStep();
    c.history.RecordAdded(step, l);
    c.pendingSteps.push_back(step);
    c.host.DocumentModified();
    DrawMerged(c, l);
    c.lastPoint = last;
    const DrawingSettings& s = *c.drawing;
    c.lineChain.push_back(
        c.board.CreateLine(c.board.currentLayer, s.currentLineAperture(), s.squareLine, l->end(), l->end()));
}

// The radius around an element's nearer end within which a click takes that end.
double SnapRadius(const Board& b, const drawn* d) {
    if (d->kind == kRect) return 0.75 * static_cast<const rect*>(d)->dy;
    return 1.5 * d->halfSize(b);
}

void LineClick1(ToolContext& c) {
    line* l = Rubber(c);
    if (!l) return;
    Point e = ClickPoint(c);
    if (!(c.keys & kKeyCtrl)) {
        const Point p = c.cursorWorld();
        container* picked = c.drawing->drawAtClickPoint ? nullptr : c.pickElement(p);
        const drawn* d = picked && IsDrawn(picked) ? AsDrawn(picked) : nullptr;
        if (d && d->layer == l->layer && Dist(p, d->nearEnd(p)) < SnapRadius(c.board, d))
            e = d->nearEnd(p);
        else if (EightDirections(c))
            e = Constrain8(e, l->start());
    }
    PlaceSegment(c, e, GridCursor(c));
}

void LinePoint1(ToolContext& c) { PlaceSegment(c, c.inputPoint, c.inputPoint); }

// The rubber segment goes back to following the cursor as the first state's preview.
void EndChain(ToolContext& c) {
    line* l = Rubber(c);
    c.lineChain.clear();
    if (l) {
        const Point p = GridCursor(c);
        SetSegment(c.board, l, p, p);
        c.cursorPreview.push_back(l);
    }
    c.popModes(1);
}

void LineBack1(ToolContext& c) {
    line* l = Rubber(c);
    if (c.pendingSteps.empty() || !l) {
        EndChain(c);
        return;
    }
    UndoStep* step = c.pendingSteps.back();
    c.pendingSteps.pop_back();
    const line* last = static_cast<const line*>(
        static_cast<UndoEntry*>(step->entries.prev)->element);
    const Point restart = last->start();
    l->layer = last->layer;
    l->aperture = last->aperture;
    l->flags = last->flags;
    c.board.currentLayer = l->layer;
    (l->square() ? c.drawing->squareLineAperture : c.drawing->lineAperture) = l->aperture;
    c.history.RevertStep(step);
    Point e = GridCursor(c);
    if (EightDirections(c)) e = Constrain8(e, restart);
    SetSegment(c.board, l, restart, e);
    c.lastPoint = restart;
    c.host.DefinitionsChanged();
    Repaint(c);
}

void LineReset1(ToolContext& c) {
    const bool placed = !c.pendingSteps.empty();
    for (auto it = c.pendingSteps.rbegin(); it != c.pendingSteps.rend(); ++it)
        c.history.RevertStep(*it);
    c.pendingSteps.clear();
    EndChain(c);
    if (placed) Repaint(c);
}

// The chain is decided: its segments become one undo step.
void Decide(ToolContext& c) {
    if (!c.pendingSteps.empty()) {
        UndoStep* first = c.pendingSteps.front();
        for (size_t i = 1; i < c.pendingSteps.size(); ++i) {
            UndoStep* s = c.pendingSteps[i];
            while (!s->entries.emptyList()) {
                ListNode* n = s->entries.next;
                n->unlink();
                n->insertBefore(&first->entries);
            }
            c.history.DiscardStep(s);
        }
        c.pendingSteps.clear();
        c.history.CommitStep(first);
        c.host.DocumentModified();
    }
    EndChain(c);
}

void LineCommand1(ToolContext& c) {
    switch (c.currentCommand) {
        case kCmdLayer: ChooseLayer(c, &c.lineChain); return;
        case kCmdSettings: {
            ChooseAperture(c, ApertureTool::kLine, false);
            SetAperture(c.lineChain, c.board, c.drawing->currentLineAperture(), c.drawing->squareLine);
            return;
        }
        case kCmdNumeric: NumericInput(c, true); return;
        case kCmdDecide: Decide(c); return;
        default: return;
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
    c.arcCross = true;
}

void ArcStart(ToolContext& c) {
    c.clearPreviews();
    c.startTool(kModeArc);
}

void ArcCentre(ToolContext& c, Point centre) {
    c.lastPoint = centre;
    c.pushState(1, kHintArcStart);
    c.setToolBarEnabled(300, false);
    c.setToolBarEnabled(301, false);
    c.host.SetDefinitionItemsEnabled(false, false);
    c.host.ToolBarChanged();
    DrawCross(c, centre);
}

void ArcByDialog(ToolContext& c, Point centre) {
    ArcDialogModel m(*c.drawing);
    c.host.RunArcDialog(m);
    if (!m.decided()) return;
    DrawingSettings& s = *c.drawing;
    s.arcRadius = m.radiusValue, s.arcStart = m.startValue, s.arcEnd = m.endValue;
    const double r = m.radiusValue;
    if (!(r > 0.001) || !(r > c.board.roundHalf(s.lineAperture) + 1e-8)) {
        c.host.Beep();
        return;
    }
    double a = m.startValue, b = m.endValue;
    BringAnglesIntoRange(a, b);
    PlaceElement(c, c.board.CreateArc(c.board.currentLayer, s.lineAperture, centre, r, ToRadians(a),
                                      ToRadians(b)));
}

void ArcClick0(ToolContext& c) {
    if (c.drawing->arcByClicks)
        ArcCentre(c, GridCursor(c));
    else
        ArcByDialog(c, GridCursor(c));
}

void ArcPoint0(ToolContext& c) {
    if (!c.drawing->arcByClicks) {
        ArcByDialog(c, c.inputPoint);
        return;
    }
    if (OnBoard(c.board, c.inputPoint)) ArcCentre(c, c.inputPoint);
}

void ArcCommand0(ToolContext& c) {
    switch (c.currentCommand) {
        case kCmdLayer: ChooseLayer(c, nullptr); return;
        case kCmdSettings: ChooseAperture(c, ApertureTool::kArc); return;
        case kCmdNumeric: NumericInput(c, false); return;
        default: return;
    }
}

void ArcFirstPoint(ToolContext& c, Point p) {
    const Point centre = c.lastPoint;
    if (SamePoint(p, centre)) {
        c.host.Beep();
        return;
    }
    const double a = std::atan2(p.y - centre.y, p.x - centre.x);
    const double r = Dist(p, centre);
    const int aperture = c.drawing->lineAperture;
    if (r <= c.board.roundHalf(aperture) + 1e-8) {
        c.host.Beep();
        return;
    }
    c.arcPreview.push_back(c.board.CreateArc(c.board.currentLayer, aperture, centre, r, a, a));
    c.arcReversed = false;
    c.pushState(2, kHintArcEnd);
}

void ArcClick1(ToolContext& c) { ArcFirstPoint(c, GridCursor(c)); }
void ArcPoint1(ToolContext& c) {
    if (OnBoard(c.board, c.inputPoint)) ArcFirstPoint(c, c.inputPoint);
}
void ArcBack1(ToolContext& c) {
    c.popModes(1);
    if (c.arcCross) Repaint(c);
}
void ArcCommandLater(ToolContext& c) {
    if (c.currentCommand == kCmdNumeric) NumericInput(c, true);
}

arc* ArcBeingDrawn(ToolContext& c) {
    return c.arcPreview.empty() ? nullptr : static_cast<arc*>(c.arcPreview[0]);
}

void ArcHover2(ToolContext& c) {
    if (arc* a = ArcBeingDrawn(c)) TrackArc(c.board, a, c.cursorWorld(), c.arcReversed);
}

void ArcEnd(ToolContext& c, Point p) {
    arc* a = ArcBeingDrawn(c);
    if (!a) return;
    if (SamePoint(p, c.lastPoint)) {
        c.host.Beep();
        return;
    }
    TrackArc(c.board, a, p, c.arcReversed);
    if (OffBoard(c.board, a)) {
        c.host.Beep();
        return;
    }
    c.arcPreview.clear();
    c.board.AppendElement(nullptr, a);
    UndoStep* step = c.history.BeginStep();
    c.history.RecordAdded(step, a);
    c.history.CommitStep(step);
    c.host.DocumentModified();
    DrawMerged(c, a);
    c.popModes(2);
    if (c.arcCross) Repaint(c);
}

void ArcClick2(ToolContext& c) { ArcEnd(c, GridCursor(c)); }
void ArcPoint2(ToolContext& c) { ArcEnd(c, c.inputPoint); }
void ArcBack2(ToolContext& c) {
    for (drawn* d : c.arcPreview) d->destroy(c.board);
    c.arcPreview.clear();
    c.popModes(1);
}
void ArcReset2(ToolContext& c) {
    ArcBack2(c);
    ArcBack1(c);
}

// --- pad

void PadDecoration(ToolContext& c) {
    for (drawn* d : c.cursorPreview) d->destroy(c.board);
    c.cursorPreview.clear();
    const int n = c.drawing->padNumber;
    if (n < 0 || size_t(n) >= c.board.padDefs.size()) return;
    const Point p = GridCursor(c);
    for (const PadPair& pair : c.board.padDefs[size_t(n)])
        c.cursorPreview.push_back(c.board.CreateLand(pair.layer, pair.aperture, false, p));
}

void PadStart(ToolContext& c) {
    c.clearPreviews();
    c.startTool(kModePad);
    PadDecoration(c);
}

void PadAt(ToolContext& c, Point p) {
    const int n = c.drawing->padNumber;
    // Without a definition there is nothing to place (an empty group would be a stray item).
    if (n < 0 || size_t(n) >= c.board.padDefs.size() || c.board.padDefs[size_t(n)].empty()) {
        c.host.Beep();
        return;
    }
    group* g = c.board.CreateGroup(Reserved().pad);
    for (const PadPair& pair : c.board.padDefs[size_t(n)])
        c.board.AppendElement(g, c.board.CreateLand(pair.layer, pair.aperture, false, p));
    PlaceElement(c, g);
}

void PadClick(ToolContext& c) { PadAt(c, GridCursor(c)); }
void PadPoint(ToolContext& c) {
    c.lastPoint = c.inputPoint;
    PadAt(c, c.inputPoint);
}

void PadCommand(ToolContext& c) {
    switch (c.currentCommand) {
        case kCmdLayer: ChooseLayer(c, nullptr); return;
        case kCmdSettings: {
            if (c.board.padDefs.empty()) return;
            PadSelectModel m(c.board, c.drawing->padNumber);
            c.host.RunPadSelect(m);
            if (!m.accepted()) return;
            c.drawing->padNumber = m.number();
            PadDecoration(c);
            c.host.DefinitionsChanged();
            return;
        }
        case kCmdNumeric: NumericInput(c, false); return;
        default: return;
    }
}

// --- text

void TextStart(ToolContext& c) {
    c.clearPreviews();
    c.startTool(kModeText);
}

void TextAt(ToolContext& c, Point q) {
    const std::filesystem::path font = c.host.FontFile();
    TextDialogModel m(c.board, *c.drawing, font);
    c.host.RunTextDialog(m);
    if (!m.decided()) return;
    DrawingSettings& s = *c.drawing;
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
    if (t.text) {
        c.board.AppendElement(nullptr, t.text);
        UndoStep* step = c.history.BeginStep();
        c.history.RecordAdded(step, t.text);
        c.history.CommitStep(step);
        c.host.DocumentModified();
        DrawMerged(c, t.text);
    }
    if (t.dropped > 0 || t.fontMissing) c.host.Beep();
}

void TextClick(ToolContext& c) { TextAt(c, GridCursor(c)); }
void TextPoint(ToolContext& c) {
    c.lastPoint = c.inputPoint;
    TextAt(c, c.inputPoint);
}
void TextCommand(ToolContext& c) {
    switch (c.currentCommand) {
        case kCmdLayer: ChooseLayer(c, nullptr); return;
        case kCmdSettings: ChooseAperture(c, ApertureTool::kText); return;
        case kCmdNumeric: NumericInput(c, false); return;
        default: return;
    }
}

// --- intersection and end-point input

void RestoreCursorPreview(ToolContext& c) {
    c.hideOverlay();
    for (drawn* d : c.putAside) c.cursorPreview.push_back(d);
    c.putAside.clear();
    MovePreview(c, GridCursor(c));
}

void PutAttachedBack(ToolContext& c) {
    container* e = c.attachedElement;
    c.attachedElement = nullptr;
    if (!e || e->linked()) return;
    if (c.attachedSuccessor)
        e->insertBefore(c.attachedSuccessor);
    else
        c.board.AppendElement(nullptr, e);
    c.attachedSuccessor = nullptr;
}

void LeaveIntersection(ToolContext& c, int frames) {
    c.popModes(frames);
    RestoreCursorPreview(c);
}

void IntersectionClick0(ToolContext& c) {
    const Point p = c.cursorWorld();
    container* e = c.pickElement(p);
    if (!e || !IsDrawn(e)) {
        c.host.Beep();
        return;
    }
    const drawn* d = AsDrawn(e);
    Point pt;
    if (c.keys & kKeyShift) {
        if (d->kind != kArc) {
            c.host.Beep();
            return;
        }
        pt = d->ref();
    } else if (d->kind == kLine || d->kind == kArc) {
        pt = d->nearEnd(p);
        if (Dist(p, pt) > 1.5 * d->halfSize(c.board) + c.view.pickRadiusWorld) {
            c.attachedSuccessor = e->unlink();
            c.attachedElement = e;
            c.highlightSelection(true);
            c.pushState(1, kHintIntersectionSecond);
            return;
        }
    } else {
        pt = d->nearEnd(p);
    }
    LeaveIntersection(c, 1);
    DeliverPoint(c, pt);
}

void IntersectionReset0(ToolContext& c) { LeaveIntersection(c, 1); }

void IntersectionClick1(ToolContext& c) {
    const Point p = c.cursorWorld();
    container* e = c.pickElement(p);
    if (!e || (e->kind != kLine && e->kind != kArc) || !c.attachedElement) {
        c.host.Beep();
        return;
    }
    const drawn* a = AsDrawn(c.attachedElement);
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
    if (result != kOnePoint) {
        c.host.Beep();
        return;
    }
    DeliverPoint(c, two && Dist(p2, p) <= Dist(p1, p) ? p2 : p1);
}

void IntersectionBack1(ToolContext& c) {
    PutAttachedBack(c);
    c.popModes(1);
    Repaint(c);
}

void IntersectionReset1(ToolContext& c) {
    PutAttachedBack(c);
    LeaveIntersection(c, 2);
    Repaint(c);
}

// --- the tables

template <ToolOp F>
constexpr ToolOp O = Overlaid<F>;

constexpr ToolState kRoundLandStates[] = {{O<LandHover>, O<LandClick<false>>, NoOp, O<LandPoint<false>>,
                                     O<LandCommand<false>>, O<UndoLast>, O<LandStart<false>>}};
constexpr ToolState kSquareLandStates[] = {{O<LandHover>, O<LandClick<true>>, NoOp, O<LandPoint<true>>,
                                      O<LandCommand<true>>, O<UndoLast>, O<LandStart<true>>}};
constexpr ToolState kLineStates[] = {
    {O<LineHover0>, O<LineClick0>, NoOp, O<LinePoint0>, O<LineCommand0>, O<UndoLast>, O<LineStart>},
    {O<LineHover1>, O<LineClick1>, NoOp, O<LinePoint1>, O<LineCommand1>, O<LineBack1>, O<LineReset1>},
};
constexpr ToolState kArcStates[] = {
    {NoOp, O<ArcClick0>, NoOp, O<ArcPoint0>, O<ArcCommand0>, O<UndoLast>, O<ArcStart>},
    {NoOp, O<ArcClick1>, NoOp, O<ArcPoint1>, O<ArcCommandLater>, O<ArcBack1>, O<ArcBack1>},
    {O<ArcHover2>, O<ArcClick2>, NoOp, O<ArcPoint2>, O<ArcCommandLater>, O<ArcBack2>, O<ArcReset2>},
};
constexpr ToolState kPadStates[] = {{O<LandHover>, O<PadClick>, NoOp, O<PadPoint>, O<PadCommand>,
                               O<UndoLast>, O<PadStart>}};
constexpr ToolState kTextStates[] = {{NoOp, O<TextClick>, NoOp, O<TextPoint>, O<TextCommand>,
                                O<UndoLast>, O<TextStart>}};
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

bool PlaceElement(ToolContext& c, container* e) {
    if (OffBoard(c.board, e)) {
        e->destroy(c.board);
        c.host.Beep();
        return false;
    }
    c.board.AppendElement(nullptr, e);
    UndoStep* step = c.history.BeginStep();
    c.history.RecordAdded(step, e);
    c.history.CommitStep(step);
    c.host.DocumentModified();
    DrawMerged(c, e);
    return true;
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

void NumericInput(ToolContext& c, bool nextPoint) {
    NumericInputModel m(nextPoint, c.numericMemory, c.lastPoint,
                        {c.view.gridOriginX, c.view.gridOriginY});
    c.host.RunNumericInput(m);
    if (m.point()) DeliverPoint(c, *m.point());
}

void DeliverPoint(ToolContext& c, Point p) {
    if (!(p.x > -1e16 && p.x < 1e16 && p.y > -1e16 && p.y < 1e16)) {
        c.host.Beep();
        return;
    }
    c.pointInput(p);
}

void CancelIntersectionInput(ToolContext& c) { RestoreCursorPreview(c); }

void OpenIntersectionInput(ToolContext& c) {
    c.hideOverlay();
    for (drawn* d : c.cursorPreview) c.putAside.push_back(d);
    c.cursorPreview.clear();
}

}  // namespace zevo
