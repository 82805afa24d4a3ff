// The print dialog and the print layer dialog on the offscreen platform, and the print bitmap as
// the Qt printer gets it.

#include "shell/qt/dialogs/print_dialogs.h"

#include <QApplication>
#include <QCheckBox>
#include <QContextMenuEvent>
#include <QLineEdit>
#include <QListWidget>
#include <QMenu>
#include <QPrinter>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTimer>
#include <QtTest>
#include <functional>

#include "board/model/board.h"
#include "shell/dialogs/print_dialog.h"
#include "shell/qt/editor_window.h"

using namespace zevo;

namespace {

template <class T>
T* Find(QWidget* parent, const QString& name) {
    T* w = parent->findChild<T*>(name);
    if (!w) qWarning("no control %s", qPrintable(name));
    return w;
}

void OnNextModal(std::function<void(QWidget*)> act) {
    QTimer::singleShot(0, [act = std::move(act)] {
        if (QWidget* w = QApplication::activeModalWidget()) act(w);
    });
}

// Chooses the menu entry with this text from the popup that opens next.
void OnNextPopup(const QString& text) {
    QTimer::singleShot(0, [text] {
        auto* menu = qobject_cast<QMenu*>(QApplication::activePopupWidget());
        if (!menu) return;
        for (QAction* a : menu->actions())
            if (a->text() == text) {
                menu->setActiveAction(a);
                QTest::keyClick(menu, Qt::Key_Return);
                return;
            }
        menu->close();
    });
}

}  // namespace

class PrintDialogsTest : public QObject {
    Q_OBJECT

  private Q_SLOTS:
    void checkPrintFieldsAndTheNegativeBox();
    void rightClickMenuSwitchesToTheBmpFile();
    void layerDialogMovesLayers();
    void printBitmapBecomesAQtImage();
    void editorPrintsTheArtworkToAPdfPrinter();
};

void PrintDialogsTest::checkPrintFieldsAndTheNegativeBox() {
    PrintOptions o;
    PrintDialogModel m(PrintKind::kCheck, o, 1.5);
    int printerSetups = 0, layerSetups = 0;
    m.printerSetup = [&] { ++printerSetups; };
    m.layerSetup = [&] { ++layerSetups; };
    bool seen = false;
    OnNextModal([&](QWidget* d) {
        seen = true;
        QCOMPARE(d->windowTitle(), QString("印刷"));
        QCOMPARE(Find<QLineEdit>(d, "edit101")->text(), QString("0"));
        QCOMPARE(Find<QLineEdit>(d, "edit103")->text(), QString("1.5"));
        QVERIFY(!Find<QCheckBox>(d, "check105")->isEnabled());
        Find<QPushButton>(d, "button106")->click();
        Find<QPushButton>(d, "button107")->click();
        Find<QLineEdit>(d, "edit101")->setText("5");
        Find<QLineEdit>(d, "edit102")->setText("-2");
        Find<QCheckBox>(d, "check104")->setChecked(true);
        Find<QPushButton>(d, "button1")->click();
    });
    QVERIFY(RunPrintDialog(nullptr, m));
    QVERIFY(seen);
    QCOMPARE(printerSetups, 1);
    QCOMPARE(layerSetups, 1);
    QCOMPARE(o.offsetX, 5.0);
    QCOMPARE(o.offsetY, -2.0);
    QCOMPARE(o.magnification, 1.5);
    QCOMPARE(o.flags, uint32_t(kPrintMirror));

    // 取消 leaves the options alone.
    PrintDialogModel again(PrintKind::kArtwork, o, 1);
    OnNextModal([](QWidget* d) {
        QVERIFY(Find<QCheckBox>(d, "check105")->isEnabled());
        QVERIFY(Find<QCheckBox>(d, "check104")->isChecked());
        Find<QLineEdit>(d, "edit101")->setText("9");
        Find<QPushButton>(d, "button2")->click();
    });
    QVERIFY(!RunPrintDialog(nullptr, again));
    QCOMPARE(o.offsetX, 5.0);
}

void PrintDialogsTest::rightClickMenuSwitchesToTheBmpFile() {
    PrintOptions o;
    PrintDialogModel m(PrintKind::kArtwork, o, 1);
    OnNextModal([](QWidget* d) {
        OnNextPopup("ＢＭＰファイルに出力");
        QContextMenuEvent e(QContextMenuEvent::Mouse, QPoint(5, 5), d->mapToGlobal(QPoint(5, 5)));
        QApplication::sendEvent(d, &e);
        Find<QPushButton>(d, "button1")->click();
    });
    QVERIFY(RunPrintDialog(nullptr, m));
    QVERIFY(o.toBmp());
}

