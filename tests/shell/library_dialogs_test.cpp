// The library dialogs through the editor: "ライブラリ設定" choosing the libraries in use (kept in
// the settings file), "部品削除" taking parts out of a library, and the libraries "部品登録" and
// "部品入力" then offer. The program's folders are scratch folders with a shipped library of their
// own, so that no test can touch a file of the source tree.
#include <gtest/gtest.h>

#include <memory>

#include "board/file/library.h"
#include "board/model/intern.h"
#include "paths/file_io.h"
#include "scripted_host.h"
#include "shell/dialogs/library_dialog.h"
#include "text/cp932.h"
#include "text/strings.h"
#include "tools/multiple_dialogs.h"

namespace zevo::test {
namespace {

constexpr std::string_view kShippedLibrary =
    "[Libraries]\r\n"
    "GROUP:R,1/4W\r\nLAND:X=0,Y=0,LE=1,AP=18\r\nLAND:X=5,Y=0,LE=1,AP=18\r\nENDGR:\r\n"
    "GROUP:R,1/8W\r\nLAND:X=0,Y=0,LE=1,AP=18\r\nENDGR:\r\n"
    "GROUP:C\r\nLAND:X=0,Y=0,LE=1,AP=18\r\nGROUP: PAD\r\nLAND:X=2,Y=0,LE=1,AP=18\r\nENDGR:\r\n"
    "ENDGR:\r\n";

class Libraries : public ::testing::Test {
  protected:
    zevo::testing::ScratchDir dir;
    fs::path program = dir.path() / "program";
    fs::path shipped = dir.path() / "shipped";
    ScriptedHost host;
    std::unique_ptr<Editor> editor;

    void SetUp() override {
        fs::create_directories(program);
        fs::create_directories(shipped);
        fs::copy_file(fs::path(ZEVO_RESOURCES) / "zevo.ini", shipped / "zevo.ini");
        Put(shipped / "Parts.lib", kShippedLibrary);
        Folders f;
        f.program = program;
        f.userData = dir.path() / "user";
        f.shipped = {shipped};
        f.programWritable = true;
        editor = std::make_unique<Editor>(host, Paths(f));
        editor->startUp({});
        editor->finishStartUp();
        editor->options.longCursor = false;
        editor->view.SetView(10, 0, 0);
        editor->view.SetPickRadiusPixels(5);
    }
    Board& board() { return editor->doc.board; }
    static void Put(const fs::path& p, std::string_view bytes) {
        ASSERT_TRUE(WriteFileAtomically(p, bytes));
    }
    static std::string Get(const fs::path& p) { return ReadWholeFile(p).value_or("<none>"); }
    std::string settings() const { return Get(editor->paths.settingsFile()); }

