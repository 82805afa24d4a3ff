#include <string>
#include <vector>

#include "text/strings.h"
#include "tool_test_fixture.h"

namespace zevo::test {
namespace {

TEST(ModeTable, EveryModeHasItsStatesAndAStartHintWithText) {
    const ModeTable& table = DefaultModeTable();
    const int states[kModeCount] = {1, 1, 2, 3, 1, 1, 2, 3, 5, 6, 1, 4, 6, 2, 2, 1, 3, 1, 1, 1};
    for (int m = 0; m < kModeCount; ++m) {
        EXPECT_EQ(int(table[size_t(m)].size()), states[m]) << "mode " << m;
        EXPECT_FALSE(TableText(kModes[size_t(m)].startHint).empty()) << "mode " << m;
        // Every slot holds an operation: the dispatcher never checks for holes.
        for (const ToolState& s : table[size_t(m)])
            for (ToolOp op : {s.onHover, s.onClick, s.onDragStart, s.onPointInput, s.onCommand,
                              s.onBack, s.onReset})
                EXPECT_NE(op, nullptr);
    }
    EXPECT_EQ(kModes[kModeMultiple].start, Cmd::Multiple);
    EXPECT_EQ(TableText(kHintZoom), "左クリックで拡大点の一方を選択");
}

using ModeStack = ToolFixture;

TEST_F(ModeStack, StartsInRoundLandAtTheBaseWithLineDefinitionKind) {
    EXPECT_EQ(ctx.modes.depth(), 1);
    EXPECT_EQ(ctx.modes.mode(), kModeRoundLand);
    EXPECT_EQ(ctx.modes.current(), ctx.modes.firstState(kModeRoundLand));
    EXPECT_EQ(ctx.modes.currentDefKind, kDefLine);
}

TEST_F(ModeStack, SelectingAToolStartsItAndIsRefusedWhileAFrameIsPushed) {
    ctx.modes.setToolBarEnabled(Cmd::LayerSelect, true);
    ctx.modes.setToolBarEnabled(Cmd::NumericInput, true);
    ASSERT_TRUE(ctx.selectToolMode(kModeDelete));
    EXPECT_EQ(ctx.modes.mode(), kModeDelete);
    EXPECT_EQ(host.lastHint(), kHintDelete);
    EXPECT_TRUE(ctx.modes.toolBarState(Cmd::DeleteTool) & kTbChecked);
    EXPECT_FALSE(
        ctx.modes.toolBarEnabled(Cmd::NumericInput));  // no typed coordinates in a selection tool
    EXPECT_FALSE(ctx.modes.toolBarEnabled(Cmd::Intersection));
    EXPECT_EQ(ctx.modes.currentDefKind, kDefSelection);
    EXPECT_TRUE(host.layerItem);  // items 98 and 99 follow buttons 300 and 301
    EXPECT_FALSE(host.apertureItem);

    ASSERT_TRUE(ctx.modes.pushState(1, kHintDelete));
    EXPECT_FALSE(ctx.selectToolMode(kModeLine));
    EXPECT_EQ(ctx.modes.mode(), kModeDelete);
    EXPECT_EQ(ctx.modes.depth(), 2);

    ctx.modes.popModes(1);
    ASSERT_TRUE(ctx.selectToolMode(kModeLine));
    EXPECT_EQ(ctx.modes.currentDefKind, kDefLine);
    EXPECT_FALSE(ctx.modes.toolBarState(Cmd::DeleteTool) &
                 kTbChecked);  // one tool checked at a time
    EXPECT_TRUE(ctx.modes.toolBarState(Cmd::Line) & kTbChecked);
    EXPECT_TRUE(ctx.modes.toolBarEnabled(Cmd::NumericInput));
}

TEST_F(ModeStack, SelectingTheCurrentToolDoesNotRestartIt) {
    ASSERT_TRUE(ctx.selectToolMode(kModeArc));
    const size_t shown = host.hints.size();
    EXPECT_TRUE(ctx.selectToolMode(kModeArc));
    EXPECT_EQ(host.hints.size(), shown);
}

TEST_F(ModeStack, TenFramesAtMostAndAPushBeyondIsRefused) {
    ctx.selectToolMode(kModeMultiple);
    for (int i = 1; i < kFrameCount; ++i) ASSERT_TRUE(ctx.modes.pushState(i % 6, 900 + i));
    EXPECT_EQ(ctx.modes.depth(), 10);
    const ToolState* before = ctx.modes.current();
    EXPECT_FALSE(ctx.modes.pushState(1, 1));
    EXPECT_FALSE(ctx.modes.pushMode(kModeZoom, kHintZoom));
    EXPECT_EQ(ctx.modes.depth(), 10);
    EXPECT_EQ(ctx.modes.current(), before);
    EXPECT_EQ(host.lastHint(), 909);

    EXPECT_FALSE(ctx.modes.popModes(3));
    EXPECT_EQ(ctx.modes.depth(), 7);
    EXPECT_EQ(host.lastHint(), 906);
    EXPECT_TRUE(ctx.modes.popModes(50));  // never below the base frame
    EXPECT_EQ(ctx.modes.depth(), 1);
    EXPECT_EQ(ctx.modes.current(), ctx.modes.firstState(kModeMultiple));
    EXPECT_EQ(host.lastHint(), kHintMultiple);
}

// The slot of the tool bar between the select/settings button and the drawing tools.
constexpr size_t kSeparatorSlot = 2;

TEST_F(ModeStack, PoppingRestoresStateHintAndToolBarButNotSeparators) {
    ctx.selectToolMode(kModeDeform);
    ctx.modes.gotoState(1, 808);
    ctx.modes.setToolBarEnabled(Cmd::Move, true);
    ctx.modes.setToolBarChecked(Cmd::ZoomOut, true);
    ctx.modes.toolBar[kSeparatorSlot] = kTbSeparator;
    ASSERT_TRUE(ctx.modes.pushMode(kModeIntersection, kHintIntersection));
    EXPECT_EQ(ctx.modes.mode(), kModeIntersection);
    EXPECT_FALSE(host.closeEnabled);

    ctx.modes.setToolBarEnabled(Cmd::Move, false);
    ctx.modes.setToolBarChecked(Cmd::ZoomOut, false);
    ctx.modes.toolBar[kSeparatorSlot] = kTbSeparator | kTbEnabled;  // a separator is never restored
    EXPECT_TRUE(ctx.modes.popModes(1));
    EXPECT_EQ(ctx.modes.mode(), kModeDeform);
    EXPECT_EQ(ctx.modes.current(), ctx.modes.stateOf(kModeDeform, 1));
    EXPECT_EQ(host.lastHint(), 808);
    EXPECT_TRUE(ctx.modes.toolBarEnabled(Cmd::Move));
    EXPECT_TRUE(ctx.modes.toolBarState(Cmd::ZoomOut) & kTbChecked);
    EXPECT_EQ(ctx.modes.toolBar[kSeparatorSlot], kTbSeparator | kTbEnabled);
    EXPECT_TRUE(host.closeEnabled);
}

TEST_F(ModeStack, StatesOutsideTheModeAreRefused) {
    ctx.selectToolMode(kModeLine);
    EXPECT_FALSE(ctx.modes.gotoState(2, 1));
    EXPECT_FALSE(ctx.modes.pushState(-1, 1));
    EXPECT_FALSE(ctx.modes.pushMode(kModeCount, 1));
    EXPECT_EQ(ctx.modes.depth(), 1);
    EXPECT_EQ(ctx.modes.current(), ctx.modes.firstState(kModeLine));
}

TEST_F(ModeStack, EnteringAToolWhileNestedReturnsToTheBaseAndReopensClose) {
    ctx.selectToolMode(kModeDelete);
    ctx.modes.pushState(1, 1);
    ctx.modes.pushState(2, 2);
    ctx.modes.enterTool(kModeChange, kHintChange);
    EXPECT_EQ(ctx.modes.depth(), 1);
    EXPECT_EQ(ctx.modes.mode(), kModeChange);
    EXPECT_TRUE(host.closeEnabled);
}

// --- dispatch, with states that log what reaches them

std::vector<std::string> gLog;
ToolResult Log(std::string what) {
    gLog.push_back(std::move(what));
    return ToolResult::Handled;
}
ToolResult LogHover(ToolContext&) {
    return Log("hover");
}
ToolResult LogClick(ToolContext&) {
    return Log("click");
}
ToolResult LogDrag(ToolContext&) {
    return Log("drag");
}
ToolResult LogPoint(ToolContext&) {
    return Log("point");
}
ToolResult LogCommand(ToolContext& c) {
    return Log("command " + std::to_string(int(c.currentCommand)));
}
ToolResult LogBack(ToolContext&) {
    return Log("back");
}
ToolResult LogReset(ToolContext&) {
    return Log("reset");
}

const ToolState kLogging{LogHover, LogClick, LogDrag, LogPoint, LogCommand, LogBack, LogReset};
const ToolState kLoggingNoBack{LogHover, LogClick, LogDrag, LogPoint, LogCommand, NoOp, LogReset};

const ModeTable& LoggingTable() {
    static const ModeTable table = [] {
        ModeTable t = DefaultModeTable();
        static const ToolState delete3[] = {kLogging, kLogging, kLoggingNoBack};
        static const ToolState multiple[] = {kLogging, kLogging};
        t[kModeDelete] = delete3;
        t[kModeMultiple] = multiple;
        t[kModeChange] = std::span<const ToolState>(&kLogging, 1);
        return t;
    }();
    return table;
}

class ToolDispatch : public ToolFixture {
  protected:
    ToolDispatch() : ToolFixture(LoggingTable()) { gLog.clear(); }
};

TEST_F(ToolDispatch, FourPixelsAreStillAClickAndFiveStartADrag) {
    ctx.modes.enterTool(kModeDelete, kHintDelete);
    ctx.mouseMove(100, 100, 0);
    ctx.leftDown(100, 100, kKeyLeft);
    ctx.mouseMove(104, 96, kKeyLeft);
    ctx.leftUp(104, 96, 0);
    EXPECT_EQ(gLog, (std::vector<std::string>{"hover", "click"}));

    gLog.clear();
    ctx.leftDown(100, 100, kKeyLeft);
    ctx.mouseMove(100, 105, kKeyLeft);
    EXPECT_TRUE(ctx.dragging());
    ctx.mouseMove(120, 120, kKeyLeft);  // the drag starts once
    ctx.leftUp(120, 120, 0);
    EXPECT_EQ(gLog, (std::vector<std::string>{"drag", "click"}));
    EXPECT_EQ(ctx.cursorX, 120);
}

TEST_F(ToolDispatch, BackspaceUndoesAtTheBaseOnlyWithHistoryAndAboveItOnlyWithWork) {
    ctx.modes.enterTool(kModeDelete, kHintDelete);
    EXPECT_FALSE(ctx.backspace());  // nothing to undo
    UndoStep* s = history.BeginStep();
    land* a = Land({1, 1});
    history.RecordAdded(s, a);
    history.CommitStep(s);
    EXPECT_TRUE(ctx.backspace());
    EXPECT_EQ(gLog, (std::vector<std::string>{"back"}));

    gLog.clear();
    ctx.modes.pushState(1, 1);
    EXPECT_FALSE(ctx.backspace());  // delete mode with nothing selected
    ctx.selection.attached = a;
    EXPECT_TRUE(ctx.backspace());
    ctx.selection.attached = nullptr;
    ctx.modes.gotoState(2, 1);  // a state without a real back operation
    ctx.selection.attached = a;
    EXPECT_FALSE(ctx.backspace());
    ctx.selection.attached = nullptr;
    EXPECT_EQ(gLog, (std::vector<std::string>{"back"}));
}

TEST_F(ToolDispatch, BackspaceReachesLineArcConnectAndNestedModesWithoutASelection) {
    static const ToolState line2[] = {kLogging, kLogging};
    ModeTable t = LoggingTable();
    t[kModeLine] = line2;
    ToolContext c(board, history, view, host, t);
    c.modes.enterTool(kModeLine, 1);
    c.modes.pushState(1, 1);
    EXPECT_TRUE(c.backspaceRoutes());
    c.modes.popModes(1);
    c.modes.enterTool(kModeDelete, 1);
    c.modes.pushState(1, 1);
    EXPECT_FALSE(c.backspaceRoutes());
}

TEST_F(ToolDispatch, CommandsFollowTheirButtonsAndDecideOnlyNestedInLineOrDelete) {
    ctx.modes.enterTool(kModeDelete, kHintDelete);
    EXPECT_FALSE(ctx.command(EditOp::Mirror));
    ctx.modes.setToolBarEnabled(Cmd::Mirror, true);
    EXPECT_TRUE(ctx.command(EditOp::Mirror));
    ctx.modes.setToolBarEnabled(Cmd::Cut, true);
    EXPECT_TRUE(ctx.command(EditOp::DeleteElements));  // element delete follows the cut button
    EXPECT_FALSE(ctx.command(EditOp::Decide));
    ctx.modes.pushState(1, 1);
    EXPECT_TRUE(ctx.command(EditOp::Decide));
    EXPECT_FALSE(ctx.command(EditOp::None));  // no operation: nothing is routed
    EXPECT_EQ(gLog, (std::vector<std::string>{"command 9", "command 5", "command 12"}));
}

TEST_F(ToolDispatch, PasteStartsTheMultipleToolAndIsNotRoutedWhileNested) {
    ctx.modes.enterTool(kModeChange, kHintChange);
    ctx.modes.setToolBarEnabled(Cmd::Paste, true);
    EXPECT_TRUE(ctx.command(EditOp::Paste));
    EXPECT_EQ(ctx.modes.current(), ctx.modes.firstState(kModeMultiple));
    EXPECT_EQ(gLog, (std::vector<std::string>{"reset", "command 8"}));

    gLog.clear();
    ctx.modes.enterTool(kModeMultiple, kHintMultiple);
    ASSERT_TRUE(ctx.modes.pushState(1, 1));
    EXPECT_FALSE(ctx.command(EditOp::Paste));
    EXPECT_TRUE(gLog.empty());
}

TEST_F(ToolDispatch, JoinSplitSwitchesToMultipleOnlyAtTheBase) {
    ctx.modes.setToolBarEnabled(Cmd::JoinSplit, true);
    ctx.modes.enterTool(kModeDelete, kHintDelete);
    ctx.modes.pushState(1, 1);
    EXPECT_TRUE(ctx.command(EditOp::JoinSplit));
    EXPECT_EQ(ctx.modes.current(), ctx.modes.stateOf(kModeDelete, 1));
    ctx.modes.popModes(1);
    EXPECT_TRUE(ctx.command(EditOp::JoinSplit));
    EXPECT_EQ(ctx.modes.current(), ctx.modes.firstState(kModeMultiple));
    EXPECT_EQ(gLog, (std::vector<std::string>{"command 4", "reset", "command 4"}));
}

TEST_F(ModeStack, BackspaceInAnIdleToolUndoesTheLastStep) {
    ctx.selectToolMode(kModeLine);
    UndoStep* s = history.BeginStep();
    history.RecordAdded(s, Land({1, 1}));
    history.CommitStep(s);
    EXPECT_TRUE(ctx.backspace());
    EXPECT_TRUE(board.items.emptyList());
    EXPECT_FALSE(ctx.backspace());
}

}  // namespace
}  // namespace zevo::test
