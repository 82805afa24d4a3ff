#include "shell/qt/dialogs/swap_dialog.h"

#include <QComboBox>
#include <QFontDatabase>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QListWidget>
#include <QPushButton>

#include "shell/dialogs/swap_dialog.h"
#include "shell/qt/dialogs/dialogs.h"

namespace zevo {

SwapDialog::SwapDialog(SwapDialogModel& model, QWidget* parent) : QDialog(parent), model_(model) {
    setObjectName("dialog200");
    setWindowTitle(UiText(kSwapDialogTitle));
    auto* grid = new QGridLayout(this);

    list_ = new QListWidget(this);
    list_->setObjectName(ControlName("list", SwapDialogModel::kPairList));
    // The first caption is padded to a column: a fixed-pitch font keeps the arrows in line.
    list_->setFont(QFontDatabase::systemFont(QFontDatabase::FixedFont));
    list_->setMinimumWidth(360);
    grid->addWidget(list_, 0, 0, 1, 4);

    layer1_ = new QComboBox(this);
    layer1_->setObjectName(ControlName("combo", SwapDialogModel::kLayer1Combo));
    layer2_ = new QComboBox(this);
    layer2_->setObjectName(ControlName("combo", SwapDialogModel::kLayer2Combo));
    for (int n = 0; n < SwapDialogModel::layerCount(); ++n) {
        layer1_->addItem(UiText(model_.layerEntry(n)));
        layer2_->addItem(UiText(model_.layerEntry(n)));
    }
    layer1_->setMaxVisibleItems(16);
    layer2_->setMaxVisibleItems(16);
    layer1_->setCurrentIndex(model_.selectedLayer1());
    layer2_->setCurrentIndex(model_.selectedLayer2());
    grid->addWidget(new QLabel(UiText(kSwapLayer1Label), this), 1, 0);
    grid->addWidget(layer1_, 1, 1);
    grid->addWidget(new QLabel(UiText(kSwapLayer2Label), this), 1, 2);
    grid->addWidget(layer2_, 1, 3);

    auto* add = new QPushButton(UiText(kSwapAddButton), this);
    add->setObjectName(ControlName("button", SwapDialogModel::kAddButton));
    add->setAutoDefault(false);
    auto* remove = new QPushButton(UiText(kSwapDeleteButton), this);
    remove->setObjectName(ControlName("button", SwapDialogModel::kDeleteButton));
    remove->setAutoDefault(false);
    auto* done = new QPushButton(UiText(kSwapCloseButton), this);
    done->setObjectName("button2");
    done->setAutoDefault(false);
    auto* buttons = new QHBoxLayout;
    buttons->addWidget(add);
    buttons->addWidget(remove);
    buttons->addStretch();
    buttons->addWidget(done);
    grid->addLayout(buttons, 2, 0, 1, 4);

    refreshList();
    connect(list_, &QListWidget::currentRowChanged, this,
            [this](int row) { model_.selectLine(row); });
    connect(layer1_, &QComboBox::currentIndexChanged, this,
            [this](int n) { model_.selectLayer1(n); });
    connect(layer2_, &QComboBox::currentIndexChanged, this,
            [this](int n) { model_.selectLayer2(n); });
    connect(add, &QPushButton::clicked, this, [this] {
        if (model_.pressAdd()) refreshList();
    });
    connect(remove, &QPushButton::clicked, this, [this] {
        if (model_.pressDelete()) refreshList();
    });
    connect(done, &QPushButton::clicked, this, &QDialog::accept);
}

void SwapDialog::refreshList() {
    const QSignalBlocker block(list_);
    list_->clear();
    for (const std::string& line : model_.lines()) list_->addItem(Qs(line));
    list_->setCurrentRow(model_.selectedLine());
}

void RunSwapDialog(QWidget* parent, SwapDialogModel& model) {
    SwapDialog dialog(model, parent);
    dialog.exec();
}

}  // namespace zevo
