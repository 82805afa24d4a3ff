#include "board/file/settings_document.h"

#include <gtest/gtest.h>

#include "board/file/document.h"
#include "paths/file_io.h"
#include "paths/scratch_dir.h"

namespace zevo {
namespace {

using zevo::testing::ScratchDir;

const std::filesystem::path kShippedSettings = std::filesystem::path(ZEVO_RESOURCES) / "zevo.ini";

TEST(DocumentTemplate, ShippedSettingsGiveAWorkingTwoLayerSet) {
    Board b;
    ResetDocument(b, kShippedSettings);
    EXPECT_TRUE(b.HasRole(1, kRolePattern));
    EXPECT_TRUE(b.HasRole(2, kRolePattern));
    EXPECT_TRUE(b.HasRole(8, kRoleHole));
    EXPECT_FALSE(b.HasRole(8, kRoleNonThrough));
    EXPECT_TRUE(b.HasRole(42, kRoleHole));
    EXPECT_TRUE(b.HasRole(42, kRoleNonThrough));
    EXPECT_TRUE(b.HasRole(9, kRoleOrigin));
    EXPECT_TRUE(b.HasRole(10, kRoleMount));
    EXPECT_TRUE(b.HasRole(11, kRoleMount));
    for (int l : {3, 4, 5, 6, 7}) EXPECT_EQ(b.layerFlags[l] & kRoleMask, 0u) << "layer " << l;
    EXPECT_EQ(b.SwapPartner(1), 2);
    EXPECT_EQ(b.SwapPartner(3), 4);
    EXPECT_EQ(b.SwapPartner(5), 6);
    EXPECT_EQ(b.SwapPartner(10), 11);
    ASSERT_EQ(b.padDefs.size(), 4u);
    for (const PadDefinition& pad : b.padDefs) {
        bool top = false, bottom = false, hole = false;
        for (const PadPair& p : pad) {
            top |= p.layer == 1;
            bottom |= p.layer == 2;
            hole |= p.layer == 8;
        }
        EXPECT_TRUE(top && bottom && hole);
    }
    EXPECT_EQ(b.version, kProgramVersion);
    EXPECT_TRUE(b.items.emptyList());
}

TEST(DocumentTemplate, MissingSettingsFileKeepsTheBuiltInTables) {
    ScratchDir dir;
    Board b;
    b.SetBoardSize(500, 500);
    b.AppendElement(nullptr, b.CreateLand(1, 0, false, {1, 1}));
    b.SetRoundAperture(3, 2);
    ResetDocument(b, dir / "none.ini");
    EXPECT_EQ(b.sizeX, 300);
    EXPECT_EQ(b.sizeY, 210);
    EXPECT_EQ(b.gridSpacing, 10);
    EXPECT_DOUBLE_EQ(b.roundAp[3], DefaultApertureDiameter(3) / 2);
    EXPECT_TRUE(b.items.emptyList());
    EXPECT_EQ(b.pools.lands.live(), 0u);
    EXPECT_EQ(b.version, kProgramVersion);
}

TEST(DocumentTemplate, SettingsDrawingAndVersionDoNotCount) {
    ScratchDir dir;
    const auto ini =
        dir.Put("zevo.ini",
                "[Version]\r\nZEVO:Version 0.40\r\n\r\n[LayerDef]\r\n2:NAME=\x8C\x8A\r\n"
                "\r\n[DrawItems]\r\nLAND:X=1,Y=1,LE=1,AP=0\r\n");
    Board b;
    ResetDocument(b, ini);
    EXPECT_TRUE(b.HasRole(2, kRoleHole));  // a layer named 穴 is a hole layer in every document
    EXPECT_TRUE(b.items.emptyList());
    EXPECT_EQ(b.version, kProgramVersion);

    // An opened document's own sections override the template; unnamed layers keep theirs.
    ReadDocumentText("[LayerDef]\r\n1:NAME=top\r\n\r\n[DrawItems]\r\nLAND:X=5,Y=5,LE=1,AP=0\r\n",
                     b);
    EXPECT_STREQ(b.layerName[1], "top");
    EXPECT_STREQ(b.layerName[2], "\x8C\x8A");
    EXPECT_FALSE(b.items.emptyList());
}

TEST(SaveSettingsFile, WritesSectionsInOrderAndReadsBackAsTheSameTemplate) {
    ScratchDir dir;
    Board b;
    ResetDocument(b, kShippedSettings);
    b.SetRoundAperture(20, 0.6505);
    b.AddLibraryFile("/parts/basic.lib");
    Options options;
    options.undoneMax = 25;
    options.longCursor = true;
    ASSERT_TRUE(SaveSettings(dir / "zevo.ini", b, options));
    const std::string text = dir.Get("zevo.ini");
    const char* order[] = {"[Version]",   "[Window]",    "[Setting]",     "[FileName]",
                           "[BoardSize]", "[LayerDef]",  "[PadDef]",      "[FlshDef]",
                           "[LineDef]",   "[SwapLayer]", "[LibraryFiles]"};
    size_t at = 0;
    for (const char* s : order) {
        const size_t found = text.find(s, at);
        ASSERT_NE(found, std::string::npos) << s;
        at = found;
    }
    EXPECT_NE(text.find("\r\nLayer1:2\r\n"), std::string::npos);
    EXPECT_EQ(text.find("Layer2:1"), std::string::npos);  // once per pair
    EXPECT_EQ(LoadOptions(dir / "zevo.ini").undoneMax, 25);
    EXPECT_TRUE(LoadOptions(dir / "zevo.ini").longCursor);

    Board again;
    ResetDocument(again, dir / "zevo.ini");
    EXPECT_EQ(again.layerFlags, b.layerFlags);
    EXPECT_EQ(again.swapLayer, b.swapLayer);
    EXPECT_EQ(again.padDefs, b.padDefs);
    EXPECT_EQ(again.roundAp, b.roundAp);
    EXPECT_EQ(again.libraryFiles, b.libraryFiles);
    EXPECT_EQ(again.sizeX, b.sizeX);

    // Without pairs there is no SwapLayer section at all.
    b.ResetSwapTable();
    ASSERT_TRUE(SaveSettings(dir / "zevo.ini", b, options));
    EXPECT_EQ(dir.Get("zevo.ini").find("[SwapLayer]"), std::string::npos);
}

TEST(LibraryFilesSection, AnEmptyListIsWrittenAsTheDefaultLibrary) {
    Board b;
    EXPECT_EQ(LibraryFilesSection(b), "\r\n[LibraryFiles]\r\nFileName:Parts.lib\r\n");
    EXPECT_NE(SettingsText(b, Options{}).find("[LibraryFiles]\r\nFileName:Parts.lib\r\n"),
              std::string::npos);
}

TEST(LibraryFilesSection, ReplacingItKeepsTheRestOfTheSettingsFile) {
    ScratchDir dir;
    const auto ini =
        dir.Put("zevo.ini",
                "[Window]\r\nToolBar:Hide\r\n\r\n[LibraryFiles]\r\nFileName:Old.lib\r\n"
                "FileName:Older.lib\r\n\r\n[Setting]\r\nCursor:Long\r\n");
    Board b;
    b.AddLibraryFile("New.lib");
    b.AddLibraryFile("/parts/Other.lib");
    ASSERT_TRUE(WriteLibraryFiles(ini, b));
    EXPECT_EQ(dir.Get("zevo.ini"),
              "[Window]\r\nToolBar:Hide\r\n\r\n[Setting]\r\nCursor:Long\r\n\r\n"
              "[LibraryFiles]\r\nFileName:New.lib\r\nFileName:/parts/Other.lib\r\n");
    Board back;
    ResetDocument(back, ini);
    EXPECT_EQ(back.libraryFiles, b.libraryFiles);
    EXPECT_EQ(LoadOptions(ini).longCursor, true);
    // No settings file yet: one holding the section alone.
    ASSERT_TRUE(WriteLibraryFiles(dir / "new.ini", Board{}));
    EXPECT_EQ(dir.Get("new.ini"), "[LibraryFiles]\r\nFileName:Parts.lib\r\n");
    int message = 0;
    EXPECT_FALSE(WriteLibraryFiles(dir / "missing-folder" / "zevo.ini", b, &message));
    EXPECT_NE(message, 0);
}

TEST(SaveSettingsFile, FailureKeepsTheOldFileAndNamesTheMessage) {
    ScratchDir dir;
    Board b;
    int message = 0;
    EXPECT_FALSE(SaveSettings(dir / "missing-folder" / "zevo.ini", b, Options{}, &message));
    EXPECT_NE(message, 0);
}

TEST(RecoveryFile, IsAFullDocumentThatCanBeOfferedAndDeleted) {
    ScratchDir dir;
    const auto path = dir / "Recovery.pcb";
    EXPECT_FALSE(RecoveryExists(path));
    Board b;
    ResetDocument(b, kShippedSettings);
    b.AppendElement(nullptr, b.CreateLine(1, 3, false, {10, 10}, {20, 10}));
    ASSERT_TRUE(SaveRecovery(b, path));
    EXPECT_TRUE(RecoveryExists(path));
    Board back;
    ResetDocument(back, kShippedSettings);
    EXPECT_FALSE(ReadDocument(path, back).error);
    ASSERT_FALSE(back.items.emptyList());
    EXPECT_EQ(AsElement(back.items.next)->kind, kLine);
    EXPECT_TRUE(DeleteRecovery(path));
    EXPECT_FALSE(RecoveryExists(path));
}

}  // namespace
}  // namespace zevo
