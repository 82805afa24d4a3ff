// The multiple tool through the real windows on the offscreen platform: items taken with a
// rubber band, copied with Ctrl+C onto the system clipboard, pasted with Ctrl+V in the same
// window and in a second one, floated and put down with a click; and the library dialogs
// "ライブラリ設定" and "部品削除" as the windows show them.
#include <QAbstractScrollArea>
#include <QApplication>
#include <QClipboard>
#include <QComboBox>
#include <QListWidget>
#include <QMimeData>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTimer>
#include <QtTest>

#include "board/file/board_writer.h"
#include "board/file/library.h"
#include "paths/file_io.h"
#include "shell/dialogs/library_dialog.h"
#include "shell/qt/dialogs/library_dialog.h"
#include "shell/qt/dialogs/multiple_dialogs.h"
#include "shell/qt/editor_window.h"
#include "shell/qt/screen_widget.h"
#include "tools/multiple_dialogs.h"
#include "window_test_support.h"

using namespace zevo;
using namespace zevo::windowtest;

class MultipleWindowTest : public QObject {
    Q_OBJECT

    // A rubber band from a to b, the button held while the mouse moves.
    static void Drag(EditorWindow& w, Point a, Point b) {
        QWidget* v = w.screen().viewport();
        const QPoint from = ViewPixel(w, a), to = ViewPixel(w, b);
        QTest::mouseMove(v, from);
        QTest::mousePress(v, Qt::LeftButton, {}, from);
        for (int i = 1; i <= 4; ++i) {
            const QPoint at = from + (to - from) * i / 4;
            QMouseEvent move(QEvent::MouseMove, at, v->mapToGlobal(at), Qt::NoButton,
                             Qt::LeftButton, Qt::NoModifier);
            QApplication::sendEvent(v, &move);
        }
        QTest::mouseRelease(v, Qt::LeftButton, {}, to);
    }
    static void Key(EditorWindow& w, Qt::Key key, Qt::KeyboardModifiers m = {}) {
        QTest::keyClick(&w.screen(), key, m);
    }
    // A window on a scratch folder, its view at 5 pixels per mm from the board's corner with
    // a 1 mm grid.
    static void Open(EditorWindow& w) {
        w.resize(900, 700);
        w.show();
        w.startUp({});
        QVERIFY(QTest::qWaitForWindowExposed(&w));
        QApplication::processEvents();
        Editor& e = w.editor();
        e.options.longCursor = false;
        e.view.SetView(5, 0, 0);
        e.view.SetGrid(1, 1);
        e.view.SetGridOrigin(0, 0);
        if (!e.view.onGrid()) e.view.ToggleOnGrid();
        e.redraw();
    }
    static std::vector<const container*> ItemsOf(const Board& b) {
        std::vector<const container*> out;
        for (const container* c : Items(b.items)) out.push_back(c);
        return out;
    }
  private Q_SLOTS:
    void copiedItemsArePastedInThisWindowAndInAnother() {
        QApplication::clipboard()->clear();
        QTemporaryDir dirA, dirB;
        EditorWindow a(ScratchPaths(dirA));
        Open(a);
        Editor& e = a.editor();
        Board& b = e.doc.board;
        b.AppendElement(nullptr, b.CreateLand(1, 18, false, {20, 20}));
        b.AppendElement(nullptr, b.CreateLine(1, 18, false, {20, 20}, {30, 20}));
        b.AppendElement(nullptr, b.CreateLand(2, 18, false, {80, 60}));  // outside the band
        e.redraw();
        a.updateStates();
        QVERIFY(!a.action(Cmd::Paste)->isEnabled());  // nothing of ours on the clipboard

        // 複数 from the menu, a band round the land and the line, Ctrl+C.
        a.action(Cmd::Multiple)->trigger();
        QCOMPARE(e.tools->modes.mode(), kModeMultiple);
        Drag(a, {15, 15}, {35, 25});
        QCOMPARE(e.tools->selection.count(), size_t(2));
        Key(a, Qt::Key_C, Qt::ControlModifier);
        QCOMPARE(e.tools->modes.depth(), 1);
        QCOMPARE(ItemsOf(b).size(), size_t(3));  // a copy leaves the board as it was
        const QMimeData* data = QApplication::clipboard()->mimeData();
        QVERIFY(data && !data->formats().isEmpty());
        QApplication::processEvents();
        QVERIFY(a.action(Cmd::Paste)->isEnabled());

        // Ctrl+V with the cursor at (50, 40): the items float there (the reference of a line
        // and a land is the grid-snapped centre of their bounds, (25, 20)), follow the mouse
        // and go down with a click at (60, 40).
        QTest::mouseMove(a.screen().viewport(), ViewPixel(a, {50, 40}));
        Key(a, Qt::Key_V, Qt::ControlModifier);
        QCOMPARE(e.tools->modes.depth(), 2);
        QTest::mouseMove(a.screen().viewport(), ViewPixel(a, {55, 40}));
        Click(a, {60, 40});
        QCOMPARE(e.tools->modes.depth(), 1);
        auto items = ItemsOf(b);
        QCOMPARE(items.size(), size_t(5));
        QCOMPARE(AsDrawn(items[3])->ref(), (Point{55, 40}));
        QCOMPARE(static_cast<const line*>(items[4])->end(), (Point{65, 40}));
        QCOMPARE(e.history.doneCount(), size_t(1));
        QVERIFY(e.doc.modified);
        // Undo gives the board back as it was.
        Key(a, Qt::Key_Z, Qt::ControlModifier);
        QCOMPARE(ItemsOf(b).size(), size_t(3));

        // A second window takes the same clipboard.
        EditorWindow other(ScratchPaths(dirB));
        Open(other);
        other.updateStates();
        QVERIFY(other.action(Cmd::Paste)->isEnabled());
        QTest::mouseMove(other.screen().viewport(), ViewPixel(other, {40, 30}));
        Key(other, Qt::Key_V, Qt::ControlModifier);
        Click(other, {40, 30});
        const auto pasted = ItemsOf(other.editor().doc.board);
        QCOMPARE(pasted.size(), size_t(2));
        QCOMPARE(AsDrawn(pasted[0])->ref(), (Point{35, 30}));
        QCOMPARE(AsDrawn(pasted[0])->layer, 1);
        QCOMPARE(static_cast<const line*>(pasted[1])->end(), (Point{45, 30}));
        // Esc while floating puts nothing down.
        QTest::mouseMove(other.screen().viewport(), ViewPixel(other, {70, 30}));
        Key(other, Qt::Key_V, Qt::ControlModifier);
        QCOMPARE(other.editor().tools->modes.depth(), 2);
        Key(other, Qt::Key_Escape);
        QCOMPARE(other.editor().tools->modes.depth(), 1);
        QCOMPARE(ItemsOf(other.editor().doc.board).size(), size_t(2));
    }

