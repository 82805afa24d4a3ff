// The Gerber output and input settings dialogs and the D-code dialog they open.
#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QSignalBlocker>
#include <memory>

#include "shell/dialogs/dcode_dialog.h"
#include "shell/dialogs/gerber_input_dialog.h"
#include "shell/dialogs/gerber_output_dialog.h"
#include "shell/qt/dialogs/dialog_support.h"
#include "shell/qt/dialogs/layer_file_rows.h"
#include "shell/qt/dialogs/output_dialogs.h"

namespace zevo {

namespace {

class DCodeDialog : public QDialog {
  public:
    DCodeDialog(DCodeDialogModel& model, QWidget* parent) : QDialog(parent), model_(model) {
        setObjectName("dialog191");
        setWindowTitle(UiText(kDCodeDialogTitle));
        auto* grid = new QGridLayout(this);
        aperture_ = new QComboBox(this);
        aperture_->setObjectName(ControlName("combo", DCodeDialogModel::kApertureCombo));
        for (int n = 0; n < DCodeDialogModel::entryCount(); ++n)
            aperture_->addItem(Qs(DCodeDialogModel::entryText(n)));
        aperture_->setMaxVisibleItems(16);
        square_ = new QCheckBox(UiText(kDCodeSquareBox), this);
        square_->setObjectName(ControlName("check", DCodeDialogModel::kSquareBox));
        code_ = new QLineEdit(this);
        code_->setObjectName(ControlName("edit", DCodeDialogModel::kCodeEdit));
        grid->addWidget(new QLabel(UiText(kDCodeApertureLabel), this), 0, 0);
        grid->addWidget(aperture_, 0, 1);
        grid->addWidget(square_, 1, 1);
        grid->addWidget(new QLabel(UiText(kDCodeCodeLabel), this), 2, 0);
        grid->addWidget(code_, 2, 1);
        auto* buttons = new QHBoxLayout;
        auto* change = ControlButton(this, UiText(kDCodeChangeButton), 1, true);
        auto* done = ControlButton(this, UiText(kDCodeCloseButton), 2, false);
        buttons->addStretch();
        buttons->addWidget(change);
        buttons->addWidget(done);
        grid->addLayout(buttons, 3, 0, 1, 2);
        refresh();
        connect(aperture_, &QComboBox::currentIndexChanged, this, [this](int n) {
            model_.selectEntry(n);
            refresh();
        });
        connect(square_, &QCheckBox::toggled, this, [this](bool on) {
            model_.setSquare(on);
            refresh();
        });
        connect(code_, &QLineEdit::textChanged, this,
                [this](const QString& t) { model_.editCode(Us(t)); });
        connect(change, &QPushButton::clicked, this, [this] {
            const FieldResult r = model_.pressChange();
            if (r.calcError()) return ShowCalcError(this, code_);
            if (!r.stored()) QApplication::beep();
            refresh();
        });
        connect(done, &QPushButton::clicked, this, &QDialog::accept);
    }

  private:
    void refresh() {
        const QSignalBlocker b1(aperture_), b2(square_);
        aperture_->setCurrentIndex(model_.selected());
        square_->setChecked(model_.square());
        code_->setText(Qs(model_.codeText()));
    }

