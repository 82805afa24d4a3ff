// The print dialog and the print layer dialog over their models.
#pragma once

class QWidget;

namespace zevo {

class PrintDialogModel;
class PrintLayerDialogModel;

// True when 印刷 took the fields (the model's options are filled in).
bool RunPrintDialog(QWidget* parent, PrintDialogModel& model, bool keypad = false);
// True when OK was pressed; the model's lists are what the user left.
bool RunPrintLayerDialog(QWidget* parent, PrintLayerDialogModel& model);

}  // namespace zevo
