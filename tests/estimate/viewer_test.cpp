// The viewer's reading of the packed files and its zoom steps.
#include "estimate/viewer.h"

#include <gtest/gtest.h>

namespace zevo {
namespace {

using Kind = ViewerShape::Kind;

TEST(Viewer, GerberCommandsBecomeShapesWithTheirApertures) {
    const ViewerDrawing d = ReadViewerDrawing(
        "G71*G90*G75*D02*\r\n%ASAXBY*OFA0B0*MOMM*FSLAX43Y43*IPPOS*%\r\n%ADD11C,1.000*%\r\n"
        "%ADD12R,2.000X0.500*%\r\nG54D11*\r\nG01X10000Y10000D02*\r\nX20000D01*\r\n"
        "G03X30000Y10000I5000J0D01*\r\nG54D12*\r\nG01X5000Y40000D03*\r\nG01X0Y0D02*\r\nM02*\r\n");
    ASSERT_EQ(d.shapes.size(), 3u);
    EXPECT_EQ(d.shapes[0].kind, Kind::kLine);
    EXPECT_DOUBLE_EQ(d.shapes[0].x0, 10);
    EXPECT_DOUBLE_EQ(d.shapes[0].x1, 20);
    EXPECT_DOUBLE_EQ(d.shapes[0].width, 1);
    EXPECT_EQ(d.shapes[1].kind, Kind::kArc);
    EXPECT_DOUBLE_EQ(d.shapes[1].cx, 25);
    EXPECT_FALSE(d.shapes[1].clockwise);
    EXPECT_EQ(d.shapes[2].kind, Kind::kFlash);
    EXPECT_DOUBLE_EQ(d.shapes[2].width, 2);
    EXPECT_DOUBLE_EQ(d.shapes[2].height, 0.5);
    // The extent holds every shape whole: the flash's width, the arc's circle.
    EXPECT_DOUBLE_EQ(d.minX, 4);
    EXPECT_DOUBLE_EQ(d.maxX, 30.5);
    EXPECT_DOUBLE_EQ(d.minY, 4.5);
    EXPECT_DOUBLE_EQ(d.maxY, 40.25);
}

TEST(Viewer, DrillProgramsAreHolesOfTheirToolSize) {
    const ViewerDrawing d = ReadViewerDrawing(
        "M48\r\nM71\r\nT01C0.800\r\nT02C3.200\r\n%\r\nG90\r\nG81\r\nT1\r\n"
        "X15000Y15000\r\nX60000\r\nT2\r\nX10000Y50000\r\nM30");
    ASSERT_EQ(d.shapes.size(), 3u);
    EXPECT_DOUBLE_EQ(d.shapes[1].x0, 60);
    EXPECT_DOUBLE_EQ(d.shapes[1].y0, 15);
    EXPECT_DOUBLE_EQ(d.shapes[1].width, 0.8);
    EXPECT_DOUBLE_EQ(d.shapes[2].width, 3.2);
    EXPECT_TRUE(ReadViewerDrawing("").empty());
}

// Files of the current format: six decimals said by %FSLAX46Y46*%, apertures chosen without G54,
// modes as commands of their own; drill programs with decimal millimetres and comments.
TEST(Viewer, CurrentFormatFilesInMillimetres) {
    const ViewerDrawing g = ReadViewerDrawing(
        "G04 #@! TF.GenerationSoftware,Zevo,zevo,1.0.0*\r\nG04 #@! "
        "TF.FileFunction,Copper,L1,Top*\r\n"
        "%FSLAX46Y46*%\r\n%MOMM*%\r\n%ADD11C,1.000*%\r\nG75*\r\nD11*\r\nG01*\r\n"
        "X10000000Y10000000D02*\r\nX20000000D01*\r\nG03*\r\nX30000000Y10000000I5000000J0D01*\r\n"
        "M02*\r\n");
    ASSERT_EQ(g.shapes.size(), 2u);
    EXPECT_EQ(g.shapes[0].kind, Kind::kLine);
    EXPECT_DOUBLE_EQ(g.shapes[0].x0, 10);
    EXPECT_DOUBLE_EQ(g.shapes[0].x1, 20);
    EXPECT_DOUBLE_EQ(g.shapes[0].width, 1);
    EXPECT_EQ(g.shapes[1].kind, Kind::kArc);
    EXPECT_DOUBLE_EQ(g.shapes[1].cx, 25);

    const ViewerDrawing d = ReadViewerDrawing(
        "M48\r\n; #@! TF.FileFunction,Plated,1,2,PTH\r\nFMAT,2\r\nMETRIC,TZ\r\nT1C0.800\r\n"
        "%\r\nG90\r\nG05\r\nT1\r\nX15.000Y15.000\r\nX60.500Y-1.250\r\nM30\r\n");
    ASSERT_EQ(d.shapes.size(), 2u);
    EXPECT_DOUBLE_EQ(d.shapes[1].x0, 60.5);
    EXPECT_DOUBLE_EQ(d.shapes[1].y0, -1.25);
    EXPECT_DOUBLE_EQ(d.shapes[1].width, 0.8);
}

TEST(Viewer, ZoomStepsAndFit) {
    EXPECT_EQ(ViewerZoomOut(10), 8);
    EXPECT_EQ(ViewerZoomOut(3), 3);
    EXPECT_EQ(ViewerZoomIn(10), 13);
    EXPECT_EQ(ViewerZoomIn(900), 1000);
    ViewerDrawing d;
    d.shapes.resize(1);
    d.maxX = 100, d.maxY = 50;
    EXPECT_EQ(ViewerFitScale(d, 520, 520), 5);  // 500 pixels for 100 mm
    EXPECT_EQ(ViewerFitScale(d, 100, 100), 3);  // never below 3
    EXPECT_EQ(ViewerFitScale(ViewerDrawing{}, 500, 500), 3);
}

}  // namespace
}  // namespace zevo
