// The drawing tools' dialogs on the offscreen platform: typing, the calculation error box, the
// key pad beside the dialog, and what the models hold afterwards.
#include "shell/qt/dialogs/drawing_dialogs.h"

#include <QApplication>
#include <QLineEdit>
#include <QListWidget>
#include <QMessageBox>
#include <QPushButton>
#include <QTimer>
#include <QtTest>

#include "board/file/document.h"
#include "board/model/board.h"
#include "tools/drawing_dialogs.h"

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

class DrawingDialogsTest : public QObject {
    Q_OBJECT
  private Q_SLOTS:
    void numericInputShowsCalcErrorsAndKeepsTheWindow() {
        NumericInputModel::Memory memory;
        NumericInputModel m(false, memory, {0, 0}, {10, 20});
        bool sawError = false;
        WhenShown([&](QWidget* d) {
            // First-point form: no relative button; the key pad stands beside the dialog.
            QVERIFY(!d->findChild<QPushButton*>("button103")->isEnabled());
            QWidget* pad = nullptr;
            for (QWidget* w : QApplication::topLevelWidgets())
                if (w->objectName() == "keypad149" && w->isVisible()) pad = w;
            QVERIFY(pad);
            d->findChild<QLineEdit*>("edit101")->setText("1+");
            d->findChild<QLineEdit*>("edit102")->setText("4");
            QTimer::singleShot(0, [&, d] {
                auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
                QVERIFY(box);
                QCOMPARE(box->text(), QString("計算エラー"));
                QCOMPARE(box->windowTitle(), QString("Zevo"));
                sawError = true;
                box->accept();
                // The dialog is still there: correct the field and press 原点.
                QTimer::singleShot(0, [d] {
                    d->findChild<QLineEdit*>("edit101")->setText("1+2");
                    d->findChild<QPushButton*>("button104")->click();
                });
            });
            d->findChild<QPushButton*>("button105")->click();
        });
        RunNumericInputDialog(nullptr, m, true);
        QVERIFY(sawError);
        QVERIFY(m.point().has_value());
        QCOMPARE(m.point()->x, 13.0);  // from the grid origin
        QCOMPARE(m.point()->y, 24.0);
    }

    void arcDialogReadsItsFields() {
        DrawingSettings s;
        ArcDialogModel m(s);
        WhenShown([](QWidget* d) {
            d->findChild<QLineEdit*>("edit101")->setText("2.5");
            d->findChild<QLineEdit*>("edit102")->setText("0");
            d->findChild<QLineEdit*>("edit103")->setText("90");
            d->findChild<QPushButton*>("button1")->click();
        });
        RunArcDialog(nullptr, m);
        QVERIFY(m.decided());
        QCOMPARE(m.radiusValue, 2.5);
        QCOMPARE(m.endValue, 90.0);
    }

    void layerSelectChoosesByClick() {
        Board b;
        ResetToBuiltInDefaults(b);
        b.SetLayerName(2, "\x83\x70");  // a name makes the layer listed
        LayerSelectModel m(b);
        WhenShown([](QWidget* d) {
            auto* list = d->findChild<QListWidget*>("list101");
            QVERIFY(list && list->count() > 1);
            QListWidgetItem* item = list->item(list->count() - 1);
            Q_EMIT list->itemClicked(item);
        });
        RunLayerSelectDialog(nullptr, m);
        QVERIFY(m.chosen());
        QCOMPARE(m.layer(), m.layers().back());
    }
};

QTEST_MAIN(DrawingDialogsTest)
#include "drawing_dialogs_test.moc"
