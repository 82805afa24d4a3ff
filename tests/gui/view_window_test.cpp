// The main window's rough edges on the offscreen platform: right clicks on the display buttons
// caught by the tool bar, the keys shown in the menus, the modified mark in the title, and the
// keyboard in the layer and aperture lists of the drawing tools.
#include <QAction>
#include <QDialog>
#include <QListWidget>
#include <QMessageBox>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTimer>
#include <QToolBar>
#include <QWindow>
#include <QtTest>

#include "board/file/document.h"
#include "board/model/board.h"
#include "shell/qt/dialogs/drawing_dialogs.h"
#include "shell/qt/editor_window.h"
#include "shell/qt/screen_widget.h"
#include "tools/drawing_dialogs.h"
#include "window_test_support.h"

using namespace zevo;
using namespace zevo::windowtest;

namespace {

// Runs `act` on the modal widget once it is up.
void WhenShown(std::function<void(QWidget*)> act) {
    QTimer::singleShot(0, [act] {
        QWidget* d = QApplication::activeModalWidget();
        QVERIFY(d);
        act(d);
    });
}

// A dialog that the keys did not close is closed here, so that the test fails instead of
// waiting for ever.
void CloseIfStillOpen(QWidget* d) {
    QTimer::singleShot(0, d, [d] {
        if (auto* dialog = qobject_cast<QDialog*>(d); dialog && dialog->isVisible())
            dialog->reject();
    });
}

}  // namespace

class ViewWindowTest : public QObject {
    Q_OBJECT
  private Q_SLOTS:
    void rightClickOnAGreyedDisplayButtonStoresTheView() {
        QTemporaryDir dir;
        EditorWindow w(ScratchPaths(dir));
        w.show();
        w.startUp({QString(ZEVO_EXAMPLES) + "/example.pcb"});
        QAction* button = w.toolBar()->findChild<QAction*>("button334");
        QVERIFY(button && !button->isEnabled());
        QWidget* widget = w.toolBar()->widgetForAction(button);
        QVERIFY(widget && !widget->isEnabled());
        // A right click through the window, as the window system delivers it.
        QString asked;
        WhenShown([&](QWidget* d) {
            auto* box = qobject_cast<QMessageBox*>(d);
            QVERIFY(box);
            asked = box->text();
            box->button(QMessageBox::Yes)->click();
        });
        auto rightClick = [&](QWidget* target) {
            QWindow* window = w.windowHandle();
            const QPoint at = window->mapFromGlobal(target->mapToGlobal(target->rect().center()));
            QTest::mouseClick(window, Qt::RightButton, {}, at);
        };
        rightClick(widget);
        QCOMPARE(asked, QString("表示記憶  表示２"));
        QVERIFY(w.editor().view.memoryAvailable(2));
        QVERIFY(button->isEnabled());
        // No stray menu of the main window over the bar, and other buttons ask nothing.
        rightClick(w.toolBar()->widgetForAction(w.toolBar()->findChild<QAction*>("button330")));
        QVERIFY(!QApplication::activeModalWidget());
        QVERIFY(!QApplication::activePopupWidget());
    }

    void menusShowTheirKeysAndTheTitleTheModifiedMark() {
        QTemporaryDir dir;
        EditorWindow w(ScratchPaths(dir));
        w.show();
        w.startUp({});
        QVERIFY(w.action(Cmd::Save)->text().endsWith("\tCtrl+S"));
        QVERIFY(w.action(Cmd::Undo)->text().endsWith("\tCtrl+Z"));
        QVERIFY(w.action(Cmd::Recall1)->text().endsWith("\t1"));
        QVERIFY(!w.action(Cmd::New)->text().contains('\t'));
        // The keys are only shown: Ctrl+S still reaches the editor (nothing to save here).
        QVERIFY(w.action(Cmd::Save)->shortcut().isEmpty());

        QCOMPARE(w.windowTitle(), QString("Zevo untitled.pcb"));
        w.action(Cmd::RoundLand)->trigger();  // round land
        QWidget* v = w.screen().viewport();
        QTest::mouseMove(v, QPoint(200, 150));
        QTest::mouseClick(v, Qt::LeftButton, {}, QPoint(200, 150));
        QVERIFY(w.editor().doc.modified);
        QCOMPARE(w.windowTitle(), QString("Zevo untitled.pcb *"));
    }

    void layerListTakesReturnOnTheHighlightedRow() {
        Board b;
        ResetToBuiltInDefaults(b);
        b.SetLayerName(2, "\x83\x70");
        LayerSelectModel m(b);
        QVERIFY(m.layers().size() > 1);
        WhenShown([](QWidget* d) {
            auto* list = d->findChild<QListWidget*>("list101");
            QVERIFY(list);
            list->setFocus();
            list->setCurrentRow(list->count() - 1);
            CloseIfStillOpen(d);
            QTest::keyClick(list, Qt::Key_Return);
        });
        RunLayerSelectDialog(nullptr, m);
        QVERIFY(m.chosen());
        QCOMPARE(m.layer(), m.layers().back());
    }

    void apertureListTakesTheHighlightedRowOnDecide() {
        Board b;
        ResetToBuiltInDefaults(b);
        DrawingSettings s;
        s.roundLandAperture = 18;
        {
            ApertureSelectModel m(b, s, ApertureTool::kRoundLand, false);
            WhenShown([](QWidget* d) {
                auto* list = d->findChild<QListWidget*>("list101");
                QVERIFY(list);
                QCOMPARE(list->currentRow(), 18);
                list->setFocus();
                QTest::keyClick(list, Qt::Key_Down);
                QTest::keyClick(list, Qt::Key_Down);
                d->findChild<QPushButton*>("button1")->click();
            });
            RunApertureSelectDialog(nullptr, m, false);
            QCOMPARE(m.settings().roundLandAperture, 20);
        }
        {
            ApertureSelectModel m(b, s, ApertureTool::kRoundLand, false);
            WhenShown([](QWidget* d) {
                auto* list = d->findChild<QListWidget*>("list101");
                list->setFocus();
                QTest::keyClick(list, Qt::Key_Up);
                CloseIfStillOpen(d);
                QTest::keyClick(list, Qt::Key_Return);
            });
            RunApertureSelectDialog(nullptr, m, false);
            QCOMPARE(m.settings().roundLandAperture, 17);
        }
    }
};

QTEST_MAIN(ViewWindowTest)
#include "view_window_test.moc"
