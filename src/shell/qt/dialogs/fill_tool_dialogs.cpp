#include "shell/qt/dialogs/fill_tool_dialogs.h"

#include <QDialog>
#include <QHBoxLayout>
#include <QPushButton>
#include <QRadioButton>
#include <QVBoxLayout>

#include "shell/qt/dialogs/dialog_support.h"
#include "tools/fill_tool.h"

namespace zevo {

bool RunFillSettingsDialog(QWidget* parent, FillSettingsModel& m) {
    QDialog d(parent);
    d.setWindowTitle(T("塗潰し／解除／窓抜き 設定"));
    auto* box = new QVBoxLayout(&d);
    using Click = FillSettingsModel::Click;
    auto radio = [&](int id, const QString& text, bool on) {
        auto* r = new QRadioButton(text, &d);
        r->setObjectName(ControlName("radio", id));
        r->setChecked(on);
        box->addWidget(r);
        return r;
    };
    auto* fill = radio(101, T("塗潰し(キーを押しながら解除/窓抜き)"), m.click == Click::kFill);
    auto* unfill = radio(102, T("塗潰し解除"), m.click == Click::kUnfill);
    radio(103, T("窓抜き"), m.click == Click::kWindow);
    auto* ok = ControlButton(&d, T("決定"), 1, true);
    auto* cancel = ControlButton(&d, T("取消"), 2);
    auto* row = new QHBoxLayout;
    row->addWidget(ok);
    row->addWidget(cancel);
    box->addLayout(row);
    QObject::connect(ok, &QPushButton::clicked, &d, &QDialog::accept);
    QObject::connect(cancel, &QPushButton::clicked, &d, &QDialog::reject);
    if (d.exec() != QDialog::Accepted) return false;
    m.click = fill->isChecked()     ? Click::kFill
              : unfill->isChecked() ? Click::kUnfill
                                    : Click::kWindow;
    return true;
}

}  // namespace zevo
