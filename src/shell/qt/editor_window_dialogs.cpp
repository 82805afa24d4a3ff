#include "shell/qt/editor_window.h"

namespace zevo {

void EditorWindow::runApertureDialog(ApertureDialogModel&) {}
void EditorWindow::runPadDialog(PadDialogModel&) {}
void EditorWindow::runLayerDialog(LayerDialogModel&) {}
void EditorWindow::runSwapDialog(SwapDialogModel&) {}
bool EditorWindow::runGridDialog(GridDialogModel&) { return false; }
void EditorWindow::runBoardSizeDialog(BoardSizeDialogModel&) {}

}  // namespace zevo
