// The photo-plotter writer, command by command.
#include "output/gerber_writer.h"

#include <gtest/gtest.h>

#include <string>

#include "board/model/board.h"
#include "output/output_settings.h"

namespace zevo {
namespace {

std::string Layer(const Board& b, int layer, bool extended, int decimals = 3,
                  const DCodeTables& codes = DCodeTables::Defaults()) {
    std::string out;
    WriteLayer(out, b, layer, extended, decimals, codes);
    return out;
}

// The body of an extended file: the lines after the aperture definitions, before the trailer.
std::string Body(const std::string& file) {
    const std::size_t start = file.find("\r\nG54");
    const std::size_t stop = file.rfind("G01X0Y0D02*");
    return file.substr(start + 2, stop - start - 2);
}

TEST(GerberWriter, SingleLandInBothFormats) {
    Board b;
    b.SetRoundAperture(0, 0.5);
    b.AppendElement(nullptr, b.CreateLand(1, 0, false, {12.5, 3.25}));
    DCodeTables automatic = DCodeTables::Defaults();
    automatic.round[0] = 11;
    EXPECT_EQ(Layer(b, 1, true, 3, automatic),
              "G71*G90*G75*D02*\r\n"
              "%ASAXBY*OFA0B0*MOMM*FSLAX43Y43*IPPOS*%\r\n"
              "%ADD11C,1.000*%\r\n"
              "G54D11*\r\n"
              "G01X12500Y3250D03*\r\n"
              "G01X0Y0D02*\r\n"
              "M02*\r\n");
    // The plain body is one line: nothing is added after "*".
    EXPECT_EQ(Layer(b, 1, false), "G71*G90*G75*D02*D10*D02*G01X12500Y3250D03*D02*G01X0Y0*M02*");
}

TEST(GerberWriter, FlashesAndApertureChanges) {
    Board b;
    // Two lands with the same aperture at the same point: one flash.
    b.AppendElement(nullptr, b.CreateLand(1, 3, false, {10, 10}));
    b.AppendElement(nullptr, b.CreateLand(1, 3, false, {10, 10}));
    // Another aperture at the same point flashes again; a square land uses the square table.
    b.AppendElement(nullptr, b.CreateLand(1, 4, false, {10, 10}));
    b.AppendElement(nullptr, b.CreateLand(1, 4, true, {10, 10}));
    // A zero-length line is a flash at its start.
    b.AppendElement(nullptr, b.CreateLine(1, 4, true, {20, 10}, {20, 10}));
    EXPECT_EQ(Body(Layer(b, 1, true)),
              "G54D16*\r\nG01X10000Y10000D03*\r\n"
              "G54D18*\r\nD03*\r\n"
              "G54D19*\r\nD03*\r\n"
              "X20000D03*\r\n");
}

TEST(GerberWriter, UnchangedCoordinatesAreOmitted) {
    Board b;
    b.AppendElement(nullptr, b.CreateLine(1, 0, false, {1, 2}, {5, 2}));
    b.AppendElement(nullptr, b.CreateLine(1, 0, false, {5, 2}, {5, 7}));
    // A one-step move (0.001 mm) is a real move even though 5.001 - 5.000 < 0.001 in doubles.
    b.AppendElement(nullptr, b.CreateLine(1, 0, false, {5, 7}, {5.001, 9}));
    EXPECT_EQ(Body(Layer(b, 1, true)),
              "G54D10*\r\n"
              "G01X1000Y2000D02*\r\n"
              "X5000D01*\r\n"
              "Y7000D01*\r\n"
              "X5001Y9000D01*\r\n");
    EXPECT_EQ(Layer(b, 1, false),
              "G71*G90*G75*D02*D10*D02*G01X1000Y2000*D01*X5000*Y7000*X5001Y9000*D02*G01X0Y0*M02*");
}

TEST(GerberWriter, SubStepMovesDoNotAddUp) {
    Board b;
    // x moves by 0.0006 mm twice: each alone is below the step, together they are not.
    b.AppendElement(nullptr, b.CreateLine(1, 0, false, {1, 1}, {1.0006, 2}));
    b.AppendElement(nullptr, b.CreateLine(1, 0, false, {1.0006, 2}, {1.0012, 3}));
    const std::string body = Body(Layer(b, 1, true, 4));
    EXPECT_NE(body.find("X10012"), std::string::npos) << body;
}

TEST(GerberWriter, ArcsPickTheNearerEndAndAlwaysWriteIJ) {
    Board b;
    b.AppendElement(nullptr, b.CreateLine(1, 0, false, {0, 0}, {10, 0}));
    // Half circle about (15, 0), radius 5, from 0 to pi: start (20, 0), end (10, 0). The end is
    // nearer to the current position (10, 0): clockwise from the end to the start.
    b.AppendElement(nullptr, b.CreateArc(1, 0, {15, 0}, 5, 0, kPi));
    // From (20, 0) a quarter arc about (20, 5) from -pi/2 (20, 0) to 0 (25, 5): counter-clockwise.
    b.AppendElement(nullptr, b.CreateArc(1, 0, {20, 5}, 5, 3 * kPi / 2, 2 * kPi));
    b.AppendElement(nullptr, b.CreateLine(1, 0, false, {25, 5}, {25, 9}));
    EXPECT_EQ(Body(Layer(b, 1, true)),
              "G54D10*\r\n"
              "G01X10000D01*\r\n"
              "G02X20000Y0I5000J0D01*\r\n"
              "G03X25000Y5000I0J5000D01*\r\n"
              "G01Y9000D01*\r\n");
}

TEST(GerberWriter, FullCircleIsTwoClockwiseHalves) {
    Board b;
    b.AppendElement(nullptr, b.CreateArc(1, 0, {10, 10}, 2, 0, 2 * kPi));
    EXPECT_EQ(Body(Layer(b, 1, true)),
              "G54D10*\r\n"
              "G01X12000Y10000D02*\r\n"
              "G02X8000Y10000I-2000J0D01*\r\n"
              "X12000Y10000I2000J0D01*\r\n");
    EXPECT_EQ(Layer(b, 1, false),
              "G71*G90*G75*D02*D10*D02*G01X12000Y10000*D01*G02X8000Y10000I-2000J0*"
              "X12000Y10000I2000J0*D02*G01X0Y0*M02*");
}

TEST(GerberWriter, TinyArcWithCoincidingEndsIsAFlash) {
    Board b;
    b.SetRoundAperture(0, 0.05);
    // Radius 0.0005: the ends coincide within 0.0015 mm although the sweep is a quarter turn.
    b.AppendElement(nullptr, b.CreateArc(1, 0, {10, 10}, 0.0005, 0, kPi / 2));
    const std::string body = Body(Layer(b, 1, true));
    EXPECT_NE(body.find("D03*"), std::string::npos) << body;
    EXPECT_EQ(body.find("G02"), std::string::npos);
    EXPECT_EQ(body.find("G03"), std::string::npos);
}

TEST(GerberWriter, RectangleOutlineAndHatch) {
    Board b;
    b.SetRoundAperture(2, 0.5);
    // 6 x 3 with a pen of half size 0.5: outline at +-2.5 / +-1; step 0.95, n = 3, two strokes.
    b.AppendElement(nullptr, b.CreateRect(1, 2, {10, 10}, 6, 3, 0));
    EXPECT_EQ(Body(Layer(b, 1, true)),
              "G54D14*\r\n"
              "G01X7500Y11000D02*\r\n"
              "X12500D01*\r\n"
              "Y9000D01*\r\n"
              "X7500D01*\r\n"
              "Y11000D01*\r\n"
              "Y10050D02*\r\n"
              "X12500D01*\r\n"
              "X7500Y9100D02*\r\n"
              "X12500D01*\r\n");
}

TEST(GerberWriter, HatchNeverPaintsBelowTheOutline) {
    Board b;
    b.SetRoundAperture(2, 0.5);
    // 2.85 high: 2.85 / 0.95 = 3, the third stroke would lie at -0.975, below the outline's
    // -0.925, and its pen would reach 0.05 mm beyond the rectangle.
    b.AppendElement(nullptr, b.CreateRect(1, 2, {0, 0}, 6, 2.85, 0));
    const std::string body = Body(Layer(b, 1, true));
    EXPECT_NE(body.find("Y-25D02*"), std::string::npos) << body;  // first stroke: 0.925 - 0.95
    EXPECT_EQ(body.find("Y-975"), std::string::npos) << body;
}

TEST(GerberWriter, RotatedRectangle) {
    Board b;
    b.SetRoundAperture(2, 0.5);
    // Stored as 3 x 1 at pi/2 (the long side vertical). No hatch: n = 1.
    b.AppendElement(nullptr, b.CreateRect(1, 2, {10, 10}, 1, 3, 0));
    EXPECT_EQ(Body(Layer(b, 1, true)),
              "G54D14*\r\n"
              "G01X10000Y9000D02*\r\n"
              "Y11000D01*\r\n"   // hy = 0: the corners pair up, a draw to where the pen is
              "Y9000D01*\r\n");  // writes nothing
}

TEST(GerberWriter, GroupsAreWalkedAndOtherLayersSkipped) {
    Board b;
    group* g = b.CreateGroup(Intern("PART"));
    group* inner = b.CreateGroup(Reserved().pad);
    b.AppendElement(g, b.CreateLand(2, 5, false, {1, 1}));
    b.AppendElement(inner, b.CreateLand(1, 6, false, {2, 2}));
    b.AppendElement(g, inner);
    b.AppendElement(g, b.CreateLand(1, 7, true, {3, 3}));
    b.AppendElement(nullptr, g);
    const std::string file = Layer(b, 1, true);
    EXPECT_NE(file.find("%ADD22C,0.400*%\r\n%ADD25R,0.450X0.450*%\r\n"), std::string::npos) << file;
    EXPECT_EQ(file.find("%ADD20"), std::string::npos);  // aperture 5 lies on layer 2 only
    EXPECT_EQ(Body(file), "G54D22*\r\nG01X2000Y2000D03*\r\nG54D25*\r\nX3000Y3000D03*\r\n");
}

TEST(GerberWriter, NegativeLayerAndDecimals) {
    Board b;
    b.SetLayerName(3, "negative copper");
    b.AppendElement(nullptr, b.CreateLand(3, 0, false, {1.23456, 2}));
    const std::string neg = Layer(b, 3, true, 5);
    EXPECT_NE(neg.find("FSLAX45Y45*IPNEG*%"), std::string::npos);
    EXPECT_NE(neg.find("X123456Y200000D03*"), std::string::npos);
    // 0 becomes 1 and 9 becomes 5.
    EXPECT_NE(Layer(b, 3, true, 0).find("FSLAX41Y41*"), std::string::npos);
    EXPECT_NE(Layer(b, 3, true, 9).find("FSLAX45Y45*"), std::string::npos);
    EXPECT_EQ(ClampGerberDecimals(0), 1);
    EXPECT_EQ(ClampGerberDecimals(9), 5);
}

}  // namespace
}  // namespace zevo
