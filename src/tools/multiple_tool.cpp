#include "tools/multiple_tool.h"

#include <algorithm>
#include <cmath>
#include <ctime>

#include "board/file/clipboard_format.h"
#include "board/file/library.h"
#include "board/model/intern.h"
#include "text/cp932.h"
#include "text/strings.h"
#include "tools/deform_dialogs.h"
#include "tools/drawing_tools.h"

namespace zevo {

namespace {

enum MultipleState : int {
    kIdle = 0,
    kTaken = 1,
    kBandFirst = 2,  // the rubber band with nothing taken yet
    kBandMore = 3,   // the rubber band adding to what is taken
    kMoveFrom = 4,   // the move waits for its reference point
    kFloating = 5,
};

Point GridCursor(const ToolContext& c) {
    return c.view.ScreenToInput(c.cursorX, c.cursorY);
}

Point OnGrid(const ViewState& v, Point p) {
    if (!v.onGrid()) return {RoundToInput(p.x), RoundToInput(p.y)};
    return {SnapToGrid(p.x, v.gridOriginX, v.gridSpacing, !v.mirrored()),
            SnapToGrid(p.y, v.gridOriginY, v.gridSpacing, false)};
}

bool BoundsOf(const container* e, Box& out) {
    if (e->kind == kGroup) return Board::GroupBounds(AsGroup(e), out);
    if (!IsDrawn(e)) return false;
    out = AsDrawn(e)->bounds;
    return true;
}

bool ListBounds(const ListNode& items, Box& out) {
    bool any = false;
    for (const container* e : Items(items)) {
        Box b;
        if (!BoundsOf(e, b)) continue;
        if (!any)
            out = b;
        else
            out.grow(b);
        any = true;
    }
    return any;
}

// The highlight of the floating items is taken off the screen by copying the back buffer over
// where they are drawn: the back buffer holds the board without them.
void EraseFloating(ToolContext& c) {
    Box box;
    if (!c.screen || !c.back || !ListBounds(c.selection.list, box)) return;
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

// Pin name, net name and pin number go, at any depth: a joined or split copy is no pin.
void ClearPins(container* e) {
    if (e->kind == kGroup) {
        for (container* m : Items(AsGroup(e)->members)) ClearPins(m);
        return;
    }
    if (!IsDrawn(e)) return;
    drawn* d = AsDrawn(e);
    d->pinName = nullptr;
    d->netName = nullptr;
    d->pinNo = 0;
}

void SwapLayers(const Board& b, container* e) {
    if (e->kind == kGroup) {
        for (container* m : Items(AsGroup(e)->members)) SwapLayers(b, m);
        return;
    }
    if (!IsDrawn(e)) return;
    drawn* d = AsDrawn(e);
    d->layer = int16_t(b.SwapPartner(d->layer));
    d->updateBounds(b);
}

std::tm LocalNow() {
    const std::time_t t = std::time(nullptr);
    std::tm now{};
#if defined(_WIN32)
    localtime_s(&now, &t);
#else
    localtime_r(&t, &now);
#endif
    return now;
}

// --- the tool bar while items are taken

void ShowTakenButtons(ToolContext& c) {
    for (Cmd id :
         {Cmd::LayerSelect, Cmd::SelectSettings, Cmd::Move, Cmd::JoinSplit, Cmd::Cut, Cmd::Copy})
        c.modes.setToolBarEnabled(id, true);
    c.host.SetDefinitionItemsEnabled(true, true);
    c.host.ToolBarChanged();
}

// Floating: no definitions, no taking; mirror, rotate and typed points.
void ShowFloatingButtons(ToolContext& c) {
    for (Cmd id : {Cmd::LayerSelect, Cmd::SelectSettings, Cmd::Move, Cmd::JoinSplit, Cmd::Cut,
                   Cmd::Copy, Cmd::Paste})
        c.modes.setToolBarEnabled(id, false);
    for (Cmd id : {Cmd::Mirror, Cmd::Rotate, Cmd::NumericInput, Cmd::Intersection})
        c.modes.setToolBarEnabled(id, true);
    c.host.SetDefinitionItemsEnabled(false, false);
    c.host.ToolBarChanged();
}

// --- taking and letting go

bool Take(ToolContext& c) {
    container* e = c.pickElement(c.cursorWorld());
    if (!e) return false;
    UndoStep* step = c.history.BeginStep();
    c.selection.lift(topItem(e), step);
    c.selection.addPending(step);
    c.selection.highlight(true);
    return true;
}

// The item (or the rectangle's items) taken last goes back to its place; with nothing left
// the tool is back at its start.
ToolResult ReleaseLast(ToolContext& c) {
    auto& pending = c.selection.pending;
    if (pending.empty()) return ToolResult::Ignored;
    c.selection.eraseHighlight();
    UndoStep* last = pending.back();
    pending.pop_back();
    c.history.RevertStep(last);
    c.host.Repaint();
    if (pending.empty() && c.selection.empty()) {
        c.multiple.attach = false;
        c.modes.popModes(c.modes.depth() - 1);
        return ToolResult::Reverted;
    }
    c.selection.highlight(true);
    return ToolResult::Reverted;
}

// All pending steps of the operation as one, still open.
UndoStep* MergePending(ToolContext& c) {
    auto& pending = c.selection.pending;
    if (pending.empty()) return c.history.BeginStep();
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

void AppendAdded(ToolContext& c, UndoStep* step, container* e) {
    e->parent = nullptr;
    e->insertBefore(&c.board.items, c.board.changes);
    c.history.RecordAdded(step, e);
}

// The operation is over: one committed step, the tool back at its start.
ToolResult Finish(ToolContext& c, UndoStep* step) {
    c.history.CommitStep(step);
    c.multiple.attach = false;
    c.host.DocumentModified();
    c.modes.popModes(c.modes.depth() - 1);
    c.host.Repaint();
    return ToolResult::Committed;
}

ToolResult Cancel(ToolContext& c) {
    c.multiple.attach = false;
    c.cancel();
    return ToolResult::Reverted;
}

// --- state 0

ToolResult MultipleStart(ToolContext& c) {
    c.overlay.clear();
    c.multiple.attach = false;
    c.modes.startTool(kModeMultiple);
    c.modes.setToolBarEnabled(Cmd::SelectSettings, true);
    c.host.ToolBarChanged();
    return ToolResult::Reverted;
}

ToolResult UndoLast(ToolContext& c) {
    if (!c.history.Undo()) return ToolResult::Ignored;
    c.host.Repaint();
    return ToolResult::Reverted;
}

ToolResult Click0(ToolContext& c) {
    c.multiple.attach = (c.keys & kKeyCtrl) != 0;
    if ((c.keys & kKeyShift) || !Take(c)) {
        c.multiple.attach = false;
        return Refuse(c);
    }
    c.modes.pushState(kTaken, kHintMultipleTaken);
    ShowTakenButtons(c);
    return ToolResult::NextState;
}

ToolResult StartBand(ToolContext& c, int state) {
    c.overlay.band = true;
    c.overlay.bandAnchor = {c.pressX, c.pressY};
    c.overlay.bandCursor = {c.cursorX, c.cursorY};
    c.modes.pushState(state, kHintMultipleBand);
    return ToolResult::NextState;
}

ToolResult Drag0(ToolContext& c) {
    c.multiple.attach = false;
    return StartBand(c, kBandFirst);
}

ToolResult PasteBytes(ToolContext& c, std::string_view bytes) {
    const Point at = GridCursor(c);
    if (!ReadClipboard(bytes, c.board, at, c.selection.list)) return ToolResult::Ignored;
    if (c.selection.empty()) return ToolResult::Ignored;
    ApplyPastedPartRule(c.board, c.selection.list, at, LocalNow());
    c.multiple.floatRef = at;
    // Typed points of the pasted items count from the grid origin.
    c.drawing.lastPoint = {c.view.gridOriginX, c.view.gridOriginY};
    c.modes.pushState(kFloating, kHintMultipleFloating);
    ShowFloatingButtons(c);
    c.selection.highlight(true);
    return ToolResult::NextState;
}

ToolResult Paste(ToolContext& c) {
    const std::optional<std::string> bytes = c.host.Clipboard();
    if (!bytes) return ToolResult::Ignored;
    return PasteBytes(c, *bytes);
}

// "部品入力": the part chosen is read from its library (turned over when asked), put on the
// clipboard with its origin as the reference, and pasted from there.
ToolResult InsertPart(ToolContext& c) {
    PartInsertModel m(LibrariesInUse(c.board), [&c](const std::string& library) {
        return ListParts(c.host.LibraryPath(library)).value_or(std::vector<std::string>{});
    });
    if (!c.host.Run(m)) return ToolResult::Handled;
    if (m.entry.empty() || m.library < 0 || size_t(m.library) >= m.libraries.size())
        return Refuse(c);
    const PartKey key = SplitPartEntry(m.entry);
    ListNode scratch;
    scratch.initHead();
    if (!LoadPart(c.host.LibraryPath(m.libraries[size_t(m.library)]), c.board, key.name,
                  key.attribute, scratch))
        return Refuse(c);
    for (container* e : Items(scratch)) {
        if (!m.turnOver) break;
        SwapLayers(c.board, e);
        e->mirror(c.board, 0);
    }
    const std::string bytes = WriteClipboard(scratch, {0, 0});
    for (container* e : Items(scratch)) {
        e->unlink(c.board.changes);
        e->destroy(c.board);
    }
    c.host.SetClipboard(bytes);
    return PasteBytes(c, bytes);
}

ToolResult Command0(ToolContext& c) {
    switch (c.currentCommand) {
        case EditOp::LayerSelect:
            return ChooseLayer(c);
        case EditOp::SelectSettings: {
            SelectionSettings now = c.host.SelectionOptions();
            MultipleSettingsModel m(now.multiClickDeselects);
            if (c.host.Run(m)) {
                now.multiClickDeselects = m.clickDeselects;
                c.host.SetSelectionOptions(now);
            }
            return ToolResult::Handled;
        }
        case EditOp::Paste:
            return Paste(c);
        case EditOp::JoinSplit:
            return InsertPart(c);
        case EditOp::Join:
        case EditOp::Split:
            // Nothing is taken to join or split.
            return Refuse(c);
        default:
            return ToolResult::Ignored;
    }
}

// --- the rubber bands (states 2 and 3)

ToolResult BandHover(ToolContext& c) {
    c.overlay.bandCursor = {c.cursorX, c.cursorY};
    return ToolResult::Handled;
}

UndoStep* BandSelect(ToolContext& c) {
    c.overlay.band = false;
    return c.selection.rectangleSelect(c.view.ScreenToWorld(c.pressX, c.pressY), c.cursorWorld());
}

ToolResult BandClickFirst(ToolContext& c) {
    UndoStep* step = BandSelect(c);
    if (!step) {
        c.modes.popModes(1);
        return Refuse(c);
    }
    c.selection.addPending(step);
    c.selection.highlight(true);
    c.modes.gotoState(kTaken, kHintMultipleTaken);
    ShowTakenButtons(c);
    return ToolResult::NextState;
}

ToolResult BandClickMore(ToolContext& c) {
    const bool refused = (c.keys & kKeyShift) || c.host.SelectionOptions().multiClickDeselects;
    if (refused) {
        c.overlay.band = false;
        c.modes.popModes(1);
        return Refuse(c);
    }
    UndoStep* step = BandSelect(c);
    c.modes.popModes(1);
    if (!step) return Refuse(c);
    c.selection.addPending(step);
    c.selection.highlight(true);
    return ToolResult::Pending;
}

ToolResult BandResetFirst(ToolContext& c) {
    c.overlay.band = false;
    c.modes.popModes(1);
    return ToolResult::PopFrame;
}

// --- state 1: items taken

ToolResult Click1(ToolContext& c) {
    if (!(c.keys & kKeyShift)) {
        if (Take(c)) return ToolResult::Pending;
        if (!c.host.SelectionOptions().multiClickDeselects) return Refuse(c);
    }
    return ReleaseLast(c);
}

ToolResult Drag1(ToolContext& c) {
    return StartBand(c, kBandMore);
}

ToolResult DeleteTaken(ToolContext& c) {
    c.selection.eraseHighlight();
    c.selection.clear();
    return Finish(c, MergePending(c));
}

bool CopyTaken(ToolContext& c) {
    const Point ref = SelectionReference(c.view, c.board, c.selection.list);
    // A clipboard that cannot be set keeps what it had; nothing is said.
    return c.host.SetClipboard(WriteClipboard(c.selection.list, ref));
}

// Copies of the taken items go to the board in the place of the items, one step.
template <class F>
ToolResult ReplaceTaken(ToolContext& c, F&& makeCopies) {
    c.selection.eraseHighlight();
    std::vector<container*> taken;
    for (container* e : Items(c.selection.list)) taken.push_back(e);
    c.selection.clear();
    UndoStep* step = MergePending(c);
    makeCopies(taken, [&](container* copy) { AppendAdded(c, step, copy); });
    return Finish(c, step);
}

ToolResult Join(ToolContext& c) {
    const bool attach = c.multiple.attach;
    return ReplaceTaken(c, [&](const std::vector<container*>& taken, auto add) {
        if (taken.size() == 1) {
            add(taken[0]->clone(c.board));
            return;
        }
        const bool toFirst = attach && taken[0]->kind == kGroup;
        group* target = toFirst ? AsGroup(taken[0]->clone(c.board)) : c.board.CreateGroup(nullptr);
        for (size_t i = toFirst ? 1 : 0; i < taken.size(); ++i) {
            container* copy = taken[i]->clone(c.board);
            ClearPins(copy);
            c.board.AppendElement(target, copy);
        }
        add(target);
    });
}

ToolResult Split(ToolContext& c) {
    return ReplaceTaken(c, [&](const std::vector<container*>& taken, auto add) {
        for (container* e : taken) {
            if (e->kind != kGroup) {
                container* copy = e->clone(c.board);
                ClearPins(copy);
                add(copy);
                continue;
            }
            for (container* m : Items(AsGroup(e)->members)) {
                container* copy = m->clone(c.board);
                ClearPins(copy);
                add(copy);
            }
        }
    });
}

// The items change sides: every layer becomes its swap partner, mirrored about the reference.
ToolResult TurnOver(ToolContext& c) {
    const Point ref = SelectionReference(c.view, c.board, c.selection.list);
    return ReplaceTaken(c, [&](const std::vector<container*>& taken, auto add) {
        for (container* e : taken) {
            container* copy = e->clone(c.board);
            SwapLayers(c.board, copy);
            copy->mirror(c.board, ref.x);
            add(copy);
        }
    });
}

std::string_view DropLeadingBlanks(std::string_view s) {
    while (!s.empty() && s.front() == ' ') s.remove_prefix(1);
    return s;
}

// The taken items become a part: written to the library chosen in "部品登録" relative to the
// part's origin, and on the board one group with a part placement at the origin, one step.
ToolResult RegisterTaken(ToolContext& c) {
    const std::vector<std::string> libraries = LibrariesInUse(c.board);
    PartRegisterModel m(libraries);
    if (!c.host.Run(m)) return ToolResult::Handled;
    const std::string name(DropLeadingBlanks(Utf8ToCp932(m.name)));
    const std::string attribute(DropLeadingBlanks(Utf8ToCp932(m.attribute)));
    if (m.library < 0 || size_t(m.library) >= libraries.size() || name.empty()) return Refuse(c);

    std::vector<container*> taken;
    for (container* e : Items(c.selection.list)) taken.push_back(e);
    // One group taken: its members are the part's.
    const bool oneGroup = taken.size() == 1 && taken[0]->kind == kGroup;
    const ListNode& elements = oneGroup ? AsGroup(taken[0])->members : c.selection.list;
    Point origin;
    if (const std::optional<Point> o = PartOrigin(c.board, taken)) {
        origin = *o;
    } else {
        // The centre of the bounds, taken as a click there would be.
        Box b;
        ListBounds(elements, b);
        const Point s = c.view.WorldToScreen((b.minX + b.maxX) / 2, (b.minY + b.maxY) / 2);
        origin = c.view.ScreenToInput(std::lround(s.x), std::lround(s.y));
    }
    const std::optional<std::filesystem::path> target =
        c.host.LibraryWritePath(libraries[size_t(m.library)]);
    const LibraryResult r =
        target ? RegisterPart(*target, attribute, name, elements, origin,
                              [&] { return c.host.AskYesNo(TableText(kMsgPartRegistered)); })
               : LibraryResult::kCannotWrite;
    switch (r) {
        case LibraryResult::kDone:
            break;
        case LibraryResult::kCannotWrite:
            c.host.Message(TableText(kMsgLibraryNotWritten));
            return ToolResult::Handled;
        case LibraryResult::kNotReplaced:
            return ToolResult::Handled;
        default:
            return Refuse(c);
    }
    return ReplaceTaken(c, [&](const std::vector<container*>& items, auto add) {
        group* part = c.board.CreateGroup(Intern(name));
        if (!attribute.empty()) part->attribute = Intern(attribute);
        part->ext = c.board.CreatePartPlacement(origin, 0);
        if (oneGroup) {
            for (const container* e : Items(AsGroup(items[0])->members))
                c.board.AppendElement(part, e->clone(c.board));
        } else {
            for (const container* e : items) c.board.AppendElement(part, e->clone(c.board));
        }
        add(part);
    });
}

int32_t ClassOfTaken(ToolContext& c) {
    bool anyGroup = false;
    size_t n = 0;
    bool firstIsGroup = false;
    for (const container* e : Items(c.selection.list)) {
        if (n == 0) firstIsGroup = e->kind == kGroup;
        anyGroup = anyGroup || e->kind == kGroup;
        ++n;
    }
    return SelectionClass(anyGroup, n, c.multiple.attach, firstIsGroup);
}

ToolResult GroupDialog(ToolContext& c) {
    GroupSettingsModel m(ClassOfTaken(c));
    if (!c.host.Run(m)) return ToolResult::Handled;
    switch (m.choice) {
        case GroupSettingsModel::Choice::kJoin:
            return Join(c);
        case GroupSettingsModel::Choice::kSplit:
            return Split(c);
        case GroupSettingsModel::Choice::kTurnOver:
            return TurnOver(c);
        case GroupSettingsModel::Choice::kRegister:
            return RegisterTaken(c);
        case GroupSettingsModel::Choice::kCancel:
            break;
    }
    return ToolResult::Handled;
}

ToolResult StartMove(ToolContext& c) {
    c.modes.gotoState(kMoveFrom, kHintMultipleMoveFrom);
    for (Cmd id :
         {Cmd::LayerSelect, Cmd::SelectSettings, Cmd::Move, Cmd::JoinSplit, Cmd::Cut, Cmd::Copy})
        c.modes.setToolBarEnabled(id, false);
    c.modes.setToolBarEnabled(Cmd::NumericInput, true);
    c.modes.setToolBarEnabled(Cmd::Intersection, true);
    c.host.SetDefinitionItemsEnabled(false, false);
    c.host.ToolBarChanged();
    return ToolResult::NextState;
}

ToolResult Command1(ToolContext& c) {
    switch (c.currentCommand) {
        case EditOp::Move:
            return StartMove(c);
        case EditOp::DeleteElements:
            return DeleteTaken(c);
        case EditOp::Cut:
            CopyTaken(c);
            return DeleteTaken(c);
        case EditOp::Copy:
            CopyTaken(c);
            c.multiple.attach = false;
            c.cancel();
            return ToolResult::PopFrame;
        case EditOp::JoinSplit:
            return GroupDialog(c);
        case EditOp::Join:
            return Join(c);
        case EditOp::Split:
            return Split(c);
        default:
            return ToolResult::Ignored;
    }
}

// --- state 4: where the move starts

bool OnBoard(const Board& b, Point p) {
    return p.x >= 0 && p.y >= 0 && p.x <= b.sizeX && p.y <= b.sizeY;
}

// The taken items stay out of the board (their removal pending); copies float in their place.
ToolResult Lift(ToolContext& c, Point at) {
    c.multiple.floatRef = at;
    c.drawing.lastPoint = at;
    c.selection.eraseHighlight();
    std::vector<container*> taken;
    for (container* e : Items(c.selection.list)) taken.push_back(e);
    for (container* e : taken) {
        container* copy = e->clone(c.board);
        copy->insertBefore(e, c.board.changes);
        e->unlink(c.board.changes);
    }
    c.modes.gotoState(kFloating, kHintMultipleFloating);
    ShowFloatingButtons(c);
    c.selection.highlight(true);
    return ToolResult::NextState;
}

ToolResult Click4(ToolContext& c) {
    return Lift(c, GridCursor(c));
}

ToolResult Point4(ToolContext& c) {
    if (!OnBoard(c.board, c.inputPoint)) return Refuse(c);
    return Lift(c, c.inputPoint);
}

ToolResult Command4(ToolContext& c) {
    switch (c.currentCommand) {
        case EditOp::MoveByKey:
            return Click4(c);
        case EditOp::NumericInput:
            return NumericInput(c, false);
        default:
            return ToolResult::Ignored;
    }
}

// --- state 5: floating

void FloatTo(ToolContext& c, Point p) {
    const double dx = p.x - c.multiple.floatRef.x, dy = p.y - c.multiple.floatRef.y;
    c.multiple.floatRef = p;
    if (dx == 0 && dy == 0) return;
    for (container* e : Items(c.selection.list)) e->translate(c.board, dx, dy);
}

ToolResult Hover5(ToolContext& c) {
    const Point p = GridCursor(c);
    if (p == c.multiple.floatRef) return ToolResult::Ignored;
    EraseFloating(c);
    FloatTo(c, p);
    c.selection.highlight(true);
    return ToolResult::Handled;
}

ToolResult PutDown(ToolContext& c, Point p) {
    EraseFloating(c);
    FloatTo(c, p);
    for (const container* e : Items(c.selection.list))
        if (OffBoard(c.board, e)) {
            c.selection.highlight(true);
            return Refuse(c);
        }
    std::vector<container*> floating;
    for (container* e : Items(c.selection.list)) floating.push_back(e);
    c.selection.clear();
    UndoStep* step = MergePending(c);
    for (container* e : floating) AppendAdded(c, step, e);
    c.drawing.lastPoint = p;
    return Finish(c, step);
}

ToolResult Click5(ToolContext& c) {
    return PutDown(c, GridCursor(c));
}

ToolResult Point5(ToolContext& c) {
    return PutDown(c, c.inputPoint);
}

ToolResult Turn(ToolContext& c, bool mirror, double angle) {
    EraseFloating(c);
    for (container* e : Items(c.selection.list)) {
        if (mirror)
            e->mirror(c.board, c.multiple.floatRef.x);
        else
            e->rotate(c.board, c.multiple.floatRef, angle);
    }
    c.selection.highlight(true);
    return ToolResult::Handled;
}

ToolResult Command5(ToolContext& c) {
    switch (c.currentCommand) {
        case EditOp::Mirror:
            return Turn(c, true, 0);
        case EditOp::Rotate: {
            if (!c.host.SelectionOptions().anyAngleRotation && !(c.keys & kKeyCtrl))
                return Turn(c, false, kPi / 2);
            RotationAngleModel m;
            c.host.Run(m);
            if (!m.decided()) return ToolResult::Handled;
            return Turn(c, false, ToRadians(m.degrees));
        }
        case EditOp::NumericInput:
            return NumericInput(c, true);
        default:
            return ToolResult::Ignored;
    }
}

template <ToolOp F>
constexpr ToolOp O = Overlaid<F>;

constexpr ToolState kMultipleStates[] = {
    {NoOp, O<Click0>, O<Drag0>, NoOp, O<Command0>, O<UndoLast>, O<MultipleStart>},
    {NoOp, O<Click1>, O<Drag1>, NoOp, O<Command1>, O<ReleaseLast>, O<Cancel>},
    {O<BandHover>, O<BandClickFirst>, NoOp, NoOp, NoOp, NoOp, O<BandResetFirst>},
    {O<BandHover>, O<BandClickMore>, NoOp, NoOp, NoOp, NoOp, O<Refuse>},
    {NoOp, O<Click4>, NoOp, O<Point4>, O<Command4>, O<Cancel>, O<Cancel>},
    {O<Hover5>, O<Click5>, NoOp, O<Point5>, O<Command5>, O<Cancel>, O<Cancel>},
};

}  // namespace

void InstallMultipleTool(ModeTable& table) {
    table[kModeMultiple] = kMultipleStates;
}

int32_t SelectionClass(bool anyGroup, size_t count, bool attach, bool firstIsGroup) {
    if (attach && count >= 2 && firstIsGroup) return 5;
    return (anyGroup ? 1 : 0) | (count == 1 ? 2 : 0);
}

Point SelectionReference(const ViewState& view, const Board& board, const ListNode& items) {
    const ListNode* list = &items;
    auto onlyGroup = [](const ListNode* l) -> const group* {
        if (l->next == l || l->next->next != l) return nullptr;
        const container* e = AsElement(l->next);
        return e->kind == kGroup ? AsGroup(e) : nullptr;
    };
    // Groups that hold nothing but one group are looked through.
    for (const group* g = onlyGroup(list); g && onlyGroup(&g->members); g = onlyGroup(list))
        list = &g->members;
    if (const group* g = onlyGroup(list); g && g->ext) return g->ext->pt;
    const drawn* origin = nullptr;
    int origins = 0;
    for (const container* e : Items(*list)) {
        if (e->kind != kLand) continue;
        const drawn* d = AsDrawn(e);
        if (d->square() || !board.HasRole(d->layer, kRoleOrigin)) continue;
        origin = d;
        ++origins;
    }
    if (origins == 1) return origin->ref();
    Box b;
    if (!ListBounds(*list, b)) return OnGrid(view, {});
    return OnGrid(view, {(b.minX + b.maxX) / 2, (b.minY + b.maxY) / 2});
}

}  // namespace zevo
