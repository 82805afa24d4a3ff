// The editor in English: what it shows is English, and the files it writes do not depend on the
// interface language: the board, the settings, the recovery file, the clipboard block and a
// library, written once in Japanese and once in English, are the same bytes. (The manufacturing
// and check files: tests/cli/cli_language_test.)
#include <gtest/gtest.h>

#include <fstream>
#include <iterator>
#include <map>

#include "board/file/clipboard_format.h"
#include "board/file/library.h"
#include "scripted_host.h"
#include "shell/dialogs/layer_dialog.h"
#include "shell/editor.h"
#include "text/language.h"
#include "text/strings.h"

namespace zevo::test {
namespace {

std::map<fs::path, std::string> FilesUnder(const fs::path& root) {
    std::map<fs::path, std::string> files;
    for (const auto& e : fs::recursive_directory_iterator(root)) {
        if (!e.is_regular_file()) continue;
        std::ifstream in(e.path(), std::ios::binary);
        files[fs::relative(e.path(), root)] = {std::istreambuf_iterator<char>(in),
                                               std::istreambuf_iterator<char>()};
    }
    return files;
}

std::map<fs::path, std::string> EditorFilesIn(Language language) {
    SetUiLanguage(language);
    zevo::testing::ScratchDir dir;
    ScriptedHost host;
    Editor editor(host, ScratchPaths(dir));
    const fs::path board = dir / "boards" / "amp.pcb";
    fs::create_directories(board.parent_path());
    fs::copy_file(fs::path(ZEVO_EXAMPLES) / "example.pcb", board);
    const std::vector<std::string> args = {board.string()};
    editor.startUp(args);
    editor.finishStartUp();
    Board& b = editor.doc.board;

    host.yesNo = {true, true, true};
    editor.command(Cmd::Standard);  // the board's settings become the template
    editor.doc.modified = true;
    editor.command(Cmd::Save);
    host.files = {dir / "boards" / "old.pcb"};
    editor.command(Cmd::SaveOldFormat);
    editor.writeRecovery();
    std::ofstream(dir / "clipboard.bin", std::ios::binary) << WriteClipboard(b.items, {10, 10});
    EXPECT_EQ(RegisterPart(dir / "Mine.lib", "red", "AMP", b.items, {10, 10}, [] { return true; }),
              LibraryResult::kDone);
    EXPECT_EQ(RegisterPart(dir / "Mine.lib", "red", "AMP", b.items, {0, 0}, [] { return true; }),
              LibraryResult::kDone);
    host.yesNoCancel = {Answer::kNo};
    editor.close();
    SetUiLanguage(Language::Japanese);
    // Paths written into the files name the scratch folder, which differs between the runs.
    auto files = FilesUnder(dir.path());
    for (auto& [name, bytes] : files)
        for (size_t at; (at = bytes.find(dir.path().string())) != std::string::npos;)
            bytes.replace(at, dir.path().string().size(), "<dir>");
    return files;
}

TEST(LanguageFiles, TheEditorWritesTheSameBytesInBothLanguages) {
    const auto japanese = EditorFilesIn(Language::Japanese);
    const auto english = EditorFilesIn(Language::English);
    for (const char* name : {"boards/amp.pcb", "boards/old.pcb", "zevo.ini", "Recovery.pcb",
                             "clipboard.bin", "Mine.lib"})
        EXPECT_TRUE(japanese.count(name)) << name;
    ASSERT_EQ(japanese.size(), english.size());
    for (const auto& [name, bytes] : japanese) {
        const auto it = english.find(name);
        ASSERT_NE(it, english.end()) << name;
        EXPECT_TRUE(it->second == bytes) << name << " differs between the languages";
    }
}

// What the editor itself puts together for the user follows the language; names from the board
// (layer names, part types) stay as they are.
TEST(LanguageFiles, TheEditorShowsItsOwnTextsInEnglish) {
    zevo::testing::ScratchDir dir;
    ScriptedHost host;
    Editor editor(host, ScratchPaths(dir));
    const std::vector<std::string> args = {(fs::path(ZEVO_EXAMPLES) / "example.pcb").string()};
    editor.startUp(args);
    editor.finishStartUp();
    const std::string japaneseLayer = editor.layerItemText();
    SetUiLanguage(Language::English);
    EXPECT_EQ(editor.layerItemText(), "Layer" + japaneseLayer.substr(japaneseLayer.find(' ')));
    EXPECT_EQ(LayerDialogModel::pageEntry(1), "Layer   8 -  15");
    EXPECT_EQ(OffBoardMessage(3), "Elements outside the drawing area were removed (3)");
    EXPECT_EQ(CommandCaption(Cmd::GerberOut), "Gerber output");

    host.partNumbers = {"NOPE"};
    editor.command(Cmd::PartSearch);
    ASSERT_FALSE(host.messages.empty());
    EXPECT_EQ(host.messages.back(), "Part not found");
    editor.command(Cmd::Arc);
    ASSERT_FALSE(host.statusTexts[0].empty());
    EXPECT_EQ(host.statusTexts[0].back(), "Left click: centre");
    SetUiLanguage(Language::Japanese);
}

}  // namespace
}  // namespace zevo::test
