#include "checks/drc.h"

#include <gtest/gtest.h>

#include <random>

#include "board/file/board_writer.h"
#include "board/file/document.h"
#include "check_boards.h"
#include "text/strings.h"

namespace zevo {
namespace {

using namespace test;

DrcRules Rules(const Board& b, std::string_view body) {
    return ReadDrcRules(std::string("; comment\n[DrcDatas]\r\n") + std::string(body), b);
}

TEST(DrcRules, ReadTheSectionAndStoreGapsJustBelowTheValue) {
    Board b;
    SetCheckLayers(b);
    DrcRules r = Rules(b,
                       "OutputLayer:9\r\n\r\nSpace: LE1=1, LE2=2,P-P=0.2, L-P=0.3,L-L=0.4,X=1\r\n"
                       "Other:1\nSpace:LE2=1,P-P=0.2\n");
    ASSERT_EQ(r.status, DrcRulesStatus::kOk);
    EXPECT_EQ(r.outputLayer, 9);
    ASSERT_EQ(r.rules.size(), 2u);
    EXPECT_EQ(r.rules[0].le1, 1);
    EXPECT_EQ(r.rules[0].le2, 2);
    EXPECT_DOUBLE_EQ(r.rules[0].pp, 0.2 - 0.00001);
    EXPECT_DOUBLE_EQ(r.rules[0].pl, 0.3 - 0.00001);
    EXPECT_DOUBLE_EQ(r.rules[0].ll, 0.4 - 0.00001);
    EXPECT_EQ(r.rules[1].le1, 1);  // one layer given: a rule of the layer against itself
    EXPECT_EQ(r.rules[1].le2, 1);
    EXPECT_EQ(r.rules[1].pl, kNeverGap);
    EXPECT_EQ(r.rules[0].clr, kNoLayer);
}

TEST(DrcRules, ErrorsAndSilentStops) {
    Board b;
    SetCheckLayers(b);
    for (const char* bad : {"Space:LE1=1,P-P=0.005", "Space:LE1=1,P-P=12", "Space:LE1=1",
                            "Space:P-P=0.2", "Space:LE1=256,P-P=0.2", "Space:LE1=1,P-P=abc",
                            "Space:LE1=8,LE2=1,CLR=3,L-L=0.2",       // 3 is no cut layer
                            "Space:LE1=30,LE2=30,CLR=30,L-L=0.2",    // CLR on both layers
                            "Space:LE1=1,LE2=2,CLR=30,L-L=0.2",      // neither is a hole layer
                            "Space:LE1=8,LE2=42,CLR=30,L-L=0.2"}) {  // both are
        const DrcRules r =
            Rules(b, std::string("OutputLayer:9\nSpace:LE1=1,P-P=0.2\n") + bad + "\n");
        EXPECT_EQ(r.status, DrcRulesStatus::kBadRule) << bad;
        EXPECT_EQ(r.badLine, 5) << bad;
    }
    EXPECT_EQ(Rules(b, "Space:LE1=1,P-P=0.01\n").status, DrcRulesStatus::kOk);
    const DrcRules clr = Rules(b, "Space:LE1=1,LE2=8,CLR=30,L-L=0.2\n");
    ASSERT_EQ(clr.status, DrcRulesStatus::kOk);
    EXPECT_EQ(clr.rules[0].holeLayer, 8);
    EXPECT_EQ(clr.rules[0].otherLayer, 1);
    EXPECT_EQ(ReadDrcRules("Space:LE1=1,P-P=0.2\n", b).status, DrcRulesStatus::kNoSection);
    EXPECT_EQ(Rules(b, "OutputLayer:256\nSpace:LE1=1,P-P=0.2\n").status,
              DrcRulesStatus::kBadOutputLayer);
    EXPECT_EQ(Rules(b, "OutputLayer:9\n").status, DrcRulesStatus::kNoRule);
    std::string many;
    for (int i = 0; i < 130; ++i) many += "Space:LE1=1,P-P=0.2\n";
    EXPECT_EQ(Rules(b, many + "Space:junk\n").rules.size(), kMaxDrcRules);  // later lines unread
}

struct DrcBoard : testing::Test {
    DrcBoard() {
        SetCheckLayers(b);
        b.SetRoundAperture(10, 0.5);
    }
    DrcReport Check(std::string_view rules) { return DrcCommand(b, Rules(b, rules)); }
    std::vector<group*> Marks() {
        std::vector<group*> out;
        for (container* c : Items(b.items))
            if (c->kind == kGroup && AsGroup(c)->type == Reserved().drc) out.push_back(AsGroup(c));
        return out;
    }
    Board b;
};

TEST_F(DrcBoard, GapBelowTheRuleMakesACrossAtTheMidpoint) {
    AddLand(b, kTop, {50, 50});
    AddLand(b, kTop, {51.2, 50});
    const DrcReport r = Check("OutputLayer:9\nSpace:LE1=1,L-L=0.3\n");
    EXPECT_EQ(r.result, 1);
    ASSERT_EQ(r.violations.size(), 1u);
    EXPECT_EQ(r.violations[0].kind, DrcViolation::kGap);
    EXPECT_NEAR(r.violations[0].at.x, 50.6, 1e-12);
    ASSERT_EQ(r.messages.size(), 1u);
    EXPECT_EQ(r.messages[0].text, TableText(kMsgDrcFound));
    const auto marks = Marks();
    ASSERT_EQ(marks.size(), 1u);
    std::vector<line*> lines;
    for (container* c : Items(marks[0]->members)) lines.push_back(static_cast<line*>(c));
    ASSERT_EQ(lines.size(), 2u);
    EXPECT_EQ(lines[0]->layer, 9);
    EXPECT_NEAR(lines[0]->x, 50.6 - 0.707, 1e-12);
    EXPECT_NEAR(lines[0]->y, 50.707, 1e-12);
    EXPECT_TRUE(b.layerFlags[9] & kDisp);
}

TEST_F(DrcBoard, TouchingLandsMakeASixPointedMarkAndTheExactGapPasses) {
    AddLand(b, kTop, {0, 0});
    AddLand(b, kTop, {1.0, 0});
    DrcReport r = Check("Space:LE1=1,L-L=0.3\n");
    ASSERT_EQ(r.violations.size(), 1u);
    EXPECT_EQ(r.violations[0].kind, DrcViolation::kOverlapOneLayer);
    EXPECT_NEAR(r.violations[0].at.x, 0.5, 1e-12);
    EXPECT_EQ(Marks().at(0)->members.next->next->next->next, &Marks()[0]->members);  // 3 lines

    b.ClearBoard();
    SetCheckLayers(b);
    AddLand(b, kTop, {0, 0});
    AddLand(b, kTop, {1.3, 0});
    r = Check("Space:LE1=1,L-L=0.3\n");
    EXPECT_EQ(r.result, 0);
    EXPECT_EQ(r.messages.at(0).text, TableText(kMsgDrcClean));
}

TEST_F(DrcBoard, SameNetGroupsAndClassesDecide) {
    // Joined by a line: same net, never marked however close.
    AddLand(b, kTop, {0, 0});
    AddLand(b, kTop, {0.9, 0});
    AddLine(b, kTop, {0, 0}, {0.9, 0}, 1);
    // A pad group is exempt within itself; so is a NO_DRC group.
    group* pad = AddGroup(b, Reserved().pad);
    AddLand(b, kTop, {10, 0}, 10, false, pad);
    AddLand(b, kTop, {11, 0}, 10, false, pad);
    group* free = AddGroup(b, Intern("part"));
    free->attribute = Reserved().noDrc;
    AddLand(b, kTop, {20, 0}, 10, false, free);
    AddLand(b, kTop, {21, 0}, 10, false, free);
    EXPECT_EQ(Check("Space:LE1=1,L-L=0.3\n").result, 0);

    // Two lines 0.25 apart edge to edge: P-P applies; with a pin number one counts as a land.
    b.ClearBoard();
    SetCheckLayers(b);
    AddLine(b, kTop, {0, 0}, {5, 0});
    line* l = AddLine(b, kTop, {0, 1.25}, {5, 1.25});
    EXPECT_EQ(Check("Space:LE1=1,P-P=0.2,P-L=0.3\n").result, 0);
    l->pinNo = 1;
    EXPECT_EQ(Check("Space:LE1=1,P-P=0.2,P-L=0.3\n").result, 1);
    EXPECT_EQ(Marks().size(), 1u);  // the old marks went first
}

TEST_F(DrcBoard, OverlapsOnOtherLayersAndThePadHoleExemption) {
    // Silk on silk never counts as an overlap; top against bottom does (a cross).
    AddLand(b, kSilk, {0, 0});
    AddLand(b, kSilk, {0.5, 0});
    AddLand(b, kTop, {10, 0});
    AddLand(b, kBottom, {10.5, 0});
    DrcReport r = Check("Space:LE1=3,L-L=0.2\nSpace:LE1=1,LE2=2,L-L=0.2\n");
    ASSERT_EQ(r.violations.size(), 1u);
    EXPECT_EQ(r.violations[0].kind, DrcViolation::kOverlapTwoLayers);

    // A pad's own hole against its own copper is no violation; a foreign hole is.
    b.ClearBoard();
    SetCheckLayers(b);
    group* pad = AddGroup(b, Reserved().pad);
    AddLand(b, kTop, {0, 0}, 10, false, pad);
    AddLand(b, kHoles, {0.2, 0}, 5, false, pad);  // off centre: not joined by the net
    AddLand(b, kTop, {5, 0});
    AddLand(b, kHoles, {5.2, 0}, 5);
    r = Check("Space:LE1=1,LE2=8,L-L=0.2\n");
    EXPECT_EQ(r.result, 1);
}

TEST_F(DrcBoard, ClearanceLandLiftsTheHoleRule) {
    b.SetRoundAperture(5, 0.3);
    b.SetRoundAperture(20, 1.0);
    AddLand(b, kHoles, {0, 0}, 5);                 // a hole through a plane
    AddLine(b, kBottom, {-3, 0.5}, {3, 0.5}, 10);  // copper of the plane, overlapping the hole
    const std::string rule = "Space:LE1=8,LE2=2,CLR=30,L-L=0.2,P-L=0.2\n";
    EXPECT_EQ(Check(rule).result, 1);
    AddLand(b, kCut, {0, 0}, 20);  // 1.0 - 0.3 > 0.2: the plane is cleared around the hole
    EXPECT_EQ(Check(rule).result, 0);
}

TEST_F(DrcBoard, BadRulesAndMissingFilesCheckNothing) {
    AddLand(b, kTop, {0, 0});
    AddLand(b, kTop, {0.5, 0});
    DrcReport r = Check("Space:LE1=1,P-P=0.005\n");
    EXPECT_EQ(r.result, -1);
    ASSERT_EQ(r.messages.size(), 1u);
    EXPECT_EQ(r.messages[0].text, TableText(kMsgDrcBadRules));
    EXPECT_TRUE(r.messages[0].error);
    EXPECT_EQ(DrcCommand(b, static_cast<const std::filesystem::path*>(nullptr)).result, -1);
    const std::filesystem::path missing = "/nonexistent/Zevo.drc";
    EXPECT_EQ(DrcCommand(b, &missing).result, -1);
    EXPECT_TRUE(Marks().empty());
}

TEST_F(DrcBoard, EraseRemovesMarksAndGroupsLeftEmpty) {
    AddLand(b, kTop, {0, 0});
    group* outer = AddGroup(b, Intern("keep"));
    group* inner = AddGroup(b, Intern("holder"), outer);
    AddGroup(b, Reserved().drc, inner);
    AddLand(b, kTop, {1, 1}, 10, false, outer);
    AddGroup(b, Reserved().drc);
    std::vector<container*> removed;
    EXPECT_EQ(EraseDrcMarks(b, &removed), 3u);
    ASSERT_EQ(removed.size(), 3u);
    EXPECT_EQ(removed[1], inner);
    EXPECT_FALSE(outer->members.emptyList());  // still holds its land
    for (container* c : removed) c->destroy(b);
    EXPECT_EQ(EraseDrcMarks(b), 0u);
}

TEST_F(DrcBoard, MarksAtTheBoardEdgeStayOnTheBoardAndReadBackWhole) {
    // Overlaps in two corners and a gap at the right edge: every mark would reach past the edge.
    AddLand(b, kTop, {0.5, 0.5});
    AddLand(b, kTop, {0.5, 1.4});
    AddLand(b, kTop, {b.sizeX - 0.5, b.sizeY - 0.5});
    AddLand(b, kTop, {b.sizeX - 1.4, b.sizeY - 0.5});
    AddLand(b, kTop, {b.sizeX - 0.5, 100});
    AddLand(b, kTop, {b.sizeX - 0.5, 101.1});
    const DrcReport r = Check("OutputLayer:9\nSpace:LE1=1,L-L=0.3\n");
    ASSERT_EQ(r.result, 3);
    const auto marks = Marks();
    ASSERT_EQ(marks.size(), 3u);
    const double h = b.roundHalf(DrcMarkAperture(b));
    std::vector<size_t> strokes;
    for (group* m : marks) {
        size_t n = 0;
        for (container* c : Items(m->members)) {
            const line* l = static_cast<const line*>(c);
            EXPECT_GE(l->bounds.minX, 0);
            EXPECT_GE(l->bounds.minY, 0);
            EXPECT_LE(l->bounds.maxX, b.sizeX);
            EXPECT_LE(l->bounds.maxY, b.sizeY);
            EXPECT_GE(std::min(l->x, l->ex), h);  // cut at the inset edge, not dropped
            ++n;
        }
        strokes.push_back(n);
    }
    EXPECT_EQ(strokes, (std::vector<size_t>{3, 3, 2}));
    // The end of a stroke that lies inside keeps its place.
    EXPECT_NEAR(static_cast<const line*>(AsElement(marks[2]->members.next))->x,
                r.violations[2].at.x - 0.707, 1e-12);

    // Saved and opened again, the check reads back whole.
    Board again;
    ResetToBuiltInDefaults(again);
    const ReadResult read = ReadDocumentText(WriteDocument(b), again);
    EXPECT_TRUE(read.offBoard.empty());
    std::vector<size_t> readStrokes;
    for (container* c : Items(again.items)) {
        if (c->kind != kGroup || AsGroup(c)->type != Reserved().drc) continue;
        size_t n = 0;
        for (container* m : Items(AsGroup(c)->members)) n += m->kind == kLine;
        readStrokes.push_back(n);
    }
    EXPECT_EQ(readStrokes, strokes);
}

class StopAfter : public ProgressMonitor {
  public:
    explicit StopAfter(int n) : n_(n) {}
    bool pump(size_t, size_t) override { return --n_ > 0; }

