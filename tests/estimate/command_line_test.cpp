// The estimate program's command line: the editor's fields, the path rules, and the two kinds of
// refusal.
#include "estimate/command_line.h"

#include <gtest/gtest.h>

#include "board/model/board.h"
#include "shell/estimate_link.h"

namespace zevo {
namespace {

TEST(EstimateArguments, TheEditorsFieldsAreRead) {
    const auto p = ParseEstimateArguments("ZEVO 0012ABCD X50 Y81 LY2 F0000003F C:\\work\\amp.pcb");
    ASSERT_EQ(p.error, ArgumentsError::kNone);
    EXPECT_EQ(p.args.channel, 0x0012ABCDu);
    EXPECT_EQ(p.args.sizeX, 50u);
    EXPECT_EQ(p.args.sizeY, 81u);
    EXPECT_EQ(p.args.innerLayers, 2);
    EXPECT_EQ(p.args.layerMask, 0x3Fu);
    EXPECT_EQ(p.args.boardPath, "C:\\work\\amp.pcb");
    EXPECT_EQ(p.args.boardName, "amp.pcb");
    EXPECT_EQ(p.args.archivePath, "C:\\work\\amp_zevo.zip");

    // Blanks before each field; a rooted path with blanks and a second dot in it; only the last
    // extension goes.
    const auto q =
        ParseEstimateArguments("ZEVO   0000000A  X0 Y0  LY0   F0  /home/u/my boards/v1.2.pcb");
    ASSERT_EQ(q.error, ArgumentsError::kNone);
    EXPECT_EQ(q.args.boardName, "v1.2.pcb");
    EXPECT_EQ(q.args.archivePath, "/home/u/my boards/v1.2_zevo.zip");

    // The archive splits into folder and name as the board does, whatever its name holds.
    const auto r = ParseEstimateArguments("ZEVO 0000000A X1 Y1 LY0 F0 d\\x&\\a.O:");
    ASSERT_EQ(r.error, ArgumentsError::kNone);
    EXPECT_EQ(FolderOf(r.args.archivePath), "d\\x&");
    EXPECT_EQ(FileNameOf(r.args.archivePath), "a_zevo.zip");
    EXPECT_EQ(FolderOf("/a\\b/c.pcb"), "/a\\b");
}

TEST(EstimateArguments, AStringNotOpeningWithTheMarkerCannotStart) {
    for (const char* s : {"", "ZEVO", "zevo 0000000A X1 Y1 LY0 F0 /a.pcb",
                          " ZEVO 0000000A X1 Y1 LY0 F0 /a.pcb", "ZEVOX 0000000A"}) {
        EXPECT_EQ(ParseEstimateArguments(s).error, ArgumentsError::kNotZevo) << s;
    }
}

TEST(EstimateArguments, MalformedFieldsAreACommandError) {
    for (const char* s : {
             "ZEVO 00000000 X1 Y1 LY0 F0 /a.pcb",          // the channel must not be 0
             "ZEVO 0000000AX1 Y1 LY0 F0 /a.pcb",           // nor run into the next field
             "ZEVO 000A X1 Y1 LY0 F0 /a.pcb",              // eight digits
             "ZEVO 0000000G X1 Y1 LY0 F0 /a.pcb",          // hexadecimal
             "ZEVO 0000000A Y1 X1 LY0 F0 /a.pcb",          // in order
             "ZEVO 0000000A X1 Y1 LY-1 F0 /a.pcb",         // no negative count
             "ZEVO 0000000A X1 Y1 LY0 F123456789 /a.pcb",  // the mask has eight digits at most
             "ZEVO 0000000A X1 Y1 LY0 F0",                 // no path
             "ZEVO 0000000A X1 Y1 LY0 F0 a.pcb",           // not a full path
             "ZEVO 0000000A X1 Y1 LY0 F0 C:\\work\\amp",   // no dot in the file name
             "ZEVO 0000000A X1 Y1 LY0 F0 C:\\my.work\\amp",
             "ZEVO 0000000A X1 Y1 LY0 F0 /my.work/amp",
             "ZEVO 0000000A X1 Y1 LY0 F0 1:\\work\\amp.pcb",  // a drive is a letter
             "ZEVO 0000000A X99999999999 Y1 LY0 F0 /a.pcb",
         }) {
        EXPECT_EQ(ParseEstimateArguments(s).error, ArgumentsError::kMalformed) << s;
    }
}

TEST(EstimateArguments, TheEditorsStringParsesBack) {
    EstimateBoardFacts f{120, 7, 3, 0x1F};
    const std::string s = EstimateArgumentString(0xDEADBEEF, f, "/boards/テスト基板.pcb");
    EXPECT_EQ(s, "ZEVO DEADBEEF X120 Y7 LY3 F0000001F /boards/テスト基板.pcb");
    const auto p = ParseEstimateArguments(s);
    ASSERT_EQ(p.error, ArgumentsError::kNone);
    EXPECT_EQ(p.args.channel, 0xDEADBEEFu);
    EXPECT_EQ(p.args.boardName, "テスト基板.pcb");
}

TEST(EstimateLink, ReplyLines) {
    EXPECT_EQ(ParseEstimateReply(EstimateReplyLine(true)), true);
    EXPECT_EQ(ParseEstimateReply(EstimateReplyLine(false)), false);
    EXPECT_EQ(ParseEstimateReply("reply 0\r\n"), true);
    EXPECT_FALSE(ParseEstimateReply("reply 2"));
    EXPECT_FALSE(ParseEstimateReply("request"));
}

TEST(EstimateLink, BoardExtentFromTheOutlineLayerOnly) {
    Board b;
    auto top = [&](container* e) { b.AppendElement(nullptr, e); };
    top(b.CreateLine(7, 0, false, {5, 5}, {55.2, 5}));
    top(b.CreateLine(7, 0, false, {55.2, 5}, {55.2, 35}));
    // An arc on the outline reaches beyond its ends: its top at 35 + 10.
    top(b.CreateArc(7, 0, {30, 35}, 10, 0, kPi));
    // Other layers, texts and pilot marks are not the board's shape.
    top(b.CreateLine(1, 0, false, {-50, -50}, {200, 200}));
    group* text = b.CreateGroup(Reserved().text);
    b.AppendElement(text, b.CreateLine(7, 0, false, {0, 0}, {300, 0}));
    top(text);
    group* mark = b.CreateGroup(Intern("pilot_mark-1"));
    b.AppendElement(mark, b.CreateLine(7, 0, false, {0, 0}, {0, 300}));
    top(mark);
    // A part's outline piece at depth counts.
    group* part = b.CreateGroup(Intern("R1"));
    b.AppendElement(part, b.CreateLine(7, 0, false, {10, 2}, {12, 2}));
    top(part);
    const EstimateBoardFacts f = EstimateFacts(b);
    EXPECT_EQ(f.sizeX, 51u);  // 50.2 rounded up
    EXPECT_EQ(f.sizeY, 43u);  // 2 .. 45
    EXPECT_EQ(f.layerMask, 0x41u);

    Board empty;
    EXPECT_EQ(EstimateFacts(empty).sizeX, 0u);
    EXPECT_FALSE(HasEstimateOutput(empty));
    empty.AppendElement(nullptr, empty.CreateLand(42, 0, false, {1, 1}));
    EXPECT_TRUE(HasEstimateOutput(empty));
}

}  // namespace
}  // namespace zevo
