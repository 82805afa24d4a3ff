// The print commands: the check print and the artwork print.
#include "shell/dialogs/print_dialog.h"
#include "shell/editor.h"
#include "view/print.h"

namespace zevo {

void Editor::print(PrintKind kind) {
    if (doc.board.items.emptyList()) return;
    if (!host.printerMetrics() && !host.choosePrinter()) return;

    PrintDialogModel m(kind, printOptions_, LoadPrintMagnification(paths.settingsFile()));
    m.printerSetup = [this] { host.choosePrinter(); };
    m.layerSetup = [this] {
        PrintLayerDialogModel layers(doc.board);
        if (runDialog(layers) && layers.pressOk()) {
            doc.modified = true;
            updateTitle();
        }
    };
    m.storeStandard = [this](double value) {
        return StorePrintMagnification(paths.settingsFile(), value);
    };
    if (!runDialog(m)) return;

    const std::optional<PrinterMetrics> printer = host.printerMetrics();
    if (!printer) return;
    // The page is drawn in a view of its own: the screen's view stays as it is.
    host.showProgress(kPrintingText, false);
    const std::optional<DibImage> page = RenderPrint(doc.board, kind, *printer, printOptions_);
    host.closeProgress();
    if (!page) return;
    if (printOptions_.toBmp()) {
        const fs::path file = BmpPathFor(doc.path);
        if (WriteBmp(file, *page)) host.openWithDesktop(file);
        return;
    }
    host.printBitmap(doc.path.filename().string(), *page);
}

}  // namespace zevo
