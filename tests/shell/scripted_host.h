// A Host that answers from queues and records what the editor asked, so the editor can be driven
// end to end without windows.
#pragma once

#include <gtest/gtest.h>

#include <algorithm>
#include <deque>
#include <functional>
#include <map>
#include <string>
#include <type_traits>
#include <typeindex>
#include <vector>

#include "paths/scratch_dir.h"
#include "shell/dialogs/aperture_dialog.h"
#include "shell/dialogs/board_size_dialog.h"
#include "shell/dialogs/gerber_input_dialog.h"
#include "shell/dialogs/gerber_output_dialog.h"
#include "shell/dialogs/grid_dialog.h"
#include "shell/dialogs/hole_data_dialog.h"
#include "shell/dialogs/hole_output_dialog.h"
#include "shell/dialogs/layer_dialog.h"
#include "shell/dialogs/pad_dialog.h"
#include "shell/dialogs/part_coords_dialog.h"
#include "shell/dialogs/swap_dialog.h"
#include "shell/editor.h"
#include "tools/drawing_dialogs.h"

namespace zevo::test {

class ScriptedHost : public Host {
  public:
    std::deque<bool> yesNo;
    std::deque<Answer> yesNoCancel;
    std::deque<fs::path> files;  // chosen files; an empty path cancels
    std::deque<Cmd> menuChoices;
    std::deque<std::string> partNumbers;
    std::vector<std::string> messages;
    std::vector<std::string> questions;
    std::vector<std::string> statusTexts[3];
    std::vector<int> menusShown;  // sizes of the popup menus shown
    std::vector<std::pair<int, int>> timers;
    std::string title;
    int beeps = 0, screenUpdates = 0, barChanges = 0, windowMenus = 0, closeRequests = 0;
    bool closeEnabled = true;

