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
    EXPECT_EQ(ctx.depth(), 1);
    EXPECT_EQ(ctx.mode(), kModeRoundLand);
    EXPECT_EQ(ctx.currentToolState(), ctx.firstState(kModeRoundLand));
    EXPECT_EQ(ctx.currentDefKind, kDefLine);
}

TEST_F(ModeStack, SelectingAToolStartsItAndIsRefusedWhileAFrameIsPushed) {
    ctx.setToolBarEnabled(Cmd::LayerSelect, true);
    ctx.setToolBarEnabled(Cmd::NumericInput, true);
    ASSERT_TRUE(ctx.selectToolMode(kModeDelete));
    EXPECT_EQ(ctx.mode(), kModeDelete);
    EXPECT_EQ(host.lastHint(), kHintDelete);
    EXPECT_TRUE(ctx.toolBarState(Cmd::DeleteTool) & kTbChecked);
    EXPECT_FALSE(ctx.toolBarEnabled(Cmd::NumericInput));  // no typed coordinates in a selection tool
    EXPECT_FALSE(ctx.toolBarEnabled(Cmd::Intersection));
    EXPECT_EQ(ctx.currentDefKind, kDefSelection);
    EXPECT_TRUE(host.layerItem);  // items 98 and 99 follow buttons 300 and 301
    EXPECT_FALSE(host.apertureItem);

    ASSERT_TRUE(ctx.pushState(1, kHintDelete));
    EXPECT_FALSE(ctx.selectToolMode(kModeLine));
    EXPECT_EQ(ctx.mode(), kModeDelete);
    EXPECT_EQ(ctx.depth(), 2);

    ctx.popModes(1);
    ASSERT_TRUE(ctx.selectToolMode(kModeLine));
    EXPECT_EQ(ctx.currentDefKind, kDefLine);
    EXPECT_FALSE(ctx.toolBarState(Cmd::DeleteTool) & kTbChecked);  // one tool checked at a time
    EXPECT_TRUE(ctx.toolBarState(Cmd::Line) & kTbChecked);
    EXPECT_TRUE(ctx.toolBarEnabled(Cmd::NumericInput));
}

TEST_F(ModeStack, SelectingTheCurrentToolDoesNotRestartIt) {
    ASSERT_TRUE(ctx.selectToolMode(kModeArc));
    const size_t shown = host.hints.size();
    EXPECT_TRUE(ctx.selectToolMode(kModeArc));
    EXPECT_EQ(host.hints.size(), shown);
}

TEST_F(ModeStack, TenFramesAtMostAndAPushBeyondIsRefused) {
    ctx.selectToolMode(kModeMultiple);
    for (int i = 1; i < kFrameCount; ++i) ASSERT_TRUE(ctx.pushState(i % 6, 900 + i));
    EXPECT_EQ(ctx.depth(), 10);
    const ToolState* before = ctx.currentToolState();
    EXPECT_FALSE(ctx.pushState(1, 1));
    EXPECT_FALSE(ctx.pushMode(kModeZoom, kHintZoom));
    EXPECT_EQ(ctx.depth(), 10);
    EXPECT_EQ(ctx.currentToolState(), before);
    EXPECT_EQ(host.lastHint(), 909);

    EXPECT_FALSE(ctx.popModes(3));
    EXPECT_EQ(ctx.depth(), 7);
    EXPECT_EQ(host.lastHint(), 906);
    EXPECT_TRUE(ctx.popModes(50));  // never below the base frame
    EXPECT_EQ(ctx.depth(), 1);
    EXPECT_EQ(ctx.currentToolState(), ctx.firstState(kModeMultiple));
    EXPECT_EQ(host.lastHint(), kHintMultiple);
}

// The slot of the tool bar between the select/settings button and the drawing tools.
constexpr size_t kSeparatorSlot = 2;

TEST_F(ModeStack, PoppingRestoresStateHintAndToolBarButNotSeparators) {
    ctx.selectToolMode(kModeDeform);
    ctx.gotoState(1, 808);
    ctx.setToolBarEnabled(Cmd::Move, true);
    ctx.setToolBarChecked(Cmd::ZoomOut, true);
    ctx.toolBar[kSeparatorSlot] = kTbSeparator;
    ASSERT_TRUE(ctx.pushMode(kModeIntersection, kHintIntersection));
    EXPECT_EQ(ctx.mode(), kModeIntersection);
    EXPECT_FALSE(host.closeEnabled);

    ctx.setToolBarEnabled(Cmd::Move, false);
    ctx.setToolBarChecked(Cmd::ZoomOut, false);
    ctx.toolBar[kSeparatorSlot] = kTbSeparator | kTbEnabled;  // a separator is never restored
    EXPECT_TRUE(ctx.popModes(1));
    EXPECT_EQ(ctx.mode(), kModeDeform);
    EXPECT_EQ(ctx.currentToolState(), ctx.stateOf(kModeDeform, 1));
    EXPECT_EQ(host.lastHint(), 808);
    EXPECT_TRUE(ctx.toolBarEnabled(Cmd::Move));
    EXPECT_TRUE(ctx.toolBarState(Cmd::ZoomOut) & kTbChecked);
    EXPECT_EQ(ctx.toolBar[kSeparatorSlot], kTbSeparator | kTbEnabled);
    EXPECT_TRUE(host.closeEnabled);
}

