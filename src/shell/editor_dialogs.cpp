// The definition dialogs as the editor opens them: a model over the document, the window from
// the host, then what the change means for the document and the view.
#include <algorithm>
#include <system_error>

#include "board/file/library.h"
#include "board/file/settings_document.h"
#include "shell/dialogs/aperture_dialog.h"
#include "shell/dialogs/board_size_dialog.h"
#include "shell/dialogs/grid_dialog.h"
#include "shell/dialogs/layer_dialog.h"
#include "shell/dialogs/library_dialog.h"
#include "shell/dialogs/pad_dialog.h"
#include "shell/dialogs/swap_dialog.h"
#include "shell/editor.h"
#include "text/cp932.h"
#include "text/strings.h"
#include "tools/multiple_dialogs.h"

namespace zevo {

namespace {

// The library files ("*.lib", any case) of the program's folders as list entries, sorted; a name
// the list cannot hold (no Shift-JIS form, too long) is left out.
std::vector<std::string> FoundLibraries(const Paths& paths) {
    std::vector<std::string> found;
    for (const fs::path& dir : paths.libraryDirs()) {
        std::error_code ec;
        for (fs::directory_iterator it(dir, ec), end; !ec && it != end; it.increment(ec)) {
            if (!it->is_regular_file(ec)) continue;
            const std::u8string u8 = it->path().filename().u8string();
            const std::string utf8(u8.begin(), u8.end());
            if (utf8.size() < 5 || !SameLibraryEntry(utf8.substr(utf8.size() - 4), ".lib"))
                continue;
            size_t replaced = 0;
            std::string entry = Utf8ToCp932(utf8, &replaced);
            if (replaced || entry.size() > size_t(kMaxLibraryPath)) continue;
            const auto same = [&entry](const std::string& f) { return SameLibraryEntry(f, entry); };
            if (std::none_of(found.begin(), found.end(), same)) found.push_back(std::move(entry));
        }
    }
    std::sort(found.begin(), found.end());
    return found;
}

}  // namespace

void Editor::runLibrarySettings() {
    LibrarySettingsModel m(LibrariesInUse(doc.board), FoundLibraries(paths));
    runDialog(m);
    if (!m.changed()) return;
    doc.board.libraryFiles = m.used();
    // The list is the settings file's: every document starts from it, so it is kept there now.
    int message = 0;
    if (!WriteLibraryFiles(paths.settingsFile(), doc.board, &message) && message)
        host.message(TableText(message));
}

void Editor::runPartDelete() {
    PartDeleteModel m(LibrariesInUse(doc.board), [this](const std::string& library) {
        return ListParts(paths.ResolveLibrary(library)).value_or(std::vector<std::string>{});
    });
    if (!runDialog(m) || m.entry.empty()) return;
    const std::string* library = m.chosenLibrary();
    if (!library) return;
    const PartKey key = SplitPartEntry(m.entry);
    const std::optional<fs::path> target = paths.LibraryWriteTarget(*library);
    const LibraryResult r =
        target ? DeletePart(*target, key.attribute, key.name) : LibraryResult::kCannotWrite;
    switch (r) {
        case LibraryResult::kDone:
            return;
        case LibraryResult::kCannotWrite:
            host.message(TableText(kMsgLibraryNotWritten));
            return;
        default:
            host.beep();  // the part is no longer there
            return;
    }
}

void Editor::runGridDialog() {
    GridDialogModel m(doc.board, &view);
    if (runDialog(m)) {
        view.TakeBoardGrid(doc.board);
        doc.modified = true;
        redraw();
    }
}

void Editor::runBoardSizeDialog() {
    BoardSizeDialogModel m(doc.board);
    runDialog(m);
    // A size other than the one typed is not taken silently.
    if (!m.adjustment().empty()) host.message(m.adjustment());
    view.SetBoardSize(doc.board.sizeX, doc.board.sizeY);
}

void Editor::runDefinitionDialog(Cmd id) {
    Board& b = doc.board;
    bool changed = false;
    switch (id) {
        case Cmd::RoundApertures:
        case Cmd::SquareApertures: {
            const bool round = id == Cmd::RoundApertures;
            ApertureDialogModel m(b, round ? ApertureTable::kRound : ApertureTable::kSquare,
                                  round ? drawing.roundLandAperture : drawing.squareLandAperture);
            runDialog(m);
            changed = m.changed();
            break;
        }
        case Cmd::Pads: {
            PadDialogModel m(b);
            runDialog(m);
            changed = m.changed();
            // Clean-up renumbers the definitions: keep the current pad inside the list.
            if (drawing.padNumber >= int(b.padDefs.size()))
                drawing.padNumber = b.padDefs.empty() ? 0 : int(b.padDefs.size()) - 1;
            break;
        }
        case Cmd::Layers: {
            LayerDialogModel m(b);
            runDialog(m);
            changed = m.changed();
            break;
        }
        case Cmd::SwapPairs: {
            SwapDialogModel m(b);
            runDialog(m);
            changed = m.changed();
            break;
        }
        default:
            return;
    }
    if (changed) {
        doc.modified = true;
        host.definitionItemsChanged();
        redraw();
    }
}

}  // namespace zevo
