// The parts of the board model the file reader and writers lean on: normal forms, bounds, empty
// groups, the string pool and the node pools.
#include <gtest/gtest.h>

#include <iterator>
#include <string>
#include <vector>

#include "board/board_compare.h"
#include "board/model/board.h"

namespace zevo {
namespace {

TEST(ModelShapes, RectanglesAndArcsTakeTheirNormalForm) {
    auto b = testing::NewBoard();
    rect* r = b->CreateRect(1, 0, {10, 10}, 1, 3, 0);
    EXPECT_EQ(r->dx, 3);
    EXPECT_EQ(r->dy, 1);
    EXPECT_NEAR(r->ang, kPi / 2, 1e-15);
    EXPECT_NEAR(r->bounds.minX, 9.5, 1e-12);
    EXPECT_NEAR(r->bounds.maxY, 11.5, 1e-12);
    r = b->CreateRect(1, 0, {10, 10}, 0.001, 900, 0);
    EXPECT_EQ(r->dx, 500);
    EXPECT_EQ(r->dy, 0.02);

    arc* a = b->CreateArc(1, 0, {0, 0}, 5, ToRadians(350), ToRadians(10));
    EXPECT_NEAR(ToDegrees(a->st), 10, 1e-9);
    EXPECT_NEAR(ToDegrees(a->end), 350, 1e-9);
    a = b->CreateArc(1, 0, {0, 0}, 5, ToRadians(-30), ToRadians(30));
    EXPECT_NEAR(ToDegrees(a->st), 330, 1e-9);
    EXPECT_NEAR(ToDegrees(a->end), 390, 1e-9);
    EXPECT_NEAR(a->bounds.maxX, 5.05, 1e-12);  // the sweep passes 0 degrees
    // A full turn given in degrees stays a full circle although the sum is a hair over 2 pi.
    for (int st = -360; st <= 360; st += 1) {
        a = b->CreateArc(1, 0, {0, 0}, 5, ToRadians(st - 0.5), ToRadians(st + 359.5));
        ASSERT_TRUE(a->fullCircle()) << st;
    }
    // An aperture wider than the radius: the outer edge is kept with a narrower aperture.
    a = b->CreateArc(1, 20, {0, 0}, 0.5, 0, 1);  // half 0.6 + 0.5: the outer edge at 1.1
    EXPECT_LT(b->roundHalf(a->aperture), 1.1 / 2);
    EXPECT_GT(a->r, b->roundHalf(a->aperture));
    EXPECT_NEAR(a->r + b->roundHalf(a->aperture), 1.1, 1e-12);
}

TEST(ModelShapes, BoundsUseTheTableOfTheApertureKind) {
    auto b = testing::NewBoard();
    b->SetSquareAperture(4, 1);
    land* round = b->CreateLand(1, 4, false, {10, 10});
    land* square = b->CreateLand(1, 4, true, {10, 10});
    EXPECT_NEAR(round->bounds.maxX, 10 + b->roundHalf(4), 1e-12);
    EXPECT_EQ(square->bounds.maxX, 11);
    line* l = b->CreateLine(1, 4, true, {0, 0}, {5, -2});
    EXPECT_EQ(l->bounds.minY, -3);
    EXPECT_EQ(l->bounds.maxX, 6);
}

TEST(ModelGroups, EmptinessLooksAtEveryDepth) {
    auto b = testing::NewBoard();
    group* outer = b->CreateGroup(kEmptyText);
    group* inner = b->CreateGroup(kEmptyText);
    b->AppendElement(outer, inner);
    b->AppendElement(inner, b->CreateGroup(Reserved().pad));
    Box box;
    EXPECT_TRUE(Board::IsEmptyGroup(outer));
    EXPECT_FALSE(Board::GroupBounds(outer, box));
    b->AppendElement(inner, b->CreateLine(1, 0, false, {1, 2}, {3, 4}));
    b->AppendElement(outer, b->CreateLand(1, 0, false, {-1, 0}));
    EXPECT_FALSE(Board::IsEmptyGroup(outer));
    ASSERT_TRUE(Board::GroupBounds(outer, box));
    EXPECT_NEAR(box.minX, -1.05, 1e-12);
    EXPECT_NEAR(box.maxY, 4.05, 1e-12);
    outer->recycle(*b);
    EXPECT_EQ(b->liveCounts().groups, 0u);
    EXPECT_EQ(b->liveCounts().lines, 0u);
}

TEST(ModelTables, ApertureAndBoardSizeRounding) {
    auto b = testing::NewBoard();
    b->SetRoundAperture(5, 0.0001);
    EXPECT_EQ(b->roundAp[5], 0.0005);
    b->SetRoundAperture(5, 0.12345);
    EXPECT_NEAR(b->roundAp[5], 0.1235, 1e-15);
    b->SetRoundAperture(256, 1);  // ignored
    b->SetBoardSize(95, 1004);
    EXPECT_EQ(b->sizeX, 100);
    EXPECT_EQ(b->sizeY, 1000);
    b->SetBoardSize(234, 235);
    EXPECT_EQ(b->sizeX, 230);
    EXPECT_EQ(b->sizeY, 240);
    EXPECT_EQ(DefaultApertureDiameter(17), 0.95);
    EXPECT_EQ(DefaultApertureDiameter(18), 1.0);
    EXPECT_EQ(DefaultApertureDiameter(255), 24.7);
}

TEST(StringPool, SameTextSamePointerAndNamesSpreadOverTheBuckets) {
    EXPECT_EQ(Intern("R12"), Intern(std::string("R1") + "2"));
    EXPECT_NE(Intern("R12"), Intern("R13"));
    EXPECT_EQ(Intern(""), nullptr);
    EXPECT_EQ(Intern(" TEXT"), Reserved().text);
    // The kept length is what View() counts, also past a NUL and for long names.
    for (const std::string& n : {std::string("N"), std::string("GND"), std::string(300, 'W'),
                                 std::string("A\0B", 3), std::string("\x83\x65\x83\x58")}) {
        EXPECT_EQ(InternedView(Intern(n)), View(Intern(n)));
        EXPECT_EQ(InternedView(Intern(n)).data(), Intern(n));
    }
    // Many names (the table grows several times), alike in their first bytes: each keeps its
    // copy, and the same text finds it again.
    std::vector<Istr> names;
    for (int i = 0; i < 120000; ++i)
        names.push_back(Intern((i % 2 ? "SIGNAL_BUS_" : "N") + std::to_string(i)));
    names.push_back(Intern("SIGNAL_B"));
    names.push_back(Intern(std::string("SIGNAL_B\0", 9)));
    EXPECT_NE(names[names.size() - 1], names[names.size() - 2]);
    for (int i = 0; i < 120000; ++i) {
        const std::string n = (i % 2 ? "SIGNAL_BUS_" : "N") + std::to_string(i);
        ASSERT_EQ(Intern(n), names[i]);
        ASSERT_EQ(View(names[i]), n);
    }
    std::vector<int> count(kInternBuckets);
    int longest = 0;
    for (int i = 0; i < 50000; ++i)
        longest = std::max(longest, ++count[InternBucket(InternHash("N" + std::to_string(i)))]);
    EXPECT_LT(longest, 16);
}

TEST(NodePools, RecycledNodesAreHandedOutFirstAndCountsHoldAcrossSlabs) {
    auto b = testing::NewBoard();
    std::vector<line*> lines;
    for (int i = 0; i < 100000; ++i) lines.push_back(b->CreateLine(1, 0, false, {0, 0}, {1, 1}));
    EXPECT_EQ(b->pools.lines.allocated(), 100000u);
    for (int i = 0; i < 100000; i += 2) lines[i]->recycle(*b);
    EXPECT_EQ(b->pools.lines.live(), 50000u);
    line* again = b->CreateLine(1, 0, false, {0, 0}, {1, 1});
    EXPECT_EQ(again, lines[0]);  // the head of the free list
    EXPECT_EQ(b->pools.lines.allocated(), 100000u);
}

// Large slabs given back are handed out again: each must be whole, whatever size it was kept at.
TEST(NodePools, BulkMemoryGivenBackIsWholeWhenTakenAgain) {
    const size_t sizes[] = {size_t(1) << 20, size_t(3) << 20, size_t(4) << 20, size_t(9) << 20,
                            size_t(64) << 10};
    for (int round = 0; round < 3; ++round) {
        std::vector<unsigned char*> taken;
        for (size_t i = 0; i < std::size(sizes); ++i) {
            const size_t n = sizes[(i + round) % std::size(sizes)];
            auto* p = static_cast<unsigned char*>(TakeBulkMemory(n));
            for (size_t k = 0; k < n; k += 512) p[k] = static_cast<unsigned char>(k / 512 + i);
            p[n - 1] = 7;
            taken.push_back(p);
        }
        for (size_t i = 0; i < taken.size(); ++i) {
            const size_t n = sizes[(i + round) % std::size(sizes)];
            EXPECT_EQ(taken[i][n - 1], 7);
            EXPECT_EQ(taken[i][512], static_cast<unsigned char>(1 + i));
            GiveBulkMemory(taken[i], n);
        }
    }
    // Boards one after another: the second is built in what the first gave back.
    for (int i = 0; i < 2; ++i) {
        auto b = testing::NewBoard();
        for (int k = 0; k < 200000; ++k) b->CreateLine(1, 0, false, {0, 0}, {k * 0.001, 1});
        EXPECT_EQ(b->pools.lines.live(), 200000u);
    }
}

}  // namespace
}  // namespace zevo
