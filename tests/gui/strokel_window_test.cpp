// Strokel's window on the offscreen platform: the character box, a glyph drawn with the mouse in
// the grid window (rubber band, coordinates, layers), the context menu's commands, the save
// question on closing, and the saved glyph laid out by the editor's text tool.

#include "glyph_editor/qt/strokel_window.h"

#include <QCheckBox>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTimer>
#include <QtTest>
#include <filesystem>

#include "board/model/board.h"
#include "glyph_editor/qt/one_copy.h"
#include "view/stroke_font.h"

using namespace zevo;

namespace {

// The client pixel of a glyph point inside the grid window's frame.
QPoint At(GridWindow* g, int x, int y) {
    return g->contentsRect().topLeft() + QPoint(PixelXOfPoint(x), PixelYOfPoint(y));
}

void Move(GridWindow* g, int x, int y, Qt::MouseButtons held = Qt::NoButton) {
    QMouseEvent e(QEvent::MouseMove, At(g, x, y), g->mapToGlobal(At(g, x, y)), Qt::NoButton, held,
                  Qt::NoModifier);
    QApplication::sendEvent(g, &e);
}

void Click(GridWindow* g, int x, int y, Qt::MouseButton b = Qt::LeftButton) {
    Move(g, x, y);
    QTest::mousePress(g, b, Qt::NoModifier, At(g, x, y));
    QTest::mouseRelease(g, b, Qt::NoModifier, At(g, x, y));
}

bool Black(const QImage& img, int x, int y) {
    return (img.pixel(x, y) & 0xFFFFFF) == 0;
}

}  // namespace

class StrokelWindowTest : public QObject {
    Q_OBJECT

  private Q_SLOTS:
    void opensOnTheExclamationMarkWithTheTraceSwitch();
    void drawsAGlyphWithTheMouseSavesItAndTheTextToolLaysItOut();
    void movingAPointAndUndoFromTheMenu();
    void closingWithoutChangesAsksNothingAndNoKeepsTheFile();
    void magnificationAndFontChoiceRedrawTheTrace();
    void rightClickMenuUndoesAndASecondCopyOnlyActivatesTheFirst();
};

void StrokelWindowTest::opensOnTheExclamationMarkWithTheTraceSwitch() {
    QTemporaryDir dir;
    const std::filesystem::path font = dir.filePath("zevofont.dat").toStdString();
    StrokelWindow plain(font, font, false);
    plain.show();
    plain.start();
    QCOMPARE(plain.windowTitle(), QString("Strokel"));
    QCOMPARE(plain.editor().currentCode(), FontCode(0x8149));
    QVERIFY(!plain.traceCheck()->isVisible());
    QVERIFY(!plain.traceCheck()->isChecked());
    QVERIFY(plain.characterBox()->testAttribute(Qt::WA_InputMethodEnabled));
    QCOMPARE(plain.grid()->contentsRect().size(), QSize(127, 127));
    // The composite without the trace: the grid's grey lines on white.
    QCOMPARE(plain.grid()->composite().pixel(3, 10) & 0xFFFFFF, 0xC0C0C0u);
    QCOMPARE(plain.grid()->composite().pixel(1, 1) & 0xFFFFFF, 0xFFFFFFu);

    StrokelWindow traced(font, font, true);
    traced.show();
    traced.start();
    QVERIFY(traced.traceCheck()->isVisible());
    QVERIFY(traced.traceCheck()->isChecked());
    QCOMPARE(traced.traceCheck()->text(), QString("トレース文字の表示"));
    // The trace layer holds the cyan character; the composite shows it.
    const QImage& trace = traced.grid()->traceLayer();
    int cyan = 0;
    for (int y = 0; y < 127; ++y)
        for (int x = 0; x < 127; ++x) cyan += (trace.pixel(x, y) & 0xFFFFFF) != 0xFFFFFF;
    QVERIFY(cyan > 0);
    traced.traceCheck()->setChecked(false);
    int shown = 0;
    for (int y = 0; y < 127; ++y)
        for (int x = 0; x < 127; ++x)
            shown += (traced.grid()->composite().pixel(x, y) & 0xFFFFFF) != 0xFFFFFF &&
                     (traced.grid()->composite().pixel(x, y) & 0xFFFFFF) != 0xC0C0C0;
    QCOMPARE(shown, 0);

    // A character without a code cell is refused: the glyph stays.
    plain.characterBox()->setText(" ");
    QCOMPARE(plain.editor().currentCode(), FontCode(0x8149));
    // Two bytes at most: a second full-width character is cut off.
    plain.characterBox()->setText("ＡＢ");
    QCOMPARE(plain.characterBox()->text(), QString("Ａ"));
    QCOMPARE(plain.editor().currentCode(), FontCode(0x8260));
}

