// The drawing tools through the real window on the offscreen platform: a line chain, an arc by
// clicks, a pad and a text drawn with the mouse and the dialogs, saved, and read back.
#include <QAbstractScrollArea>
#include <QApplication>
#include <QFileDialog>
#include <QLineEdit>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTimer>
#include <QtTest>

#include "board/model/intern.h"
#include "shell/qt/editor_window.h"
#include "shell/qt/screen_widget.h"
#include "window_test_support.h"

using namespace zevo;
using namespace zevo::windowtest;

class DrawingWindowTest : public QObject {
    Q_OBJECT

    // Answers the next modal dialog: fields by object name, then a button.
    static void Answer(std::vector<std::pair<QString, QString>> fields, QString button) {
        auto* timer = new QTimer;
        timer->setInterval(20);
        QObject::connect(timer, &QTimer::timeout, [timer, fields, button] {
            QWidget* d = QApplication::activeModalWidget();
            if (!d) return;  // not open yet
            timer->stop();
            timer->deleteLater();
            for (const auto& [name, text] : fields)
                if (auto* e = d->findChild<QLineEdit*>(name)) e->setText(text);
            if (auto* b = d->findChild<QPushButton*>(button)) b->click();
        });
        timer->start();
    }

  private Q_SLOTS:
    void drawsSavesAndReadsBack() {
        QTemporaryDir dir;
        const fs::path file = fs::path(dir.path().toStdString()) / "drawn.pcb";
        {
            EditorWindow w(ScratchPaths(dir));
            w.resize(900, 700);
            w.show();
            w.startUp({});
            Editor& e = w.editor();
            e.options.longCursor = false;
            e.view.SetView(5, 0, 0);
            e.view.SetGrid(1, 1);
            if (!e.view.onGrid()) e.view.ToggleOnGrid();
            e.doc.board.padDefs.clear();
            e.doc.board.AddPadDefinition({{1, 20}, {2, 20}});
            e.redraw();

            // A chain of two segments, decided with Return.
            QVERIFY(e.command(Cmd::Line));
            Click(w, {10, 10});
            Click(w, {40, 10});
            Click(w, {40, 30});
            QTest::keyClick(&w.screen(), Qt::Key_Return);
            QCOMPARE(e.tools->modes.depth(), 1);

            // An arc by three clicks.
            e.drawing.arcByClicks = true;
            QVERIFY(e.command(Cmd::Arc));
            Click(w, {70, 30});
            Click(w, {80, 30});
            QTest::mouseMove(w.screen().viewport(), ViewPixel(w, {77, 37}));
            Click(w, {70, 40});

            // A pad, and a text through its dialog.
            QVERIFY(e.command(Cmd::Pad));
            Click(w, {60, 60});
            QVERIFY(e.command(Cmd::Text));
            Answer({{"edit101", "Z1"}, {"edit103", "2"}}, "button1");
            Click(w, {20, 60});

            // Saved: a board no file holds yet asks for its name first.
            auto* timer = new QTimer(&w);  // goes with the window if no chooser ever came
            timer->setInterval(20);
            bool asked = false;
            QObject::connect(timer, &QTimer::timeout, [timer, &asked, &file] {
                auto* chooser = qobject_cast<QFileDialog*>(QApplication::activeModalWidget());
                if (!chooser) return;  // not open yet
                timer->stop();
                timer->deleteLater();
                asked = true;
                chooser->selectFile(QString::fromStdString(file.string()));
                QMetaObject::invokeMethod(chooser, "accept", Qt::DirectConnection);
            });
            timer->start();
            QVERIFY(e.command(Cmd::Save));
            QVERIFY(asked);
            QVERIFY(fs::exists(file));
            QVERIFY(!e.doc.modified);
            QCOMPARE(e.doc.path, file);
        }
        EditorWindow w(ScratchPaths(dir));
        w.show();
        w.startUp({QString::fromStdString(file.string())});
        int lines = 0, arcs = 0, pads = 0, texts = 0, other = 0;
        for (container* c : Items(w.editor().doc.board.items)) {
            if (c->kind == kLine)
                ++lines;
            else if (c->kind == kArc)
                ++arcs;
            else if (c->kind == kGroup && AsGroup(c)->type == Reserved().pad)
                ++pads;
            else if (c->kind == kGroup && AsGroup(c)->type == Reserved().text) {
                ++texts;
                QCOMPARE(QString::fromStdString(std::string(View(AsGroup(c)->attribute))),
                         QString("Z1"));
            } else
                ++other;
        }
        QCOMPARE(lines, 2);
        QCOMPARE(arcs, 1);
        QCOMPARE(pads, 1);
        QCOMPARE(texts, 1);
        QCOMPARE(other, 0);
    }
};

QTEST_MAIN(DrawingWindowTest)
#include "drawing_window_test.moc"
