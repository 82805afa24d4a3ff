#include "shell/qt/dialogs/line_tool_dialogs.h"

#include <QButtonGroup>
#include <QFormLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QRadioButton>
#include <QVBoxLayout>

#include "board/model/board.h"
#include "shell/qt/dialogs/dialog_support.h"
#include "tools/line_tools.h"

namespace zevo {

namespace {

QRadioButton* Radio(QWidget* parent, QLayout* into, int id, const QString& text, bool on) {
    auto* r = new QRadioButton(text, parent);
    r->setObjectName(ControlName("radio", id));
    r->setChecked(on);
    into->addWidget(r);
    return r;
}

// 決定 and 取消 in a row under the dialog's controls.
std::pair<QPushButton*, QPushButton*> DecideCancel(QDialog& d, QBoxLayout* box) {
    auto* ok = ControlButton(&d, T("決定"), 1, true);
    auto* cancel = ControlButton(&d, T("取消"), 2);
    auto* row = new QHBoxLayout;
    row->addWidget(ok);
    row->addWidget(cancel);
    box->addLayout(row);
    QObject::connect(cancel, &QPushButton::clicked, &d, &QDialog::reject);
    return {ok, cancel};
}

QLineEdit* Field(QWidget* parent, int id, const std::string& text) {
    auto* e = new QLineEdit(Qs(text), parent);
    e->setObjectName(ControlName("edit", id));
    return e;
}

}  // namespace

bool RunParallelSettingsDialog(QWidget* parent, ParallelSettingsModel& m) {
    QDialog d(parent);
    d.setWindowTitle(T("平行線設定"));
    auto* box = new QVBoxLayout(&d);
    auto* click = new QGroupBox(&d);
    auto* clickBox = new QVBoxLayout(click);
    Radio(&d, clickBox, 101, T("平行線(シフトを押しながら中間線)"), !m.middleByClick);
    auto* middle = Radio(&d, clickBox, 102, T("左クリックで中間線"), m.middleByClick);
    box->addWidget(click);
    auto* kind = new QGroupBox(&d);
    auto* kindBox = new QVBoxLayout(kind);
    Radio(&d, kindBox, 103, T("区間を選択"), !m.singleLineParallel);
    auto* single = Radio(&d, kindBox, 104, T("単一ライン選択"), m.singleLineParallel);
    box->addWidget(kind);
    auto* list = new QListWidget(&d);
    list->setObjectName("list101");
    for (int n = 0; n < kApertures; ++n) list->addItem(Qs(m.entry(n)));
    list->setCurrentRow(m.aperture);
    box->addWidget(list);
    auto [ok, cancel] = DecideCancel(d, box);
    (void)cancel;
    QObject::connect(ok, &QPushButton::clicked, &d, &QDialog::accept);
    d.resize(320, 420);
    if (d.exec() != QDialog::Accepted) return false;
    m.middleByClick = middle->isChecked();
    m.singleLineParallel = single->isChecked();
    if (list->currentRow() >= 0) m.aperture = list->currentRow();
    return true;
}

bool RunLineSetInputDialog(QWidget* parent, LineSetInputModel& m, bool keypad) {
    NumericDialog d(parent, keypad);
    d.setWindowTitle(T("平行線／中間線入力"));
    auto* box = new QVBoxLayout(&d);
    auto* form = new QFormLayout;
    auto* spacing = Field(&d, LineSetInputModel::kFieldSpacing, m.spacing);
    auto* length = Field(&d, LineSetInputModel::kFieldLength, m.length);
    auto* count = Field(&d, LineSetInputModel::kFieldCount, m.count);
    length->setEnabled(m.lengthEnabled());
    form->addRow(T("間隔"), spacing);
    form->addRow(T("長さ"), length);
    form->addRow(T("本数"), count);
    box->addLayout(form);
    auto [ok, cancel] = DecideCancel(d, box);
    (void)cancel;
    QObject::connect(ok, &QPushButton::clicked, &d, [&] {
        m.spacing = Us(spacing->text()), m.length = Us(length->text()), m.count = Us(count->text());
        if (const auto err = m.decide()) {
            ShowCalcError(&d, d.findChild<QLineEdit*>(ControlName("edit", err->control)));
            return;
        }
        d.accept();
    });
    return d.exec() == QDialog::Accepted && m.decided();
}

bool RunConnectSettingsDialog(QWidget* parent, ConnectSettingsModel& m) {
    QDialog d(parent);
    d.setWindowTitle(T("接続／伸縮／分割／角取 設定"));
    auto* box = new QVBoxLayout(&d);
    using Click = ConnectSettingsModel::Click;
    auto* connect =
        Radio(&d, box, 101, T("接続(キーを押しながら伸縮／分割)"), m.click == Click::kConnect);
    auto* stretch = Radio(&d, box, 102, T("左クリックで伸縮"), m.click == Click::kStretch);
    Radio(&d, box, 103, T("左クリックで分割"), m.click == Click::kSplit);
    auto [ok, cancel] = DecideCancel(d, box);
    (void)cancel;
    QObject::connect(ok, &QPushButton::clicked, &d, &QDialog::accept);
    if (d.exec() != QDialog::Accepted) return false;
    m.click = connect->isChecked()   ? Click::kConnect
              : stretch->isChecked() ? Click::kStretch
                                     : Click::kSplit;
    return true;
}

bool RunChamferRadiusDialog(QWidget* parent, ChamferRadiusModel& m, bool keypad) {
    NumericDialog d(parent, keypad);
    d.setWindowTitle(T("間隔入力"));
    auto* box = new QVBoxLayout(&d);
    auto* form = new QFormLayout;
    auto* radius = Field(&d, ChamferRadiusModel::kFieldRadius, m.radius);
    form->addRow(T("間隔"), radius);
    box->addLayout(form);
    auto [ok, cancel] = DecideCancel(d, box);
    (void)cancel;
    QObject::connect(ok, &QPushButton::clicked, &d, [&] {
        m.radius = Us(radius->text());
        if (m.decide()) {
            ShowCalcError(&d, radius);
            return;
        }
        d.accept();
    });
    return d.exec() == QDialog::Accepted && m.decided();
}

}  // namespace zevo
