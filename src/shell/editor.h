// The board editor without its windows: the document, its undo history, the view and its
// framebuffers, the tool context, the options, and the dispatch of commands, keys, characters
// and mouse events. The windows feed input in and show what the editor draws; everything else
// the editor asks of the platform goes through its Host.
#pragma once

#include <cstdint>
#include <memory>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "board/file/document.h"
#include "board/file/settings.h"
#include "board/undo/undo.h"
#include "files/output_files.h"
#include "output/gerber_input.h"
#include "output/gerber_output.h"
#include "output/hole_output.h"
#include "output/part_coords.h"
#include "paths/paths.h"
#include "shell/host.h"
#include "shell/mouse_machine.h"
#include "tools/drawing_settings.h"
#include "tools/tool_context.h"
#include "view/board_renderer.h"
#include "view/framebuffer.h"
#include "view/view_state.h"

namespace zevo {

// Keys the editor handles as keys (the rest come as characters).
enum class EditorKey {
    kBackspace,
    kPageUp,
    kPageDown,
    kHome,
    kLeft,
    kRight,
    kUp,
    kDown,
    kDelete,
    kF1
};

inline constexpr int kCharBackspace = 8;
inline constexpr int kCharReturn = 13;
inline constexpr int kCharEscape = 27;

// Timers of the windows.
inline constexpr int kTimerRefresh = 101;   // main window: copy the back buffer again
inline constexpr int kTimerHighlight = 10;  // screen window: draw the highlighted parts

struct MenuItemState {
    bool enabled = false;
    bool checked = false;
};

class Editor final : private ToolHost, private DocumentUi, private MouseTarget {
  public:
    Editor(Host& host, Paths paths);
    ~Editor() override;
    Editor(const Editor&) = delete;
    Editor& operator=(const Editor&) = delete;

    // --- start-up and shutdown
    // The platform-free steps of start-up: settings, the line tool, the title, the recovery
    // question or the file of the command line (double quotes removed), or a new document.
    void startUp(std::span<const std::string> arguments);
    // The end of start-up once the window is shown: fit the drawing, forget stored views.
    void finishStartUp();
    // The window is asked to close: false keeps it open (not ready, or the save question was
    // cancelled). When true the text defaults ("DrawText", "InsertText") are written to the
    // settings file; its board sections stay as they are.
    bool close();
    // The recovery file, for the fault handlers. Writes at most once.
    void writeRecovery();
    // Another program (or copy) asks this editor to open a file: the save question, the file,
    // then the fitted drawing. False when nothing was opened.
    bool openFile(const fs::path& file);
    // The estimate program asks for the fabrication set: the ZevoNC folder is written under
    // `parent` (the user's temporary folder). The reply the channel sends back.
    bool answerEstimateRequest(const fs::path& parent);
    // A line from the estimate program's channel: the reply line to send back, or nothing for a
    // line that is no request. The messages of the ZevoNC output are shown here.
    std::optional<std::string> estimateLine(std::string_view line, const fs::path& parent);
    // The clipboard changed (or the window got the focus): the paste button follows it.
    void clipboardChanged();
    // The desktop size changed: a new pick radius.
    void displayChanged(int desktopWidth, int desktopHeight);

    // --- input (all dropped while a long operation runs)
    bool command(Cmd id);
    bool keyDown(EditorKey key, uint32_t flags = 0);
    void character(int ch, bool control = false);
    void leftDown(int x, int y, uint32_t flags);
    void leftUp(int x, int y, uint32_t flags);
    void rightDown(int x, int y, uint32_t flags);
    void rightUp(int x, int y, uint32_t flags);
    void middleDown(int x, int y, uint32_t flags);
    void mouseMove(int x, int y, uint32_t flags);
    void wheel(int delta, int x, int y);
    void scroll(bool horizontal, ScrollRequest request, int thumb = 0);
    void resize(int width, int height);
    void timer(int id);
    // The right-click rule (the main window's right button release).
    void rightClick(int x, int y, uint32_t flags);

