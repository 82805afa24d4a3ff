#include "shell/qt/dialogs/library_dialog.h"

#include <QApplication>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QListWidget>
#include <QPushButton>
#include <QVBoxLayout>
#include <algorithm>

#include "shell/dialogs/library_dialog.h"
#include "text/cp932.h"

namespace zevo {

namespace {

QPushButton* Button(QWidget* owner, const QString& text, const QString& name) {
    auto* b = new QPushButton(text, owner);
    b->setObjectName(name);
    b->setAutoDefault(false);
    return b;
}

}  // namespace

LibraryDialog::LibraryDialog(LibrarySettingsModel& model, QWidget* parent)
    : QDialog(parent), model_(model) {
    setObjectName("dialog198");
    setWindowTitle(UiText(kLibraryDialogTitle));
    auto* grid = new QGridLayout(this);
    used_ = new QListWidget(this);
    used_->setObjectName(ControlName("list", LibrarySettingsModel::kUsedList));
    all_ = new QListWidget(this);
    all_->setObjectName(ControlName("list", LibrarySettingsModel::kAllList));
    used_->setMinimumWidth(200);
    all_->setMinimumWidth(200);
    grid->addWidget(new QLabel(UiText(kLibraryUsedLabel), this), 0, 0);
    grid->addWidget(new QLabel(UiText(kLibraryAllLabel), this), 0, 2);
    grid->addWidget(used_, 1, 0);
    grid->addWidget(all_, 1, 2);

    auto* take = Button(this, "<<", ControlName("button", LibrarySettingsModel::kTakeButton));
    auto* leave = Button(this, ">>", ControlName("button", LibrarySettingsModel::kLeaveButton));
    auto* arrows = new QVBoxLayout;
    arrows->addStretch();
    arrows->addWidget(take);
    arrows->addWidget(leave);
    arrows->addStretch();
    grid->addLayout(arrows, 1, 1);
    auto* done = Button(this, T("終了"), "button2");
    auto* foot = new QHBoxLayout;
    foot->addStretch();
    foot->addWidget(done);
    grid->addLayout(foot, 2, 0, 1, 3);

    refresh();
    connect(take, &QPushButton::clicked, this, [this] {
        if (model_.take(all_->currentRow()))
            refresh();
        else
            QApplication::beep();
    });
    connect(leave, &QPushButton::clicked, this, [this] {
        if (model_.leave(used_->currentRow()))
            refresh();
        else
            QApplication::beep();
    });
    // A double click moves the file across like the button beside the other list.
    connect(all_, &QListWidget::itemDoubleClicked, take, &QPushButton::click);
    connect(used_, &QListWidget::itemDoubleClicked, leave, &QPushButton::click);
    connect(done, &QPushButton::clicked, this, &QDialog::accept);
}

void LibraryDialog::refresh() {
    const auto fill = [](QListWidget* list, const std::vector<std::string>& entries) {
        const int row = list->currentRow();
        list->clear();
        for (const std::string& e : entries) list->addItem(Qs(Cp932ToUtf8(e)));
        if (list->count() > 0) list->setCurrentRow(std::clamp(row, 0, list->count() - 1));
    };
    fill(used_, model_.used());
    fill(all_, model_.unused());
}

void RunLibraryDialog(QWidget* parent, LibrarySettingsModel& model) {
    LibraryDialog dialog(model, parent);
    dialog.exec();
}

}  // namespace zevo
