#include "checks/connectivity.h"

#include <gtest/gtest.h>

#include <map>
#include <random>
#include <set>
#include <string>

#include "board_generator.h"
#include "check_boards.h"

namespace zevo {
namespace {

using namespace test;

size_t NetOf(const std::vector<Net>& nets, const container* e) {
    for (size_t i = 0; i < nets.size(); ++i)
        for (const container* m : nets[i])
            if (m == e) return i + 1;
    return 0;
}

TEST(Connectivity, LinesJoinOnlyAtCoincidingEnds) {
    Board b;
    SetCheckLayers(b);
    line* a = AddLine(b, kTop, {0, 0}, {10, 10});
    line* x = AddLine(b, kTop, {0, 10}, {10, 0});  // crosses a without a shared end
    line* near = AddLine(b, kTop, {10.001, 10}, {20, 10});
    line* far = AddLine(b, kTop, {20.002, 10}, {30, 10});
    line* midway = AddLine(b, kTop, {5, 0}, {5, 5});  // ends in the middle of a
    auto nets = BuildNets(b);
    ASSERT_TRUE(nets);
    EXPECT_EQ(NetOf(*nets, a), NetOf(*nets, near));
    EXPECT_NE(NetOf(*nets, a), NetOf(*nets, x));
    EXPECT_NE(NetOf(*nets, near), NetOf(*nets, far));
    EXPECT_NE(NetOf(*nets, a), NetOf(*nets, midway));
    EXPECT_EQ(a->mark, 1);
    EXPECT_EQ(near->mark, 1);
    EXPECT_EQ(x->mark, 2);
}

TEST(Connectivity, ThroughLandsJoinLayersAndOthersDoNot) {
    Board b;
    SetCheckLayers(b);
    const Point c{5, 5};
    for (auto [layer, square, joins] : {std::tuple{kHoles, false, true},
                                        {kHoles, true, false},
                                        {kNonPlated, false, false},
                                        {kJumper, false, true}}) {
        b.ClearBoard();
        SetCheckLayers(b);
        line* top = AddLine(b, kTop, {0, 0}, c);
        line* bottom = AddLine(b, kBottom, c, {9, 0});
        AddLand(b, layer, c, 10, square);
        auto nets = BuildNets(b);
        ASSERT_TRUE(nets);
        EXPECT_EQ(NetOf(*nets, top) == NetOf(*nets, bottom), joins) << layer << " " << square;
    }
}

TEST(Connectivity, FilledAreasJoinThroughStrokesAndOutlinePoints) {
    Board b;
    SetCheckLayers(b);
    b.SetRoundAperture(10, 0.25);
    group* area = AddArea(b, kTop, {0, 0}, {10, 4});
    line* onStroke = AddLine(b, kTop, {5, 0.2}, {5, -5});       // end inside the first stroke
    line* onEdge = AddLine(b, kTop, {4, 4.6}, {4, 9});          // outside every stroke
    line* atCorner = AddLine(b, kTop, {10, 4}, {12, 8});        // outline vertex
    line* otherLayer = AddLine(b, kBottom, {6, 0.2}, {6, -5});  // strokes are on the top
    land* via = AddLand(b, kHoles, {7, 0.2});                   // a via reaches every layer
    line* viaBottom = AddLine(b, kBottom, {7, 0.2}, {7, -3});
    auto nets = BuildNets(b);
    ASSERT_TRUE(nets);
    const size_t n = NetOf(*nets, area);
    EXPECT_EQ(NetOf(*nets, onStroke), n);
    EXPECT_EQ(NetOf(*nets, atCorner), n);
    EXPECT_NE(NetOf(*nets, onEdge), n);
    EXPECT_NE(NetOf(*nets, otherLayer), n);
    EXPECT_EQ(NetOf(*nets, via), n);
    EXPECT_EQ(NetOf(*nets, viaBottom), n);
    // Every element inside the area carries the net number.
    ForEachDrawn(area->members, [&](drawn* d) { EXPECT_EQ(d->mark, static_cast<int>(n)); });
}

TEST(Connectivity, TwoAreasMeetWhenAStrokeStartLiesInTheOther) {
    Board b;
    SetCheckLayers(b);
    b.SetRoundAperture(10, 0.25);
    group* a = AddArea(b, kTop, {0, 0}, {10, 4});
    group* touching = AddArea(b, kTop, {9.5, 0}, {20, 4});  // its stroke starts lie on a's strokes
    group* apart = AddArea(b, kTop, {30, 0}, {40, 4});
    auto nets = BuildNets(b);
    ASSERT_TRUE(nets);
    EXPECT_EQ(NetOf(*nets, a), NetOf(*nets, touching));
    EXPECT_NE(NetOf(*nets, a), NetOf(*nets, apart));
}

TEST(Connectivity, NonConductorsBelongToNoNetAndEmptyBoardHasNone) {
    Board b;
    SetCheckLayers(b);
    auto empty = BuildNets(b);
    ASSERT_TRUE(empty);
    EXPECT_TRUE(empty->empty());
    line* silk = AddLine(b, kSilk, {0, 0}, {1, 1});
    silk->mark = 7;
    line* copper = AddLine(b, kTop, {0, 0}, {1, 1});
    auto nets = BuildNets(b);
    ASSERT_TRUE(nets);
    ASSERT_EQ(nets->size(), 1u);
    EXPECT_EQ((*nets)[0], Net{copper});
    EXPECT_EQ(silk->mark, 0);  // cleared, never numbered
}

TEST(Connectivity, CollectNetNumbersOneNet) {
    Board b;
    SetCheckLayers(b);
    line* a = AddLine(b, kTop, {0, 0}, {1, 0});
    line* c = AddLine(b, kTop, {1, 0}, {2, 0});
    line* other = AddLine(b, kTop, {5, 0}, {6, 0});
    line* silk = AddLine(b, kSilk, {1, 0}, {2, 0});
    Net net;
    ASSERT_TRUE(CollectNet(b, c, net, 1));
    EXPECT_EQ(net, (Net{c, a}));
    EXPECT_EQ(a->mark, 1);
    EXPECT_EQ(other->mark, 0);
    EXPECT_FALSE(CollectNet(b, silk, net, 1));
    EXPECT_TRUE(net.empty());
}

class CountingMonitor : public ProgressMonitor {
  public:
    explicit CountingMonitor(int stopAt) : stopAt_(stopAt) {}
    bool pump(size_t, size_t) override { return ++calls < stopAt_; }
    int calls = 0;

