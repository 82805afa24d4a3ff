// The definition dialogs as the editor opens them: a model over the document, the window from
// the host, then what the change means for the document and the view.
#include "shell/dialogs/aperture_dialog.h"
#include "shell/dialogs/board_size_dialog.h"
#include "shell/dialogs/grid_dialog.h"
#include "shell/dialogs/layer_dialog.h"
#include "shell/dialogs/pad_dialog.h"
#include "shell/dialogs/swap_dialog.h"
#include "shell/editor.h"

namespace zevo {

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
