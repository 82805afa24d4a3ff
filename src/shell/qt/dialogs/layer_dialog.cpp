#include "shell/qt/dialogs/layer_dialog.h"

#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QValidator>

#include "shell/dialogs/layer_dialog.h"
#include "shell/qt/dialogs/dialogs.h"

namespace zevo {

namespace {
QColor ToQColor(Pixel p) {
    return QColor::fromRgb(p & 0xFFFFFF);
}

// A layer name never takes a comma, typed or pasted: the field keeps its text and beeps.
class LayerNameValidator final : public QValidator {
  public:
    using QValidator::QValidator;
    State validate(QString& text, int&) const override {
        if (LayerDialogModel::AcceptsName(Us(text))) return Acceptable;
        QApplication::beep();
        return Invalid;
    }
};
}  // namespace

LayerDialog::LayerDialog(LayerDialogModel& model, QWidget* parent)
    : QDialog(parent), model_(model) {
    setObjectName("dialog197");
    setWindowTitle(UiText(kLayerDialogTitle));
    auto* outer = new QGridLayout(this);

    auto* pageRow = new QHBoxLayout;
    auto* previous = new QPushButton(UiText(kLayerPreviousButton), this);
    previous->setObjectName(ControlName("button", LayerDialogModel::kPreviousButton));
    previous->setAutoDefault(false);
    auto* next = new QPushButton(UiText(kLayerNextButton), this);
    next->setObjectName(ControlName("button", LayerDialogModel::kNextButton));
    next->setAutoDefault(false);
    page_ = new QComboBox(this);
    page_->setObjectName(ControlName("combo", LayerDialogModel::kPageCombo));
    for (int p = 0; p < LayerDialogModel::kPages; ++p)
        page_->addItem(UiText(LayerDialogModel::pageEntry(p)));
    page_->setMaxVisibleItems(16);
    FitComboToEntries(page_);
    pageRow->addWidget(previous);
    pageRow->addWidget(page_);
    pageRow->addWidget(next);
    pageRow->addStretch();
    outer->addLayout(pageRow, 0, 0, 1, 5);

    outer->addWidget(new QLabel(UiText(kLayerNumberHeading), this), 1, 0);
    outer->addWidget(new QLabel(UiText(kLayerNameHeading), this), 1, 1);
    outer->addWidget(new QLabel(UiText(kLayerColourHeading), this), 1, 2);
    for (int r = 0; r < kRows; ++r) {
        number_[r] = new QLabel(this);
        number_[r]->setObjectName(ControlName("static", LayerDialogModel::kNumberStatic + r));
        name_[r] = new QLineEdit(this);
        name_[r]->setObjectName(ControlName("edit", LayerDialogModel::kNameEdit + r));
        name_[r]->setMaxLength(int(LayerDialogModel::kNameMax));
        name_[r]->setValidator(new LayerNameValidator(name_[r]));
        name_[r]->setMinimumWidth(200);
        colour_[r] = new ColourButton(this);
        colour_[r]->setObjectName(ControlName("button", LayerDialogModel::kColourButton + r));
        display_[r] = new QCheckBox(UiText(kLayerDisplayBox), this);
        display_[r]->setObjectName(ControlName("check", LayerDialogModel::kDisplayBox + r));
        edit_[r] = new QCheckBox(UiText(kLayerEditBox), this);
        edit_[r]->setObjectName(ControlName("check", LayerDialogModel::kEditBox + r));
        outer->addWidget(number_[r], 2 + r, 0);
        outer->addWidget(name_[r], 2 + r, 1);
        outer->addWidget(colour_[r], 2 + r, 2);
        outer->addWidget(display_[r], 2 + r, 3);
        outer->addWidget(edit_[r], 2 + r, 4);

        connect(name_[r], &QLineEdit::textChanged, this,
                [this, r](const QString& t) { model_.editName(r, Us(t)); });
        connect(colour_[r], &ColourButton::clicked, this, [this, r] { chooseColour(r); });
        // clicked, not toggled: the coupled box is set from the model without a signal.
        connect(display_[r], &QCheckBox::clicked, this, [this, r](bool on) {
            model_.setDisplayed(r, on);
            edit_[r]->setChecked(model_.editable(r));
        });
        connect(edit_[r], &QCheckBox::clicked, this, [this, r](bool on) {
            model_.setEditable(r, on);
            display_[r]->setChecked(model_.displayed(r));
        });
    }

    auto* buttons = new QHBoxLayout;
    auto* ok = new QPushButton(UiText(kLayerOkButton), this);
    ok->setObjectName("button1");
    ok->setDefault(true);
    auto* cancel = new QPushButton(UiText(kLayerCancelButton), this);
    cancel->setObjectName("button2");
    cancel->setAutoDefault(false);
    buttons->addStretch();
    buttons->addWidget(ok);
    buttons->addWidget(cancel);
    outer->addLayout(buttons, 2 + kRows, 0, 1, 5);

    refresh();
    connect(page_, &QComboBox::currentIndexChanged, this, [this](int p) {
        model_.choosePage(p);
        refresh();
    });
    connect(previous, &QPushButton::clicked, this, [this] {
        model_.pressPrevious();
        refresh();
    });
    connect(next, &QPushButton::clicked, this, [this] {
        model_.pressNext();
        refresh();
    });
    connect(ok, &QPushButton::clicked, this, &QDialog::accept);
    connect(cancel, &QPushButton::clicked, this, &QDialog::reject);
}

void LayerDialog::refresh() {
    {
        const QSignalBlocker block(page_);
        page_->setCurrentIndex(model_.page());
    }
    for (int r = 0; r < kRows; ++r) {
        number_[r]->setText(Qs(model_.numberText(r)));
        {
            // The field shows the page's name; that is no edit of the user's.
            const QSignalBlocker block(name_[r]);
            name_[r]->setText(Qs(model_.nameText(r)));
        }
        display_[r]->setChecked(model_.displayed(r));
        edit_[r]->setChecked(model_.editable(r));
        refreshColour(r);
    }
}

void LayerDialog::refreshColour(int row) {
    colour_[row]->setColour(ToQColor(model_.colour(row)));
}

void LayerDialog::chooseColour(int row) {
    const int index = RunColourChooser(this, model_.colourIndex(row));
    if (model_.chooseColour(row, index)) refreshColour(row);
}

void LayerDialog::accept() {
    model_.pressOk();
    QDialog::accept();
}

void LayerDialog::reject() {
    model_.pressCancel();
    QDialog::reject();
}

ColourChooserDialog::ColourChooserDialog(ColourChooserModel& model, QWidget* parent)
    : QDialog(parent), model_(model) {
    setObjectName("dialog188");
    setWindowTitle(UiText(kColourDialogTitle));
    auto* grid = new QGridLayout(this);
    for (int i = 0; i < ColourChooserModel::kColours; ++i) {
        auto* b = new ColourButton(this);
        b->setObjectName(ControlName("button", ColourChooserModel::kFirstButton + i));
        b->setColour(ToQColor(ColourChooserModel::colour(i)));
        b->setMinimumSize(32, 24);
        if (i == model_.current()) b->setFocus();
        grid->addWidget(b, i / 4, i % 4);
        connect(b, &ColourButton::clicked, this, [this, i] {
            model_.pressColour(i);
            QDialog::accept();
        });
    }
}

void ColourChooserDialog::reject() {
    model_.close();
    QDialog::reject();
}

int RunColourChooser(QWidget* parent, int current) {
    ColourChooserModel model(current);
    ColourChooserDialog dialog(model, parent);
    dialog.exec();
    return model.result();
}

void RunLayerDialog(QWidget* parent, LayerDialogModel& model) {
    LayerDialog dialog(model, parent);
    dialog.exec();
}

}  // namespace zevo
