#include "shell/qt/dialogs/change_dialogs.h"

#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QFormLayout>
#include <QHBoxLayout>
#include <QLineEdit>
#include <QMessageBox>
#include <QPushButton>
#include <QRadioButton>
#include <QVBoxLayout>
#include <functional>

#include "board/model/board.h"
#include "shell/qt/dialogs/dialog_support.h"
#include "shell/qt/dialogs/drawing_dialogs.h"
#include "tools/change_dialogs.h"

namespace zevo {

namespace {

QLineEdit* Field(QWidget* parent, int id, const std::string& text) {
    auto* e = new QLineEdit(Qs(text), parent);
    e->setObjectName(ControlName("edit", id));
    return e;
}

QLineEdit* FieldById(QDialog& d, int id) {
    return d.findChild<QLineEdit*>(ControlName("edit", id));
}

// The layer list: the entries of `layers`, the current one chosen.
template <class Model>
QComboBox* LayerCombo(QWidget* parent, const Model& m) {
    auto* c = new QComboBox(parent);
    c->setObjectName("combo201");
    const auto& layers = m.layers();
    for (size_t i = 0; i < layers.size(); ++i) {
        c->addItem(UiText(m.layerCaption(i)), layers[i]);
        if (layers[i] == m.layer) c->setCurrentIndex(int(i));
    }
    return c;
}

template <class Model>
QComboBox* ApertureCombo(QWidget* parent, const Model& m) {
    auto* c = new QComboBox(parent);
    c->setObjectName("combo202");
    for (int n = 0; n < kApertures; ++n) c->addItem(Qs(m.apertureEntry(n)));
    c->setCurrentIndex(m.aperture);
    return c;
}

// 決定 runs `decide` (which accepts the window or keeps it open), 取消 rejects.
void DecideRow(QDialog& d, QBoxLayout& box, std::function<void()> decide) {
    auto* ok = ControlButton(&d, T("決定"), 1, true);
    auto* cancel = ControlButton(&d, T("取消"), 2);
    auto* row = new QHBoxLayout;
    row->addWidget(ok);
    row->addWidget(cancel);
    box.addLayout(row);
    QObject::connect(ok, &QPushButton::clicked, &d, std::move(decide));
    QObject::connect(cancel, &QPushButton::clicked, &d, &QDialog::reject);
}

}  // namespace

bool RunElementChangeDialog(QWidget* parent, ElementChangeModel& m) {
    QDialog d(parent);
    d.setWindowTitle(T("変更"));
    auto* box = new QVBoxLayout(&d);
    auto* form = new QFormLayout;
    auto* layer = LayerCombo(&d, m);
    form->addRow(T("レイヤー"), layer);
    QComboBox* aperture = nullptr;
    if (m.hasAperture()) {
        aperture = ApertureCombo(&d, m);
        form->addRow(T("アパーチャ"), aperture);
    }
    box->addLayout(form);
    AddDecideCancel(d, *box);
    if (d.exec() != QDialog::Accepted) return false;
    m.layer = layer->currentData().toInt();
    if (aperture) m.aperture = aperture->currentIndex();
    return true;
}

void RunRectChangeDialog(QWidget* parent, RectChangeModel& m, bool keypad) {
    NumericDialog d(parent, keypad);
    d.setWindowTitle(T("四角形の変更"));
    auto* box = new QVBoxLayout(&d);
    auto* form = new QFormLayout;
    auto* x = Field(&d, RectChangeModel::kFieldX, m.x);
    auto* y = Field(&d, RectChangeModel::kFieldY, m.y);
    auto* angle = Field(&d, RectChangeModel::kFieldAngle, m.angle);
    auto* layer = LayerCombo(&d, m);
    form->addRow(T("Ｘ "), x);
    form->addRow(T("Ｙ "), y);
    form->addRow(T("角度"), angle);
    form->addRow(T("レイヤー"), layer);
    box->addLayout(form);
    DecideRow(d, *box, [&] {
        m.x = Us(x->text()), m.y = Us(y->text()), m.angle = Us(angle->text());
        m.layer = layer->currentData().toInt();
        if (const auto err = m.decide()) return ShowCalcError(&d, FieldById(d, err->control));
        d.accept();
    });
    d.exec();
}

void RunArcChangeDialog(QWidget* parent, ArcChangeModel& m, bool keypad) {
    NumericDialog d(parent, keypad);
    d.setWindowTitle(T("円弧変更"));
    auto* box = new QVBoxLayout(&d);
    auto* form = new QFormLayout;
    auto* r = Field(&d, ArcChangeModel::kFieldRadius, m.radius);
    auto* s = Field(&d, ArcChangeModel::kFieldStart, m.start);
    auto* e = Field(&d, ArcChangeModel::kFieldEnd, m.end);
    auto* layer = LayerCombo(&d, m);
    auto* aperture = ApertureCombo(&d, m);
    form->addRow(T("半径"), r);
    form->addRow(T("開始角度"), s);
    form->addRow(T("終了角度"), e);
    form->addRow(T("レイヤー"), layer);
    form->addRow(T("アパーチャ"), aperture);
    box->addLayout(form);
    DecideRow(d, *box, [&] {
        m.radius = Us(r->text()), m.start = Us(s->text()), m.end = Us(e->text());
        m.layer = layer->currentData().toInt();
        m.aperture = aperture->currentIndex();
        if (const auto err = m.decide()) return ShowCalcError(&d, FieldById(d, err->control));
        d.accept();
    });
    d.exec();
}

void RunTextChangeDialog(QWidget* parent, TextChangeModel& m, bool keypad) {
    NumericDialog d(parent, keypad);
    d.setWindowTitle(T("文字列変更"));
    auto* box = new QVBoxLayout(&d);
    auto* form = new QFormLayout;
    auto* text = Field(&d, TextDialogModel::kFieldText, m.text);
    auto* height = Field(&d, TextDialogModel::kFieldHeight, m.height);
    auto* pitch = Field(&d, TextDialogModel::kFieldPitch, m.pitch);
    auto* angle = Field(&d, TextDialogModel::kFieldAngle, m.angle);
    auto* layer = LayerCombo(&d, m);
    auto* aperture = new QComboBox(&d);
    aperture->setObjectName("combo202");
    for (int n = 0; n < kApertures; ++n) aperture->addItem(Qs(m.apertureEntry(n)));
    aperture->setCurrentIndex(m.aperture);
    form->addRow(T("文字列"), text);
    form->addRow(T("高さ"), height);
    form->addRow(T("ﾋﾟｯﾁ"), pitch);
    form->addRow(T("角度"), angle);
    form->addRow(T("レイヤー"), layer);
    form->addRow(T("アパーチャ"), aperture);
    box->addLayout(form);
    DecideRow(d, *box, [&] {
        m.text = Us(text->text());
        m.height = Us(height->text()), m.pitch = Us(pitch->text()), m.angle = Us(angle->text());
        m.layer = layer->currentData().toInt();
        m.aperture = aperture->currentIndex();
        AnswerTextDecision(d, m.decide());
    });
    d.exec();
}

bool RunPartChangeDialog(QWidget* parent, PartChangeModel& m) {
    QDialog d(parent);
    d.setWindowTitle(T("部品変更"));
    auto* box = new QVBoxLayout(&d);
    auto* form = new QFormLayout;
    auto* reference = Field(&d, 301, m.reference);
    form->addRow(T("部品番号"), reference);
    box->addLayout(form);
    auto* insert = new QCheckBox(T("文字列挿入"), &d);
    insert->setObjectName("check302");
    insert->setChecked(m.insertText);
    auto* turn = new QCheckBox(T("部品面反転"), &d);
    turn->setObjectName("check303");
    turn->setChecked(m.turnOver);
    box->addWidget(insert);
    box->addWidget(turn);
    AddDecideCancel(d, *box);
    if (d.exec() != QDialog::Accepted) return false;
    m.reference = Us(reference->text());
    m.insertText = insert->isChecked();
    m.turnOver = turn->isChecked();
    return true;
}

void RunPinChangeDialog(QWidget* parent, PinChangeModel& m, bool keypad) {
    NumericDialog d(parent, keypad);
    d.setWindowTitle(T("ピン名／ピンＮｏ 変更"));
    auto* box = new QVBoxLayout(&d);
    auto* form = new QFormLayout;
    auto* name = Field(&d, 401, m.name);
    auto* number = Field(&d, PinChangeModel::kFieldNumber, m.number);
    form->addRow(T("ピン名"), name);
    form->addRow(T("ピンNo"), number);
    box->addLayout(form);
    DecideRow(d, *box, [&] {
        m.name = Us(name->text()), m.number = Us(number->text());
        if (const auto err = m.decide()) return ShowCalcError(&d, FieldById(d, err->control));
        d.accept();
    });
    d.exec();
}

void RunDottedLineDialog(QWidget* parent, DottedLineModel& m, bool keypad) {
    NumericDialog d(parent, keypad);
    d.setWindowTitle(T("点線変換"));
    auto* box = new QVBoxLayout(&d);
    auto* form = new QFormLayout;
    auto* dot = Field(&d, DottedLineModel::kFieldDot, m.dot);
    auto* gap = Field(&d, DottedLineModel::kFieldGap, m.gap);
    form->addRow(T("ドット長"), dot);
    form->addRow(T("ドット間"), gap);
    box->addLayout(form);
    DecideRow(d, *box, [&] {
        m.dot = Us(dot->text()), m.gap = Us(gap->text());
        if (const auto err = m.decide()) return ShowCalcError(&d, FieldById(d, err->control));
        d.accept();
    });
    d.exec();
}

bool RunChangeSettingsDialog(QWidget* parent, ChangeSettingsModel& m) {
    QDialog d(parent);
    d.setWindowTitle(T("変更 設定"));
    auto* box = new QVBoxLayout(&d);
    auto* part = new QRadioButton(T("部品番号優先"), &d);
    part->setObjectName("radio501");
    part->setChecked(m.partNumberFirst);
    auto* element = new QRadioButton(T("要素優先"), &d);
    element->setObjectName("radio502");
    element->setChecked(!m.partNumberFirst);
    box->addWidget(part);
    box->addWidget(element);
    AddDecideCancel(d, *box);
    if (d.exec() != QDialog::Accepted) return false;
    m.partNumberFirst = part->isChecked();
    return true;
}

}  // namespace zevo
