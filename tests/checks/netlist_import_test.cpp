#include "checks/netlist_import.h"

#include <gtest/gtest.h>

#include <string>

#include "check_boards.h"
#include "paths/file_io.h"
#include "text/cp932.h"

namespace zevo {
namespace {

using namespace test;
using F = NetlistFormat;

// The nets as text: "REF.PIN REF.PIN | ..." with references shown as UTF-8.
std::string Show(const PinNets& nets) {
    std::string s;
    for (const PinNet& n : nets) {
        if (!s.empty()) s += " | ";
        for (size_t i = 0; i < n.size(); ++i) {
            if (i) s += ' ';
            s += Cp932ToUtf8(View(n[i].ref)) + "." + std::to_string(n[i].pin);
        }
    }
    return s;
}
std::string Show(const NetlistRead& r) {
    return Show(r.nets);
}

std::string Sjis(std::string_view utf8) {
    return Utf8ToCp932(utf8);
}

std::string DataFile(const char* name) {
    return ReadWholeFile(std::string(ZEVO_TEST_DATA) + "/netlists/" + name).value_or("");
}

// Every sample file holds the same three nets, written in its own format.
constexpr const char* kSampleNets = "R1.1 C1.2 U1.7 | R2.2 C1.1 U1.14 | R1.2 R2.1 U1.3 ＪＰ1.1";

struct Sample {
    const char* file;
    F format;
};
class NetlistSample : public ::testing::TestWithParam<Sample> {};

TEST_P(NetlistSample, IsRecognisedAndReadsToTheSameNets) {
    const std::string bytes = DataFile(GetParam().file);
    ASSERT_FALSE(bytes.empty());
    EXPECT_EQ(RecogniseNetlist(bytes), GetParam().format);
    const NetlistRead r = ReadReferenceNetlist(bytes);
    EXPECT_EQ(r.status, NetlistRead::kOk);
    EXPECT_EQ(r.format, GetParam().format);
    EXPECT_EQ(Show(r), kSampleNets);
    EXPECT_EQ(r.skipped, 0u) << (r.issues.empty() ? "" : r.issues[0].reason);
    // References are pooled: the same reference in two nets is one string.
    ASSERT_EQ(r.nets.size(), 3u);
    EXPECT_EQ(r.nets[0][0].ref, r.nets[2][0].ref);
    EXPECT_EQ(r.nets[0][0].ref, Intern("R1"));
    // A read that does not fit fails as a whole.
    const NetlistRead tight = ReadReferenceNetlist(bytes, 12);
    EXPECT_EQ(tight.status, NetlistRead::kOverflow);
    EXPECT_TRUE(tight.nets.empty());
    EXPECT_EQ(ReadReferenceNetlist(bytes, 13).status, NetlistRead::kOk);  // 3 nets + 10 pins
}

INSTANTIATE_TEST_SUITE_P(
    AllFormats, NetlistSample,
    ::testing::Values(Sample{"packages.net", F::kPackages}, Sample{"ccf.net", F::kCcf},
                      Sample{"partnet.net", F::kPartNet}, Sample{"partslist.net", F::kPartsList},
                      Sample{"bracket.net", F::kBracket}, Sample{"component.net", F::kComponent},
                      Sample{"star_signal.net", F::kStarSignal},
                      Sample{"add_signal.net", F::kAddSignal},
                      Sample{"export_nets.net", F::kExportNets}, Sample{"binary.net", F::kBinary}),
    [](const auto& info) {
        std::string n = info.param.file;
        return n.substr(0, n.find('.'));
    });

TEST(NetlistRecognition, FollowsTheStatesFromTheFirstLine) {
    // The markers must come in order; a marker of another format is no help once a state is left.
    EXPECT_EQ(RecogniseNetlist("$PACKAGES\n! R; R1\n$NETS\n"), F::kPackages);
    EXPECT_EQ(RecogniseNetlist("$PACKAGES\n$NETS\nN0001; R1.1 R2.1\n$END\n"), F::kBinary);
    EXPECT_EQ(RecogniseNetlist("$PACKAGES\n[\n]\n(\n"), F::kBinary);
    EXPECT_EQ(RecogniseNetlist("junk\n\n$PACKAGES x\nfoo ! bar\n\n$NETS\n"), F::kPackages);
    EXPECT_EQ(RecogniseNetlist("$CCF {\nNET {\nDEFINITION {\n NET {\n"), F::kCcf);
    EXPECT_EQ(RecogniseNetlist("$CCF {\nNET {\nDEFINITION {\n"), F::kBinary);
    EXPECT_EQ(RecogniseNetlist("#---part---\n #---net---\n*NET\n"), F::kBinary);
    EXPECT_EQ(RecogniseNetlist("#---part---\n#---net---\nx *NET* y\n"), F::kPartNet);
    EXPECT_EQ(RecogniseNetlist("PARTS LIST\nNET LIST\n"), F::kPartsList);
    EXPECT_EQ(RecogniseNetlist("[\n(\n]\n(\n"), F::kBracket);
    EXPECT_EQ(RecogniseNetlist("COMPONENTS\nNETWORK\n"), F::kComponent);
    EXPECT_EQ(RecogniseNetlist("*PART*\n*SIGNAL*\n*NET*\n*SIGNAL* A\n"), F::kStarSignal);
    EXPECT_EQ(RecogniseNetlist("ADDITIONAL\nSIGNALS\n"), F::kAddSignal);
    EXPECT_EQ(RecogniseNetlist("(EXPORT\n\t  (NETS\n"), F::kExportNets);
    EXPECT_EQ(RecogniseNetlist(" (EXPORT\n(NETS\n"), F::kBinary);  // "(EXPORT" must begin the line
    EXPECT_EQ(RecogniseNetlist(""), F::kBinary);
    EXPECT_EQ(RecogniseNetlist("just some text\r\nnothing of a netlist\r\n"), F::kBinary);
}

TEST(NetlistRecognition, UnknownFilesFallToTheBinaryReaderAndAreRejected) {
    for (const std::string& bytes :
         {std::string(), std::string("hello\nworld\n"), std::string(400, 'x'),
          std::string("$PACKAGES\n$NETS\nN0001; R1.1 R2.1\n$END\n")}) {
        const NetlistRead r = ReadReferenceNetlist(bytes);
        EXPECT_EQ(r.format, F::kBinary);
        EXPECT_FALSE(r.ok());
        EXPECT_TRUE(r.nets.empty());
    }
    EXPECT_EQ(ReadReferenceNetlist(std::string(400, 'x')).status, NetlistRead::kNotRecognised);
    EXPECT_EQ(ReadReferenceNetlist("tiny").status, NetlistRead::kEmpty);  // no record at all
}

TEST(NetlistLinesTest, DropCarriageReturnsCutLongLinesAndStopAtNul) {
    std::string text = "a\rb\r\n\r\nc";
    text += '\0';
    text += "hidden\n";
    text += std::string(kNetlistLineMax, 'x') + "\r\n";
    text += std::string(kNetlistLineMax + 3, 'y') + "\n";
    text += "last";
    NetlistLines lines(text);
    std::string_view l;
    std::vector<std::string> got;
    while (lines.next(l)) got.emplace_back(l);
    ASSERT_EQ(got.size(), 7u);
    EXPECT_EQ(got[0], "ab");
    EXPECT_EQ(got[1], "");
    EXPECT_EQ(got[2], "c");
    EXPECT_EQ(got[3], std::string(kNetlistLineMax, 'x'));  // a full line keeps its line feed
    EXPECT_EQ(got[4], std::string(kNetlistLineMax, 'y'));
    EXPECT_EQ(got[5], "yyy");
    EXPECT_EQ(got[6], "last");
    EXPECT_EQ(lines.number(), 7u);
}

TEST(NetlistPackages, TheExportOfABoardReadsBackToItsNets) {
    Board b;
    SetCheckLayers(b);
    group* r1 = AddGroup(b, Intern("RES"));
    r1->reference = Intern("R1");
    group* u1 = AddGroup(b, kEmptyText);
    u1->reference = Intern("U1.A");  // a reference with a dot still reads back
    for (int i = 0; i < 30; ++i) {
        AddLand(b, kTop, {i * 2.0, 0}, 10, false, i % 2 ? u1 : r1)->pinNo =
            static_cast<int16_t>(i % 2 ? -(i + 1) : i + 1);
        AddLand(b, kTop, {i * 2.0, 10}, 10, false, i % 2 ? r1 : u1)->pinNo =
            static_cast<int16_t>(i + 100);
        AddLine(b, kTop, {i * 2.0, 0}, {i * 2.0, 10});
    }
    for (int i = 0; i < 14; ++i)  // one long net that wraps over several lines
        AddLine(b, kTop, {i * 2.0, 0}, {i * 2.0 + 2, 0});
    const NetlistExport e = ExportNetlist(b);
    ASSERT_EQ(e.status, NetlistExport::kOk);
    ASSERT_NE(e.text.find(",\r\n    "), std::string::npos) << e.text;
    EXPECT_EQ(RecogniseNetlist(e.text), F::kPackages);
    const NetlistRead r = ReadReferenceNetlist(e.text);
    ASSERT_TRUE(r.ok());
    const auto nets = BuildNets(b);
    PinNets expected = BoardPinNets(*nets);
    for (PinNet& n : expected)
        for (NetPin& p : n) p.pin = std::abs(p.pin), p.part = nullptr;
    EXPECT_EQ(Show(r), Show(expected));
    EXPECT_EQ(r.skipped, 0u);
    EXPECT_TRUE(CompareNetlist(b, r.nets).report.empty());
}

TEST(NetlistPackages, ContinuationLinesJoinTheNetAndBadWordsAreSkipped) {
    const NetlistRead r = ReadPackagesNetlist(
        "$PACKAGES\n! R; R1\n$NETS\nN0001; R1.1,\n    R2.1, R3.x\n  R4\nN0002;R5.1\n"
        "    R6.2 R7.3\nN0003; \n$END\nN0004; R9.9 R9.8\n");
    EXPECT_EQ(Show(r), "R1.1 R2.1 | R6.2 R7.3");  // "N0002;R5.1": pins follow the first blank
    EXPECT_EQ(r.skipped, 2u);
    ASSERT_EQ(r.issues.size(), 2u);
    EXPECT_EQ(r.issues[0].line, 5u);
    EXPECT_EQ(r.issues[1].line, 6u);
    // Pins before the first net belong to none.
    EXPECT_EQ(ReadPackagesNetlist("$NETS\n  R1.1\nN1; R2.2\n").skipped, 1u);
    EXPECT_EQ(ReadPackagesNetlist("$PACKAGES\n! a\n").status, NetlistRead::kEmpty);
}

TEST(NetlistCcf, PinsEndAtTheSemicolonAndTheSectionAtTheBrace) {
    const NetlistRead r = ReadCcfNetlist(
        "NET {\nA: R1(1) R2(2);R3(3)\nR4(4),\nB:R5(5)x\n: R6(6),R7 ,\n C: }\nD: R8(8)\n");
    EXPECT_EQ(Show(r), "R1.1 R2.2 R4.4 | R5.5 | R6.6");
    EXPECT_EQ(r.skipped, 1u);  // "R7 ," has no '('
    // A trail byte with the code of '}' (the second byte of "マ") does not end the section.
    const std::string sjis = "NET {\n" + Sjis("マ") + ": R1(1),R2(2);\n}\n";
    EXPECT_EQ(Show(ReadCcfNetlist(sjis)), "R1.1 R2.2");
}

TEST(NetlistPartNet, SecondCharacterDecidesBetweenNetAndPins) {
    const NetlistRead r = ReadPartNetNetlist(
        "'X'/'1'\n*NET* 'A'\n  'R1'/'1'\t'R2'/'2'\n#  'R9'/'9'\n 'B'\n\t\t'R3'/'3' 'R4'-'4'\n"
        "x\n\n  'R5'/'5\n");
    // " 'B'" starts a net (its second character is a quote); "x" is a line of pins without any.
    EXPECT_EQ(Show(r), "R1.1 R2.2 | R3.3");
    EXPECT_EQ(r.skipped, 2u);  // 'R4'-'4' and the unclosed '5
}

TEST(NetlistPartsList, NodeNameLinesHoldPairsUpToTheDollar) {
    const NetlistRead r = ReadPartsListNetlist(
        "PARTS LIST\nNODENAME R0 1 R0 2 $\nNET LIST\nNODE A\nNODENAME R1 1 R2 2 $ R9 9\n"
        "NODENAME R3\nNODE B\nNODENAME  R4  4  R5  5\nEOS\nNODE C\nNODENAME R6 6 R7 7 $\n");
    EXPECT_EQ(Show(r), "R1.1 R2.2 | R4.4 R5.5");
    EXPECT_EQ(r.skipped, 1u);
}

TEST(NetlistBracket, NameLinesAreSkippedAndOnlyDashedLinesInsideNetsArePins) {
    const NetlistRead r = ReadBracketNetlist(
        "[\nR9-9\n]\n(\nN-1\nR1-1\nnothing\n R2 - 2 \n)\nCAP-0805\n(\n)\nR3-3\n)\n(\nNAME\n"
        "R4-x\nR5-5\n");
    // "(" ")" : the ")" is the name of the net, so R3-3 is still inside it.
    EXPECT_EQ(Show(r), "R1.1 R2.2 | R3.3 | R5.5");
    EXPECT_EQ(r.skipped, 2u);  // CAP-0805 outside a net, R4-x
}

TEST(NetlistComponent, EachNetLineIsOneNet) {
    const NetlistRead r = ReadComponentNetlist(
        "COMPONENT R1\nNET A = (R1,1)(R2, 2 ) ,(R3)(R4,4)\nNET B\n (R5,5)\nNETB=(R6,6\n"
        "NET C = R7,7 (R8,8\n");
    EXPECT_EQ(Show(r), "R1.1 R2.2 R4.4 | R6.6 | R8.8");
    EXPECT_EQ(r.skipped, 1u);  // (R3)
}

TEST(NetlistStarSignal, SignalLinesStartNetsAndOtherSectionsEndThem) {
    const NetlistRead r = ReadStarSignalNetlist(
        "*PART*\nR1 RES\n*NET*\n*SIGNAL* A\nR1.1  R2.2\nR3.3\n*SIGNAL* B\nR4.4 R5\n"
        "*MISC* 1.5\n2.25 3.5\n*SIGNAL* C\nR6.6\n");
    EXPECT_EQ(Show(r), "R1.1 R2.2 R3.3 | R4.4 | R6.6");
    EXPECT_EQ(r.skipped, 3u);  // R5, and the two words of "2.25 3.5" outside any net
}

TEST(NetlistAddSignal, OnePinPerLineAndCommentsLeftOut) {
    const NetlistRead r = ReadAddSignalNetlist(
        "ADD R1\nR0 1\nSIGNAL A\nR1 1\n  R2\t2 extra\n; R9 9\n\nR3\nSIGNAL B\nR4 4\n");
    EXPECT_EQ(Show(r), "R1.1 R2.2 | R4.4");
    EXPECT_EQ(r.skipped, 1u);
}

TEST(NetlistExportNets, NodesNeedReferenceAndPinInThatOrder) {
    const NetlistRead r = ReadExportNetsNetlist(
        "(EXPORT\n (NODE (REF R0) (PIN 1))\n (NETS\n  (NET (CODE 1)\n   (NODE (REF R1) (PIN 1))\n"
        "   (NODE  (REF R9) (PIN 9))\n   (NODE (REF R2)   (PIN 2)))\n   (NODE (PIN 3) (REF R3))\n"
        "  (NETWORK\n   (NODE (REF R4) (PIN 4))\n  (NET (CODE 2))\n   (NODE (REF R5) (PIN A1))\n");
    EXPECT_EQ(Show(r), "R1.1 R2.2 R4.4");
    EXPECT_EQ(r.skipped, 3u);
}

// Records of the binary form, as its writer lays them out.
std::string Record(std::string_view net, std::string_view ref, std::string_view pin,
                   int32_t mark = -256) {
    std::string r(kNetlistBinaryRecord, '\0');
    r.replace(0, std::min<size_t>(net.size(), 16), net.substr(0, 16));
    r.replace(16, ref.size(), ref);
    for (int i = 0; i < 4; ++i)
        r[48 + i] = static_cast<char>((static_cast<uint32_t>(mark) >> (8 * i)) & 0xFF);
    r.replace(52, pin.size(), pin);
    return r;
}

TEST(NetlistBinary, RecordsWithTheSameNameFormANetUntilAShortRecord) {
    const std::string head(kNetlistBinaryHeader, 'h');
    std::string file = head + Record("NA", "R1", "1") + Record("NA", "R2", "2", 0) +
                       Record("NB", "R3", "3") + Record("NA", "R4", "4") + Record("NA", "", "5") +
                       Record("NA", "R6", "six");
    EXPECT_EQ(Show(ReadBinaryNetlist(file)), "R1.1 R2.2 | R3.3 | R4.4");
    EXPECT_EQ(ReadBinaryNetlist(file).skipped, 2u);
    // A last record of 65 bytes is still read (its pin text cut short); 64 bytes end the file.
    std::string longer =
        head + Record("NA", "R1", "1") + Record("NA", "R2", "2            7").substr(0, 65);
    EXPECT_EQ(Show(ReadBinaryNetlist(longer)), "R1.1 R2.2");
    std::string shorter = head + Record("NA", "R1", "1") + Record("NA", "R2", "2").substr(0, 64);
    EXPECT_EQ(Show(ReadBinaryNetlist(shorter)), "R1.1");
    // The first record must look like a net record.
    EXPECT_EQ(ReadBinaryNetlist(head + Record("XA", "R1", "1")).status,
              NetlistRead::kNotRecognised);
    EXPECT_EQ(ReadBinaryNetlist(head + Record("NA", "R1", "1", 0)).status,
              NetlistRead::kNotRecognised);
    // A reference filling its 32 bytes without a terminator stops at the field's end.
    const std::string wide(40, 'W');
    std::string full = head + Record("NA", wide.substr(0, 32), "1");
    EXPECT_EQ(View(ReadBinaryNetlist(full).nets.at(0).at(0).ref), wide.substr(0, 32));
}

TEST(NetlistImport, NetsWithoutPinsAreNotCountedAndNumbersMustBeDecimal) {
    const NetlistRead r = ReadAddSignalNetlist(
        "SIGNAL A\nSIGNAL B\nR1 -3\nR2 +4\nR3 99999999999\nR4 0x10\nSIGNAL C\nSIGNAL D\nR5 5\n");
    EXPECT_EQ(Show(r), "R1.-3 R2.4 | R5.5");
    EXPECT_EQ(r.skipped, 2u);
    EXPECT_EQ(ReadAddSignalNetlist("SIGNAL A\nSIGNAL B\n").status, NetlistRead::kEmpty);
    // Issues stop being kept after a hundred; the count goes on.
    std::string many = "SIGNAL A\n";
    for (int i = 0; i < 150; ++i) many += "R1 x\n";
    const NetlistRead m = ReadAddSignalNetlist(many);
    EXPECT_EQ(m.skipped, 150u);
    EXPECT_EQ(m.issues.size(), kMaxNetlistIssues);
}

}  // namespace
}  // namespace zevo
