// The grid dialog over GridDialogModel.
#pragma once

#include "shell/qt/dialogs/dialog_support.h"

class QLineEdit;

namespace zevo {

class GridDialogModel;

class GridDialog : public NumericDialog {
    Q_OBJECT
  public:
    GridDialog(GridDialogModel& model, QWidget* parent = nullptr, bool keypad = false);

  private:
    void set();
    QLineEdit* field(int id) const;

    GridDialogModel& model_;
    QLineEdit* spacing_;
    QLineEdit* originX_;
    QLineEdit* originY_;
    QLineEdit* interval_;
};

}  // namespace zevo