    void librarySettingsDialogMovesFilesBetweenItsLists() {
        LibrarySettingsModel m({"Parts.lib"}, {"A.lib", "B.lib", "Parts.lib"});
        LibraryDialog d(m);
        auto* used = d.findChild<QListWidget*>("list101");
        auto* all = d.findChild<QListWidget*>("list102");
        QVERIFY(used && all);
        QCOMPARE(used->count(), 1);
        QCOMPARE(all->count(), 2);
        all->setCurrentRow(1);
        d.findChild<QPushButton*>("button103")->click();  // << B.lib
        QCOMPARE(used->count(), 2);
        QCOMPARE(used->item(1)->text(), QString("B.lib"));
        QCOMPARE(all->count(), 1);
        used->setCurrentRow(0);
        d.findChild<QPushButton*>("button104")->click();  // >> Parts.lib
        QCOMPARE(m.used(), (std::vector<std::string>{"B.lib"}));
        QCOMPARE(all->count(), 2);
        QCOMPARE(d.windowTitle(), QString::fromUtf8("ライブラリ設定"));
    }

    void partDeleteDialogThroughTheWindow() {
        QTemporaryDir dir;
        EditorWindow w(ScratchPaths(dir));
        Open(w);
        const fs::path lib = fs::path(dir.path().toStdString()) / "Mine.lib";
        QVERIFY(WriteFileAtomically(lib,
                                    "[Libraries]\r\nGROUP:LED,red\r\nLAND:X=0,Y=0,LE=1,AP=18\r\n"
                                    "ENDGR:\r\nGROUP:C\r\nLAND:X=0,Y=0,LE=1,AP=18\r\nENDGR:\r\n"));
        w.editor().doc.board.libraryFiles = {"Parts.lib", "Mine.lib"};
        w.updateStates();
        QAction* item = w.action(Cmd::PartDelete);
        QVERIFY(item && item->isEnabled());
        QString title;
        int listed = -1;
        OnDialog([&](QWidget* d) {
            title = d->windowTitle();
            auto* library = d->findChild<QComboBox*>("combo101");
            auto* parts = d->findChild<QListWidget*>("list102");
            library->setCurrentIndex(1);
            listed = parts->count();
            parts->setCurrentRow(0);
            d->findChild<QPushButton*>("button1")->click();
        });
        item->trigger();
        QCOMPARE(title, QString::fromUtf8("部品削除"));
        QCOMPARE(listed, 2);
        QCOMPARE(ListParts(lib), (std::vector<std::string>{"C"}));
    }
};

QTEST_MAIN(MultipleWindowTest)
#include "multiple_window_test.moc"
