// The layer swap pair dialog over SwapDialogModel.
#pragma once

#include "shell/qt/dialogs/dialog_support.h"

class QComboBox;
class QListWidget;

namespace zevo {

class SwapDialogModel;

class SwapDialog : public QDialog {
    Q_OBJECT
  public:
    SwapDialog(SwapDialogModel& model, QWidget* parent = nullptr);

  private:
    void refreshList();

    SwapDialogModel& model_;
    QListWidget* list_;
    QComboBox* layer1_;
    QComboBox* layer2_;
};

}  // namespace zevo
