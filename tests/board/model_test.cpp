#include <gtest/gtest.h>

#include <cmath>
#include <random>

#include "board/model/board.h"

namespace zevo {
namespace {

// Shift-JIS spellings used below.
constexpr const char* kAna = "\x8C\x8A\x82\xA0\x82\xAF";                       // 穴あけ
constexpr const char* kNoThroughAna = "\x83m\x81[\x83X\x83\x8B\x81[\x8C\x8A";  // ノースルー穴

TEST(LayerRoles, ComeFromTheNameWithTheirLengthRules) {
    EXPECT_EQ(Board::LayerRoles(kAna), uint32_t(kRoleHole | kRoleCut));
    EXPECT_EQ(Board::LayerRoles("hole-nonth"), uint32_t(kRoleHole | kRoleCut | kRoleNonThrough));
    EXPECT_EQ(Board::LayerRoles("NONTH"), 0u);  // non-through needs the hole role
    EXPECT_EQ(Board::LayerRoles("H"), 0u);
    EXPECT_EQ(Board::LayerRoles(kNoThroughAna), 0u);
    EXPECT_EQ(Board::LayerRoles("Pattern top"), uint32_t(kRolePattern));
    EXPECT_EQ(Board::LayerRoles("top MOUNT"), uint32_t(kRoleMount));
    EXPECT_EQ(Board::LayerRoles("cut"), uint32_t(kRoleCut));
    EXPECT_EQ(Board::LayerRoles("cen"), 0u);  // origin names are at least four bytes
    EXPECT_EQ(Board::LayerRoles("center"), uint32_t(kRoleOrigin));
    EXPECT_EQ(Board::LayerRoles("pattern negative"), uint32_t(kRolePattern | kRoleNegative));
    EXPECT_EQ(Board::LayerRoles("Jumper"), uint32_t(kRoleJumper));
    EXPECT_EQ(Board::LayerRoles("pattern"), Board::LayerRoles("pattern"));
    EXPECT_EQ(Board::LayerRoles("PATTERNx"), uint32_t(kRolePattern));
    EXPECT_EQ(Board::LayerRoles("xpattern"), 0u);  // prefix, not contains

    Board b;
    b.SetLayerSwitch(4, kPrint);
    b.SetLayerName(4, kAna);
    EXPECT_EQ(b.layerFlags[4], uint32_t(kActiv | kDisp | kPrint | kRoleHole | kRoleCut));
    b.SetLayerName(4, "plain");  // renaming recomputes the roles, switches stay
    EXPECT_EQ(b.layerFlags[4], uint32_t(kActiv | kDisp | kPrint));
    b.SetLayerName(256, "hole");  // ignored
    b.SetLayerName(-1, "hole");
}

TEST(LayerSwitches, ActiveImpliesDisplayed) {
    Board b;
    b.ClearLayerSwitch(3, kDisp);
    EXPECT_EQ(b.layerFlags[3] & 3, 0u);
    b.SetLayerSwitch(3, kActiv);
    EXPECT_EQ(b.layerFlags[3] & 3, 3u);
    b.ClearLayerSwitch(3, kActiv);
    EXPECT_EQ(b.layerFlags[3] & 3, uint32_t(kDisp));
    b.SetLayerSwitch(3, kPrint);
    EXPECT_TRUE(b.layerFlags[3] & kPrint);
}

TEST(Apertures, ClampRoundAndDefaults) {
    Board b;
    b.SetRoundAperture(5, 0.0001);
    EXPECT_DOUBLE_EQ(b.roundAp[5], 0.0005);
    b.SetRoundAperture(5, 0.12345);
    EXPECT_NEAR(b.roundAp[5], 0.1235, 1e-12);
    b.SetSquareAperture(7, 99);
    EXPECT_DOUBLE_EQ(b.squareAp[7], 50);
    b.SetSquareAperture(256, 1);  // ignored
    b.SetSquareAperture(-1, 1);
    EXPECT_DOUBLE_EQ(DefaultApertureDiameter(0), 0.10);
    EXPECT_DOUBLE_EQ(DefaultApertureDiameter(17), 0.95);
    EXPECT_DOUBLE_EQ(DefaultApertureDiameter(18), 1.0);
    EXPECT_DOUBLE_EQ(DefaultApertureDiameter(19), 1.1);
    EXPECT_DOUBLE_EQ(DefaultApertureDiameter(255), 24.7);
    EXPECT_DOUBLE_EQ(Board().roundAp[3], 0.125);
}

TEST(PadDefinitions, DropDuplicatePairsEmptyAndEqualDefinitions) {
    Board b;
    b.AddPadDefinition({{1, 5}, {2, 5}, {1, 5}});
    ASSERT_EQ(b.padDefs.size(), 1u);
    EXPECT_EQ(b.padDefs[0].size(), 2u);
    b.AddPadDefinition({{2, 5}, {1, 5}});  // same pairs, other order
    b.AddPadDefinition({});
    EXPECT_EQ(b.padDefs.size(), 1u);
    b.AddPadDefinition({{2, 5}});
    EXPECT_EQ(b.padDefs.size(), 2u);
}

TEST(SwapTable, EachLayerInAtMostOnePair) {
    Board b;
    EXPECT_TRUE(b.PairLayers(1, 2));
    EXPECT_TRUE(b.PairLayers(2, 3));
    EXPECT_EQ(b.SwapPartner(1), 1);
    EXPECT_EQ(b.SwapPartner(2), 3);
    EXPECT_EQ(b.SwapPartner(3), 2);
    EXPECT_FALSE(b.PairLayers(1, 256));
    EXPECT_FALSE(b.PairLayers(-1, 2));
    EXPECT_EQ(b.SwapPartner(300), 300);
}

TEST(BoardSize, ClampedAndRoundedToTens) {
    Board b;
    b.SetBoardSize(95, 1004);
    EXPECT_EQ(b.sizeX, 100);
    EXPECT_EQ(b.sizeY, 1000);
    b.SetBoardSize(234, 235);
    EXPECT_EQ(b.sizeX, 230);
    EXPECT_EQ(b.sizeY, 240);
    b.SetGrid(0, 0);
    EXPECT_EQ(b.gridSpacing, 0.005);
    EXPECT_EQ(b.gridInterval, 1);
}

TEST(StringPool, InternsByIdentity) {
    const std::string a = "NET1", c = "NET1";
    EXPECT_EQ(Intern(a), Intern(c));
    EXPECT_NE(Intern("NET1"), Intern("NET2"));
    EXPECT_EQ(Intern(""), nullptr);
    EXPECT_STREQ(Intern("\x83p"), "\x83p");
    // Signed bytes in the hash: a high byte is sign-extended.
    EXPECT_EQ(InternHash(""), 1u);
    EXPECT_EQ(InternHash("A"), ((2u << 5) ^ (2u >> 27) ^ 65u));
    EXPECT_EQ(InternHash("\xFF"), ((2u << 5) ^ 0u ^ 0xFFFFFFFFu));
}

TEST(NormalForms, RectanglesKeepTheLongSideAlongTheAngle) {
    Board b;
    rect* r = b.CreateRect(1, 0, {0, 0}, 1, 3, 0);
    EXPECT_EQ(r->dx, 3);
    EXPECT_EQ(r->dy, 1);
    EXPECT_NEAR(r->ang, kPi / 2, 1e-15);
    EXPECT_NEAR(r->e1.y, 1, 1e-12);
    EXPECT_NEAR(r->e2.y, -1, 1e-12);
    EXPECT_NEAR(r->bounds.maxY, 1.5, 1e-12);
    EXPECT_NEAR(r->bounds.maxX, 0.5, 1e-12);
    rect* tiny = b.CreateRect(1, 0, {0, 0}, 0, 900, 0);
    EXPECT_EQ(tiny->dx, 500);
    EXPECT_EQ(tiny->dy, 0.02);
}

TEST(NormalForms, ArcsRunCounterClockwiseFromANormalStart) {
    Board b;
    arc* a = b.CreateArc(1, 0, {0, 0}, 5, ToRadians(350), ToRadians(10));
    EXPECT_NEAR(ToDegrees(a->st), 10, 1e-9);
    EXPECT_NEAR(ToDegrees(a->end), 350, 1e-9);
    arc* c = b.CreateArc(1, 0, {0, 0}, 5, ToRadians(-30), ToRadians(30));
    EXPECT_NEAR(ToDegrees(c->st), 330, 1e-9);
    EXPECT_NEAR(ToDegrees(c->end), 390, 1e-9);
    // The sweep passes 0 degrees, so the right side is the circle's own extreme.
    const double h = b.roundAp[0];
    EXPECT_NEAR(c->bounds.maxX, 5 + h, 1e-12);
    EXPECT_NEAR(c->bounds.maxY, 5 * std::sin(ToRadians(30)) + h, 1e-12);
    EXPECT_NEAR(c->bounds.minX, 5 * std::cos(ToRadians(30)) - h, 1e-12);
}

TEST(NormalForms, ArcWiderThanItsRadiusIsRefittedKeepingTheOuterEdge) {
    Board b;
    // Radius 0.3 with a 1.0 mm aperture (half 0.5): outer edge at 0.8, widest fitting half < 0.4.
    arc* a = b.CreateArc(1, 18, {10, 10}, 0.3, 0, kPi);
    EXPECT_NEAR(b.roundAp[a->aperture] + a->r, 0.8, 1e-12);
    EXPECT_LT(b.roundAp[a->aperture], 0.4);
    EXPECT_NEAR(b.roundAp[a->aperture], 0.375, 1e-12);  // 0.75 mm
}

TEST(Bounds, LandsAndLinesUseTheirOwnTable) {
    Board b;
    b.SetSquareAperture(2, 1);
    land* sq = b.CreateLand(1, 2, true, {5, 5});
    EXPECT_EQ(sq->bounds.minX, 4);
    line* l = b.CreateLine(1, 2, false, {0, 0}, {3, 4});
    EXPECT_NEAR(l->bounds.maxX, 3 + b.roundAp[2], 1e-12);
}

TEST(ShapeTests, HitTheOutlineNotTheInterior) {
    Board b;
    b.SetRoundAperture(1, 1.0);
    b.SetSquareAperture(1, 1.0);
    land* round = b.CreateLand(1, 1, false, {0, 0});
    EXPECT_TRUE(round->hitTest(b, {1.05, 0}, 0.1));
    EXPECT_FALSE(round->hitTest(b, {0.2, 0}, 0.1));  // deep inside misses
    land* sq = b.CreateLand(1, 1, true, {0, 0});
    EXPECT_TRUE(sq->hitTest(b, {0.5, 0.95}, 0.1));
    EXPECT_FALSE(sq->hitTest(b, {0.5, 0.5}, 0.1));

    line* l = b.CreateLine(1, 1, false, {0, 0}, {10, 0});
    EXPECT_TRUE(l->hitTest(b, {5, 1.05}, 0.1));
    EXPECT_FALSE(l->hitTest(b, {5, 0}, 0.1));
    EXPECT_TRUE(l->hitTest(b, {11, 0}, 0.1));  // beyond the end: the cap
    line* diag = b.CreateLine(1, 1, false, {0, 0}, {10, 10});
    EXPECT_TRUE(diag->hitTest(b, {-0.7071, -0.7071}, 0.1));
    line* sqLine = b.CreateLine(1, 1, true, {0, 0}, {10, 0});
    EXPECT_TRUE(sqLine->hitTest(b, {-1, 0.5}, 0.05));  // the square end
    EXPECT_TRUE(sqLine->hitTest(b, {5, -1}, 0.05));
    EXPECT_FALSE(sqLine->hitTest(b, {5, 0}, 0.05));
    line* dot = b.CreateLine(1, 1, false, {3, 3}, {3, 3});
    EXPECT_TRUE(dot->hitTest(b, {4, 3}, 0.05));

    arc* a = b.CreateArc(1, 0, {0, 0}, 5, 0, kPi);
    const double h = b.roundAp[0];
    EXPECT_TRUE(a->hitTest(b, {0, 5 + h}, 0.01));
    EXPECT_TRUE(a->hitTest(b, {0, 5 - h}, 0.01));
    EXPECT_FALSE(a->hitTest(b, {0, -5 - h}, 0.01));
    EXPECT_TRUE(a->hitTest(b, {5, -h}, 0.01));  // end cap
    EXPECT_FALSE(a->hitTest(b, {0, 0}, 100));   // the centre never hits

    rect* r = b.CreateRect(1, 0, {0, 0}, 4, 2, 0);
    EXPECT_TRUE(r->hitTest(b, {2, 0.5}, 0.05));
    EXPECT_FALSE(r->hitTest(b, {0, 0}, 0.05));
}

TEST(ShapeTests, TouchingABoxMeansCrossingItsBoundary) {
    Board b;
    b.SetRoundAperture(1, 1.0);
    land* round = b.CreateLand(1, 1, false, {0, 0});
    EXPECT_TRUE(round->touchesBox(b, {0.5, -3}, {3, 3}));
    EXPECT_FALSE(round->touchesBox(b, {-0.1, -0.1}, {0.1, 0.1}));  // enclosed box
    EXPECT_FALSE(round->touchesBox(b, {-5, -5}, {5, 5}));          // enclosed land
    line* l = b.CreateLine(1, 1, false, {0, 0}, {10, 0});
    EXPECT_TRUE(l->touchesBox(b, {4, 0.5}, {6, 3}));
    EXPECT_TRUE(l->touchesBox(b, {10.5, -0.5}, {12, 0.5}));  // through the cap
    EXPECT_FALSE(l->touchesBox(b, {4, 2}, {6, 3}));
    rect* r = b.CreateRect(1, 0, {0, 0}, 4, 2, 0.3);
    EXPECT_TRUE(r->touchesBox(b, {1, -5}, {5, 5}));
    EXPECT_FALSE(r->touchesBox(b, {-0.2, -0.2}, {0.2, 0.2}));
}

TEST(EndPoints, NearFarAndNodePoints) {
    Board b;
    line* l = b.CreateLine(1, 0, false, {0, 0}, {10, 0});
    EXPECT_EQ(l->nearEnd({9, 0}), (Point{10, 0}));
    EXPECT_EQ(l->nearEnd({5, 0}), (Point{0, 0}));  // tie: start
    EXPECT_EQ(l->farEnd({5, 0}), (Point{0, 0}));
    EXPECT_TRUE(l->isNodePoint({10.001, 0}));
    EXPECT_FALSE(l->isNodePoint({5, 0}));
    rect* r = b.CreateRect(1, 0, {0, 0}, 4, 2, 0);   // E1 (1,0), E2 (-1,0)
    EXPECT_EQ(r->nearEnd({0.5, 0}), (Point{0, 0}));  // tie with the centre: centre
    EXPECT_NEAR(r->farEnd({0, 0}).x, -1, 1e-12);     // tie between E1 and E2: E2
    EXPECT_TRUE(r->isNodePoint({1, 0}));
}

TEST(Operations, MoveRotateMirrorAndClone) {
    Board b;
    group* part = b.CreateGroup(Intern("R"));
    part->ext = b.CreatePartPlacement({1, 1}, 0);
    b.AppendElement(nullptr, part);
    line* l = b.CreateLine(1, 0, false, {1, 1}, {3, 1});
    b.AppendElement(part, l);
    part->moveTo(b, {11, 1});
    EXPECT_NEAR(l->x, 11, 1e-12);
    EXPECT_NEAR(l->ex, 13, 1e-12);
    part->rotate(b, {11, 1}, kPi / 2);
    EXPECT_NEAR(l->ey, 3, 1e-12);
    EXPECT_NEAR(part->ext->angle, kPi / 2, 1e-12);
    part->mirror(b, 0);
    EXPECT_NEAR(l->x, -11, 1e-12);
    EXPECT_NEAR(part->ext->angle, kPi / 2, 1e-12);  // pi - pi/2
    l->moveVertex(b, {-11, 3}, 0, 1);               // the end moves alone
    EXPECT_NEAR(l->ey, 4, 1e-12);
    EXPECT_NEAR(l->y, 1, 1e-12);

    group* copy = AsGroup(part->clone(b));
    EXPECT_FALSE(copy->linked());
    line* cl = static_cast<line*>(AsElement(copy->members.next));
    EXPECT_NE(cl, l);
    EXPECT_EQ(cl->parent, copy);
    EXPECT_EQ(cl->ey, l->ey);
    EXPECT_NE(copy->ext, part->ext);
    copy->recycle(b);
    EXPECT_EQ(b.pools.lines.live(), 1u);
    EXPECT_EQ(b.pools.parts.live(), 1u);

    TextPlacement* t = b.CreateTextPlacement({1, 0}, ToRadians(30), 2, 2.2);
    t->mirror(0);
    EXPECT_NEAR(ToDegrees(t->angle), 330, 1e-9);
    EXPECT_EQ(t->pit, -2.2);
}

TEST(Groups, EmptinessLooksAtEveryDepth) {
    Board b;
    group* outer = b.CreateGroup(nullptr);
    group* inner = b.CreateGroup(nullptr);
    b.AppendElement(outer, inner);
    EXPECT_TRUE(Board::IsEmptyGroup(outer));
    b.AppendElement(inner, b.CreateLand(1, 0, false, {1, 1}));
    EXPECT_FALSE(Board::IsEmptyGroup(outer));
    Box box;
    EXPECT_TRUE(Board::GroupBounds(outer, box));
    b.AppendElement(nullptr, outer);
    b.ClearBoard();
    EXPECT_EQ(b.pools.groups.live(), 0u);
    EXPECT_EQ(b.pools.lands.live(), 0u);
    EXPECT_EQ(b.version, 0u);
}

}  // namespace
}  // namespace zevo
