// The window of the fill tool's settings over its model (tools/fill_tool.h). Controls carry
// object names after their control ids: "radio101".."radio103" the choices, "button1" 決定,
// "button2" 取消.
#pragma once

class QWidget;

namespace zevo {

class FillSettingsModel;

// "塗潰し／解除／窓抜き 設定": true when 決定 took the choice.
bool RunFillSettingsDialog(QWidget* parent, FillSettingsModel& model);

}  // namespace zevo