    // --- what the windows show
    const Framebuffer& screen() const { return screen_; }
    MenuItemState menuState(Cmd id) const;
    // Tool bar button state (bits of ToolBarBits) of a tool-bar command.
    uint8_t toolBarState(Cmd id) const;
    std::string layerItemText() const;
    std::string definitionItemText() const;
    std::string title() const;
    bool statusThreeParts() const { return options.displayPosition; }
    bool ready() const { return ready_; }
    // Redraws the back buffer and shows it.
    void redraw();
    // Copies the back buffer to the screen and puts the overlays back.
    void refresh();

    // --- the parts, open to the windows and to tests
    Host& host;
    const Paths paths;
    Document doc;
    UndoHistory history;
    ViewState view;
    Options options;
    DrawingSettings drawing;
    SelectionSettings selection;
    std::unique_ptr<ToolContext> tools;
    // True while a long operation runs with its progress window.
    void setReady(bool ready) { ready_ = ready; }
    bool fontAvailable = false;

  private:
    // ToolHost
    void Beep() override { host.beep(); }
    void ShowHint(int stringId) override;
    void SetDefinitionItemsEnabled(bool, bool) override { host.definitionItemsChanged(); }
    void SetCloseEnabled(bool enabled) override { host.setCloseEnabled(enabled); }
    void ToolBarChanged() override { host.toolBarChanged(); }
    void FramesPopped() override;
    void Repaint() override { redraw(); }
    void ShowScreenNow() override { host.updateScreenNow(); }
    // ToolHost: the tools' dialogs
    bool Run(DialogModel& m) override { return runDialog(m); }
    void Message(std::string_view text) override { host.message(text); }
    bool AskYesNo(std::string_view text) override { return host.askYesNo(text); }
    bool DeleteOnClick() const override { return selection.deleteOnClick; }
    void SetDeleteOnClick(bool on) override;
    SelectionSettings SelectionOptions() const override { return selection; }
    void SetSelectionOptions(const SelectionSettings& s) override;
    void WaitCursor(bool on) override { host.setWaitCursor(on); }
    bool CoordinatesRelative() const override { return coordinatesRelative_; }
    void SetCoordinatesRelative(bool on) override { coordinatesRelative_ = on; }
    bool SetClipboard(std::string_view bytes) override { return host.setClipboardData(bytes); }
    std::optional<std::string> Clipboard() override { return host.clipboardData(); }
    std::filesystem::path LibraryPath(std::string_view entry) const override {
        return paths.ResolveLibrary(entry);
    }
    std::optional<fs::path> LibraryWritePath(std::string_view entry) const override {
        return paths.LibraryWriteTarget(entry);
    }
    void DocumentModified() override { doc.modified = true; }
    void DefinitionsChanged() override { host.definitionItemsChanged(); }
    bool RightClickOptionsOn() const override { return options.rClickMenu || options.rClickBsKey; }
    std::filesystem::path FontFile() const override { return paths.fontFile(); }
    TextDefaults InsertTextDefaults() const override { return options.insertText; }
    // DocumentUi
    void showMessage(std::string_view text) override { host.message(text); }
    Answer askYesNoCancel(std::string_view text) override { return host.askYesNoCancel(text); }
    bool chooseFileToOpen(const FileFilter& f, const fs::path& start, fs::path& chosen) override {
        return host.chooseFileToOpen(f, start, chosen);
    }
    bool chooseFileToSave(const FileFilter& f, const fs::path& start, fs::path& chosen) override {
        return host.chooseFileToSave(f, start, chosen);
    }
    void requestBoardSize(Board& board) override;
    void resetDocument(Board& board) override;
    void documentNamed(const fs::path& path) override;
    bool startEditor(const fs::path& document) override { return host.startEditor(document); }
    // MouseTarget
    void hover(int x, int y, uint32_t flags) override;
    void click() override;
    void dragStart() override;
    void reset() override;
    bool acceptsDrags() const override { return tools->acceptsDrags(); }
    void sendBackspace() override { keyDown(EditorKey::kBackspace); }
    void sendReturn() override { character(kCharReturn); }
    void gesture(Gesture g, int x, int y, uint32_t flags) override;

