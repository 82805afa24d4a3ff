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

}  // namespace zevo
