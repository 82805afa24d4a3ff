// The windows of the change tool's dialogs over their models (tools/change_dialogs.h). Controls
// carry object names after their control ids: "edit<id>" the numeric and text fields of the
// models, "combo201" the layer, "combo202" the aperture, "edit301" the reference, "check302"
// 文字列挿入, "check303" 部品面反転, "edit401" the pin name, "radio501"/"radio502" the settings'
// choices, "button1" 決定, "button2" 取消.
#pragma once

class QWidget;

namespace zevo {

class ElementChangeModel;
class RectChangeModel;
class ArcChangeModel;
class TextChangeModel;
class PartChangeModel;
class PinChangeModel;
class DottedLineModel;
class ChangeSettingsModel;

// "変更": true when 決定 took the layer (and aperture).
bool RunElementChangeDialog(QWidget* parent, ElementChangeModel& model);
// The dialogs with numeric fields decide through their models (`decided()`).
void RunRectChangeDialog(QWidget* parent, RectChangeModel& model, bool keypad);
void RunArcChangeDialog(QWidget* parent, ArcChangeModel& model, bool keypad);
void RunTextChangeDialog(QWidget* parent, TextChangeModel& model, bool keypad);
void RunPinChangeDialog(QWidget* parent, PinChangeModel& model, bool keypad);
void RunDottedLineDialog(QWidget* parent, DottedLineModel& model, bool keypad);
// "部品変更" and "変更 設定": true when 決定 took the values.
bool RunPartChangeDialog(QWidget* parent, PartChangeModel& model);
bool RunChangeSettingsDialog(QWidget* parent, ChangeSettingsModel& model);

}  // namespace zevo
