#include "shell/qt/dialogs/drawing_dialogs.h"

#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QFormLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QMessageBox>
#include <QPushButton>
#include <QRadioButton>
#include <QVBoxLayout>
#include <utility>

#include "board/model/board.h"
#include "shell/qt/dialogs/dialog_support.h"
#include "tools/delete_tool.h"
#include "tools/drawing_dialogs.h"
#include "tools/measure_tool.h"

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

}  // namespace

void RunLayerSelectDialog(QWidget* parent, LayerSelectModel& m) {
    QDialog d(parent);
    d.setWindowTitle(T("レイヤー選択"));
    auto* box = new QVBoxLayout(&d);
    auto* list = new QListWidget(&d);
    list->setObjectName("list101");
    for (size_t i = 0; i < m.layers().size(); ++i) list->addItem(UiText(m.caption(i)));
    list->setCurrentRow(m.selectedIndex());
    box->addWidget(list);
    // A click, or Return on the highlighted row, chooses it.
    auto choose = [&](QListWidgetItem* item) {
        m.choose(size_t(list->row(item)));
        d.accept();
    };
    QObject::connect(list, &QListWidget::itemClicked, &d, choose);
    QObject::connect(list, &QListWidget::itemActivated, &d, choose);
    d.resize(260, 360);
    d.exec();
}

void RunApertureSelectDialog(QWidget* parent, ApertureSelectModel& m, bool keypad) {
    NumericDialog d(parent, keypad && m.tool() == ApertureTool::kSquareLand);
    d.setWindowTitle(UiText(m.title()));
    auto* box = new QVBoxLayout(&d);
    auto* list = new QListWidget(&d);
    list->setObjectName("list101");
    auto fill = [&] {
        list->clear();
        for (int n = 0; n < kApertures; ++n) list->addItem(Qs(m.entry(n)));
        list->setCurrentRow(m.selected());
    };
    fill();
    box->addWidget(list);
    QLineEdit *dx = nullptr, *dy = nullptr, *angle = nullptr;
    auto check = [&](int id, const QString& text, bool on, bool enabled, auto set) {
        auto* c = new QCheckBox(text, &d);
        c->setObjectName(ControlName("check", id));
        c->setChecked(on);
        c->setEnabled(enabled);
        QObject::connect(c, &QCheckBox::toggled, &d, set);
        box->addWidget(c);
        return c;
    };
    auto radios = [&](int id, const QString& a, const QString& b, bool second, auto set) {
        auto* r1 = new QRadioButton(a, &d);
        auto* r2 = new QRadioButton(b, &d);
        r1->setObjectName(ControlName("radio", id));
        r2->setObjectName(ControlName("radio", id + 1));
        (second ? r2 : r1)->setChecked(true);
        QObject::connect(r2, &QRadioButton::toggled, &d, set);
        box->addWidget(r1);
        box->addWidget(r2);
    };
    switch (m.tool()) {
        case ApertureTool::kLine: {
            radios(110, T("シフトを押しながらで８方向"), T("８方向"), m.eightAlways(),
                   [&](bool on) { m.setEightAlways(on); });
            check(112, T("角ライン"), m.squareLine(), m.squareLineEnabled(), [&](bool on) {
                m.setSquareLine(on);
                fill();
            });
            check(113, T("クリック点に作画"), m.clickPoint(), true,
                  [&](bool on) { m.setClickPoint(on); });
            break;
        }
        case ApertureTool::kSquareLand: {
            auto* form = new QFormLayout;
            dx = Field(&d, ApertureSelectModel::kFieldDx, m.dx);
            dy = Field(&d, ApertureSelectModel::kFieldDy, m.dy);
            angle = Field(&d, ApertureSelectModel::kFieldAngle, m.angle);
            form->addRow(T("Ｘ："), dx);
            form->addRow(T("Ｙ："), dy);
            form->addRow(T("角度"), angle);
            auto show = [=](bool on) {
                for (QLineEdit* e : {dx, dy, angle}) {
                    e->setVisible(on);
                    if (QWidget* l = form->labelForField(e)) l->setVisible(on);
                }
            };
            radios(110, T("正方形ランド"), T("四角形"), m.rectangle(), [&m, show](bool on) {
                m.setRectangle(on);
                show(on);
            });
            box->addLayout(form);
            show(m.rectangle());
            break;
        }
        case ApertureTool::kArc:
            radios(110, T("中心/始点/終点 入力"), T("左クリックで其々入力"), m.byClicks(),
                   [&](bool on) { m.setByClicks(on); });
            break;
        default:
            break;
    }
    auto finish = [&]() {
        if (dx) m.dx = Us(dx->text()), m.dy = Us(dy->text()), m.angle = Us(angle->text());
        if (const auto e = m.close()) {
            ShowCalcError(&d, FieldById(d, e->control));
            return false;
        }
        return true;
    };
    auto chooseRow = [&](int n) {
        if (!finish()) return;
        m.choose(n);
        d.accept();
    };
    // A click, or Return on the highlighted row, chooses it.
    QObject::connect(list, &QListWidget::itemClicked, &d,
                     [&](QListWidgetItem* item) { chooseRow(list->row(item)); });
    QObject::connect(list, &QListWidget::itemActivated, &d,
                     [&](QListWidgetItem* item) { chooseRow(list->row(item)); });
    auto* ok = ControlButton(&d, T("決定"), 1);
    box->addWidget(ok);
    // 決定 takes the highlighted row (moved there with the arrow keys, say).
    QObject::connect(ok, &QPushButton::clicked, &d, [&] {
        const int n = list->currentRow();
        if (n >= 0 && n != m.selected())
            chooseRow(n);
        else if (finish())
            d.accept();
    });
    d.resize(300, 440);
    d.exec();
    if (!m.closed()) {
        if (dx) m.dx = Us(dx->text()), m.dy = Us(dy->text()), m.angle = Us(angle->text());
        m.close();
    }
}

