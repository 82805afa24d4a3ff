#include "view/board_image.h"

#include <gtest/gtest.h>

#include "board/file/document.h"
#include "board/model/board.h"

namespace zevo {
namespace {

TEST(BoardImage, SizesAreWxHWithinTheLimits) {
    int w = 0, h = 0;
    EXPECT_TRUE(ParseImageSize("1920x1080", w, h));
    EXPECT_EQ(w, 1920);
    EXPECT_EQ(h, 1080);
    EXPECT_TRUE(ParseImageSize("8X8", w, h));
    for (const char* bad : {"", "1920", "x1080", "1920x", "7x100", "100x16385", "-5x10", "10x10x10",
                            "10 x10", "1e3x100"})
        EXPECT_FALSE(ParseImageSize(bad, w, h)) << bad;
}

TEST(BoardImage, TheExampleBoardIsDrawnFittedInEitherDirection) {
    Board board;
    ReadDocument(std::filesystem::path(ZEVO_EXAMPLES) / "example.pcb", board);
    ViewState view;
    Framebuffer fb;
    const size_t drawn = RenderFittedBoard(board, 320, 200, false, view, fb);
    EXPECT_GT(drawn, 10u);
    EXPECT_EQ(fb.width(), 320);
    EXPECT_EQ(fb.height(), 200);
    EXPECT_GE(view.scale, view.BoardFitScale());
    size_t lit = 0;
    for (Pixel p : fb.pixels()) lit += p != 0;
    EXPECT_GT(lit, 200u);

    Framebuffer mirrored;
    EXPECT_EQ(RenderFittedBoard(board, 320, 200, true, view, mirrored), drawn);
    EXPECT_TRUE(view.mirrored());

    // An empty board shows the board itself.
    Board empty;
    EXPECT_EQ(RenderFittedBoard(empty, 64, 48, false, view, fb), 0u);
    EXPECT_DOUBLE_EQ(view.scale, view.BoardFitScale());
}

}  // namespace
}  // namespace zevo