  private:
    int n_;
};

TEST_F(DrcBoard, AbortKeepsTheMarksFoundSoFar) {
    b.SetRoundAperture(1, 0.05);
    for (int i = 0; i < 300; ++i) AddLand(b, kTop, {i * 0.06, 0}, 1);  // every neighbour overlaps
    StopAfter stop(1);
    // Lands overlap their neighbours and lie within the margin of many more.
    const DrcReport r = DrcCommand(b, Rules(b, "Space:LE1=1,L-L=9\n"), &stop);
    EXPECT_TRUE(r.aborted);
    EXPECT_EQ(r.result, -1);
    EXPECT_FALSE(r.violations.empty());
    EXPECT_EQ(Marks().size(), r.violations.size());
    EXPECT_TRUE(r.messages.empty());
}

// The grid walk finds the same violations, in the same order, as the walk over all pairs.
TEST(DrcPairs, IndexedWalkEqualsAllPairsOnRandomBoards) {
    for (uint32_t seed = 1; seed <= 25; ++seed) {
        std::mt19937 rng(seed);
        Board b;
        RandomCheckBoard(b, rng, 120 + seed * 8, seed % 2 ? 12 : 25);
        const DrcRules rules = ReadDrcRules(
            "[DrcDatas]\nOutputLayer:9\nSpace:LE1=1,P-P=0.3,P-L=0.4,L-L=0.5\n"
            "Space:LE1=2,P-P=0.2\nSpace:LE1=1,LE2=2,L-L=0.1\nSpace:LE1=8,LE2=1,P-L=0.6\n"
            "Space:LE1=20,LE2=8,CLR=30,L-L=0.2,P-L=0.2\n",
            b);
        ASSERT_EQ(rules.status, DrcRulesStatus::kOk);
        ASSERT_TRUE(BuildNets(b));
        DrcSession all(b, rules);
        for (size_t i = 0; i < all.size(); ++i)
            for (size_t j = i + 1; j < all.size(); ++j) all.testPair(i, j);
        const DrcReport r = DrcCommand(b, rules);
        EXPECT_EQ(r.violations, all.violations) << "seed " << seed;
        EXPECT_GT(all.violations.size(), 0u);
    }
}

}  // namespace
}  // namespace zevo
