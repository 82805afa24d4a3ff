// Part libraries: listing, loading, registering and deleting parts in library files, with the
// ".bak" copy of the previous version and the origin of a registered part.
#include "board/file/library.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>

#include "board/file/board_writer.h"
#include "board/file/file_text.h"
#include "board/model/intern.h"
#include "checks/pair_gap.h"
#include "paths/file_io.h"
#include "paths/scratch_dir.h"
#include "text/cp932.h"

namespace zevo {
namespace {

using zevo::testing::ScratchDir;
namespace fs = std::filesystem;

// A library of three parts, the second with a part inside it, after a comment line.
constexpr std::string_view kLibrary =
    "; parts for the test\r\n"
    "[Libraries]\r\n"
    "GROUP:R,1/8W\r\n"
    "LAND:X=0,Y=0,LE=1,AP=18\r\n"
    "ENDGR:\r\n"
    "GROUP:1608A\r\n"
    "GROUP:INNER\r\n"
    "LAND:X=1,Y=0,LE=1,AP=18\r\n"
    "ENDGR:\r\n"
    "ENDGR:\r\n"
    "GROUP:DIP8,300mil,extra\r\n"
    "LAND:X=0,Y=0,LE=1,AP=18\r\n"
    "ENDGR:\r\n";

std::vector<std::string> Entries(const fs::path& p) {
    return ListParts(p).value_or(std::vector<std::string>{"<not a library>"});
}

class Library : public ::testing::Test {
  protected:
    ScratchDir dir;
    Board board;
    ListNode elements;
    void SetUp() override {
        elements.initHead();
        land* a = board.CreateLand(1, 18, false, {10, 10});
        a->pinNo = 1;
        a->pinName = Intern("A");
        a->insertBefore(&elements, board.changes);
        line* l = board.CreateLine(1, 4, false, {10, 10}, {15, 12});
        l->insertBefore(&elements, board.changes);
    }
    void TearDown() override {
        for (container* e : Items(elements)) {
            e->unlink(board.changes);
            e->recycle(board);
        }
    }
    static std::function<bool()> Never() {
        return [] {
            ADD_FAILURE() << "asked to replace";
            return false;
        };
    }
};

TEST_F(Library, ListsTheTopLevelPartsAfterTheHeaderAndNothingWithoutIt) {
    const auto parts = ListPartsIn(kLibrary);
    ASSERT_TRUE(parts);
    EXPECT_EQ(*parts, (std::vector<std::string>{"R,1/8W", "1608A", "DIP8,300mil"}));
    EXPECT_FALSE(ListPartsIn("GROUP:R\r\nENDGR:\r\n"));
    EXPECT_FALSE(ListParts(dir / "missing.lib"));
    const std::string longName = "GROUP:" + std::string(200, 'N') + "\r\nENDGR:\r\n";
    EXPECT_EQ(ListPartsIn("[Libraries]\r\n" + longName)->front().size(), kMaxPartEntry);
    const PartKey k = SplitPartEntry("DIP8,300mil");
    EXPECT_EQ(k.name, "DIP8");
    EXPECT_EQ(k.attribute, "300mil");
}

TEST_F(Library, ARegisteredPartLoadsBackRelativeToItsOriginWithoutAPlacement) {
    const fs::path lib = dir / "Parts";  // no extension: ".lib" is added
    ASSERT_EQ(RegisterPart(lib, "", "  R", elements, {10, 10}, Never()), LibraryResult::kDone);
    EXPECT_TRUE(fs::exists(dir / "Parts.lib"));
    EXPECT_FALSE(fs::exists(dir / "Parts.tmp"));
    EXPECT_EQ(Entries(dir / "Parts.lib"), std::vector<std::string>{"R"});
    EXPECT_TRUE(dir.Get("Parts.lib").starts_with("[Libraries]\r\nGROUP:R\r\n"));

    ListNode loaded;
    loaded.initHead();
    ASSERT_TRUE(LoadPart(dir / "Parts.lib", board, "R", "", loaded));
    ASSERT_FALSE(loaded.emptyList());
    group* g = AsGroup(AsElement(loaded.next));
    EXPECT_EQ(g->ext, nullptr);
    EXPECT_EQ(View(g->type), "R");
    const land* a = static_cast<const land*>(AsElement(g->members.next));
    EXPECT_EQ(a->ref(), (Point{0, 0}));
    EXPECT_EQ(a->pinNo, 1);
    EXPECT_EQ(View(a->pinName), "A");
    const line* l = static_cast<const line*>(AsElement(g->members.next->next));
    EXPECT_EQ(l->end(), (Point{5, 2}));
    // The same members as registered, moved by the origin.
    TextOut want, got;
    WritePartMembers(want, elements, {10, 10});
    WriteItems(got, g->members);
    EXPECT_EQ(got.text(), want.text());
    g->unlink(board.changes);
    g->recycle(board);
    // What is not there, or not a library, loads nothing.
    EXPECT_FALSE(LoadPart(dir / "Parts.lib", board, "C", "", loaded));
    EXPECT_FALSE(LoadPartFrom("GROUP:R\r\nENDGR:\r\n", board, "R", "", loaded));
    EXPECT_TRUE(loaded.emptyList());
}

TEST_F(Library, ABadMemberLineLoadsNothing) {
    ListNode loaded;
    loaded.initHead();
    const size_t before = board.liveCounts().groups;
    EXPECT_FALSE(LoadPartFrom("[Libraries]\r\nGROUP:R\r\nLAND:X=0,Y=0,LE=1\r\nENDGR:\r\n", board,
                              "R", "", loaded));
    EXPECT_TRUE(loaded.emptyList());
    EXPECT_EQ(board.liveCounts().groups, before);
    // With an attribute asked for, only that one is taken.
    ASSERT_TRUE(LoadPartFrom(kLibrary, board, "DIP8", "300mil", loaded));
    EXPECT_FALSE(LoadPartFrom(kLibrary, board, "R", "1/4W", loaded));
    AsElement(loaded.next)->recycle(board);
}

TEST_F(Library, OnlyThePartOfTheSameNameAndAttributeIsReplacedAfterTheQuestion) {
    const fs::path lib = dir.Put("Parts.lib", kLibrary);
    // Another attribute is another part: R 1/8W stays, nothing is asked.
    ASSERT_EQ(RegisterPart(lib, "1/4W", "R", elements, {10, 10}, Never()), LibraryResult::kDone);
    EXPECT_EQ(Entries(lib), (std::vector<std::string>{"R,1/8W", "1608A", "DIP8,300mil", "R,1/4W"}));
    // A name that begins like another: 1608A stays.
    ASSERT_EQ(RegisterPart(lib, "", "1608", elements, {10, 10}, Never()), LibraryResult::kDone);
    EXPECT_EQ(Entries(lib).size(), 5u);
    // The same name and attribute: asked; No leaves the file as it was.
    const std::string before = dir.Get("Parts.lib");
    int asked = 0;
    EXPECT_EQ(RegisterPart(lib, "1/8W", "R", elements, {10, 10},
                           [&] {
                               ++asked;
                               return false;
                           }),
              LibraryResult::kNotReplaced);
    EXPECT_EQ(asked, 1);
    EXPECT_EQ(dir.Get("Parts.lib"), before);
    // Yes: the old one goes, the new one comes last; the previous version is the ".bak".
    EXPECT_EQ(RegisterPart(lib, "1/8W", "R", elements, {10, 10}, [] { return true; }),
              LibraryResult::kDone);
    EXPECT_EQ(Entries(lib),
              (std::vector<std::string>{"1608A", "DIP8,300mil", "R,1/4W", "1608", "R,1/8W"}));
    EXPECT_EQ(dir.Get("Parts.bak"), before);
    EXPECT_FALSE(fs::exists(dir / "Parts.tmp"));
}

TEST_F(Library, DeletingTakesOutTheChosenEntryOnly) {
    const fs::path lib = dir.Put("Parts.lib", kLibrary);
    ASSERT_EQ(RegisterPart(lib, "1/4W", "R", elements, {10, 10}, Never()), LibraryResult::kDone);
    EXPECT_EQ(DeletePart(lib, "1/8W", "R"), LibraryResult::kDone);
    EXPECT_EQ(Entries(lib), (std::vector<std::string>{"1608A", "DIP8,300mil", "R,1/4W"}));
    const std::string before = dir.Get("Parts.lib");
    EXPECT_EQ(DeletePart(lib, "", "R"), LibraryResult::kNotFound);  // no R without attribute
    EXPECT_EQ(DeletePart(dir / "none.lib", "", "R"), LibraryResult::kNotFound);
    EXPECT_FALSE(fs::exists(dir / "none.lib"));
    EXPECT_EQ(dir.Get("Parts.lib"), before);
    // The last part gone: the header alone.
    const fs::path one = dir.Put("One.lib",
                                 "[Libraries]\r\nGROUP:C\r\nLAND:X=0,Y=0,LE=1,AP=18\r\n"
                                 "ENDGR:\r\n");
    EXPECT_EQ(DeletePart(one, "", "C"), LibraryResult::kDone);
    EXPECT_EQ(dir.Get("One.lib"), "[Libraries]\r\n");
}

TEST_F(Library, ANewPartGoesToTheEndOfTheLibrarySection) {
    const std::string text =
        "[Libraries]\r\nGROUP:A\r\nENDGR:\r\n[Notes]\r\nGROUP:R\r\nkept\r\nENDGR:\r\n";
    const std::string part = "GROUP:R\r\nENDGR:\r\n";
    bool found = true;
    EXPECT_EQ(RewriteLibrary(text, "R", "", &part, &found),
              "[Libraries]\r\nGROUP:A\r\nENDGR:\r\nGROUP:R\r\nENDGR:\r\n[Notes]\r\nGROUP:R\r\n"
              "kept\r\nENDGR:\r\n");
    EXPECT_FALSE(found);  // a group in another section is no part
    // A last line without its line end gets one before the new part.
    EXPECT_EQ(RewriteLibrary("[Libraries]", "R", "", &part, &found),
              "[Libraries]\r\nGROUP:R\r\nENDGR:\r\n");
}

TEST_F(Library, AFileThatIsNoLibraryIsKeptAsTheBakAndBecomesALibrary) {
    const std::string notes = "my notes\r\nGROUP:X\r\n";
    const fs::path lib = dir.Put("Notes.lib", notes);
    EXPECT_FALSE(ListParts(lib));
    ASSERT_EQ(RegisterPart(lib, "", "R", elements, {10, 10}, Never()), LibraryResult::kDone);
    EXPECT_EQ(Entries(lib), std::vector<std::string>{"R"});
    EXPECT_EQ(dir.Get("Notes.bak"), notes);
}

TEST_F(Library, BadNamesAndUnwritableFilesChangeNothing) {
    const fs::path lib = dir.Put("Parts.lib", kLibrary);
    EXPECT_EQ(RegisterPart(lib, "", "   ", elements, {}, Never()), LibraryResult::kBadName);
    EXPECT_EQ(RegisterPart(lib, "", "R\tX", elements, {}, Never()), LibraryResult::kBadName);
    EXPECT_EQ(RegisterPart(lib, "a\nb", "R", elements, {}, Never()), LibraryResult::kBadName);
    // The temporary file cannot be made (a folder stands in its place): the library stays.
    fs::create_directories(dir / "Parts.tmp" / "x");
    EXPECT_EQ(RegisterPart(lib, "", "C", elements, {}, Never()), LibraryResult::kCannotWrite);
    EXPECT_EQ(dir.Get("Parts.lib"), kLibrary);
    EXPECT_FALSE(fs::exists(dir / "Parts.bak"));
}

TEST(PartOrigin, PlacementThenTheOnlyOriginLandOfTheFirstListThatHasOne) {
    Board b;
    b.SetLayerName(20, "Origin");
    ASSERT_TRUE(b.HasRole(20, kRoleOrigin));
    // A placed part: its placement point.
    group* placed = b.CreateGroup(Intern("DIP8"));
    placed->ext = b.CreatePartPlacement({5, 6}, 0);
    b.AppendElement(placed, b.CreateLand(20, 18, false, {1, 1}));
    container* one[] = {placed};
    EXPECT_EQ(PartOrigin(b, one), (Point{5, 6}));
    // Loose items: the origin land among them.
    land* o = b.CreateLand(20, 18, false, {7, 8});
    land* other = b.CreateLand(1, 18, false, {9, 9});
    land* squareOrigin = b.CreateLand(20, 18, true, {3, 3});  // square lands do not count
    container* loose[] = {other, o, squareOrigin};
    EXPECT_EQ(PartOrigin(b, loose), (Point{7, 8}));
    // Two origin lands in the first list count as none; a group's list comes next.
    land* o2 = b.CreateLand(20, 18, false, {4, 4});
    group* g = b.CreateGroup(Intern("G"));
    b.AppendElement(g, b.CreateLand(20, 18, false, {2, 2}));
    container* two[] = {o, o2, g};
    EXPECT_EQ(PartOrigin(b, two), (Point{2, 2}));
    // One group without placement wrapping one group: the innermost members are looked at.
    group* outer = b.CreateGroup(Intern("OUT"));
    group* inner = b.CreateGroup(Intern("IN"));
    b.AppendElement(inner, b.CreateLand(20, 18, false, {6, 1}));
    b.AppendElement(inner, b.CreateLand(1, 18, false, {6, 2}));
    b.AppendElement(outer, inner);
    container* wrapped[] = {outer};
    EXPECT_EQ(PartOrigin(b, wrapped), (Point{6, 1}));
    // Nothing applies: no origin (the caller takes the centre of the bounds).
    container* none[] = {other};
    EXPECT_FALSE(PartOrigin(b, none));
    for (container* e :
         {static_cast<container*>(placed), static_cast<container*>(o),
          static_cast<container*>(other), static_cast<container*>(squareOrigin),
          static_cast<container*>(o2), static_cast<container*>(g), static_cast<container*>(outer)})
        e->recycle(b);
}

// The library shipped with the programs: every part loads, has its origin land at (0, 0), pins
// numbered 1..n, and copper that keeps 0.2 mm from the other pins.
TEST(ShippedLibrary, EveryPartLoadsWithItsOriginNumberedPinsAndClearCopper) {
    const fs::path lib = fs::path(ZEVO_RESOURCES) / "Parts.lib";
    const auto entries = ListParts(lib);
    ASSERT_TRUE(entries);
    EXPECT_GE(entries->size(), 40u);
    Board b;
    b.SetLayerName(9, Utf8ToCp932("基準点"));
    ASSERT_TRUE(b.HasRole(9, kRoleOrigin));
    for (const std::string& entry : *entries) {
        SCOPED_TRACE(entry);
        const PartKey key = SplitPartEntry(entry);
        ListNode list;
        list.initHead();
        ASSERT_TRUE(LoadPart(lib, b, key.name, key.attribute, list));
        group* g = AsGroup(AsElement(list.next));
        container* one[] = {g};
        EXPECT_EQ(PartOrigin(b, one), (Point{0, 0}));
        // The pins of the top copper layer, each with its number.
        std::vector<const drawn*> pins;
        std::vector<int> numbers;
        ForEachDrawn(g->members, [&](drawn* d) {
            if (d->layer != 1) return;
            pins.push_back(d);
            numbers.push_back(d->pinNo);
        });
        ASSERT_FALSE(pins.empty());
        std::sort(numbers.begin(), numbers.end());
        for (size_t i = 0; i < numbers.size(); ++i) EXPECT_EQ(numbers[i], int(i) + 1);
        for (size_t i = 0; i < pins.size(); ++i)
            for (size_t j = i + 1; j < pins.size(); ++j) {
                PairGapResult r;
                ASSERT_TRUE(PairGap(b, pins[i], pins[j], r));
                EXPECT_FALSE(r.overlap) << "pins " << pins[i]->pinNo << " and " << pins[j]->pinNo;
                if (!r.overlap)
                    EXPECT_GE(r.gap, 0.2 - 1e-9) << pins[i]->pinNo << "/" << pins[j]->pinNo;
            }
        g->recycle(b);
    }
}

}  // namespace
}  // namespace zevo