void RunPadSelectDialog(QWidget* parent, PadSelectModel& m) {
    QDialog d(parent);
    d.setWindowTitle(T("パッド選択"));
    auto* box = new QVBoxLayout(&d);
    auto* heading = new QLabel(&d);
    heading->setObjectName("static101");
    auto* list = new QListWidget(&d);
    list->setObjectName("list101");
    auto show = [&] {
        heading->setText(UiText(m.heading()));
        list->clear();
        for (const std::string& p : m.pairs()) list->addItem(Qs(p));
    };
    show();
    box->addWidget(heading);
    box->addWidget(list);
    auto* row = new QHBoxLayout;
    auto* prev = ControlButton(&d, "<<", 106);
    auto* next = ControlButton(&d, ">>", 107);
    auto* ok = ControlButton(&d, T("決定"), 1);
    auto* cancel = ControlButton(&d, T("取消"), 2);
    for (QPushButton* b : {prev, next, ok, cancel}) row->addWidget(b);
    box->addLayout(row);
    QObject::connect(prev, &QPushButton::clicked, &d, [&] { m.previous(), show(); });
    QObject::connect(next, &QPushButton::clicked, &d, [&] { m.next(), show(); });
    QObject::connect(ok, &QPushButton::clicked, &d, [&] { m.accept(), d.accept(); });
    QObject::connect(cancel, &QPushButton::clicked, &d, &QDialog::reject);
    d.exec();
}

bool RunSpacingResultDialog(QWidget* parent, SpacingResultModel& m) {
    QDialog d(parent);
    d.setObjectName("dialog167");
    d.setWindowTitle(T("間隔表示"));
    auto* form = new QFormLayout(&d);
    int id = 101;
    for (auto [label, text] :
         {std::pair{T("⊿Ｘ"), &m.dx}, {T("⊿Ｙ"), &m.dy}, {T("間隔"), &m.distance}}) {
        auto* edit = new QLineEdit(Qs(*text), &d);
        edit->setObjectName(ControlName("edit", id++));
        edit->setReadOnly(true);
        form->addRow(label, edit);
    }
    auto* ok = ControlButton(&d, T("了解"), 1, true);
    form->addRow(ok);
    QObject::connect(ok, &QPushButton::clicked, &d, &QDialog::accept);
    d.exec();
    return true;
}

bool RunDeleteSettingsDialog(QWidget* parent, DeleteSettingsModel& m) {
    QDialog d(parent);
    d.setWindowTitle(T("削除設定"));
    auto* box = new QVBoxLayout(&d);
    auto* check = new QCheckBox(T("クリックで削除"), &d);
    check->setObjectName("check101");
    check->setChecked(m.deleteOnClick);
    box->addWidget(check);
    AddDecideCancel(d, *box);
    if (d.exec() != QDialog::Accepted) return false;
    m.deleteOnClick = check->isChecked();
    return true;
}

void RunArcDialog(QWidget* parent, ArcDialogModel& m, bool keypad) {
    NumericDialog d(parent, keypad);
    d.setWindowTitle(T("円弧入力"));
    auto* box = new QVBoxLayout(&d);
    auto* form = new QFormLayout;
    auto* r = Field(&d, ArcDialogModel::kFieldRadius, m.radius);
    auto* s = Field(&d, ArcDialogModel::kFieldStart, m.start);
    auto* e = Field(&d, ArcDialogModel::kFieldEnd, m.end);
    form->addRow(T("半径"), r);
    form->addRow(T("開始角度"), s);
    form->addRow(T("終了角度"), e);
    box->addLayout(form);
    auto* ok = ControlButton(&d, T("決定"), 1);
    auto* cancel = ControlButton(&d, T("取消"), 2);
    ok->setDefault(true);
    auto* row = new QHBoxLayout;
    row->addWidget(ok);
    row->addWidget(cancel);
    box->addLayout(row);
    QObject::connect(ok, &QPushButton::clicked, &d, [&] {
        m.radius = Us(r->text()), m.start = Us(s->text()), m.end = Us(e->text());
        if (const auto err = m.decide()) {
            ShowCalcError(&d, FieldById(d, err->control));
            return;
        }
        d.accept();
    });
    QObject::connect(cancel, &QPushButton::clicked, &d, &QDialog::reject);
    d.exec();
}

