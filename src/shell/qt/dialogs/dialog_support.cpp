#include "shell/qt/dialogs/dialog_support.h"

#include <QComboBox>
#include <QHBoxLayout>
#include <QLineEdit>
#include <QMessageBox>
#include <QPainter>
#include <QPushButton>
#include <QScreen>
#include <QStyleOptionComboBox>
#include <algorithm>

#include "shell/dialogs/dialog_common.h"
#include "shell/qt/dialogs/numeric_keypad.h"

namespace zevo {

QPushButton* ControlButton(QWidget* owner, const QString& text, int id, bool isDefault) {
    auto* b = new QPushButton(text, owner);
    b->setObjectName(ControlName("button", id));
    if (isDefault)
        b->setDefault(true);
    else
        b->setAutoDefault(false);
    return b;
}

void FitComboToEntries(QComboBox* combo) {
    QStyleOptionComboBox opt;
    opt.initFrom(combo);
    opt.editable = combo->isEditable();
    const QFontMetrics fm = combo->fontMetrics();
    int widest = 0;
    for (int i = 0; i < combo->count(); ++i)
        widest = std::max(widest, fm.horizontalAdvance(combo->itemText(i)));
    const QSize text(widest, fm.height());
    combo->setMinimumWidth(
        combo->style()->sizeFromContents(QStyle::CT_ComboBox, &opt, text, combo).width());
}

void AddDecideCancel(QDialog& d, QBoxLayout& layout) {
    auto* row = new QHBoxLayout;
    auto* ok = ControlButton(&d, T("決定"), 1, true);
    auto* cancel = ControlButton(&d, T("取消"), 2);
    row->addWidget(ok);
    row->addWidget(cancel);
    layout.addLayout(row);
    QObject::connect(ok, &QPushButton::clicked, &d, &QDialog::accept);
    QObject::connect(cancel, &QPushButton::clicked, &d, &QDialog::reject);
}

void ShowCalcError(QWidget* parent, QLineEdit* field) {
    QMessageBox box(QMessageBox::Warning, UiText(MessageCaption()), UiText(CalcErrorText()),
                    QMessageBox::Ok, parent);
    box.setObjectName("calcError");
    box.exec();
    if (field) {
        field->setFocus();
        field->selectAll();
    }
}

ColourButton::ColourButton(QWidget* parent) : QAbstractButton(parent) {
    setFocusPolicy(Qt::StrongFocus);
    setMinimumSize(24, 16);
}

void ColourButton::setColour(const QColor& c) {
    colour_ = c;
    update();
}

void ColourButton::paintEvent(QPaintEvent*) {
    QPainter p(this);
    const QRect r = rect().adjusted(0, 0, -1, -1);
    p.fillRect(r, colour_);
    p.setPen(isDown() ? Qt::white : Qt::black);
    p.drawRect(r);
    if (hasFocus()) {
        p.setPen(QPen(Qt::gray, 1, Qt::DotLine));
        p.drawRect(r.adjusted(2, 2, -2, -2));
    }
}

NumericDialog::NumericDialog(QWidget* parent, bool keypad) : QDialog(parent) {
    if (keypad) keypad_ = new NumericKeypad(this);
}

void NumericDialog::showEvent(QShowEvent* e) {
    QDialog::showEvent(e);
    if (keypad_) {
        keypad_->adjustSize();
        keypad_->move(frameGeometry().topRight() + QPoint(4, 0));
        keypad_->show();
    }
}

}  // namespace zevo
