// zevo-cli as a script uses it: exit statuses, messages, and the files it writes.
#include <gtest/gtest.h>
#include <sys/wait.h>

#include <array>
#include <cstdio>
#include <filesystem>
#include <string>

#include "paths/scratch_dir.h"

namespace {

using zevo::testing::ScratchDir;

struct CliRun {
    int status = -1;
    std::string out;
};

CliRun Cli(const std::string& args) {
    CliRun r;
    const std::string cmd = std::string(ZEVO_CLI_PATH) + " " + args + " 2>&1";
    FILE* p = popen(cmd.c_str(), "r");
    if (!p) return r;
    std::array<char, 4096> buf;
    size_t n;
    while ((n = fread(buf.data(), 1, buf.size(), p)) > 0) r.out.append(buf.data(), n);
    const int st = pclose(p);
    r.status = WIFEXITED(st) ? WEXITSTATUS(st) : -1;
    return r;
}

const std::string kExample = std::string(ZEVO_EXAMPLES) + "/example.pcb";

TEST(CliInfo, ReportsTheExampleBoard) {
    const CliRun r = Cli("info " + kExample);
    ASSERT_EQ(r.status, 0) << r.out;
    EXPECT_NE(r.out.find("version: 0.63.9"), std::string::npos) << r.out;
    EXPECT_NE(r.out.find("board: 100 x 100 mm"), std::string::npos) << r.out;
    EXPECT_NE(r.out.find("パターン表"), std::string::npos) << r.out;  // names shown as UTF-8
    EXPECT_NE(r.out.find("11 parts, 15 texts, 26 pads, 1 filled areas"), std::string::npos)
        << r.out;
    EXPECT_NE(r.out.find("skipped lines: 0"), std::string::npos) << r.out;
}

TEST(CliInfo, TellsWhichLinesWereSkipped) {
    ScratchDir dir;
    const auto bad = dir.Put("bad.pcb",
                             "[DrawItems]\r\nLAND:X=1,Y=1,LE=1,AP=0\r\nLAND:X=1,Y=1,LE=300,AP=0\r\n"
                             "BOGUS:1\r\n");
    const CliRun r = Cli("info " + bad.string());
    EXPECT_EQ(r.status, 0) << r.out;
    EXPECT_NE(r.out.find("skipped lines: 2"), std::string::npos) << r.out;
    EXPECT_NE(r.out.find("line 3:"), std::string::npos) << r.out;
    EXPECT_NE(r.out.find("line 4:"), std::string::npos) << r.out;
}

TEST(CliConvert, WritesAFileThatConvertsToItself) {
    ScratchDir dir;
    const auto once = dir / "once.pcb", twice = dir / "twice.pcb";
    CliRun r = Cli("convert " + kExample + " " + once.string());
    ASSERT_EQ(r.status, 0) << r.out;
    r = Cli("convert " + once.string() + " " + twice.string());
    ASSERT_EQ(r.status, 0) << r.out;
    EXPECT_EQ(dir.Get("once.pcb"), dir.Get("twice.pcb"));
    r = Cli("convert --old-format " + kExample + " " + (dir / "old.pcb").string());
    ASSERT_EQ(r.status, 0) << r.out;
    EXPECT_NE(dir.Get("old.pcb").find("ZEVO:Version 0.48.9"), std::string::npos);
}

TEST(CliConvert, SkippedLinesStillConvertButFileErrorsFail) {
    ScratchDir dir;
    const auto bad =
        dir.Put("bad.pcb", "[DrawItems]\r\nLAND:X=1,Y=1,LE=-1,AP=0\r\nLAND:X=2,Y=2,LE=1,AP=0\r\n");
    CliRun r = Cli("convert " + bad.string() + " " + (dir / "out.pcb").string());
    EXPECT_EQ(r.status, 0) << r.out;
    EXPECT_NE(r.out.find("1 line(s) skipped"), std::string::npos) << r.out;
    EXPECT_NE(dir.Get("out.pcb").find("LAND:X=2,Y=2,LE=1,AP=0"), std::string::npos);

    r = Cli("convert " + (dir / "nothing.pcb").string() + " " + (dir / "x.pcb").string());
    EXPECT_EQ(r.status, 2) << r.out;
    r = Cli("convert " + bad.string() + " " + (dir / "no-such-folder" / "x.pcb").string());
    EXPECT_EQ(r.status, 2) << r.out;
    r = Cli("info");
    EXPECT_NE(r.status, 0);
}

TEST(CliBoards, AFileWithoutAnySectionOfABoardIsRefused) {
    ScratchDir dir;
    const auto png = dir.Put("picture.png", std::string("\x89PNG\r\n\x1a\n\0\0\0\rIHDR", 16));
    const auto empty = dir.Put("empty.pcb", "");
    for (const auto& file : {png, empty}) {
        CliRun r = Cli("info " + file.string());
        EXPECT_EQ(r.status, 2) << r.out;
        EXPECT_NE(r.out.find("not a board file"), std::string::npos) << r.out;
        r = Cli("convert " + file.string() + " " + (dir / "out.pcb").string());
        EXPECT_EQ(r.status, 2) << r.out;
        EXPECT_FALSE(std::filesystem::exists(dir / "out.pcb"));
    }
}

TEST(CliBoards, InfoAndConvertListWhatLeftTheBoard) {
    ScratchDir dir;
    const auto edge = dir.Put("edge.pcb",
                              "[BoardSize]\r\nX:100\r\nY:100\r\n[DrawItems]\r\n"
                              "FLSH:X=-5,Y=5,LE=3,AP=0\r\nLAND:X=50,Y=50,LE=1,AP=0\r\n");
    CliRun r = Cli("info " + edge.string());
    EXPECT_EQ(r.status, 0) << r.out;
    EXPECT_NE(r.out.find("removed off the board: 1"), std::string::npos) << r.out;
    EXPECT_NE(r.out.find("removed off the board: FLSH layer 3 at (-5, 5)"), std::string::npos)
        << r.out;
    r = Cli("convert " + edge.string() + " " + (dir / "out.pcb").string());
    EXPECT_EQ(r.status, 0) << r.out;
    EXPECT_NE(r.out.find("1 element(s) off the board removed"), std::string::npos) << r.out;
    EXPECT_NE(r.out.find("FLSH layer 3 at (-5, 5)"), std::string::npos) << r.out;
}

}  // namespace

