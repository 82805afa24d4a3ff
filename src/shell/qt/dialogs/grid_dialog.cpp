#include "shell/qt/dialogs/grid_dialog.h"

#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>

#include "shell/dialogs/grid_dialog.h"
#include "shell/qt/dialogs/dialogs.h"

namespace zevo {

GridDialog::GridDialog(GridDialogModel& model, QWidget* parent, bool keypad)
    : NumericDialog(parent, keypad), model_(model) {
    setObjectName("dialog157");
    setWindowTitle(UiText(kGridDialogTitle));
    auto* grid = new QGridLayout(this);
    auto addField = [&](int row, std::string_view label, int id, const std::string& text) {
        auto* edit = new QLineEdit(Qs(text), this);
        edit->setObjectName(ControlName("edit", id));
        edit->setMaxLength(GridDialogModel::kFieldMax);
        grid->addWidget(new QLabel(UiText(label), this), row, 0);
        grid->addWidget(edit, row, 1);
        return edit;
    };
    spacing_ = addField(0, kGridSpacingLabel, GridDialogModel::kSpacingEdit, model_.spacingText());
    originX_ = addField(1, kGridOriginXLabel, GridDialogModel::kOriginXEdit, model_.originXText());
    originY_ = addField(2, kGridOriginYLabel, GridDialogModel::kOriginYEdit, model_.originYText());
    interval_ =
        addField(3, kGridIntervalLabel, GridDialogModel::kIntervalEdit, model_.intervalText());

    auto* buttons = new QHBoxLayout;
    auto* set = new QPushButton(UiText(kGridSetButton), this);
    set->setObjectName("button1");
    set->setDefault(true);
    auto* cancel = new QPushButton(UiText(kGridCancelButton), this);
    cancel->setObjectName("button2");
    cancel->setAutoDefault(false);
    buttons->addStretch();
    buttons->addWidget(set);
    buttons->addWidget(cancel);
    grid->addLayout(buttons, 4, 0, 1, 2);

    connect(spacing_, &QLineEdit::textChanged, this,
            [this](const QString& t) { model_.editSpacing(Us(t)); });
    connect(originX_, &QLineEdit::textChanged, this,
            [this](const QString& t) { model_.editOriginX(Us(t)); });
    connect(originY_, &QLineEdit::textChanged, this,
            [this](const QString& t) { model_.editOriginY(Us(t)); });
    connect(interval_, &QLineEdit::textChanged, this,
            [this](const QString& t) { model_.editInterval(Us(t)); });
    connect(set, &QPushButton::clicked, this, &GridDialog::set);
    connect(cancel, &QPushButton::clicked, this, [this] {
        model_.pressCancel();
        reject();
    });
}

QLineEdit* GridDialog::field(int id) const {
    switch (id) {
        case GridDialogModel::kOriginXEdit:
            return originX_;
        case GridDialogModel::kOriginYEdit:
            return originY_;
        case GridDialogModel::kIntervalEdit:
            return interval_;
        default:
            return spacing_;
    }
}

void GridDialog::set() {
    const FieldResult r = model_.pressSet();
    if (r.calcError()) {
        ShowCalcError(this, field(r.control));
        return;
    }
    accept();
}

bool RunGridDialog(QWidget* parent, GridDialogModel& model, bool keypad) {
    GridDialog dialog(model, parent, keypad);
    return dialog.exec() == QDialog::Accepted;
}

}  // namespace zevo
