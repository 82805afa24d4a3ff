#include "shell/qt/dialogs/board_size_dialog.h"

#include <QCloseEvent>
#include <QGridLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>

#include "shell/dialogs/board_size_dialog.h"
#include "shell/qt/dialogs/dialogs.h"

namespace zevo {

BoardSizeDialog::BoardSizeDialog(BoardSizeDialogModel& model, QWidget* parent, bool keypad)
    : NumericDialog(parent, keypad), model_(model) {
    setObjectName("dialog194");
    setWindowTitle(UiText(kBoardSizeDialogTitle));
    // No close button in the title bar.
    setWindowFlags(Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint);
    auto* grid = new QGridLayout(this);
    x_ = new QLineEdit(Qs(model_.xText()), this);
    x_->setObjectName(ControlName("edit", BoardSizeDialogModel::kXEdit));
    y_ = new QLineEdit(Qs(model_.yText()), this);
    y_->setObjectName(ControlName("edit", BoardSizeDialogModel::kYEdit));
    grid->addWidget(new QLabel(UiText(kBoardSizeXLabel), this), 0, 0);
    grid->addWidget(x_, 0, 1);
    grid->addWidget(new QLabel(UiText(kBoardSizeYLabel), this), 1, 0);
    grid->addWidget(y_, 1, 1);
    auto* ok = new QPushButton(UiText(kBoardSizeOkButton), this);
    ok->setObjectName("button1");
    ok->setDefault(true);
    grid->addWidget(ok, 2, 0, 1, 2, Qt::AlignRight);

    connect(x_, &QLineEdit::textChanged, this, [this](const QString& t) { model_.editX(Us(t)); });
    connect(y_, &QLineEdit::textChanged, this, [this](const QString& t) { model_.editY(Us(t)); });
    connect(ok, &QPushButton::clicked, this, &BoardSizeDialog::decide);
}

void BoardSizeDialog::closeEvent(QCloseEvent* e) {
    e->ignore();
}

void BoardSizeDialog::decide() {
    const FieldResult r = model_.pressOk();
    if (r.calcError()) {
        ShowCalcError(this, r.control == BoardSizeDialogModel::kYEdit ? y_ : x_);
        return;
    }
    accept();
}

void RunBoardSizeDialog(QWidget* parent, BoardSizeDialogModel& model, bool keypad) {
    BoardSizeDialog dialog(model, parent, keypad);
    dialog.exec();
}

}  // namespace zevo
