#include "shell/qt/dialogs/view_tool_dialogs.h"

#include <QDialog>
#include <QFormLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QVBoxLayout>

#include "shell/qt/dialogs/dialog_support.h"
#include "tools/display_tools.h"

namespace zevo {

namespace {

QGroupBox* Pair(QDialog& d, const QString& title, int firstId, const std::string& x,
                const std::string& y) {
    auto* box = new QGroupBox(title, &d);
    auto* form = new QFormLayout(box);
    int id = firstId;
    for (auto [label, text] : {std::pair{T("Ｘ"), &x}, {T("Ｙ"), &y}}) {
        auto* edit = new QLineEdit(Qs(*text), box);
        edit->setObjectName(ControlName("edit", id++));
        edit->setReadOnly(true);
        form->addRow(label, edit);
    }
    return box;
}

}  // namespace

bool RunCoordinateDisplayDialog(QWidget* parent, CoordinateDisplayModel& m) {
    QDialog d(parent);
    d.setObjectName("dialog168");
    d.setWindowTitle(T("座標表示"));
    auto* box = new QVBoxLayout(&d);
    QGroupBox* absolute = Pair(d, T("絶対座標"), 101, m.absX, m.absY);
    QGroupBox* relative = Pair(d, T("原点相対"), 103, m.relX, m.relY);
    if (m.relativeFirst) std::swap(absolute, relative);
    box->addWidget(absolute);
    box->addWidget(relative);
    auto* ok = ControlButton(&d, T("了解"), 1, true);
    box->addWidget(ok);
    QObject::connect(ok, &QPushButton::clicked, &d, &QDialog::accept);
    d.exec();
    return true;
}

bool RunCoordinateReferenceDialog(QWidget* parent, CoordinateReferenceModel& m) {
    QDialog d(parent);
    d.setObjectName("dialog162");
    d.setWindowTitle(T("基準座標設定"));
    auto* box = new QVBoxLayout(&d);
    auto* relative = new QRadioButton(T("グリッド原点相対"), &d);
    relative->setObjectName("radio101");
    auto* absolute = new QRadioButton(T("絶対座標"), &d);
    absolute->setObjectName("radio102");
    (m.relative ? relative : absolute)->setChecked(true);
    box->addWidget(relative);
    box->addWidget(absolute);
    AddDecideCancel(d, *box);
    if (d.exec() != QDialog::Accepted) return false;
    m.relative = relative->isChecked();
    return true;
}

}  // namespace zevo
