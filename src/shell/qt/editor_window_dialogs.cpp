// The definition dialogs of the Qt host: the windows over the editor's models.
#include "shell/dialogs/gerber_input_dialog.h"
#include "shell/dialogs/gerber_output_dialog.h"
#include "shell/dialogs/hole_data_dialog.h"
#include "shell/dialogs/hole_output_dialog.h"
#include "shell/dialogs/part_coords_dialog.h"
#include "shell/qt/dialogs/dialogs.h"
#include "shell/qt/dialogs/output_dialogs.h"
#include "shell/qt/editor_window.h"

namespace zevo {

void EditorWindow::runApertureDialog(ApertureDialogModel& m) {
    RunApertureDialog(this, m, editor_->options.digitInDlg);
}
void EditorWindow::runPadDialog(PadDialogModel& m) { RunPadDialog(this, m); }
void EditorWindow::runLayerDialog(LayerDialogModel& m) { RunLayerDialog(this, m); }
void EditorWindow::runSwapDialog(SwapDialogModel& m) { RunSwapDialog(this, m); }
bool EditorWindow::runGridDialog(GridDialogModel& m) {
    return RunGridDialog(this, m, editor_->options.digitInDlg);
}
void EditorWindow::runBoardSizeDialog(BoardSizeDialogModel& m) {
    RunBoardSizeDialog(this, m, editor_->options.digitInDlg);
}

bool EditorWindow::runGerberOutputDialog(const Board& b, GerberOutputChoices& c) {
    GerberOutputDialogModel m(b, c);
    return RunGerberOutputDialog(this, m);
}
bool EditorWindow::runHoleOutputDialog(const Board& b, HoleOutputChoices& c,
                                       const fs::path& proposed) {
    HoleOutputDialogModel m(b, c);
    return RunHoleOutputDialog(this, m, proposed);
}
bool EditorWindow::runGerberInputDialog(const Board& b, GerberInputChoices& c) {
    GerberInputDialogModel m(b, c);
    return RunGerberInputDialog(this, m);
}
int EditorWindow::askDrillDecimals() {
    HoleDataDialogModel m;
    return RunHoleDataDialog(this, m);
}
bool EditorWindow::runPartCoordsDialog(const Board& b, PartCoordsSettings& s) {
    PartCoordsDialogModel m(b, s);
    return RunPartCoordsDialog(this, m);
}

}  // namespace zevo
