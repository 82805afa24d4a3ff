#include "shell/qt/dialogs/print_dialogs.h"

#include <QApplication>
#include <QCheckBox>
#include <QContextMenuEvent>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QMenu>
#include <QPushButton>
#include <QVBoxLayout>

#include "shell/dialogs/print_dialog.h"
#include "shell/qt/dialogs/dialog_support.h"
#include "shell/qt/dialogs/numeric_keypad.h"

namespace zevo {

namespace {

class PrintDialog : public NumericDialog {
  public:
    PrintDialog(PrintDialogModel& model, QWidget* parent, bool withKeypad)
        : NumericDialog(parent, withKeypad), model_(model) {
        setObjectName("dialog156");
        setWindowTitle(UiText(kPrintDialogTitle));
        auto* grid = new QGridLayout(this);
        auto addField = [&](int row, std::string_view label, int id, const std::string& text) {
            auto* edit = new QLineEdit(Qs(text), this);
            edit->setObjectName(ControlName("edit", id));
            edit->setMaxLength(PrintDialogModel::kFieldMax);
            grid->addWidget(new QLabel(UiText(label), this), row, 0);
            grid->addWidget(edit, row, 1);
            return edit;
        };
        offsetX_ =
            addField(0, kPrintOffsetXLabel, PrintDialogModel::kOffsetXEdit, model_.offsetXText());
        offsetY_ =
            addField(1, kPrintOffsetYLabel, PrintDialogModel::kOffsetYEdit, model_.offsetYText());
        magnification_ = addField(2, kPrintMagnificationLabel, PrintDialogModel::kMagnificationEdit,
                                  model_.magnificationText());
        auto* mirror = new QCheckBox(UiText(kPrintMirrorCheck), this);
        mirror->setObjectName(ControlName("check", PrintDialogModel::kMirrorCheckBox));
        mirror->setChecked(model_.mirror());
        auto* negative = new QCheckBox(UiText(kPrintNegativeCheck), this);
        negative->setObjectName(ControlName("check", PrintDialogModel::kNegativeCheckBox));
        negative->setChecked(model_.negative());
        negative->setEnabled(model_.negativeEnabled());
        grid->addWidget(mirror, 3, 0, 1, 2);
        grid->addWidget(negative, 4, 0, 1, 2);

        auto* side = new QHBoxLayout;
        auto* printer =
            ControlButton(this, UiText(kPrintPrinterButton), PrintDialogModel::kPrinterButton);
        auto* layers =
            ControlButton(this, UiText(kPrintLayersButton), PrintDialogModel::kLayersButton);
        side->addWidget(printer);
        side->addWidget(layers);
        grid->addLayout(side, 5, 0, 1, 2);
        auto* buttons = new QHBoxLayout;
        auto* print = ControlButton(this, UiText(kPrintButton), 1, true);
        auto* cancel = ControlButton(this, UiText(kPrintCancelButton), 2);
        buttons->addStretch();
        buttons->addWidget(print);
        buttons->addWidget(cancel);
        grid->addLayout(buttons, 6, 0, 1, 2);

        connect(offsetX_, &QLineEdit::textChanged, this,
                [this](const QString& t) { model_.editOffsetX(Us(t)); });
        connect(offsetY_, &QLineEdit::textChanged, this,
                [this](const QString& t) { model_.editOffsetY(Us(t)); });
        connect(magnification_, &QLineEdit::textChanged, this,
                [this](const QString& t) { model_.editMagnification(Us(t)); });
        connect(mirror, &QCheckBox::toggled, this, [this](bool on) { model_.setMirror(on); });
        connect(negative, &QCheckBox::toggled, this, [this](bool on) { model_.setNegative(on); });
        connect(printer, &QPushButton::clicked, this, [this] { model_.pressPrinterSetup(); });
        connect(layers, &QPushButton::clicked, this, [this] {
            // The key pad stays out of the way while the layer dialog is open.
            const bool pad = keypad() && keypad()->isVisible();
            if (pad) keypad()->hide();
            model_.pressLayers();
            if (pad) keypad()->show();
        });
        connect(print, &QPushButton::clicked, this, [this] {
            const FieldResult r = model_.pressPrint();
            if (r.calcError()) {
                ShowCalcError(this, field(r.control));
                return;
            }
            accept();
        });
        connect(cancel, &QPushButton::clicked, this, &QDialog::reject);
    }

