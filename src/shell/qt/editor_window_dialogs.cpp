// The definition dialogs of the Qt host: the windows over the editor's models.
#include "shell/qt/dialogs/dialogs.h"
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

// The manufacturing dialogs come with their windows; until then the commands stay greyed.
bool EditorWindow::runGerberOutputDialog(const Board&, GerberOutputChoices&) { return false; }
bool EditorWindow::runHoleOutputDialog(const Board&, HoleOutputChoices&, const fs::path&) {
    return false;
}
bool EditorWindow::runGerberInputDialog(const Board&, GerberInputChoices&) { return false; }
int EditorWindow::askDrillDecimals() { return 3; }
bool EditorWindow::runPartCoordsDialog(const Board&, PartCoordsSettings&) { return false; }

}  // namespace zevo
