// The exclusive-or overlay of the drawing tools: it is on the screen at most once, so showing it
// twice or hiding it twice never leaves a trace, and clearing takes it off before the lists go.
#include <algorithm>
#include <memory>
#include <vector>

#include "tools/tool_test_fixture.h"

namespace zevo::test {
namespace {

class OverlayTest : public ToolFixture {
  protected:
    OverlayTest() { ctx.screen = &screen; }
    ~OverlayTest() override { ctx.screen = nullptr; }

    std::vector<Pixel> Pixels() const { return {screen.pixels().begin(), screen.pixels().end()}; }
    drawn* Preview(Point p) { return board.CreateLand(1, 1, false, p); }

    Framebuffer screen{640, 480, 0};
    const std::vector<Pixel> blank = Pixels();
};

TEST_F(OverlayTest, ShowingTwiceDrawsOnceAndHidingTwiceRestoresTheScreenOnce) {
    ctx.overlay.cursorPreview.push_back(Preview({10, 10}));
    ctx.overlay.show();
    const std::vector<Pixel> shown = Pixels();
    EXPECT_NE(shown, blank);
    ctx.overlay.show();  // a second exclusive-or would erase it
    EXPECT_EQ(Pixels(), shown);
    EXPECT_TRUE(ctx.overlay.shown());
    EXPECT_EQ(ctx.overlay.toggles(), 1u);
    ctx.overlay.hide();
    EXPECT_EQ(Pixels(), blank);
    ctx.overlay.hide();  // nor may a second erase draw it again
    EXPECT_EQ(Pixels(), blank);
    EXPECT_FALSE(ctx.overlay.shown());
    EXPECT_EQ(ctx.overlay.toggles(), 2u);
}

TEST_F(OverlayTest, AfterTheScreenIsCopiedAgainTheOverlayIsDrawnAgain) {
    ctx.overlay.lineChain.push_back(board.CreateLine(1, 1, false, {5, 5}, {30, 20}));
    ctx.overlay.show();
    const std::vector<Pixel> shown = Pixels();
    screen.Clear(0);  // the back buffer copied over the screen
    ctx.overlay.lost();
    ctx.overlay.show();
    EXPECT_EQ(Pixels(), shown);
}

TEST_F(OverlayTest, ClearingHidesTheOverlayFirstAndKeepsWhatWasPutAside) {
    ctx.overlay.cursorPreview.push_back(Preview({10, 10}));
    ctx.overlay.arcPreview.push_back(board.CreateArc(1, 1, {20, 20}, 5, 0, 90));
    ctx.overlay.putAside.push_back(Preview({30, 30}));
    ctx.overlay.show();
    ctx.overlay.clear();
    EXPECT_EQ(Pixels(), blank);
    EXPECT_FALSE(ctx.overlay.shown());
    EXPECT_TRUE(ctx.overlay.cursorPreview.empty());
    EXPECT_TRUE(ctx.overlay.arcPreview.empty());
    EXPECT_EQ(ctx.overlay.putAside.size(), 1u);
    // Shown without elements, nothing is drawn and the screen counts no change.
    const uint64_t toggles = ctx.overlay.toggles();
    ctx.overlay.show();
    EXPECT_EQ(Pixels(), blank);
    EXPECT_EQ(ctx.overlay.toggles(), toggles);
}

TEST_F(OverlayTest, AContextGoingAwayDrawsNothingOnAScreenThatIsGone) {
    auto screen2 = std::make_unique<Framebuffer>(640, 480, 0);
    {
        ToolContext other(board, history, view, host);
        other.screen = screen2.get();
        other.overlay.cursorPreview.push_back(Preview({10, 10}));
        other.overlay.putAside.push_back(Preview({20, 20}));
        other.overlay.show();
        screen2.reset();  // the window went first; the context must not touch its buffer
    }
    SUCCEED();
}

}  // namespace
}  // namespace zevo::test
