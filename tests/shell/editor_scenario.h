// What the scenario tests of the tools share: an editor over a scripted host in a scratch
// folder, the view at 10 pixels per millimetre with the board's corner at the window's lower
// left, and mouse input at the pixels of board points.
#pragma once

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>

#include "scripted_host.h"
#include "view/board_renderer.h"

namespace zevo::test {

class EditorScenario : public ::testing::Test {
  protected:
    zevo::testing::ScratchDir dir;
    ScriptedHost host;
    Editor editor{host, ScratchPaths(dir)};
    Board& board = editor.doc.board;

    void SetUp() override {
        editor.startUp({});
        editor.finishStartUp();
        editor.options.longCursor = false;
        editor.view.SetView(10, 0, 0);
        editor.view.SetPickRadiusPixels(5);
    }
    // What the last tool operation did.
    ToolResult result() const { return editor.tools->lastResult(); }
    void pixel(Point p, int& x, int& y) const {
        const Point s = editor.view.WorldToScreen(p);
        x = int(std::lround(s.x)), y = int(std::lround(s.y));
    }
    void move(Point p, uint32_t keys = 0) {
        int x, y;
        pixel(p, x, y);
        editor.mouseMove(x, y, keys);
    }
    void clickPixel(int x, int y, uint32_t keys = 0) {
        editor.mouseMove(x, y, keys);
        editor.leftDown(x, y, keys | kMkLeft);
        editor.leftUp(x, y, keys);
    }
    void click(Point p, uint32_t keys = 0) {
        int x, y;
        pixel(p, x, y);
        clickPixel(x, y, keys);
    }
    // What the screen would show with nothing over the board (the editor draws the board edge).
    Framebuffer plainScreen() const {
        Framebuffer fb;
        fb.Resize(editor.view.clientWidth, editor.view.clientHeight);
        RenderOptions o;
        o.boardEdge = true;
        RenderBoard(board, editor.view, fb, o);
        return fb;
    }
    bool screenIs(const Framebuffer& fb) const {
        const auto want = fb.pixels(), got = editor.screen().pixels();
        return std::equal(want.begin(), want.end(), got.begin(), got.end());
    }
    bool screenIsPlain() const { return screenIs(plainScreen()); }
};

}  // namespace zevo::test
