// The deform tool's dialogs on the offscreen platform: the radio buttons and the check box of
// the settings, 取消, and the one-field input with its calculation error box.
#include "shell/qt/dialogs/deform_dialogs.h"

#include <QApplication>
#include <QCheckBox>
#include <QLineEdit>
#include <QMessageBox>
#include <QPushButton>
#include <QRadioButton>
#include <QTimer>
#include <QtTest>

#include "tools/deform_dialogs.h"

using namespace zevo;

namespace {

// Runs `act` on the modal dialog once it is up.
void WhenShown(std::function<void(QWidget*)> act) {
    QTimer::singleShot(0, [act] {
        QWidget* d = QApplication::activeModalWidget();
        QVERIFY(d);
        act(d);
    });
}

}  // namespace

class DeformDialogsTest : public QObject {
    Q_OBJECT
  private Q_SLOTS:
    void settingsTakeTheirSwitchesOnlyWithDecide() {
        SelectionSettings s;
        s.anyAngleRotation = true;
        DeformMethodModel m(s);
        WhenShown([](QWidget* d) {
            QCOMPARE(d->windowTitle(), QString("変形方法設定"));
            QVERIFY(d->findChild<QRadioButton*>("radio101")->isChecked());
            QVERIFY(d->findChild<QCheckBox*>("check103")->isChecked());
            d->findChild<QRadioButton*>("radio102")->setChecked(true);
            d->findChild<QCheckBox*>("check103")->setChecked(false);
            d->findChild<QPushButton*>("button1")->click();
        });
        QVERIFY(RunDeformMethodDialog(nullptr, m));
        QVERIFY(m.eightAlways);
        QVERIFY(!m.anyAngleRotation);

        SelectMethodModel sm(s);
        WhenShown([](QWidget* d) {
            QCOMPARE(d->windowTitle(), QString("選択方法設定"));
            d->findChild<QRadioButton*>("radio102")->setChecked(true);
            d->findChild<QPushButton*>("button2")->click();  // 取消
        });
        QVERIFY(!RunSelectMethodDialog(nullptr, sm));
        QVERIFY(!sm.singleByDefault);
    }

    void theArcInputShowsCalcErrorsAndKeepsTheWindow() {
        ArcDeformModel m(ArcDeformModel::Asks::kAngle, 90);
        bool sawError = false;
        WhenShown([&](QWidget* d) {
            QCOMPARE(d->windowTitle(), QString("円弧変形入力"));
            auto* field = d->findChild<QLineEdit*>("edit101");
            QCOMPARE(field->text(), QString("90"));
            field->setText("45*");
            QTimer::singleShot(0, [&, d] {
                auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
                QVERIFY(box);
                QCOMPARE(box->text(), QString("計算エラー"));
                sawError = true;
                box->accept();
                QTimer::singleShot(0, [d] {
                    d->findChild<QLineEdit*>("edit101")->setText("45*3");
                    d->findChild<QPushButton*>("button1")->click();
                });
            });
            d->findChild<QPushButton*>("button1")->click();
        });
        QVERIFY(RunArcDeformDialog(nullptr, m));
        QVERIFY(sawError);
        QCOMPARE(m.number, 135.0);
    }
};

QTEST_MAIN(DeformDialogsTest)
#include "deform_dialogs_test.moc"