TEST_F(ModeStack, StatesOutsideTheModeAreRefused) {
    ctx.selectToolMode(kModeLine);
    EXPECT_FALSE(ctx.gotoState(2, 1));
    EXPECT_FALSE(ctx.pushState(-1, 1));
    EXPECT_FALSE(ctx.pushMode(kModeCount, 1));
    EXPECT_EQ(ctx.depth(), 1);
    EXPECT_EQ(ctx.currentToolState(), ctx.firstState(kModeLine));
}

TEST_F(ModeStack, EnteringAToolWhileNestedReturnsToTheBaseAndReopensClose) {
    ctx.selectToolMode(kModeDelete);
    ctx.pushState(1, 1);
    ctx.pushState(2, 2);
    ctx.enterTool(kModeChange, kHintChange);
    EXPECT_EQ(ctx.depth(), 1);
    EXPECT_EQ(ctx.mode(), kModeChange);
    EXPECT_TRUE(host.closeEnabled);
}

// --- dispatch, with states that log what reaches them

std::vector<std::string> gLog;
ToolResult Log(std::string what) {
    gLog.push_back(std::move(what));
    return ToolResult::Handled;
}
ToolResult LogHover(ToolContext&) { return Log("hover"); }
ToolResult LogClick(ToolContext&) { return Log("click"); }
ToolResult LogDrag(ToolContext&) { return Log("drag"); }
ToolResult LogPoint(ToolContext&) { return Log("point"); }
ToolResult LogCommand(ToolContext& c) {
    return Log("command " + std::to_string(int(c.currentCommand)));
}
ToolResult LogBack(ToolContext&) { return Log("back"); }
ToolResult LogReset(ToolContext&) { return Log("reset"); }

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
    ctx.enterTool(kModeDelete, kHintDelete);
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
    ctx.enterTool(kModeDelete, kHintDelete);
    EXPECT_FALSE(ctx.backspace());  // nothing to undo
    UndoStep* s = history.BeginStep();
    land* a = Land({1, 1});
    history.RecordAdded(s, a);
    history.CommitStep(s);
    EXPECT_TRUE(ctx.backspace());
    EXPECT_EQ(gLog, (std::vector<std::string>{"back"}));

    gLog.clear();
    ctx.pushState(1, 1);
    EXPECT_FALSE(ctx.backspace());  // delete mode with nothing selected
    ctx.attachedElement = a;
    EXPECT_TRUE(ctx.backspace());
    ctx.attachedElement = nullptr;
    ctx.gotoState(2, 1);  // a state without a real back operation
    ctx.attachedElement = a;
    EXPECT_FALSE(ctx.backspace());
    ctx.attachedElement = nullptr;
    EXPECT_EQ(gLog, (std::vector<std::string>{"back"}));
}

TEST_F(ToolDispatch, BackspaceReachesLineArcConnectAndNestedModesWithoutASelection) {
    static const ToolState line2[] = {kLogging, kLogging};
    ModeTable t = LoggingTable();
    t[kModeLine] = line2;
    ToolContext c(board, history, view, host, t);
    c.enterTool(kModeLine, 1);
    c.pushState(1, 1);
    EXPECT_TRUE(c.backspaceRoutes());
    c.popModes(1);
    c.enterTool(kModeDelete, 1);
    c.pushState(1, 1);
    EXPECT_FALSE(c.backspaceRoutes());
}

TEST_F(ToolDispatch, CommandsFollowTheirButtonsAndDecideOnlyNestedInLineOrDelete) {
    ctx.enterTool(kModeDelete, kHintDelete);
    EXPECT_FALSE(ctx.command(EditOp::Mirror));
    ctx.setToolBarEnabled(Cmd::Mirror, true);
    EXPECT_TRUE(ctx.command(EditOp::Mirror));
    ctx.setToolBarEnabled(Cmd::Cut, true);
    EXPECT_TRUE(ctx.command(EditOp::DeleteElements));  // element delete follows the cut button
    EXPECT_FALSE(ctx.command(EditOp::Decide));
    ctx.pushState(1, 1);
    EXPECT_TRUE(ctx.command(EditOp::Decide));
    EXPECT_FALSE(ctx.command(EditOp::None));  // no operation: nothing is routed
    EXPECT_EQ(gLog, (std::vector<std::string>{"command 9", "command 5", "command 12"}));
}

TEST_F(ToolDispatch, PasteStartsTheMultipleToolAndIsNotRoutedWhileNested) {
    ctx.enterTool(kModeChange, kHintChange);
    ctx.setToolBarEnabled(Cmd::Paste, true);
    EXPECT_TRUE(ctx.command(EditOp::Paste));
    EXPECT_EQ(ctx.currentToolState(), ctx.firstState(kModeMultiple));
    EXPECT_EQ(gLog, (std::vector<std::string>{"reset", "command 8"}));

    gLog.clear();
    ctx.enterTool(kModeMultiple, kHintMultiple);
    ASSERT_TRUE(ctx.pushState(1, 1));
    EXPECT_FALSE(ctx.command(EditOp::Paste));
    EXPECT_TRUE(gLog.empty());
}

TEST_F(ToolDispatch, JoinSplitSwitchesToMultipleOnlyAtTheBase) {
    ctx.setToolBarEnabled(Cmd::JoinSplit, true);
    ctx.enterTool(kModeDelete, kHintDelete);
    ctx.pushState(1, 1);
    EXPECT_TRUE(ctx.command(EditOp::JoinSplit));
    EXPECT_EQ(ctx.currentToolState(), ctx.stateOf(kModeDelete, 1));
    ctx.popModes(1);
    EXPECT_TRUE(ctx.command(EditOp::JoinSplit));
    EXPECT_EQ(ctx.currentToolState(), ctx.firstState(kModeMultiple));
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
