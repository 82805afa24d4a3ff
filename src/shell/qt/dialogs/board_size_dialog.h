// The board size dialog over BoardSizeDialogModel. It is left only through 決定.
#pragma once

#include "shell/qt/dialogs/dialog_support.h"

class QLineEdit;

namespace zevo {

class BoardSizeDialogModel;

class BoardSizeDialog : public NumericDialog {
    Q_OBJECT
  public:
    BoardSizeDialog(BoardSizeDialogModel& model, QWidget* parent = nullptr, bool keypad = false);
    // Escape and the window's close do nothing.
    void reject() override {}

  protected:
    void closeEvent(QCloseEvent* e) override;

  private:
    void decide();

    BoardSizeDialogModel& model_;
    QLineEdit* x_;
    QLineEdit* y_;
};

}  // namespace zevo