  protected:
    void contextMenuEvent(QContextMenuEvent* e) override {
        QMenu menu(this);
        menu.setObjectName("printMenu");
        for (const PrintDialogModel::MenuLine& line : model_.contextMenu()) {
            if (line.separatorBefore) menu.addSeparator();
            QAction* a = menu.addAction(UiText(line.text));
            a->setEnabled(line.enabled);
            a->setData(int(line.item));
        }
        QAction* chosen = menu.exec(e->globalPos());
        if (!chosen) return;
        if (!model_.chooseMenu(PrintDialogModel::MenuItem(chosen->data().toInt())))
            QApplication::beep();
    }

  private:
    QLineEdit* field(int id) const {
        switch (id) {
            case PrintDialogModel::kOffsetYEdit:
                return offsetY_;
            case PrintDialogModel::kMagnificationEdit:
                return magnification_;
            default:
                return offsetX_;
        }
    }

    PrintDialogModel& model_;
    QLineEdit *offsetX_, *offsetY_, *magnification_;
};

class PrintLayerDialog : public QDialog {
  public:
    PrintLayerDialog(PrintLayerDialogModel& model, QWidget* parent)
        : QDialog(parent), model_(model) {
        setObjectName("dialog187");
        setWindowTitle(UiText(kPrintLayerDialogTitle));
        auto* grid = new QGridLayout(this);
        printed_ = new QListWidget(this);
        printed_->setObjectName(ControlName("list", PrintLayerDialogModel::kPrintedList));
        all_ = new QListWidget(this);
        all_->setObjectName(ControlName("list", PrintLayerDialogModel::kAllList));
        for (QListWidget* l : {printed_, all_}) {
            l->setSelectionMode(QAbstractItemView::ExtendedSelection);
            l->setMinimumWidth(180);
        }
        grid->addWidget(new QLabel(UiText(kPrintLayerPrintedLabel), this), 0, 0);
        grid->addWidget(new QLabel(UiText(kPrintLayerAllLabel), this), 0, 2);
        grid->addWidget(printed_, 1, 0);
        grid->addWidget(all_, 1, 2);
        auto* middle = new QVBoxLayout;
        auto* add =
            ControlButton(this, UiText(kPrintLayerAddButton), PrintLayerDialogModel::kAddButton);
        auto* remove = ControlButton(this, UiText(kPrintLayerRemoveButton),
                                     PrintLayerDialogModel::kRemoveButton);
        middle->addStretch();
        middle->addWidget(add);
        middle->addWidget(remove);
        middle->addStretch();
        grid->addLayout(middle, 1, 1);
        auto* buttons = new QHBoxLayout;
        auto* ok = ControlButton(this, UiText(kPrintLayerOkButton), 1, true);
        auto* cancel = ControlButton(this, UiText(kPrintLayerCancelButton), 2);
        buttons->addStretch();
        buttons->addWidget(ok);
        buttons->addWidget(cancel);
        grid->addLayout(buttons, 2, 0, 1, 3);
        fill();
        connect(add, &QPushButton::clicked, this, [this] { move(all_, true); });
        connect(remove, &QPushButton::clicked, this, [this] { move(printed_, false); });
        connect(all_, &QListWidget::itemDoubleClicked, this, [this] { move(all_, true); });
        connect(printed_, &QListWidget::itemDoubleClicked, this, [this] { move(printed_, false); });
        connect(ok, &QPushButton::clicked, this, &QDialog::accept);
        connect(cancel, &QPushButton::clicked, this, &QDialog::reject);
    }

  private:
    void fill() {
        auto put = [this](QListWidget* list, const std::vector<int>& layers) {
            list->clear();
            for (int l : layers) {
                auto* item = new QListWidgetItem(UiText(model_.caption(l)), list);
                item->setData(Qt::UserRole, l);
            }
        };
        put(printed_, model_.printed());
        put(all_, model_.others());
    }
    void move(QListWidget* from, bool toPrinted) {
        for (QListWidgetItem* item : from->selectedItems()) {
            const int layer = item->data(Qt::UserRole).toInt();
            if (toPrinted)
                model_.add(layer);
            else
                model_.remove(layer);
        }
        fill();
    }

    PrintLayerDialogModel& model_;
    QListWidget *printed_, *all_;
};

}  // namespace

bool RunPrintDialog(QWidget* parent, PrintDialogModel& model, bool keypad) {
    PrintDialog dialog(model, parent, keypad);
    return dialog.exec() == QDialog::Accepted;
}

bool RunPrintLayerDialog(QWidget* parent, PrintLayerDialogModel& model) {
    PrintLayerDialog dialog(model, parent);
    return dialog.exec() == QDialog::Accepted;
}

}  // namespace zevo