    void beep() override { ++beeps; }
    std::vector<MessageIcon> messageIcons;  // one per message
    void message(std::string_view t, MessageIcon icon) override {
        messages.emplace_back(t);
        messageIcons.push_back(icon);
    }
    bool askYesNo(std::string_view t) override {
        questions.emplace_back(t);
        if (yesNo.empty()) return false;
        const bool a = yesNo.front();
        yesNo.pop_front();
        return a;
    }
    Answer askYesNoCancel(std::string_view t) override {
        questions.emplace_back(t);
        if (yesNoCancel.empty()) return Answer::kCancel;
        const Answer a = yesNoCancel.front();
        yesNoCancel.pop_front();
        return a;
    }
    bool chooseFile(fs::path& chosen) {
        if (files.empty()) return false;
        chosen = files.front();
        files.pop_front();
        return !chosen.empty();
    }
    std::vector<fs::path> chooserStarts;  // where each file chooser started
    bool chooseFileToOpen(const FileFilter&, const fs::path& start, fs::path& c) override {
        chooserStarts.push_back(start);
        return chooseFile(c);
    }
    bool chooseFileToSave(const FileFilter&, const fs::path& start, fs::path& c) override {
        chooserStarts.push_back(start);
        return chooseFile(c);
    }
    void setTitle(std::string_view t) override { title = t; }
    void setStatusText(int part, std::string_view t) override { statusTexts[part].emplace_back(t); }
    void barsChanged() override { ++barChanges; }
    void toolBarChanged() override {}
    void definitionItemsChanged() override {}
    void setCloseEnabled(bool e) override { closeEnabled = e; }
    void updateScreen() override { ++screenUpdates; }
    // Copies shown in the middle of a repaint; the wait cursor switched on and off, in order.
    int partialUpdates = 0;
    std::vector<bool> waitCursor;
    std::function<void()> onPartialUpdate;
    void updateScreenNow() override {
        ++partialUpdates;
        if (onPartialUpdate) onPartialUpdate();
    }
    void setWaitCursor(bool on) override { waitCursor.push_back(on); }
    void startTimer(int id, int ms) override { timers.emplace_back(id, ms); }
    Cmd popupMenu(std::span<const MenuEntry> entries, int, int) override {
        menusShown.push_back(int(entries.size()));
        if (menuChoices.empty()) return Cmd::None;
        const Cmd id = menuChoices.front();
        menuChoices.pop_front();
        return id;
    }
    void windowMenu(int, int) override { ++windowMenus; }
    void closeWindow() override { ++closeRequests; }
    std::optional<std::string> clipboard;
    bool setClipboardData(std::string_view bytes) override {
        clipboard = std::string(bytes);
        return true;
    }
    std::optional<std::string> clipboardData() override { return clipboard; }
    // The progress window: what it showed, and Escape pressed at the n-th pump (0: never).
    std::vector<std::string> progressTexts;
    int pumps = 0, escapeAtPump = 0, progressOpen = 0;
    // Called at every pump, with the editor's input still arriving (to test that it is dropped).
    std::function<void()> duringProgress;
    void showProgress(std::string_view text, bool) override {
        progressTexts.emplace_back(text);
        ++progressOpen;
    }
    bool pumpProgress() override {
        ++pumps;
        if (duringProgress) duringProgress();
        return escapeAtPump && pumps >= escapeAtPump;
    }
    void closeProgress() override { --progressOpen; }
    bool startEditor(const fs::path&) override { return true; }
    std::vector<fs::path> opened;  // files handed to the desktop
    bool openWithDesktop(const fs::path& f) override {
        opened.push_back(f);
        return true;
    }
    // The printer: its metrics (none: no printer), the set-up dialog's choice, the pages printed.
    std::optional<PrinterMetrics> printer;
    std::optional<PrinterMetrics> printerChosen;  // what the set-up dialog selects, if anything
    int printerDialogs = 0;
    std::vector<std::pair<std::string, DibImage>> printed;
    std::optional<PrinterMetrics> printerMetrics() override { return printer; }
    bool choosePrinter() override {
        ++printerDialogs;
        if (!printerChosen) return false;
        printer = printerChosen;
        return true;
    }
    bool printBitmap(std::string_view document, const DibImage& image) override {
        printed.emplace_back(std::string(document), image);
        return true;
    }
    void showHelp() override {}
    // The estimate program: whether one runs, and the argument strings it was started with.
    bool estimateRuns = false;
    uint32_t channel = 0x1234ABCD;
    std::vector<std::string> estimateStarts;
    bool estimateRunning() override { return estimateRuns; }
    uint32_t estimateChannel() override { return channel; }
    bool startEstimate(std::string_view arguments) override {
        estimateStarts.emplace_back(arguments);
        return true;
    }
    void showVersion(std::string_view line, std::string_view) override {
        messages.emplace_back(line);
    }
    bool askPartNumber(std::string& n) override {
        if (partNumbers.empty()) return false;
        n = partNumbers.front();
        partNumbers.pop_front();
        return true;
    }
    // --- dialogs. What the user does in a dialog comes from the queue (`answer`) first, then
    // from the standing answer of the model's type (`on`); a dialog with neither closes at once.
    // An answer returns whether the dialog took its values (an answer returning nothing: true).
    using Answerer = std::function<bool(DialogModel&)>;
    std::deque<Answerer> answers;
    std::map<std::type_index, Answerer> standing;
    std::vector<std::type_index> dialogsShown;
    std::vector<bool> keypads;  // the key pad option of each dialog shown
    template <class Model, class F>
    void on(F f) {
        standing[std::type_index(typeid(Model))] = Wrap<Model>(std::move(f));
    }
    template <class Model>
    void off() {
        standing.erase(std::type_index(typeid(Model)));
    }
    template <class Model, class F>
    void answer(F f) {
        answers.push_back(Wrap<Model>(std::move(f)));
    }
    template <class Model>
    int shown() const {
        return int(
            std::count(dialogsShown.begin(), dialogsShown.end(), std::type_index(typeid(Model))));
    }
    bool run(DialogModel& m) override {
        dialogsShown.emplace_back(typeid(m));
        keypads.push_back(m.keypad);
        bool took = false;
        if (!answers.empty()) {
            const Answerer a = std::move(answers.front());
            answers.pop_front();
            took = a(m);
        } else if (auto it = standing.find(std::type_index(typeid(m))); it != standing.end()) {
            took = it->second(m);
        }
        m.windowClosed();
        return took;
    }

  private:
    template <class Model, class F>
    static Answerer Wrap(F f) {
        return [f = std::move(f)](DialogModel& d) -> bool {
            auto* m = dynamic_cast<Model*>(&d);
            if (!m) {
                ADD_FAILURE() << "the answer was for another dialog than " << typeid(d).name();
                return false;
            }
            if constexpr (std::is_void_v<decltype(f(*m))>) {
                f(*m);
                return true;
            } else {
                return bool(f(*m));
            }
        };
    }
};

// Program folders in a scratch folder, the shipped defaults from the source tree.
inline Paths ScratchPaths(const zevo::testing::ScratchDir& dir) {
    Folders f;
    f.program = dir.path();
    f.userData = dir.path() / "user";
    f.shipped = {fs::path(ZEVO_RESOURCES)};
    f.programWritable = true;
    return Paths(f);
}

}  // namespace zevo::test