    // Runs "ライブラリ設定" with the user's moves.
    void librarySettings(const std::function<void(LibrarySettingsModel&)>& moves) {
        host.answer<LibrarySettingsModel>(moves);
        ASSERT_TRUE(editor->command(Cmd::Libraries));
    }
    // Runs "部品削除" choosing `entry` of library `index` (after checking what it lists).
    void deletePart(int index, std::string entry,
                    const std::vector<std::string>* expectParts = nullptr) {
        host.answer<PartDeleteModel>([=](PartDeleteModel& m) {
            m.library = index;
            if (expectParts) EXPECT_EQ(m.parts(), *expectParts);
            m.entry = entry;
            return true;
        });
        ASSERT_TRUE(editor->command(Cmd::PartDelete));
    }
};

// ------------------------------------------------------------------ ライブラリ設定

TEST_F(Libraries, TheSettingsDialogMovesFilesInAndOutAndKeepsTheListInTheSettingsFile) {
    EXPECT_TRUE(editor->menuState(Cmd::Libraries).enabled);
    Put(program / "Mine.lib", "[Libraries]\r\n");
    Put(program / "Other.LIB", "[Libraries]\r\n");
    Put(program / "notes.txt", "");
    Put(program / "Parts.lib.bak", "");
    librarySettings([](LibrarySettingsModel& m) {
        // An empty list stands for the shipped default, which is then in use.
        EXPECT_EQ(m.used(), (std::vector<std::string>{"Parts.lib"}));
        EXPECT_EQ(m.unused(), (std::vector<std::string>{"Mine.lib", "Other.LIB"}));
        EXPECT_TRUE(m.take(1));   // << Other.LIB
        EXPECT_TRUE(m.take(0));   // << Mine.lib
        EXPECT_TRUE(m.leave(0));  // >> Parts.lib
        EXPECT_EQ(m.unused(), (std::vector<std::string>{"Parts.lib"}));
    });
    const std::vector<std::string> chosen{"Other.LIB", "Mine.lib"};
    EXPECT_EQ(board().libraryFiles, chosen);
    // The settings file holds the list at once, and so does every new document.
    const std::string ini = settings();
    EXPECT_NE(ini.find("[LibraryFiles]\r\nFileName:Other.LIB\r\nFileName:Mine.lib\r\n"),
              std::string::npos);
    EXPECT_NE(ini.find("[LayerDef]"), std::string::npos);  // the rest stays
    EXPECT_EQ(ini.find("[LibraryFiles]"), ini.rfind("[LibraryFiles]"));
    EXPECT_FALSE(editor->doc.modified);  // the document file does not keep the list
    ASSERT_TRUE(editor->command(Cmd::New));
    EXPECT_EQ(board().libraryFiles, chosen);

    // "部品入力" and "部品登録" offer that list.
    ASSERT_TRUE(editor->command(Cmd::Multiple));
    host.answer<PartInsertModel>([&](PartInsertModel& m) {
        EXPECT_EQ(m.libraries, chosen);
        return false;
    });
    ASSERT_TRUE(editor->command(Cmd::JoinSplit));
    EXPECT_EQ(host.shown<PartInsertModel>(), 1);

    // Taking every file out again leaves the default in use; closing without a change writes
    // nothing.
    librarySettings([](LibrarySettingsModel& m) {
        EXPECT_TRUE(m.leave(1));
        EXPECT_TRUE(m.leave(0));
        EXPECT_FALSE(m.leave(0));  // nothing left to take out
        EXPECT_FALSE(m.take(7));
    });
    EXPECT_TRUE(board().libraryFiles.empty());
    EXPECT_NE(settings().find("[LibraryFiles]\r\nFileName:Parts.lib\r\n"), std::string::npos);
    fs::remove(editor->paths.settingsFile());
    librarySettings([](LibrarySettingsModel&) {});
    EXPECT_FALSE(fs::exists(editor->paths.settingsFile()));
    EXPECT_TRUE(host.messages.empty());
}

TEST_F(Libraries, TheListOfFilesInUseComparesWithoutCaseAndHoldsAtMost128) {
    std::vector<std::string> found;
    for (int i = 0; i < 130; ++i) found.push_back("L" + std::to_string(i) + ".lib");
    LibrarySettingsModel m({"PARTS.LIB", "/elsewhere/Far.lib", "Gone.lib"}, [&] {
        auto all = found;
        all.push_back("Parts.lib");
        return all;
    }());
    EXPECT_EQ(m.unused().size(), 130u);  // Parts.lib is in use as PARTS.LIB
    // A file of another folder or one that is gone leaves the lists when taken out.
    EXPECT_TRUE(m.leave(1));
    EXPECT_TRUE(m.leave(1));
    EXPECT_EQ(m.used(), (std::vector<std::string>{"PARTS.LIB"}));
    EXPECT_EQ(m.unused().size(), 130u);
    for (int i = 0; i < 127; ++i) ASSERT_TRUE(m.take(0));
    EXPECT_EQ(m.used().size(), 128u);
    EXPECT_FALSE(m.take(0));  // full
    EXPECT_EQ(m.unused().size(), 3u);
    EXPECT_TRUE(m.changed());
}

TEST_F(Libraries, ALibraryWithAJapaneseNameIsOfferedAndRead) {
    const std::string name = "抵抗.lib";
    Put(program / fs::path(std::u8string(name.begin(), name.end())), kShippedLibrary);
    const std::string entry = Utf8ToCp932(name);
    librarySettings([&](LibrarySettingsModel& m) {
        ASSERT_EQ(m.unused(), (std::vector<std::string>{entry}));
        EXPECT_TRUE(m.take(0));
    });
    ASSERT_EQ(board().libraryFiles.back(), entry);
    // The settings file keeps the name in its own bytes.
    EXPECT_NE(settings().find("FileName:" + entry + "\r\n"), std::string::npos);
    const std::vector<std::string> parts{"R,1/4W", "R,1/8W", "C"};
    deletePart(1, "C", &parts);
    EXPECT_EQ(ListParts(editor->paths.ResolveLibrary(entry)),
              (std::vector<std::string>{"R,1/4W", "R,1/8W"}));
}

TEST_F(Libraries, ASettingsFileThatCannotBeWrittenIsSaid) {
    // A folder where the settings file would be: the list changes for this run and says so.
    fs::remove(editor->paths.settingsFile());
    fs::create_directories(editor->paths.settingsFile() / "x");
    Put(program / "Mine.lib", "[Libraries]\r\n");
    librarySettings([](LibrarySettingsModel& m) { EXPECT_TRUE(m.take(0)); });
    EXPECT_EQ(board().libraryFiles, (std::vector<std::string>{"Parts.lib", "Mine.lib"}));
    ASSERT_EQ(host.messages.size(), 1u);
    EXPECT_EQ(host.messages[0], TableText(kMsgCannotWriteSettings));
}

// ------------------------------------------------------------------ 部品削除

TEST_F(Libraries, DeletingAPartOfTheShippedLibraryRewritesTheUsersCopyOnly) {
    EXPECT_TRUE(editor->menuState(Cmd::PartDelete).enabled);
    const std::vector<std::string> all{"R,1/4W", "R,1/8W", "C"};
    deletePart(0, "R,1/8W", &all);
    EXPECT_TRUE(host.messages.empty());
    // The shipped file is as it was; the user's copy in the program's folder lost that entry
    // only, and keeps the previous version as ".bak".
    EXPECT_EQ(Get(shipped / "Parts.lib"), kShippedLibrary);
    EXPECT_EQ(ListParts(program / "Parts.lib"), (std::vector<std::string>{"R,1/4W", "C"}));
    EXPECT_EQ(Get(program / "Parts.bak"), kShippedLibrary);
    // From now on the library read is the user's.
    const std::vector<std::string> left{"R,1/4W", "C"};
    deletePart(0, "C", &left);
    EXPECT_EQ(ListParts(program / "Parts.lib"), (std::vector<std::string>{"R,1/4W"}));
    EXPECT_EQ(Get(shipped / "Parts.lib"), kShippedLibrary);
}

TEST_F(Libraries, DeletingTheOnlyPartLeavesTheHeaderAndCancellingDeletesNothing) {
    const fs::path lib = program / "One.lib";
    Put(lib, "[Libraries]\r\nGROUP:LED\r\nLAND:X=0,Y=0,LE=1,AP=18\r\nENDGR:\r\n");
    board().libraryFiles = {"One.lib"};
    // 取消, or 決定 with no part chosen: nothing happens.
    host.answer<PartDeleteModel>([](PartDeleteModel& m) {
        m.entry = "LED";
        return false;
    });
    ASSERT_TRUE(editor->command(Cmd::PartDelete));
    deletePart(0, "");
    EXPECT_EQ(ListParts(lib), (std::vector<std::string>{"LED"}));
    EXPECT_FALSE(fs::exists(program / "One.bak"));

    const std::vector<std::string> one{"LED"};
    deletePart(0, "LED", &one);
    EXPECT_EQ(Get(lib), "[Libraries]\r\n");
    EXPECT_EQ(ListParts(lib), std::vector<std::string>{});
    EXPECT_EQ(host.beeps, 0);
    // The part is gone: deleting it again (a list shown before the change) only beeps.
    deletePart(0, "LED");
    EXPECT_EQ(host.beeps, 1);
    EXPECT_EQ(Get(lib), "[Libraries]\r\n");
    EXPECT_TRUE(host.messages.empty());
}

TEST_F(Libraries, ALibraryThatCannotBeWrittenKeepsItsOldContents) {
    const fs::path lib = program / "Keep.lib";
    const std::string text =
        "[Libraries]\r\nGROUP:LED,red\r\nLAND:X=0,Y=0,LE=1,AP=18\r\nENDGR:\r\n";
    Put(lib, text);
    board().libraryFiles = {"Keep.lib"};
    // The temporary file cannot be made: a folder holds its name.
    fs::create_directories(program / "Keep.tmp" / "x");
    deletePart(0, "LED,red");
    ASSERT_EQ(host.messages.size(), 1u);
    EXPECT_EQ(host.messages[0], TableText(kMsgLibraryNotWritten));
    EXPECT_EQ(Get(lib), text);
    EXPECT_FALSE(fs::exists(program / "Keep.bak"));
    // The old version cannot be put aside: a full folder holds the ".bak" name.
    fs::remove_all(program / "Keep.tmp");
    fs::create_directories(program / "Keep.bak" / "x");
    deletePart(0, "LED,red");
    EXPECT_EQ(host.messages.size(), 2u);
    EXPECT_EQ(Get(lib), text);
    EXPECT_FALSE(fs::exists(program / "Keep.tmp"));
}

TEST_F(Libraries, MissingLibrariesAndFilesWithoutTheHeaderListNoParts) {
    Put(program / "Plain.lib", "GROUP:R\r\nLAND:X=0,Y=0,LE=1,AP=18\r\nENDGR:\r\n");
    board().libraryFiles = {"Gone.lib", "Plain.lib", "/no/such/folder/Far.lib"};
    for (int i = 0; i < 3; ++i) {
        const std::vector<std::string> none;
        deletePart(i, "R", &none);
    }
    // Nothing was made or changed, and nothing was said but the beeps of parts not found.
    EXPECT_FALSE(fs::exists(program / "Gone.lib"));
    EXPECT_EQ(Get(program / "Plain.lib"), "GROUP:R\r\nLAND:X=0,Y=0,LE=1,AP=18\r\nENDGR:\r\n");
    EXPECT_TRUE(host.messages.empty());
    // "ライブラリ設定" still shows them in use until they are taken out.
    librarySettings([](LibrarySettingsModel& m) {
        EXPECT_EQ(m.used(),
                  (std::vector<std::string>{"Gone.lib", "Plain.lib", "/no/such/folder/Far.lib"}));
        EXPECT_EQ(m.unused(), (std::vector<std::string>{"Parts.lib"}));
        EXPECT_TRUE(m.leave(0));
    });
    EXPECT_EQ(board().libraryFiles,
              (std::vector<std::string>{"Plain.lib", "/no/such/folder/Far.lib"}));
}

// ------------------------------------------------------------------ 部品登録 into the list

TEST_F(Libraries, RegisteringIntoANameWithoutExtensionWritesItIntoTheProgramsFolder) {
    board().libraryFiles = {"Parts", "Parts.lib"};
    board().AppendElement(nullptr, board().CreateLand(1, 18, false, {20, 20}));
    board().AppendElement(nullptr, board().CreateLine(1, 18, false, {20, 20}, {30, 20}));
    ASSERT_TRUE(editor->command(Cmd::Multiple));
    for (int library : {0, 1}) {
        // A rectangle round everything takes the two items, then the part they became.
        host.answer<GroupSettingsModel>([](GroupSettingsModel& m) {
            m.choice = GroupSettingsModel::Choice::kRegister;
            return true;
        });
        host.answer<PartRegisterModel>([library](PartRegisterModel& m) {
            m.library = library;
            m.name = library ? "NEW" : "SMALL";
            return true;
        });
        const Point a = editor->view.WorldToScreen(Point{15, 15});
        const Point b = editor->view.WorldToScreen(Point{35, 25});
        editor->mouseMove(int(a.x), int(a.y), 0);
        editor->leftDown(int(a.x), int(a.y), kMkLeft);
        editor->mouseMove(int(b.x), int(b.y), kMkLeft);
        editor->leftUp(int(b.x), int(b.y), 0);
        ASSERT_EQ(editor->tools->selection.count(), library ? 1u : 2u);
        ASSERT_TRUE(editor->command(Cmd::JoinSplit));
    }
    EXPECT_TRUE(host.messages.empty());
    // "Parts" is written as Parts.lib in the program's folder, made there from the shipped one
    // it stands for; the second registration went into the same file; the shipped file is
    // untouched.
    EXPECT_EQ(ListParts(program / "Parts.lib"),
              (std::vector<std::string>{"R,1/4W", "R,1/8W", "C", "SMALL", "NEW"}));
    EXPECT_EQ(Get(shipped / "Parts.lib"), kShippedLibrary);
}

}  // namespace
}  // namespace zevo::test
