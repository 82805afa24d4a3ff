// The print commands through the editor: the print dialog and its menu, the print layer dialog,
// the page to the printer or the BMP file beside the document.
#include <gtest/gtest.h>

#include "editor_scenario.h"
#include "shell/dialogs/print_dialog.h"

namespace zevo::test {
namespace {

TEST(PrintDialogModel, FieldsMenuAndTheNegativeChoice) {
    PrintOptions o;
    o.flags = kPrintMirror;
    PrintDialogModel check(PrintKind::kCheck, o, 2.5);
    EXPECT_EQ(check.offsetXText(), "0");
    EXPECT_EQ(check.offsetYText(), "0");
    EXPECT_EQ(check.magnificationText(), "2.5");
    EXPECT_TRUE(check.mirror());
    // The negative check box is disabled for check prints.
    EXPECT_FALSE(check.negativeEnabled());
    check.setNegative(true);
    EXPECT_FALSE(check.negative());

    PrintDialogModel art(PrintKind::kArtwork, o, 1);
    EXPECT_TRUE(art.negativeEnabled());
    art.setNegative(true);
    art.setMirror(false);
    // The menu: the output not in force is the enabled one, and switches bit 2.
    auto menu = art.contextMenu();
    ASSERT_EQ(menu.size(), 4u);
    EXPECT_EQ(menu[0].text, "プリンタに出力");
    EXPECT_FALSE(menu[0].enabled);
    EXPECT_EQ(menu[1].text, "ＢＭＰファイルに出力");
    EXPECT_TRUE(menu[1].enabled);
    EXPECT_FALSE(art.chooseMenu(PrintDialogModel::MenuItem::kToPrinter));
    EXPECT_TRUE(art.chooseMenu(PrintDialogModel::MenuItem::kToBmp));
    EXPECT_TRUE(art.toBmp());
    menu = art.contextMenu();
    EXPECT_TRUE(menu[0].enabled);
    EXPECT_FALSE(menu[1].enabled);

    // 倍率を標準に設定: the field's value; a field that is not a number is refused.
    double stored = 0;
    art.storeStandard = [&](double v) {
        stored = v;
        return true;
    };
    art.editMagnification("3*2");
    EXPECT_TRUE(art.chooseMenu(PrintDialogModel::MenuItem::kStoreStandard));
    EXPECT_DOUBLE_EQ(stored, 6);
    art.editMagnification("abc");
    EXPECT_FALSE(art.chooseMenu(PrintDialogModel::MenuItem::kStoreStandard));
    EXPECT_DOUBLE_EQ(stored, 6);

    // 印刷 reads the three numbers; a bad one keeps the dialog open and changes nothing.
    art.editOffsetX("5");
    art.editOffsetY("1+1");
    FieldResult r = art.pressPrint();
    EXPECT_TRUE(r.calcError());
    EXPECT_EQ(r.control, PrintDialogModel::kMagnificationEdit);
    EXPECT_EQ(o.flags, uint32_t(kPrintMirror));
    art.editMagnification("0");  // kept within the standard range
    ASSERT_TRUE(art.pressPrint().stored());
    EXPECT_DOUBLE_EQ(o.offsetX, 5);
    EXPECT_DOUBLE_EQ(o.offsetY, 2);
    EXPECT_DOUBLE_EQ(o.magnification, 0.1);
    EXPECT_EQ(o.flags, uint32_t(kPrintNegative | kPrintToBmp));
}

TEST(PrintLayerDialogModel, ListsMoveLayersAndOkSetsThePrintSwitches) {
    Board b;
    for (int l = 0; l < kLayers; ++l) b.ClearLayerSwitch(l, kPrint);
    b.SetLayerName(1, "Top");
    b.SetLayerName(2, "Bottom");
    b.SetLayerName(7, "Silk");
    b.SetLayerSwitch(2, kPrint);
    b.SetLayerSwitch(9, kPrint);  // printed without a name
    PrintLayerDialogModel m(b);
    EXPECT_EQ(m.printed(), (std::vector<int>{2, 9}));
    EXPECT_EQ(m.others(), (std::vector<int>{1, 7}));
    EXPECT_TRUE(m.add(7));
    EXPECT_FALSE(m.add(7));  // already printed
    EXPECT_TRUE(m.remove(2));
    EXPECT_EQ(m.printed(), (std::vector<int>{7, 9}));
    EXPECT_EQ(m.others(), (std::vector<int>{1, 2}));
    EXPECT_TRUE(m.pressOk());
    EXPECT_TRUE(b.layerFlags[7] & kPrint);
    EXPECT_FALSE(b.layerFlags[2] & kPrint);
    EXPECT_TRUE(b.layerFlags[9] & kPrint);
    EXPECT_FALSE(PrintLayerDialogModel(b).pressOk());  // nothing moved
}

class PrintCommand : public EditorScenario {
  protected:
    void SetUp() override {
        EditorScenario::SetUp();
        host.printer = VirtualA4(100);
        for (int l = 0; l < 16; ++l) board.SetLayerSwitch(l, kPrint);
        board.SetRoundAperture(1, 2);
        board.AppendElement(nullptr, board.CreateLand(1, 1, false, {50, 50}));
    }
};

TEST_F(PrintCommand, TheArtworkPrintGoesToThePrinterAsOneTitledPage) {
    host.answer<PrintDialogModel>([](PrintDialogModel& m) {
        EXPECT_TRUE(m.negativeEnabled());
        return m.pressPrint().stored();
    });
    const ViewState before = editor.view;
    editor.command(Cmd::PrintArtwork);
    ASSERT_EQ(host.printed.size(), 1u);
    EXPECT_EQ(host.printed[0].first, editor.doc.path.filename().string());
    EXPECT_EQ(host.printed[0].second.bits, 1);
    EXPECT_EQ(host.printed[0].second.width, VirtualA4(100).resX);
    EXPECT_EQ(host.progressTexts, (std::vector<std::string>{"印刷中"}));
    EXPECT_EQ(host.progressOpen, 0);
    // The screen's view is untouched.
    EXPECT_EQ(editor.view.scale, before.scale);
    EXPECT_EQ(editor.view.viewLeft, before.viewLeft);
    EXPECT_EQ(editor.view.mirrored(), before.mirrored());

    // Cancelled: nothing printed.
    host.answer<PrintDialogModel>([](PrintDialogModel&) { return false; });
    editor.command(Cmd::PrintCheck);
    EXPECT_EQ(host.printed.size(), 1u);
}

TEST_F(PrintCommand, ToABmpFileBesideTheDocumentOpenedWithTheDesktop) {
    editor.doc.path = dir / "board.v1.pcb";
    host.answer<PrintDialogModel>([](PrintDialogModel& m) {
        EXPECT_FALSE(m.negativeEnabled());
        m.chooseMenu(PrintDialogModel::MenuItem::kToBmp);
        return m.pressPrint().stored();
    });
    editor.command(Cmd::PrintCheck);
    EXPECT_TRUE(host.printed.empty());
    ASSERT_EQ(host.opened.size(), 1u);
    EXPECT_EQ(host.opened[0], dir / "board.v1.bmp");
    const std::string bytes = dir.Get("board.v1.bmp");
    EXPECT_EQ(bytes.substr(0, 2), "BM");
    // The choice stays for the next print.
    host.answer<PrintDialogModel>([](PrintDialogModel& m) {
        EXPECT_TRUE(m.toBmp());
        return false;
    });
    editor.command(Cmd::PrintArtwork);
}

TEST_F(PrintCommand, NothingWithoutElementsOrPrinterAndTheStandardMagnification) {
    // No printer and the set-up dialog cancelled: no dialog, nothing printed.
    host.printer.reset();
    editor.command(Cmd::PrintArtwork);
    EXPECT_EQ(host.printerDialogs, 1);
    EXPECT_EQ(host.shown<PrintDialogModel>(), 0);
    // A printer chosen there: the dialog comes.
    host.printerChosen = VirtualA4(100);
    host.answer<PrintDialogModel>([](PrintDialogModel& m) {
        m.editMagnification("20");
        EXPECT_TRUE(m.chooseMenu(PrintDialogModel::MenuItem::kStoreStandard));
        return false;
    });
    editor.command(Cmd::PrintArtwork);
    EXPECT_EQ(host.shown<PrintDialogModel>(), 1);
    // The next dialog starts at the stored standard, kept within 0.1..10.
    host.answer<PrintDialogModel>([](PrintDialogModel& m) {
        EXPECT_EQ(m.magnificationText(), "10");
        return false;
    });
    editor.command(Cmd::PrintArtwork);
    EXPECT_EQ(host.shown<PrintDialogModel>(), 2);

    // Printed layers changed through the layer dialog: the document is modified.
    editor.doc.modified = false;
    host.answer<PrintDialogModel>([](PrintDialogModel& m) {
        m.pressLayers();
        return m.pressPrint().stored();
    });
    host.answer<PrintLayerDialogModel>([](PrintLayerDialogModel& m) {
        EXPECT_TRUE(m.remove(1));
        return true;
    });
    editor.command(Cmd::PrintArtwork);
    EXPECT_TRUE(editor.doc.modified);
    EXPECT_FALSE(board.layerFlags[1] & kPrint);
    EXPECT_TRUE(host.printed.empty());  // the land's layer is no longer printed
}

TEST_F(PrintCommand, AnEmptyBoardPrintsNothing) {
    board.ClearBoard();
    editor.command(Cmd::PrintArtwork);
    EXPECT_EQ(host.shown<PrintDialogModel>(), 0);
    EXPECT_TRUE(editor.menuState(Cmd::PrintArtwork).enabled);
}

}  // namespace
}  // namespace zevo::test
