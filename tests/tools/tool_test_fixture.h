// A board, its undo history, a view of 10 pixels per millimetre and a host that records what the
// tools asked of it.
#pragma once

#include <gtest/gtest.h>

#include <cmath>
#include <string>
#include <vector>

#include "board/model/intern.h"
#include "tools/tool_context.h"

namespace zevo::test {

struct RecordingHost : ToolHost {
    int beeps = 0;
    int repaints = 0;
    int toolBarChanges = 0;
    std::vector<int> hints;
    bool closeEnabled = true;
    bool layerItem = false, apertureItem = false;

    void Beep() override { ++beeps; }
    void ShowHint(int id) override { hints.push_back(id); }
    void SetDefinitionItemsEnabled(bool l, bool a) override { layerItem = l, apertureItem = a; }
    void SetCloseEnabled(bool on) override { closeEnabled = on; }
    void ToolBarChanged() override { ++toolBarChanges; }
    void Repaint() override { ++repaints; }
    int lastHint() const { return hints.empty() ? 0 : hints.back(); }
};

class ToolFixture : public ::testing::Test {
  protected:
    explicit ToolFixture(const ModeTable& modes = DefaultModeTable())
        : ctx(board, history, view, host, modes) {
        board.SetRoundAperture(1, 0.5);  // lines and lands 1 mm wide
        board.SetSquareAperture(1, 0.5);
        view.SetClientSize(640, 480);
        view.SetView(10, 0, 0);
        view.SetPickRadiusPixels(5);  // 0.5 mm at this scale
    }

    land* Land(Point p, int layer = 1, group* owner = nullptr) {
        land* e = board.CreateLand(layer, 1, false, p);
        board.AppendElement(owner, e);
        return e;
    }
    line* Line(Point s, Point e, int layer = 1, group* owner = nullptr) {
        line* l = board.CreateLine(layer, 1, false, s, e);
        board.AppendElement(owner, l);
        return l;
    }
    group* Group(Istr type, group* owner = nullptr) {
        group* g = board.CreateGroup(type);
        board.AppendElement(owner, g);
        return g;
    }
    // The top-level list, in order.
    std::vector<container*> TopLevel() const {
        std::vector<container*> out;
        for (container* c : Items(board.items)) out.push_back(c);
        return out;
    }
    std::vector<container*> Selection() const {
        std::vector<container*> out;
        for (container* c : Items(ctx.selection.list)) out.push_back(c);
        return out;
    }
    // The client pixel of a board point.
    void At(Point p, int& x, int& y) const {
        const Point s = view.WorldToScreen(p);
        x = int(std::lround(s.x));
        y = int(std::lround(s.y));
    }
    void Click(Point p, uint32_t keys = 0) {
        int x, y;
        At(p, x, y);
        ctx.leftDown(x, y, keys | kKeyLeft);
        ctx.leftUp(x, y, keys);
    }

    Board board;
    UndoHistory history{board};
    ViewState view;
    RecordingHost host;
    ToolContext ctx;
};

}  // namespace zevo::test
