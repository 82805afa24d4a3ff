// Reading Gerber and drill files back into elements: the rules, the round trip, and the bad
// input of other programs.
#include "output/gerber_reader.h"

#include <gtest/gtest.h>

#include <string>

#include "board/undo/undo.h"
#include "output/gerber_input.h"
#include "output/gerber_output.h"
#include "output/gerber_writer.h"
#include "output/output_fixture.h"
#include "paths/scratch_dir.h"

namespace zevo {
namespace {

using testing::ScratchDir;

InputResult Read(Board& b, std::string_view text, int decimals = 3, bool inch = false) {
    GerberReadOptions o;
    o.layer = 1;
    o.decimals = decimals;
    o.inch = inch;
    InputResult r;
    ReadGerber(b, text, o, r);
    return r;
}

void Recycle(Board& b, InputResult& r) {
    for (container* e : r.elements) e->recycle(b);
    r.elements.clear();
}

const land* AsLand(const container* e) {
    return e->kind == kLand ? static_cast<const land*>(e) : nullptr;
}

TEST(GerberReader, ParametersAperturesAndFlashes) {
    Board b;
    InputResult r = Read(b,
                         "%FSLAX24Y24*%%MOIN*%\n"
                         "%ADD10C,0.0394*%\n"         // 1.00076 mm: nearest is aperture 18 (1.0)
                         "%ADD11R,0.0315X0.0315*%\n"  // square 0.8 mm: square aperture 14
                         "%ADD12R,0.1X0.05*%\n"       // rectangle 2.54 x 1.27 with a fill pen
                         "%ADD13O,0.1X0.05*%\n"       // obround: two strokes in a group
                         "D10*X10000Y20000D03*\n"
                         "D11*X20000D03*\n"
                         "D12*X30000D03*\n"
                         "D13*X40000D03*\n"
                         "M02*\n");
    EXPECT_EQ(r.warnings, 0u);
    ASSERT_EQ(r.elements.size(), 4u);
    const land* l = AsLand(r.elements[0]);
    ASSERT_TRUE(l);
    EXPECT_EQ(l->aperture, 18);
    EXPECT_FALSE(l->square());
    EXPECT_DOUBLE_EQ(l->x, 25.4);
    EXPECT_DOUBLE_EQ(l->y, 50.8);
    const land* sq = AsLand(r.elements[1]);
    ASSERT_TRUE(sq);
    EXPECT_TRUE(sq->square());
    EXPECT_EQ(sq->aperture, 14);
    ASSERT_EQ(r.elements[2]->kind, kRect);
    const rect* rc = static_cast<const rect*>(r.elements[2]);
    EXPECT_DOUBLE_EQ(rc->dx, 2.54);
    EXPECT_DOUBLE_EQ(rc->dy, 1.27);
    EXPECT_DOUBLE_EQ(b.roundAp[rc->aperture], 0.05);
    ASSERT_EQ(r.elements[3]->kind, kGroup);
    int strokes = 0;
    for (container* m : Items(AsGroup(r.elements[3])->members)) {
        ASSERT_EQ(m->kind, kLine);
        const line* s = static_cast<const line*>(m);
        EXPECT_NEAR(std::fabs(s->ex - s->x), 0.635, 1e-9);
        ++strokes;
    }
    EXPECT_EQ(strokes, 2);
    Recycle(b, r);
}

TEST(GerberReader, DrawsArcsAndIncrementalMode) {
    Board b;
    InputResult r = Read(b,
                         "%FSLAX33Y33*%%MOMM*%%ADD10C,0.2*%D10*\n"
                         "X1000Y1000D02*X5000D01*\n"    // a line
                         "G03X3000Y3000I-2000J0D01*\n"  // quarter arc about (3, 1)
                         "G02X3000Y3000I0J-1000D01*\n"  // full circle about (3, 2)
                         "G01X3000Y3000D01*\n"          // a draw to where it is: a flash
                         "%FSIX33Y33*%X1000Y0D01*\n");  // incremental: (4, 3)
    EXPECT_EQ(r.warnings, 0u);
    ASSERT_EQ(r.elements.size(), 5u);
    ASSERT_EQ(r.elements[0]->kind, kLine);
    ASSERT_EQ(r.elements[1]->kind, kArc);
    const arc* a = static_cast<const arc*>(r.elements[1]);
    EXPECT_DOUBLE_EQ(a->x, 3);
    EXPECT_DOUBLE_EQ(a->y, 1);
    EXPECT_DOUBLE_EQ(a->r, 2);
    EXPECT_NEAR(a->st, 0, 1e-12);
    EXPECT_NEAR(a->end, kPi / 2, 1e-12);
    const arc* full = static_cast<const arc*>(r.elements[2]);
    EXPECT_TRUE(full->fullCircle());
    EXPECT_EQ(r.elements[3]->kind, kLand);
    const line* inc = static_cast<const line*>(r.elements[4]);
    EXPECT_DOUBLE_EQ(inc->ex, 4);
    EXPECT_DOUBLE_EQ(inc->ey, 3);
    Recycle(b, r);
}

TEST(GerberReader, PlainFileUsesTheTablesAndD03IsNotModal) {
    Board b;
    // Our own plain output: after a flash, "*" blocks continue the last D01/D02.
    b.AppendElement(nullptr, b.CreateLand(1, 28, false, {15, 15}));
    b.AppendElement(nullptr, b.CreateLine(1, 9, false, {15, 15}, {30, 15}));
    b.AppendElement(nullptr, b.CreateLine(1, 9, false, {30, 15}, {30, 20}));
    std::string plain;
    WriteLayer(plain, b, 1, false, 3, DCodeTables::Defaults());
    Board back;
    InputResult r = Read(back, plain);
    EXPECT_EQ(r.warnings, 0u);
    ASSERT_EQ(r.elements.size(), 3u);
    EXPECT_EQ(r.elements[0]->kind, kLand);
    EXPECT_EQ(AsDrawn(r.elements[0])->aperture, 28);
    EXPECT_EQ(r.elements[1]->kind, kLine);
    EXPECT_EQ(r.elements[2]->kind, kLine);
    Recycle(back, r);
}

TEST(GerberReader, RoundTripGivesTheSameFile) {
    Board b;
    testing::MakeFeatureBoard(b);
    for (int layer : {1, 2, 3, 7, 8, 12}) {
        SCOPED_TRACE(layer);
        UsedApertures used;
        CollectUsedApertures(b, layer, used);
        const DCodeTables codes = AutomaticDCodes(DCodeTables::Defaults(), used);
        std::string first;
        WriteLayer(first, b, layer, true, 3, codes);
        Board back;
        GerberReadOptions o;
        o.layer = layer;
        InputResult r;
        ReadGerber(back, first, o, r);
        EXPECT_EQ(r.warnings, 0u);
        for (container* e : r.elements) back.AppendElement(nullptr, e);
        UsedApertures usedBack;
        CollectUsedApertures(back, layer, usedBack);
        std::string second;
        WriteLayer(second, back, layer, true, 3,
                   AutomaticDCodes(DCodeTables::Defaults(), usedBack));
        EXPECT_EQ(second, first);
    }
}

TEST(GerberReader, RefusedDefinitionsDrawNothingAndEachCommandIsCountedWithItsLine) {
    // D13 and D14 are preset by the default tables (square aperture 1, round aperture 2): a
    // definition the reader refuses must not fall back on them.
    Board b;
    InputResult r = Read(b,
                         "%FSLAX33Y33*%%MOMM*%\n"    // line 1
                         "%ADD13Unknown,1.0*%\n"     // 2: no such macro
                         "%ADD14R,0.02X0.5*%\n"      // 3: a side too small to fill
                         "%ADD10C,0.2*%\n"           // 4
                         "D13*X1000Y1000D03*\n"      // 5: skipped
                         "D14*X2000Y1000D03*\n"      // 6: skipped
                         "X3000Y1000D01*\n"          // 7: a draw, skipped
                         "D10*\nX4000Y1000\nD03*\n"  // 8-10: a land
                         "D5*X5000D03*\n"            // 11: never defined, skipped
                         "M02*\n");
    EXPECT_TRUE(r.warnings & kWarnBadAperture);
    ASSERT_EQ(r.elements.size(), 1u);
    const land* l = AsLand(r.elements[0]);
    ASSERT_TRUE(l);
    EXPECT_DOUBLE_EQ(l->x, 4);
    EXPECT_EQ(r.skippedCommands, 4);
    ASSERT_EQ(r.skipped.size(), 4u);
    const long long lines[] = {5, 6, 7, 11};
    for (size_t i = 0; i < 4; ++i) {
        EXPECT_EQ(r.skipped[i].line, lines[i]) << i;
        EXPECT_EQ(r.skipped[i].layer, 1);
    }
    Recycle(b, r);
    // A later good definition of the code is taken again.
    r = Read(b, "%ADD13Unknown*%%ADD13C,0.2*%D13*X1000Y1000D03*");
    EXPECT_EQ(r.elements.size(), 1u);
    EXPECT_EQ(r.skippedCommands, 0);
    Recycle(b, r);
}

TEST(GerberReader, AUsersMappingReplacesThePresetOfItsCode) {
    // Round aperture 20 has D50 by default; the settings give D50 to round aperture 3.
    const GerberInSettings settings = ReadGerberInSettings("[Aperture]\r\nD50:3,CIR\r\n");
    Board b;
    GerberReadOptions o;
    o.codes = settings.codes;
    InputResult r;
    ReadGerber(b, "D50*X1000Y1000D03*D16*X2000D03*D52*X3000D03*", o, r);
    ASSERT_EQ(r.elements.size(), 2u);
    ASSERT_TRUE(AsLand(r.elements[0]));
    EXPECT_EQ(AsLand(r.elements[0])->aperture, 3);
    EXPECT_FALSE(AsLand(r.elements[0])->square());
    // Aperture 3's own default D16 is free now; D52 still means round aperture 21.
    EXPECT_EQ(AsLand(r.elements[1])->aperture, 21);
    EXPECT_EQ(r.skippedCommands, 1);
    Recycle(b, r);
}

TEST(GerberReader, MacrosFromCirclesPolygonsAndOutlines) {
    Board b;
    InputResult r = Read(b,
                         "%FSLAX33Y33*%%MOMM*%\n"
                         "%AMDOT*1,1,$1,0,0*%\n"
                         "%AMTWO*1,1,$1,-1,0*1,1,$1,1,0*%\n"
                         "%AMHEX*5,1,6,0,0,$1,0*%\n"
                         "%AMBOX*$2=$1x2*4,1,4,0,0,$2,0,$2,$1,0,$1,0,0,0*%\n"
                         "%ADD20DOT,0.8*%%ADD21TWO,0.5*%%ADD22HEX,2*%%ADD23BOX,1*%\n"
                         "D20*X10000Y10000D03*D21*X20000D03*D22*X30000D03*D23*X40000D03*\n");
    EXPECT_EQ(r.warnings, 0u);
    ASSERT_EQ(r.elements.size(), 4u);
    EXPECT_EQ(r.elements[0]->kind, kLand);
    EXPECT_EQ(r.elements[1]->kind, kGroup);
    EXPECT_EQ(r.elements[2]->kind, kRect);
    ASSERT_EQ(r.elements[3]->kind, kGroup);  // hatch strokes inside the 2 x 1 outline
    Box box;
    ASSERT_TRUE(Board::GroupBounds(AsGroup(r.elements[3]), box));
    EXPECT_GE(box.minX, 40 - 1e-9);
    EXPECT_LE(box.maxX, 42 + 1e-9);
    EXPECT_GE(box.minY, 10 - 1e-9);
    EXPECT_LE(box.maxY, 11 + 1e-9);
    Recycle(b, r);
}

// ---- bad input: each is skipped with a warning or stops where reading stops; none crashes,
// hangs or allocates in proportion to a number in the file.

struct BadCase {
    const char* name;
    std::string text;
    uint32_t warning;  // expected among the flags (0: none required)
};

TEST(GerberReaderBadInput, EveryCaseIsSkippedWithAWarning) {
    const std::string head = "%FSLAX33Y33*%%MOMM*%%ADD10C,0.2*%D10*";
    const BadCase cases[] = {
        {"unterminated percent block", "%FSLAX33Y33*%%ADD10C,0.2*", kWarnUnterminated},
        {"missing star", head + "X1000Y1000D03", kWarnUnterminated},
        {"D0 as aperture", head + "D0*X1D03*", kWarnUnknownCode},
        {"D1 to D3 defined as apertures", "%ADD1C,0.2*%%ADD2C,0.2*%%ADD3C,0.2*%", kWarnBadAperture},
        {"D above 999", head + "%ADD1000C,0.2*%D1000*X1D03*", kWarnBadAperture},
        {"D above 2^31", head + "D99999999999*%ADD4294967307C,1*%", kWarnUnknownCode},
        {"macro with $0", "%AMM*1,1,$0,0,0*%%ADD10M,1*%D10*X1D03*", kWarnMacro},
        {"macro with huge $n", "%AMM*1,1,$99999999999,0,0*%%ADD10M,1*%D10*X1D03*", kWarnMacro},
        {"outline with too many vertices", "%AMM*4,1,50,0,0,1,1,0,0,0*%%ADD10M*%D10*X1D03*",
         kWarnMacro},
        {"outline with negative count", "%AMM*4,1,-3,0,0,1,1,0,0,0*%%ADD10M*%D10*X1D03*",
         kWarnMacro},
        {"nan size", "%ADD10C,nan*%", kWarnBadAperture},
        {"inf size", "%ADD10C,inf*%", kWarnBadAperture},
        {"1e308 size", "%ADD10C,1e308*%", kWarnBadAperture},
        {"negative size", "%ADD10C,-1*%%ADD11R,-1X2*%", kWarnBadAperture},
        {"5000-digit number", head + "X" + std::string(5000, '9') + "Y1D03*", kWarnBadNumber},
        {"5000-digit size", "%ADD10C," + std::string(5000, '7') + "*%", kWarnBadAperture},
        {"FS missing", "%MOMM*%%ADD10C,0.2*%D10*X1000Y1000D03*", 0},
        {"MO missing", "%FSLAX33Y33*%%ADD10C,0.2*%D10*X1000Y1000D03*", 0},
        {"FS repeated and broken", head + "%FSLAX*%%FSLAX34Y35*%X1D03*", kWarnBadParameter},
        {"FS after the first coordinate", head + "X1000D03*%FSLAX35Y35*%X1000D03*", 0},
        {"MO unknown", "%MOFT*%", kWarnBadParameter},
        {"arc without I/J", head + "X1000Y1000D02*G02X2000Y1000D01*", kWarnBadArc},
        {"arc of zero radius", head + "G03X1000Y1000I0J0D01*", kWarnBadArc},
        {"region never closed", head + "G36*X1000Y1000D02*X2000D01*X2000Y2000D01*", kWarnRegion},
        {"step and repeat with huge counts", "%SRX999999999Y999999999I1J1*%" + head + "X1D03*", 0},
        {"no M02", head + "X1000Y1000D03*", 0},
        {"data after M02", head + "M02*X1000Y1000D03*", kWarnAfterEnd},
        {"empty file", "", 0},
        {"CR-only line ends", "%FSLAX33Y33*%\r%ADD10C,0.2*%\rD10*\rX1000Y1000D03*\r", 0},
        {"NUL bytes", std::string("%FSLAX33Y33*%\0%ADD10C,0.2*%D10*\0X1000Y1000D03*", 45), 0},
        {"64 KB line", head + "G04 " + std::string(65536, 'x') + "*X1D03*", kWarnUnterminated},
        {"unknown letters", head + "Q12Z7*", kWarnUnknownCode},
        {"draw with undefined slot", "%FSLAX33Y33*%D5*X1000D01*X1000Y1000D03*",
         kWarnUndefinedAperture},
    };
    for (const BadCase& c : cases) {
        SCOPED_TRACE(c.name);
        Board b;
        InputResult r = Read(b, c.text);
        if (c.warning) EXPECT_TRUE(r.warnings & c.warning) << std::hex << r.warnings;
        for (container* e : r.elements) {
            Box box;
            if (e->kind == kGroup) {
                Board::GroupBounds(AsGroup(e), box);
            } else {
                box = AsDrawn(e)->bounds;
            }
            EXPECT_TRUE(std::isfinite(box.minX) && std::isfinite(box.maxY));
        }
        Recycle(b, r);
    }
}

TEST(DrillReader, RecognitionUnitsToolsAndStops) {
    EXPECT_TRUE(LooksLikeDrillFile("M48\r\nM71\r\nT01C0.800\r\n%\r\n"));
    EXPECT_FALSE(LooksLikeDrillFile("%\r\nG90\r\nX0Y0\r\nT10\r\n"));       // plain: T without C
    EXPECT_FALSE(LooksLikeDrillFile("G71*G90*\r\nT01C0.8\r\n"));           // a "*" comes first
    EXPECT_FALSE(LooksLikeDrillFile(std::string(40, '\n') + "T1C0.8\n"));  // past line 29

    Board b;
    int asked = 0;
    DrillReadOptions o;
    o.layer = 8;
    o.askDecimals = [&] { return ++asked, 3; };
    // Inches: tool 1 of 0.032 in, read with 3 decimals: half size 0.4064 mm, nearest 0.4.
    InputResult r;
    ReadDrill(b, "M48\nINCH\nT1C0.032\n%\nT1\nX1000Y2000\nY3000\nT1\nX500\nM30\n", o, r);
    EXPECT_EQ(asked, 1);
    ASSERT_EQ(r.elements.size(), 3u);
    const land* h = AsLand(r.elements[0]);
    EXPECT_EQ(h->aperture, NearestRoundAperture(b, 0.4064));
    EXPECT_DOUBLE_EQ(b.roundAp[h->aperture], 0.4);
    EXPECT_DOUBLE_EQ(h->x, 25.4);
    EXPECT_DOUBLE_EQ(h->y, 50.8);
    EXPECT_DOUBLE_EQ(AsLand(r.elements[1])->y, 76.2);
    // A new selection starts again from (0, 0).
    EXPECT_DOUBLE_EQ(AsLand(r.elements[2])->y, 0);
    for (container* e : r.elements) e->recycle(b);

    const BadCase stops[] = {
        {"T0 selected", "T1C0.8\nT0\nX1Y1\n", kWarnDrillStopped},
        {"T99999", "T99999C0.8\nT1C0.8\nT1\nX1Y1\n", kWarnDrillStopped},
        {"negative tool", "T-1C0.8\nT1\nX1Y1\n", kWarnDrillStopped},
        {"tool used before it is defined", "T2\nX1Y1\nT2C0.8\n", kWarnDrillStopped},
        {"C-0.8", "T1C-0.8\nT1\nX1Y1\n", kWarnDrillStopped},
        {"Cnan", "T1Cnan\nT1\nX1Y1\n", kWarnDrillStopped},
        {"coordinates before any tool", "T1C0.8\nX1Y1\nT1\nX2Y2\n", kWarnDrillStopped},
        {"no M48 header", "T1C0.8\nT1\nX1000Y1000\n", 0},
        {"huge coordinate", "T1C0.8\nT1\nX" + std::string(400, '9') + "\n", kWarnBadNumber},
    };
    for (const BadCase& c : stops) {
        SCOPED_TRACE(c.name);
        InputResult s;
        ReadDrill(b, c.text, o, s);
        if (c.warning) EXPECT_TRUE(s.warnings & c.warning);
        EXPECT_LE(s.elements.size(), 1u);
        for (container* e : s.elements) e->recycle(b);
    }
}

TEST(GerberInput, EmptyBoardShiftOffBoardDiscardAndOneUndoStep) {
    Board b;
    b.SetBoardSize(100, 100);
    ScratchDir dir;
    dir.Put("neg.gbr",
            "%FSLAX33Y33*%%MOMM*%%ADD10C,0.2*%D10*"
            "X-2500Y-300D03*"  // moved to (0.5, 0.7) by (3, 1)
            "X50000Y50000D03*"
            "X98000Y20000D03*");  // moved beyond the board's width: left out
    UndoHistory undo(b);
    GerberInputChoices c;
    c.files.name[1] = "neg.gbr";
    c.files.selected[1] = true;
    InputReport report;
    ReadLayerFiles(b, &undo, c, dir.path(), nullptr, report);
    EXPECT_DOUBLE_EQ(report.shift.x, 3);
    EXPECT_DOUBLE_EQ(report.shift.y, 1);
    EXPECT_EQ(report.added, 2);
    EXPECT_EQ(report.discarded, 1);
    EXPECT_EQ(undo.doneCount(), 1u);
    ASSERT_TRUE(undo.Undo());
    EXPECT_TRUE(b.items.emptyList());
    ASSERT_TRUE(undo.Redo());

    // On a board that holds something there is no shift.
    InputReport again;
    ReadLayerFiles(b, &undo, c, dir.path(), nullptr, again);
    EXPECT_DOUBLE_EQ(again.shift.x, 0);
    EXPECT_EQ(again.added, 2);
    EXPECT_EQ(again.discarded, 1);
}

TEST(GerberInput, CommandReadsHoleLayersAsDrillProgramsAndRewritesSettings) {
    Board b;
    testing::NameShippedLayers(b);
    ScratchDir dir;
    dir.Put("holes.drl", "M48\r\nM71\r\nT01C0.800\r\n%\r\nG90\r\nG81\r\nT1\r\nX10000Y10000\r\nM30");
    dir.Put("top.gbr", "%FSLAX33Y33*%%MOMM*%%ADD10C,0.2*%D10*X10000Y10000D03*M02*");
    const auto settings = dir / "GInIni.dat";
    GerberInputChoices choices;
    InputReport report;
    int asked = 0;
    ASSERT_TRUE(GerberInputCommand(
        b, nullptr, settings, dir.path(), choices,
        [](GerberInputChoices& c) {
            c.files.name[8] = "holes.drl";
            c.files.selected[8] = true;
            c.files.name[1] = "top.gbr";
            c.files.selected[1] = true;
            c.files.name[2] = "missing.gbr";
            c.files.selected[2] = true;
            return true;
        },
        [&] { return ++asked, 3; }, report));
    EXPECT_EQ(asked, 1);
    EXPECT_EQ(report.added, 2);
    ASSERT_EQ(report.unreadable.size(), 1u);
    const std::string saved = dir.Get("GInIni.dat");
    EXPECT_TRUE(
        saved.starts_with("[Input]\r\ntop.gbr:LE=1\r\nmissing.gbr:LE=2\r\nholes.drl:LE=8\r\n"));
    int holes = 0;
    ForEachDrawn(b.items, [&](const drawn* d) { holes += d->layer == 8; });
    EXPECT_EQ(holes, 1);
}

}  // namespace
}  // namespace zevo