  private:
    int stopAt_;
};

TEST(Connectivity, ProgressEveryTenThousandNetsAndAbort) {
    Board b;
    SetCheckLayers(b);
    for (int i = 0; i < 25000; ++i) AddLand(b, kTop, {i * 0.01, 0});
    CountingMonitor goOn(100);
    auto nets = BuildNets(b, &goOn);
    ASSERT_TRUE(nets);
    EXPECT_EQ(nets->size(), 25000u);
    EXPECT_EQ(goOn.calls, 2);
    CountingMonitor stop(1);
    EXPECT_FALSE(BuildNets(b, &stop));
    EXPECT_EQ(stop.calls, 1);
}

// The indexed builder gives the very nets, members in the very order, of the quadratic walk.
TEST(Connectivity, IndexedNetsEqualTheQuadraticWalkOnRandomBoards) {
    for (uint32_t seed = 1; seed <= 40; ++seed) {
        std::mt19937 rng(seed);
        Board b;
        RandomCheckBoard(b, rng, 150 + seed * 10, seed % 3 == 0 ? 6 : 15);
        const std::vector<Net> reference = test::QuadraticNets(b);
        std::vector<int> referenceMarks;
        ForEachDrawn(b.items, [&](drawn* d) { referenceMarks.push_back(d->mark); });
        auto nets = BuildNets(b);
        ASSERT_TRUE(nets);
        ASSERT_EQ(*nets, reference) << "seed " << seed;
        std::vector<int> marks;
        ForEachDrawn(b.items, [&](drawn* d) { marks.push_back(d->mark); });
        EXPECT_EQ(marks, referenceMarks) << "seed " << seed;
    }
}

// The net of one start, found through the board's index, is the flood fill from that start over
// the whole conductor set: the same members in the same order, numbered, every other mark
// cleared; and the members of the net the full building puts the start in. Starts that are no
// candidates (non-conductors, elements inside a filled area) give nothing.
TEST(Connectivity, OneNetIsTheFloodFillFromItsStartOverEveryConductor) {
    auto check = [](Board& b, const char* what, size_t every) {
        std::vector<container*> starts;
        for (container* c : GatherConductors(b)) starts.push_back(c);
        ForEachDrawn(b.items, [&](drawn* d) {
            if (!ConductorLayer(b, d->layer) || d->parent) starts.push_back(d);
        });
        // The numbers of the full building, to compare the members with.
        auto nets = BuildNets(b);
        ASSERT_TRUE(nets);
        std::map<const container*, size_t> netOf;
        for (size_t i = 0; i < nets->size(); ++i)
            for (const container* m : (*nets)[i]) netOf[m] = i;
        size_t compared = 0, joined = 0;
        for (size_t k = 0; k < starts.size(); k += every) {
            container* start = starts[k];
            // Marks left by the last net must go.
            ForEachDrawn(b.items, [](drawn* d) { d->mark = 5; });
            const Net want = test::QuadraticNetFrom(b, start);
            ForEachDrawn(b.items, [](drawn* d) { d->mark = 5; });
            Net got{start};
            EXPECT_EQ(CollectNet(b, start, got, 3), !want.empty()) << what << " start " << k;
            ASSERT_EQ(got, want) << what << " start " << k;
            std::set<const container*> members;
            for (const container* m : got) {
                members.insert(m);
                if (m->kind == kGroup)
                    ForEachDrawn(AsGroup(m)->members, [&](const drawn* d) { members.insert(d); });
            }
            ForEachDrawn(b.items, [&](const drawn* d) {
                EXPECT_EQ(d->mark, members.count(d) ? 3 : 0) << what << " start " << k;
            });
            if (want.empty()) continue;
            ++compared;
            joined += got.size() > 1;
            const size_t n = netOf.at(start);
            EXPECT_EQ(std::set<const container*>(got.begin(), got.end()),
                      std::set<const container*>((*nets)[n].begin(), (*nets)[n].end()))
                << what << " start " << k;
        }
        EXPECT_GT(compared, 0u) << what;
        EXPECT_GT(joined, 0u) << what;
    };
    for (uint32_t seed = 1; seed <= 12; ++seed) {
        std::mt19937 rng(seed);
        Board b;
        RandomCheckBoard(b, rng, 150 + seed * 15, seed % 3 == 0 ? 6 : 15);
        check(b, ("random " + std::to_string(seed)).c_str(), 1);
    }
    Board generated;
    GenerateBoard(generated, {20000, 5});
    check(generated, "generated", 97);
    // After edits the index follows (an element moved onto another's end, one appended).
    int lines = 0;
    ForEachDrawn(generated.items, [&](drawn* d) {
        if (d->kind == kLine && !d->parent && ConductorLayer(generated, d->layer) && ++lines == 40)
            d->translate(generated, 0.5, 0.5);
    });
    generated.AppendElement(nullptr, generated.CreateLine(1, 3, false, {10, 10}, {50, 50}));
    check(generated, "generated, edited", 89);
}

}  // namespace
}  // namespace zevo