void StrokelWindowTest::drawsAGlyphWithTheMouseSavesItAndTheTextToolLaysItOut() {
    QTemporaryDir dir;
    const std::filesystem::path font = dir.filePath("zevofont.dat").toStdString();
    StrokelWindow w(font, font, false);
    bool asked = false;
    w.ask = [&](const QString& q) {
        asked = true;
        return q == QString("ファイルに書き込みますか？(Y/N)");
    };
    w.show();
    w.start();
    w.characterBox()->setText("Ａ");
    QCOMPARE(w.editor().currentCode(), FontCode(0x8260));
    GridWindow* g = w.grid();

    // A stroke: start at (4, 4), points at (20, 4) and (20, 24), finish with the right button.
    Click(g, 4, 4);
    QCOMPARE(w.editor().state(), GlyphEditor::State::kDrawing);
    Move(g, 20, 4);
    QCOMPARE(w.coordinates()->text(), QString("X:20  Y:4"));
    QVERIFY(w.editor().rubberBand().has_value());
    QCOMPARE(w.editor().rubberBand()->to, (GridCell{20, 4}));
    Click(g, 20, 4);
    Click(g, 20, 24);
    QTest::mouseRelease(g, Qt::RightButton, Qt::NoModifier, At(g, 20, 24));
    QCOMPARE(w.editor().state(), GlyphEditor::State::kIdle);
    QCOMPARE(w.editor().glyph().count(), 3);
    QVERIFY(w.editor().modified());

    // The glyph layer carries the strokes 4 pixels wide; the composite shows them over the grid.
    QVERIFY(Black(g->glyphLayer(), PixelXOfPoint(12), PixelYOfPoint(4)));
    QVERIFY(Black(g->glyphLayer(), PixelXOfPoint(12), PixelYOfPoint(4) + 1));
    QVERIFY(!Black(g->glyphLayer(), PixelXOfPoint(12), PixelYOfPoint(4) + 4));
    QVERIFY(Black(g->composite(), PixelXOfPoint(20), PixelYOfPoint(14)));

    // Moving over the main window itself clears the coordinates.
    QMouseEvent e(QEvent::MouseMove, QPoint(200, 5), w.mapToGlobal(QPoint(200, 5)), Qt::NoButton,
                  Qt::NoButton, Qt::NoModifier);
    QApplication::sendEvent(&w, &e);
    QVERIFY(w.coordinates()->text().isEmpty());

    w.close();
    QVERIFY(asked);
    QVERIFY(std::filesystem::exists(font));

    // The editor's text tool reads the saved font: two strokes, one across, one up.
    Board board;
    board.SetBoardSize(100, 100);
    TextParams p;
    const std::string text = "\x82\x60";  // Ａ
    p.text = text;
    p.layer = 1;
    p.height = 3.2;
    const TextLayout layout = LayoutText(board, font, p, {10, 10});
    QVERIFY(!layout.fontMissing);
    QVERIFY(layout.text != nullptr);
    std::vector<const line*> lines;
    ForEachDrawn(layout.text->members, [&](const drawn* d) {
        if (d->kind == kLine) lines.push_back(static_cast<const line*>(d));
    });
    QCOMPARE(int(lines.size()), 2);
    QVERIFY(std::fabs(lines[0]->start().y - lines[0]->end().y) < 1e-9);  // across
    QVERIFY(lines[0]->end().x > lines[0]->start().x);
    QVERIFY(std::fabs(lines[1]->start().x - lines[1]->end().x) < 1e-9);  // up
    QVERIFY(lines[1]->end().y > lines[1]->start().y);
    board.AppendElement(nullptr, layout.text);
}

