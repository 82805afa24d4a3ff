// The dialogs of the Qt host: one registration per model type, each naming the window that shows
// that model. A dialog the core asks for without a registered window is refused with a beep.
#include "shell/dialogs/aperture_dialog.h"
#include "shell/dialogs/board_size_dialog.h"
#include "shell/dialogs/gerber_input_dialog.h"
#include "shell/dialogs/gerber_output_dialog.h"
#include "shell/dialogs/grid_dialog.h"
#include "shell/dialogs/hole_data_dialog.h"
#include "shell/dialogs/hole_output_dialog.h"
#include "shell/dialogs/layer_dialog.h"
#include "shell/dialogs/library_dialog.h"
#include "shell/dialogs/pad_dialog.h"
#include "shell/dialogs/part_coords_dialog.h"
#include "shell/dialogs/print_dialog.h"
#include "shell/dialogs/swap_dialog.h"
#include "shell/qt/dialogs/change_dialogs.h"
#include "shell/qt/dialogs/deform_dialogs.h"
#include "shell/qt/dialogs/dialogs.h"
#include "shell/qt/dialogs/drawing_dialogs.h"
#include "shell/qt/dialogs/fill_tool_dialogs.h"
#include "shell/qt/dialogs/library_dialog.h"
#include "shell/qt/dialogs/line_tool_dialogs.h"
#include "shell/qt/dialogs/multiple_dialogs.h"
#include "shell/qt/dialogs/output_dialogs.h"
#include "shell/qt/dialogs/print_dialogs.h"
#include "shell/qt/dialogs/view_tool_dialogs.h"
#include "shell/qt/editor_window.h"
#include "tools/change_tool.h"
#include "tools/deform_dialogs.h"
#include "tools/delete_tool.h"
#include "tools/display_tools.h"
#include "tools/drawing_dialogs.h"
#include "tools/fill_tool.h"
#include "tools/line_tools.h"
#include "tools/measure_tool.h"
#include "tools/multiple_dialogs.h"

