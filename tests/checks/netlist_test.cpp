#include "checks/netlist.h"

#include <gtest/gtest.h>

#include "check_boards.h"
#include "text/strings.h"

namespace zevo {
namespace {

using namespace test;

// The netlist and the report are text files: every line ends with CR LF on disk.
std::string Crlf(std::string_view lf) {
    std::string s;
    for (char c : lf) {
        if (c == '\n') s += '\r';
        s += c;
    }
    return s;
}

group* AddPart(Board& b, const char* type, const char* ref) {
    group* g = AddGroup(b, *type ? Intern(type) : kEmptyText);
    g->reference = Intern(ref);
    return g;
}
NetPin P(const char* ref, int pin) {
    return {Intern(ref), pin, nullptr};
}
std::string Cp(int id) {
    return TableTextCp932(id);
}
land* Pin(Board& b, group* part, int number, Point at) {
    land* l = AddLand(b, kTop, at, 10, false, part);
    l->pinNo = static_cast<int16_t>(number);
    return l;
}

TEST(Netlist, NetNamesAreFourBase36Digits) {
    EXPECT_EQ(NetName(1), "N0001");
    EXPECT_EQ(NetName(35), "N000Z");
    EXPECT_EQ(NetName(36), "N0010");
    EXPECT_EQ(NetName(kMaxExportNets), "NZZZZ");
}

TEST(Netlist, ExportWritesPackagesAndPinNets) {
    Board b;
    SetCheckLayers(b);
    group* r1 = AddPart(b, "RES", "R1");
    group* u1 = AddPart(b, "", "U1");
    group* c1 = AddPart(b, " CAP", "C1");
    group* plain = AddGroup(b, Intern("LOGO"));  // no reference: not a part, its pins no pins
    Pin(b, r1, 1, {0, 0});
    Pin(b, r1, 2, {10, 0});
    Pin(b, u1, 3, {0, 20});
    land* u1p4 = Pin(b, u1, -4, {10, 20});
    Pin(b, c1, 1, {30, 0});
    Pin(b, plain, 7, {10, 0});
    AddLine(b, kTop, {0, 0}, {0, 20});       // R1.1 - U1.3
    AddLine(b, kTop, {10, 0}, {10, 20});     // R1.2 - U1.4 (interchangeable, printed as 4)
    land* lone = AddLand(b, kTop, {30, 0});  // C1.1 with a loose land: one pin only, dropped
    (void)lone;
    (void)u1p4;
    const NetlistExport e = ExportNetlist(b);
    ASSERT_EQ(e.status, NetlistExport::kOk);
    EXPECT_EQ(e.text, Crlf("$PACKAGES\n"
                           "! RES; R1\n"
                           "! ???001; U1\n"
                           "! ???002; C1\n"
                           "$NETS\n"
                           "N0001; R1.1 U1.3\n"
                           "N0002; R1.2 U1.4\n"
                           "$END\n"));
}

TEST(Netlist, RepeatedPinsAppearOnce) {
    Board b;
    SetCheckLayers(b);
    group* r1 = AddPart(b, "RES", "R1");
    group* r2 = AddPart(b, "RES", "R2");
    Pin(b, r1, 1, {0, 0});
    Pin(b, r1, 1, {5, 0});  // the same pin drawn twice, e.g. on both layers
    Pin(b, r2, 1, {10, 0});
    AddLine(b, kTop, {0, 0}, {10, 0});
    auto nets = BuildNets(b);
    ASSERT_TRUE(nets);
    const PinNets pins = BoardPinNets(*nets);
    ASSERT_EQ(pins.size(), 1u);
    ASSERT_EQ(pins[0].size(), 2u);
    EXPECT_EQ(pins[0][0].part, r1);
    EXPECT_EQ(pins[0][1].part, r2);
}

TEST(Netlist, PinsAreOnePinWhateverTheirSign) {
    // -1 and 1 of one part are the same pin: no "R1.1 R1.1" net, no extra net that shifts the
    // names of the later ones.
    Board b;
    SetCheckLayers(b);
    group* r1 = AddPart(b, "RES", "R1");
    group* u1 = AddPart(b, "IC", "U1");
    Pin(b, r1, -1, {0, 0});
    Pin(b, r1, 1, {0, 10});
    AddLine(b, kTop, {0, 0}, {0, 10});  // R1.-1 - R1.1: one pin, no net
    Pin(b, r1, 2, {20, 0});
    Pin(b, u1, -5, {20, 10});
    Pin(b, u1, 5, {20, 20});
    AddLine(b, kTop, {20, 0}, {20, 20});  // R1.2 - U1.-5 - U1.5
    const NetlistExport e = ExportNetlist(b);
    ASSERT_EQ(e.status, NetlistExport::kOk);
    EXPECT_EQ(e.text, Crlf("$PACKAGES\n! RES; R1\n! IC; U1\n$NETS\nN0001; R1.2 U1.5\n$END\n"));
    // The same pins as the reference's: nothing to report on either side.
    const NetlistComparison c = CompareNetlist(b, {{P("R1", 2), P("U1", 5)}});
    EXPECT_EQ(c.report, "");
    EXPECT_EQ(c.rounds, 1u);
}

TEST(Netlist, LongNetsWrapAt72Columns) {
    Board b;
    PinNets nets(1);
    for (int i = 10; i < 30; ++i) nets[0].push_back({Intern("R100"), i, nullptr});
    std::string expected = "$PACKAGES\n$NETS\nN0001;";
    for (int i = 10; i < 30; ++i) {
        if (i == 18 || i == 26) expected += ",\n    ";
        expected += " R100." + std::to_string(i);
    }
    expected += "\n$END\n";
    EXPECT_EQ(NetlistText(b, nets), Crlf(expected));
}

TEST(Netlist, ExportRefusesDuplicateReferencesAndEmptyBoards) {
    Board b;
    SetCheckLayers(b);
    EXPECT_EQ(ExportNetlist(b).status, NetlistExport::kNoNets);
    group* a = AddPart(b, "RES", "R1");
    Pin(b, a, 1, {0, 0});
    Pin(b, AddPart(b, "RES", "R2"), 1, {0, 0});
    const NetlistExport single = ExportNetlist(b);
    EXPECT_EQ(single.status, NetlistExport::kOk);
    AddPart(b, "CAP", "R2");
    const NetlistExport dup = ExportNetlist(b);
    EXPECT_EQ(dup.status, NetlistExport::kDuplicate);
    ASSERT_EQ(dup.messages.size(), 1u);
    EXPECT_TRUE(dup.messages[0].error);
    EXPECT_EQ(dup.messages[0].text, "R2  " + std::string(TableText(kMsgDuplicateReference)));
    const NetlistComparison cmp = CompareNetlist(b, {});
    EXPECT_EQ(cmp.status, NetlistComparison::kDuplicate);
}

// R1 and U1 with two nets: R1.1-U1.1 and R1.2-U1.2, R1's pins interchangeable when asked.
struct TwoNetBoard {
    Board b;
    group *r1, *u1;
    land *r1a, *r1b;
    explicit TwoNetBoard(bool interchangeable) {
        SetCheckLayers(b);
        r1 = AddPart(b, "RES", "R1");
        u1 = AddPart(b, "IC", "U1");
        r1a = Pin(b, r1, interchangeable ? -1 : 1, {0, 0});
        r1b = Pin(b, r1, interchangeable ? -2 : 2, {10, 0});
        Pin(b, u1, 1, {0, 20});
        Pin(b, u1, 2, {10, 20});
        AddLine(b, kTop, {0, 0}, {0, 20});
        AddLine(b, kTop, {10, 0}, {10, 20});
    }
};

TEST(NetlistCompare, AgreeingBoardHasNoReport) {
    TwoNetBoard t(false);
    const NetlistComparison c =
        CompareNetlist(t.b, {{P("U1", 1), P("R1", 1)}, {P("R1", 2), P("U1", 2)}});
    EXPECT_EQ(c.status, NetlistComparison::kOk);
    EXPECT_EQ(c.report, "");
    EXPECT_EQ(c.rounds, 1u);
    ASSERT_EQ(c.messages.size(), 1u);
    EXPECT_EQ(c.messages[0].text, TableText(kMsgNoNetDifference));
}

TEST(NetlistCompare, SubsetNetIsReportedOnTheReferenceSideOnly) {
    TwoNetBoard t(false);
    const NetlistComparison c =
        CompareNetlist(t.b, {{P("R1", 1), P("U1", 1), P("C1", 1)}, {P("R1", 2), P("U1", 2)}});
    EXPECT_EQ(c.boardDifferences, 0u);
    EXPECT_EQ(c.referenceDifferences, 1u);
    EXPECT_EQ(c.report, Crlf(Cp(kStrUnconnectedNets) + "\n C1.1 U1.1\n--------------------\n"));
}

TEST(NetlistCompare, ReportListsBothSides) {
    TwoNetBoard t(false);
    // The board joins R1.2 and U1.2, the reference has them apart; a reference net the board
    // lacks entirely has no match.
    const NetlistComparison c = CompareNetlist(
        t.b, {{P("R1", 1), P("U1", 1)}, {P("R1", 2), P("C1", 1)}, {P("Q1", 1), P("Q1", 2)}});
    EXPECT_EQ(c.rounds, 5u);
    EXPECT_TRUE(c.exchanged.empty());
    EXPECT_EQ(c.report, Crlf(Cp(kStrExtraNets) + "\n U1.2 R1.2\n--------------------\n\n" +
                             Cp(kStrUnconnectedNets) +
                             "\n C1.1 R1.2\n--------------------\n"
                             " Q1.1 Q1.2\n--------------------\n"));
}

TEST(NetlistCompare, CrossedInterchangeablePinsAreExchanged) {
    TwoNetBoard t(true);
    const NetlistComparison c =
        CompareNetlist(t.b, {{P("U1", 1), P("R1", 2)}, {P("U1", 2), P("R1", 1)}});
    EXPECT_EQ(c.status, NetlistComparison::kOk);
    EXPECT_EQ(c.rounds, 2u);
    EXPECT_EQ(c.report, "");
    ASSERT_EQ(c.exchanged.size(), 1u);
    EXPECT_EQ(c.exchanged[0], t.r1);
    EXPECT_EQ(t.r1a->pinNo, -2);
    EXPECT_EQ(t.r1b->pinNo, -1);
}

TEST(NetlistCompare, PartsWithThreeInterchangeablePinsStayAlone) {
    TwoNetBoard t(true);
    Pin(t.b, t.r1, -3, {50, 50});
    const NetlistComparison c =
        CompareNetlist(t.b, {{P("U1", 1), P("R1", 2)}, {P("U1", 2), P("R1", 1)}});
    EXPECT_EQ(c.rounds, 5u);
    EXPECT_TRUE(c.exchanged.empty());
    EXPECT_EQ(t.r1a->pinNo, -1);
    EXPECT_EQ(c.boardDifferences, 2u);
}

TEST(NetlistCompare, FullReportEndsAtTheLastPieceThatFits) {
    TwoNetBoard t(false);
    const PinNets ref = {{P("Q1", 1), P("Q1", 2)}};
    const std::string whole = CompareNetlist(t.b, ref).report;
    ASSERT_GT(whole.size(), 20u);
    const std::string head = Cp(kStrExtraNets) + "\r\n R1.1";
    // " U1.1" does not fit; the shorter "\r\n" after it would, but the report has ended.
    const NetlistComparison c = CompareNetlist(t.b, ref, nullptr, head.size() + 3);
    EXPECT_EQ(c.report, head);
}

class StopAfter : public ProgressMonitor {
  public:
    bool pump(size_t, size_t) override { return ++calls < 2; }
    int calls = 0;
};

TEST(NetlistCompare, StoppingBetweenRoundsGivesNoReport) {
    TwoNetBoard t(false);
    StopAfter stop;
    const NetlistComparison c = CompareNetlist(t.b, {{P("Q1", 1), P("Q1", 2)}}, &stop);
    EXPECT_EQ(c.status, NetlistComparison::kAborted);
    EXPECT_EQ(c.report, "");
    EXPECT_EQ(c.rounds, 2u);
    EXPECT_TRUE(c.messages.empty());
}

}  // namespace
}  // namespace zevo

