#include "shell/qt/dialogs/aperture_dialog.h"

#include <QComboBox>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>

#include "shell/dialogs/aperture_dialog.h"
#include "shell/qt/dialogs/dialogs.h"

namespace zevo {

ApertureDialog::ApertureDialog(ApertureDialogModel& model, QWidget* parent, bool keypad)
    : NumericDialog(parent, keypad), model_(model) {
    setObjectName("dialog195");
    setWindowTitle(UiText(kApertureDialogTitle));
    auto* grid = new QGridLayout(this);

    number_ = new QComboBox(this);
    number_->setObjectName(ControlName("combo", ApertureDialogModel::kNumberCombo));
    for (int n = 0; n < ApertureDialogModel::entryCount(); ++n)
        number_->addItem(Qs(ApertureDialogModel::entryText(n)));
    number_->setMaxVisibleItems(16);
    size_ = new QLineEdit(this);
    size_->setObjectName(ControlName("edit", ApertureDialogModel::kSizeEdit));
    grid->addWidget(new QLabel(UiText(kApertureNumberLabel), this), 0, 0);
    grid->addWidget(number_, 0, 1);
    grid->addWidget(new QLabel(UiText(kApertureSizeLabel), this), 1, 0);
    grid->addWidget(size_, 1, 1);

    auto* buttons = new QHBoxLayout;
    auto* change = new QPushButton(UiText(kApertureChangeButton), this);
    change->setObjectName("button1");
    change->setDefault(true);
    auto* done = new QPushButton(UiText(kApertureCloseButton), this);
    done->setObjectName("button2");
    done->setAutoDefault(false);
    buttons->addStretch();
    buttons->addWidget(change);
    buttons->addWidget(done);
    grid->addLayout(buttons, 2, 0, 1, 2);

    refresh();
    connect(number_, &QComboBox::currentIndexChanged, this, [this](int n) {
        model_.selectEntry(n);
        refresh();
    });
    connect(size_, &QLineEdit::textChanged, this,
            [this](const QString& t) { model_.editSize(Us(t)); });
    connect(change, &QPushButton::clicked, this, &ApertureDialog::change);
    connect(done, &QPushButton::clicked, this, &QDialog::accept);
}

void ApertureDialog::refresh() {
    const QSignalBlocker block(number_);
    number_->setCurrentIndex(model_.selected());
    size_->setText(Qs(model_.sizeText()));
}

void ApertureDialog::change() {
    const FieldResult r = model_.pressChange();
    if (r.calcError()) {
        ShowCalcError(this, size_);
        return;
    }
    refresh();
}

void RunApertureDialog(QWidget* parent, ApertureDialogModel& model, bool keypad) {
    ApertureDialog dialog(model, parent, keypad);
    dialog.exec();
}

}  // namespace zevo