void PrintDialogsTest::layerDialogMovesLayers() {
    Board b;
    for (int l = 0; l < kLayers; ++l) b.ClearLayerSwitch(l, kPrint);
    b.SetLayerName(1, "Top");
    b.SetLayerName(2, "Bottom");
    b.SetLayerSwitch(1, kPrint);
    PrintLayerDialogModel m(b);
    OnNextModal([](QWidget* d) {
        QCOMPARE(d->windowTitle(), QString("印刷レイヤー設定"));
        auto* printed = Find<QListWidget>(d, "list101");
        auto* all = Find<QListWidget>(d, "list102");
        QCOMPARE(printed->count(), 1);
        QCOMPARE(all->count(), 1);
        QVERIFY(all->item(0)->text().contains("Bottom"));
        all->item(0)->setSelected(true);
        Find<QPushButton>(d, "button103")->click();  // <<
        QCOMPARE(printed->count(), 2);
        QCOMPARE(all->count(), 0);
        printed->item(0)->setSelected(true);
        Find<QPushButton>(d, "button104")->click();  // >>
        QCOMPARE(printed->count(), 1);
        Find<QPushButton>(d, "button1")->click();
    });
    QVERIFY(RunPrintLayerDialog(nullptr, m));
    QVERIFY(m.pressOk());
    QVERIFY(!(b.layerFlags[1] & kPrint));
    QVERIFY(b.layerFlags[2] & kPrint);
}

void PrintDialogsTest::printBitmapBecomesAQtImage() {
    MonoBitmap bm;
    QVERIFY(bm.Create(20, 3, true));
    bm.Span(2, 12, 1, false);
    bm.image().dpiX = bm.image().dpiY = 600;
    const QImage img = DibToImage(bm.image());
    QCOMPARE(img.size(), QSize(20, 3));
    QCOMPARE(img.pixel(0, 0) & 0xFFFFFF, 0xFFFFFFu);
    QCOMPARE(img.pixel(2, 1) & 0xFFFFFF, 0u);
    QCOMPARE(img.pixel(12, 1) & 0xFFFFFF, 0u);
    QCOMPARE(img.pixel(13, 1) & 0xFFFFFF, 0xFFFFFFu);
    QCOMPARE(img.dotsPerMeterX(), 23622);
}

void PrintDialogsTest::editorPrintsTheArtworkToAPdfPrinter() {
    QTemporaryDir dir;
    Folders f;
    f.program = dir.path().toStdString();
    f.userData = f.program / "user";
    f.shipped = {fs::path(ZEVO_EXAMPLES).parent_path() / "resources"};
    f.programWritable = true;
    EditorWindow w{Paths(f)};
    w.show();
    w.startUp({QString(ZEVO_EXAMPLES) + "/example.pcb"});
    auto printer = std::make_unique<QPrinter>(QPrinter::HighResolution);
    printer->setOutputFormat(QPrinter::PdfFormat);
    printer->setResolution(300);
    printer->setPageSize(QPageSize(QPageSize::A4));
    printer->setPageMargins(QMarginsF(0, 0, 0, 0), QPageLayout::Millimeter);
    const QString pdf = dir.filePath("page.pdf");
    printer->setOutputFileName(pdf);
    w.usePrinter(std::move(printer));
    const std::optional<PrinterMetrics> m = w.printerMetrics();
    QVERIFY(m.has_value());
    QCOMPARE(m->lpx, 300);
    QVERIFY(std::abs(m->widthMm - 210) < 0.5);
    QVERIFY(std::abs(m->resX - 2480) <= 1);

    bool seen = false;
    OnNextModal([&](QWidget* d) {
        seen = true;
        Find<QPushButton>(d, "button1")->click();
    });
    w.editor().command(Cmd::PrintArtwork);
    QVERIFY(seen);
    QVERIFY(QFileInfo(pdf).size() > 1000);
    QFile file(pdf);
    QVERIFY(file.open(QIODevice::ReadOnly));
    QVERIFY(file.read(5) == "%PDF-");
}

QTEST_MAIN(PrintDialogsTest)
#include "print_dialogs_test.moc"
