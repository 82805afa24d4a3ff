// The manufacturing and check commands of the editor: the Gerber and hole outputs, the Gerber
// input, the netlist output and comparison, the part coordinates, the design rule check and its
// marks, and the fabrication set the estimate program asks for. The work itself is the core's;
// here are the dialogs, the progress window, the messages and what the document makes of it.
#include <algorithm>
#include <cstdio>

#include "board/model/intern.h"
#include "checks/drc.h"
#include "checks/netlist.h"
#include "checks/netlist_import.h"
#include "output/gerber_input.h"
#include "output/gerber_output.h"
#include "output/hole_output.h"
#include "output/part_coords.h"
#include "output/zevonc.h"
#include "paths/file_io.h"
#include "shell/dialogs/gerber_input_dialog.h"
#include "shell/dialogs/gerber_output_dialog.h"
#include "shell/dialogs/hole_data_dialog.h"
#include "shell/dialogs/hole_output_dialog.h"
#include "shell/dialogs/part_coords_dialog.h"
#include "shell/editor.h"
#include "shell/estimate_link.h"
#include "text/language.h"
#include "text/strings.h"

namespace zevo {

namespace {

constexpr std::string_view kOutputting = "出力中";
constexpr std::string_view kInputting = "入力中";
constexpr std::string_view kChecking = "チェック中";

// The progress monitor of the core's long operations, answered by the host's window.
class HostProgress final : public ProgressMonitor {
  public:
    explicit HostProgress(Host& host) : host_(host) {}
    bool pump(size_t, size_t) override { return !host_.pumpProgress(); }

  private:
    Host& host_;
};

// Every " DRC" group at any depth, and every group the removal leaves empty, unlinked with its
// place recorded in `step` (so that undo puts the marks back where they stood). True when the
// list itself lost a member.
bool EraseMarksRecorded(UndoHistory& history, UndoStep* step, ListNode& head) {
    const Istr drc = Reserved().drc;
    bool removed = false;
    for (container* c : Items(head)) {
        if (c->kind != kGroup) continue;
        group* g = AsGroup(c);
        const bool drop = g->type == drc ||
                          (EraseMarksRecorded(history, step, g->members) && g->members.emptyList());
        if (!drop) continue;
        ListNode* successor = g->unlink(history.board().changes);
        history.RecordRemoved(step, g, successor);
        removed = true;
    }
    return removed;
}

}  // namespace

template <class F>
void Editor::longOperation(std::string_view text, bool escapeStops, F&& work) {
    ready_ = false;
    host.showProgress(text, escapeStops);
    HostProgress monitor(host);
    work(monitor);
    host.closeProgress();
    ready_ = true;
}

void Editor::showMessages(const std::vector<OutputMessage>& messages) {
    for (const OutputMessage& m : messages)
        host.message(m.text, m.error ? MessageIcon::kError : MessageIcon::kInformation);
}

void Editor::showWrittenFiles(const std::vector<fs::path>& written, const fs::path& folder) {
    std::string text;
    if (written.empty()) {
        text = TableText(kMsgNoFilesWritten);
    } else {
        // Files of the output folder by name, any other with its whole path.
        std::string names;
        for (const fs::path& f : written) {
            if (!names.empty()) names += ' ';
            names += f.parent_path() == folder ? f.filename().string() : f.string();
        }
        const std::string format(TableText(kMsgFilesWritten));
        const std::string where = folder.string();
        text.resize(format.size() + names.size() + where.size() + 16);
        const int n = std::snprintf(text.data(), text.size() + 1, format.c_str(),
                                    int(written.size()), names.c_str(), where.c_str());
        text.resize(size_t(std::max(n, 0)));
    }
    host.setStatusText(options.displayPosition ? 2 : 0, text);
}

// ------------------------------------------------------------------ outputs

namespace {

// The progress window of an output or input: it comes up once the command's dialog was accepted
// and goes when the command is done, input dropped meanwhile.
class ProgressAfterDialog {
  public:
    ProgressAfterDialog(Host& host, bool& ready, std::string_view text)
        : host_(host), ready_(ready), text_(text) {}
    ~ProgressAfterDialog() {
        if (!running_) return;
        host_.closeProgress();
        ready_ = true;
    }
    // For the dialog callback: `accepted` passed on, the window up when it is true.
    bool after(bool accepted) {
        if (!accepted) return false;
        ready_ = false;
        host_.showProgress(text_, false);
        running_ = true;
        return true;
    }

