// The definition and settings dialogs of the board editor, each a modal Qt dialog over its
// Qt-free model (src/shell/dialogs/). The editor's host builds the model over its board, runs the
// dialog and reads what it needs from the model afterwards (`changed()`, the board itself).
#pragma once

class QWidget;

namespace zevo {

class ApertureDialogModel;
class PadDialogModel;
class LayerDialogModel;
class SwapDialogModel;
class GridDialogModel;
class BoardSizeDialogModel;

// `keypad`: the numeric key pad opens beside the dialog (the numeric input window option).

// Aperture sizes of the round or the square table (the model was opened on one of them).
void RunApertureDialog(QWidget* parent, ApertureDialogModel& model, bool keypad = false);
// The pad definition list; closing drops definitions without pairs.
void RunPadDialog(QWidget* parent, PadDialogModel& model);
// Layer names, colours, display and edit switches.
void RunLayerDialog(QWidget* parent, LayerDialogModel& model);
// The colour chooser of the layer dialog: the chosen colour index 0..15, or -1 when closed.
int RunColourChooser(QWidget* parent, int current);
// The layer swap pairs.
void RunSwapDialog(QWidget* parent, SwapDialogModel& model);
// Grid spacing, origin and display interval; true when 設定 stored them (redraw).
bool RunGridDialog(QWidget* parent, GridDialogModel& model, bool keypad = false);
// The board size of a new document; returns only through 決定.
void RunBoardSizeDialog(QWidget* parent, BoardSizeDialogModel& model, bool keypad = false);

}  // namespace zevo