    bool idle() const { return tools->modes.depth() == 1; }
    void chooseTool(int mode);
    void editOperation(EditOp op);
    bool viewTool(int mode, int hint, std::initializer_list<Cmd> disable,
                  std::initializer_list<Cmd> enable, Cmd check, bool greyItems);
    // A key of the key table: its command when its gate lets it through.
    void boundKey(const KeyBinding& k);
    void afterDocumentChange(bool fit);
    void saveOption(Option option);
    void showStatusCoordinates();
    void showCursor(bool on);
    // The crosshair's pixel from the cursor (the grid point's pixel with on-grid); true when it
    // moved.
    bool snapCursorPixel();
    // Buttons 331 and 333..336 follow the previous view and the display memories.
    void refreshViewButtons();
    void setInput(int x, int y, uint32_t flags);
    // A button event: the stored position and flags, then the mouse machine.
    void buttonEvent(void (MouseMachine::*event)(int, int, uint32_t), int x, int y, uint32_t f);
    void applyViewChange(bool changed);
    void partSearch();
    void showInformation();
    void updateTitle() { host.setTitle(title()); }
    // The drawing options a tool dialog changed go to the settings file at once.
    void keepDrawingOptions();
    void initialToolBar();
    // Every dialog goes to the host from here, with the key pad option.
    bool runDialog(DialogModel& m) {
        m.keypad = options.digitInDlg;
        return host.run(m);
    }
    // The definition dialogs of the settings menu (the aperture, pad, layer and swap dialogs),
    // the grid dialog and the board size of a new document.
    void runDefinitionDialog(Cmd id);
    void runGridDialog();
    void runBoardSizeDialog();
    // "ライブラリ設定" (the library file list, kept in the settings file at once) and "部品削除".
    void runLibrarySettings();
    void runPartDelete();
    // The manufacturing and check commands (editor_checks.cpp).
    void gerberOutput();
    void holeOutput();
    // The current-format choice of either output dialog, kept for both and for the estimate
    // program's set, and saved in the settings file ("ModernOutput", only when on).
    void keepModernOutput(bool on);
    void gerberInput();
    void netlistOutput();
    void netlistCompare();
    void partCoordinates();
    void drcCheck();
    void drcErase();
    // The check print or the artwork print: the print dialog, then the page to the printer or
    // the BMP file beside the document, opened with the desktop.
    void print(PrintKind kind);
    // Menu item 453: the estimate program for the open board.
    void startEstimate();
    void showMessages(const std::vector<OutputMessage>& messages);
    // What an output wrote, in the status bar: the files and the folder.
    void showWrittenFiles(const std::vector<fs::path>& written, const fs::path& folder);
    // An output settings file (made empty when missing); a message when it cannot be made.
    std::optional<fs::path> outputSettingsFile(std::string_view name);
    // Runs `work` with the progress window up and input dropped.
    template <class F>
    void longOperation(std::string_view text, bool escapeStops, F&& work);

    Framebuffer back_, screen_, scratch_;
    // The outlines of the last repaint: one after a small edit works out only the edited ones.
    RepaintMemory repaintMemory_;
    MouseMachine mouse_;
    bool ready_ = true;
    int cursorX_ = 0, cursorY_ = 0;
    int cursorPixelX_ = 0, cursorPixelY_ = 0;  // where the crosshair is drawn
    uint32_t keyFlags_ = 0;
    Point lastGridPoint_{1e300, 1e300};
    bool longCursorShown_ = false;
    bool recoveryWritten_ = false;
    std::vector<const drawn*> highlighted_;
    // The choices of the manufacturing dialogs live as long as the editor (the decimals and the
    // extended flag are not kept in the settings files).
    GerberOutputChoices gerberChoices_;
    HoleOutputChoices holeChoices_;
    GerberInputChoices inputChoices_;
    PartCoordsSettings partCoords_;
    // The coordinate display leads with the grid-origin-relative pair (for this session).
    bool coordinatesRelative_ = false;
    // The print dialog's flags stay for the editor's run; offsets and magnification start anew.
    PrintOptions printOptions_;
};

// The version line of the version dialog: "ZEVO Version 0.63.9" (the fourth number and a zero
// third number left out as the version resource's rule says).
std::string VersionLine(int major, int minor, int patch, int build = 0);

}  // namespace zevo