namespace {

TEST(CliFont, DescribesTheShippedFontAndLaysTextIntoABoard) {
    CliRun r = Cli("font-info");
    ASSERT_EQ(r.status, 0) << r.out;
    EXPECT_NE(r.out.find("current format"), std::string::npos) << r.out;

    ScratchDir dir;
    const auto out = dir / "text.pcb";
    r = Cli("text \"R1 コネクター\" --height 2 --pitch 2.2 --layer 3 --aperture 2 --at 10,60 " +
            kExample + " " + out.string());
    ASSERT_EQ(r.status, 0) << r.out;
    const std::string text = dir.Get("text.pcb");
    // The text group with its placement, the string stored as Shift-JIS, then its strokes.
    const std::string header =
        "GROUP: TEXT,R1 \x83R\x83l\x83N\x83^\x81[,,X=10,Y=60,ANG=0,HI=2,PIT=2.2";
    const size_t at = text.find(header);
    ASSERT_NE(at, std::string::npos) << text;
    EXPECT_NE(text.find("LINE:", at), std::string::npos);
    EXPECT_NE(text.find("LE=3,AP=2", at), std::string::npos);

    r = Cli("text \"x\" --height 2 --pitch 2.2 --layer 3 --aperture 2 --at 10,60 " +
            (dir / "missing.pcb").string() + " " + out.string());
    EXPECT_NE(r.status, 0);

    // A tab cannot be kept in a board file (it stands for a comma there): an error, no file.
    const auto tabbed = dir / "tab.pcb";
    r = Cli("text \"$(printf 'A\\tB')\" --height 2 --pitch 2.2 --layer 3 --aperture 2 --at 10,60 " +
            kExample + " " + tabbed.string());
    EXPECT_EQ(r.status, 2) << r.out;
    EXPECT_NE(r.out.find("tab"), std::string::npos) << r.out;
    EXPECT_FALSE(std::filesystem::exists(tabbed));
}

}  // namespace

