#include "tools/delete_tool.h"

#include <cmath>

#include "text/strings.h"
#include "tools/drawing_tools.h"

namespace zevo {

namespace {

PixelPoint Pixel(int x, int y) {
    return {x, y};
}

ToolResult DeleteStart(ToolContext& c) {
    c.overlay.clear();
    c.modes.startTool(kModeDelete);
    return ToolResult::Reverted;
}

ToolResult UndoLast(ToolContext& c) {
    if (!c.history.Undo()) return ToolResult::Ignored;
    c.host.Repaint();
    return ToolResult::Reverted;
}

// Layer and definition choice make no sense while something is taken or the band is out.
void GreyWhileTaking(ToolContext& c, std::initializer_list<Cmd> buttons) {
    for (Cmd id : buttons) c.modes.setToolBarEnabled(id, false);
    c.host.SetDefinitionItemsEnabled(false, c.modes.toolBarEnabled(Cmd::SelectSettings));
    c.host.ToolBarChanged();
}

ToolResult DeleteClick0(ToolContext& c) {
    container* e = c.pickElement(c.cursorWorld());
    if (!e) {
        c.host.Beep();
        return ToolResult::Refused;
    }
    container* unit = (c.keys & kKeyCtrl) ? deleteUnit(e) : topItem(e);
    if (c.host.DeleteOnClick()) {
        ListNode* successor = unit->unlink(c.board.changes);
        UndoStep* step = c.history.BeginStep();
        c.history.RecordRemoved(step, unit, successor);
        c.history.CommitStep(step);
        c.host.DocumentModified();
        c.host.Repaint();
        return ToolResult::Committed;
    }
    UndoStep* step = c.history.BeginStep();
    c.selection.lift(unit, step);
    c.selection.addPending(step);
    c.selection.highlight(true);
    c.modes.pushState(2, kHintDeleteConfirm);
    GreyWhileTaking(c, {Cmd::LayerSelect});
    return ToolResult::NextState;
}

ToolResult DeleteDrag0(ToolContext& c) {
    c.overlay.band = true;
    c.overlay.bandAnchor = Pixel(c.pressX, c.pressY);
    c.overlay.bandCursor = Pixel(c.cursorX, c.cursorY);
    c.modes.pushState(1, kHintDeleteBand);
    GreyWhileTaking(c, {Cmd::LayerSelect, Cmd::SelectSettings, Cmd::ZoomTool, Cmd::ZoomOut});
    return ToolResult::NextState;
}

ToolResult DeleteCommand0(ToolContext& c) {
    if (c.currentCommand != EditOp::SelectSettings) return ToolResult::Ignored;
    DeleteSettingsModel m(c.host.DeleteOnClick());
    if (c.host.Run(m)) c.host.SetDeleteOnClick(m.deleteOnClick);
    return ToolResult::Handled;
}

ToolResult DeleteHover1(ToolContext& c) {
    c.overlay.bandCursor = Pixel(c.cursorX, c.cursorY);
    return ToolResult::Handled;
}

ToolResult EndBand(ToolContext& c) {
    c.overlay.band = false;
    return ToolResult::Handled;
}

// The button went up: what the rectangle holds is taken, or nothing and the band closes.
ToolResult DeleteClick1(ToolContext& c) {
    EndBand(c);
    const Point a = c.view.ScreenToWorld(c.pressX, c.pressY);
    const Point b = c.cursorWorld();
    UndoStep* step = c.selection.rectangleSelect(a, b);
    if (!step) {
        c.modes.popModes(1);
        c.host.Beep();
        return ToolResult::Refused;
    }
    c.selection.addPending(step);
    c.selection.highlight(true);
    c.modes.gotoState(2, kHintDeleteConfirm);
    return ToolResult::NextState;
}

ToolResult DeleteReset1(ToolContext& c) {
    EndBand(c);
    c.modes.popModes(1);
    return ToolResult::PopFrame;
}

// The taken elements leave for good: one undo step.
ToolResult DeleteConfirm(ToolContext& c) {
    c.selection.eraseHighlight();
    c.selection.clear();
    c.selection.commitAsOne();
    c.host.DocumentModified();
    c.modes.popModes(c.modes.depth() - 1);
    c.host.Repaint();
    return ToolResult::Committed;
}

ToolResult DeleteCommand2(ToolContext& c) {
    if (c.currentCommand != EditOp::Decide) return ToolResult::Ignored;
    return DeleteConfirm(c);
}

ToolResult DeleteCancel(ToolContext& c) {
    c.cancel();
    return ToolResult::Reverted;
}

template <ToolOp F>
constexpr ToolOp O = Overlaid<F>;

constexpr ToolState kDeleteStates[] = {
    {NoOp, O<DeleteClick0>, O<DeleteDrag0>, NoOp, O<DeleteCommand0>, O<UndoLast>, O<DeleteStart>},
    {O<DeleteHover1>, O<DeleteClick1>, NoOp, NoOp, NoOp, NoOp, O<DeleteReset1>},
    {NoOp, O<DeleteConfirm>, NoOp, NoOp, O<DeleteCommand2>, O<DeleteCancel>, O<DeleteCancel>},
};

}  // namespace

void InstallDeleteTool(ModeTable& table) {
    table[kModeDelete] = kDeleteStates;
}

}  // namespace zevo
