// The aperture dialog over ApertureDialogModel.
#pragma once

#include "shell/qt/dialogs/dialog_support.h"

class QComboBox;
class QLineEdit;

namespace zevo {

class ApertureDialogModel;

class ApertureDialog : public NumericDialog {
    Q_OBJECT
  public:
    ApertureDialog(ApertureDialogModel& model, QWidget* parent = nullptr, bool keypad = false);

  private:
    void refresh();
    void change();

    ApertureDialogModel& model_;
    QComboBox* number_;
    QLineEdit* size_;
};

}  // namespace zevo