void StrokelWindowTest::movingAPointAndUndoFromTheMenu() {
    QTemporaryDir dir;
    const std::filesystem::path font = dir.filePath("zevofont.dat").toStdString();
    StrokelWindow w(font, font, false);
    w.ask = [](const QString&) { return false; };
    w.show();
    w.start();
    w.characterBox()->setText("Ｂ");
    GridWindow* g = w.grid();
    Click(g, 2, 2);
    Click(g, 10, 2);
    Click(g, 10, 10);
    QTest::mouseRelease(g, Qt::RightButton, Qt::NoModifier, At(g, 10, 10));
    const int steps = w.editor().undoDepth();

    // Press on the corner (10, 2) and drag: both segments meeting there bend.
    Move(g, 10, 2);
    QTest::mousePress(g, Qt::LeftButton, Qt::NoModifier, At(g, 10, 2));
    Move(g, 12, 5, Qt::LeftButton);
    QCOMPARE(w.editor().state(), GlyphEditor::State::kMoving);
    // While a point is moved, every menu item is greyed.
    for (const StrokelMenuLine& l : StrokelContextMenu(w.editor(), false)) QVERIFY(!l.enabled);
    QTest::mouseRelease(g, Qt::LeftButton, Qt::NoModifier, At(g, 12, 5));
    QCOMPARE(w.editor().state(), GlyphEditor::State::kIdle);
    QCOMPARE(w.editor().glyph().entry(1).x, uint8_t(12));
    QCOMPARE(w.editor().glyph().entry(1).y, uint8_t(5));
    QCOMPARE(w.editor().undoDepth(), steps + 1);

    // 元に戻す puts the point back.
    w.runCommand(StrokelCommand::kUndo);
    QCOMPARE(w.editor().glyph().entry(1).x, uint8_t(10));
    QCOMPARE(w.editor().glyph().entry(1).y, uint8_t(2));
    QVERIFY(Black(g->glyphLayer(), PixelXOfPoint(6), PixelYOfPoint(2)));

    // A right click on a segment deletes it.
    Click(g, 6, 2, Qt::RightButton);
    QVERIFY(!Black(g->glyphLayer(), PixelXOfPoint(6), PixelYOfPoint(2)));
}

void StrokelWindowTest::closingWithoutChangesAsksNothingAndNoKeepsTheFile() {
    QTemporaryDir dir;
    const std::filesystem::path font = dir.filePath("zevofont.dat").toStdString();
    {
        StrokelWindow w(font, font, false);
        int asked = 0;
        w.ask = [&](const QString&) { return ++asked, true; };
        w.show();
        w.start();
        w.close();
        QCOMPARE(asked, 0);
    }
    QVERIFY(!std::filesystem::exists(font));
    {
        StrokelWindow w(font, font, false);
        int asked = 0;
        w.ask = [&](const QString&) { return ++asked, false; };
        w.show();
        w.start();
        w.characterBox()->setText("Ｃ");
        Click(w.grid(), 1, 1);
        Click(w.grid(), 5, 5);
        w.close();
        QCOMPARE(asked, 1);
    }
    QVERIFY(!std::filesystem::exists(font));
    // A folder where the file should be: the warning comes, the window closes all the same.
    std::filesystem::create_directory(font);
    {
        StrokelWindow w(font, font, false);
        QString warned;
        w.ask = [](const QString&) { return true; };
        w.warn = [&](const QString& t) { warned = t; };
        w.show();
        w.start();
        w.characterBox()->setText("Ｃ");
        Click(w.grid(), 1, 1);
        Click(w.grid(), 5, 5);
        QVERIFY(w.close());
        QCOMPARE(warned, QString("ファイルに書き込めません！"));
    }
}

