// Everything the editor needs from the platform, in one narrow interface. The Qt front end
// implements it with windows; tests implement it with a scripted host that answers from queues
// and records what was asked.
#pragma once

#include <cstdint>
#include <filesystem>
#include <optional>
#include <span>
#include <string>
#include <string_view>

#include "board/file/document.h"
#include "board/model/board.h"
#include "shell/commands.h"
#include "text/language.h"
#include "tools/dialog.h"
#include "view/print.h"

namespace zevo {

// The icon of a message box.
enum class MessageIcon { kInformation, kWarning, kError };

class Host {
  public:
    virtual ~Host() = default;

    // --- messages (texts are UTF-8; every box is captioned "Zevo")
    virtual void beep() = 0;
    virtual void message(std::string_view text, MessageIcon icon = MessageIcon::kInformation) = 0;
    virtual bool askYesNo(std::string_view text) = 0;
    virtual Answer askYesNoCancel(std::string_view text) = 0;

    // --- file choosers; false when cancelled
    virtual bool chooseFileToOpen(const FileFilter& filter, const fs::path& start,
                                  fs::path& chosen) = 0;
    virtual bool chooseFileToSave(const FileFilter& filter, const fs::path& start,
                                  fs::path& chosen) = 0;

    // --- the main window
    virtual void setTitle(std::string_view title) = 0;
    // Status bar part 0..2 (one part, or three with the coordinate display).
    virtual void setStatusText(int part, std::string_view text) = 0;
    // The bars' visibility, the tool bar style or the status bar's parts changed: lay out.
    virtual void barsChanged() = 0;
    // Tool bar buttons 300..337 changed state.
    virtual void toolBarChanged() = 0;
    // Items 98 and 99 of the menu bar changed text or state.
    virtual void definitionItemsChanged() = 0;
    virtual void setCloseEnabled(bool enabled) = 0;
    // The screen framebuffer changed; show it.
    virtual void updateScreen() = 0;
    // The same in the middle of a long repaint: shown before the editor goes on drawing.
    virtual void updateScreenNow() { updateScreen(); }
    // The wait cursor over the screen window while the board is drawn.
    virtual void setWaitCursor(bool) {}
    // A one-shot timer; the editor's timer() is called with the id when it runs out.
    virtual void startTimer(int id, int milliseconds) = 0;
    // A popup menu at client pixel (x, y) of the screen window; the chosen command, or Cmd::None.
    virtual Cmd popupMenu(std::span<const MenuEntry> entries, int x, int y) = 0;
    // The window menu of running copies (Shift + right click) at (x, y).
    virtual void windowMenu(int x, int y) = 0;
    // Asks the window to close (as the system close command does).
    virtual void closeWindow() = 0;

    // --- the clipboard: the editor's own format ("ZevoClip_t02"), shared by every running copy
    virtual bool setClipboardData(std::string_view bytes) = 0;
    // The bytes of the editor's format, or nothing when the clipboard holds none.
    virtual std::optional<std::string> clipboardData() = 0;

    // --- long operations
    // The modeless progress window: "出力中" / "入力中", or "チェック中" above "ESCで中止" when
    // Escape may stop the operation.
    virtual void showProgress(std::string_view text, bool escapeStops) = 0;
    // Lets waiting input through (the editor drops it while the operation runs); true when
    // Escape was pressed since the window opened.
    virtual bool pumpProgress() = 0;
    virtual void closeProgress() = 0;

    // --- the desktop and other programs
    virtual bool startEditor(const fs::path& document) = 0;
    virtual bool openWithDesktop(const fs::path& file) = 0;
    virtual void showHelp() = 0;
    // The version dialog: "ZEVO Version ..." and the legal notice.
    virtual void showVersion(std::string_view versionLine, std::string_view notice) = 0;
    // The part search dialog: the part number typed; false when cancelled.
    virtual bool askPartNumber(std::string& partNumber) = 0;

    // --- the printer: the default one until the set-up dialog chose another
    // The page metrics of the printer; nothing when there is no printer.
    virtual std::optional<PrinterMetrics> printerMetrics() { return std::nullopt; }
    // The print system's printer set-up dialog (without print to file); true when one was chosen.
    virtual bool choosePrinter() { return false; }
    // One document named `title` of one page: the bitmap stretched over the printable area.
    virtual bool printBitmap(std::string_view title, const DibImage& image) { return false; }
    // --- the estimate program
    // Whether a copy of it runs (it holds its lock).
    virtual bool estimateRunning() = 0;
    // The number of this editor's end of the channel the estimate program talks through; never 0.
    virtual uint32_t estimateChannel() = 0;
    // Starts the program beside the editor with this argument string (UTF-8), without waiting.
    virtual bool startEstimate(std::string_view arguments) = 0;

    // --- every dialog, modal over its model (see tools/dialog.h): true when the dialog took its
    // values (決定, 出力, 入力, OK), false when it was left any other way. The window's own
    // rules are the model's; what the user chose is in the model afterwards.
    virtual bool run(DialogModel& dialog) = 0;

    // --- the interface language was switched (options menu): the core's texts follow
    // UiLanguage(); a window rebuilds the texts it shows (menus, tool tips).
    virtual void languageChanged(Language language) { SetUiLanguage(language); }
};

}  // namespace zevo
