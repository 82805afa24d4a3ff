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

void Editor::runDefinitionDialog(int id) {
    Board& b = doc.board;
    bool changed = false;
    switch (id) {
        case 157: {  // grid
            GridDialogModel m(b, &view);
            if (host.runGridDialog(m)) {
                view.TakeBoardGrid(b);
                doc.modified = true;
                redraw();
            }
            return;
        }
        case 194: {  // board size of a new document
            BoardSizeDialogModel m(b);
            host.runBoardSizeDialog(m);
            // A size other than the one typed is not taken silently.
            if (!m.adjustment().empty()) host.message(m.adjustment());
            view.SetBoardSize(b.sizeX, b.sizeY);
            return;
        }
        case 440:
        case 441: {
            const bool round = id == 440;
            ApertureDialogModel m(b, round ? ApertureTable::kRound : ApertureTable::kSquare,
                                  round ? drawing.roundLandAperture : drawing.squareLandAperture);
            host.runApertureDialog(m);
            changed = m.changed();
            break;
        }
        case 442: {
            PadDialogModel m(b);
            host.runPadDialog(m);
            changed = m.changed();
            // Clean-up renumbers the definitions: keep the current pad inside the list.
            if (drawing.padNumber >= int(b.padDefs.size()))
                drawing.padNumber = b.padDefs.empty() ? 0 : int(b.padDefs.size()) - 1;
            break;
        }
        case 443: {
            LayerDialogModel m(b);
            host.runLayerDialog(m);
            changed = m.changed();
            break;
        }
        case 445: {
            SwapDialogModel m(b);
            host.runSwapDialog(m);
            changed = m.changed();
            break;
        }
        default: return;
    }
    if (changed) {
        doc.modified = true;
        host.definitionItemsChanged();
        redraw();
    }
}

}  // namespace zevo