void StrokelWindowTest::magnificationAndFontChoiceRedrawTheTrace() {
    QTemporaryDir dir;
    const std::filesystem::path font = dir.filePath("zevofont.dat").toStdString();
    StrokelWindow w(font, font, true);
    w.show();
    w.start();
    QCOMPARE(w.traceHeight(), 128);
    QCOMPARE(w.traceFace(), QString("ＭＳ ゴシック"));
    const QImage before = w.grid()->traceLayer();

    bool imeDuringDialog = true;
    w.chooseMagnification = [&](TraceMagnificationModel& m) {
        // The character box's input method is off while the dialog is open.
        imeDuringDialog = w.characterBox()->testAttribute(Qt::WA_InputMethodEnabled);
        m.edit("0.5");
        return m.pressSet();
    };
    w.runCommand(StrokelCommand::kMagnification);
    QCOMPARE(w.traceHeight(), 64);
    QVERIFY(!imeDuringDialog);
    QVERIFY(w.characterBox()->testAttribute(Qt::WA_InputMethodEnabled));
    QVERIFY(w.grid()->traceLayer() != before);

    // The real dialog keeps itself open on a value out of range.
    TraceMagnificationModel m(128);
    MagnificationDialog d(m, &w);
    d.show();
    auto* edit = d.findChild<QLineEdit*>("edit101");
    QVERIFY(edit);
    QCOMPARE(edit->text(), QString("1"));
    edit->setText("3");
    d.findChild<QPushButton*>("button1")->click();
    QVERIFY(d.isVisible());
    edit->setText("1.5");
    d.findChild<QPushButton*>("button1")->click();
    QCOMPARE(d.result(), int(QDialog::Accepted));
    QCOMPARE(m.height(), 192);

    w.chooseFont = [](QFont& f) {
        f.setFamily("Noto Sans CJK JP");
        return true;
    };
    w.runCommand(StrokelCommand::kFontChoice);
    QCOMPARE(w.traceFace(), QString("Noto Sans CJK JP"));
}

void StrokelWindowTest::rightClickMenuUndoesAndASecondCopyOnlyActivatesTheFirst() {
    QTemporaryDir dir;
    const std::filesystem::path font = dir.filePath("zevofont.dat").toStdString();
    StrokelWindow w(font, font, false);
    w.ask = [](const QString&) { return false; };
    w.show();
    w.start();
    w.characterBox()->setText("Ｄ");
    Click(w.grid(), 3, 3);
    Click(w.grid(), 9, 3);
    QCOMPARE(w.editor().glyph().count(), 2);
    // Finish the stroke first: while drawing every item is greyed.
    QTest::mouseRelease(w.grid(), Qt::RightButton, Qt::NoModifier, At(w.grid(), 9, 3));
    // The right button beside the grid: the menu, whose 元に戻す takes the point back.
    QStringList items;
    QTimer::singleShot(0, [&items] {
        auto* menu = qobject_cast<QMenu*>(QApplication::activePopupWidget());
        if (!menu) return;
        for (QAction* a : menu->actions())
            if (!a->isSeparator()) items << a->text();
        menu->setActiveAction(menu->actions().front());
        QTest::keyClick(menu, Qt::Key_Return);
    });
    QContextMenuEvent e(QContextMenuEvent::Mouse, QPoint(180, 100),
                        w.mapToGlobal(QPoint(180, 100)));
    QApplication::sendEvent(&w, &e);
    QCOMPARE(items, QStringList({"元に戻す", "終了"}));
    QCOMPARE(w.editor().glyph().count(), 1);

    // One running copy: a later copy finds the first under the name and asks it to come forward.
    const QString name = "strokel-test-" + QString::number(QCoreApplication::applicationPid());
    OneCopy first(name);
    QVERIFY(!first.otherCopyRuns());
    int activated = 0;
    QVERIFY(first.listen([&] { ++activated; }));
    OneCopy second(name);
    QVERIFY(second.otherCopyRuns());
    QTRY_COMPARE(activated, 1);
}

QTEST_MAIN(StrokelWindowTest)
#include "strokel_window_test.moc"
