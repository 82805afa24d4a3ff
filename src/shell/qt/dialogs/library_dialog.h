// "ライブラリ設定" over LibrarySettingsModel: "list101" 使用ライブラリ, "list102" ライブラリ一覧,
// "button103" <<, "button104" >>, "button2" 終了.
#pragma once

#include "shell/qt/dialogs/dialog_support.h"

class QListWidget;

namespace zevo {

class LibrarySettingsModel;

class LibraryDialog : public QDialog {
    Q_OBJECT
  public:
    explicit LibraryDialog(LibrarySettingsModel& model, QWidget* parent = nullptr);

  private:
    void refresh();

    LibrarySettingsModel& model_;
    QListWidget* used_;
    QListWidget* all_;
};

void RunLibraryDialog(QWidget* parent, LibrarySettingsModel& model);

}  // namespace zevo