namespace zevo {
namespace {

TEST(NetlistCompare, ExportedNetlistReadsBackAndAgrees) {
    Board b;
    SetCheckLayers(b);
    group* u1 = AddPart(b, "IC", "U1");
    group* j1 = AddPart(b, "CONN", "J1");
    for (int i = 1; i <= 30; ++i) {  // one long wrapped net and no others
        Pin(b, u1, i, {double(i) * 10, 0});
        Pin(b, j1, i, {double(i) * 10, 0});
        if (i > 1) AddLine(b, kTop, {double(i - 1) * 10, 0}, {double(i) * 10, 0});
    }
    const NetlistExport e = ExportNetlist(b);
    ASSERT_EQ(e.status, NetlistExport::kOk);
    const auto ref = ReadExportedNetlist(e.text);
    ASSERT_TRUE(ref);
    ASSERT_EQ(ref->size(), 1u);
    EXPECT_EQ((*ref)[0].size(), 60u);
    EXPECT_EQ(CompareNetlist(b, *ref).report, "");
    EXPECT_FALSE(ReadExportedNetlist("$PACKAGES\n$END\n"));
    EXPECT_FALSE(ReadExportedNetlist("$NETS\nN0001; R1.x\n"));
}

}  // namespace
}  // namespace zevo
