// The windows of the parallel / middle line tool's and the connect tool's dialogs over their
// models (tools/line_tools.h). Controls carry object names after their control ids: "list101"
// the apertures, "radio1xx" the choices, "edit101".. the fields, "button1" 決定, "button2" 取消.
#pragma once

class QWidget;

namespace zevo {

class ParallelSettingsModel;
class LineSetInputModel;
class ConnectSettingsModel;
class ChamferRadiusModel;

// "平行線設定": true when 決定 took the choices.
bool RunParallelSettingsDialog(QWidget* parent, ParallelSettingsModel& model);
// "平行線／中間線入力": true when 決定 took the values.
bool RunLineSetInputDialog(QWidget* parent, LineSetInputModel& model, bool keypad = false);
// "接続／伸縮／分割／角取 設定": true when 決定 took the choice.
bool RunConnectSettingsDialog(QWidget* parent, ConnectSettingsModel& model);
// "間隔入力": true when 決定 took the radius.
bool RunChamferRadiusDialog(QWidget* parent, ChamferRadiusModel& model, bool keypad = false);

}  // namespace zevo
