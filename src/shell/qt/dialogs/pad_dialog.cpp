#include "shell/qt/dialogs/pad_dialog.h"

#include <QApplication>
#include <QComboBox>
#include <QFontDatabase>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QListWidget>
#include <QPushButton>

#include "shell/dialogs/pad_dialog.h"
#include "shell/qt/dialogs/dialogs.h"

namespace zevo {

PadDialog::PadDialog(PadDialogModel& model, QWidget* parent) : QDialog(parent), model_(model) {
    setObjectName("dialog196");
    setWindowTitle(UiText(kPadDialogTitle));
    auto* grid = new QGridLayout(this);

    auto* numberRow = new QHBoxLayout;
    auto* previous =
        ControlButton(this, UiText(kPadPreviousButton), PadDialogModel::kPreviousButton);
    auto* next = ControlButton(this, UiText(kPadNextButton), PadDialogModel::kNextButton);
    number_ = new QLabel(this);
    number_->setObjectName(ControlName("static", PadDialogModel::kNumberStatic));
    number_->setMinimumWidth(40);
    number_->setAlignment(Qt::AlignCenter);
    numberRow->addWidget(new QLabel(UiText(kPadNumberLabel), this));
    numberRow->addWidget(previous);
    numberRow->addWidget(number_);
    numberRow->addWidget(next);
    numberRow->addStretch();
    grid->addLayout(numberRow, 0, 0, 1, 3);

    list_ = new QListWidget(this);
    list_->setObjectName(ControlName("list", PadDialogModel::kPairList));
    list_->setFont(QFontDatabase::systemFont(QFontDatabase::FixedFont));
    list_->setMinimumWidth(280);
    grid->addWidget(list_, 1, 0, 4, 1);

    aperture_ = new QComboBox(this);
    aperture_->setObjectName(ControlName("combo", PadDialogModel::kApertureCombo));
    layer_ = new QComboBox(this);
    layer_->setObjectName(ControlName("combo", PadDialogModel::kLayerCombo));
    for (int n = 0; n < PadDialogModel::comboCount(); ++n) {
        aperture_->addItem(Qs(model_.apertureEntry(n)));
        layer_->addItem(UiText(model_.layerEntry(n)));
    }
    aperture_->setMaxVisibleItems(16);
    layer_->setMaxVisibleItems(16);
    grid->addWidget(new QLabel(UiText(kPadApertureLabel), this), 1, 1);
    grid->addWidget(aperture_, 1, 2);
    grid->addWidget(new QLabel(UiText(kPadLayerLabel), this), 2, 1);
    grid->addWidget(layer_, 2, 2);

    auto* add = ControlButton(this, UiText(kPadAddButton), PadDialogModel::kAddButton);
    auto* remove = ControlButton(this, UiText(kPadDeleteButton), PadDialogModel::kDeleteButton);
    auto* editRow = new QHBoxLayout;
    editRow->addWidget(add);
    editRow->addWidget(remove);
    grid->addLayout(editRow, 3, 1, 1, 2);

    auto* done = ControlButton(this, UiText(kPadCloseButton), 2);
    auto* doneRow = new QHBoxLayout;
    doneRow->addStretch();
    doneRow->addWidget(done);
    grid->addLayout(doneRow, 5, 0, 1, 3);

    refresh();
    connect(list_, &QListWidget::currentRowChanged, this,
            [this](int row) { model_.selectLine(row); });
    connect(aperture_, &QComboBox::currentIndexChanged, this,
            [this](int n) { model_.selectAperture(n); });
    connect(layer_, &QComboBox::currentIndexChanged, this,
            [this](int n) { model_.selectLayer(n); });
    connect(add, &QPushButton::clicked, this, [this] {
        if (model_.pressAdd()) refresh();
    });
    connect(remove, &QPushButton::clicked, this, [this] {
        if (model_.pressDelete()) refresh();
    });
    connect(previous, &QPushButton::clicked, this, [this] {
        if (!model_.pressPrevious()) QApplication::beep();
        refresh();
    });
    connect(next, &QPushButton::clicked, this, [this] {
        if (!model_.pressNext()) QApplication::beep();
        refresh();
    });
    connect(done, &QPushButton::clicked, this, &QDialog::accept);
}

void PadDialog::refresh() {
    number_->setText(Qs(model_.numberText()));
    {
        const QSignalBlocker block(list_);
        list_->clear();
        for (const std::string& line : model_.lines()) list_->addItem(Qs(line));
        list_->setCurrentRow(model_.selectedLine());
    }
    const QSignalBlocker blockAperture(aperture_);
    const QSignalBlocker blockLayer(layer_);
    aperture_->setCurrentIndex(model_.selectedAperture());
    layer_->setCurrentIndex(model_.selectedLayer());
}

void PadDialog::done(int r) {
    // A definition equal to another one stays on the screen to be changed.
    if (!model_.close()) {
        QApplication::beep();
        return;
    }
    QDialog::done(r);
}

void RunPadDialog(QWidget* parent, PadDialogModel& model) {
    PadDialog dialog(model, parent);
    dialog.exec();
}

}  // namespace zevo
