#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "board/model/board.h"
#include "shell/dialogs/aperture_dialog.h"
#include "shell/dialogs/board_size_dialog.h"
#include "shell/dialogs/grid_dialog.h"
#include "shell/dialogs/keypad.h"
#include "shell/dialogs/layer_dialog.h"
#include "shell/dialogs/pad_dialog.h"
#include "shell/dialogs/swap_dialog.h"
#include "text/cp932.h"
#include "view/board_renderer.h"
#include "view/view_state.h"

namespace zevo {
namespace {

PadPair Pair(int layer, int aperture) {
    return {static_cast<int16_t>(layer), static_cast<int16_t>(aperture)};
}

// --- numeric fields

TEST(DialogFields, ReadTheFieldTextAsTheBoardsBytes) {
    EXPECT_DOUBLE_EQ(ReadNumericField("2*(1.27+0.3)").value_or(0), 3.14);
    EXPECT_FALSE(ReadNumericField("   ").has_value());
    // A full-width digit leaves its second CP932 byte ("R") behind, as typed text always has.
    EXPECT_FALSE(ReadNumericField("３").has_value());
    EXPECT_DOUBLE_EQ(ReadNumericField("1２").value_or(0), 1);
    EXPECT_EQ(CalcErrorText(), "計算エラー");
    EXPECT_EQ(MessageCaption(), "Zevo");
}

TEST(DialogFields, Cp932PrefixKeepsDoubleByteCharactersWhole) {
    const std::string name = "A\x8C\x8A\x82\xA0";  // "A穴あ"
    EXPECT_EQ(Cp932Prefix(name, 64), name);
    EXPECT_EQ(Cp932Prefix(name, 4), "A\x8C\x8A");
    EXPECT_EQ(Cp932Prefix(name, 2), "A");
    EXPECT_EQ(Cp932Prefix(name, 0), "");
    EXPECT_EQ(Cp932Prefix("\x8C", 5), "\x8C");  // a lead byte without its second byte
}

// --- apertures

TEST(ApertureDialog, ShowsTheSelectedDiameterAndStoresWholeMicrometres) {
    Board board;
    ApertureDialogModel dlg(board, ApertureTable::kRound);
    EXPECT_EQ(dlg.selected(), 0);
    EXPECT_EQ(dlg.sizeText(), "0.100");
    EXPECT_EQ(ApertureDialogModel::entryText(255), "255");
    dlg.selectEntry(18);
    EXPECT_EQ(dlg.sizeText(), "1.000");

    dlg.editSize("0.1234");
    EXPECT_TRUE(dlg.pressChange().stored());
    EXPECT_DOUBLE_EQ(board.roundAp[18], 0.0615);  // 0.123 / 2, on the 0.0005 step
    EXPECT_EQ(dlg.sizeText(), "0.123");
    EXPECT_TRUE(dlg.changed());

    // Binary fractions do not lose a micrometre: 1.001 is 1000.9999... micrometres.
    for (const char* text : {"1.001", "2.002", "1.005"}) {
        dlg.editSize(text);
        EXPECT_TRUE(dlg.pressChange().stored());
        EXPECT_EQ(dlg.sizeText(), text);
    }
    dlg.editSize("2*sqrt(4)");
    EXPECT_TRUE(dlg.pressChange().stored());
    EXPECT_DOUBLE_EQ(board.roundAp[18], 2);
    EXPECT_DOUBLE_EQ(board.squareAp[18], 0.5);  // the other table is left alone
}

TEST(ApertureDialog, IgnoresSizesOutsideTheRangeAndReportsBadText) {
    Board board;
    ApertureDialogModel dlg(board, ApertureTable::kSquare, 3);
    const double before = board.squareAp[3];
    for (const char* text : {"0.0004", "0", "-1", "100", "1e9"}) {
        dlg.editSize(text);
        EXPECT_EQ(dlg.pressChange().outcome, FieldOutcome::kIgnored) << text;
        EXPECT_EQ(board.squareAp[3], before) << text;
        EXPECT_EQ(dlg.sizeText(), text);  // the field stays as typed
    }
    dlg.editSize("99.9999");  // just below the limit: 99.999
    EXPECT_TRUE(dlg.pressChange().stored());
    EXPECT_DOUBLE_EQ(board.squareAp[3], 49.9995);
    dlg.editSize("0.001");
    EXPECT_TRUE(dlg.pressChange().stored());
    EXPECT_DOUBLE_EQ(board.squareAp[3], 0.0005);

    dlg.editSize("1/0");
    const FieldResult r = dlg.pressChange();
    EXPECT_TRUE(r.calcError());
    EXPECT_EQ(r.control, ApertureDialogModel::kSizeEdit);
    EXPECT_EQ(dlg.sizeText(), "1/0");  // kept for correction
    EXPECT_DOUBLE_EQ(board.squareAp[3], 0.0005);
    EXPECT_DOUBLE_EQ(board.roundAp[3], DefaultApertureDiameter(3) / 2);  // the other table

    dlg.selectEntry(256);  // not an entry
    EXPECT_EQ(dlg.selected(), 3);
}

// --- pads

TEST(PadDialog, OpeningAnEmptyListShowsANewDefinitionAndClosingDropsIt) {
    Board board;
    PadDialogModel dlg(board);
    EXPECT_EQ(board.padDefs.size(), 1u);
    EXPECT_EQ(dlg.current(), 0);
    EXPECT_EQ(dlg.numberText(), "0");
    EXPECT_TRUE(dlg.lines().empty());
    dlg.close();
    EXPECT_TRUE(board.padDefs.empty());
    EXPECT_TRUE(dlg.lines().empty());  // nothing shown after closing
    EXPECT_FALSE(dlg.pressAdd());
}

TEST(PadDialog, ListsPairsAndStartsTheCombosAtTheFirstPair) {
    Board board;
    board.SetLayerName(2, Utf8ToCp932("パターン"));
    board.padDefs = {{Pair(2, 18), Pair(1, 0)}};
    PadDialogModel dlg(board);
    EXPECT_EQ(dlg.selectedAperture(), 18);
    EXPECT_EQ(dlg.selectedLayer(), 2);
    const std::vector<std::string> expected = {"  1.000:   2: パターン", "  0.100:   1: "};
    EXPECT_EQ(dlg.lines(), expected);
    EXPECT_EQ(dlg.layerEntry(2), "  2: パターン");
    EXPECT_EQ(dlg.layerEntry(7), "  7:");
    EXPECT_EQ(dlg.apertureEntry(18), " 18: 1.000");
}

TEST(PadDialog, AddsNewPairsOnlyAndDeletesTheFirstPairOnTheLinesLayer) {
    Board board;
    PadDialogModel dlg(board);
    dlg.selectAperture(5);
    dlg.selectLayer(2);
    EXPECT_TRUE(dlg.pressAdd());
    EXPECT_FALSE(dlg.pressAdd());  // already there
    dlg.selectAperture(7);
    EXPECT_TRUE(dlg.pressAdd());
    dlg.selectLayer(1);
    EXPECT_TRUE(dlg.pressAdd());
    ASSERT_EQ(board.padDefs[0], (PadDefinition{Pair(2, 5), Pair(2, 7), Pair(1, 7)}));
    EXPECT_EQ(dlg.lines().size(), 3u);

    EXPECT_FALSE(dlg.pressDelete());  // no line selected
    dlg.selectLine(1);                // the second pair on layer 2 ...
    EXPECT_TRUE(dlg.pressDelete());   // ... takes the first pair on layer 2
    EXPECT_EQ(board.padDefs[0], (PadDefinition{Pair(2, 7), Pair(1, 7)}));
    EXPECT_EQ(dlg.selectedLine(), -1);
    dlg.selectLine(5);
    EXPECT_EQ(dlg.selectedLine(), -1);
}

TEST(PadDialog, SteppingThroughTheListDropsEmptyDefinitionsAndAppendsAtTheEnds) {
    Board board;
    board.padDefs = {{Pair(1, 1)}, {Pair(2, 2)}};
    PadDialogModel dlg(board);
    dlg.pressNext();
    EXPECT_EQ(dlg.current(), 1);
    EXPECT_EQ(dlg.selectedLayer(), 2);
    dlg.pressNext();  // forward from the last: a new empty definition
    EXPECT_EQ(dlg.current(), 2);
    EXPECT_EQ(board.padDefs.size(), 3u);
    dlg.pressNext();  // the empty one goes and a new one takes its place
    EXPECT_EQ(dlg.current(), 2);
    EXPECT_EQ(board.padDefs.size(), 3u);
    dlg.pressPrevious();  // leaving the empty one removes it
    EXPECT_EQ(dlg.current(), 1);
    EXPECT_EQ(board.padDefs.size(), 2u);
    dlg.pressPrevious();
    EXPECT_EQ(dlg.current(), 0);
    dlg.pressPrevious();  // back from the first: an empty definition at the end
    EXPECT_EQ(dlg.current(), 2);
    EXPECT_TRUE(board.padDefs[2].empty());

    // Filling the new one keeps it; stepping on wraps to a fresh one after it.
    dlg.selectLayer(3);
    dlg.selectAperture(3);
    dlg.pressAdd();
    dlg.pressNext();
    EXPECT_EQ(dlg.current(), 3);
    EXPECT_EQ(dlg.selectedLayer(), 3);  // an empty definition leaves the combos as they were

    // A definition emptied in the middle of the list goes when it is left.
    dlg.pressPrevious();
    dlg.pressPrevious();
    dlg.pressPrevious();
    ASSERT_EQ(dlg.current(), 0);
    dlg.pressNext();
    dlg.selectLine(0);
    dlg.pressDelete();
    dlg.pressNext();
    EXPECT_EQ(dlg.current(), 1);
    EXPECT_EQ(board.padDefs, (std::vector<PadDefinition>{{Pair(1, 1)}, {Pair(3, 3)}}));

    // Back from an empty first definition while the last is full.
    board.padDefs.insert(board.padDefs.begin(), PadDefinition{});
    PadDialogModel again(board);
    again.pressPrevious();
    EXPECT_EQ(board.padDefs.size(), 3u);
    EXPECT_EQ(again.current(), 2);
    EXPECT_TRUE(board.padDefs[2].empty());
    again.close();
    EXPECT_EQ(board.padDefs, (std::vector<PadDefinition>{{Pair(1, 1)}, {Pair(3, 3)}}));
}

TEST(PadDialog, ADefinitionEqualToAnotherIsNotLeftUntilItDiffers) {
    Board board;
    board.padDefs = {{Pair(1, 5), Pair(2, 5)}, {Pair(1, 7)}};
    PadDialogModel dlg(board);
    dlg.pressNext();
    dlg.pressNext();  // a new empty definition after the last
    ASSERT_EQ(dlg.current(), 2);
    dlg.selectAperture(5);
    dlg.selectLayer(2);
    dlg.pressAdd();
    dlg.selectLayer(1);
    dlg.pressAdd();  // the first definition's pairs in the other order: equal to it
    EXPECT_TRUE(dlg.duplicate());
    EXPECT_FALSE(dlg.pressNext());
    EXPECT_EQ(dlg.current(), 2);
    EXPECT_FALSE(dlg.pressPrevious());
    EXPECT_EQ(dlg.current(), 2);
    EXPECT_FALSE(dlg.close());
    EXPECT_EQ(dlg.current(), 2);  // still shown, to be changed
    EXPECT_EQ(board.padDefs.size(), 3u);
    // Once it differs it is left as any other; the list reads back as it stands.
    dlg.selectAperture(7);
    dlg.pressAdd();
    EXPECT_FALSE(dlg.duplicate());
    EXPECT_TRUE(dlg.pressPrevious());
    EXPECT_EQ(dlg.current(), 1);
    EXPECT_TRUE(dlg.close());
    Board again;
    for (const PadDefinition& d : board.padDefs) again.AddPadDefinition(d);
    EXPECT_EQ(again.padDefs, board.padDefs);
}

// --- layers

TEST(LayerDialog, PagesHoldEightLayersAndWrapAround) {
    Board board;
    board.SetLayerName(9, "top");
    LayerDialogModel dlg(board);
    EXPECT_EQ(dlg.page(), 0);
    EXPECT_EQ(LayerDialogModel::pageEntry(0), "レイヤー   0 ～   7");
    EXPECT_EQ(LayerDialogModel::pageEntry(31), "レイヤー 248 ～ 255");
    EXPECT_EQ(dlg.numberText(3), "  3");
    dlg.pressPrevious();
    EXPECT_EQ(dlg.page(), 31);
    EXPECT_EQ(dlg.numberText(7), "255");
    dlg.pressNext();
    EXPECT_EQ(dlg.page(), 0);
    dlg.pressNext();
    EXPECT_EQ(dlg.page(), 1);
    EXPECT_EQ(dlg.nameText(1), "top");
    dlg.choosePage(31);
    dlg.pressNext();
    EXPECT_EQ(dlg.page(), 0);
    dlg.choosePage(32);  // not a page
    EXPECT_EQ(dlg.page(), 0);
    EXPECT_FALSE(dlg.changed());
}

TEST(LayerDialog, DisplayAndEditSwitchesFollowEachOther) {
    Board board;
    LayerDialogModel dlg(board);
    EXPECT_TRUE(dlg.displayed(2));
    EXPECT_TRUE(dlg.editable(2));
    dlg.setDisplayed(2, false);
    EXPECT_FALSE(dlg.editable(2));
    dlg.setDisplayed(2, true);
    EXPECT_FALSE(dlg.editable(2));  // switching display on leaves edit alone
    dlg.setDisplayed(2, false);
    dlg.setEditable(2, true);
    EXPECT_TRUE(dlg.displayed(2));
    dlg.setEditable(3, false);
    EXPECT_TRUE(dlg.displayed(3));
    // Nothing reaches the board before the page is left.
    EXPECT_EQ(board.layerFlags[3] & (kDisp | kActiv), kDisp | kActiv);
    dlg.setDisplayed(4, false);
    dlg.choosePage(1);
    EXPECT_EQ(board.layerFlags[2] & (kDisp | kActiv), kDisp | kActiv);
    EXPECT_EQ(board.layerFlags[3] & (kDisp | kActiv), kDisp);
    EXPECT_EQ(board.layerFlags[4] & (kDisp | kActiv), 0u);
    EXPECT_TRUE(dlg.changed());
    dlg.choosePage(0);  // shown again as stored
    EXPECT_FALSE(dlg.editable(3));
    EXPECT_TRUE(dlg.displayed(3));
    EXPECT_FALSE(dlg.displayed(4));
}

TEST(LayerDialog, RowsAreStoredOnEveryWayOut) {
    for (int way = 0; way < 3; ++way) {
        Board board;
        board.layerFlags[5] |= kPrint;
        LayerDialogModel dlg(board);
        dlg.editName(5, "パターン");
        dlg.setDisplayed(5, false);
        if (way == 0) dlg.pressOk();
        if (way == 1) dlg.pressCancel();
        if (way == 2) dlg.close();
        EXPECT_EQ(View(board.layerName[5]), Utf8ToCp932("パターン")) << way;
        EXPECT_EQ(board.layerFlags[5], kPrint | kRolePattern) << way;  // print stays
    }
}

TEST(LayerDialog, ANameWithACommaIsRefused) {
    Board board;
    board.SetLayerName(1, "Top");
    LayerDialogModel dlg(board);
    EXPECT_FALSE(dlg.editName(1, "Top, copper"));
    EXPECT_EQ(dlg.nameText(1), "Top");
    EXPECT_TRUE(dlg.editName(1, "Top copper，表"));  // the full-width comma is a character
    dlg.pressOk();
    EXPECT_EQ(View(board.layerName[1]), Utf8ToCp932("Top copper，表"));
    EXPECT_TRUE(LayerDialogModel::AcceptsName(""));
    EXPECT_FALSE(LayerDialogModel::AcceptsName(","));
}

TEST(LayerDialog, ClearingANameRemovesItsRoles) {
    Board board;
    board.SetLayerName(10, Utf8ToCp932("穴あけ"));
    board.SetLayerName(11, "pattern");
    ASSERT_TRUE(board.HasRole(10, kRoleHole));
    LayerDialogModel dlg(board);
    dlg.choosePage(1);
    EXPECT_EQ(dlg.nameText(2), "穴あけ");
    dlg.editName(2, "");
    dlg.editName(3, "");
    dlg.choosePage(2);
    EXPECT_EQ(board.layerName[10], nullptr);
    EXPECT_EQ(board.layerName[11], nullptr);
    EXPECT_FALSE(board.HasRole(10, kRoleHole | kRoleCut));
    EXPECT_FALSE(board.HasRole(11, kRolePattern));
}

TEST(LayerDialog, NamesAreCutToSixtyFourBytesAndUntouchedNamesKeepTheirBytes) {
    Board board;
    // A name whose CP932 bytes have no character (0x85 0x40 is unassigned): shown with a
    // replacement character, written back untouched.
    const std::string odd = "odd\x85\x40name";
    board.SetLayerName(1, odd);
    LayerDialogModel dlg(board);
    std::string longName;
    for (int i = 0; i < 40; ++i) longName += "穴";  // 80 bytes in CP932
    dlg.editName(2, longName);
    dlg.editName(3, "x" + longName);
    dlg.close();
    EXPECT_EQ(View(board.layerName[1]), odd);
    EXPECT_EQ(View(board.layerName[2]).size(), 64u);
    EXPECT_EQ(View(board.layerName[3]).size(), 63u);  // a character is never split
    EXPECT_TRUE(dlg.changed());
}

TEST(LayerDialog, AChosenColourIsStoredAtOnce) {
    Board board;
    board.layerColour[17] = 4;
    LayerDialogModel dlg(board);
    dlg.choosePage(2);
    EXPECT_EQ(dlg.colourIndex(1), 4);
    EXPECT_EQ(dlg.colour(1), kPalette[4]);
    EXPECT_FALSE(dlg.chooseColour(1, -1));  // the chooser was closed
    EXPECT_FALSE(dlg.chooseColour(1, 4));   // the same colour
    EXPECT_FALSE(dlg.chooseColour(1, 16));
    EXPECT_FALSE(dlg.changed());
    EXPECT_TRUE(dlg.chooseColour(1, 9));
    EXPECT_EQ(board.layerColour[17], 9);
    EXPECT_TRUE(dlg.changed());

    ColourChooserModel chooser(9);
    EXPECT_EQ(chooser.result(), -1);
    chooser.pressColour(15);
    EXPECT_EQ(chooser.result(), 15);
    chooser.close();
    EXPECT_EQ(chooser.result(), -1);
    EXPECT_EQ(ColourChooserModel::colour(3), kPalette[3]);
}

// --- layer swap pairs

TEST(SwapDialog, PairsTwoDifferentSelectedLayersAndListsEachPairOnce) {
    Board board;
    board.SetLayerName(1, "top");
    board.SetLayerName(2, Utf8ToCp932("裏面"));
    SwapDialogModel dlg(board);
    EXPECT_EQ(dlg.selectedLayer1(), -1);
    EXPECT_TRUE(dlg.lines().empty());
    dlg.selectLayer1(1);
    EXPECT_FALSE(dlg.pressAdd());  // the second is not chosen
    dlg.selectLayer2(1);
    EXPECT_FALSE(dlg.pressAdd());  // the same layer
    dlg.selectLayer2(2);
    EXPECT_TRUE(dlg.pressAdd());
    EXPECT_EQ(board.SwapPartner(1), 2);
    dlg.selectLayer1(3);
    dlg.selectLayer2(4);
    dlg.pressAdd();
    const std::vector<std::string> expected = {"  1: top            ⇔  2: 裏面",
                                               "  3:                ⇔  4:"};
    EXPECT_EQ(dlg.lines(), expected);
    // Pairing 2 anew dissolves 1 <-> 2.
    dlg.selectLayer1(5);
    dlg.selectLayer2(2);
    dlg.pressAdd();
    EXPECT_EQ(board.SwapPartner(1), 1);
    EXPECT_EQ(dlg.pairs(), (std::vector<std::pair<int, int>>{{2, 5}, {3, 4}}));
}

TEST(SwapDialog, DeletingALineResetsBothLayersEvenWithBlanksInTheNames) {
    Board board;
    board.SetLayerName(6, "a long name with blanks in it");
    board.PairLayers(6, 200);
    board.PairLayers(1, 2);
    SwapDialogModel dlg(board);
    EXPECT_FALSE(dlg.pressDelete());
    dlg.selectLine(1);
    EXPECT_TRUE(dlg.pressDelete());
    EXPECT_EQ(board.SwapPartner(6), 6);
    EXPECT_EQ(board.SwapPartner(200), 200);
    EXPECT_EQ(board.SwapPartner(1), 2);
    EXPECT_EQ(dlg.lines().size(), 1u);
    EXPECT_TRUE(dlg.changed());
}

// --- grid

TEST(GridDialog, ShowsTheDocumentsGridAndStoresAllFourFields) {
    Board board;
    board.SetGrid(1.27, 2);
    board.SetGridOrigin(10.5, 20.25);
    ViewState view;
    GridDialogModel dlg(board, &view);
    EXPECT_EQ(dlg.spacingText(), "1.27");
    EXPECT_EQ(dlg.originXText(), "10.5");
    EXPECT_EQ(dlg.originYText(), "20.25");
    EXPECT_EQ(dlg.intervalText(), "2");

    dlg.editSpacing("2.54/2");
    dlg.editOriginX("5");
    dlg.editOriginY("7.5");
    dlg.editInterval("5.9");
    EXPECT_TRUE(dlg.pressSet().stored());
    EXPECT_DOUBLE_EQ(board.gridSpacing, 1.27);
    EXPECT_EQ(board.gridInterval, 5);  // the fraction is dropped
    EXPECT_EQ(board.gridOrigin.x, 5);
    EXPECT_EQ(board.gridOrigin.y, 7.5);
    EXPECT_DOUBLE_EQ(view.gridSpacing, 1.27);
    EXPECT_EQ(view.gridDisplayEvery, 5);
    EXPECT_EQ(view.gridOriginX, 5);
    EXPECT_EQ(view.gridOriginY, 7.5);
}

TEST(GridDialog, ClampsSpacingOriginAndInterval) {
    Board board;  // 300 x 210
    GridDialogModel dlg(board);
    dlg.editSpacing("0.001");
    dlg.editOriginX("-3");
    dlg.editOriginY("500");
    dlg.editInterval("0.5");
    EXPECT_TRUE(dlg.pressSet().stored());
    EXPECT_EQ(board.gridSpacing, 0.005);
    EXPECT_EQ(board.gridOrigin.x, 0);
    EXPECT_EQ(board.gridOrigin.y, 210);  // clamped onto the board, not reset to 0
    EXPECT_EQ(board.gridInterval, 1);

    dlg.editSpacing("1000");
    dlg.editOriginX("301");
    dlg.editOriginY("-0.1");
    dlg.editInterval("1e12");
    EXPECT_TRUE(dlg.pressSet().stored());
    EXPECT_EQ(board.gridSpacing, 100);
    EXPECT_EQ(board.gridOrigin.x, 300);
    EXPECT_EQ(board.gridOrigin.y, 0);
    EXPECT_EQ(board.gridInterval, GridDialogModel::kMaxInterval);
    dlg.editInterval("-7");
    EXPECT_TRUE(dlg.pressSet().stored());
    EXPECT_EQ(board.gridInterval, 1);
}

TEST(GridDialog, AnErrorInAnyFieldChangesNothing) {
    Board board;
    board.SetGrid(2, 3);
    GridDialogModel dlg(board);
    const int ids[] = {GridDialogModel::kSpacingEdit, GridDialogModel::kOriginXEdit,
                       GridDialogModel::kOriginYEdit, GridDialogModel::kIntervalEdit};
    for (int bad = 0; bad < 4; ++bad) {
        dlg.editSpacing(bad == 0 ? "sqrt(-1)" : "1");
        dlg.editOriginX(bad == 1 ? "" : "1");
        dlg.editOriginY(bad == 2 ? "(1" : "1");
        dlg.editInterval(bad == 3 ? "x" : "4");
        const FieldResult r = dlg.pressSet();
        EXPECT_TRUE(r.calcError()) << bad;
        EXPECT_EQ(r.control, ids[bad]);
        EXPECT_EQ(board.gridSpacing, 2);
        EXPECT_EQ(board.gridInterval, 3);
        EXPECT_EQ(board.gridOrigin.x, 0);
    }
}

// --- board size

TEST(BoardSizeDialog, RoundsUpToWholeMillimetresWithinTheLimits) {
    Board board;
    BoardSizeDialogModel dlg(board);
    EXPECT_EQ(dlg.xText(), "300");
    EXPECT_EQ(dlg.yText(), "210");
    dlg.editX("123.2");
    dlg.editY("99");
    EXPECT_TRUE(dlg.pressOk().stored());
    EXPECT_EQ(board.sizeX, 124);
    EXPECT_EQ(board.sizeY, 100);

    EXPECT_EQ(BoardSizeDialogModel::FitSide(1000.5), 1000);
    EXPECT_EQ(BoardSizeDialogModel::FitSide(-5), 100);
    EXPECT_EQ(BoardSizeDialogModel::FitSide(0.7 * 300), 210);  // not 211
    EXPECT_EQ(BoardSizeDialogModel::FitSide(210.001), 211);
    EXPECT_EQ(BoardSizeDialogModel::FitSide(999.01), 1000);
}

TEST(BoardSizeDialog, AnErrorKeepsTheOldSizeAndTheOriginStaysOnTheBoard) {
    Board board;
    BoardSizeDialogModel dlg(board);
    dlg.editX("150");
    dlg.editY("10/0");
    const FieldResult r = dlg.pressOk();
    EXPECT_TRUE(r.calcError());
    EXPECT_EQ(r.control, BoardSizeDialogModel::kYEdit);
    EXPECT_EQ(board.sizeX, 300);
    EXPECT_EQ(board.sizeY, 210);

    board.SetGridOrigin(250, 100);
    dlg.editY("150");
    EXPECT_TRUE(dlg.pressOk().stored());
    EXPECT_EQ(board.gridOrigin.x, 0);
    EXPECT_EQ(board.gridOrigin.y, 0);
    board.SetGridOrigin(120, 100);
    dlg.pressOk();
    EXPECT_EQ(board.gridOrigin.x, 120);  // still on the board: kept
}

// --- key pad

TEST(Keypad, KeysTypeDigitsOperatorsAndBackspace) {
    const auto keys = KeypadKeys();
    ASSERT_EQ(keys.size(), 19u);
    std::string typed;
    for (const KeypadKey& k : keys) {
        EXPECT_EQ(KeypadCharacter(k.id), k.character);
        if (k.character != kKeypadBackspace) typed += k.character;
    }
    EXPECT_EQ(typed, "0123456789.+-*/()e");
    EXPECT_EQ(keys[13].label, "×");
    EXPECT_EQ(keys[14].label, "÷");
    EXPECT_EQ(KeypadCharacter(118), kKeypadBackspace);
    EXPECT_EQ(KeypadCharacter(99), 0);
    EXPECT_EQ(KeypadCharacter(119), 0);
}

}  // namespace
}  // namespace zevo
