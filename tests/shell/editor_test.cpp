#include <gtest/gtest.h>

#include <set>

#include "board/file/settings.h"
#include "board/model/intern.h"
#include "scripted_host.h"
#include "shell/commands.h"
#include "text/strings.h"

namespace zevo::test {
namespace {

using zevo::testing::ScratchDir;

class BoardEditor : public ::testing::Test {
  protected:
    ScratchDir dir;
    ScriptedHost host;
    Editor editor{host, ScratchPaths(dir)};

    void start(std::vector<std::string> args = {}) {
        editor.startUp(args);
        editor.finishStartUp();
    }
    std::string setting(std::string_view section, std::string_view key) {
        return ReadSetting(editor.paths.settingsFile(), section, key, "<none>");
    }
    // A half-drawn line: the line tool with a frame above its first state.
    void halfDrawnLine() {
        ASSERT_EQ(editor.tools->modes.mode(), kModeLine);
        ASSERT_TRUE(editor.tools->modes.pushState(1, kHintLineStart));
    }
};

TEST_F(BoardEditor, StartsWithTheLineToolAnUntitledTitleAndTheFittedView) {
    start();
    EXPECT_EQ(editor.tools->modes.mode(), kModeLine);
    EXPECT_EQ(editor.tools->modes.depth(), 1);
    EXPECT_EQ(host.title, "Zevo untitled.pcb");
    EXPECT_TRUE(host.questions.empty());  // no recovery file, no question
    EXPECT_FALSE(editor.view.previousAvailable());
    EXPECT_FALSE(editor.screen().empty());
    // Buttons that need a selection or a stored view start greyed; the rest are shown.
    EXPECT_FALSE(editor.toolBarState(Cmd::Cut) & kTbEnabled);
    EXPECT_FALSE(editor.toolBarState(Cmd::PreviousButton) & kTbEnabled);
    EXPECT_FALSE(editor.toolBarState(Cmd::Memory1Button) & kTbEnabled);
    EXPECT_TRUE(editor.toolBarState(Cmd::ZoomOut) & kTbEnabled);
    EXPECT_TRUE(editor.toolBarState(Cmd::GridDialog) & kTbEnabled);
    EXPECT_EQ(editor.layerItemText(), "レイヤー 1: パターン表");
}

TEST_F(BoardEditor, OpensTheFileOfTheCommandLineWithItsQuotesRemoved) {
    const fs::path example = fs::path(ZEVO_EXAMPLES) / "example.pcb";
    start({"\"" + example.string() + "\""});
    EXPECT_EQ(editor.doc.path, example);
    EXPECT_EQ(host.title, "Zevo " + example.string());
    EXPECT_FALSE(editor.doc.board.items.emptyList());
    EXPECT_FALSE(editor.doc.modified);
}

TEST_F(BoardEditor, RecoveryQuestionOpensOrDropsTheRecoveryFileAndDeletesIt) {
    const fs::path example = fs::path(ZEVO_EXAMPLES) / "example.pcb";
    fs::copy_file(example, editor.paths.recoveryFile());
    host.yesNo = {true};
    start({example.string()});  // the recovery file wins over the command line
    ASSERT_EQ(host.questions.size(), 1u);
    EXPECT_EQ(host.questions[0], TableText(kMsgRecover));
    EXPECT_FALSE(fs::exists(editor.paths.recoveryFile()));
    EXPECT_FALSE(editor.doc.board.items.emptyList());
    EXPECT_TRUE(editor.doc.modified);  // recovered work is not saved anywhere yet

    ScratchDir other;
    ScriptedHost host2;
    Editor second(host2, ScratchPaths(other));
    fs::copy_file(example, second.paths.recoveryFile());
    host2.yesNo = {false};
    second.startUp({});
    EXPECT_FALSE(fs::exists(second.paths.recoveryFile()));
    EXPECT_TRUE(second.doc.board.items.emptyList());
}

TEST_F(BoardEditor, ToolsAreChosenOnlyWhenIdle) {
    start();
    // The drawing tools come with their own work; until then the tool selection is driven here.
    halfDrawnLine();
    editor.tools->selectToolMode(kModeArc);
    EXPECT_EQ(editor.tools->modes.mode(), kModeLine);
    editor.character(kCharEscape);  // the stand-in line state cancels on Escape
    EXPECT_EQ(editor.tools->modes.depth(), 1);
    EXPECT_TRUE(editor.tools->selectToolMode(kModeArc));
    EXPECT_EQ(editor.tools->modes.mode(), kModeArc);
}

TEST_F(BoardEditor, CommandsOfDisabledButtonsAreRefused) {
    start();
    EXPECT_FALSE(editor.command(Cmd::Cut));  // cut without a selection
    EXPECT_TRUE(editor.menuState(Cmd::PartDelete).enabled);
    EXPECT_TRUE(editor.menuState(Cmd::Change).enabled);
    EXPECT_FALSE(editor.command(Cmd::Rotate));  // only the deform tool turns, while it drags
    EXPECT_FALSE(editor.menuState(Cmd::Mirror).enabled);
    EXPECT_TRUE(editor.menuState(Cmd::PrintCheck).enabled);  // printing is there
    EXPECT_TRUE(editor.menuState(Cmd::Open).enabled);
    EXPECT_TRUE(editor.command(Cmd::ZoomOut));
    EXPECT_TRUE(editor.view.previousAvailable() || editor.view.scale > 0);
}

TEST_F(BoardEditor, ViewCommandsChangeTheViewAndTheirButtons) {
    start({(fs::path(ZEVO_EXAMPLES) / "example.pcb").string()});
    const double fitted = editor.view.scale;
    editor.keyDown(EditorKey::kPageDown);  // command 97: zoom in by two
    EXPECT_DOUBLE_EQ(editor.view.scale, fitted * 2);
    EXPECT_TRUE(editor.toolBarState(Cmd::PreviousButton) &
                kTbEnabled);           // a previous view now exists
    editor.keyDown(EditorKey::kHome);  // back to the previous view
    EXPECT_DOUBLE_EQ(editor.view.scale, fitted);

    editor.command(Cmd::Store1);  // store memory 1
    EXPECT_TRUE(editor.toolBarState(Cmd::Memory1Button) & kTbEnabled);
    editor.keyDown(EditorKey::kPageDown);
    editor.character('1');  // recall memory 1
    EXPECT_DOUBLE_EQ(editor.view.scale, fitted);

    const bool onGrid = editor.view.onGrid();
    editor.command(Cmd::OnGrid);
    EXPECT_NE(editor.view.onGrid(), onGrid);
    EXPECT_EQ(editor.menuState(Cmd::OnGrid).checked, !onGrid);
    editor.command(Cmd::MirrorView);
    EXPECT_TRUE(editor.view.mirrored());
}

TEST_F(BoardEditor, KeyZStartsTheZoomToolOnlyWhenItsButtonIsEnabled) {
    start();
    editor.character('z');
    EXPECT_EQ(editor.tools->modes.depth(), 2);
    EXPECT_EQ(editor.tools->modes.mode(), kModeZoom);
    // The zoom frame greys its own button: Z again does nothing.
    EXPECT_FALSE(editor.toolBarState(Cmd::ZoomTool) & kTbEnabled);
    editor.character('Z');
    EXPECT_EQ(editor.tools->modes.depth(), 2);
    editor.character(kCharEscape);
    EXPECT_EQ(editor.tools->modes.depth(), 1);
    // Over a line being drawn the zoom frame goes on top, and Esc gives the line back.
    halfDrawnLine();
    editor.character('Z');
    EXPECT_EQ(editor.tools->modes.depth(), 3);
    EXPECT_EQ(editor.tools->modes.mode(), kModeZoom);
    editor.character(kCharEscape);
    EXPECT_EQ(editor.tools->modes.depth(), 2);
    EXPECT_EQ(editor.tools->modes.mode(), kModeLine);
}

TEST_F(BoardEditor, OptionsToggleAndAreWrittenAtOnce) {
    start();
    editor.command(Cmd::CoordinateDisplay);  // coordinate display on
    editor.command(Cmd::Absolute);           // absolute on
    EXPECT_EQ(setting("Window", "DisplayPosition"), "Yes");
    EXPECT_EQ(setting("Window", "PositionAbsolute"), "Yes");
    EXPECT_TRUE(editor.statusThreeParts());
    editor.command(Cmd::CoordinateDisplay);  // off: absolute goes too
    EXPECT_FALSE(editor.options.positionAbsolute);
    EXPECT_FALSE(editor.statusThreeParts());
    EXPECT_EQ(setting("Window", "PositionAbsolute"), "<none>");

    editor.command(Cmd::RClickMenu);  // right-click menu on
    editor.command(Cmd::RClickBack);  // right-click goes back: clears the menu option
    EXPECT_FALSE(editor.options.rClickMenu);
    EXPECT_TRUE(editor.options.rClickBsKey);
    editor.command(Cmd::RClickMenu);
    EXPECT_TRUE(editor.options.rClickMenu);
    EXPECT_FALSE(editor.options.rClickBsKey);
    EXPECT_TRUE(editor.menuState(Cmd::RClickMenu).checked);
    EXPECT_FALSE(editor.menuState(Cmd::RClickBack).checked);

    const bool bar = editor.options.toolBar;
    const int changes = host.barChanges;
    editor.command(Cmd::ToolBar);
    EXPECT_NE(editor.options.toolBar, bar);
    EXPECT_GT(host.barChanges, changes);
    editor.command(Cmd::ClickDelete);
    EXPECT_TRUE(editor.selection.deleteOnClick);
}

// The options menu's language switch: the other language at once, checked in English, stored
// in the settings file, and the current hint shown again.
TEST_F(BoardEditor, TheLanguageSwitchTogglesStoresAndShowsTheHintAgain) {
    start();
    SetUiLanguage(Language::Japanese);
    EXPECT_FALSE(editor.menuState(Cmd::English).checked);
    const size_t hints = host.statusTexts[0].size();
    editor.command(Cmd::English);
    EXPECT_EQ(UiLanguage(), Language::English);
    EXPECT_TRUE(editor.menuState(Cmd::English).checked);
    EXPECT_EQ(setting("Setting", "Language"), "English");
    ASSERT_GT(host.statusTexts[0].size(), hints);
    EXPECT_FALSE(host.statusTexts[0].back().empty());
    editor.command(Cmd::English);
    EXPECT_EQ(UiLanguage(), Language::Japanese);
    EXPECT_FALSE(editor.menuState(Cmd::English).checked);
    EXPECT_EQ(setting("Setting", "Language"), "Japanese");
    EXPECT_EQ(editor.options.language, Language::Japanese);
}

TEST_F(BoardEditor, StatusCoordinatesFollowTheCursorRelativeOrAbsolute) {
    start();
    editor.doc.board.SetGridOrigin(10, 20);
    editor.view.TakeBoardGrid(editor.doc.board);
    editor.command(Cmd::CoordinateDisplay);
    editor.mouseMove(100, 100, 0);
    const Point p = editor.view.ScreenToInput(100, 100);
    char x[32], y[32];
    std::snprintf(x, sizeof x, "X:%.3f", p.x - 10);
    std::snprintf(y, sizeof y, "Y:%.3f", p.y - 20);
    EXPECT_EQ(host.statusTexts[0].back(), x);
    EXPECT_EQ(host.statusTexts[1].back(), y);
    editor.command(Cmd::Absolute);
    editor.mouseMove(100, 100, 0);
    std::snprintf(x, sizeof x, "X:%.3f", p.x);
    EXPECT_EQ(host.statusTexts[0].back(), x);
}

TEST_F(BoardEditor, RightClickRule) {
    start();
    // Idle: the context menu (Shift: the window menu).
    host.menuChoices = {Cmd::None};
    editor.rightDown(50, 50, kMkRight);
    editor.rightUp(52, 51, 0);
    ASSERT_EQ(host.menusShown.size(), 1u);
    EXPECT_EQ(size_t(host.menusShown[0]), ContextMenu().size());
    editor.rightDown(50, 50, kMkRight | kMkShift);
    editor.rightUp(50, 50, kMkShift);
    EXPECT_EQ(host.windowMenus, 1);

    // Drawing a line with both options off: Return, which decides the line (417).
    halfDrawnLine();
    editor.rightClick(10, 10, 0);
    EXPECT_EQ(host.menusShown.size(), 1u);
    // The rule reached command 417 without a menu: the line is decided.
    EXPECT_EQ(editor.tools->modes.depth(), 1);

    // With the menu option on, the menu shows.
    halfDrawnLine();
    editor.options.rClickMenu = true;
    editor.rightClick(10, 10, 0);
    EXPECT_EQ(host.menusShown.size(), 2u);
}

TEST_F(BoardEditor, GesturesOpenTheirMenusByDirection) {
    start();
    host.menuChoices = {Cmd::None, Cmd::None, Cmd::None};
    editor.rightDown(100, 100, kMkRight);
    editor.rightUp(105, 160, 0);  // down: view menu
    editor.rightDown(100, 100, kMkRight);
    editor.rightUp(160, 110, 0);  // right: tool menu
    editor.rightDown(100, 100, kMkRight);
    editor.rightUp(40, 100, 0);  // left: edit menu
    ASSERT_EQ(host.menusShown.size(), 3u);
    EXPECT_EQ(size_t(host.menusShown[0]), ViewGestureMenu().size());
    EXPECT_EQ(size_t(host.menusShown[1]), ToolGestureMenu().size());
    EXPECT_EQ(size_t(host.menusShown[2]), EditGestureMenu().size());
    // A gesture chooses a command: 全体表示 from the view menu.
    host.menuChoices = {Cmd::FitBoard};
    editor.rightDown(100, 100, kMkRight);
    editor.rightUp(100, 200, 0);
    EXPECT_DOUBLE_EQ(editor.view.scale, editor.view.BoardFitScale());
}

TEST_F(BoardEditor, NothingHappensWhileALongOperationRuns) {
    start();
    editor.setReady(false);
    const double scale = editor.view.scale;
    EXPECT_FALSE(editor.command(Cmd::ZoomOut));
    editor.keyDown(EditorKey::kPageDown);
    editor.wheel(120, 10, 10);
    editor.rightDown(1, 1, kMkRight);
    editor.rightUp(1, 1, 0);
    EXPECT_EQ(editor.view.scale, scale);
    EXPECT_TRUE(host.menusShown.empty());
    EXPECT_FALSE(editor.close());  // the window stays while the operation runs
    editor.setReady(true);
    EXPECT_TRUE(editor.command(Cmd::ZoomOut));
}

TEST_F(BoardEditor, CloseAsksToSaveAModifiedBoardAndKeepsTheWindowOnCancel) {
    start();
    editor.doc.modified = true;
    host.yesNoCancel = {Answer::kCancel};
    EXPECT_FALSE(editor.close());
    host.yesNoCancel = {Answer::kNo};
    EXPECT_TRUE(editor.close());
}

TEST_F(BoardEditor, ClosingWritesTheTextDefaultsAndLeavesTheTemplateAsItWas) {
    start();
    const fs::path file = editor.paths.settingsFile();
    const std::string before = ReadWholeFile(file).value_or("<missing>");
    const double width = editor.doc.board.sizeX;
    const size_t pads = editor.doc.board.padDefs.size();
    // The document's tables differ from the template, and the user drops the document.
    editor.doc.board.SetBoardSize(width + 200, 400);
    editor.doc.board.AddPadDefinition({{200, 250}});
    editor.doc.board.SetRoundAperture(7, 1.25);
    editor.doc.modified = true;
    editor.options.insertText = {5, 2, 2.2};
    host.yesNoCancel = {Answer::kNo};
    ASSERT_TRUE(editor.close());
    // Only "InsertText" changed ("DrawText" is at its default and stays absent).
    EXPECT_EQ(ReadWholeFile(file).value_or("<missing>"),
              RewriteSettings(before, "Setting", "InsertText", "5,2,2.2"));
    // The next document starts from the template as it was.
    ScriptedHost host2;
    Editor next(host2, ScratchPaths(dir));
    next.startUp({});
    EXPECT_EQ(next.doc.board.sizeX, width);
    EXPECT_EQ(next.doc.board.padDefs.size(), pads);
    EXPECT_EQ(next.options.insertText, (TextDefaults{5, 2, 2.2}));
}

TEST_F(BoardEditor, TheLastDocumentsFolderNamesNewDocumentsAndStartsTheDialogs) {
    ScratchDir work;
    work.Put("untitled.pcb", "someone else's file");
    editor.paths.EnsureSettingsFile();
    WriteSetting(editor.paths.settingsFile(), "FileName", "FileName", (work / "last.pcb").string());
    start();
    EXPECT_EQ(editor.doc.path, work / "untitled.pcb");
    host.files = {fs::path()};
    editor.command(Cmd::Open);
    EXPECT_EQ(host.chooserStarts.back(), work.path());
    // Saving (404, Ctrl+S) a document no file holds asks for its name, proposing "untitled.pcb"
    // in that folder; cancelled, nothing is written.
    editor.doc.modified = true;
    host.files = {fs::path()};
    editor.command(Cmd::Save);
    EXPECT_EQ(host.chooserStarts.back(), work / "untitled.pcb");
    host.files = {fs::path()};
    editor.character(19, true);
    EXPECT_EQ(host.chooserStarts.size(), 3u);
    EXPECT_EQ(work.Get("untitled.pcb"), "someone else's file");
    // A new document is named there too.
    host.files = {work / "board.pcb"};
    editor.command(Cmd::Save);
    EXPECT_TRUE(fs::exists(work / "board.pcb"));
    host.files = {};
    editor.command(Cmd::New);
    EXPECT_EQ(editor.doc.path, work / "untitled.pcb");
    EXPECT_EQ(host.chooserStarts.size(), 4u);
}

TEST_F(BoardEditor, ARecoveredBoardIsSavedOnlyUnderAChosenName) {
    ScratchDir work;
    work.Put("untitled.pcb", "someone else's file");
    editor.paths.EnsureSettingsFile();
    WriteSetting(editor.paths.settingsFile(), "FileName", "FileName", (work / "last.pcb").string());
    fs::copy_file(fs::path(ZEVO_EXAMPLES) / "example.pcb", editor.paths.recoveryFile());
    host.yesNo = {true};
    start();
    EXPECT_TRUE(editor.doc.modified);
    EXPECT_EQ(editor.doc.path, work / "untitled.pcb");
    // The last document is still the user's, not the recovery file.
    EXPECT_EQ(setting("FileName", "FileName"), (work / "last.pcb").string());
    host.files = {fs::path()};
    editor.character(19, true);  // Ctrl+S
    EXPECT_EQ(host.chooserStarts.size(), 1u);
    EXPECT_EQ(work.Get("untitled.pcb"), "someone else's file");
}

TEST_F(BoardEditor, AFileThatIsNoBoardIsRefusedAndNeverOverwritten) {
    const fs::path example = fs::path(ZEVO_EXAMPLES) / "example.pcb";
    start({example.string()});
    const std::string png("\x89PNG\r\n\x1a\n\0\0\0\rIHDR", 16);
    const fs::path picture = dir.Put("picture.png", png);
    editor.doc.modified = true;
    host.yesNoCancel = {Answer::kNo};
    host.files = {picture};
    editor.command(Cmd::Open);
    ASSERT_FALSE(host.messages.empty());
    EXPECT_EQ(host.messages.back(), TableText(kMsgNotABoard));
    EXPECT_EQ(editor.doc.path, example);
    EXPECT_TRUE(editor.doc.modified);
    EXPECT_FALSE(editor.doc.board.items.emptyList());
    // Asked by another program, the same.
    host.yesNoCancel = {Answer::kNo};
    EXPECT_FALSE(editor.openFile(dir.Put("empty.pcb", "")));
    EXPECT_EQ(editor.doc.path, example);
    EXPECT_EQ(dir.Get("picture.png"), png);
}

TEST_F(BoardEditor, OpeningSaysOnceThatElementsOffTheBoardWereRemoved) {
    const fs::path edge =
        dir.Put("edge.pcb",
                "[BoardSize]\r\nX:100\r\nY:100\r\n[DrawItems]\r\nLAND:X=-5,Y=5,LE=1,AP=0\r\n"
                "LINE:XS=1,YS=1,XE=200,YE=1,LE=1,AP=0\r\nLAND:X=50,Y=50,LE=1,AP=0\r\n");
    start({edge.string()});
    EXPECT_EQ(host.messages, std::vector<std::string>{OffBoardMessage(2)});
    host.files = {edge};
    editor.command(Cmd::Open);
    ASSERT_EQ(host.messages.size(), 2u);
    EXPECT_EQ(host.messages.back(), OffBoardMessage(2));
}

TEST_F(BoardEditor, SaveAndOpenThroughTheFileCommands) {
    start({(fs::path(ZEVO_EXAMPLES) / "example.pcb").string()});
    const fs::path saved = dir / "copy.pcb";
    host.files = {saved};
    editor.command(Cmd::SaveAs);
    ASSERT_TRUE(fs::exists(saved));
    EXPECT_EQ(host.title, "Zevo " + saved.string());
    EXPECT_EQ(setting("FileName", "FileName"), saved.string());

    host.yesNoCancel = {Answer::kNo};
    host.files = {};
    editor.command(Cmd::New);  // new: the board is empty and untitled
    EXPECT_TRUE(editor.doc.board.items.emptyList());
    host.files = {saved};
    editor.command(Cmd::Open);
    EXPECT_FALSE(editor.doc.board.items.emptyList());
    EXPECT_EQ(editor.doc.path, saved);

    // Ctrl+S saves a modified named document under its name; not when a tool is busy.
    editor.doc.modified = true;
    halfDrawnLine();
    const int beeps = host.beeps;
    editor.character(19, true);
    EXPECT_EQ(host.beeps, beeps + 1);
    editor.character(kCharEscape);
    editor.character(19, true);
    EXPECT_FALSE(editor.doc.modified);
}

TEST_F(BoardEditor, PartSearchCentresOnTheFoundPartsAndHighlightsThemLater) {
    start({(fs::path(ZEVO_EXAMPLES) / "example.pcb").string()});
    host.partNumbers = {"NOPE"};
    editor.command(Cmd::PartSearch);
    EXPECT_EQ(host.messages.back(), "部品が見つかりません");
    host.partNumbers = {"R1"};
    editor.command(Cmd::PartSearch);
    EXPECT_TRUE(editor.view.previousAvailable());
    ASSERT_FALSE(host.timers.empty());
    EXPECT_EQ(host.timers.back(), std::make_pair(kTimerHighlight, 10));
    const int updates = host.screenUpdates;
    editor.timer(kTimerHighlight);
    EXPECT_GT(host.screenUpdates, updates);
}

TEST_F(BoardEditor, UndoAndRedoFromTheMenuAndKeys) {
    start();
    Board& b = editor.doc.board;
    UndoStep* step = editor.history.BeginStep();
    land* l = b.CreateLand(1, 18, false, {10, 10});
    b.AppendElement(nullptr, l);
    editor.history.RecordAdded(step, l);
    editor.history.CommitStep(step);
    EXPECT_TRUE(editor.menuState(Cmd::Undo).enabled);
    EXPECT_FALSE(editor.menuState(Cmd::Redo).enabled);
    editor.character(26, true);  // Ctrl+Z
    EXPECT_TRUE(b.items.emptyList());
    EXPECT_TRUE(editor.menuState(Cmd::Redo).enabled);
    editor.character(25, true);  // Ctrl+Y
    EXPECT_FALSE(b.items.emptyList());
    editor.keyDown(EditorKey::kBackspace);  // idle Backspace undoes
    EXPECT_TRUE(b.items.emptyList());
}

TEST_F(BoardEditor, DefinitionDialogsChangeTheDocumentThroughTheirModels) {
    start();
    Board& b = editor.doc.board;
    // Grid: the view takes the new grid and the document is changed.
    host.on<GridDialogModel>([](GridDialogModel& m) {
        m.editSpacing("1.27");
        return m.pressSet().outcome == FieldOutcome::kStored;
    });
    editor.command(Cmd::GridDialog);
    EXPECT_DOUBLE_EQ(b.gridSpacing, 1.27);
    EXPECT_DOUBLE_EQ(editor.view.gridSpacing, 1.27);
    EXPECT_TRUE(editor.doc.modified);

    // The aperture dialog opens on the tool's aperture; a change shows in the menu-bar item.
    editor.doc.modified = false;
    host.on<ApertureDialogModel>([](ApertureDialogModel& m) {
        EXPECT_EQ(m.selected(), 18);
        m.editSize("2.5");
        m.pressChange();
    });
    editor.command(Cmd::RoundApertures);
    EXPECT_DOUBLE_EQ(b.roundHalf(18), 1.25);
    EXPECT_TRUE(editor.doc.modified);
    // A dialog closed without a change leaves the document unchanged.
    editor.doc.modified = false;
    host.off<ApertureDialogModel>();
    editor.command(Cmd::SquareApertures);
    EXPECT_FALSE(editor.doc.modified);

    // A new document asks for the board size.
    host.yesNoCancel = {Answer::kNo};
    host.on<BoardSizeDialogModel>([](BoardSizeDialogModel& m) {
        m.editX("123.2");
        m.editY("99");
        m.pressOk();
    });
    editor.command(Cmd::New);
    EXPECT_DOUBLE_EQ(b.sizeX, 124);
    EXPECT_DOUBLE_EQ(b.sizeY, 100);
    EXPECT_DOUBLE_EQ(editor.view.boardWidth, 124);
}

TEST_F(BoardEditor, ThePasteButtonFollowsTheClipboardWhenIdle) {
    start();
    EXPECT_FALSE(editor.tools->modes.toolBarEnabled(Cmd::Paste));
    host.clipboard = std::string("\x00\x01", 2);
    editor.clipboardChanged();
    EXPECT_TRUE(editor.tools->modes.toolBarEnabled(Cmd::Paste));
    host.clipboard.reset();
    halfDrawnLine();
    editor.clipboardChanged();  // a tool in progress keeps its buttons
    EXPECT_TRUE(editor.tools->modes.toolBarEnabled(Cmd::Paste));
}

TEST(EditorVersion, VersionLineDropsZeroTrailingNumbers) {
    EXPECT_EQ(VersionLine(0, 63, 9, 0), "ZEVO Version 0.63.9");
    EXPECT_EQ(VersionLine(1, 2, 3, 4), "ZEVO Version 1.2.3.4");
    EXPECT_EQ(VersionLine(1, 2, 0, 0), "ZEVO Version 1.2");
}

void ExpectCaptions(std::span<const MenuEntry> entries) {
    for (const MenuEntry& e : entries) {
        if (e.isSubmenu()) {
            EXPECT_FALSE(e.caption.empty());
            ExpectCaptions(e.submenu);
        } else if (!e.separator()) {
            EXPECT_FALSE(CommandCaption(e.id).empty()) << CommandNumber(e.id);
        }
    }
}

TEST(CommandTable, NumbersNamesCaptionsMenusAndKeysAgree) {
    // The numbers are what the settings and the other programs know a command by.
    EXPECT_EQ(CommandNumber(Cmd::RoundLand), 303);
    EXPECT_EQ(CommandNumber(Cmd::Estimate), 453);
    EXPECT_EQ(CommandNumber(Cmd::Cancel), 499);
    EXPECT_EQ(CommandFromNumber(414), Cmd::Drc);
    EXPECT_EQ(CommandFromNumber(302), Cmd::None);  // a gap of the tool bar
    EXPECT_EQ(CommandFromNumber(1000), Cmd::None);
    EXPECT_EQ(CommandName(Cmd::Drc), "Drc");
    EXPECT_EQ(CommandCaption(Cmd::Drc), "DRCチェック");
    EXPECT_TRUE(CommandCaption(Cmd::None).empty());

    for (const MenuSpec& m : MenuBar()) ExpectCaptions(m.entries);
    ExpectCaptions(ContextMenu());
    ExpectCaptions(ViewGestureMenu());
    ExpectCaptions(ToolGestureMenu());
    ExpectCaptions(EditGestureMenu());

    ASSERT_EQ(ToolBarLayout().size(), 39u);
    int separators = 0;
    for (Cmd id : ToolBarLayout()) {
        if (id == Cmd::None) {
            ++separators;
            continue;
        }
        EXPECT_TRUE(IsToolBarCmd(id)) << CommandNumber(id);
        EXPECT_FALSE(CommandCaption(id).empty()) << CommandNumber(id);
    }
    EXPECT_EQ(separators, 6);
    EXPECT_EQ(ToolBarImage(Cmd::LayerSelect), 0);
    EXPECT_EQ(ToolBarImage(Cmd::GridDialog), 37);
    // The gaps between the buttons' numbers are the separators of the saved states.
    int gaps = 0;
    for (size_t slot = 0; slot < size_t(kToolBarIds); ++slot) gaps += IsToolBarSeparator(slot);
    EXPECT_EQ(gaps, 5);

    std::set<std::pair<char, bool>> keys;
    for (const KeyBinding& k : KeyBindings()) {
        EXPECT_TRUE(keys.insert({k.key, k.control}).second) << k.key;
        EXPECT_FALSE(CommandCaption(k.command).empty()) << k.key;
        EXPECT_FALSE(CommandCaption(k.gate).empty()) << k.key;
        EXPECT_EQ(FindKey(k.key, k.control), &k);
    }
    EXPECT_EQ(FindKey('G', false), nullptr);  // the multiple tool's own key
    EXPECT_EQ(FindKey('S', true), nullptr);   // saving has a rule of its own
}

}  // namespace
}  // namespace zevo::test
