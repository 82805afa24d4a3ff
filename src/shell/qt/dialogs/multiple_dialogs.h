// The windows of the multiple tool's dialogs over their models (tools/multiple_dialogs.h).
// Controls carry object names after their control ids: "radio101"/"radio102" the two ways of
// "複数 設定"; "button101".."button104" 結合, 分解, 部品登録, 部品面反転 of "グループ設定";
// "button1" 決定, "button2" 取消; "部品登録" has "combo101" the library, "edit102" 部品名 and
// "edit103" アトリビュート; "部品入力" has "combo101" the library, "list102" the parts and
// "check103" 部品入力面反転; "部品削除" has "combo101" the library and "list102" the parts.
#pragma once

class QWidget;

namespace zevo {

class MultipleSettingsModel;
class GroupSettingsModel;
class PartRegisterModel;
class PartInsertModel;
class PartDeleteModel;

// "複数 設定": true when 決定 took the choice.
bool RunMultipleSettingsDialog(QWidget* parent, MultipleSettingsModel& model);
// "グループ設定": true when one of the four operations was chosen.
bool RunGroupSettingsDialog(QWidget* parent, GroupSettingsModel& model);
// "部品登録": true when 決定 took the library, the name and the attribute.
bool RunPartRegisterDialog(QWidget* parent, PartRegisterModel& model);
// "部品入力": true when 決定 took a part.
bool RunPartInsertDialog(QWidget* parent, PartInsertModel& model);
// "部品削除": true when 決定 took a part.
bool RunPartDeleteDialog(QWidget* parent, PartDeleteModel& model);

}  // namespace zevo
