// The drawing tools' dialogs of the Qt host: the windows over the tools' models.
#include "shell/qt/dialogs/drawing_dialogs.h"
#include "shell/qt/editor_window.h"
#include "tools/drawing_dialogs.h"

namespace zevo {

void EditorWindow::runLayerSelectDialog(LayerSelectModel& m) { RunLayerSelectDialog(this, m); }
void EditorWindow::runApertureSelectDialog(ApertureSelectModel& m) {
    RunApertureSelectDialog(this, m, editor_->options.digitInDlg);
}
void EditorWindow::runPadSelectDialog(PadSelectModel& m) { RunPadSelectDialog(this, m); }
void EditorWindow::runArcDialog(ArcDialogModel& m) {
    RunArcDialog(this, m, editor_->options.digitInDlg);
}
void EditorWindow::runTextDialog(TextDialogModel& m) {
    RunTextDialog(this, m, editor_->options.digitInDlg);
}
void EditorWindow::runNumericInputDialog(NumericInputModel& m, bool keypad) {
    RunNumericInputDialog(this, m, keypad);
}

}  // namespace zevo
