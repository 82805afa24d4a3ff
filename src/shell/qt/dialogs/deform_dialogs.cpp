#include "shell/qt/dialogs/deform_dialogs.h"

#include <QCheckBox>
#include <QFormLayout>
#include <QHBoxLayout>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QVBoxLayout>

#include "shell/qt/dialogs/dialog_support.h"
#include "tools/deform_dialogs.h"

namespace zevo {

namespace {

// Two ways as radio buttons, "任意角の回転" below them, 決定 and 取消. True when 決定 closed it;
// `second` and `anyAngle` then hold the choices.
bool RunSwitches(QWidget* parent, const QString& title, const QString& first,
                 const QString& secondText, bool& second, bool& anyAngle) {
    QDialog d(parent);
    d.setWindowTitle(title);
    auto* box = new QVBoxLayout(&d);
    auto* r1 = new QRadioButton(first, &d);
    auto* r2 = new QRadioButton(secondText, &d);
    r1->setObjectName(ControlName("radio", 101));
    r2->setObjectName(ControlName("radio", 102));
    (second ? r2 : r1)->setChecked(true);
    auto* any = new QCheckBox(T("任意角の回転"), &d);
    any->setObjectName(ControlName("check", 103));
    any->setChecked(anyAngle);
    box->addWidget(r1);
    box->addWidget(r2);
    box->addWidget(any);
    AddDecideCancel(d, *box);
    if (d.exec() != QDialog::Accepted) return false;
    second = r2->isChecked();
    anyAngle = any->isChecked();
    return true;
}

// One numeric field under a label, 決定 and 取消; `decide` reads it (a calculation error keeps
// the window open).
template <class Model>
bool RunOneField(QWidget* parent, bool keypad, const QString& title, const QString& label,
                 std::string& text, Model& m) {
    NumericDialog d(parent, keypad);
    d.setWindowTitle(title);
    auto* box = new QVBoxLayout(&d);
    auto* form = new QFormLayout;
    auto* field = new QLineEdit(Qs(text), &d);
    field->setObjectName(ControlName("edit", 101));
    form->addRow(label, field);
    box->addLayout(form);
    auto* row = new QHBoxLayout;
    auto* ok = ControlButton(&d, T("決定"), 1, true);
    auto* cancel = ControlButton(&d, T("取消"), 2);
    row->addWidget(ok);
    row->addWidget(cancel);
    box->addLayout(row);
    QObject::connect(ok, &QPushButton::clicked, &d, [&] {
        text = Us(field->text());
        if (m.decide()) {
            ShowCalcError(&d, field);
            return;
        }
        d.accept();
    });
    QObject::connect(cancel, &QPushButton::clicked, &d, &QDialog::reject);
    d.exec();
    return m.decided();
}

}  // namespace

bool RunSelectMethodDialog(QWidget* parent, SelectMethodModel& m) {
    return RunSwitches(parent, T("選択方法設定"), T("標準(シフトを押しながら単一要素)"),
                       T("単一要素(部品)選択"), m.singleByDefault, m.anyAngleRotation);
}

bool RunDeformMethodDialog(QWidget* parent, DeformMethodModel& m) {
    return RunSwitches(parent, T("変形方法設定"), T("任意(シフトを押しながら８方向)"), T("８方向"),
                       m.eightAlways, m.anyAngleRotation);
}

bool RunRotationAngleDialog(QWidget* parent, RotationAngleModel& m, bool keypad) {
    return RunOneField(parent, keypad, T("回転角 設定"), T("角度"), m.angle, m);
}

bool RunArcDeformDialog(QWidget* parent, ArcDeformModel& m, bool keypad) {
    return RunOneField(parent, keypad, T("円弧変形入力"), UiText(m.label()), m.value, m);
}

}  // namespace zevo
