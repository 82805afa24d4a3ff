#include "tools/tool_context.h"

#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <utility>

#include "board/model/intern.h"
#include "text/strings.h"
#include "view/board_renderer.h"

namespace zevo {

const std::array<ModeInfo, kModeCount> kModes = {{
    {Cmd::RoundLand, 1, kHintInput},              // round land
    {Cmd::SquareLand, 1, kHintInput},             // square land
    {Cmd::Line, 2, kHintLineStart},               // line
    {Cmd::Arc, 3, kHintArcCentre},                // arc
    {Cmd::Pad, 1, kHintInput},                    // pad
    {Cmd::Text, 1, kHintTextStart},               // text
    {Cmd::Deform, 2, kHintDeform},                // deform
    {Cmd::DeleteTool, 3, kHintDelete},            // delete
    {Cmd::Parallel, 5, kHintParallel},            // parallel / middle line
    {Cmd::Connect, 6, kHintConnect},              // connect / stretch / split / chamfer
    {Cmd::Change, 1, kHintChange},                // change
    {Cmd::Fill, 4, kHintFill},                    // fill / unfill / window
    {Cmd::Multiple, 6, kHintMultiple},            // multiple
    {Cmd::Intersection, 2, kHintIntersection},    // intersection / end-point input
    {Cmd::ZoomTool, 2, kHintZoom},                // zoom
    {Cmd::GridOrigin, 1, kHintGridOrigin},        // grid origin
    {Cmd::Spacing, 3, kHintSpacing},              // spacing measurement
    {Cmd::Coordinates, 1, kHintCoordinates},      // coordinates
    {Cmd::Equipotential, 1, kHintEquipotential},  // equipotential
    {Cmd::PinNumbers, 1, kHintPinNumbers},        // pin number display
}};

ToolResult NoOp(ToolContext&) {
    return ToolResult::Ignored;
}

namespace {

constexpr int kMaxStates = 6;

ToolResult UndoLast(ToolContext& c) {
    if (!c.history.Undo()) return ToolResult::Ignored;
    c.host.Repaint();
    return ToolResult::Reverted;
}
ToolResult CloseNested(ToolContext& c) {
    c.modes.popModes(1);
    return ToolResult::PopFrame;
}
ToolResult Cancel(ToolContext& c) {
    c.cancel();
    return ToolResult::Reverted;
}

template <int M>
ToolResult StartMode(ToolContext& c) {
    c.modes.startTool(M);
    return ToolResult::Reverted;
}

template <size_t... M>
constexpr std::array<ToolOp, sizeof...(M)> MakeStarts(std::index_sequence<M...>) {
    return {StartMode<int(M)>...};
}
constexpr auto kStarts = MakeStarts(std::make_index_sequence<kEditingModes>());

constexpr ToolState Placeholder(int mode, int k) {
    ToolState s{NoOp, NoOp, NoOp, NoOp, NoOp, NoOp, NoOp};
    if (mode >= kEditingModes)
        s.onReset = CloseNested;
    else if (k == 0) {
        s.onBack = UndoLast;
        s.onReset = kStarts[size_t(mode)];
    } else
        s.onReset = Cancel;
    return s;
}

struct DefaultStates {
    std::array<std::array<ToolState, kMaxStates>, kModeCount> states;
    ModeTable table;
    DefaultStates() {
        for (int m = 0; m < kModeCount; ++m) {
            for (int k = 0; k < kMaxStates; ++k) states[size_t(m)][size_t(k)] = Placeholder(m, k);
            table[size_t(m)] = std::span<const ToolState>(states[size_t(m)].data(),
                                                          size_t(kModes[size_t(m)].states));
        }
    }
};

// The tool-bar buttons that start the editing tools (their check marks are exclusive).
bool IsToolButton(Cmd id) {
    for (int m = 0; m < kEditingModes; ++m)
        if (kModes[size_t(m)].start == id) return true;
    return false;
}

int32_t DefKindOf(int mode) {
    if (mode <= kModeText) return mode;
    if (mode == kModeParallel) return kDefParallel;
    return kDefSelection;
}

// The button whose state lets an edit operation through.
Cmd CommandButton(EditOp op) {
    switch (op) {
        case EditOp::LayerSelect:
            return Cmd::LayerSelect;
        case EditOp::SelectSettings:
            return Cmd::SelectSettings;
        case EditOp::Move:
            return Cmd::Move;
        case EditOp::MoveByKey:
            return Cmd::Move;
        case EditOp::JoinSplit:
            return Cmd::JoinSplit;
        case EditOp::DeleteElements:
            return Cmd::Cut;  // follows the cut button
        case EditOp::Cut:
            return Cmd::Cut;
        case EditOp::Copy:
            return Cmd::Copy;
        case EditOp::Paste:
            return Cmd::Paste;
        case EditOp::Mirror:
            return Cmd::Mirror;
        case EditOp::Rotate:
            return Cmd::Rotate;
        case EditOp::NumericInput:
            return Cmd::NumericInput;
        default:
            return Cmd::None;
    }
}

PixelPoint ToPixel(const ViewState& view, Point p) {
    const Point s = view.WorldToScreen(p);
    return {int64_t(std::floor(s.x + 0.5)), int64_t(std::floor(s.y + 0.5))};
}

void DrawItem(OutlinePainter& painter, container* c, Pen pen) {
    if (c->kind == kGroup)
        ForEachDrawn(AsGroup(c)->members, [&](drawn* d) { painter.Draw(d, pen); });
    else if (IsDrawn(c))
        painter.Draw(AsDrawn(c), pen);
}

Pen LayerPen(const Board& b, const drawn* d) {
    const int colour =
        d->layer >= 0 && d->layer < kLayers ? b.layerColour[size_t(d->layer)] & 15 : 0;
    return {kPalette[size_t(colour)], RasterOp::kMerge};
}

bool BoxesMeet(const Box& b, Point mn, Point mx) {
    return !(b.maxX < mn.x || b.minX > mx.x || b.maxY < mn.y || b.minY > mx.y);
}
bool BoxInside(const Box& b, Point mn, Point mx) {
    return b.minX >= mn.x && b.maxX <= mx.x && b.minY >= mn.y && b.maxY <= mx.y;
}

bool RectangleTakes(const Board& board, const drawn* d, Point mn, Point mx) {
    return OnActiveLayer(board, d) && BoxesMeet(d->bounds, mn, mx) &&
           (BoxInside(d->bounds, mn, mx) || d->touchesBox(board, mn, mx));
}

bool RectangleTakesAny(const Board& board, const ListNode& members, Point mn, Point mx) {
    for (container* c : Items(members)) {
        if (c->kind == kGroup) {
            if (RectangleTakesAny(board, AsGroup(c)->members, mn, mx)) return true;
        } else if (IsDrawn(c) && RectangleTakes(board, AsDrawn(c), mn, mx))
            return true;
    }
    return false;
}

}  // namespace

const ModeTable& DefaultModeTable() {
    static const DefaultStates defaults;
    return defaults.table;
}

bool IsToolBarSeparator(size_t slot) {
    return CommandCaption(ToolBarCmd(slot)).empty();
}

// --- units

container* topItem(container* e) {
    while (e && e->parent) e = e->parent;
    return e;
}

container* editUnit(container* e) {
    if (!e || !e->parent) return e;
    const ReservedWords& w = Reserved();
    group* p = e->parent;
    if (p->type == w.loop || p->type == w.lines || p->type == w.window) p = p->parent;
    if (!p) return e;
    if (p->type == w.text || p->type == w.pad || p->type == w.painted || p->type == w.drc) return p;
    return e;
}

container* deleteUnit(container* e) {
    if (!e || !e->parent) return e;
    const ReservedWords& w = Reserved();
    group* p = e->parent;
    if (p->type == w.text || p->type == w.pad) return p;
    if (p->parent && p->parent->type == w.painted) return p->parent;
    return e;
}

bool OnActiveLayer(const Board& board, const drawn* e) {
    return e->layer >= 0 && e->layer < kLayers && (board.layerFlags[size_t(e->layer)] & kActiv);
}

container* PickElement(const Board& board, Point p, double t) {
    // The walk of the document through the board's index: an element whose bounds, grown by the
    // tolerance, miss the point is passed over without its node being read, as its hit test
    // would refuse it first thing.
    const drawn* hit = board.drawnIndex.find(
        board.items,
        [&](const OuterBox& b) {
            return p.x < double(b.minX) - t || p.x > double(b.maxX) + t ||
                   p.y < double(b.minY) - t || p.y > double(b.maxY) + t;
        },
        [&](const drawn* d) { return OnActiveLayer(board, d) && d->hitTest(board, p, t); });
    return const_cast<drawn*>(hit);
}

// --- the mode stack

ModeStack::ModeStack(ToolHost& host, const ModeTable& table) : host_(host), table_(table) {
    for (size_t i = 0; i < toolBar.size(); ++i)
        if (IsToolBarSeparator(i)) toolBar[i] = kTbSeparator;
    frames_[0] = {kModeRoundLand, kModes[0].startHint, 0, firstState(kModeRoundLand), toolBar};
    current_ = frames_[0].state;
}

const ToolState* ModeStack::stateOf(int mode, int k) const {
    if (mode < 0 || mode >= kModeCount) return nullptr;
    const auto& states = table_[size_t(mode)];
    return k >= 0 && size_t(k) < states.size() ? &states[size_t(k)] : nullptr;
}

const ToolState* ModeStack::firstState(int mode) const {
    return stateOf(mode, 0);
}

void ModeStack::setToolBarEnabled(Cmd id, bool on) {
    uint8_t& s = toolBarState(id);
    s = on ? s | kTbEnabled : s & ~kTbEnabled;
}

void ModeStack::setToolBarChecked(Cmd id, bool on) {
    uint8_t& s = toolBarState(id);
    s = on ? s | kTbChecked : s & ~kTbChecked;
}

void ModeStack::refreshDefinitionItems() {
    host_.SetDefinitionItemsEnabled(toolBarEnabled(Cmd::LayerSelect),
                                    toolBarEnabled(Cmd::SelectSettings));
}

void ModeStack::enterTool(int mode, int hint) {
    const ToolState* first = firstState(mode);
    if (!first) return;
    const bool wasNested = top_ != 0;
    top_ = 0;
    frames_[0] = {mode, hint, 0, first, toolBar};
    current_ = first;
    host_.ShowHint(hint);
    refreshDefinitionItems();
    host_.ToolBarChanged();
    if (wasNested) host_.SetCloseEnabled(true);
}

void ModeStack::startTool(int mode) {
    if (mode < 0 || mode >= kEditingModes) return;
    for (size_t i = 0; i < toolBar.size(); ++i) {
        const Cmd id = ToolBarCmd(i);
        if (IsToolButton(id)) setToolBarChecked(id, id == kModes[size_t(mode)].start);
    }
    // Selection tools take neither typed coordinates nor picked intersections.
    const bool drawingTool = mode <= kModeText;
    setToolBarEnabled(Cmd::NumericInput, drawingTool);
    setToolBarEnabled(Cmd::Intersection, drawingTool);
    currentDefKind = DefKindOf(mode);
    enterTool(mode, kModes[size_t(mode)].startHint);
}

bool ModeStack::gotoState(int k, int hint) {
    ModeFrame& f = frames_[size_t(top_)];
    const ToolState* s = stateOf(f.mode, k);
    if (!s) return false;
    f.stateIndex = k;
    f.state = s;
    f.hint = hint;
    current_ = s;
    host_.ShowHint(hint);
    return true;
}

bool ModeStack::pushState(int k, int hint) {
    if (top_ + 1 >= kFrameCount) return false;
    const int mode = frames_[size_t(top_)].mode;
    const ToolState* s = stateOf(mode, k);
    if (!s) return false;
    frames_[size_t(top_)].toolBar = toolBar;
    ++top_;
    frames_[size_t(top_)] = {mode, hint, k, s, toolBar};
    current_ = s;
    host_.ShowHint(hint);
    host_.SetCloseEnabled(false);
    return true;
}

bool ModeStack::pushMode(int mode, int hint) {
    if (top_ + 1 >= kFrameCount) return false;
    const ToolState* s = firstState(mode);
    if (!s) return false;
    frames_[size_t(top_)].toolBar = toolBar;
    ++top_;
    frames_[size_t(top_)] = {mode, hint, 0, s, toolBar};
    current_ = s;
    host_.ShowHint(hint);
    host_.SetCloseEnabled(false);
    return true;
}

bool ModeStack::popModes(int n) {
    top_ = std::max(0, top_ - std::max(0, n));
    const ModeFrame& f = frames_[size_t(top_)];
    current_ = f.state;
    host_.ShowHint(f.hint);
    for (size_t i = 0; i < toolBar.size(); ++i) {
        if (IsToolBarSeparator(i)) continue;
        toolBar[i] = uint8_t((toolBar[i] & ~(kTbEnabled | kTbChecked)) |
                             (f.toolBar[i] & (kTbEnabled | kTbChecked)));
    }
    host_.ToolBarChanged();
    if (top_ == 0) host_.SetCloseEnabled(true);
    refreshDefinitionItems();
    host_.FramesPopped();
    return top_ == 0;
}

// --- the selection set

Selection::Selection(Board& board, UndoHistory& history, const ViewState& view, ToolHost& host,
                     Framebuffer* const& screen)
    : board_(board), history_(history), view_(view), host_(host), screen_(screen) {
    list.initHead();
}

Selection::~Selection() {
    // Nothing is drawn on the way out (the buffers may be gone already). A selection that goes
    // while something is lifted puts it back, so the document it leaves is whole and every node
    // is owned by exactly one list or step.
    if (attached && !attached->linked()) {
        if (attachedSuccessor)
            attached->insertBefore(attachedSuccessor, board_.changes);
        else
            board_.AppendElement(nullptr, attached);
        attached = nullptr;
    }
    revertPending();
}

size_t Selection::count() const {
    size_t n = 0;
    for (const ListNode* p = list.next; p != &list; p = p->next) ++n;
    return n;
}

void Selection::lift(container* e, UndoStep* step) {
    if (!e || !step || !e->linked()) return;
    ListNode* successor = e->unlink(board_.changes);
    history_.RecordRemoved(step, e, successor);
    e->insertBefore(&list, board_.changes);
}

UndoStep* Selection::rectangleSelect(Point c1, Point c2) {
    const Point mn{std::min(c1.x, c2.x), std::min(c1.y, c2.y)};
    const Point mx{std::max(c1.x, c2.x), std::max(c1.y, c2.y)};
    UndoStep* step = history_.BeginStep();
    bool taken = false;
    for (container* c : Items(board_.items)) {  // the successor is read before c moves
        const bool takes = c->kind == kGroup
                               ? RectangleTakesAny(board_, AsGroup(c)->members, mn, mx)
                           : IsDrawn(c) ? RectangleTakes(board_, AsDrawn(c), mn, mx)
                                        : false;
        if (!takes) continue;
        lift(c, step);
        taken = true;
    }
    if (!taken) {
        history_.DiscardStep(step);
        return nullptr;
    }
    return step;
}

void Selection::addPending(UndoStep* step) {
    if (!step) return;
    if (step->empty())
        history_.DiscardStep(step);
    else
        pending.push_back(step);
}

bool Selection::takePicked(Point at, container* (*unit)(container*)) {
    container* e = PickElement(board_, at, view_.pickRadiusWorld);
    if (!e) {
        host_.Beep();
        return false;
    }
    if (unit) e = unit(e);
    UndoStep* step = history_.BeginStep();
    lift(e, step);
    addPending(step);
    highlight(true);
    return true;
}

void Selection::draw(Pen pen) {
    if (!screen_) return;
    OutlinePainter painter(board_, view_, *screen_);
    for (container* c : Items(list)) DrawItem(painter, c, pen);
    if (attached) DrawItem(painter, attached, pen);
    if (referenceLine.shown)
        screen_->Line(ToPixel(view_, referenceLine.a), ToPixel(view_, referenceLine.b), pen);
}

void Selection::highlight(bool show) {
    draw(show ? Pen{kGreyPen, RasterOp::kCopy} : Pen{0, RasterOp::kCopy});
}

void Selection::eraseHighlight() {
    if (!screen_) return;
    draw(Pen{0, RasterOp::kCopy});
    OutlinePainter painter(board_, view_, *screen_);
    for (UndoStep* s : pending)
        for (ListNode* n = s->entries.next; n != &s->entries; n = n->next) {
            container* c = static_cast<UndoEntry*>(n)->element;
            if (c->kind == kGroup)
                ForEachDrawn(AsGroup(c)->members,
                             [&](drawn* d) { painter.Draw(d, LayerPen(board_, d)); });
            else if (IsDrawn(c))
                painter.Draw(AsDrawn(c), LayerPen(board_, AsDrawn(c)));
        }
}

void Selection::revertPending() {
    for (auto it = pending.rbegin(); it != pending.rend(); ++it) history_.RevertStep(*it);
    pending.clear();
    // What is still in the selection was never in the document: copies made for dragging.
    while (!list.emptyList()) {
        container* c = AsElement(list.next);
        c->unlink(board_.changes);
        c->destroy(board_);
    }
}

void Selection::restore() {
    eraseHighlight();
    revertPending();
    attached = nullptr;
    referenceLine.shown = false;
    host_.Repaint();
}

void Selection::commit() {
    for (UndoStep* s : pending) history_.CommitStep(s);
    pending.clear();
}

bool Selection::commitAsOne() {
    if (pending.empty()) return false;
    UndoStep* first = pending.front();
    for (size_t i = 1; i < pending.size(); ++i) {
        UndoStep* step = pending[i];
        while (!step->entries.emptyList()) {
            ListNode* n = step->entries.next;
            n->unlink(board_.changes);
            n->insertBefore(&first->entries, board_.changes);
        }
        history_.DiscardStep(step);
    }
    pending.clear();
    history_.CommitStep(first);
    return true;
}

void Selection::clear() {
    while (!list.emptyList()) list.next->unlink(board_.changes);
    attached = nullptr;
    referenceLine.shown = false;
}

// --- the drawing overlay

Overlay::Overlay(Board& board, const ViewState& view, Framebuffer* const& screen)
    : board_(board), view_(view), screen_(screen) {}

Overlay::~Overlay() {
    // Nothing is drawn on the way out (the buffers may be gone already).
    for (auto* list : {&cursorPreview, &lineChain, &arcPreview, &putAside}) {
        for (drawn* d : *list) d->destroy(board_);
        list->clear();
    }
}

void Overlay::toggle() {
    shown_ = !shown_;
    if (!screen_) return;
    if (band) {
        ++toggles_;
        if (bandLine)
            DrawLineBand(*screen_, bandAnchor, bandCursor);
        else
            DrawRectangleBand(*screen_, bandAnchor, bandCursor, false);
    }
    std::vector<const drawn*> all;
    for (const auto* list : {&cursorPreview, &lineChain, &arcPreview})
        all.insert(all.end(), list->begin(), list->end());
    if (all.empty()) return;
    ++toggles_;
    if (scratch) {
        DrawGhost(board_, view_, *screen_, *scratch, all);
        return;
    }
    OutlinePainter painter(board_, view_, *screen_);
    for (const drawn* d : all) {
        Pen pen = LayerPen(board_, d);
        pen.op = RasterOp::kXor;
        painter.Draw(d, pen);
    }
}

void Overlay::show() {
    if (!shown_) toggle();
}

void Overlay::hide() {
    if (shown_) toggle();
}

void Overlay::clear() {
    hide();
    band = false;
    bandLine = false;
    for (auto* list : {&cursorPreview, &lineChain, &arcPreview}) {
        for (drawn* d : *list) d->destroy(board_);
        list->clear();
    }
}

// --- the context

ToolContext::ToolContext(Board& b, UndoHistory& h, ViewState& v, ToolHost& hst,
                         const ModeTable& table)
    : board(b),
      history(h),
      view(v),
      host(hst),
      modes(hst, table),
      selection(b, h, v, hst, screen),
      overlay(b, v, screen) {}

container* ToolContext::pickElement(Point p) const {
    return PickElement(board, p, view.pickRadiusWorld);
}

bool ToolContext::selectTool(const ToolState* first) {
    if (modes.depth() != 1 || !first) return false;
    if (first != modes.current()) {
        modes.setCurrent(first);
        escape();
    }
    return true;
}

void ToolContext::cancel() {
    selection.restore();
    modes.popModes(modes.depth() - 1);
}

// --- dispatch

ToolResult ToolContext::mouseMove(int x, int y, uint32_t keyFlags) {
    cursorX = x, cursorY = y, keys = keyFlags;
    if (!leftHeld_) return call(modes.current()->onHover);
    if (!dragging_ && (std::abs(x - downX_) > kDragPixels || std::abs(y - downY_) > kDragPixels)) {
        dragging_ = true;
        return call(modes.current()->onDragStart);
    }
    return ToolResult::Ignored;
}

void ToolContext::leftDown(int x, int y, uint32_t keyFlags) {
    cursorX = x, cursorY = y, keys = keyFlags;
    leftHeld_ = true;
    dragging_ = false;
    downX_ = x, downY_ = y;
    pressX = x, pressY = y;
}

ToolResult ToolContext::leftUp(int x, int y, uint32_t keyFlags) {
    cursorX = x, cursorY = y, keys = keyFlags;
    leftHeld_ = false;
    dragging_ = false;
    return call(modes.current()->onClick);
}

ToolResult ToolContext::pointInput(Point p) {
    inputPoint = p;
    return call(modes.current()->onPointInput);
}

ToolResult ToolContext::escape() {
    return call(modes.current()->onReset);
}

bool ToolContext::backspaceRoutes() const {
    const ToolState* current = modes.current();
    if (modes.depth() == 1) return history.CanUndo();
    if (!current->onBack || current->onBack == NoOp) return false;
    if (!selection.pending.empty() || !selection.empty() || selection.attached) return true;
    const int m = modes.mode();
    return m == kModeLine || m == kModeArc || m == kModeConnect || m >= kModeIntersection;
}

bool ToolContext::backspace() {
    if (!backspaceRoutes()) return false;
    call(modes.current()->onBack);
    return true;
}

bool ToolContext::commandRoutes(EditOp op) const {
    const bool nested = modes.depth() != 1;
    if (op == EditOp::Decide)
        return nested && (modes.mode() == kModeLine || modes.mode() == kModeDelete);
    // Keys G and B join and split what the multiple tool has taken (its first frame, or the
    // frame of the taken items); the key I takes the move's reference point at the cursor.
    if (op == EditOp::Join || op == EditOp::Split)
        return modes.mode() == kModeMultiple && modes.depth() <= 2 && modes.frame().stateIndex <= 1;
    if (op == EditOp::MoveByKey)
        return modes.mode() == kModeMultiple && modes.frame().stateIndex == 4;
    const Cmd id = CommandButton(op);
    return id != Cmd::None && modes.toolBarEnabled(id);
}

bool ToolContext::command(EditOp code) {
    if (!commandRoutes(code)) return false;
    if (code == EditOp::JoinSplit && modes.depth() == 1) selectToolMode(kModeMultiple);
    if (code == EditOp::Paste) {
        // Pasting starts over in the multiple tool; not in the middle of another operation.
        if (modes.depth() != 1) return false;
        selectToolMode(kModeMultiple);
    }
    currentCommand = code;
    call(modes.current()->onCommand);
    return true;
}

}  // namespace zevo