// What 決定 of a text dialog does with the model's verdict.
void AnswerTextDecision(QDialog& d, const TextDialogModel::Result& r) {
    switch (r.outcome) {
        case TextDialogModel::Outcome::kDecided:
            d.accept();
            return;
        case TextDialogModel::Outcome::kCalcError:
            ShowCalcError(&d, FieldById(d, r.control));
            return;
        case TextDialogModel::Outcome::kMissingGlyphs:
            QMessageBox::warning(&d, "Zevo", UiText(r.message));
            return;
        case TextDialogModel::Outcome::kRefused:
            QApplication::beep();
            return;
        case TextDialogModel::Outcome::kRefusedSilently:
            return;
    }
}

void RunTextDialog(QWidget* parent, TextDialogModel& m, bool keypad) {
    NumericDialog d(parent, keypad);
    d.setWindowTitle(T("文字列入力"));
    auto* box = new QVBoxLayout(&d);
    auto* form = new QFormLayout;
    auto* text = Field(&d, TextDialogModel::kFieldText, m.text);
    auto* aperture = new QComboBox(&d);
    aperture->setObjectName("combo102");
    for (int n = 0; n < kApertures; ++n) aperture->addItem(Qs(m.apertureEntry(n)));
    aperture->setCurrentIndex(m.aperture);
    auto* height = Field(&d, TextDialogModel::kFieldHeight, m.height);
    auto* pitch = Field(&d, TextDialogModel::kFieldPitch, m.pitch);
    auto* angle = Field(&d, TextDialogModel::kFieldAngle, m.angle);
    auto* mirror = new QCheckBox(T("左右反転"), &d);
    mirror->setObjectName("check106");
    mirror->setChecked(m.mirror);
    form->addRow(T("文字列"), text);
    form->addRow(T("アパーチャ"), aperture);
    form->addRow(T("高さ"), height);
    form->addRow(T("ﾋﾟｯﾁ"), pitch);
    form->addRow(T("角度"), angle);
    box->addLayout(form);
    box->addWidget(mirror);
    auto* ok = ControlButton(&d, T("決定"), 1);
    auto* cancel = ControlButton(&d, T("取消"), 2);
    ok->setDefault(true);
    auto* row = new QHBoxLayout;
    row->addWidget(ok);
    row->addWidget(cancel);
    box->addLayout(row);
    QObject::connect(ok, &QPushButton::clicked, &d, [&] {
        m.text = Us(text->text());
        m.aperture = aperture->currentIndex();
        m.height = Us(height->text()), m.pitch = Us(pitch->text()), m.angle = Us(angle->text());
        m.mirror = mirror->isChecked();
        AnswerTextDecision(d, m.decide());
    });
    QObject::connect(cancel, &QPushButton::clicked, &d, &QDialog::reject);
    d.exec();
}

void RunNumericInputDialog(QWidget* parent, NumericInputModel& m, bool keypad) {
    NumericDialog d(parent, keypad);
    d.setWindowTitle(T("数値入力"));
    auto* box = new QVBoxLayout(&d);
    auto* form = new QFormLayout;
    auto* x = Field(&d, NumericInputModel::kFieldX, m.x);
    auto* y = Field(&d, NumericInputModel::kFieldY, m.y);
    form->addRow("X", x);
    form->addRow("Y", y);
    box->addLayout(form);
    auto* row = new QHBoxLayout;
    auto* relative = ControlButton(&d, T("相対"), 103);
    auto* origin = ControlButton(&d, T("原点"), 104);
    auto* absolute = ControlButton(&d, T("絶対"), 105);
    relative->setEnabled(m.relativeEnabled());
    (m.defaultButton() == NumericInputModel::Button::kRelative ? relative : absolute)
        ->setDefault(true);
    for (QPushButton* b : {relative, origin, absolute}) row->addWidget(b);
    box->addLayout(row);
    auto press = [&](NumericInputModel::Button b) {
        m.x = Us(x->text()), m.y = Us(y->text());
        if (const auto err = m.press(b)) {
            ShowCalcError(&d, FieldById(d, err->control));
            return;
        }
        if (m.point()) d.accept();
    };
    QObject::connect(relative, &QPushButton::clicked, &d,
                     [&] { press(NumericInputModel::Button::kRelative); });
    QObject::connect(origin, &QPushButton::clicked, &d,
                     [&] { press(NumericInputModel::Button::kOrigin); });
    QObject::connect(absolute, &QPushButton::clicked, &d,
                     [&] { press(NumericInputModel::Button::kAbsolute); });
    x->setFocus();
    d.exec();
}

}  // namespace zevo
