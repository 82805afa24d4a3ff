#include "shell/qt/dialogs/numeric_keypad.h"

#include <QApplication>
#include <QGridLayout>
#include <QLineEdit>
#include <QToolButton>

#include "shell/dialogs/keypad.h"
#include "shell/qt/dialogs/dialog_support.h"

namespace zevo {

NumericKeypad::NumericKeypad(QWidget* owner)
    : QWidget(owner, Qt::Tool | Qt::WindowDoesNotAcceptFocus), owner_(owner) {
    setObjectName("keypad149");
    setWindowTitle(UiText(kKeypadTitle));
    setAttribute(Qt::WA_ShowWithoutActivating);
    auto* grid = new QGridLayout(this);
    grid->setSpacing(2);
    // 7 8 9 / 4 5 6 / 1 2 3 / 0 . e, with the operators in the columns beside them.
    struct Place {
        int id, row, column;
    };
    static constexpr Place kPlaces[] = {
        {107, 0, 0}, {108, 0, 1}, {109, 0, 2}, {114, 0, 3}, {118, 0, 4},  //
        {104, 1, 0}, {105, 1, 1}, {106, 1, 2}, {113, 1, 3}, {115, 1, 4},  //
        {101, 2, 0}, {102, 2, 1}, {103, 2, 2}, {112, 2, 3}, {116, 2, 4},  //
        {100, 3, 0}, {110, 3, 1}, {117, 3, 2}, {111, 3, 3},
    };
    for (const Place& p : kPlaces) {
        const KeypadKey& key = KeypadKeys()[size_t(p.id - 100)];
        auto* b = new QToolButton(this);
        b->setObjectName(ControlName("button", p.id));
        b->setText(UiText(key.label));
        b->setFocusPolicy(Qt::NoFocus);  // the field keeps the focus
        b->setMinimumSize(28, 24);
        grid->addWidget(b, p.row, p.column);
        connect(b, &QToolButton::clicked, this, [this, id = p.id] { pressKey(id); });
    }
    connect(qApp, &QApplication::focusChanged, this, &NumericKeypad::focusMoved);
    if (auto* edit = qobject_cast<QLineEdit*>(QApplication::focusWidget());
        edit && owner_->isAncestorOf(edit))
        target_ = edit;
}

void NumericKeypad::focusMoved(QWidget*, QWidget* now) {
    if (auto* edit = qobject_cast<QLineEdit*>(now); edit && owner_->isAncestorOf(edit))
        target_ = edit;
}

void NumericKeypad::pressKey(int id) {
    const char c = KeypadCharacter(id);
    if (!c) return;
    QLineEdit* edit = target_;
    if (!edit) {
        // Before any field had the focus the first field of the dialog is meant.
        edit = owner_->findChild<QLineEdit*>();
        if (!edit) return;
        target_ = edit;
    }
    if (c == kKeypadBackspace)
        edit->backspace();
    else
        edit->insert(QString(QChar::fromLatin1(c)));
}

}  // namespace zevo
