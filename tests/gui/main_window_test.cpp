// The editor's main window on the offscreen platform: menus and buttons built from the command
// table, the screen showing the editor's framebuffer, keys and mouse reaching the editor.
#include <QAbstractScrollArea>
#include <QAction>
#include <QClipboard>
#include <QLabel>
#include <QLineEdit>
#include <QMenuBar>
#include <QMessageBox>
#include <QPushButton>
#include <QTemporaryDir>
#include <QToolBar>
#include <QWheelEvent>
#include <QtTest>

#include "shell/qt/editor_window.h"
#include "shell/qt/instance_channel.h"
#include "shell/qt/screen_widget.h"
#include "window_test_support.h"

using namespace zevo;
using namespace zevo::windowtest;

class MainWindowTest : public QObject {
    Q_OBJECT

  private Q_SLOTS:
    void opensTheBoardOfTheCommandLine() {
        QTemporaryDir dir;
        EditorWindow w(ScratchPaths(dir));
        w.show();
        const QString example = QString(ZEVO_EXAMPLES) + "/example.pcb";
        w.startUp({"\"" + example + "\""});
        QCOMPARE(w.windowTitle(), "Zevo " + example);
        QVERIFY(!w.editor().doc.board.items.emptyList());

        // The menu bar: the seven menus, then the layer and definition items.
        const QList<QAction*> bar = w.menuBar()->actions();
        QCOMPARE(bar.size(), 9);
        QCOMPARE(bar[0]->text(), QString("ファイル(&F)"));
        QVERIFY(bar[7]->text().startsWith("レイヤー 1:"));
        QVERIFY(bar[8]->text().startsWith("アパーチャ"));

        // The tool bar: 39 entries, captions as tool tips, greyed where nothing can be done.
        QCOMPARE(w.toolBar()->actions().size(), 39);
        QAction* zoomOut = w.toolBar()->findChild<QAction*>("button330");
        QVERIFY(zoomOut);
        QCOMPARE(zoomOut->toolTip(), QString("縮小"));
        QVERIFY(zoomOut->isEnabled());
        QVERIFY(!w.toolBar()->findChild<QAction*>("button320")->isEnabled());
        QVERIFY(w.action(Cmd::PrintCheck)->isEnabled());
        QVERIFY(w.action(Cmd::GerberOut)->isEnabled());
        QVERIFY(w.action(Cmd::Open)->isEnabled());

        // The screen shows the editor's framebuffer: something other than black is drawn.
        QApplication::processEvents();
        const QImage shot = w.screen().viewport()->grab().toImage();
        int lit = 0;
        for (int y = 0; y < shot.height(); y += 2)
            for (int x = 0; x < shot.width(); x += 2)
                if ((shot.pixel(x, y) & 0xffffff) != 0) ++lit;
        QVERIFY(lit > 100);
    }

    void keysAndButtonsReachTheEditor() {
        QTemporaryDir dir;
        EditorWindow w(ScratchPaths(dir));
        w.show();
        w.startUp({QString(ZEVO_EXAMPLES) + "/example.pcb"});
        const double fitted = w.editor().view.scale;
        QTest::keyClick(&w.screen(), Qt::Key_PageDown);
        QCOMPARE(w.editor().view.scale, fitted * 2);
        QVERIFY(w.toolBar()->findChild<QAction*>("button331")->isEnabled());
        w.toolBar()->findChild<QAction*>("button331")->trigger();  // previous view
        QCOMPARE(w.editor().view.scale, fitted);

        // The coordinate display splits the status bar and follows the mouse.
        w.action(Cmd::CoordinateDisplay)->trigger();
        QVERIFY(w.action(Cmd::CoordinateDisplay)->isChecked());
        QTest::mouseMove(w.screen().viewport(), QPoint(40, 40));
        QLabel* x = w.findChild<QLabel*>("status0");
        QVERIFY(x->text().startsWith("X:"));
        w.action(Cmd::CoordinateDisplay)->trigger();
        QVERIFY(!w.action(Cmd::CoordinateDisplay)->isChecked());
    }

    void closingSavesTheSettingsAndThePlacement() {
        QTemporaryDir dir;
        {
            EditorWindow w(ScratchPaths(dir));
            w.show();
            w.startUp({});
            w.setGeometry(50, 60, 700, 500);
            QVERIFY(w.close());
        }
        EditorWindow again(ScratchPaths(dir));
        again.startUp({});
        QCOMPARE(again.editor().options.position.show, WindowShow::kNormal);
    }

