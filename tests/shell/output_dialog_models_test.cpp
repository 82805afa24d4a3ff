#include <gtest/gtest.h>

#include <string>

#include "board/model/board.h"
#include "shell/dialogs/dcode_dialog.h"
#include "shell/dialogs/gerber_input_dialog.h"
#include "shell/dialogs/gerber_output_dialog.h"
#include "shell/dialogs/hole_data_dialog.h"
#include "shell/dialogs/hole_output_dialog.h"
#include "shell/dialogs/layer_file_table.h"
#include "shell/dialogs/part_coords_dialog.h"
#include "shell/dialogs/tcode_dialog.h"

namespace zevo {
namespace {

// --- the paged layer/file table

TEST(LayerFileTable, PagesByEightAndWrapsAtBothEnds) {
    Board board;
    LayerFiles files;
    LayerFileTable t(board, files);
    EXPECT_EQ(t.page(), 0);
    t.pressPrevious();
    EXPECT_EQ(t.page(), 248);
    EXPECT_EQ(t.layerOf(7), 255);
    EXPECT_EQ(t.numberText(7), "255");
    t.pressNext();
    EXPECT_EQ(t.page(), 0);
    t.pressNext();
    t.pressNext();
    EXPECT_EQ(t.page(), 16);
    EXPECT_EQ(t.numberText(1), " 17");
    t.pressPrevious();
    EXPECT_EQ(t.page(), 8);
}

TEST(LayerFileTable, ShowsTheLayerNamesAndFilesOfThePage) {
    Board board;
    board.SetLayerName(9, "\x83\x70\x83\x5e\x81\x5b\x83\x93");  // "パターン"
    LayerFiles files;
    files.name[9] = "pat\x8c\x8a.grb";  // "pat穴.grb"
    files.selected[9] = true;
    LayerFileTable t(board, files);
    t.pressNext();
    EXPECT_EQ(t.layerNameText(1), "パターン");
    EXPECT_EQ(t.layerNameText(2), "");
    EXPECT_EQ(t.fileText(1), "pat穴.grb");
    EXPECT_TRUE(t.selected(1));
    EXPECT_TRUE(t.selectable(1));
    EXPECT_FALSE(t.selectable(2));
}

TEST(LayerFileTable, ACheckBoxNeedsAFileName) {
    Board board;
    LayerFiles files;
    LayerFileTable t(board, files);
    t.setSelected(3, true);
    EXPECT_FALSE(files.selected[3]);
    t.editFile(3, "silk");
    EXPECT_EQ(files.name[3], "silk");
    t.setSelected(3, true);
    EXPECT_TRUE(files.selected[3]);
    t.setSelected(3, false);
    EXPECT_FALSE(files.selected[3]);
    t.setSelected(3, true);
    // Clearing the name clears the check box, so no selected layer is left without a file.
    t.editFile(3, "");
    EXPECT_FALSE(files.selected[3]);
    EXPECT_FALSE(t.selectable(3));
    // Rows beyond the page are refused.
    t.editFile(8, "x");
    t.setSelected(-1, true);
    EXPECT_TRUE(files.name[8].empty());
}

TEST(LayerFileTable, NamesAreKeptAsCp932CutAt260BytesOnACharacterBoundary) {
    Board board;
    LayerFiles files;
    LayerFileTable t(board, files);
    t.editFile(0, std::string(300, 'a'));
    EXPECT_EQ(files.name[0].size(), 260u);
    std::string wide;
    for (int i = 0; i < 131; ++i) wide += "穴";  // 262 bytes in CP932
    t.editFile(1, "a" + wide);
    EXPECT_EQ(files.name[1].size(), 259u);  // "a" and 129 whole characters
    EXPECT_EQ(t.fileText(1), "a" + wide.substr(0, 129 * 3));
}

TEST(DialogFields, IntegerFieldsDropTheFractionAndEvaluate) {
    EXPECT_EQ(ReadIntField("2+1.9").value_or(-9), 3);
    EXPECT_EQ(ReadIntField("-2.5").value_or(-9), -2);
    EXPECT_FALSE(ReadIntField("abc").has_value());
    EXPECT_EQ(ReadIntField("1e30").value_or(0), 1000000);
    EXPECT_EQ(PathToUtf8(PathFromUtf8("/tmp/穴.hol")), "/tmp/穴.hol");
}

// --- Gerber output

TEST(GerberOutputDialog, OutputTakesTheTableTheDecimalsClampedAndTheFormat) {
    Board board;
    GerberOutputChoices choices;
    choices.decimals = 4;
    choices.extended = true;
    GerberOutputDialogModel m(board, choices);
    EXPECT_EQ(m.decimalsText(), "4");
    EXPECT_TRUE(m.extended());
    EXPECT_FALSE(m.dcodeEnabled());
    m.setExtended(false);
    EXPECT_TRUE(m.dcodeEnabled());
    m.table().editFile(1, "top");
    m.table().setSelected(1, true);
    m.editDecimals("9");
    // Nothing reaches the choices before 出力.
    EXPECT_TRUE(choices.files.name[1].empty());
    EXPECT_TRUE(m.pressOutput().stored());
    EXPECT_EQ(choices.decimals, 5);
    EXPECT_FALSE(choices.extended);
    EXPECT_EQ(choices.files.name[1], "top");
    EXPECT_TRUE(choices.files.active(1));
    EXPECT_EQ(m.decimalsText(), "5");

    GerberOutputDialogModel again(board, choices);
    again.editDecimals("0");
    EXPECT_TRUE(again.pressOutput().stored());
    EXPECT_EQ(choices.decimals, 1);
}

TEST(GerberOutputDialog, ACalculationErrorOrCancelLeavesTheChoices) {
    Board board;
    GerberOutputChoices choices;
    const GerberOutputChoices before = choices;
    {
        GerberOutputDialogModel m(board, choices);
        m.table().editFile(0, "a");
        m.setExtended(false);
        m.editDecimals("3+");
        const FieldResult r = m.pressOutput();
        EXPECT_TRUE(r.calcError());
        EXPECT_EQ(r.control, GerberOutputDialogModel::kDecimalsEdit);
        EXPECT_TRUE(choices.files.name[0].empty());
        m.pressCancel();
    }
    EXPECT_TRUE(choices.extended);
    EXPECT_EQ(choices.codes, before.codes);
    EXPECT_EQ(choices.decimals, before.decimals);
}

TEST(GerberOutputDialog, TheDCodeDialogEditsTheTablesTakenByOutput) {
    Board board;
    GerberOutputChoices choices;
    GerberOutputDialogModel m(board, choices);
    DCodeDialogModel d(m.codes());
    d.selectEntry(5);
    EXPECT_EQ(d.codeText(), "20");
    d.editCode("123");
    EXPECT_TRUE(d.pressChange().stored());
    EXPECT_EQ(choices.codes.round[5], 20);  // not yet
    EXPECT_TRUE(m.pressOutput().stored());
    EXPECT_EQ(choices.codes.round[5], 123);
    EXPECT_EQ(choices.codes.square[5], 21);
}

// --- D codes and T codes

TEST(DCodeDialog, SquareChoosesTheOtherTableAndCodesKeepTheirRange) {
    DCodeTables codes = DCodeTables::Defaults();
    DCodeDialogModel d(codes);
    EXPECT_EQ(d.codeText(), "10");
    d.setSquare(true);
    EXPECT_EQ(d.codeText(), "11");
    d.selectEntry(255);
    EXPECT_EQ(d.codeText(), "521");
    d.selectEntry(256);  // outside the list: stays
    EXPECT_EQ(d.selected(), 255);
    d.editCode("999");
    EXPECT_TRUE(d.pressChange().stored());
    EXPECT_EQ(codes.square[255], 999);
    EXPECT_EQ(codes.round[255], 520);
    for (const char* bad : {"9", "1000", "-11"}) {
        d.editCode(bad);
        EXPECT_EQ(d.pressChange().outcome, FieldOutcome::kIgnored) << bad;
    }
    EXPECT_EQ(codes.square[255], 999);
    d.editCode("x");
    EXPECT_EQ(d.pressChange().control, DCodeDialogModel::kCodeEdit);
    d.editCode("10");
    EXPECT_TRUE(d.pressChange().stored());

    // The input's mapping also takes the low codes aperture definitions use.
    DCodeDialogModel in(codes, DCodeDialogModel::kInputMinCode);
    in.editCode("4");
    EXPECT_TRUE(in.pressChange().stored());
    EXPECT_EQ(codes.round[0], 4);
    in.editCode("3");
    EXPECT_FALSE(in.pressChange().stored());
}

TEST(DCodeDialog, TheInputTableGivesACodeToOneApertureOnly) {
    DCodeTables codes = DCodeTables::Defaults();
    DCodeDialogModel in(codes, DCodeDialogModel::kInputMinCode);
    EXPECT_TRUE(in.oneAperturePerCode());
    in.selectEntry(3);
    in.editCode("50");  // round aperture 20's code
    EXPECT_TRUE(in.pressChange().stored());
    EXPECT_EQ(codes.round[3], 50);
    EXPECT_EQ(codes.round[20], kNoDCode);
    in.selectEntry(20);
    EXPECT_EQ(in.codeText(), "");  // shown without a code
    in.setSquare(true);
    in.selectEntry(7);
    in.editCode("16");  // round aperture 3's old code, free now
    EXPECT_TRUE(in.pressChange().stored());
    EXPECT_EQ(codes.square[7], 16);
    EXPECT_EQ(codes.round[3], 50);
    // The output's table may give one code to two apertures (the output refuses such a layer).
    DCodeTables out = DCodeTables::Defaults();
    DCodeDialogModel d(out);
    EXPECT_FALSE(d.oneAperturePerCode());
    d.selectEntry(3);
    d.editCode("50");
    EXPECT_TRUE(d.pressChange().stored());
    EXPECT_EQ(out.round[20], 50);
}

TEST(TCodeDialog, EditsOneToolNumberAtATime) {
    TCodeTable codes = TCodeTable::Defaults();
    TCodeDialogModel t(codes);
    EXPECT_EQ(t.codeText(), "10");
    t.selectEntry(7);
    EXPECT_EQ(t.codeText(), "17");
    t.editCode("2*3");
    EXPECT_TRUE(t.pressChange().stored());
    EXPECT_EQ(codes.code[7], 6);
    EXPECT_EQ(t.codeText(), "6");
    for (const char* bad : {"0", "-1", "1000"}) {
        t.editCode(bad);
        EXPECT_EQ(t.pressChange().outcome, FieldOutcome::kIgnored) << bad;
    }
    EXPECT_EQ(codes.code[7], 6);
    t.editCode("");
    EXPECT_TRUE(t.pressChange().calcError());
}

// --- hole output

TEST(HoleOutputDialog, AddStoresTheNameAndSelectsRemoveUnselects) {
    Board board;
    board.SetLayerName(8, "Drill");
    HoleOutputChoices choices;
    choices.files.name[42] = "nth";
    choices.files.selected[42] = true;
    HoleOutputDialogModel m(board, choices);
    EXPECT_EQ(m.layerEntry(8), "  8: Drill");
    EXPECT_EQ(m.chosenLayer(), 0);
    m.chooseLayer(42);
    EXPECT_EQ(m.fileText(), "nth");
    m.chooseLayer(8);
    EXPECT_EQ(m.fileText(), "");
    EXPECT_FALSE(m.pressAdd());  // an empty name does nothing
    m.editFile("drill");
    EXPECT_TRUE(m.pressAdd());
    ASSERT_EQ(m.listLayers(), (std::vector<int>{8, 42}));
    EXPECT_EQ(m.listEntry(8), "  8: Drill  drill");

    EXPECT_FALSE(m.pressRemove());  // nothing chosen in the list
    m.chooseListRow(1);
    EXPECT_TRUE(m.pressRemove());
    EXPECT_EQ(m.listLayers(), (std::vector<int>{8}));
    m.chooseListRow(5);
    EXPECT_EQ(m.chosenListRow(), -1);

    EXPECT_TRUE(m.pressOutput().stored());
    EXPECT_TRUE(choices.files.active(8));
    EXPECT_EQ(choices.files.name[8], "drill");
    EXPECT_FALSE(choices.files.selected[42]);
    EXPECT_EQ(choices.files.name[42], "nth");  // the name stays for another time
}

TEST(HoleOutputDialog, DecimalsAboveThreeOrBelowZeroKeepTheDialogOpen) {
    Board board;
    HoleOutputChoices choices;
    HoleOutputDialogModel m(board, choices);
    EXPECT_EQ(m.decimalsText(), "3");
    m.chooseLayer(8);
    m.editFile("d");
    m.pressAdd();
    for (const char* bad : {"4", "-1"}) {
        m.editDecimals(bad);
        EXPECT_EQ(m.pressOutput().outcome, FieldOutcome::kIgnored) << bad;
    }
    m.editDecimals("?");
    EXPECT_TRUE(m.pressOutput().calcError());
    EXPECT_FALSE(choices.files.selected[8]);
    m.editDecimals("0");
    EXPECT_TRUE(m.pressOutput().stored());
    EXPECT_EQ(choices.decimals, 0);
    EXPECT_TRUE(choices.files.selected[8]);
}

TEST(HoleOutputDialog, AutomaticTCodesCoupleTheTCodeButtonAndTheSingleFile) {
    Board board;
    HoleOutputChoices choices;
    HoleOutputDialogModel m(board, choices);
    EXPECT_TRUE(m.tcodeEnabled());
    EXPECT_FALSE(m.singleEnabled());
    m.setSingle(true);  // refused without T番号オート
    EXPECT_FALSE(m.single());
    m.setAutoT(true);
    EXPECT_FALSE(m.tcodeEnabled());
    EXPECT_TRUE(m.singleEnabled());
    m.setSingle(true);
    EXPECT_TRUE(m.single());
    EXPECT_FALSE(m.fileEnabled());
    m.setAutoT(false);  // clears and disables the single file
    EXPECT_FALSE(m.single());
    EXPECT_FALSE(m.singleEnabled());
    EXPECT_TRUE(m.fileEnabled());
    EXPECT_TRUE(m.pressOutput().stored());
    EXPECT_FALSE(choices.autoT);
    EXPECT_FALSE(choices.single);
    EXPECT_FALSE(m.awaitingSingleFile());

    // A single-file choice without automatic codes is not taken over.
    HoleOutputChoices odd;
    odd.single = true;
    HoleOutputDialogModel o(board, odd);
    EXPECT_FALSE(o.single());
}

TEST(HoleOutputDialog, TheSingleFileIsTakenFromTheChooserAndItsCancelKeepsTheChoices) {
    Board board;
    HoleOutputChoices choices;
    HoleOutputDialogModel m(board, choices);
    m.setAutoT(true);
    m.setSingle(true);
    TCodeDialogModel t(m.codes());
    t.editCode("77");
    t.pressChange();
    EXPECT_TRUE(m.pressOutput().stored());
    EXPECT_TRUE(m.awaitingSingleFile());
    EXPECT_FALSE(choices.autoT);  // not before the file is chosen
    EXPECT_FALSE(m.chooseSingleFile({}));
    EXPECT_FALSE(m.awaitingSingleFile());
    EXPECT_FALSE(choices.autoT);
    EXPECT_EQ(choices.codes.code[0], 10);

    EXPECT_FALSE(m.chooseSingleFile("/tmp/x.hol"));  // no 出力 pending
    EXPECT_TRUE(m.pressOutput().stored());
    EXPECT_TRUE(m.chooseSingleFile("/tmp/board.hol"));
    EXPECT_TRUE(choices.autoT);
    EXPECT_TRUE(choices.single);
    EXPECT_EQ(choices.singleFile, "/tmp/board.hol");
    EXPECT_EQ(choices.codes.code[0], 77);
}

// --- Gerber input and drill decimals

TEST(GerberInputDialog, InputTakesTheTableDecimalsAndUnits) {
    Board board;
    GerberInputChoices choices;
    GerberInputDialogModel m(board, choices);
    EXPECT_EQ(m.decimalsText(), "3");
    EXPECT_FALSE(m.inch());
    m.table().pressPrevious();
    m.table().editFile(7, "inner.gbr");
    m.table().setSelected(7, true);
    m.setInch(true);
    m.editDecimals("4");
    DCodeDialogModel d(m.codes(), DCodeDialogModel::kInputMinCode);
    d.editCode("5");
    EXPECT_TRUE(d.pressChange().stored());
    EXPECT_TRUE(m.pressInput().stored());
    EXPECT_TRUE(choices.files.active(255));
    EXPECT_TRUE(choices.inch);
    EXPECT_EQ(choices.decimals, 4);
    EXPECT_EQ(choices.codes.round[0], 5);

    GerberInputDialogModel again(board, choices);
    again.editDecimals("12");
    EXPECT_TRUE(again.pressInput().stored());
    EXPECT_EQ(choices.decimals, 9);
    GerberInputDialogModel bad(board, choices);
    bad.setInch(false);
    bad.editDecimals("(");
    EXPECT_EQ(bad.pressInput().control, GerberInputDialogModel::kDecimalsEdit);
    EXPECT_TRUE(choices.inch);
}

TEST(HoleDataDialog, DefaultsToThreeAndTurnsOutOfRangeValuesIntoThree) {
    HoleDataDialogModel m;
    EXPECT_EQ(m.decimalsText(), "3");
    EXPECT_EQ(m.decimals(), 3);
    m.editDecimals("6");
    EXPECT_TRUE(m.pressOk().stored());
    EXPECT_EQ(m.decimals(), 6);
    m.editDecimals("7");
    m.pressOk();
    EXPECT_EQ(m.decimals(), 3);
    m.editDecimals("-2");
    m.pressOk();
    EXPECT_EQ(m.decimals(), 3);
    m.editDecimals("0");
    m.pressOk();
    EXPECT_EQ(m.decimals(), 0);
    m.editDecimals("zero");
    EXPECT_TRUE(m.pressOk().calcError());
    EXPECT_EQ(m.decimals(), 0);
}

// --- part coordinates

TEST(PartCoordsDialog, MirrorOnlyWithTheOriginAndTheChosenFile) {
    Board board;
    PartCoordsSettings s;
    s.file = "/data/board.pos";
    PartCoordsDialogModel m(board, s);
    EXPECT_EQ(m.fileText(), "/data/board.pos");
    EXPECT_EQ(m.browseStart(), s.file);
    EXPECT_FALSE(m.mirrorEnabled());
    m.setMirrorX(true);
    EXPECT_FALSE(m.mirrorX());
    m.setFromOrigin(true);
    m.setMirrorX(true);
    EXPECT_TRUE(m.mirrorX());
    m.chooseFile({});  // the chooser was cancelled
    EXPECT_EQ(m.fileText(), "/data/board.pos");
    m.chooseFile(PathFromUtf8("/data/部品.pos"));
    EXPECT_EQ(m.fileText(), "/data/部品.pos");
    EXPECT_FALSE(s.fromOrigin);  // not before 出力
    EXPECT_TRUE(m.pressOutput());
    EXPECT_TRUE(s.fromOrigin);
    EXPECT_TRUE(s.mirrorX);
    EXPECT_EQ(PathToUtf8(s.file), "/data/部品.pos");

    PartCoordsDialogModel empty(board, s);
    empty.editFile("  ");
    EXPECT_FALSE(empty.pressOutput());
    EXPECT_EQ(PathToUtf8(s.file), "/data/部品.pos");
}

}  // namespace
}  // namespace zevo
