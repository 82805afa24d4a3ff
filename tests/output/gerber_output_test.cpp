// The Gerber output command: file placement, earlier files, empty layers, gout.lst and the
// rewrite of GOutIni.dat; whole files compared with reviewed copies.
#include "output/gerber_output.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <string>

#include "output/gerber_writer.h"
#include "output/output_fixture.h"
#include "output/text_out.h"
#include "paths/scratch_dir.h"
#include "text/cp932.h"
#include "text/strings.h"

namespace zevo {
namespace {

using testing::ExpectSameAsFile;
using testing::MakeFeatureBoard;
using testing::ScratchDir;
namespace fs = std::filesystem;

GerberOutputChoices AllLayers(bool extended) {
    GerberOutputChoices c;
    c.extended = extended;
    const char* names[] = {"",         "PatternA", "PatternB.gbr", "silk_top.art", "silk_bot",
                           "mask_top", "mask_bot", "outline",      "drill"};
    for (int layer = 1; layer <= 8; ++layer) {
        c.files.name[layer] = names[layer];
        c.files.selected[layer] = true;
    }
    c.files.name[12] = "inner";
    c.files.selected[12] = true;
    c.files.name[9] = "origin";  // named, not selected
    return c;
}

TEST(GerberOutput, FeatureBoardExtendedFilesMatchTheReviewedCopies) {
    Board b;
    MakeFeatureBoard(b);
    ScratchDir dir;
    const OutputReport r = WriteGerberFiles(b, AllLayers(true), dir.path());
    ExpectSameAsFile(dir.Get("PatternA.grb"), "feature_top.gbr");
    ExpectSameAsFile(dir.Get("PatternB.gbr"), "feature_bottom.gbr");
    ExpectSameAsFile(dir.Get("outline.grb"), "feature_outline.gbr");
    ExpectSameAsFile(dir.Get("inner.grb"), "feature_inner.gbr");
    ExpectSameAsFile(dir.Get("gout.lst"), "feature_gout_extended.lst");
    EXPECT_EQ(dir.Get("silk_top.art").substr(0, 16), "G71*G90*G75*D02*");
    EXPECT_TRUE(r.listWritten);
    // Layer 4 is empty: no file and the message naming the layer and its file.
    EXPECT_FALSE(fs::exists(dir / "silk_bot.grb"));
    ASSERT_EQ(r.messages.size(), 1u);
    EXPECT_EQ(r.messages[0].text, "出力する要素がありません レイヤー 4 : silk_bot");
    EXPECT_FALSE(r.messages[0].error);
    EXPECT_FALSE(fs::exists(dir / "origin.grb"));
}

TEST(GerberOutput, FeatureBoardPlainFilesMatchTheReviewedCopies) {
    Board b;
    MakeFeatureBoard(b);
    ScratchDir dir;
    GerberOutputChoices c = AllLayers(false);
    c.decimals = 4;
    WriteGerberFiles(b, c, dir.path());
    ExpectSameAsFile(dir.Get("PatternA.grb"), "feature_top_plain.grb");
    ExpectSameAsFile(dir.Get("PatternB.gbr"), "feature_bottom_plain.grb");
    ExpectSameAsFile(dir.Get("gout.lst"), "feature_gout_plain.lst");
}

TEST(GerberOutput, EarlierFilesAreDeletedAndNamesArePlaced) {
    Board b;
    MakeFeatureBoard(b);
    ScratchDir dir;
    dir.Put("old.grb", "x");
    dir.Put("OLD2.GBR", "x");
    dir.Put("keep.txt", "x");
    dir.Put("folder.grb/inside.grb", "x");  // folders are never touched
    dir.Put("silk_bot.grb", "stale");       // the empty layer's own file goes too
    GerberOutputChoices c = AllLayers(true);
    c.files.name[3] = (dir / "sub" / "silk").string();  // a name with a folder is used as is
    fs::create_directories(dir / "sub");
    const OutputReport r = WriteGerberFiles(b, c, dir.path());
    EXPECT_FALSE(fs::exists(dir / "old.grb"));
    EXPECT_FALSE(fs::exists(dir / "OLD2.GBR"));
    EXPECT_TRUE(fs::exists(dir / "keep.txt"));
    EXPECT_TRUE(fs::exists(dir / "folder.grb" / "inside.grb"));
    EXPECT_FALSE(fs::exists(dir / "silk_bot.grb"));
    EXPECT_TRUE(fs::exists(dir / "sub" / "silk"));  // no extension added to a path
    EXPECT_TRUE(fs::exists(dir / "PatternA.grb"));
    EXPECT_TRUE(fs::exists(dir / "PatternB.gbr"));  // a name with a dot keeps it
    EXPECT_EQ(r.deleted.size(), 3u);
}

TEST(GerberOutput, FileThatCannotBeCreatedIsReportedAndSkipped) {
    Board b;
    MakeFeatureBoard(b);
    ScratchDir dir;
    GerberOutputChoices c = AllLayers(true);
    c.files.name[1] = (dir / "no such folder" / "top.grb").string();
    const OutputReport r = WriteGerberFiles(b, c, dir.path());
    ASSERT_GE(r.messages.size(), 1u);
    EXPECT_EQ(r.messages[0].text, "ファイルの書込みができません。");
    EXPECT_TRUE(r.messages[0].error);
    EXPECT_TRUE(fs::exists(dir / "PatternB.gbr"));
    // A layer that failed lists no apertures of its own in gout.lst: aperture 28 (the top
    // land, 2.000 mm) is used on layer 1 only.
    const std::string list = Cp932ToUtf8(dir.Get("gout.lst"));
    EXPECT_EQ(list.find(": 2.000 mm"), std::string::npos) << list;
}

TEST(GerberOutput, PlainOutputRefusesALayerWhoseCodeWouldStandForTwoApertures) {
    Board b;
    b.SetBoardSize(100, 100);
    b.AppendElement(nullptr, b.CreateLand(1, 3, false, {10, 10}));
    b.AppendElement(nullptr, b.CreateLand(1, 20, false, {20, 10}));
    b.AppendElement(nullptr, b.CreateLand(2, 5, true, {30, 10}));
    b.AppendElement(nullptr, b.CreateLand(3, 20, false, {40, 10}));
    ScratchDir dir;
    dir.Put("top.gbr", "stale");
    GerberOutputChoices c;
    c.extended = false;
    for (int layer : {1, 2, 3}) {
        c.files.name[layer] = layer == 1 ? "top.gbr" : "layer" + std::to_string(layer) + ".txt";
        c.files.selected[layer] = true;
    }
    c.codes.round[3] = 50;   // round aperture 20 has D50 by default
    c.codes.square[5] = 16;  // round aperture 3 had D16: now free, so layer 2 may use it
    const OutputReport r = WriteGerberFiles(b, c, dir.path());
    // Layer 1 uses round apertures 3 and 20 under one code: refused, naming the code and both.
    ASSERT_EQ(r.messages.size(), 1u);
    EXPECT_TRUE(r.messages[0].error);
    EXPECT_EQ(r.messages[0].text,
              std::string(TableText(kMsgDCodeTwoApertures)) + " D50 : 丸アパーチャー 3 (" +
                  FixedText(2 * b.roundAp[3], 3) + " mm) / 丸アパーチャー 20 (" +
                  FixedText(2 * b.roundAp[20], 3) + " mm) レイヤー 1 : top.gbr");
    EXPECT_FALSE(fs::exists(dir / "top.gbr"));
    EXPECT_TRUE(fs::exists(dir / "layer2.txt"));
    EXPECT_TRUE(fs::exists(dir / "layer3.txt"));  // aperture 20 alone: D50 is one aperture
    // gout.lst gives every code once.
    const std::string list = Cp932ToUtf8(dir.Get("gout.lst"));
    EXPECT_EQ(list.find("D50"), list.rfind("D50")) << list;
    EXPECT_NE(list.find("D16"), std::string::npos) << list;

    // A layer whose code is taken by a layer written before it is refused too.
    c.codes = DCodeTables::Defaults();
    c.codes.round[20] = 21;  // square aperture 5 has D21 by default
    const OutputReport again = WriteGerberFiles(b, c, dir.path());
    ASSERT_EQ(again.messages.size(), 1u);
    EXPECT_NE(again.messages[0].text.find(" D21 : 丸アパーチャー 20 ("), std::string::npos)
        << again.messages[0].text;
    EXPECT_NE(again.messages[0].text.find(" / 角アパーチャー 5 ("), std::string::npos);
    EXPECT_NE(again.messages[0].text.find("レイヤー 2 : layer2.txt"), std::string::npos);
    // Extended output gives its own codes: nothing is refused.
    c.extended = true;
    EXPECT_TRUE(WriteGerberFiles(b, c, dir.path()).messages.empty());
}

TEST(GerberOutput, CommandKeepsTheUsersTableAndCreatesTheSettingsFile) {
    Board b;
    MakeFeatureBoard(b);
    ScratchDir dir;
    const fs::path settings = dir / "GOutIni.dat";
    GerberOutputChoices choices;
    choices.extended = true;
    choices.decimals = 9;
    OutputReport r;
    bool dialogSawDefaults = false;
    ASSERT_TRUE(GerberOutputCommand(
        b, settings, dir.path(), choices,
        [&](GerberOutputChoices& c) {
            dialogSawDefaults = c.codes == DCodeTables::Defaults();
            c.files.name[1] = "top";
            c.files.selected[1] = true;
            c.codes.round[28] = 500;  // typed into the D-code dialog
            return true;
        },
        r));
    EXPECT_TRUE(dialogSawDefaults);
    EXPECT_TRUE(r.settingsWritten);
    EXPECT_EQ(choices.decimals, 5);
    const std::string saved = dir.Get("GOutIni.dat");
    EXPECT_TRUE(saved.starts_with("[Output]\r\ntop:LE=1\r\n\r\n[LineDef]\r\n"));
    EXPECT_NE(saved.find("\r\n28:D500\r\n"), std::string::npos);  // never the automatic 11..
    const std::string top = dir.Get("top.grb");
    EXPECT_NE(top.find("FSLAX45Y45"), std::string::npos);

    // The next run starts from the saved file; a cancelled dialog writes nothing.
    fs::remove(dir / "top.grb");
    ASSERT_FALSE(GerberOutputCommand(
        b, settings, dir.path(), choices,
        [&](GerberOutputChoices& c) {
            EXPECT_EQ(c.codes.round[28], 500);
            EXPECT_TRUE(c.files.selected[1]);
            return false;
        },
        r));
    EXPECT_FALSE(fs::exists(dir / "top.grb"));

    // Plain output uses the user's table itself.
    choices.extended = false;
    ASSERT_TRUE(GerberOutputCommand(b, settings, dir.path(), choices, nullptr, r));
    EXPECT_NE(dir.Get("top.grb").find("D500*"), std::string::npos);
}

TEST(GerberOutput, SettingsFileThatCannotBeCreatedStopsTheCommand) {
    Board b;
    ScratchDir dir;
    GerberOutputChoices choices;
    OutputReport r;
    bool asked = false;
    EXPECT_FALSE(GerberOutputCommand(
        b, dir / "missing" / "GOutIni.dat", dir.path(), choices,
        [&](GerberOutputChoices&) { return asked = true; }, r));
    EXPECT_FALSE(asked);
}

}  // namespace
}  // namespace zevo
