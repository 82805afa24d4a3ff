// The ZevoNC files on their way into the archive: the drill Gerber merge, mirroring about the
// 10 mm axis (arcs too), measuring and renaming.
#include "estimate/package_files.h"

#include <gtest/gtest.h>

#include "paths/scratch_dir.h"

namespace zevo {
namespace {

using testing::ScratchDir;
namespace fs = std::filesystem;

const std::string kDrill =
    "G71*G90*G75*D02*\r\n"
    "%ASAXBY*OFA0B0*MOMM*FSLAX43Y43*IPPOS*%\r\n"
    "%ADD12C,0.800*%\r\n"
    "%ADD15C,1.000*%\r\n"
    "G54D12*\r\n"
    "G01X40640Y20000D03*\r\n"
    "G54D15*\r\n"
    "X15000Y15000D03*\r\n"
    "G01X0Y0D02*\r\n"
    "M02*\r\n";
const std::string kDrillNth =
    "G71*G90*G75*D02*\r\n"
    "%ASAXBY*OFA0B0*MOMM*FSLAX43Y43*IPPOS*%\r\n"
    "%ADD11C,3.200*%\r\n"
    "%ADD15C,1.000*%\r\n"
    "%ADD20C,4.000*%\r\n"
    "G54D11*\r\n"
    "G01X10000Y50000D03*\r\n"
    "G01X0Y0D02*\r\n"
    "M02*\r\n";

TEST(DrillMerge, HeaderOfDrillDefinitionsInOrderBodiesInTurn) {
    EXPECT_EQ(MergeDrills(kDrill, kDrillNth),
              "G71*G90*G75*D02*\r\n"
              "%ASAXBY*OFA0B0*MOMM*FSLAX43Y43*IPPOS*%\r\n"
              "%ADD11C,3.200*%\r\n"
              "%ADD12C,0.800*%\r\n"
              "%ADD15C,1.000*%\r\n"  // in both: written once
              "%ADD20C,4.000*%\r\n"  // Drill used up: the rest of DrillNTH's
              "G54D12*\r\n"
              "G01X40640Y20000D03*\r\n"
              "G54D15*\r\n"
              "X15000Y15000D03*\r\n"
              "G54D11*\r\n"
              "G01X10000Y50000D03*\r\n"
              "G01X0Y0D02*\r\n"
              "M02*\r\n");
}

TEST(DrillMerge, DrillsIsTheMergeOrACopyOrNothing) {
    ScratchDir dir;
    ASSERT_TRUE(GatherDrills(dir.path()));
    EXPECT_FALSE(fs::exists(dir / "Drills"));
    dir.Put("DrillNTH", kDrillNth);
    ASSERT_TRUE(GatherDrills(dir.path()));
    EXPECT_EQ(dir.Get("Drills"), kDrillNth);
    dir.Put("Drill", kDrill);
    ASSERT_TRUE(GatherDrills(dir.path()));
    EXPECT_EQ(dir.Get("Drills"), MergeDrills(kDrill, kDrillNth));
    fs::remove(dir / "DrillNTH");
    ASSERT_TRUE(GatherDrills(dir.path()));
    EXPECT_EQ(dir.Get("Drills"), kDrill);
}

TEST(Mirroring, TheAxisIsTheNextTenMillimetresAboveTheLargestX) {
    EXPECT_EQ(MirrorAxis(53210), 60000);
    EXPECT_EQ(MirrorAxis(50000), 60000);
    EXPECT_EQ(MirrorAxis(0), 10000);
    EXPECT_EQ(MirrorAxis(-5), 0);
    long long x = 0;
    // The header and the first line do not count.
    EXPECT_TRUE(LargestBodyX("G01X99999*\r\n%ADD10X88888*%\r\nG01X53210Y1D03*\r\nX100D03*\r\n", x));
    EXPECT_EQ(x, 53210);
    EXPECT_FALSE(LargestBodyX("M48\r\nT01C0.800\r\n", x));
}

TEST(Mirroring, LinesArcsAndTheClosingMove) {
    const std::string in =
        "G71*G90*G75*D02*\r\n"
        "%ADD11C,1.000*%\r\n"
        "G54D11*\r\n"
        "G01X10000Y20000D02*\r\n"
        "X15000D01*\r\n"
        "Y25000D01*\r\n"
        "G02X20000Y20000I5000J-5000D01*\r\n"
        "X25000Y25000I-500J0D01*\r\n"
        "G03X30000Y25000I2500J0D01*\r\n"
        "G01X0Y0D02*\r\n"
        "M02*\r\n";
    EXPECT_EQ(MirrorBytes(in, 60000),
              "G71*G90*G75*D02*\r\n"
              "%ADD11C,1.000*%\r\n"
              "G54D11*\r\n"
              "G01X50000Y20000D02*\r\n"
              "X45000D01*\r\n"
              "Y25000D01*\r\n"
              "G03X40000Y20000I-5000J-5000D01*\r\n"
              "X35000Y25000I500J0D01*\r\n"
              "G02X30000Y25000I-2500J0D01*\r\n"
              "G01X0Y0D02*\r\n"
              "M02*\r\n");
    // A drill program mirrors the same way; its tool table has no X.
    EXPECT_EQ(MirrorBytes("M48\nT01C0.800\n%\nG90\nT1\nX12500Y3250\nY4000\nM30", 20000),
              "M48\nT01C0.800\n%\nG90\nT1\nX7500Y3250\nY4000\nM30");
}

TEST(Mirroring, MirrorsEveryPresentFileAboutOneAxis) {
    ScratchDir dir;
    dir.Put("PatternA", "G71*\r\nG01X53210Y1000D03*\r\nG01X0Y0D02*\r\n");
    dir.Put("Board", "G71*\r\nG01X1000Y1000D02*\r\nX2000D01*\r\n");
    dir.Put("Other", "G71*\r\nG01X99000Y1000D03*\r\n");  // not in the table: untouched
    const std::vector<RenameRow> rows = {
        {"PatternA", "a", "a"}, {"SilkA", "s", "s"}, {"Board", "b", "b"}};
    ASSERT_TRUE(MirrorFiles(dir.path(), rows));
    EXPECT_EQ(dir.Get("PatternA"), "G71*\r\nG01X6790Y1000D03*\r\nG01X0Y0D02*\r\n");
    EXPECT_EQ(dir.Get("Board"), "G71*\r\nG01X59000Y1000D02*\r\nX58000D01*\r\n");
    EXPECT_EQ(dir.Get("Other"), "G71*\r\nG01X99000Y1000D03*\r\n");
    EXPECT_FALSE(fs::exists(dir / "tmp.nc"));
}

TEST(Measuring, ZeroAndUnchangedCoordinatesAreNotCounted) {
    const Extent e = MeasureBytes(
        "G71*G90*G75*D02*\r\n%ADD11C,1.000*%\r\nG54D11*\r\n"
        "G01X10000Y5000D02*\r\nX30000D01*\r\nY0D01*\r\nX-2000D01*\r\nG01X0Y0D02*\r\nM02*\r\n");
    ASSERT_TRUE(e.any);
    EXPECT_EQ(e.minX, -2000);
    EXPECT_EQ(e.maxX, 30000);
    EXPECT_EQ(e.minY, 5000);  // Y0 is not counted
    EXPECT_EQ(e.maxY, 5000);
    EXPECT_FALSE(MeasureBytes("G71*\r\n%ADD10C,1*%\r\nM02*\r\n").any);
}

TEST(Measuring, ArcsCountTheirExtremePoints) {
    // A counter-clockwise half circle over the top from (20, 10) to (0, 10) about (10, 10):
    // the top point (10, 20) counts, the bottom does not.
    Extent e = MeasureBytes("G71*\r\nG01X20000Y10000D02*\r\nG03X1000Y10000I-9500J0D01*\r\n");
    EXPECT_EQ(e.maxY, 19500);
    EXPECT_EQ(e.minY, 10000);
    EXPECT_EQ(e.minX, 1000);
    // The same ends clockwise: the half below.
    e = MeasureBytes("G71*\r\nG01X20000Y10000D02*\r\nG02X1000Y10000I-9500J0D01*\r\n");
    EXPECT_EQ(e.minY, 500);
    EXPECT_EQ(e.maxY, 10000);
    // A full circle (the same start and end) reaches every side; the mode stays for later arcs.
    e = MeasureBytes(
        "G71*\r\nG01X20000Y10000D02*\r\nG02X20000Y10000I-5000J0D01*\r\n"
        "X20000Y10000I-1000J0D01*\r\n");
    EXPECT_EQ(e.minX, 10000);
    EXPECT_EQ(e.maxX, 20000);
    EXPECT_EQ(e.minY, 5000);
    EXPECT_EQ(e.maxY, 15000);
}

TEST(Renaming, PresentRowsGetTheirNewNamesAndBits) {
    ScratchDir dir;
    dir.Put("PatternA", "G71*\r\nG01X10000Y20000D03*\r\n");
    dir.Put("SilkB", "G71*\r\nG01X30000Y5000D03*\r\n");
    const std::vector<RenameRow> rows = {{"PatternA", ".GTL", ".GBL"},
                                         {"PatternB", ".GBL", ".GTL"},
                                         {"SilkB", "slk_btm.grb", "slk_top.grb"}};
    const RenameResult r = RenameAndMeasure(dir.path(), rows, true, "amp.v2.pcb");
    ASSERT_TRUE(r.ok);
    EXPECT_EQ(r.present, 0b101u);
    ASSERT_EQ(r.files.size(), 2u);
    EXPECT_EQ(r.files[0].name, "amp.v2.GBL");
    EXPECT_EQ(r.files[1].name, "slk_top.grb");
    EXPECT_TRUE(fs::exists(dir / "amp.v2.GBL"));
    EXPECT_FALSE(fs::exists(dir / "PatternA"));
    EXPECT_EQ(r.extent.minX, 10000);
    EXPECT_EQ(r.extent.maxX, 30000);
    EXPECT_EQ(r.extent.minY, 5000);
    EXPECT_EQ(r.extent.maxY, 20000);
}

TEST(Renaming, ARenameThatFailsStops) {
    ScratchDir dir;
    dir.Put("PatternA", "x");
    // A folder in the way of the new name cannot be replaced by a file.
    fs::create_directories(dir / "amp.GTL" / "inside");
    const RenameResult r =
        RenameAndMeasure(dir.path(), {{"PatternA", ".GTL", ".GBL"}}, false, "amp.pcb");
    EXPECT_FALSE(r.ok);
}

// A set in the current format is recognised by its files' headers and is packed unmerged: the
// drill Gerber row is taken by the plated file, the non-plated one follows it.
TEST(ModernSets, RecognisedByHeaderAndDrillRowsSplit) {
    ScratchDir dir;
    dir.Put("old/PatternA", kDrill);
    dir.Put("modern/Board", "G04 #@! TF.GenerationSoftware,Zevo,zevo,1.0.0*\r\n%FSLAX46Y46*%\r\n");
    dir.Put("modern/DrillNC", "M48\r\n; #@! TF.FileFunction,MixedPlating,1,2\r\nM30\r\n");
    dir.Put("drills/DrillNC", "M48\r\n; #@! TF.FileFunction,MixedPlating,1,2\r\nM30\r\n");
    EXPECT_FALSE(IsModernSet(dir / "old"));
    EXPECT_TRUE(IsModernSet(dir / "modern"));
    EXPECT_TRUE(IsModernSet(dir / "drills"));
    EXPECT_FALSE(IsModernSet(dir / "missing"));

    const std::vector<RenameRow> rows = {
        {"PatternA", ".GTL", ".GBL"}, {"Drills", ".TXT", "drill.grb"}, {"Board", ".GML", ".GML"}};
    std::deque<std::string> names;
    const auto m = ModernRows(rows, names);
    ASSERT_EQ(m.size(), 4u);
    EXPECT_EQ(m[0].zevoNc, "PatternA");
    EXPECT_EQ(m[1].zevoNc, "Drill");
    EXPECT_EQ(m[1].sideA, ".TXT");
    EXPECT_EQ(m[2].zevoNc, "DrillNTH");
    EXPECT_EQ(m[2].sideA, "-NPTH.TXT");
    EXPECT_EQ(m[2].sideB, "drill-NPTH.grb");
    EXPECT_EQ(m[3].zevoNc, "Board");
    EXPECT_EQ(NewFileName(m[2], false, "amp.pcb"), "amp-NPTH.TXT");
}

}  // namespace
}  // namespace zevo
