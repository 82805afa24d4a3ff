// The numeric key pad: a small tool window beside a dialog whose keys type into the dialog's
// line edit that last had the focus.
#pragma once

#include <QLineEdit>
#include <QPointer>
#include <QWidget>

namespace zevo {

class NumericKeypad : public QWidget {
    Q_OBJECT
  public:
    // The pad belongs to `owner` and types into the owner's line edits only.
    explicit NumericKeypad(QWidget* owner);
    // The field the keys type into.
    QLineEdit* target() const { return target_; }
    // Presses key `id` (100..118).
    void pressKey(int id);

  private:
    void focusMoved(QWidget* old, QWidget* now);

    QWidget* owner_;
    QPointer<QLineEdit> target_;
};

}  // namespace zevo