namespace zevo {

void EditorWindow::registerDialogs() {
    // The definition and settings dialogs.
    addDialog<ApertureDialogModel>(
        [this](auto& m) { return RunApertureDialog(this, m, m.keypad), true; });
    addDialog<PadDialogModel>([this](auto& m) { return RunPadDialog(this, m), true; });
    addDialog<LayerDialogModel>([this](auto& m) { return RunLayerDialog(this, m), true; });
    addDialog<SwapDialogModel>([this](auto& m) { return RunSwapDialog(this, m), true; });
    addDialog<LibrarySettingsModel>([this](auto& m) { return RunLibraryDialog(this, m), true; });
    addDialog<GridDialogModel>([this](auto& m) { return RunGridDialog(this, m, m.keypad); });
    addDialog<BoardSizeDialogModel>(
        [this](auto& m) { return RunBoardSizeDialog(this, m, m.keypad), true; });
    // The manufacturing commands.
    addDialog<GerberOutputDialogModel>([this](auto& m) { return RunGerberOutputDialog(this, m); });
    addDialog<HoleOutputDialogModel>(
        [this](auto& m) { return RunHoleOutputDialog(this, m, m.proposedSingleFile); });
    addDialog<GerberInputDialogModel>([this](auto& m) { return RunGerberInputDialog(this, m); });
    addDialog<HoleDataDialogModel>([this](auto& m) { return RunHoleDataDialog(this, m), true; });
    addDialog<PartCoordsDialogModel>([this](auto& m) { return RunPartCoordsDialog(this, m); });
    // Printing.
    addDialog<PrintDialogModel>([this](auto& m) { return RunPrintDialog(this, m, m.keypad); });
    addDialog<PrintLayerDialogModel>([this](auto& m) { return RunPrintLayerDialog(this, m); });
    // The drawing tools.
    addDialog<LayerSelectModel>(
        [this](auto& m) { return RunLayerSelectDialog(this, m), m.chosen(); });
    addDialog<ApertureSelectModel>(
        [this](auto& m) { return RunApertureSelectDialog(this, m, m.keypad), true; });
    addDialog<PadSelectModel>(
        [this](auto& m) { return RunPadSelectDialog(this, m), m.accepted(); });
    addDialog<ArcDialogModel>(
        [this](auto& m) { return RunArcDialog(this, m, m.keypad), m.decided(); });
    addDialog<TextDialogModel>(
        [this](auto& m) { return RunTextDialog(this, m, m.keypad), m.decided(); });
    addDialog<SpacingResultModel>([this](auto& m) { return RunSpacingResultDialog(this, m); });
    addDialog<DeleteSettingsModel>([this](auto& m) { return RunDeleteSettingsDialog(this, m); });
    addDialog<CoordinateDisplayModel>(
        [this](auto& m) { return RunCoordinateDisplayDialog(this, m); });
    addDialog<CoordinateReferenceModel>(
        [this](auto& m) { return RunCoordinateReferenceDialog(this, m); });
    // The deform tool.
    addDialog<SelectMethodModel>([this](auto& m) { return RunSelectMethodDialog(this, m); });
    addDialog<DeformMethodModel>([this](auto& m) { return RunDeformMethodDialog(this, m); });
    addDialog<RotationAngleModel>(
        [this](auto& m) { return RunRotationAngleDialog(this, m, m.keypad); });
    addDialog<ArcDeformModel>([this](auto& m) { return RunArcDeformDialog(this, m, m.keypad); });
    addDialog<NumericInputModel>([this](auto& m) {
        return RunNumericInputDialog(this, m, m.keypad), m.point().has_value();
    });
    // The line editing tools.
    addDialog<ParallelSettingsModel>(
        [this](auto& m) { return RunParallelSettingsDialog(this, m); });
    addDialog<LineSetInputModel>(
        [this](auto& m) { return RunLineSetInputDialog(this, m, m.keypad); });
    addDialog<ConnectSettingsModel>([this](auto& m) { return RunConnectSettingsDialog(this, m); });
    addDialog<FillSettingsModel>([this](auto& m) { return RunFillSettingsDialog(this, m); });
    addDialog<ChamferRadiusModel>(
        [this](auto& m) { return RunChamferRadiusDialog(this, m, m.keypad); });
    // The multiple tool.
    addDialog<MultipleSettingsModel>(
        [this](auto& m) { return RunMultipleSettingsDialog(this, m); });
    addDialog<GroupSettingsModel>([this](auto& m) { return RunGroupSettingsDialog(this, m); });
    addDialog<PartRegisterModel>([this](auto& m) { return RunPartRegisterDialog(this, m); });
    addDialog<PartInsertModel>([this](auto& m) { return RunPartInsertDialog(this, m); });
    // The change tool.
    addDialog<ElementChangeModel>([this](auto& m) { return RunElementChangeDialog(this, m); });
    addDialog<RectChangeModel>(
        [this](auto& m) { return RunRectChangeDialog(this, m, m.keypad), m.decided(); });
    addDialog<ArcChangeModel>(
        [this](auto& m) { return RunArcChangeDialog(this, m, m.keypad), m.decided(); });
    addDialog<TextChangeModel>(
        [this](auto& m) { return RunTextChangeDialog(this, m, m.keypad), m.decided(); });
    addDialog<PartChangeModel>([this](auto& m) { return RunPartChangeDialog(this, m); });
    addDialog<PinChangeModel>(
        [this](auto& m) { return RunPinChangeDialog(this, m, m.keypad), m.decided(); });
    addDialog<DottedLineModel>(
        [this](auto& m) { return RunDottedLineDialog(this, m, m.keypad), m.decided(); });
    addDialog<ChangeSettingsModel>([this](auto& m) { return RunChangeSettingsDialog(this, m); });
    addDialog<PartDeleteModel>([this](auto& m) { return RunPartDeleteDialog(this, m); });
}

bool EditorWindow::run(DialogModel& dialog) {
    const auto it = dialogs_.find(std::type_index(typeid(dialog)));
    if (it == dialogs_.end()) {
        beep();
        return false;
    }
    const bool took = it->second(dialog);
    dialog.windowClosed();
    return took;
}

}  // namespace zevo
