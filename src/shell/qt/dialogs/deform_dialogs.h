// The windows of the deform tool's dialogs over their models (tools/deform_dialogs.h). Controls
// carry object names after their control ids: "radio101"/"radio102" the two ways, "check103"
// "任意角の回転", "edit101" the field, "button1" 決定, "button2" 取消.
#pragma once

class QWidget;

namespace zevo {

class SelectMethodModel;
class DeformMethodModel;
class RotationAngleModel;
class ArcDeformModel;

// "選択方法設定" and "変形方法設定": true when 決定 took the choices.
bool RunSelectMethodDialog(QWidget* parent, SelectMethodModel& model);
bool RunDeformMethodDialog(QWidget* parent, DeformMethodModel& model);
// "回転角 設定" and "円弧変形入力": true when 決定 read the field.
bool RunRotationAngleDialog(QWidget* parent, RotationAngleModel& model, bool keypad = false);
bool RunArcDeformDialog(QWidget* parent, ArcDeformModel& model, bool keypad = false);

}  // namespace zevo
