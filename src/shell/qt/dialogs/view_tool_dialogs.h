// The windows of the coordinate display's dialogs.
#pragma once

class QWidget;

namespace zevo {

class CoordinateDisplayModel;
class CoordinateReferenceModel;

// "座標表示": the four read-only figures and 了解.
bool RunCoordinateDisplayDialog(QWidget* parent, CoordinateDisplayModel& model);
// "基準座標設定": two radio buttons, 決定 and 取消; true when 決定 took the choice.
bool RunCoordinateReferenceDialog(QWidget* parent, CoordinateReferenceModel& model);

}  // namespace zevo
