// The hole output: gathering, both program formats, automatic T codes, single-file mode,
// hout.lst and HOutIni.dat.
#include "output/hole_output.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <string>

#include "output/output_fixture.h"
#include "paths/scratch_dir.h"
#include "text/cp932.h"

namespace zevo {
namespace {

using testing::ExpectSameAsFile;
using testing::MakeFeatureBoard;
using testing::NameLayer;
using testing::ScratchDir;
namespace fs = std::filesystem;

HoleOutputChoices HoleLayers(bool autoT) {
    HoleOutputChoices c;
    c.autoT = autoT;
    c.files.name[8] = "plated";
    c.files.selected[8] = true;
    c.files.name[42] = "nth.drl";
    c.files.selected[42] = true;
    return c;
}

TEST(HoleGathering, SortsByApertureXYAndDropsDuplicates) {
    Board b;
    b.AppendElement(nullptr, b.CreateLand(8, 7, false, {5, 1}));
    b.AppendElement(nullptr, b.CreateLand(8, 3, false, {9, 9}));
    b.AppendElement(nullptr, b.CreateLand(8, 7, false, {1, 5}));
    b.AppendElement(nullptr, b.CreateLand(8, 7, false, {1, 2}));
    b.AppendElement(nullptr, b.CreateLand(8, 7, false, {1 + 5e-9, 2 - 5e-9}));  // duplicate
    b.AppendElement(nullptr, b.CreateLand(8, 3, false, {9, 9}));                // duplicate
    b.AppendElement(nullptr, b.CreateLand(8, 4, false, {9, 9}));  // other aperture: kept
    b.AppendElement(nullptr, b.CreateLand(8, 4, true, {0, 0}));   // square: not a hole
    b.AppendElement(nullptr, b.CreateLine(8, 4, false, {0, 0}, {1, 1}));
    std::vector<Hole> holes;
    EXPECT_EQ(GatherHoles(b, 8, holes), 2);
    ASSERT_EQ(holes.size(), 5u);
    EXPECT_EQ(holes[0].aperture, 3);
    EXPECT_EQ(holes[1].aperture, 4);
    EXPECT_EQ(holes[2].x, 1);
    EXPECT_EQ(holes[2].y, 2);
    EXPECT_EQ(holes[3].y, 5);
    EXPECT_EQ(holes[4].x, 5);
}

TEST(HoleOutput, PlainFormatStartsAndEndsAtTheOrigin) {
    Board b;
    b.AppendElement(nullptr, b.CreateLand(8, 7, false, {1.5, 2}));
    b.AppendElement(nullptr, b.CreateLand(8, 3, false, {10, 20}));
    b.AppendElement(nullptr, b.CreateLand(8, 3, false, {10, 25}));
    std::vector<Hole> holes;
    GatherHoles(b, 8, holes);
    std::string out;
    WritePlainDrill(
        out, holes, [](int ap) { return ap + 10; }, 2);
    EXPECT_EQ(out,
              "%\r\nG90\r\nX0Y0\r\n"
              "T13\r\nX1000Y2000M05\r\nX1000Y2500M05\r\n"
              "T17\r\nX150Y200M05\r\n"
              "X0Y0\r\nM30\r\n");
}

TEST(HoleOutput, ToolTableWritesOnlyWhatChanged) {
    Board b;
    b.AppendElement(nullptr, b.CreateLand(8, 3, false, {10, 20}));
    b.AppendElement(nullptr, b.CreateLand(8, 3, false, {10, 25}));
    b.AppendElement(nullptr, b.CreateLand(8, 3, false, {12, 25}));
    b.AppendElement(nullptr, b.CreateLand(8, 3, false, {12, 30}));
    b.AppendElement(nullptr, b.CreateLand(8, 7, false, {12, 30}));
    std::vector<Hole> holes;
    GatherHoles(b, 8, holes);
    std::string out;
    WriteToolTableProgram(
        out, b, holes, [](int ap) { return ap == 3 ? 1 : 2; }, 3);
    EXPECT_EQ(out,
              "M48\r\nM71\r\nT01C0.250\r\nT02C0.450\r\n%\r\nG90\r\n"
              "G81\r\nT1\r\n"
              "X10000Y20000\r\nY25000\r\nX12000\r\nY30000\r\n"
              "T2\r\nX12000Y30000\r\n"
              "M30");
}

TEST(HoleOutput, FeatureBoardPerLayerPlain) {
    Board b;
    MakeFeatureBoard(b);
    ScratchDir dir;
    dir.Put("old.hol", "x");
    const OutputReport r = WriteHoleFiles(b, HoleLayers(false), dir.path());
    EXPECT_FALSE(fs::exists(dir / "old.hol"));
    ExpectSameAsFile(dir.Get("plated.hol"), "feature_plated_plain.hol");
    ExpectSameAsFile(dir.Get("nth.drl"), "feature_nth_plain.drl");
    ExpectSameAsFile(dir.Get("hout.lst"), "feature_hout_plain.lst");
    // The square land on layer 8 is reported and left out.
    ASSERT_EQ(r.messages.size(), 1u);
    EXPECT_EQ(r.messages[0].text, "ホール出力できない要素があります レイヤー 8 : 穴スルーホール");
}

TEST(HoleOutput, FeatureBoardAutomaticCodesAndToolTable) {
    Board b;
    MakeFeatureBoard(b);
    ScratchDir dir;
    HoleOutputChoices c = HoleLayers(true);
    c.codes.code[14] = 99;  // automatic codes win over the table
    WriteHoleFiles(b, c, dir.path());
    ExpectSameAsFile(dir.Get("plated.hol"), "feature_plated_m48.hol");
    ExpectSameAsFile(dir.Get("hout.lst"), "feature_hout_m48.lst");
    EXPECT_NE(dir.Get("nth.drl").find("T03C3.200\r\n"), std::string::npos);
}

TEST(HoleOutput, AutomaticCodesFollowApertureOrder) {
    Board b;
    b.AppendElement(nullptr, b.CreateLand(8, 7, false, {1, 1}));
    b.AppendElement(nullptr, b.CreateLand(8, 3, false, {2, 2}));
    ScratchDir dir;
    HoleOutputChoices c;
    c.autoT = true;
    c.files.name[8] = "h";
    c.files.selected[8] = true;
    c.codes.code[3] = 50;
    c.codes.code[7] = 40;
    WriteHoleFiles(b, c, dir.path());
    EXPECT_EQ(dir.Get("h.hol"),
              "M48\r\nM71\r\nT01C0.250\r\nT02C0.450\r\n%\r\nG90\r\nG81\r\nT1\r\nX2000Y2000\r\n"
              "T2\r\nX1000Y1000\r\nM30");
}

TEST(HoleOutput, SingleFileCountsAllLayersTogether) {
    Board b;
    MakeFeatureBoard(b);
    ScratchDir dir;
    HoleOutputChoices c = HoleLayers(true);
    c.single = true;
    c.singleFile = dir / "board.hol";
    const OutputReport r = WriteHoleFiles(b, c, dir.path());
    ExpectSameAsFile(dir.Get("board.hol"), "feature_single.hol");
    ExpectSameAsFile(dir.Get("hout.lst"), "feature_hout_single.lst");
    EXPECT_FALSE(fs::exists(dir / "plated.hol"));
    EXPECT_EQ(r.written.size(), 2u);
}

TEST(HoleOutput, LayerWithoutHolesGetsNoFileAndAMessage) {
    Board b;
    NameLayer(b, 8, "穴");
    b.AppendElement(nullptr, b.CreateLand(8, 3, true, {1, 1}));
    ScratchDir dir;
    dir.Put("h.hol", "old");
    HoleOutputChoices c;
    c.files.name[8] = "h";
    c.files.selected[8] = true;
    OutputReport r = WriteHoleFiles(b, c, dir.path());
    EXPECT_FALSE(fs::exists(dir / "h.hol"));
    ASSERT_EQ(r.messages.size(), 2u);
    EXPECT_EQ(r.messages[1].text, "出力するホールがありません レイヤー 8 : 穴");
    // Single-file mode with nothing to drill writes no program without tools.
    c.autoT = c.single = true;
    c.singleFile = dir / "one.hol";
    r = WriteHoleFiles(b, c, dir.path());
    EXPECT_FALSE(fs::exists(dir / "one.hol"));
}

TEST(HoleOutput, CommandSavesTheTableAsTheDialogLeftIt) {
    Board b;
    MakeFeatureBoard(b);
    ScratchDir dir;
    const fs::path settings = dir / "HOutIni.dat";
    HoleOutputChoices choices;
    OutputReport r;
    ASSERT_TRUE(HoleOutputCommand(
        b, settings, dir.path(), choices,
        [](HoleOutputChoices& c) {
            c.files.name[8] = "p";
            c.files.selected[8] = true;
            c.codes.code[14] = 5;
            c.autoT = true;
            c.decimals = 7;
            return true;
        },
        r));
    EXPECT_EQ(choices.decimals, 3);
    const std::string saved = dir.Get("HOutIni.dat");
    EXPECT_TRUE(saved.starts_with("[Output]\r\np:LE=8\r\n\r\n[HoleDef]\r\n0:T10\r\n"));
    EXPECT_NE(saved.find("\r\n14:T5\r\n"), std::string::npos);
    EXPECT_NE(saved.find("\r\n18:T28\r\n"), std::string::npos);
    EXPECT_NE(dir.Get("p.hol").find("T1\r\n"), std::string::npos);
}

}  // namespace
}  // namespace zevo