    DCodeDialogModel& model_;
    QComboBox* aperture_;
    QCheckBox* square_;
    QLineEdit* code_;
};

// What the two Gerber dialogs share: the table, the decimals field and the two end buttons.
struct GerberDialogParts {
    QGridLayout* grid = nullptr;
    std::unique_ptr<LayerFileRows> rows;
    QLineEdit* decimals = nullptr;
    QPushButton* dcode = nullptr;
    QHBoxLayout* options = nullptr;
    QPushButton* ok = nullptr;
    QPushButton* cancel = nullptr;
};

void BuildGerberDialog(QDialog* d, GerberDialogParts& p, LayerFileTable& table, int decimalsId,
                       int dcodeId, std::string_view okText, std::string_view cancelText) {
    p.grid = new QGridLayout(d);
    p.rows = std::make_unique<LayerFileRows>(d, p.grid, 0, table);
    const int row = LayerFileRows::kGridRows;
    p.options = new QHBoxLayout;
    p.options->addWidget(new QLabel(UiText(kDecimalsLabel), d));
    p.decimals = new QLineEdit(d);
    p.decimals->setObjectName(ControlName("edit", decimalsId));
    p.decimals->setMaximumWidth(60);
    p.options->addWidget(p.decimals);
    p.dcode = ControlButton(d, UiText(kGerberDCodeButton), dcodeId, false);
    p.grid->addLayout(p.options, row, 0, 1, 4);
    auto* buttons = new QHBoxLayout;
    p.ok = ControlButton(d, UiText(okText), 1, true);
    p.cancel = ControlButton(d, UiText(cancelText), 2, false);
    buttons->addWidget(p.dcode);
    buttons->addStretch();
    buttons->addWidget(p.ok);
    buttons->addWidget(p.cancel);
    p.grid->addLayout(buttons, row + 1, 0, 1, 4);
    QObject::connect(p.cancel, &QPushButton::clicked, d, &QDialog::reject);
}

class GerberOutputDialog : public QDialog {
  public:
    GerberOutputDialog(GerberOutputDialogModel& model, QWidget* parent)
        : QDialog(parent), model_(model) {
        setObjectName("dialog189");
        setWindowTitle(UiText(kGerberOutputDialogTitle));
        BuildGerberDialog(this, parts_, model_.table(), GerberOutputDialogModel::kDecimalsEdit,
                          GerberOutputDialogModel::kDCodeButton, kOutputButton,
                          kOutputCancelButton);
        extended_ = new QCheckBox(UiText(kGerberExtendedBox), this);
        extended_->setObjectName(ControlName("check", GerberOutputDialogModel::kExtendedBox));
        modern_ = new QCheckBox(UiText(kModernOutputBox), this);
        modern_->setObjectName(ControlName("check", GerberOutputDialogModel::kModernBox));
        parts_.options->addSpacing(20);
        parts_.options->addWidget(extended_);
        parts_.options->addSpacing(12);
        parts_.options->addWidget(modern_);
        parts_.options->addStretch();
        parts_.decimals->setText(Qs(model_.decimalsText()));
        extended_->setChecked(model_.extended());
        modern_->setChecked(model_.modern());
        enable();

        connect(parts_.decimals, &QLineEdit::textChanged, this,
                [this](const QString& t) { model_.editDecimals(Us(t)); });
        connect(extended_, &QCheckBox::toggled, this, [this](bool on) {
            model_.setExtended(on);
            enable();
        });
        connect(modern_, &QCheckBox::toggled, this, [this](bool on) {
            model_.setModern(on);
            enable();
        });
        connect(parts_.dcode, &QPushButton::clicked, this, [this] {
            DCodeDialogModel codes(model_.codes(), DCodeDialogModel::kOutputMinCode);
            RunDCodeDialog(this, codes);
        });
        connect(parts_.ok, &QPushButton::clicked, this, [this] {
            const FieldResult r = model_.pressOutput();
            if (r.calcError()) return ShowCalcError(this, parts_.decimals);
            accept();
        });
    }

  private:
    void enable() {
        parts_.dcode->setEnabled(model_.dcodeEnabled());
        extended_->setEnabled(model_.extendedEnabled());
        parts_.decimals->setEnabled(model_.decimalsEnabled());
    }

    GerberOutputDialogModel& model_;
    GerberDialogParts parts_;
    QCheckBox* extended_;
    QCheckBox* modern_;
};

class GerberInputDialog : public QDialog {
  public:
    GerberInputDialog(GerberInputDialogModel& model, QWidget* parent)
        : QDialog(parent), model_(model) {
        setObjectName("dialog190");
        setWindowTitle(UiText(kGerberInputDialogTitle));
        BuildGerberDialog(this, parts_, model_.table(), GerberInputDialogModel::kDecimalsEdit,
                          GerberInputDialogModel::kDCodeButton, kInputButton, kInputCancelButton);
        inch_ = new QCheckBox(UiText(kGerberInchBox), this);
        inch_->setObjectName(ControlName("check", GerberInputDialogModel::kInchBox));
        parts_.options->addSpacing(20);
        parts_.options->addWidget(inch_);
        parts_.options->addStretch();
        parts_.decimals->setText(Qs(model_.decimalsText()));
        inch_->setChecked(model_.inch());

        connect(parts_.decimals, &QLineEdit::textChanged, this,
                [this](const QString& t) { model_.editDecimals(Us(t)); });
        connect(inch_, &QCheckBox::toggled, this, [this](bool on) { model_.setInch(on); });
        connect(parts_.dcode, &QPushButton::clicked, this, [this] {
            DCodeDialogModel codes(model_.codes(), DCodeDialogModel::kInputMinCode);
            RunDCodeDialog(this, codes);
        });
        connect(parts_.ok, &QPushButton::clicked, this, [this] {
            const FieldResult r = model_.pressInput();
            if (r.calcError()) return ShowCalcError(this, parts_.decimals);
            accept();
        });
    }

  private:
    GerberInputDialogModel& model_;
    GerberDialogParts parts_;
    QCheckBox* inch_;
};

}  // namespace

void RunDCodeDialog(QWidget* parent, DCodeDialogModel& model) {
    DCodeDialog dialog(model, parent);
    dialog.exec();
}

bool RunGerberOutputDialog(QWidget* parent, GerberOutputDialogModel& model) {
    GerberOutputDialog dialog(model, parent);
    if (dialog.exec() == QDialog::Accepted) return true;
    model.pressCancel();
    return false;
}

bool RunGerberInputDialog(QWidget* parent, GerberInputDialogModel& model) {
    GerberInputDialog dialog(model, parent);
    if (dialog.exec() == QDialog::Accepted) return true;
    model.pressCancel();
    return false;
}

}  // namespace zevo