  private:
    Host& host_;
    bool& ready_;
    std::string_view text_;
    bool running_ = false;
};

}  // namespace

namespace {

// The board file the outputs are placed by: while no file holds the board, a name in the
// program's (writable) folder, so that nothing is written, deleted or read beside a file the
// board's proposed name happens to share a folder with.
fs::path OutputBoardFile(const Document& doc, const Paths& paths) {
    if (doc.neverSaved || doc.path.empty())
        return paths.writableDir() /
               fs::path(std::u8string(kUntitledName.begin(), kUntitledName.end()));
    return doc.path;
}

}  // namespace

std::optional<fs::path> Editor::outputSettingsFile(std::string_view name) {
    auto file = paths.OutputSettingsFile(name);
    if (!file) host.message(TableText(kMsgCannotWriteOutput), MessageIcon::kError);
    return file;
}

void Editor::gerberOutput() {
    const auto settings = outputSettingsFile(kGerberOutSettings);
    if (!settings) return;
    OutputReport report;
    bool done;
    const fs::path folder = OutputFolder(OutputBoardFile(doc, paths), paths.writableDir());
    {
        ProgressAfterDialog progress(host, ready_, Tr(kOutputting));
        done = GerberOutputCommand(
            doc.board, *settings, folder, gerberChoices_,
            [&](GerberOutputChoices& c) {
                GerberOutputDialogModel m(doc.board, c);
                return progress.after(runDialog(m));
            },
            report);
    }
    if (done) {
        keepModernOutput(gerberChoices_.modern);
        showMessages(report.messages);
        showWrittenFiles(report.written, folder);
    } else {
        redraw();
    }
}

void Editor::keepModernOutput(bool on) {
    // One choice for both outputs and the estimate program's set.
    gerberChoices_.modern = holeChoices_.modern = on;
    if (options.modernOutput == on) return;
    options.modernOutput = on;
    saveOption(Option::kModernOutput);
}

void Editor::holeOutput() {
    const auto settings = outputSettingsFile(kHoleOutSettings);
    if (!settings) return;
    fs::path proposed = OutputBoardFile(doc, paths);
    proposed.replace_extension(".hol");
    OutputReport report;
    bool done;
    const fs::path folder = OutputFolder(OutputBoardFile(doc, paths), paths.writableDir());
    {
        ProgressAfterDialog progress(host, ready_, Tr(kOutputting));
        done = HoleOutputCommand(
            doc.board, *settings, folder, holeChoices_,
            [&](HoleOutputChoices& c) {
                HoleOutputDialogModel m(doc.board, c);
                m.proposedSingleFile = proposed;
                return progress.after(runDialog(m));
            },
            report);
    }
    if (done) {
        keepModernOutput(holeChoices_.modern);
        showMessages(report.messages);
        showWrittenFiles(report.written, folder);
    } else {
        redraw();
    }
}

void Editor::gerberInput() {
    const auto settings = outputSettingsFile(kGerberInSettings);
    if (!settings) return;
    InputReport report;
    bool done;
    {
        ProgressAfterDialog progress(host, ready_, Tr(kInputting));
        done = GerberInputCommand(
            doc.board, &history, *settings,
            OutputFolder(OutputBoardFile(doc, paths), paths.writableDir()), inputChoices_,
            [&](GerberInputChoices& c) {
                GerberInputDialogModel m(doc.board, c);
                return progress.after(runDialog(m));
            },
            [&] {
                HoleDataDialogModel m;
                runDialog(m);
                return m.decimals();
            },
            report);
    }
    if (!done) {
        redraw();
        return;
    }
    doc.modified = true;
    // What was read is shown whole.
    command(Cmd::FitDrawing);
    redraw();
    if (report.skippedCommands > 0) {
        std::string text(TableText(kMsgSkippedCommands));
        const size_t at = text.find("%d");
        if (at != std::string::npos) text.replace(at, 2, std::to_string(report.skippedCommands));
        showMessages({{std::move(text), false}});
    }
}

// ------------------------------------------------------------------ netlists

void Editor::netlistOutput() {
    NetlistExport ex;
    longOperation(Tr(kChecking), true,
                  [&](ProgressMonitor& m) { ex = ExportNetlist(doc.board, &m); });
    showMessages(ex.messages);
    if (ex.status != NetlistExport::kOk) {
        redraw();
        return;
    }
    fs::path start = doc.path;
    start.replace_extension(".net");
    fs::path chosen;
    if (!host.chooseFileToSave({Tr("ネットリス"), "*.net"}, start, chosen)) return;
    if (!chosen.has_extension()) chosen.replace_extension(".net");
    if (!WriteFileAtomically(chosen, ex.text))
        host.message(TableText(kMsgCannotWriteOutput), MessageIcon::kError);
    redraw();
}

void Editor::netlistCompare() {
    if (Istr dup = DuplicateReference(doc.board)) {
        host.message(DuplicateReferenceMessage(dup).text);
        return;
    }
    fs::path chosen;
    if (!host.chooseFileToOpen({Tr("ネットリスト"), "*.net"}, paths.writableDir() / "zevo.net",
                               chosen))
        return;
    const std::optional<std::string> bytes = ReadWholeFile(chosen);
    NetlistRead read;
    if (bytes) read = ReadReferenceNetlist(*bytes);
    if (!read.ok()) {
        host.message(TableText(kMsgCannotReadNetlist));
        return;
    }
    NetlistComparison cmp;
    longOperation(Tr(kChecking), true,
                  [&](ProgressMonitor& m) { cmp = CompareNetlist(doc.board, read.nets, &m); });
    // Exchanged pins stay exchanged, even after Escape: the board changed.
    if (!cmp.exchanged.empty()) doc.modified = true;
    if (cmp.status == NetlistComparison::kOk && !cmp.report.empty()) {
        const fs::path report = paths.WriteTarget(kCompareReportFileName);
        if (WriteFileAtomically(report, cmp.report))
            host.openWithDesktop(report);
        else
            host.message(TableText(kMsgCannotWriteOutput), MessageIcon::kError);
    } else {
        showMessages(cmp.messages);
    }
    redraw();
}

void Editor::partCoordinates() {
    // The warnings found before the dialog are shown before it opens.
    const PartCoordsReport r = PartCoordinatesCommand(
        doc.board, OutputBoardFile(doc, paths), partCoords_,
        [&](PartCoordsSettings& s) {
            PartCoordsDialogModel m(doc.board, s);
            return runDialog(m);
        },
        [&](const OutputMessage& m) { showMessages({m}); });
    showMessages(r.messages);
}

// ------------------------------------------------------------------ design rule check

void Editor::drcCheck() {
    fs::path rules;
    if (!host.chooseFileToOpen({Tr("ＤＲＣファイル"), "*.drc"}, paths.ruleFile(), rules)) return;
    Board& b = doc.board;
    // The rules first: a file that checks nothing (unreadable, no "DrcDatas", no rule, a bad
    // rule or output layer) leaves the board and its old marks as they are.
    const std::optional<std::string> text = ReadWholeFile(rules);
    if (!text) return;
    const DrcRules read = ReadDrcRules(*text, b);
    if (read.status != DrcRulesStatus::kOk) {
        showMessages(DrcCommand(b, read).messages);
        return;
    }
    // The old marks and the new ones are one step of the history: undo brings the board back
    // to what it was before the check.
    UndoStep* step = history.BeginStep();
    EraseMarksRecorded(history, step, b.items);
    ListNode* lastBefore = b.items.prev;
    DrcReport report;
    longOperation(Tr(kChecking), true,
                  [&](ProgressMonitor& m) { report = DrcCommand(b, read, &m); });
    if (report.aborted && lastBefore->next == &b.items) {
        // Stopped before a mark was made (while the nets were built): nothing changes, the old
        // marks come back.
        history.RevertStep(step);
        redraw();
        return;
    }
    for (ListNode* n = lastBefore->next; n != &b.items; n = n->next)
        history.RecordAdded(step, AsElement(n));
    if (!step->empty()) doc.modified = true;
    history.CommitStep(step);
    showMessages(report.messages);
    redraw();
}

void Editor::drcErase() {
    UndoStep* step = history.BeginStep();
    EraseMarksRecorded(history, step, doc.board.items);
    if (!step->empty()) doc.modified = true;
    history.CommitStep(step);
    redraw();
}

// ------------------------------------------------------------------ the estimate program

bool Editor::answerEstimateRequest(const fs::path& parent) {
    DCodeTables codes = DCodeTables::Defaults();
    OutputReport report;
    const bool ok = WriteZevoNcSet(doc.board, parent, codes, report, options.modernOutput);
    showMessages(report.messages);
    return ok;
}

std::optional<std::string> Editor::estimateLine(std::string_view line, const fs::path& parent) {
    while (!line.empty() && (line.back() == '\r' || line.back() == '\n')) line.remove_suffix(1);
    if (line != kEstimateRequestLine) return std::nullopt;
    return EstimateReplyLine(answerEstimateRequest(parent));
}

void Editor::startEstimate() {
    if (host.estimateRunning()) return;
    if (!HasEstimateOutput(doc.board)) {
        host.message(TableText(kMsgNothingToOutput));
        return;
    }
    std::error_code ec;
    fs::path board = fs::absolute(doc.path, ec);
    if (ec) board = doc.path;
    const std::u8string path = board.u8string();
    const std::string_view pathText(reinterpret_cast<const char*>(path.data()), path.size());
    if (!host.startEstimate(
            EstimateArgumentString(host.estimateChannel(), EstimateFacts(doc.board), pathText)))
        host.beep();
}

}  // namespace zevo
