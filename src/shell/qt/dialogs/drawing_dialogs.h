// The windows of the drawing tools' dialogs over their models (tools/drawing_dialogs.h). Controls
// carry object names after their control ids: "list101" the list, "edit101".. the fields,
// "check1xx" / "radio1xx" the switches, "button1" 決定, "button2" 取消, "button103" 相対,
// "button104" 原点, "button105" 絶対, "button106" <<, "button107" >>.
#pragma once

#include "tools/drawing_dialogs.h"

class QDialog;
class QWidget;

namespace zevo {

class LayerSelectModel;
class ApertureSelectModel;
class PadSelectModel;
class ArcDialogModel;
class TextDialogModel;
class NumericInputModel;
class DeleteSettingsModel;
class SpacingResultModel;

void RunLayerSelectDialog(QWidget* parent, LayerSelectModel& model);
void RunApertureSelectDialog(QWidget* parent, ApertureSelectModel& model, bool keypad = false);
void RunPadSelectDialog(QWidget* parent, PadSelectModel& model);
// "間隔表示": the three figures of the spacing measurement, closed with 了解.
bool RunSpacingResultDialog(QWidget* parent, SpacingResultModel& model);
// "削除設定": true when 決定 took the switch.
bool RunDeleteSettingsDialog(QWidget* parent, DeleteSettingsModel& model);
void RunArcDialog(QWidget* parent, ArcDialogModel& model, bool keypad = false);
void RunTextDialog(QWidget* parent, TextDialogModel& model, bool keypad = false);
void RunNumericInputDialog(QWidget* parent, NumericInputModel& model, bool keypad = false);
// What 決定 of a text dialog does with the model's verdict: closes the window, marks the field
// that does not evaluate, warns of missing glyphs or beeps.
void AnswerTextDecision(QDialog& d, const TextDialogModel::Result& r);

}  // namespace zevo