    void wheelZoomsAboutTheCursor() {
        QTemporaryDir dir;
        EditorWindow w(ScratchPaths(dir));
        w.show();
        w.startUp({QString(ZEVO_EXAMPLES) + "/example.pcb"});
        const double before = w.editor().view.scale;
        const QPoint at(100, 80);
        QWheelEvent up(at, w.screen().viewport()->mapToGlobal(at), QPoint(), QPoint(0, 120),
                       Qt::NoButton, Qt::NoModifier, Qt::NoScrollPhase, false);
        QApplication::sendEvent(w.screen().viewport(), &up);
        QCOMPARE(w.editor().view.scale, before * 1.2);
    }

    void gridDialogAcceptedAndCancelledFromTheMenu() {
        QTemporaryDir dir;
        EditorWindow w(ScratchPaths(dir));
        w.show();
        w.startUp({});
        // Cancelled: nothing changes.
        const double spacing = w.editor().doc.board.gridSpacing;
        QTimer::singleShot(0, [] {
            QWidget* d = QApplication::activeModalWidget();
            QVERIFY(d && d->objectName() == "dialog157");
            d->findChild<QLineEdit*>("edit101")->setText("2.54");
            d->findChild<QPushButton*>("button2")->click();
        });
        w.action(Cmd::GridDialog)->trigger();
        QCOMPARE(w.editor().doc.board.gridSpacing, spacing);
        QVERIFY(!w.editor().doc.modified);
        // Set: the board and the view take the new grid.
        QTimer::singleShot(0, [] {
            QWidget* d = QApplication::activeModalWidget();
            QVERIFY(d);
            d->findChild<QLineEdit*>("edit101")->setText("2.54");
            d->findChild<QPushButton*>("button1")->click();
        });
        w.action(Cmd::GridDialog)->trigger();
        QCOMPARE(w.editor().doc.board.gridSpacing, 2.54);
        QCOMPARE(w.editor().view.gridSpacing, 2.54);
        QVERIFY(w.editor().doc.modified);
    }

    void closingAsksToSaveAChangedBoard() {
        QTemporaryDir dir;
        EditorWindow w(ScratchPaths(dir));
        w.show();
        w.startUp({});
        w.editor().doc.modified = true;
        auto answer = [](QMessageBox::StandardButton b) {
            QTimer::singleShot(0, [b] {
                auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
                QVERIFY(box);
                QCOMPARE(box->windowTitle(), QString("Zevo"));
                box->button(b)->click();
            });
        };
        answer(QMessageBox::Cancel);
        QVERIFY(!w.close());
        QVERIFY(w.isVisible());
        // With a tool's frame open the window does not close at all.
        QVERIFY(w.editor().tools->modes.pushState(1, 801));
        QVERIFY(!w.close());
        w.editor().character(27);
        QCOMPARE(w.editor().tools->modes.depth(), 1);
        answer(QMessageBox::No);
        QVERIFY(w.close());
    }

    void clipboardCarriesTheEditorsOwnBytes() {
        QTemporaryDir dir;
        EditorWindow w(ScratchPaths(dir));
        const std::string bytes("\x08\x00\x00\x00zevo\xff", 9);
        QVERIFY(w.setClipboardData(bytes));
        const std::optional<std::string> back = w.clipboardData();
        QVERIFY(back.has_value());
        QCOMPARE(*back, bytes);
        // Text put there by another program is not the editor's.
        QGuiApplication::clipboard()->setText("plain");
        QVERIFY(!w.clipboardData().has_value());
    }

    void runningCopiesFindEachOtherAndOpenFiles() {
        QTemporaryDir dir, copies;
        EditorWindow w(ScratchPaths(dir), copies.path());
        w.show();
        w.startUp({});
        // A second copy, as another process would be, under a number of its own.
        InstanceChannel other(copies.path(), w.channel().pid() + 1);
        other.setTitle("Zevo /some/folder/b.pcb");
        int raised = 0;
        other.onRaise = [&] { ++raised; };
        const std::vector<RunningCopy> seen = w.channel().others();
        QCOMPARE(seen.size(), size_t(1));
        QCOMPARE(seen[0].title, QString("Zevo /some/folder/b.pcb"));

        // The other copy asks this one to open a file; the window opens it and fits it.
        const QString example = QString(ZEVO_EXAMPLES) + "/example.pcb";
        QVERIFY(other.open(w.channel().pid(), example));
        QTRY_VERIFY(!w.editor().doc.board.items.emptyList());
        QCOMPARE(w.windowTitle(), "Zevo " + example);
        QVERIFY(w.channel().raise(other.pid()));
        QTRY_COMPARE(raised, 1);
        // A copy that is gone is dropped from the list.
        QVERIFY(!w.channel().raise(w.channel().pid() + 7));
    }
};

QTEST_MAIN(MainWindowTest)
#include "main_window_test.moc"
