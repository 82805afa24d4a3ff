#include "output/part_coords.h"

#include <gtest/gtest.h>

#include <string>

#include "board/model/board.h"
#include "paths/scratch_dir.h"
#include "text/cp932.h"
#include "text/strings.h"

namespace zevo {
namespace {

using testing::ScratchDir;

// Expected report text: written here in UTF-8 with "\n", compared as the file holds it.
std::string FileText(std::string_view utf8) {
    std::string s = Utf8ToCp932(utf8), out;
    for (char c : s) {
        if (c == '\n') out += '\r';
        out += c;
    }
    return out;
}
std::string Spaces(size_t n) {
    return std::string(n, ' ');
}

group* Part(Board& b, const char* type, const char* attribute, const char* ref, Point at,
            double degrees) {
    group* g = b.CreateGroup(Intern(type));
    g->attribute = *attribute ? Intern(attribute) : kEmptyText;
    g->reference = *ref ? Intern(ref) : kEmptyText;
    g->ext = b.CreatePartPlacement(at, ToRadians(degrees));
    b.AppendElement(nullptr, g);
    return g;
}
template <class T>
T* Add(Board& b, group* owner, T* e, int pin = 0) {
    e->pinNo = static_cast<int16_t>(pin);
    b.AppendElement(owner, e);
    return e;
}

// Layer 1 copper, 5 and 6 mount layers (by their names), origin (5, 5).
// IC1: every pin kind, turned by 90°, one pin inside a nested group; R1 and R2 share name and
// attribute (R2 turned over to the other mount layer); C1 shares the name only and lies on no
// mount layer.
void SampleBoard(Board& b) {
    b.SetLayerName(1, Utf8ToCp932("パターン表"));
    b.SetLayerName(5, Utf8ToCp932("部品図表"));
    b.SetLayerName(6, "MOUNT-B");
    b.SetGridOrigin(5, 5);

    group* ic = Part(b, "DIP8", "", "IC1", {10, 20}, 90);
    Add(b, ic, b.CreateLand(1, 20, true, {10, 20}), 1);
    Add(b, ic, b.CreateLand(1, 10, false, {10, 22.5}), -2);
    group* inner = b.CreateGroup(kEmptyText);
    b.AppendElement(ic, inner);
    Add(b, inner, b.CreateLine(1, 4, false, {12, 20}, {12, 23}), 3);
    Add(b, ic, b.CreateLine(1, 4, true, {8, 21}, {7, 22}), 4);
    Add(b, ic, b.CreateArc(1, 4, {11, 25}, 1, 0, kPi / 2), 5);
    Add(b, ic, b.CreateRect(1, 0, {9, 18}, 2, 1, 0), 6);
    Add(b, ic, b.CreateLine(5, 4, false, {7, 17}, {13, 27}));  // outline: no pin

    group* r1 = Part(b, "RES", "1k", "R1", {30, 40}, 0);
    Add(b, r1, b.CreateLand(1, 10, false, {30, 40}), 1);
    Add(b, r1, b.CreateLand(1, 10, false, {40, 40}), 2);
    Add(b, r1, b.CreateLine(5, 4, false, {30, 41}, {40, 41}));
    group* r2 = Part(b, "RES", "1k", "R2", {50, 40}, 180);
    Add(b, r2, b.CreateLand(1, 10, false, {50, 40}), 1);
    Add(b, r2, b.CreateLand(1, 10, false, {40, 45}), 2);
    Add(b, r2, b.CreateLine(6, 4, false, {50, 41}, {40, 41}));
    group* c1 = Part(b, "RES", "", "C1", {70.5, 80.25}, 0);
    Add(b, c1, b.CreateLand(1, 10, false, {70.5, 80.25}), 1);
    Add(b, c1, b.CreateArc(1, 4, {72.5, 80.25}, 2, ToRadians(300), ToRadians(420)), 3);

    // Not placed parts: no reference; a text.
    group* logo = Part(b, "LOGO", "", "", {1, 1}, 0);
    Add(b, logo, b.CreateLand(1, 10, false, {1, 1}), 1);
    group* text = b.CreateGroup(Reserved().text);
    text->ext = b.CreateTextPlacement({2, 2}, 0, 3.2, 3.4);
    b.AppendElement(nullptr, text);
    Add(b, text, b.CreateLine(1, 4, false, {2, 2}, {3, 3}));
}

const std::string kHeader = "部品番号" + Spaces(16) + "     X座標     Y座標      角度    装着\n";

// The parts list and the pins do not depend on the mode.
const std::string kListAndPins =
    "\n\n"
    "部品名" +
    Spaces(20) + "  アトリビュート  部品番号\n" + "DIP8" + Spaces(22) + "  " + Spaces(14) +
    "  IC1\n" + "RES" + Spaces(23) + "  1k" + Spaces(12) + "  R1 R2\n" + "RES" + Spaces(23) + "  " +
    Spaces(14) + "  C1\n" +
    "\n"
    "\nDIP8 \n"
    "PIN   1    SQRT     1.200  X:   0.000  Y:   0.000\n"
    "PIN   2    LAND     0.600  X:   2.500  Y:   0.000\n"
    "PIN   3    CIRLINE    0.300  X:   0.000  Y:  -2.000  -  X:   3.000  Y:  -2.000\n"
    "PIN   4    SQLINE     0.300  X:   1.000  Y:   2.000  -  X:   2.000  Y:   3.000\n"
    "PIN   5    ARC  X:   5.000  Y:  -1.000  R:   1.000  START: -90.000  END:   0.000\n"
    "PIN   6    RECT  X:  -2.000  Y:   1.000  DX:   2.000  DY:   1.000  ANG:  90.000\n"
    "\nRES 1k\n"
    "PIN   1    LAND     0.600  X:   0.000  Y:   0.000\n"
    "PIN   2    LAND     0.600  X:  10.000  Y:   0.000\n"
    "\nRES \n"
    "PIN   1    LAND     0.600  X:   0.000  Y:   0.000\n"
    "PIN   3    ARC  X:   2.000  Y:   0.000  R:   2.000  START: -60.000  END:  60.000\n";

TEST(PartCoords, PositionsAsStored) {
    Board b;
    SampleBoard(b);
    EXPECT_EQ(PartCoordsText(b, {}),
              FileText(kHeader + "IC1" + Spaces(21) +
                       "    10.000    20.000    90.000    部品図表\n"
                       "R1" +
                       Spaces(22) +
                       "    30.000    40.000     0.000    部品図表\n"
                       "R2" +
                       Spaces(22) +
                       "    50.000    40.000   180.000    MOUNT-B\n"
                       "C1" +
                       Spaces(22) + "    70.500    80.250     0.000    \n" + kListAndPins));
}

TEST(PartCoords, PositionsFromTheOriginAndMirrored) {
    Board b;
    SampleBoard(b);
    PartCoordsSettings s;
    s.fromOrigin = true;
    EXPECT_EQ(PartCoordsText(b, s),
              FileText(kHeader + "IC1" + Spaces(21) +
                       "     5.000    15.000    90.000    部品図表\n"
                       "R1" +
                       Spaces(22) +
                       "    25.000    35.000     0.000    部品図表\n"
                       "R2" +
                       Spaces(22) +
                       "    45.000    35.000   180.000    MOUNT-B\n"
                       "C1" +
                       Spaces(22) + "    65.500    75.250     0.000    \n" + kListAndPins));
    // Mirrored: x counted the other way from the origin, the angle turned by half a turn (IC1 is
    // the part at (10, 20), 90° with the origin at (5, 5)).
    s.mirrorX = true;
    EXPECT_EQ(PartCoordsText(b, s),
              FileText(kHeader + "IC1" + Spaces(21) +
                       "    -5.000    15.000   270.000    部品図表\n"
                       "R1" +
                       Spaces(22) +
                       "   -25.000    35.000   180.000    部品図表\n"
                       "R2" +
                       Spaces(22) +
                       "   -45.000    35.000     0.000    MOUNT-B\n"
                       "C1" +
                       Spaces(22) + "   -65.500    75.250   180.000    \n" + kListAndPins));
    // The mirror alone changes nothing: it goes with the origin.
    s.fromOrigin = false;
    EXPECT_EQ(PartCoordsText(b, s), PartCoordsText(b, {}));
}

TEST(PartCoords, ReferencesWrapAfter80ColumnsWith44ColumnsOfIndentation) {
    Board b;
    for (int i = 1; i <= 12; ++i) {
        const std::string ref = "R" + std::to_string(i);
        group* g = Part(b, "RES", "10k", ref.c_str(), {i * 5.0, 10}, 0);
        Add(b, g, b.CreateLand(1, 10, false, {i * 5.0, 10}), 1);
    }
    // A long reference is written whole even where it runs past the 80th column.
    group* u = Part(b, "IC", "", "U_WITH_A_VERY_LONG_REFERENCE_0001", {1, 1}, 0);
    Add(b, u, b.CreateLand(1, 10, false, {1, 1}), 1);
    group* u2 = Part(b, "IC", "", "U_WITH_A_VERY_LONG_REFERENCE_0002", {2, 2}, 0);
    Add(b, u2, b.CreateLand(1, 10, false, {2, 2}), 1);
    const std::string text = PartCoordsText(b, {});
    const std::string list = Cp932ToUtf8(text.substr(text.find(Utf8ToCp932("部品名"))));
    const std::string expected =
        "部品名" + Spaces(20) + "  アトリビュート  部品番号\r\n" + "RES" + Spaces(23) + "  10k" +
        Spaces(11) + "  R1 R2 R3 R4 R5 R6 R7 R8 R9 R10 R11\r\n" + Spaces(44) + "R12\r\n" + "IC" +
        Spaces(24) + "  " + Spaces(14) + "  U_WITH_A_VERY_LONG_REFERENCE_0001\r\n" + Spaces(44) +
        "U_WITH_A_VERY_LONG_REFERENCE_0002\r\n" + "\r\n";
    EXPECT_EQ(list.substr(0, expected.size()), expected);
}

TEST(PartCoords, MountingSideIsTheFirstMountLayerInLayerOrder) {
    Board b;
    b.SetLayerName(3, "mount-top");
    b.SetLayerName(9, Utf8ToCp932("装着裏"));
    b.SetLayerName(2, "silk");
    group* g = Part(b, "X", "", "X1", {0, 0}, 0);
    EXPECT_EQ(MountingSide(b, g), "");
    Add(b, g, b.CreateLine(2, 4, false, {0, 0}, {1, 1}));
    EXPECT_EQ(MountingSide(b, g), "");  // no mount role
    group* inner = b.CreateGroup(kEmptyText);
    b.AppendElement(g, inner);
    Add(b, inner, b.CreateLine(9, 4, false, {0, 0}, {1, 1}));
    EXPECT_EQ(MountingSide(b, g), Utf8ToCp932("装着裏"));
    Add(b, g, b.CreateLine(3, 4, false, {0, 0}, {1, 1}));  // later in the part, earlier layer
    EXPECT_EQ(MountingSide(b, g), "mount-top");
}

TEST(PartCoords, RectangleAnglesComeWithinAQuarterTurnEitherWay) {
    Board b;
    group* g = Part(b, "X", "", "X1", {0, 0}, 30);
    for (double deg : {30.0, 120.0, 200.0, 300.0, 385.0, -60.0 - 720.0})
        Add(b, g, b.CreateRect(1, 0, {1, 1}, 2, 1, ToRadians(deg)), 1);
    const std::string text = PartCoordsText(b, {});
    std::vector<std::string> angles;
    for (size_t p = text.find("ANG:"); p != std::string::npos; p = text.find("ANG:", p + 1))
        angles.push_back(text.substr(p + 4, 8));
    // 0, 90, 170 -> -10, 270 -> 90, 355 -> -5, -810 -> 90 (never -90).
    EXPECT_EQ(angles, (std::vector<std::string>{"   0.000", "  90.000", " -10.000", "  90.000",
                                                "  -5.000", "  90.000"}));
}

TEST(PartCoordsCommand, WritesTheReportWhereTheDialogSays) {
    ScratchDir dir;
    Board b;
    SampleBoard(b);
    PartCoordsSettings s;
    std::filesystem::path proposed;
    PartCoordsReport r =
        PartCoordinatesCommand(b, dir / "board.v2.pcb", s, [&](PartCoordsSettings& d) {
            proposed = d.file;
            d.fromOrigin = true;
            return true;
        });
    EXPECT_EQ(proposed, dir / "board.v2.pos");
    ASSERT_EQ(r.status, PartCoordsReport::kWritten);
    EXPECT_TRUE(r.messages.empty());
    EXPECT_EQ(r.written, dir / "board.v2.pos");
    EXPECT_EQ(dir.Get("board.v2.pos"), PartCoordsText(b, s));

    // Cancelled: nothing written.
    r = PartCoordinatesCommand(b, dir / "other.pcb", s, [](PartCoordsSettings&) { return false; });
    EXPECT_EQ(r.status, PartCoordsReport::kCancelled);
    EXPECT_FALSE(std::filesystem::exists(dir / "other.pos"));

    // A file that cannot be made is reported, not passed over in silence.
    r = PartCoordinatesCommand(b, dir / "x.pcb", s, [&](PartCoordsSettings& d) {
        d.file = dir / "missing" / "x.pos";
        return true;
    });
    EXPECT_EQ(r.status, PartCoordsReport::kCannotWrite);
    ASSERT_EQ(r.messages.size(), 1u);
    EXPECT_TRUE(r.messages[0].error);

    EXPECT_EQ(DefaultPartCoordsFile(""), "untitled.pos");
    EXPECT_EQ(DefaultPartCoordsFile("dir/noext"), "dir/noext.pos");
}

TEST(PartCoordsCommand, DuplicateReferencesStopAndUnplacedReferencesWarn) {
    ScratchDir dir;
    Board b;
    SampleBoard(b);
    group* extra = Part(b, "RES", "1k", "R1", {90, 90}, 0);
    Add(b, extra, b.CreateLand(1, 10, false, {90, 90}), 1);
    PartCoordsSettings s;
    bool asked = false;
    auto dialog = [&](PartCoordsSettings&) { return asked = true; };
    PartCoordsReport r = PartCoordinatesCommand(b, dir / "dup.pcb", s, dialog);
    EXPECT_EQ(r.status, PartCoordsReport::kDuplicate);
    EXPECT_FALSE(asked);
    ASSERT_EQ(r.messages.size(), 1u);
    EXPECT_EQ(r.messages[0].text, "R1  同じ部品番号が複数あります");
    EXPECT_FALSE(std::filesystem::exists(dir / "dup.pos"));

    // A referenced group without a placement, or without a name, is no placed part: one warning,
    // and the report is written without it.
    extra->reference = Intern("R9");
    extra->ext->recycle(b);
    extra->ext = nullptr;
    Board plain;
    SampleBoard(plain);
    group* nameless = b.CreateGroup(kEmptyText);
    nameless->reference = Intern("U7");
    nameless->ext = b.CreatePartPlacement({3, 3}, 0);
    b.AppendElement(nullptr, nameless);
    Add(b, nameless, b.CreateLand(1, 10, false, {3, 3}), 1);
    r = PartCoordinatesCommand(b, dir / "warn.pcb", s, dialog);
    EXPECT_EQ(r.status, PartCoordsReport::kWritten);
    ASSERT_EQ(r.messages.size(), 1u);
    EXPECT_EQ(r.messages[0].text, TableText(kMsgReferenceNotPlaced));
    EXPECT_FALSE(r.messages[0].error);
    EXPECT_EQ(dir.Get("warn.pos"), PartCoordsText(plain, s));
}

}  // namespace
}  // namespace zevo
