#include "shell/mouse_machine.h"

#include <gtest/gtest.h>

#include <string>

namespace zevo::test {
namespace {

// Records what the machine drives, as a string of letters.
struct Recorder : MouseTarget {
    std::string log;
    bool drags = true;
    void hover(int, int, uint32_t) override { log += 'h'; }
    void click() override { log += 'c'; }
    void dragStart() override { log += 'd'; }
    void reset() override { log += 'r'; }
    bool acceptsDrags() const override { return drags; }
    void sendBackspace() override { log += 'B'; }
    void sendReturn() override { log += 'R'; }
    void gesture(Gesture g, int, int, uint32_t) override { log += "0VTE"[int(g)]; }
};

struct MouseMachineTest : ::testing::Test {
    Recorder r;
    MouseMachine m{r};
};

TEST_F(MouseMachineTest, ClickAndDrag) {
    m.leftDown(10, 10, kMkLeft);
    m.move(12, 13, kMkLeft);  // within 4 pixels: a hover, no drag
    m.leftUp(12, 13, 0);
    EXPECT_EQ(r.log, "hc");
    EXPECT_EQ(m.state(), MouseState::kIdle);

    r.log.clear();
    m.leftDown(10, 10, kMkLeft);
    m.move(15, 10, kMkLeft);  // 5 pixels in x: the drag starts
    EXPECT_EQ(m.state(), MouseState::kDragging);
    m.move(40, 40, kMkLeft);  // nothing while dragging
    m.leftUp(40, 40, 0);
    EXPECT_EQ(r.log, "dc");

    // A tool without drags only hovers.
    r.log.clear();
    r.drags = false;
    m.leftDown(10, 10, kMkLeft);
    m.move(50, 50, kMkLeft);
    m.leftUp(50, 50, 0);
    EXPECT_EQ(r.log, "hc");
}

TEST_F(MouseMachineTest, DragEndedWithAnotherButtonHeldResets) {
    m.leftDown(0, 0, kMkLeft);
    m.move(10, 0, kMkLeft);
    m.leftUp(10, 0, kMkRight);
    EXPECT_EQ(r.log, "dr");
    EXPECT_EQ(m.state(), MouseState::kWaitAllUp);
    m.move(10, 0, kMkRight);
    EXPECT_EQ(m.state(), MouseState::kWaitAllUp);
    m.rightUp(10, 0, 0);
    EXPECT_EQ(m.state(), MouseState::kIdle);
}

TEST_F(MouseMachineTest, ChordsConfirmAndStepBack) {
    // Left held, right clicked: Return.
    m.leftDown(0, 0, kMkLeft);
    m.rightDown(0, 0, kMkLeft | kMkRight);
    m.rightUp(0, 0, kMkLeft);
    EXPECT_EQ(r.log, "R");
    m.leftUp(0, 0, 0);
    EXPECT_EQ(m.state(), MouseState::kIdle);

    // Right held, left clicked twice: Backspace each time.
    r.log.clear();
    m.rightDown(0, 0, kMkRight);
    m.leftDown(0, 0, kMkLeft | kMkRight);
    m.leftUp(0, 0, kMkRight);
    m.leftDown(0, 0, kMkLeft | kMkRight);
    m.leftUp(0, 0, kMkRight);
    m.rightUp(0, 0, 0);
    EXPECT_EQ(r.log, "BB");
    EXPECT_EQ(m.state(), MouseState::kIdle);
}

TEST_F(MouseMachineTest, RightReleaseIsAClickNearItsPressAndAGestureFarAway) {
    m.rightDown(100, 100, kMkRight);
    m.rightUp(110, 90, 0);  // 10 pixels: still a click
    m.rightDown(100, 100, kMkRight);
    m.rightUp(111, 100, 0);  // right
    m.rightDown(100, 100, kMkRight);
    m.rightUp(80, 101, 0);  // left
    m.rightDown(100, 100, kMkRight);
    m.rightUp(120, 130, 0);  // mostly vertical
    m.rightDown(100, 100, kMkRight);
    m.rightUp(100, 100, kMkControl);  // with Control: nothing
    EXPECT_EQ(r.log, "0TEV");
    EXPECT_EQ(m.state(), MouseState::kWaitAllUp);
    m.move(0, 0, 0);
    EXPECT_EQ(m.state(), MouseState::kIdle);
}

TEST_F(MouseMachineTest, PressesWithAnotherButtonHeldAreIgnored) {
    m.leftDown(0, 0, kMkLeft | kMkMiddle);
    EXPECT_EQ(m.state(), MouseState::kIdle);
    m.rightDown(0, 0, kMkRight | kMkLeft);
    EXPECT_EQ(m.state(), MouseState::kIdle);
    // A middle button during a press ends in waiting for all buttons.
    m.leftDown(0, 0, kMkLeft);
    m.move(20, 0, kMkLeft | kMkMiddle);
    EXPECT_EQ(m.state(), MouseState::kWaitAllUp);
    EXPECT_EQ(r.log, "");
}

}  // namespace
}  // namespace zevo::test
