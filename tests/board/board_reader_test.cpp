// Reading the sections of a board or settings file.
#include "board/file/board_reader.h"

#include <gtest/gtest.h>

#include <cmath>
#include <string>

#include "board/board_compare.h"
#include "board/file/board_writer.h"
#include "board/file/file_text.h"

namespace zevo {
namespace {

using testing::First;
using testing::NewBoard;
using testing::ReadBoard;
using testing::ReadItems;

std::vector<ReadIssueKind> Kinds(const ReadResult& r) {
    std::vector<ReadIssueKind> k;
    for (const ReadIssue& i : r.issues) k.push_back(i.kind);
    return k;
}

TEST(SectionDispatch, HeadersMatchByPrefixAndCaseAndUnknownOnesAreSkipped) {
    ReadResult r;
    auto b = ReadBoard(
        "junk before\n[BoardSizeX]\nX:500\n[drawitems]\nLAND:X=1,Y=1,LE=1,AP=0\n"
        "[Other]\nX:700\n[DrawItemsX]\nLAND:X=2,Y=2,LE=1,AP=0\n",
        &r);
    EXPECT_FALSE(r.error);
    EXPECT_EQ(b->sizeX, 500);
    ASSERT_NE(First(*b), nullptr);
    EXPECT_EQ(AsDrawn(First(*b))->x, 2);  // the lower-case section was skipped
    EXPECT_EQ(b->liveCounts().lands, 1u);

    ReadBoard("[Unknown]\nX:1\n", &r);
    EXPECT_TRUE(r.error);
    EXPECT_EQ(r.issues, (std::vector<ReadIssue>{{0, ReadIssueKind::kNoKnownSection}}));
    ReadBoard("", &r);
    EXPECT_TRUE(r.error);
}

TEST(SectionVersion, LastValidLineWinsAndMissingPartsAreZero) {
    ReadResult r;
    auto b = ReadBoard("[Version]\nZEVO:Version 0.45.2\nOTHER:1.2.3\nZEVO:Version 1\n", &r);
    EXPECT_FALSE(r.error);
    EXPECT_EQ(b->version, PackVersion(1, 0, 0));
    b = ReadBoard("[Version]\nZEVO:v0.7\n");
    EXPECT_EQ(b->version, PackVersion(0, 7, 0));
    b = ReadBoard("[Version]\nZEVO:none\n", &r);
    EXPECT_TRUE(r.error);
    EXPECT_EQ(r.issues, (std::vector<ReadIssue>{{1, ReadIssueKind::kBadVersion}}));
    EXPECT_EQ(b->version, 0u);
    // The settings file's version does not count.
    b = NewBoard();
    ReadSections("[Version]\nZEVO:Version 0.10.0\n", *b, {.applyVersion = false});
    EXPECT_EQ(b->version, kProgramVersion);
    EXPECT_EQ(VersionText(PackVersion(0, 63, 9)), "0.63.9");
    EXPECT_EQ(VersionText(PackVersion(1, 2, 0)), "1.2");
}

TEST(SectionBoardSize, SizesAreClampedAndRoundedAndTheOriginMustLieOnTheBoard) {
    ReadResult r;
    auto b = ReadBoard("[BoardSize]\nX:95\nY:1234\n", &r);
    EXPECT_EQ(b->sizeX, 100);
    EXPECT_EQ(b->sizeY, 1000);
    // X is rounded up to ten, Y only by the board size rounding; blanks and case do not matter.
    b = ReadBoard("[BoardSize]\n x : 231\ny:234\ngrid: 0.001 , 0\norigin:x=10.5 , y=200\n", &r);
    EXPECT_FALSE(r.error);
    EXPECT_EQ(b->sizeX, 240);
    EXPECT_EQ(b->sizeY, 230);
    EXPECT_EQ(b->gridSpacing, 0.005);
    EXPECT_EQ(b->gridInterval, 1);
    EXPECT_EQ(b->gridOrigin, (Point{10.5, 200}));
    b = ReadBoard("[BoardSize]\nGRID:2.54\nORIGIN:X=150,Y=1\nX:300\nY:300\nnonsense\n", &r);
    EXPECT_FALSE(r.error);
    EXPECT_EQ(b->gridSpacing, 2.54);
    EXPECT_EQ(b->gridInterval, 1);
    EXPECT_EQ(b->gridOrigin, (Point{0, 0}));  // 150 lay beyond the width of 100 read so far
}

TEST(SectionLayerDef, NamesColoursAndSwitches) {
    ReadResult r;
    auto b = ReadBoard(
        "[LayerDef]\n2:NAME=\x8C\x8A a,COLOR=7,DISP=OFF,PRINT=ON\n"
        "3:ACTIV=OFF,COLOR=16\n4:DISP=OFF,ACTIV=ON\n300:NAME=x\nx5:NAME=y\n",
        &r);
    EXPECT_FALSE(r.error);
    EXPECT_EQ(View(b->layerName[2]), "\x8C\x8A a");
    EXPECT_EQ(b->layerFlags[2], kPrint | kRoleHole | kRoleCut);
    EXPECT_EQ(b->layerColour[2], 7);
    EXPECT_EQ(b->layerFlags[3], kDisp);
    EXPECT_EQ(b->layerColour[3], 0);  // 16 is no colour
    EXPECT_EQ(b->layerFlags[4], kDisp | kActiv);
    ReadBoard("[LayerDef]\n1:DISP=on\n2:SHOW=ON\n3:NAME=ok\n", &r);
    EXPECT_EQ(r.issues, (std::vector<ReadIssue>{{2, ReadIssueKind::kBadLayerDef},
                                                {3, ReadIssueKind::kBadLayerDef}}));
}

TEST(SectionPadDef, PairsInEitherOrderAndWholeLinesRefused) {
    ReadResult r;
    auto b = ReadBoard(
        "[PadDef]\n7:LE=1,AP=2|ap=3 , le=0|LE=1,AP=2\n0:LE=1,AP=2|LE=0,AP=3\n"
        "1:LE=-1,AP=2\n2:LE=256,AP=2\n3:LE=1\n4:LE=1,AP=2,XX=3\nno\n5:\n",
        &r);
    ASSERT_EQ(b->padDefs.size(), 1u);  // the second equals the first
    EXPECT_EQ(b->padDefs[0], (PadDefinition{{1, 2}, {0, 3}}));
    EXPECT_EQ(Kinds(r), std::vector<ReadIssueKind>(6, ReadIssueKind::kBadPadDef));
}

TEST(SectionApertures, DiametersInWholeThousandthsAndOutOfRangeRefused) {
    ReadResult r;
    auto b = ReadBoard(
        "[LineDef]\n5:1.001\n6 : 0.0005\n7:100.5\n256:1\n-1:1\n8:abc\n[FlshDef]\n3:0.333\n", &r);
    EXPECT_NEAR(b->roundAp[5], 1.001 / 2, 1e-15);
    EXPECT_NEAR(b->squareAp[3], 0.333 / 2, 1e-15);
    EXPECT_EQ(Kinds(r), std::vector<ReadIssueKind>(5, ReadIssueKind::kBadApertureDef));
    // Every three-decimal diameter reads back as itself (1.001 * 1000 is 1000.999... in doubles),
    // 256 at a time.
    auto c = NewBoard();
    for (int first = 1; first <= 100000; first += 256) {
        std::string text = "[LineDef]\n";
        for (int i = 0; i < 256 && first + i <= 100000; ++i) {
            char d[kFixedRoom];
            text += std::to_string(i) + ":" +
                    std::string(d, FormatFixed(d, (first + i) / 1000.0, 3)) + "\n";
        }
        ReadSections(text, *c);
        for (int i = 0; i < 256 && first + i <= 100000; ++i)
            ASSERT_EQ(std::llround(c->roundAp[i] * 2000), first + i);
    }
}

TEST(SectionSwapLayer, PairsLayersAndRefusesBadLines) {
    ReadResult r;
    auto b = ReadBoard(
        "[SwapLayer]\nLayer1:2\n layer 2 : 3\nLayer-1:2\nLayer256:1\nLayer:1\nLayer4:x\n", &r);
    EXPECT_EQ(b->swapLayer[1], 1);
    EXPECT_EQ(b->swapLayer[2], 3);
    EXPECT_EQ(b->swapLayer[3], 2);
    EXPECT_EQ(Kinds(r), std::vector<ReadIssueKind>(4, ReadIssueKind::kBadSwapLayer));
}

TEST(SectionLibraryFiles, CaseInsensitiveAndAtMost128) {
    std::string text = "[LibraryFiles]\nfilename:Parts.lib\nFILENAME:parts.LIB\nFile:x\n";
    for (int i = 0; i < 140; ++i) text += "FileName:L" + std::to_string(i) + ".lib\n";
    ReadResult r;
    auto b = ReadBoard(text, &r);
    ASSERT_EQ(b->libraryFiles.size(), 128u);
    EXPECT_EQ(b->libraryFiles[0], "Parts.lib");
    EXPECT_EQ(b->libraryFiles[1], "L0.lib");
    EXPECT_EQ(r.issues, (std::vector<ReadIssue>{{4, ReadIssueKind::kBadLibraryFile}}));
}

TEST(ItemLines, EdgeCasesOfTheElementItems) {
    // A line whose ends coincide is a land, square with SQ=, and is written back as one.
    auto b = ReadItems("LINE:XS=1,YS=2,XE=1,YE=2,LE=0,SQ=3\n");
    TextOut out;
    WriteItems(out, b->items);
    EXPECT_EQ(out.text(), "FLSH:X=1,Y=2,LE=0,AP=3\r\n");
    b = ReadItems("ARC:X=0,Y=0,R=5,ST=300,END=420,LE=1,AP=0\n");
    const arc* a = static_cast<const arc*>(First(*b));
    EXPECT_NEAR(ToDegrees(a->st), 300, 1e-9);
    EXPECT_NEAR(ToDegrees(a->end), 420, 1e-9);
    out.text().clear();
    WriteItems(out, b->items);
    EXPECT_EQ(out.text(), "ARC:X=0,Y=0,R=5,ST=-60,END=60,LE=1,AP=0\r\n");
    // The turn is taken off in degrees, after the conversion: these are the digits of
    // ToDegrees(end) - 360 (taking it off in radians would give 9.99999999374e-05).
    b = ReadItems("ARC:X=0,Y=0,R=5,ST=350,END=360.0001,LE=1,AP=0\n");
    out.text().clear();
    WriteItems(out, b->items);
    EXPECT_EQ(out.text(), "ARC:X=0,Y=0,R=5,ST=-10,END=9.9999999918055e-05,LE=1,AP=0\r\n");
    b = ReadItems("RECT:X=0,Y=0,DX=1,DY=3,ANG=0,LE=1,AP=0\n");
    out.text().clear();
    WriteItems(out, b->items);
    EXPECT_EQ(out.text(), "RECT:X=0,Y=0,DX=3,DY=1,ANG=90,LE=1,AP=0\r\n");
    // Keys in any order and case, missing coordinates read as 0, SQ= makes a land square.
    b = ReadItems("LAND:le=3,sq=2,y=7,NE=a=b,PN=\x82\x60,NO=12,ZZ=1\n");
    const drawn* d = AsDrawn(First(*b));
    EXPECT_EQ(d->kind, kLand);
    EXPECT_TRUE(d->square());
    EXPECT_EQ(d->x, 0);
    EXPECT_EQ(d->y, 7);
    EXPECT_EQ(d->netName, Intern("a=b"));
    EXPECT_EQ(d->pinName, Intern("\x82\x60"));
    EXPECT_EQ(d->pinNo, 12);
    // Numbers as atof reads them, but no hexadecimal, inf or nan.
    b = ReadItems("FLSH:X= 12.5mm,Y=0x10,LE=1.9,SQ=4\nLAND:X=inf,Y=nan,LE=+2,AP=1\n");
    d = AsDrawn(First(*b));
    EXPECT_EQ(d->x, 12.5);
    EXPECT_EQ(d->y, 0);
    EXPECT_EQ(d->layer, 1);
    EXPECT_EQ(d->aperture, 4);
    d = AsDrawn(AsElement(b->items.next->next));
    EXPECT_EQ(d->x, 0);
    EXPECT_EQ(d->y, 0);
    EXPECT_EQ(d->layer, 2);
}

TEST(ItemLines, RefusedItemsCreateNothingAndSayWhy) {
    ReadResult r;
    auto b = ReadItems(
        "LAND:X=1,Y=1,AP=0\n"
        "LAND:X=1,Y=1,LE=1\n"
        "LINE:XS=0,YS=0,XE=1,YE=1,LE=-1,AP=0\n"
        "FLSH:X=1,Y=1,LE=1,AP=256\n"
        "ARC:X=5,Y=5,R=0.0009,ST=0,END=90,LE=1,AP=0\n"
        "ARC:X=5,Y=5,R=1,ST=10,END=10.0009,LE=1,AP=0\n"
        "RECT:X=5,Y=5,DX=1,DY=0.1,ANG=0,LE=1,AP=0\n"  // 0.0495 is not above the pen's 0.05
        "RECT:X=5,Y=5,DX=501,DY=1,ANG=0,LE=1,AP=0\n"
        "RECT:X=5,Y=5,DX=1,DY=1,ANG=0,LE=1,SQ=0\n"
        "# no comment here\n"
        "land:X=1,Y=1,LE=1,AP=0\n"
        "ENDGR:\n"
        "ARC:X=5,Y=5,R=1,ST=0,END=90,LE=1,SQ=2\n"
        "RECT:X=5,Y=5,DX=1,DY=0.102,ANG=0,LE=1,AP=0\n",
        &r);
    EXPECT_TRUE(r.error);
    using K = ReadIssueKind;
    EXPECT_EQ(Kinds(r), (std::vector<K>{K::kMissingLayer, K::kMissingAperture, K::kLayerOutOfRange,
                                        K::kApertureOutOfRange, K::kArcTooSmall, K::kArcTooShort,
                                        K::kRectNarrowerThanPen, K::kRectSizeOutOfRange,
                                        K::kRectSquareKey, K::kUnknownItem, K::kUnknownItem}));
    EXPECT_EQ(r.issues.front().line, 2);  // the header is line 1
    EXPECT_EQ(b->liveCounts().arcs, 1u);
    EXPECT_EQ(b->liveCounts().rects, 1u);
    EXPECT_EQ(static_cast<const arc*>(First(*b))->aperture, 2);
}

TEST(GroupLines, NamesPlacementsAndTabs) {
    auto b = ReadItems(
        "GROUP:A\tB,1/4\tW,R1,X=10,Y=20,ANG=90,FOO=1\nLAND:X=10,Y=20,LE=1,AP=0\n"
        "GROUP: TEXT,Hi,ignored,X=1,Y=2\nLINE:XS=1,YS=2,XE=3,YE=2,LE=1,AP=0\nENDGR:\n"
        "GROUP:\x01\x02"
        "C,,R2,X=1,Y=2\nLAND:X=1,Y=1,LE=1,AP=0\nENDGR:\nENDGR:\n");
    const group* g = AsGroup(First(*b));
    EXPECT_EQ(g->type, Intern("A,B"));
    EXPECT_EQ(g->attribute, Intern("1/4,W"));
    EXPECT_EQ(g->reference, Intern("R1"));
    ASSERT_TRUE(g->ext);
    EXPECT_EQ(g->ext->kind, 2);
    EXPECT_EQ(g->ext->pt, (Point{10, 20}));
    EXPECT_NEAR(g->ext->angle, kPi / 2, 1e-12);
    const group* text = AsGroup(AsElement(g->members.next->next));
    EXPECT_EQ(text->type, Reserved().text);
    EXPECT_EQ(text->reference, kEmptyText);
    const auto* t = static_cast<const TextPlacement*>(text->ext);
    EXPECT_EQ(t->pt, (Point{0, 0}));  // ANG was missing: all three are 0
    EXPECT_EQ(t->hi, 3.2);
    EXPECT_EQ(t->pit, 3.4);
    const group* c = AsGroup(AsElement(text->next));
    EXPECT_EQ(c->type, Intern("C"));
    EXPECT_EQ(c->ext, nullptr);  // ANG missing: no placement, but the reference is kept
    EXPECT_EQ(c->reference, Intern("R2"));
    EXPECT_EQ(c->parent, g);
}

TEST(GroupLines, FailingOrEmptyGroupsAreDroppedWhole) {
    ReadResult r;
    auto b = ReadItems(
        "GROUP:R1\nENDGR:\n"                                                           // empty part
        "GROUP:\nGROUP:\nLAND:X=1,Y=1,AP=0\nENDGR:\nLAND:X=1,Y=1,LE=1,AP=0\nENDGR:\n"  // bad member
        "GROUP:\nLAND:X=1,Y=1,LE=1,AP=0\nendgr:\nENDGR:\n"  // lower case closes nothing
        "LAND:X=3,Y=3,LE=1,AP=0\n",
        &r);
    using K = ReadIssueKind;
    EXPECT_EQ(r.issues, (std::vector<ReadIssue>{{2, K::kGroupEmpty},
                                                {6, K::kMissingLayer},
                                                {5, K::kGroupMemberFailed},
                                                {4, K::kGroupMemberFailed},
                                                {12, K::kUnknownItem},
                                                {10, K::kGroupMemberFailed}}));
    ASSERT_EQ(b->liveCounts().groups, 0u);
    EXPECT_EQ(b->liveCounts().lands, 1u);
    // A group ends without error at the next header or at the end of the file.
    b = ReadBoard("[DrawItems]\nGROUP:\nLAND:X=1,Y=1,LE=1,AP=0\n[BoardSize]\nX:200\n", &r);
    EXPECT_FALSE(r.error);
    EXPECT_EQ(b->liveCounts().groups, 1u);
    EXPECT_EQ(b->sizeX, 200);
}

TEST(GroupLines, FilledAreaWithoutFillStrokesBecomesAPlainGroup) {
    auto b = ReadItems(
        "GROUP: PAINTED\nGROUP: LOOP\nLINE:XS=0,YS=0,XE=1,YE=0,LE=1,AP=0\nENDGR:\n"
        "GROUP: "
        "WINDOW\nLINE:XS=2,YS=0,XE=3,YE=0,LE=1,AP=0\nGROUP:\nLAND:X=1,Y=1,LE=1,AP=0\nENDGR:\nENDGR:"
        "\n"
        "LAND:X=5,Y=5,LE=1,AP=0\nENDGR:\n"
        "GROUP: PAINTED\nGROUP: LOOP\nLINE:XS=0,YS=0,XE=1,YE=0,LE=1,AP=0\nENDGR:\n"
        "GROUP: LINES\nLINE:XS=0,YS=1,XE=1,YE=1,LE=1,AP=0\nENDGR:\nENDGR:\n");
    const group* g = AsGroup(First(*b));
    EXPECT_EQ(g->type, kEmptyText);
    std::vector<int> kinds;
    for (container* c : Items(g->members)) kinds.push_back(c->kind);
    // Loop and window dissolved in place; the window's own sub-group stays a group.
    EXPECT_EQ(kinds, (std::vector<int>{kLine, kLine, kGroup, kLand}));
    EXPECT_EQ(AsGroup(AsElement(b->items.prev))->type, Reserved().painted);
}

TEST(GroupLines, NestingDeeperThanTheLimitIsRefusedWithoutRunningTheStackOut) {
    auto nested = [](int depth) {
        std::string t;
        for (int i = 0; i < depth; ++i) t += "GROUP:\n";
        t += "LAND:X=1,Y=1,LE=1,AP=0\n";
        for (int i = 0; i < depth; ++i) t += "ENDGR:\n";
        return t + "LAND:X=2,Y=2,LE=1,AP=0\n";
    };
    ReadResult r;
    auto b = ReadItems(nested(kMaxGroupDepth), &r);
    EXPECT_FALSE(r.error);
    EXPECT_EQ(b->liveCounts().groups, static_cast<size_t>(kMaxGroupDepth));
    b = ReadItems(nested(100000), &r);
    EXPECT_TRUE(r.error);
    EXPECT_EQ(r.issues.front(), (ReadIssue{kMaxGroupDepth + 2, ReadIssueKind::kGroupTooDeep}));
    EXPECT_EQ(b->liveCounts().groups, 0u);
    EXPECT_EQ(b->liveCounts().lands, 1u);  // the land after the nest is read
}

TEST(ItemLines, SettingsFileItemsAreReadAndThrownAway) {
    auto b = NewBoard();
    ReadResult r = ReadSections(
        "[DrawItems]\nLAND:X=1,Y=1,LE=1,AP=0\nGROUP:\nLAND:X=1,Y=1,LE=1,AP=0\nENDGR:\nBAD\n", *b,
        {.keepItems = false});
    EXPECT_TRUE(r.error);
    EXPECT_TRUE(b->items.emptyList());
    EXPECT_EQ(b->liveCounts().lands, 0u);
    EXPECT_EQ(b->liveCounts().groups, 0u);
}

}  // namespace
}  // namespace zevo
