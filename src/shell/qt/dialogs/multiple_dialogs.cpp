#include "shell/qt/dialogs/multiple_dialogs.h"

#include <QCheckBox>
#include <QComboBox>
#include <QFormLayout>
#include <QHBoxLayout>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QRadioButton>
#include <QVBoxLayout>

#include "shell/qt/dialogs/dialog_support.h"
#include "text/cp932.h"
#include "tools/multiple_dialogs.h"

namespace zevo {

bool RunMultipleSettingsDialog(QWidget* parent, MultipleSettingsModel& m) {
    QDialog d(parent);
    d.setWindowTitle(T("複数 設定"));
    auto* box = new QVBoxLayout(&d);
    auto* r1 = new QRadioButton(T("選択(シフトを押しながら最後を解除)"), &d);
    auto* r2 = new QRadioButton(T("左クリックで解除"), &d);
    r1->setObjectName(ControlName("radio", 101));
    r2->setObjectName(ControlName("radio", 102));
    (m.clickDeselects ? r2 : r1)->setChecked(true);
    box->addWidget(r1);
    box->addWidget(r2);
    AddDecideCancel(d, *box);
    if (d.exec() != QDialog::Accepted) return false;
    m.clickDeselects = r2->isChecked();
    return true;
}

bool RunGroupSettingsDialog(QWidget* parent, GroupSettingsModel& m) {
    using Choice = GroupSettingsModel::Choice;
    QDialog d(parent);
    d.setWindowTitle(T("グループ設定"));
    auto* box = new QVBoxLayout(&d);
    m.choice = Choice::kCancel;
    auto add = [&](const QString& text, int id, Choice choice, bool isDefault) {
        auto* b = ControlButton(&d, text, id, isDefault);
        box->addWidget(b);
        QObject::connect(b, &QPushButton::clicked, &d, [&m, &d, choice] {
            m.choice = choice;
            d.accept();
        });
    };
    add(T("結合"), 101, Choice::kJoin, true);
    add(T("分解"), 102, Choice::kSplit, false);
    add(T("部品登録"), 103, Choice::kRegister, false);
    add(T("部品面反転"), 104, Choice::kTurnOver, false);
    auto* cancel = ControlButton(&d, T("取消"), 2);
    box->addWidget(cancel);
    QObject::connect(cancel, &QPushButton::clicked, &d, &QDialog::reject);
    d.exec();
    return m.choice != Choice::kCancel;
}

bool RunPartRegisterDialog(QWidget* parent, PartRegisterModel& m) {
    QDialog d(parent);
    d.setWindowTitle(T("部品登録"));
    auto* box = new QVBoxLayout(&d);
    auto* form = new QFormLayout;
    auto* library = new QComboBox(&d);
    library->setObjectName(ControlName("combo", 101));
    for (const std::string& l : m.libraries) library->addItem(Qs(Cp932ToUtf8(l)));
    if (m.library >= 0 && m.library < library->count()) library->setCurrentIndex(m.library);
    auto* name = new QLineEdit(Qs(m.name), &d);
    name->setObjectName(ControlName("edit", 102));
    auto* attribute = new QLineEdit(Qs(m.attribute), &d);
    attribute->setObjectName(ControlName("edit", 103));
    form->addRow(T("ライブラリ"), library);
    form->addRow(T("部品名"), name);
    form->addRow(T("アトリビュート"), attribute);
    box->addLayout(form);
    AddDecideCancel(d, *box);
    if (d.exec() != QDialog::Accepted) return false;
    m.library = library->currentIndex();
    m.name = Us(name->text());
    m.attribute = Us(attribute->text());
    return true;
}

namespace {

// The library combo box ("combo101") and the part list ("list102") of "部品入力" and "部品削除":
// the list shows the parts of the library chosen. The entries are file bytes; the list shows
// them as text and keeps the bytes.
QListWidget* AddPartChooser(QDialog& d, QVBoxLayout& box, LibraryPartsModel& m) {
    auto* library = new QComboBox(&d);
    library->setObjectName(ControlName("combo", 101));
    for (const std::string& l : m.libraries) library->addItem(Qs(Cp932ToUtf8(l)));
    auto* parts = new QListWidget(&d);
    parts->setObjectName(ControlName("list", 102));
    auto fill = [library, parts, &m] {
        parts->clear();
        m.library = library->currentIndex();
        for (const std::string& e : m.parts()) {
            auto* item = new QListWidgetItem(Qs(Cp932ToUtf8(e)), parts);
            item->setData(Qt::UserRole, QByteArray(e.data(), qsizetype(e.size())));
        }
    };
    if (m.library >= 0 && m.library < library->count()) library->setCurrentIndex(m.library);
    fill();
    QObject::connect(library, &QComboBox::currentIndexChanged, &d, [fill](int) { fill(); });
    QObject::connect(parts, &QListWidget::itemDoubleClicked, &d, &QDialog::accept);
    box.addWidget(library);
    box.addWidget(parts);
    return parts;
}

// The part chosen in the list into the model; false when none is.
bool TakeChosenPart(QListWidget* parts, LibraryPartsModel& m) {
    if (!parts->currentItem()) return false;
    const QByteArray e = parts->currentItem()->data(Qt::UserRole).toByteArray();
    m.entry.assign(e.constData(), size_t(e.size()));
    return true;
}

}  // namespace

bool RunPartInsertDialog(QWidget* parent, PartInsertModel& m) {
    QDialog d(parent);
    d.setWindowTitle(T("部品入力"));
    auto* box = new QVBoxLayout(&d);
    QListWidget* parts = AddPartChooser(d, *box, m);
    auto* turn = new QCheckBox(T("部品入力面反転"), &d);
    turn->setObjectName(ControlName("check", 103));
    turn->setChecked(m.turnOver);
    box->addWidget(turn);
    AddDecideCancel(d, *box);
    if (d.exec() != QDialog::Accepted || !TakeChosenPart(parts, m)) return false;
    m.turnOver = turn->isChecked();
    return true;
}

bool RunPartDeleteDialog(QWidget* parent, PartDeleteModel& m) {
    QDialog d(parent);
    d.setWindowTitle(T("部品削除"));
    auto* box = new QVBoxLayout(&d);
    QListWidget* parts = AddPartChooser(d, *box, m);
    AddDecideCancel(d, *box);
    return d.exec() == QDialog::Accepted && TakeChosenPart(parts, m);
}

}  // namespace zevo
