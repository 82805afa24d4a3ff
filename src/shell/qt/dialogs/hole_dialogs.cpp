// The hole output settings dialog with its T-code dialog and single-file chooser, and the
// decimals dialog of drill programs being read.
#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QFileDialog>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QSignalBlocker>

#include "board/model/board.h"
#include "shell/dialogs/gerber_output_dialog.h"
#include "shell/dialogs/hole_data_dialog.h"
#include "shell/dialogs/hole_output_dialog.h"
#include "shell/dialogs/layer_file_table.h"
#include "shell/dialogs/tcode_dialog.h"
#include "shell/qt/dialogs/dialog_support.h"
#include "shell/qt/dialogs/output_dialogs.h"

namespace zevo {

namespace {

class TCodeDialog : public QDialog {
  public:
    TCodeDialog(TCodeDialogModel& model, QWidget* parent) : QDialog(parent), model_(model) {
        setObjectName("dialog193");
        setWindowTitle(UiText(kTCodeDialogTitle));
        auto* grid = new QGridLayout(this);
        aperture_ = new QComboBox(this);
        aperture_->setObjectName(ControlName("combo", TCodeDialogModel::kApertureCombo));
        for (int n = 0; n < TCodeDialogModel::entryCount(); ++n)
            aperture_->addItem(Qs(TCodeDialogModel::entryText(n)));
        aperture_->setMaxVisibleItems(16);
        code_ = new QLineEdit(this);
        code_->setObjectName(ControlName("edit", TCodeDialogModel::kCodeEdit));
        grid->addWidget(new QLabel(UiText(kTCodeApertureLabel), this), 0, 0);
        grid->addWidget(aperture_, 0, 1);
        grid->addWidget(new QLabel(UiText(kTCodeCodeLabel), this), 1, 0);
        grid->addWidget(code_, 1, 1);
        auto* buttons = new QHBoxLayout;
        auto* change = ControlButton(this, UiText(kTCodeChangeButton), 1, true);
        auto* done = ControlButton(this, UiText(kTCodeCloseButton), 2, false);
        buttons->addStretch();
        buttons->addWidget(change);
        buttons->addWidget(done);
        grid->addLayout(buttons, 2, 0, 1, 2);
        refresh();
        connect(aperture_, &QComboBox::currentIndexChanged, this, [this](int n) {
            model_.selectEntry(n);
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
        const QSignalBlocker block(aperture_);
        aperture_->setCurrentIndex(model_.selected());
        code_->setText(Qs(model_.codeText()));
    }

    TCodeDialogModel& model_;
    QComboBox* aperture_;
    QLineEdit* code_;
};

class HoleOutputDialog : public QDialog {
  public:
    HoleOutputDialog(HoleOutputDialogModel& model, std::filesystem::path proposed, QWidget* parent)
        : QDialog(parent), model_(model), proposed_(std::move(proposed)) {
        setObjectName("dialog192");
        setWindowTitle(UiText(kHoleOutputDialogTitle));
        auto* grid = new QGridLayout(this);

        layers_ = new QComboBox(this);
        layers_->setObjectName(ControlName("combo", HoleOutputDialogModel::kLayerCombo));
        for (int layer = 0; layer < kLayers; ++layer)
            layers_->addItem(UiText(model_.layerEntry(layer)));
        layers_->setMaxVisibleItems(16);
        file_ = new QLineEdit(this);
        file_->setObjectName(ControlName("edit", HoleOutputDialogModel::kFileEdit));
        file_->setMaxLength(static_cast<int>(kMaxOutputName));
        file_->setMinimumWidth(220);
        fileLabel_ = new QLabel(UiText(kHoleFileLabel), this);
        fileLabel_->setObjectName(ControlName("static", HoleOutputDialogModel::kFileLabel));
        auto* add =
            ControlButton(this, UiText(kHoleAddButton), HoleOutputDialogModel::kAddButton, false);
        list_ = new QListWidget(this);
        list_->setObjectName(ControlName("list", HoleOutputDialogModel::kLayerList));
        auto* remove = ControlButton(this, UiText(kHoleRemoveButton),
                                     HoleOutputDialogModel::kRemoveButton, false);
        decimals_ = new QLineEdit(Qs(model_.decimalsText()), this);
        decimals_->setObjectName(ControlName("edit", HoleOutputDialogModel::kDecimalsEdit));
        decimals_->setMaximumWidth(60);
        autoT_ = new QCheckBox(UiText(kHoleAutoTBox), this);
        autoT_->setObjectName(ControlName("check", HoleOutputDialogModel::kAutoTBox));
        tcode_ = ControlButton(this, UiText(kHoleTCodeButton), HoleOutputDialogModel::kTCodeButton,
                               false);
        single_ = new QCheckBox(UiText(kHoleSingleBox), this);
        single_->setObjectName(ControlName("check", HoleOutputDialogModel::kSingleBox));
        modern_ = new QCheckBox(UiText(kHoleModernBox), this);
        modern_->setObjectName(ControlName("check", HoleOutputDialogModel::kModernBox));

        grid->addWidget(new QLabel(UiText(kHoleLayerLabel), this), 0, 0);
        grid->addWidget(layers_, 0, 1, 1, 2);
        grid->addWidget(fileLabel_, 1, 0);
        grid->addWidget(file_, 1, 1);
        grid->addWidget(add, 1, 2);
        grid->addWidget(new QLabel(UiText(kHoleListLabel), this), 2, 0);
        grid->addWidget(list_, 2, 1);
        grid->addWidget(remove, 2, 2, Qt::AlignTop);
        grid->addWidget(new QLabel(UiText(kHoleDecimalsLabel), this), 3, 0);
        grid->addWidget(decimals_, 3, 1, Qt::AlignLeft);
        grid->addWidget(autoT_, 4, 1);
        grid->addWidget(tcode_, 4, 2);
        grid->addWidget(single_, 5, 1);
        grid->addWidget(modern_, 6, 1);
        auto* buttons = new QHBoxLayout;
        auto* ok = ControlButton(this, UiText(kOutputButton), 1, true);
        auto* cancel = ControlButton(this, UiText(kOutputCancelButton), 2, false);
        buttons->addStretch();
        buttons->addWidget(ok);
        buttons->addWidget(cancel);
        grid->addLayout(buttons, 7, 0, 1, 3);

        refreshList();
        refreshSwitches();
        connect(layers_, &QComboBox::currentIndexChanged, this, [this](int n) {
            model_.chooseLayer(n);
            file_->setText(Qs(model_.fileText()));
        });
        connect(file_, &QLineEdit::textChanged, this,
                [this](const QString& t) { model_.editFile(Us(t)); });
        connect(add, &QPushButton::clicked, this, [this] {
            if (model_.pressAdd()) {
                file_->setText(Qs(model_.fileText()));
                refreshList();
            }
        });
        connect(list_, &QListWidget::currentRowChanged, this,
                [this](int row) { model_.chooseListRow(row); });
        connect(remove, &QPushButton::clicked, this, [this] {
            if (model_.pressRemove()) refreshList();
        });
        connect(decimals_, &QLineEdit::textChanged, this,
                [this](const QString& t) { model_.editDecimals(Us(t)); });
        connect(autoT_, &QCheckBox::toggled, this, [this](bool on) {
            model_.setAutoT(on);
            refreshSwitches();
        });
        connect(single_, &QCheckBox::toggled, this, [this](bool on) {
            model_.setSingle(on);
            refreshSwitches();
        });
        connect(modern_, &QCheckBox::toggled, this, [this](bool on) {
            model_.setModern(on);
            refreshSwitches();
        });
        connect(tcode_, &QPushButton::clicked, this, [this] {
            TCodeDialogModel codes(model_.codes());
            RunTCodeDialog(this, codes);
        });
        connect(ok, &QPushButton::clicked, this, &HoleOutputDialog::output);
        connect(cancel, &QPushButton::clicked, this, &QDialog::reject);
        file_->setText(Qs(model_.fileText()));
    }

  private:
    void refreshList() {
        const QSignalBlocker block(list_);
        list_->clear();
        for (int layer : model_.listLayers()) list_->addItem(UiText(model_.listEntry(layer)));
        list_->setCurrentRow(model_.chosenListRow());
    }

    void refreshSwitches() {
        const QSignalBlocker b1(autoT_), b2(single_), b3(modern_);
        autoT_->setChecked(model_.autoT());
        modern_->setChecked(model_.modern());
        decimals_->setEnabled(model_.decimalsEnabled());
        single_->setChecked(model_.single());
        single_->setEnabled(model_.singleEnabled());
        tcode_->setEnabled(model_.tcodeEnabled());
        file_->setEnabled(model_.fileEnabled());
        fileLabel_->setEnabled(model_.fileEnabled());
    }

    void output() {
        const FieldResult r = model_.pressOutput();
        if (r.calcError()) return ShowCalcError(this, decimals_);
        if (!r.stored()) {
            QApplication::beep();
            return;
        }
        if (model_.awaitingSingleFile()) {
            const QString chosen = QFileDialog::getSaveFileName(
                this, UiText(kHoleSaveTitle), Qs(PathToUtf8(proposed_)), UiText(kHoleSaveFilter));
            if (!model_.chooseSingleFile(PathFromUtf8(Us(chosen)))) {
                reject();
                return;
            }
        }
        accept();
    }

    HoleOutputDialogModel& model_;
    std::filesystem::path proposed_;
    QComboBox* layers_;
    QLineEdit* file_;
    QLabel* fileLabel_;
    QListWidget* list_;
    QLineEdit* decimals_;
    QCheckBox* autoT_;
    QPushButton* tcode_;
    QCheckBox* single_;
    QCheckBox* modern_;
};

class HoleDataDialog : public QDialog {
  public:
    HoleDataDialog(HoleDataDialogModel& model, QWidget* parent) : QDialog(parent), model_(model) {
        setObjectName("dialog204");
        setWindowTitle(UiText(kHoleDataDialogTitle));
        auto* grid = new QGridLayout(this);
        decimals_ = new QLineEdit(Qs(model_.decimalsText()), this);
        decimals_->setObjectName(ControlName("edit", HoleDataDialogModel::kDecimalsEdit));
        grid->addWidget(new QLabel(UiText(kHoleDataDecimalsLabel), this), 0, 0);
        grid->addWidget(decimals_, 0, 1);
        auto* ok =
            ControlButton(this, UiText(kHoleDataOkButton), HoleDataDialogModel::kOkButton, true);
        grid->addWidget(ok, 1, 1, Qt::AlignRight);
        connect(decimals_, &QLineEdit::textChanged, this,
                [this](const QString& t) { model_.editDecimals(Us(t)); });
        connect(ok, &QPushButton::clicked, this, [this] {
            const FieldResult r = model_.pressOk();
            if (r.calcError()) return ShowCalcError(this, decimals_);
            accept();
        });
    }

  private:
    HoleDataDialogModel& model_;
    QLineEdit* decimals_;
};

}  // namespace

void RunTCodeDialog(QWidget* parent, TCodeDialogModel& model) {
    TCodeDialog dialog(model, parent);
    dialog.exec();
}

bool RunHoleOutputDialog(QWidget* parent, HoleOutputDialogModel& model,
                         const std::filesystem::path& proposedSingleFile) {
    HoleOutputDialog dialog(model, proposedSingleFile, parent);
    if (dialog.exec() == QDialog::Accepted) return true;
    model.pressCancel();
    return false;
}

int RunHoleDataDialog(QWidget* parent, HoleDataDialogModel& model) {
    HoleDataDialog dialog(model, parent);
    if (dialog.exec() != QDialog::Accepted) model.close();
    return model.decimals();
}

}  // namespace zevo