namespace {

TEST(CliRender, DrawsTheFittedBoardIntoAPngOfTheAskedSize) {
    ScratchDir dir;
    const auto png = dir / "board.png";
    CliRun r = Cli("render " + kExample + " -o " + png.string() + " --size 320x200");
    ASSERT_EQ(r.status, 0) << r.out;
    const std::string bytes = dir.Get("board.png");
    ASSERT_GT(bytes.size(), 24u);
    EXPECT_EQ(bytes.substr(1, 3), "PNG");
    auto be32 = [&](size_t at) {
        return (uint32_t(uint8_t(bytes[at])) << 24) | (uint32_t(uint8_t(bytes[at + 1])) << 16) |
               (uint32_t(uint8_t(bytes[at + 2])) << 8) | uint32_t(uint8_t(bytes[at + 3]));
    };
    EXPECT_EQ(be32(16), 320u);  // IHDR width and height
    EXPECT_EQ(be32(20), 200u);
    r = Cli("render " + kExample + " -o " + png.string() + " --size 0x-5");
    EXPECT_NE(r.status, 0);
}

}  // namespace

namespace {

TEST(CliChecks, NetsAndDesignRuleCheckWithTheirExitStatuses) {
    CliRun r = Cli("nets " + kExample);
    ASSERT_EQ(r.status, 0) << r.out;
    EXPECT_NE(r.out.find("net 1: 24 member(s)"), std::string::npos) << r.out;  // the supply

    r = Cli("drc " + kExample);
    EXPECT_EQ(r.status, 0) << r.out;  // the example is clean under the shipped rules

    ScratchDir dir;
    const auto rules =
        dir.Put("rules.drc", "[DrcDatas]\r\nOutputLayer:20\r\nSpace:LE1=1,P-P=0.5\r\n");
    const auto board = dir.Put("close.pcb",
                               "[DrawItems]\r\nLINE:XS=10,YS=10,XE=30,YE=10,LE=1,AP=4\r\n"
                               "LINE:XS=10,YS=10.5,XE=30,YE=10.5,LE=1,AP=4\r\n");
    const auto marked = dir / "marked.pcb";
    r = Cli("drc " + board.string() + " --rules " + rules.string() + " -o " + marked.string());
    EXPECT_EQ(r.status, 1) << r.out;
    EXPECT_NE(dir.Get("marked.pcb").find("GROUP: DRC"), std::string::npos);
    EXPECT_NE(dir.Get("marked.pcb").find("LE=20"), std::string::npos);

    r = Cli("drc " + board.string() + " --rules " + (dir / "missing.drc").string());
    EXPECT_EQ(r.status, 2) << r.out;
}

}  // namespace

