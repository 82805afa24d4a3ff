#include "shell/dialogs/part_coords_dialog.h"

#include <QApplication>
#include <QCheckBox>
#include <QFileDialog>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QSignalBlocker>

#include "shell/dialogs/gerber_output_dialog.h"
#include "shell/dialogs/layer_file_table.h"
#include "shell/qt/dialogs/dialog_support.h"
#include "shell/qt/dialogs/output_dialogs.h"

namespace zevo {

namespace {

class PartCoordsDialog : public QDialog {
  public:
    PartCoordsDialog(PartCoordsDialogModel& model, QWidget* parent)
        : QDialog(parent), model_(model) {
        setObjectName("dialog205");
        setWindowTitle(UiText(kPartCoordsDialogTitle));
        auto* grid = new QGridLayout(this);
        file_ = new QLineEdit(Qs(model_.fileText()), this);
        file_->setObjectName(ControlName("edit", PartCoordsDialogModel::kFileEdit));
        file_->setMinimumWidth(280);
        auto* browse = new QPushButton(UiText(kPartCoordsBrowseButton), this);
        browse->setObjectName(ControlName("button", PartCoordsDialogModel::kBrowseButton));
        browse->setAutoDefault(false);
        origin_ = new QCheckBox(UiText(kPartCoordsOriginBox), this);
        origin_->setObjectName(ControlName("check", PartCoordsDialogModel::kOriginBox));
        mirror_ = new QCheckBox(UiText(kPartCoordsMirrorBox), this);
        mirror_->setObjectName(ControlName("check", PartCoordsDialogModel::kMirrorBox));
        grid->addWidget(new QLabel(UiText(kPartCoordsFileLabel), this), 0, 0);
        grid->addWidget(file_, 0, 1);
        grid->addWidget(browse, 0, 2);
        grid->addWidget(origin_, 1, 1);
        grid->addWidget(mirror_, 2, 1);
        auto* buttons = new QHBoxLayout;
        auto* ok = new QPushButton(UiText(kOutputButton), this);
        ok->setObjectName("button1");
        ok->setDefault(true);
        auto* cancel = new QPushButton(UiText(kOutputCancelButton), this);
        cancel->setObjectName("button2");
        cancel->setAutoDefault(false);
        buttons->addStretch();
        buttons->addWidget(ok);
        buttons->addWidget(cancel);
        grid->addLayout(buttons, 3, 0, 1, 3);
        refresh();

        connect(file_, &QLineEdit::textChanged, this,
                [this](const QString& t) { model_.editFile(Us(t)); });
        connect(browse, &QPushButton::clicked, this, [this] {
            const QString chosen = QFileDialog::getSaveFileName(
                this, UiText(kPartCoordsSaveTitle), Qs(PathToUtf8(model_.browseStart())),
                UiText(kPartCoordsSaveFilter));
            model_.chooseFile(PathFromUtf8(Us(chosen)));
            file_->setText(Qs(model_.fileText()));
        });
        connect(origin_, &QCheckBox::toggled, this, [this](bool on) {
            model_.setFromOrigin(on);
            refresh();
        });
        connect(mirror_, &QCheckBox::toggled, this, [this](bool on) {
            model_.setMirrorX(on);
            refresh();
        });
        connect(ok, &QPushButton::clicked, this, [this] {
            if (!model_.pressOutput()) {
                QApplication::beep();
                file_->setFocus();
                return;
            }
            accept();
        });
        connect(cancel, &QPushButton::clicked, this, &QDialog::reject);
    }

  private:
    void refresh() {
        const QSignalBlocker b1(origin_), b2(mirror_);
        origin_->setChecked(model_.fromOrigin());
        mirror_->setChecked(model_.mirrorX());
        mirror_->setEnabled(model_.mirrorEnabled());
    }

    PartCoordsDialogModel& model_;
    QLineEdit* file_;
    QCheckBox* origin_;
    QCheckBox* mirror_;
};

}  // namespace

bool RunPartCoordsDialog(QWidget* parent, PartCoordsDialogModel& model) {
    PartCoordsDialog dialog(model, parent);
    if (dialog.exec() == QDialog::Accepted) return true;
    model.pressCancel();
    return false;
}

}  // namespace zevo
