// The settings dialogs of the manufacturing commands, each a modal Qt dialog over its Qt-free
// model (src/shell/dialogs/). The editor's host builds the model over the board and the
// command's choices, runs the dialog, and the model has put the user's choices into them when
// the Run function returns true.
#pragma once

#include <filesystem>

class QWidget;

namespace zevo {

class GerberOutputDialogModel;
class GerberInputDialogModel;
class HoleOutputDialogModel;
class HoleDataDialogModel;
class PartCoordsDialogModel;
class DCodeDialogModel;
class TCodeDialogModel;

// "ガーバー出力設定": true when 出力 took the choices, false for 取消 or closing.
bool RunGerberOutputDialog(QWidget* parent, GerberOutputDialogModel& model);
// "ガーバー入力設定": true when 入力 took the choices.
bool RunGerberInputDialog(QWidget* parent, GerberInputDialogModel& model);
// "ホール出力設定": true when 出力 took the choices. With 一ファイル出力 a save chooser starting
// at `proposedSingleFile` asks for the file first; cancelling it cancels (false).
bool RunHoleOutputDialog(QWidget* parent, HoleOutputDialogModel& model,
                         const std::filesystem::path& proposedSingleFile);
// "ホールデータ設定": the decimals of a drill program (model.decimals() afterwards, 3 unless
// 決定 took another value).
int RunHoleDataDialog(QWidget* parent, HoleDataDialogModel& model);
// "部品座標出力設定": true when 出力 took the settings. 参照 opens a save chooser.
bool RunPartCoordsDialog(QWidget* parent, PartCoordsDialogModel& model);

// The code dialogs the settings dialogs open (the tables are those of their models).
void RunDCodeDialog(QWidget* parent, DCodeDialogModel& model);
void RunTCodeDialog(QWidget* parent, TCodeDialogModel& model);

}  // namespace zevo