namespace {

// Two resistors joined pin 2 to pin 1 by a track.
constexpr const char* kTwoParts =
    "[DrawItems]\r\n"
    "GROUP:R,,R1,X=10,Y=10,ANG=0\r\nLAND:X=10,Y=10,LE=1,AP=20,PN=1,NO=1\r\n"
    "LAND:X=20,Y=10,LE=1,AP=20,PN=2,NO=2\r\nENDGR:\r\n"
    "GROUP:R,,R2,X=40,Y=10,ANG=0\r\nLAND:X=40,Y=10,LE=1,AP=20,PN=1,NO=1\r\n"
    "LAND:X=50,Y=10,LE=1,AP=20,PN=2,NO=2\r\nENDGR:\r\n"
    "LINE:XS=20,YS=10,XE=40,YE=10,LE=1,AP=5\r\n";

TEST(CliNetlist, ExportsANetlistThatComparesCleanAndReportsADifference) {
    ScratchDir dir;
    const auto board = dir.Put("two.pcb", kTwoParts);
    const auto net = dir / "two.net";
    CliRun r = Cli("netlist " + board.string() + " -o " + net.string());
    ASSERT_EQ(r.status, 0) << r.out;
    const std::string text = dir.Get("two.net");
    EXPECT_NE(text.find("N0001; R1.2 R2.1"), std::string::npos) << text;

    r = Cli("compare " + board.string() + " " + net.string() + " -o " + (dir / "err.txt").string());
    EXPECT_EQ(r.status, 0) << r.out;

    // The track taken to the other pin of R2 differs from the netlist.
    std::string moved = kTwoParts;
    moved.erase(moved.find("LINE:"));
    moved +=
        "LINE:XS=20,YS=10,XE=20,YE=20,LE=1,AP=5\r\nLINE:XS=20,YS=20,XE=50,YE=20,LE=1,AP=5\r\n"
        "LINE:XS=50,YS=20,XE=50,YE=10,LE=1,AP=5\r\n";
    const auto open = dir.Put("moved.pcb", moved);
    r = Cli("compare " + open.string() + " " + net.string() + " -o " + (dir / "err.txt").string());
    EXPECT_EQ(r.status, 1) << r.out;
    EXPECT_NE(dir.Get("err.txt"), "<missing>");

    r = Cli("netlist " + (dir / "none.pcb").string() + " -o " + net.string());
    EXPECT_EQ(r.status, 2);
}

TEST(CliNetlist, CompareReadsEveryReferenceFormatItRecognises) {
    ScratchDir dir;
    const auto board = dir.Put("two.pcb", kTwoParts);
    // The same single net in a form of another schematic program, with a line it cannot read.
    const auto ref = dir.Put("other.net",
                             "ADD R1 RES\r\nADD R2 RES\r\nSIGNAL N1\r\nR1 2\r\n"
                             "R2 1\r\nR3\r\n");
    CliRun r =
        Cli("compare " + board.string() + " " + ref.string() + " -o " + (dir / "err.txt").string());
    EXPECT_EQ(r.status, 0) << r.out;
    EXPECT_NE(r.out.find("format 8, 1 net(s), 1 skipped"), std::string::npos) << r.out;
    EXPECT_NE(r.out.find("line 6: reference without a pin number"), std::string::npos) << r.out;

    const auto wrong = dir.Put("wrong.net", "SIGNAL N1\nR1 2\nR2 1\n");  // no "ADD" before it
    r = Cli("compare " + board.string() + " " + wrong.string());
    EXPECT_EQ(r.status, 2) << r.out;
    EXPECT_NE(r.out.find("ネットリストが読み込めません"), std::string::npos) << r.out;
}

}  // namespace

namespace {

TEST(CliCoords, WritesThePartCoordinateReport) {
    // Runs once zevo-cli registers the command (cli/main.cpp).
    if (Cli("--help").out.find("coords") == std::string::npos)
        GTEST_SKIP() << "zevo-cli has no coords command";
    ScratchDir dir;
    const auto board = dir.Put("two.pcb", kTwoParts);
    const auto out = dir / "two.pos";
    CliRun r = Cli("coords " + board.string() + " -o " + out.string());
    ASSERT_EQ(r.status, 0) << r.out;
    const std::string plain = dir.Get("two.pos");
    EXPECT_NE(plain.find("R1                          10.000    10.000     0.000    \r\n"),
              std::string::npos)
        << plain;
    EXPECT_NE(plain.find("PIN   2    LAND     1.200  X:  10.000  Y:   0.000\r\n"),
              std::string::npos)
        << plain;

    r = Cli("coords " + board.string() + " -o " + out.string() + " --origin --mirror-x");
    ASSERT_EQ(r.status, 0) << r.out;
    EXPECT_NE(dir.Get("two.pos").find("R2                         -40.000    10.000   180.000"),
              std::string::npos);
    // Mirroring needs the origin.
    EXPECT_NE(Cli("coords " + board.string() + " -o " + out.string() + " --mirror-x").status, 0);

    // Two parts with one reference: nothing written.
    std::string dup = kTwoParts;
    dup.replace(dup.find(",,R2,"), 5, ",,R1,");
    const auto dupBoard = dir.Put("dup.pcb", dup);
    r = Cli("coords " + dupBoard.string() + " -o " + (dir / "dup.pos").string());
    EXPECT_EQ(r.status, 2) << r.out;
    EXPECT_NE(r.out.find("同じ部品番号が複数あります"), std::string::npos) << r.out;
    EXPECT_EQ(dir.Get("dup.pos"), "<missing>");
}

}  // namespace
