#include "glyph_editor/strokel_ui.h"

#include <gtest/gtest.h>

namespace zevo {
namespace {

TEST(StrokelUi, TraceSwitchOfTheCommandLine) {
    EXPECT_TRUE(TraceSwitchGiven("-T"));
    EXPECT_TRUE(TraceSwitchGiven("/t"));
    EXPECT_TRUE(TraceSwitchGiven("  \t\x01-trace"));
    EXPECT_FALSE(TraceSwitchGiven(""));
    EXPECT_FALSE(TraceSwitchGiven("-"));
    EXPECT_FALSE(TraceSwitchGiven("T"));
    EXPECT_FALSE(TraceSwitchGiven("-x -T"));
    EXPECT_FALSE(TraceSwitchGiven("x-T"));
}

TEST(StrokelUi, CoordinatesAndTheMenuByState) {
    EXPECT_EQ(CoordinateText({3, 28}), "X: 3  Y:28");
    EXPECT_EQ(CoordinateText({31, 0}), "X:31  Y:0");

    GlyphEditor e;
    ASSERT_TRUE(e.SelectCode(0x8260));  // Ａ, in an empty font
    auto menu = StrokelContextMenu(e, false);
    ASSERT_EQ(menu.size(), 3u);
    EXPECT_EQ(menu[0].text, "元に戻す");
    EXPECT_FALSE(menu[0].enabled);  // no history yet
    EXPECT_EQ(menu[1].command, StrokelCommand::kNone);
    EXPECT_EQ(menu[2].text, "終了");
    EXPECT_TRUE(menu[2].enabled);

    // With the trace shown: the font choice and the magnification, then a separator.
    menu = StrokelContextMenu(e, true);
    ASSERT_EQ(menu.size(), 6u);
    EXPECT_EQ(menu[2].text, "フォント選択");
    EXPECT_EQ(menu[3].text, "倍率");
    EXPECT_EQ(menu[4].command, StrokelCommand::kNone);
    EXPECT_EQ(menu[5].text, "終了");

    // A stroke being drawn greys every item; once drawn, undo is offered.
    e.LeftDown({2, 2});
    e.LeftUp({2, 2});
    for (const auto& line : StrokelContextMenu(e, true)) EXPECT_FALSE(line.enabled);
    e.LeftDown({10, 2});
    e.LeftUp({10, 2});
    e.RightUp({10, 2});
    menu = StrokelContextMenu(e, true);
    EXPECT_TRUE(menu[0].enabled);
    EXPECT_TRUE(menu[2].enabled);
}

TEST(StrokelUi, MagnificationDialogKeepsItsRange) {
    TraceMagnificationModel m(kDefaultTraceHeight);
    EXPECT_EQ(m.text(), "1");
    EXPECT_EQ(TraceMagnificationModel(96).text(), "0.75");
    EXPECT_EQ(TraceMagnificationModel(100).text(), "0.781");
    for (const char* bad : {"0.49", "2.01", "abc", "", "1x", "-1"}) {
        m.edit(bad);
        EXPECT_FALSE(m.pressSet()) << bad;
        EXPECT_EQ(m.height(), 128);
    }
    m.edit("0.5");
    EXPECT_TRUE(m.pressSet());
    EXPECT_EQ(m.height(), 64);
    m.edit(" 2.0 ");
    EXPECT_TRUE(m.pressSet());
    EXPECT_EQ(m.height(), 256);
    m.edit("1.337");
    EXPECT_TRUE(m.pressSet());
    EXPECT_EQ(m.height(), 171);
}

}  // namespace
}  // namespace zevo
