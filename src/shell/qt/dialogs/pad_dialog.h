// The pad dialog over PadDialogModel.
#pragma once

#include "shell/qt/dialogs/dialog_support.h"

class QComboBox;
class QLabel;
class QListWidget;

namespace zevo {

class PadDialogModel;

class PadDialog : public QDialog {
    Q_OBJECT
  public:
    PadDialog(PadDialogModel& model, QWidget* parent = nullptr);
    // Every way out (終了, Escape, the window's close) ends in here.
    void done(int r) override;

  private:
    void refresh();

    PadDialogModel& model_;
    QListWidget* list_;
    QComboBox* aperture_;
    QComboBox* layer_;
    QLabel* number_;
};

}  // namespace zevo
