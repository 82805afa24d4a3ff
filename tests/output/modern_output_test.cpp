// The current-format outputs beside the extended and plain ones: the X2 Gerber layer files, the
// Excellon drill programs with their plating, the ZevoNC set in that format, and the command
// line's --modern.
#include <gtest/gtest.h>
#include <sys/wait.h>

#include <cstdlib>
#include <filesystem>
#include <regex>
#include <sstream>
#include <string>
#include <vector>

#include "output/gerber_compare.h"
#include "output/gerber_output.h"
#include "output/gerber_writer.h"
#include "output/hole_output.h"
#include "output/output_fixture.h"
#include "output/zevonc.h"
#include "paths/scratch_dir.h"

namespace zevo {
namespace {

using testing::MakeFeatureBoard;
using testing::NameLayer;
using testing::ScratchDir;
namespace fs = std::filesystem;

std::vector<std::string> Lines(const std::string& bytes) {
    std::vector<std::string> out;
    std::size_t at = 0;
    while (at < bytes.size()) {
        const std::size_t nl = bytes.find("\r\n", at);
        EXPECT_NE(nl, std::string::npos) << "a line without CR LF at " << at;
        if (nl == std::string::npos) break;
        out.push_back(bytes.substr(at, nl - at));
        at = nl + 2;
    }
    return out;
}

std::string Modern(const Board& b, int layer) {
    std::string out;
    WriteModernLayer(out, b, layer, AutomaticDCodes(DCodeTables::Defaults(), [&] {
                         UsedApertures u;
                         CollectUsedApertures(b, layer, u);
                         return u;
                     }()));
    return out;
}

TEST(ModernGerber, OneLandIsTheWholeFileWithItsAttributes) {
    auto b = std::make_unique<Board>();
    b->roundAp[0] = 0.5;
    b->AppendElement(nullptr, b->CreateLand(1, 0, false, {12.5, 3.25}));
    const std::string expected = "G04 #@! TF.GenerationSoftware," + GenerationSoftware() +
                                 "*\r\n"
                                 "G04 #@! TF.FileFunction,Copper,L1,Top*\r\n"
                                 "G04 #@! TF.FilePolarity,Positive*\r\n"
                                 "%FSLAX46Y46*%\r\n"
                                 "%MOMM*%\r\n"
                                 "%ADD11C,1.000*%\r\n"
                                 "G75*\r\n"
                                 "D11*\r\n"
                                 "G01*\r\n"
                                 "X12500000Y3250000D03*\r\n"
                                 "M02*\r\n";
    EXPECT_EQ(Modern(*b, 1), expected);
    EXPECT_TRUE(GenerationSoftware().starts_with("Zevo,zevo,"));
}

// Every file of the feature board: one command per block, one parameter per block, nothing the
// current format deprecates, modes as commands of their own.
TEST(ModernGerber, EveryBlockIsOneCommandOfTheCurrentFormat) {
    auto b = std::make_unique<Board>();
    MakeFeatureBoard(*b);
    const std::regex param(R"(%[A-Z][A-Z.]*[^%*]*\*%)");
    const std::regex data(
        R"((G04 #@! TF\.[A-Za-z]+,[^*%]+|G0[123]|G75|D[1-9][0-9]+|(X-?[0-9]+)?(Y-?[0-9]+)?(I-?[0-9]+)?(J-?[0-9]+)?D0[123]|M02)\*)");
    for (int layer : {1, 2, 3, 5, 6, 7, 8, 12, 42}) {
        SCOPED_TRACE("layer " + std::to_string(layer));
        const std::string file = Modern(*b, layer);
        const auto lines = Lines(file);
        ASSERT_FALSE(lines.empty());
        EXPECT_EQ(lines.back(), "M02*");
        for (const std::string& l : lines) {
            if (l.starts_with('%'))
                EXPECT_TRUE(std::regex_match(l, param)) << l;
            else
                EXPECT_TRUE(std::regex_match(l, data)) << l;
            for (const char* old : {"G54", "G70", "G71", "G90", "G91", "G74", "%AS", "%OF", "%IP",
                                    "%IN", "%LN", "M00", "M01"})
                EXPECT_EQ(l.find(old), std::string::npos) << l;
        }
        // Six decimals in millimetres, said once each, before any coordinate.
        EXPECT_LT(file.find("%FSLAX46Y46*%"), file.find("%MOMM*%"));
        EXPECT_LT(file.find("%MOMM*%"), file.find("D0"));
    }
}

// The same flashes, draws and arcs as the extended file, at six decimals instead of three.
TEST(ModernGerber, DrawsWhatTheExtendedFileDraws) {
    auto b = std::make_unique<Board>();
    MakeFeatureBoard(*b);
    // Off the 0.001 mm grid: the extended file rounds, the current one keeps six decimals.
    b->AppendElement(nullptr, b->CreateRect(1, 4, {30.0004, 50}, 5, 3, 0.3));
    const DCodeTables codes = AutomaticDCodes(DCodeTables::Defaults(), [&] {
        UsedApertures u;
        for (int l = 0; l < kLayers; ++l) CollectUsedApertures(*b, l, u);
        return u;
    }());
    for (int layer : {1, 2, 3, 7, 8, 12, 42}) {
        SCOPED_TRACE("layer " + std::to_string(layer));
        std::string extended, modern;
        WriteLayer(extended, *b, layer, true, 3, codes);
        WriteModernLayer(modern, *b, layer, codes);
        const auto a = testing::ReadPlot(extended);
        const auto m = testing::ReadPlot(modern);
        EXPECT_EQ(a.size(), m.size());
        for (const auto& s : testing::Unmatched(a, m, 0.0006, 1e-9)) ADD_FAILURE() << s;
        for (const auto& s : testing::Unmatched(m, a, 0.0006, 1e-9)) ADD_FAILURE() << s;
    }
}

TEST(ModernGerber, FileFunctionFollowsTheFabricationSetRoles) {
    auto b = std::make_unique<Board>();
    testing::NameShippedLayers(*b);
    NameLayer(*b, 20, "内層2");
    NameLayer(*b, 30, "内層3");  // a pattern layer without elements is not a copper layer
    NameLayer(*b, 50, "ベタネガ");
    for (int layer : {1, 2, 12, 20, 50, 60})
        b->AppendElement(nullptr, b->CreateLand(layer, 1, false, {1, 1}));
    EXPECT_EQ(CopperLayerCount(*b), 4);
    EXPECT_EQ(LayerFileFunction(*b, 1), "Copper,L1,Top");
    EXPECT_EQ(LayerFileFunction(*b, 2), "Copper,L4,Bot");
    EXPECT_EQ(LayerFileFunction(*b, 12), "Copper,L2,Inr");
    EXPECT_EQ(LayerFileFunction(*b, 20), "Copper,L3,Inr");
    EXPECT_EQ(LayerFileFunction(*b, 30), "Other,Layer30");
    EXPECT_EQ(LayerFileFunction(*b, 3), "Legend,Top");
    EXPECT_EQ(LayerFileFunction(*b, 4), "Legend,Bot");
    EXPECT_EQ(LayerFileFunction(*b, 5), "Soldermask,Top");
    EXPECT_EQ(LayerFileFunction(*b, 6), "Soldermask,Bot");
    EXPECT_EQ(LayerFileFunction(*b, 7), "Profile,NP");
    EXPECT_EQ(LayerFileFunction(*b, 8), "Plated,1,4,PTH,Drill");
    EXPECT_EQ(LayerFileFunction(*b, 42), "NonPlated,1,4,NPTH,Drill");
    EXPECT_EQ(LayerFileFunction(*b, 60), "Other,Layer60");
    EXPECT_EQ(LayerFileFunction(*b, 0), "Other,Layer0");

    // A negative layer is drawn as it is and marked, never inverted with the deprecated IP.
    ASSERT_TRUE(b->HasRole(50, kRoleNegative));
    const std::string neg = Modern(*b, 50);
    EXPECT_NE(neg.find("G04 #@! TF.FilePolarity,Negative*\r\n"), std::string::npos);
    EXPECT_EQ(neg.find("IPNEG"), std::string::npos);
    EXPECT_NE(Modern(*b, 1).find("G04 #@! TF.FilePolarity,Positive*\r\n"), std::string::npos);
}

TEST(ModernGerber, RecognisedByItsHeaderAndOnlyThen) {
    auto b = std::make_unique<Board>();
    MakeFeatureBoard(*b);
    std::string extended, plain;
    WriteLayer(extended, *b, 1, true, 3, DCodeTables::Defaults());
    WriteLayer(plain, *b, 1, false, 3, DCodeTables::Defaults());
    EXPECT_TRUE(IsModernOutput(Modern(*b, 1)));
    EXPECT_FALSE(IsModernOutput(extended));
    EXPECT_FALSE(IsModernOutput(plain));
    std::string drill;
    WriteModernDrill(drill, "Plated,1,2,PTH", {{1, 0.8}}, {{1, 1, 2}});
    EXPECT_TRUE(IsModernOutput(drill));
    EXPECT_FALSE(IsModernOutput("M48\r\nM71\r\nT01C0.800\r\n"));
    EXPECT_TRUE(IsModernOutput("%TF.FileFunction,Copper,L1,Top*%\r\n"));  // the other form
    EXPECT_FALSE(IsModernOutput("G04 a comment*\r\n"));
    EXPECT_FALSE(IsModernOutput(""));
    EXPECT_FALSE(IsModernOutput("M48"));
}

TEST(ModernGerberCommand, WritesTheChosenLayersAndTheListSaysSixDecimals) {
    auto b = std::make_unique<Board>();
    MakeFeatureBoard(*b);
    ScratchDir dir;
    GerberOutputChoices c;
    c.modern = true;
    c.extended = false;  // the current format has its definitions inside all the same
    c.decimals = 2;      // and always six decimals
    for (int layer : {1, 7}) {
        c.files.name[layer] = "L" + std::to_string(layer);
        c.files.selected[layer] = true;
    }
    const OutputReport r = WriteGerberFiles(*b, c, dir.path());
    EXPECT_TRUE(r.messages.empty());
    const std::string top = dir.Get("L1.grb");
    EXPECT_TRUE(top.starts_with("G04 #@! TF.GenerationSoftware,")) << top.substr(0, 80);
    EXPECT_NE(top.find("G04 #@! TF.FileFunction,Copper,L1,Top*"), std::string::npos);
    EXPECT_NE(top.find("%ADD11C,"), std::string::npos);  // automatic codes, as extended
    EXPECT_NE(dir.Get("L7.grb").find("TF.FileFunction,Profile,NP*"), std::string::npos);
    const std::string list = dir.Get(std::string(kGerberListFile));
    EXPECT_NE(list.find("6"), std::string::npos);
}

// ---- drill programs

TEST(ModernDrill, ProgramHeaderToolsAndDecimalCoordinates) {
    std::string out;
    WriteModernDrill(out, "Plated,1,2,PTH", {{1, 0.8}, {3, 1.2}},
                     {{1, 12.5, 3.25}, {1, -1, 0.0004}, {3, 40.64, 20}});
    EXPECT_EQ(out,
              "M48\r\n"
              "; #@! TF.GenerationSoftware," +
                  GenerationSoftware() +
                  "\r\n"
                  "; #@! TF.FileFunction,Plated,1,2,PTH\r\n"
                  "FMAT,2\r\n"
                  "METRIC,TZ\r\n"
                  "T1C0.800\r\n"
                  "T3C1.200\r\n"
                  "%\r\n"
                  "G90\r\n"
                  "G05\r\n"
                  "T1\r\n"
                  "X12.500Y3.250\r\n"
                  "X-1.000Y0.000\r\n"
                  "T3\r\n"
                  "X40.640Y20.000\r\n"
                  "M30\r\n");
    EXPECT_EQ(DrillFileFunction(Plating::kNonPlated, 4), "NonPlated,1,4,NPTH");
    EXPECT_EQ(DrillFileFunction(Plating::kMixed, 2), "MixedPlating,1,2");
}

TEST(ModernDrill, LayersMarkedByPlatingAndTheSingleFileSplit) {
    auto b = std::make_unique<Board>();
    MakeFeatureBoard(*b);
    NameLayer(*b, 43, "穴-NONTH");
    b->AppendElement(nullptr, b->CreateLand(43, 14, false, {33, 33}));
    EXPECT_FALSE(NonPlatedLayer(*b, 8));
    EXPECT_TRUE(NonPlatedLayer(*b, 42));
    EXPECT_TRUE(NonPlatedLayer(*b, 43));

    ScratchDir dir;
    HoleOutputChoices c;
    c.modern = true;
    c.decimals = 0;  // not used: always three decimals with the point
    for (int layer : {8, 42}) {
        c.files.name[layer] = "H" + std::to_string(layer);
        c.files.selected[layer] = true;
    }
    WriteHoleFiles(*b, c, dir.path());
    const std::string plated = dir.Get("H8.hol");
    EXPECT_NE(plated.find("; #@! TF.FileFunction,Plated,1,3,PTH\r\n"), std::string::npos);
    EXPECT_NE(plated.find("METRIC,TZ\r\n"), std::string::npos);
    EXPECT_NE(plated.find("X40.640Y20.000\r\n"), std::string::npos);
    // The T-code table numbers the tools when automatic codes are off (aperture 14: T24).
    EXPECT_NE(plated.find("T24C"), std::string::npos);
    // The duplicate hole is left out, as in the other formats.
    EXPECT_EQ(testing::ReadDrill(plated, 0).size(), 3u);
    EXPECT_NE(dir.Get("H42.hol").find("NonPlated,1,3,NPTH"), std::string::npos);
    EXPECT_NE(dir.Get(std::string(kHoleListFile)).find("METRIC,TZ"), std::string::npos);

    // One file: the plated holes in it, the non-plated ones beside it, each marked; an old
    // non-plated file of an earlier output does not survive an output without such holes.
    ScratchDir one;
    c.autoT = c.single = true;
    c.files.selected[43] = true;
    c.files.name[43] = "H43";
    // Elsewhere than the output folder, whose .hol files every output deletes first.
    fs::create_directories(one / "single");
    c.singleFile = one / "single" / "board.hol";
    EXPECT_EQ(NonPlatedFileName(c.singleFile), one / "single" / "board-NPTH.hol");
    WriteHoleFiles(*b, c, one.path());
    const auto p = testing::ReadDrill(one.Get("single/board.hol"), 0);
    const auto n = testing::ReadDrill(one.Get("single/board-NPTH.hol"), 0);
    EXPECT_EQ(p.size(), 3u);
    EXPECT_EQ(n.size(), 3u);  // two on layer 42, one on the non-through layer 43
    EXPECT_NE(one.Get("single/board.hol").find("TF.FileFunction,Plated"), std::string::npos);
    EXPECT_NE(one.Get("single/board-NPTH.hol").find("TF.FileFunction,NonPlated"),
              std::string::npos);
    const std::string list = one.Get(std::string(kHoleListFile));
    EXPECT_NE(list.find("board.hol"), std::string::npos);
    EXPECT_NE(list.find("board-NPTH.hol"), std::string::npos);

    c.files.selected[42] = c.files.selected[43] = false;
    const OutputReport r = WriteHoleFiles(*b, c, one.path());
    EXPECT_FALSE(fs::exists(one / "single" / "board-NPTH.hol"));
    EXPECT_TRUE(fs::exists(one / "single" / "board.hol"));
    EXPECT_EQ(r.deleted.size(), 1u);
}

// ---- the fabrication set

TEST(ModernZevoNc, SameNamesCurrentFormatsDrillsMarked) {
    auto b = std::make_unique<Board>();
    MakeFeatureBoard(*b);
    ScratchDir dir;
    DCodeTables codes = DCodeTables::Defaults();
    OutputReport r;
    ASSERT_TRUE(WriteZevoNcSet(*b, dir.path(), codes, r, true));
    const fs::path nc = dir / "ZevoNC";
    for (const char* name : {"PatternA", "PatternB", "SilkA", "MaskA", "MaskB", "Board", "Drill",
                             "DrillNTH", "InnerLy1"}) {
        SCOPED_TRACE(name);
        ASSERT_TRUE(fs::exists(nc / name));
        EXPECT_TRUE(IsModernOutput(*ReadWholeFile(nc / name)));
    }
    EXPECT_NE(ReadWholeFile(nc / "InnerLy1")->find("Copper,L2,Inr"), std::string::npos);
    EXPECT_NE(ReadWholeFile(nc / "PatternB")->find("Copper,L3,Bot"), std::string::npos);
    const std::string nc1 = *ReadWholeFile(nc / "DrillNC1");
    const std::string nc2 = *ReadWholeFile(nc / "DrillNC2");
    const std::string all = *ReadWholeFile(nc / "DrillNC");
    EXPECT_NE(nc1.find("TF.FileFunction,Plated,1,3,PTH"), std::string::npos);
    EXPECT_NE(nc2.find("TF.FileFunction,NonPlated,1,3,NPTH"), std::string::npos);
    EXPECT_NE(all.find("TF.FileFunction,MixedPlating,1,3"), std::string::npos);
    // Tools numbered by diameter, duplicates kept, as in the set's usual programs.
    const auto hits = testing::ReadDrill(all, 0);
    EXPECT_EQ(hits.size(), 6u);
    for (std::size_t i = 1; i < hits.size(); ++i) EXPECT_LE(hits[i - 1].w, hits[i].w);
    EXPECT_NE(all.find("T1C"), std::string::npos);
    EXPECT_NE(all.find("T3C"), std::string::npos);

    // Without the choice the set is what it always was.
    OutputReport r2;
    ScratchDir old;
    ASSERT_TRUE(WriteZevoNcSet(*b, old.path(), codes, r2));
    EXPECT_TRUE(old.Get("ZevoNC/PatternA").starts_with("G71*G90*G75*D02*\r\n%ASAXBY"));
    EXPECT_TRUE(old.Get("ZevoNC/DrillNC").starts_with("M48\r\nM71\r\n"));
}

// ---- the command line

int RunCli(const std::string& args, const ScratchDir& dir) {
    const std::string cmd = std::string(ZEVO_CLI_PATH) + " " + args + " >" +
                            (dir / "stdout").string() + " 2>" + (dir / "stderr").string();
    const int status = std::system(cmd.c_str());
    return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
}

TEST(ModernCli, GerberDrillAndZevoNcTakeModern) {
    ScratchDir dir;
    const std::string board = std::string(ZEVO_EXAMPLES) + "/example.pcb";
    const std::string out = (dir / "out").string();
    fs::create_directories(dir / "out");
    ASSERT_EQ(RunCli("gerber " + board + " --out " + out + " --layers 1,7 --modern", dir), 0)
        << dir.Get("stderr");
    EXPECT_TRUE(dir.Get("out/layer1.grb").starts_with("G04 #@! TF.GenerationSoftware,Zevo,zevo,"));
    EXPECT_NE(RunCli("gerber " + board + " --out " + out + " --plain --modern", dir), 0);
    ASSERT_EQ(RunCli("drill " + board + " --out " + out + " --layers 8 --modern", dir), 0)
        << dir.Get("stderr");
    EXPECT_TRUE(dir.Get("out/layer8.hol").starts_with("M48\r\n; #@! TF.GenerationSoftware,"));
    fs::create_directories(dir / "nc");
    ASSERT_EQ(RunCli("zevonc " + board + " --dir " + (dir / "nc").string() + " --modern", dir), 0)
        << dir.Get("stderr");
    EXPECT_TRUE(dir.Get("nc/ZevoNC/PatternA").starts_with("G04 #@! TF."));
    EXPECT_TRUE(dir.Get("nc/ZevoNC/DrillNC").starts_with("M48\r\n; #@! TF."));
}

}  // namespace
}  // namespace zevo
