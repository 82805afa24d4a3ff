// The code tables and the three settings files of the outputs and the input.
#include "output/output_settings.h"

#include <gtest/gtest.h>

#include <string>

#include "board/model/board.h"

namespace zevo {
namespace {

TEST(CodeTables, DefaultsAndAutomaticCodes) {
    const DCodeTables d = DCodeTables::Defaults();
    EXPECT_EQ(d.round[0], 10);
    EXPECT_EQ(d.square[0], 11);
    EXPECT_EQ(d.round[255], 520);
    EXPECT_EQ(d.square[255], 521);
    EXPECT_EQ(TCodeTable::Defaults().code[7], 17);

    UsedApertures used;
    used.round.set(9);
    used.round.set(2);
    used.square.set(2);
    used.square.set(200);
    const DCodeTables a = AutomaticDCodes(d, used);
    EXPECT_EQ(a.round[2], 11);
    EXPECT_EQ(a.round[9], 12);
    EXPECT_EQ(a.square[2], 13);
    EXPECT_EQ(a.square[200], 14);
    EXPECT_EQ(a.round[3], d.round[3]);  // unused apertures keep their codes
}

TEST(CodeTables, UsedAperturesSplitRoundAndSquare) {
    Board b;
    group* g = b.CreateGroup(Intern("P"));
    b.AppendElement(g, b.CreateLand(1, 1, true, {1, 1}));
    b.AppendElement(g, b.CreateLine(1, 2, true, {1, 1}, {2, 2}));
    b.AppendElement(nullptr, g);
    b.AppendElement(nullptr, b.CreateArc(1, 3, {5, 5}, 2, 0, 1));
    b.AppendElement(nullptr, b.CreateRect(1, 4, {5, 5}, 4, 3, 0));
    b.AppendElement(nullptr, b.CreateLine(2, 5, false, {1, 1}, {2, 2}));
    UsedApertures u;
    CollectUsedApertures(b, 1, u);
    EXPECT_TRUE(u.square[1] && u.square[2] && u.round[3] && u.round[4]);
    EXPECT_EQ(u.round.count() + u.square.count(), 4u);
    const auto all = UsedAperturesByLayer(b);
    EXPECT_TRUE(all[2].round[5]);
    EXPECT_TRUE(LayerHasElements(b, 2));
    EXPECT_FALSE(LayerHasElements(b, 3));
}

TEST(GerberOutSettingsFile, ReadsSelectedUnselectedAndPaths) {
    const std::string text =
        "[Output]\r\n"
        "top.grb:LE=1\r\n"
        ";bottom:LE=2\r\n"
        "C:\\work\\silk.gbr:LE=3\r\n"
        "/home/u/a:b/mask.grb:LE=5\r\n"  // the colon after the last separator splits
        "nolayer.grb\r\n"                // no colon: skipped
        "neg.grb:LE=-1\r\n"              // negative: refused like 256
        "big.grb:LE=256\r\n"
        "bad.grb:XX=4\r\n"
        "\r\n"
        "[LineDef]\r\n"
        "0:D30\r\n"
        "1:D9\r\n"     // below 10: refused
        "2:D1000\r\n"  // above 999: refused
        "-3:D40\r\n"   // does not start with a digit
        "256:D40\r\n"  // no such aperture
        "4:D999\r\n"
        "\n"
        "[FlshDef]\n"  // LF-only lines read the same
        "0:D31\n"
        "x\n";
    SettingsReadResult r;
    const GerberOutSettings s = ReadGerberOutSettings(text, &r);
    EXPECT_EQ(s.files.name[1], "top.grb");
    EXPECT_TRUE(s.files.selected[1]);
    EXPECT_EQ(s.files.name[2], "bottom");
    EXPECT_FALSE(s.files.selected[2]);
    EXPECT_EQ(s.files.name[3], "C:\\work\\silk.gbr");
    EXPECT_EQ(s.files.name[5], "/home/u/a:b/mask.grb");
    EXPECT_TRUE(s.files.name[4].empty());
    EXPECT_EQ(s.codes.round[0], 30);
    EXPECT_EQ(s.codes.round[1], 12);
    EXPECT_EQ(s.codes.round[2], 14);
    EXPECT_EQ(s.codes.round[4], 999);
    EXPECT_EQ(s.codes.square[0], 31);
    EXPECT_EQ(r.skipped, 9);
}

TEST(GerberOutSettingsFile, WritesTheSavedTableAndReadsItBack) {
    LayerFiles files;
    files.name[1] = "PatternA.grb";
    files.selected[1] = true;
    files.name[7] = "outline";
    DCodeTables codes = DCodeTables::Defaults();
    codes.round[3] = 77;
    const std::string text = WriteGerberOutSettings(files, codes);
    EXPECT_TRUE(text.starts_with(
        "[Output]\r\nPatternA.grb:LE=1\r\n;outline:LE=7\r\n\r\n[LineDef]\r\n0:D10\r\n1:D12\r\n"));
    EXPECT_NE(text.find("\r\n3:D77\r\n"), std::string::npos);
    EXPECT_NE(text.find("\r\n255:D520\r\n\r\n[FlshDef]\r\n0:D11\r\n"), std::string::npos);
    EXPECT_TRUE(text.ends_with("255:D521\r\n"));
    SettingsReadResult r;
    const GerberOutSettings back = ReadGerberOutSettings(text, &r);
    EXPECT_EQ(r.skipped, 0);
    EXPECT_EQ(back.codes, codes);
    EXPECT_EQ(back.files.name, files.name);
    EXPECT_EQ(back.files.selected, files.selected);
}

TEST(HoleOutSettingsFile, ReadsWritesAndRefusesNegatives) {
    const std::string text =
        "[Output]\r\n"
        "drill.hol:LE=8\r\n"
        ";D:\\nc\\nth.hol:LE=42\r\n"  // a drive letter does not end the name
        "x.hol:LE=300\r\n"
        "[HoleDef]\r\n"
        "3:T1\r\n"
        "4:T-2\r\n"
        "300:T5\r\n"
        "5:T123456\r\n";
    SettingsReadResult r;
    const HoleOutSettings s = ReadHoleOutSettings(text, &r);
    EXPECT_EQ(s.files.name[8], "drill.hol");
    EXPECT_EQ(s.files.name[42], "D:\\nc\\nth.hol");
    EXPECT_FALSE(s.files.selected[42]);
    EXPECT_EQ(s.codes.code[3], 1);
    EXPECT_EQ(s.codes.code[4], 14);
    EXPECT_EQ(s.codes.code[5], 123456);
    EXPECT_EQ(r.skipped, 3);
    const std::string out = WriteHoleOutSettings(s.files, s.codes);
    EXPECT_TRUE(
        out.starts_with("[Output]\r\ndrill.hol:LE=8\r\n;D:\\nc\\nth.hol:LE=42\r\n\r\n"
                        "[HoleDef]\r\n0:T10\r\n"));
    const HoleOutSettings back = ReadHoleOutSettings(out);
    EXPECT_EQ(back.codes, s.codes);
    EXPECT_EQ(back.files.name, s.files.name);
}

TEST(GerberInSettingsFile, ALineForACodeReplacesItsPresetAndCodesBelowFourAreRefused) {
    const std::string text =
        "[Input]\r\n"
        "top.gbr:LE=1\r\n"
        "\r\n"
        "[Aperture]\r\n"
        "D50:3,CIR\r\n"
        "D51:3,SQ\r\n"
        "D2:4,CIR\r\n"  // an exposure code, never an aperture
        "D-5:4,CIR\r\n"
        "D60:-1,CIR\r\n"
        "D1000:4,SQ\r\n"
        "D70:4,HEX\r\n"
        "D71:4\r\n";
    SettingsReadResult r;
    const GerberInSettings s = ReadGerberInSettings(text, &r);
    EXPECT_EQ(s.files.name[1], "top.gbr");
    EXPECT_EQ(s.codes.round[3], 50);
    EXPECT_EQ(s.codes.square[3], 51);
    EXPECT_EQ(s.codes.round[4], 18);
    // D50 and D51 were round and square aperture 20's defaults: a code maps to one aperture.
    EXPECT_EQ(s.codes.round[20], kNoDCode);
    EXPECT_EQ(s.codes.square[20], kNoDCode);
    EXPECT_EQ(s.codes.round[21], 52);
    EXPECT_EQ(r.skipped, 6);
    const std::string out = WriteGerberInSettings(s.files, s.codes);
    EXPECT_TRUE(
        out.starts_with("[Input]\r\ntop.gbr:LE=1\r\n\r\n[Aperture]\r\nD10:0,CIR\r\n"
                        "D11:0,SQ\r\nD12:1,CIR\r\n"));
    // Aperture 20 lost D50 and D51 to aperture 3: one line per code, aperture 20 has none.
    EXPECT_NE(out.find("D49:19,SQ\r\nD50:3,CIR\r\nD51:3,SQ\r\nD52:21,CIR\r\n"), std::string::npos);
    EXPECT_EQ(out.find(":20,"), std::string::npos);
    const GerberInSettings back = ReadGerberInSettings(out);
    EXPECT_EQ(back.codes, s.codes);
}

TEST(ScanIntTest, TakesWhatPercentDTakes) {
    int v = 0;
    std::size_t used = 0;
    EXPECT_TRUE(ScanInt("  -42xyz", v, &used));
    EXPECT_EQ(v, -42);
    EXPECT_EQ(used, 5u);
    EXPECT_FALSE(ScanInt("x1", v));
    EXPECT_FALSE(ScanInt("-", v));
    EXPECT_FALSE(ScanInt("99999999999999999999999", v));
    EXPECT_TRUE(ScanInt("2147483647", v));
    EXPECT_FALSE(ScanInt("2147483648", v));
}

}  // namespace
}  // namespace zevo
