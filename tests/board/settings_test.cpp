#include "board/file/settings.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <string>

#include "paths/scratch_dir.h"
#include "text/cp932.h"
#include "text/strings.h"

#if !defined(_WIN32)
#include <unistd.h>
#endif

namespace zevo {
namespace {

namespace fs = std::filesystem;
using testing::ScratchDir;

constexpr const char* kSample =
    "[Version]\r\n"
    "ZEVO:Version 0.63.9\r\n"
    "\r\n"
    "[Window]\r\n"
    "ToolBar:Hide\r\n"
    "Position=10,20,810,620\r\n"
    "\r\n"
    "[Setting]\r\n"
    "UndoneMax:5\r\n"
    "Cursor:Long\r\n"
    "Cursor:Short\r\n"
    "CursorX:Odd\r\n"
    "\r\n"
    "[FileName]\r\n"
    "FileName:/home/me/board.pcb\r\n";

TEST(ReadSetting, FindsTheFirstKeyLineOfTheSection) {
    EXPECT_EQ(FindSetting(kSample, "Setting", "Cursor", "-"), "Long");
    EXPECT_EQ(FindSetting(kSample, "Window", "Position", "-"), "10,20,810,620");  // "=" too
    EXPECT_EQ(FindSetting(kSample, "Setting", "CursorX", "-"), "Odd");
    EXPECT_EQ(FindSetting(kSample, "FileName", "FileName", "-"), "/home/me/board.pcb");
    // The key belongs to its section only, and the header must name the section exactly.
    EXPECT_EQ(FindSetting(kSample, "Window", "UndoneMax", "-"), "-");
    EXPECT_EQ(FindSetting(kSample, "Set", "UndoneMax", "-"), "-");
    EXPECT_EQ(FindSetting(kSample, "Setting", "Undone", "-"), "-");
    // Lines ending in LF alone read the same.
    EXPECT_EQ(FindSetting("[A]\nk:v\n[B]\nk:w", "B", "k", "-"), "w");
}

TEST(ReadSetting, DefaultsAndCapacity) {
    EXPECT_EQ(FindSetting(kSample, "", "Cursor", "def"), "def");
    EXPECT_EQ(FindSetting(kSample, "Setting", "", "def"), "def");
    EXPECT_EQ(FindSetting(kSample, "Set\tting", "Cursor", "def"), "def");
    EXPECT_EQ(FindSetting(kSample, "Setting", "Cur\nsor", "def"), "def");
    EXPECT_EQ(FindSetting(kSample, "Setting", "Cursor", "def", 3), "Lo");
    EXPECT_EQ(FindSetting(kSample, "Setting", "Missing", "default", 4), "def");
    EXPECT_EQ(FindSetting(kSample, "Setting", "Cursor", "def", 0), "");
    EXPECT_EQ(FindSetting("", "Setting", "Cursor", "def"), "def");

    ScratchDir d;
    EXPECT_EQ(ReadSetting(d / "none.ini", "Setting", "Cursor", "def"), "def");
    d.Put("zevo.ini", kSample);
    EXPECT_EQ(ReadSetting(d / "zevo.ini", "Setting", "UndoneMax", "10"), "5");
}

TEST(RewriteSettings, RemovingAKeyKeepsOneEmptyLineBetweenSections) {
    const std::string before =
        "[Window]\r\nToolBar:Visible\r\n\r\n\r\n[Setting]\r\nCursor:Long\r\nUndoneMax:5\r\n"
        "[FileName]\r\nFileName:a.pcb\r\n";
    EXPECT_EQ(RewriteSettings(before, "Setting", "Cursor", std::nullopt),
              "[Window]\r\nToolBar:Visible\r\n\r\n[Setting]\r\nUndoneMax:5\r\n\r\n"
              "[FileName]\r\nFileName:a.pcb\r\n");
    // An empty value is the same as none.
    EXPECT_EQ(RewriteSettings(before, "Setting", "Cursor", ""),
              RewriteSettings(before, "Setting", "Cursor", std::nullopt));
}

TEST(RewriteSettings, KeyLinesReplacedInsertedOrAppended) {
    const std::string file = "[A]\r\nx:1\r\ny=2\r\n\r\n[B]\r\nz:3\r\n";
    // Replaced in place (an "=" line too); a second line of the key stays.
    EXPECT_EQ(RewriteSettings(file, "A", "y", "9"), "[A]\r\nx:1\r\ny:9\r\n\r\n[B]\r\nz:3\r\n");
    EXPECT_EQ(RewriteSettings("[A]\r\nk:1\r\nk:2\r\n", "A", "k", "3"), "[A]\r\nk:3\r\nk:2\r\n");
    // Missing in a section that is followed by another: written before the next header.
    EXPECT_EQ(RewriteSettings(file, "A", "w", "0"),
              "[A]\r\nx:1\r\ny=2\r\nw:0\r\n\r\n[B]\r\nz:3\r\n");
    // Missing in the last section: appended.
    EXPECT_EQ(RewriteSettings(file, "B", "w", "0"),
              "[A]\r\nx:1\r\ny=2\r\n\r\n[B]\r\nz:3\r\nw:0\r\n");
    // A section that is not there is appended with the key.
    EXPECT_EQ(RewriteSettings("[Setting]\r\nUndoneMax:5\r\n", "Window", "Position", "0,0,800,600"),
              "[Setting]\r\nUndoneMax:5\r\n\r\n[Window]\r\nPosition:0,0,800,600\r\n");
    EXPECT_EQ(RewriteSettings("", "Window", "Position", "0,0,800,600"),
              "[Window]\r\nPosition:0,0,800,600\r\n");
    // Removing what is not there changes nothing but the line ends.
    EXPECT_EQ(RewriteSettings("[A]\nx:1\n", "A", "q", std::nullopt), "[A]\r\nx:1\r\n");
    EXPECT_EQ(RewriteSettings("[A]\nx:1\n", "C", "q", std::nullopt), "[A]\r\nx:1\r\n");
    EXPECT_EQ(RewriteSettings("[A]\nx:1\n", "C", std::nullopt, std::nullopt), "[A]\r\nx:1\r\n");
}

TEST(RewriteSettings, NullKeyRemovesTheWholeSection) {
    const std::string file = "[A]\r\nx:1\r\n\r\n[B]\r\ny:2\r\nz:3\r\n\r\n[C]\r\nw:4\r\n";
    EXPECT_EQ(RewriteSettings(file, "B", std::nullopt, std::nullopt),
              "[A]\r\nx:1\r\n\r\n[C]\r\nw:4\r\n");
    EXPECT_EQ(RewriteSettings(file, "C", std::nullopt, "ignored"),
              "[A]\r\nx:1\r\n\r\n[B]\r\ny:2\r\nz:3\r\n");
    // The first section removed: the file still starts with a header.
    EXPECT_EQ(RewriteSettings(file, "A", std::nullopt, std::nullopt),
              "[B]\r\ny:2\r\nz:3\r\n\r\n[C]\r\nw:4\r\n");
}

TEST(RewriteSettings, ShiftJisBytesPassUnchanged) {
    // "表" and "ソ" end in 0x5C, "ー" in "[": still part of the value, not of the syntax.
    const std::string path = Utf8ToCp932("/home/me/ソ表ー/基板.pcb");
    const std::string file = "[FileName]\r\nFileName:" + path + "\r\n";
    EXPECT_EQ(FindSetting(file, "FileName", "FileName", ""), path);
    const std::string other = Utf8ToCp932("/tmp/穴.pcb");
    EXPECT_EQ(FindSetting(RewriteSettings(file, "FileName", "FileName", other), "FileName",
                          "FileName", ""),
              other);
}

class WriteSettingFile : public ::testing::Test {
  protected:
    ScratchDir dir;
    fs::path file = dir.Put("zevo.ini", kSample);
};

TEST_F(WriteSettingFile, WritesThroughTheFile) {
    const SettingWrite w = WriteSetting(file, "Setting", "Cursor", std::nullopt);
    EXPECT_EQ(w.status, kSettingWritten);
    EXPECT_EQ(w.message, 0);
    EXPECT_EQ(ReadSetting(file, "Setting", "Cursor", "-"), "Short");
    EXPECT_EQ(WriteSetting(file, "Window", "DigitInDlg", "On").status, kSettingWritten);
    EXPECT_EQ(ReadSetting(file, "Window", "DigitInDlg", "-"), "On");
    EXPECT_EQ(ReadSetting(file, "Version", "ZEVO", "-"), "Version 0.63.9");
    // Nothing but the settings file in the folder.
    int files = 0;
    for ([[maybe_unused]] const auto& e : fs::directory_iterator(dir.path())) ++files;
    EXPECT_EQ(files, 1);
}

TEST_F(WriteSettingFile, RefusesBadNamesAndValuesWithoutTouchingTheFile) {
    EXPECT_EQ(WriteSetting(file, "", "Cursor", "Long").status, kSettingRefused);
    EXPECT_EQ(WriteSetting(file, "Setting", "", "Long").status, kSettingRefused);
    EXPECT_EQ(WriteSetting(file, "Set\x1Fting", "Cursor", "Long").status, kSettingRefused);
    EXPECT_EQ(WriteSetting(file, "Setting", "Cur\rsor", "Long").status, kSettingRefused);
    EXPECT_EQ(WriteSetting(file, "Setting", "Cursor", std::string_view("a\0b", 3)).status,
              kSettingRefused);
    // A value with a line break would plant a line of its own ("[Setting]" here).
    EXPECT_EQ(WriteSetting(file, "FileName", "FileName", "x\r\n[Setting]\r\nUndoneMax:1").status,
              kSettingRefused);
    EXPECT_EQ(dir.Get("zevo.ini"), kSample);
}

TEST_F(WriteSettingFile, MissingFileIsAFailureWithTheMessage) {
    const SettingWrite w = WriteSetting(dir / "none.ini", "Setting", "Cursor", "Long");
    EXPECT_EQ(w.status, kSettingFailed);
    EXPECT_EQ(w.message, kMsgCannotWriteSettings);
    EXPECT_FALSE(fs::exists(dir / "none.ini"));
}

TEST_F(WriteSettingFile, FailedRewriteLeavesTheOldFile) {
    // No temporary file can be made beside a file whose name is this long.
    const fs::path longFile = dir.Put(std::string(250, 'z'), kSample);
    const SettingWrite w = WriteSetting(longFile, "Setting", "Cursor", std::nullopt);
    EXPECT_EQ(w.status, kSettingFailed);
    EXPECT_EQ(w.message, kMsgCannotWriteSettings);
    EXPECT_EQ(dir.Get(std::string(250, 'z')), kSample);
}

#if !defined(_WIN32)
TEST_F(WriteSettingFile, UnwritableFolderLeavesTheOldFile) {
    if (geteuid() == 0) GTEST_SKIP() << "permissions do not bind the superuser";
    fs::permissions(dir.path(), fs::perms::owner_read | fs::perms::owner_exec);
    const SettingWrite w = WriteSetting(file, "Setting", "Cursor", std::nullopt);
    fs::permissions(dir.path(), fs::perms::owner_all);
    EXPECT_EQ(w.status, kSettingFailed);
    EXPECT_EQ(dir.Get("zevo.ini"), kSample);
}
#endif

TEST(Options, DefaultsWhenNothingIsWritten) {
    const Options o = ParseOptions("");
    EXPECT_EQ(o, Options{});
    EXPECT_TRUE(o.toolBar && o.statusBar && o.toolBarFlat && o.paraMode);
    EXPECT_EQ(o.undoneMax, 10);
    EXPECT_EQ(o.drawText, (TextDefaults{4, 3.2, 3.4}));
    EXPECT_EQ(o.position.show, WindowShow::kSystem);
    ScratchDir d;
    EXPECT_EQ(LoadOptions(d / "none.ini"), Options{});
}

TEST(Options, ValuesAreComparedExactly) {
    const Options o = ParseOptions(
        "[Window]\nToolBar:Hide\nStatusBar:visible\nToolBarFlat:no\nDisplayPosition:Yes\n"
        "PositionAbsolute:Yes\nDigitInDlg:on\nPosition:Maximize\n"
        "[Setting]\nRClickMenu:On\nRClickBsKey:Yes\nCursor:Long\nRectangle:Yes\nArcMode:Hit\n"
        "ParaMode:Lines\nGerberOut:RS-274X\nTCode:Auto\nDelete:Fast\nLineAngle8:YES\n"
        "[FileName]\nFileName:/b/c.pcb\n");
    EXPECT_FALSE(o.toolBar);
    EXPECT_FALSE(o.statusBar);   // only "Visible" shows it
    EXPECT_TRUE(o.toolBarFlat);  // only "No" turns it off
    EXPECT_TRUE(o.displayPosition);
    EXPECT_TRUE(o.positionAbsolute);
    EXPECT_FALSE(o.digitInDlg);
    EXPECT_EQ(o.position.show, WindowShow::kMaximized);
    EXPECT_TRUE(o.rClickMenu && o.rClickBsKey && o.longCursor && o.rectangle && o.arcHit);
    EXPECT_FALSE(o.paraMode);
    EXPECT_TRUE(o.rs274x && o.autoTCode && o.fastDelete);
    EXPECT_FALSE(o.lineAngle8);
    EXPECT_EQ(o.fileName, "/b/c.pcb");
}

TEST(Options, UndoLimitBelowOneOrUnreadableIsTen) {
    EXPECT_EQ(ParseOptions("[Setting]\nUndoneMax:0\n").undoneMax, 10);
    EXPECT_EQ(ParseOptions("[Setting]\nUndoneMax:abc\n").undoneMax, 10);
    EXPECT_EQ(ParseOptions("[Setting]\nUndoneMax:-3\n").undoneMax, 10);
    EXPECT_EQ(ParseOptions("[Setting]\nUndoneMax:25\n").undoneMax, 25);
    EXPECT_EQ(ParseOptions("[Setting]\nUndoneMax: 7x\n").undoneMax, 7);
    EXPECT_EQ(ParseOptions("[Setting]\nUndoneMax:99999999999\n").undoneMax, 2147483647);
}

TEST(Options, TextDefaultsAcceptedOnlyInRange) {
    EXPECT_EQ(ParseTextDefaults("4,3.2,-3.4"), (TextDefaults{4, 3.2, -3.4}));  // mirrored pitch
    EXPECT_EQ(ParseTextDefaults("255,99.9,0.02"), (TextDefaults{255, 99.9, 0.02}));
    EXPECT_FALSE(ParseTextDefaults("300,3.2,3.4"));
    EXPECT_FALSE(ParseTextDefaults("-1,3.2,3.4"));  // would index before the table
    EXPECT_FALSE(ParseTextDefaults("4,0.01,3.4"));  // strictly inside (0.01, 100)
    EXPECT_FALSE(ParseTextDefaults("4,100,3.4"));
    EXPECT_FALSE(ParseTextDefaults("4,3.2,-100"));
    EXPECT_FALSE(ParseTextDefaults("4,3.2,0.005"));
    EXPECT_FALSE(ParseTextDefaults("4,nan,3.4"));
    EXPECT_FALSE(ParseTextDefaults("4,3.2,1e999"));
    EXPECT_FALSE(ParseTextDefaults("4,3.2"));
    EXPECT_FALSE(ParseTextDefaults("4 ,3.2,3.4"));
    EXPECT_EQ(ParseTextDefaults("4, +3.2, 3.4"), (TextDefaults{4, 3.2, 3.4}));

    const Options o = ParseOptions("[Setting]\nDrawText:300,3.2,3.4\nInsertText:7,2,-2.5\n");
    EXPECT_EQ(o.drawText, TextDefaults{});
    EXPECT_EQ(o.insertText, (TextDefaults{7, 2, -2.5}));
}

TEST(WindowPosition, ReadAndClampedToTheScreen) {
    const WindowPlacement p = ParseWindowPosition("5000,10,6000,700");
    ASSERT_EQ(p.show, WindowShow::kNormal);
    const WindowRect r = ClampWindowRect(p.rect, 1920, 1080);
    EXPECT_EQ(r, (WindowRect{1760, 10, 1920, 700}));
    EXPECT_EQ(ClampWindowRect({10, 2000, 300, 3000}, 1920, 1080),
              (WindowRect{10, 1000, 300, 1080}));
    EXPECT_EQ(ClampWindowRect({-50, -20, 400, 300}, 1920, 1080), (WindowRect{-50, -20, 400, 300}));
    EXPECT_EQ(ParseWindowPosition("Maximize").show, WindowShow::kMaximized);
    EXPECT_EQ(ParseWindowPosition("1,2,3").show, WindowShow::kSystem);
    EXPECT_EQ(ParseWindowPosition("maximize").show, WindowShow::kSystem);
    EXPECT_EQ(ParseWindowPosition("").show, WindowShow::kSystem);
}

TEST(WindowPosition, WrittenForMaximisedOrLargeEnoughWindows) {
    Options o;
    const auto value = [&](WindowShow show, WindowRect r) {
        o.position = {show, r};
        return SettingOf(o, Option::kPosition).value;
    };
    EXPECT_EQ(value(WindowShow::kMaximized, {}), "Maximize");
    EXPECT_EQ(value(WindowShow::kMinimized, {0, 0, 800, 600}), std::nullopt);
    EXPECT_EQ(value(WindowShow::kSystem, {0, 0, 800, 600}), std::nullopt);
    EXPECT_EQ(value(WindowShow::kNormal, {-5, 10, 155, 90}), "-5,10,155,90");
    EXPECT_EQ(value(WindowShow::kNormal, {0, 0, 159, 600}), std::nullopt);
    EXPECT_EQ(value(WindowShow::kNormal, {0, 0, 800, 79}), std::nullopt);
}

TEST(OptionWriters, ValuesOfTheTableOrNothingWhenOff) {
    Options o;
    EXPECT_EQ(SettingOf(o, Option::kToolBar).value, "Visible");
    EXPECT_EQ(SettingOf(o, Option::kToolBarFlat).value, "Yes");
    EXPECT_EQ(SettingOf(o, Option::kCursor).value, std::nullopt);
    EXPECT_EQ(SettingOf(o, Option::kParaMode).value, std::nullopt);
    EXPECT_EQ(SettingOf(o, Option::kDrawText).value, std::nullopt);
    EXPECT_EQ(SettingOf(o, Option::kFileName).value, std::nullopt);
    o.toolBar = o.toolBarFlat = o.paraMode = false;
    o.longCursor = true;
    o.positionAbsolute = true;  // written only together with the position display
    o.drawText = {5, 2.5, -2.75};
    EXPECT_EQ(SettingOf(o, Option::kToolBar).value, "Hide");
    EXPECT_EQ(SettingOf(o, Option::kToolBarFlat).value, "No");
    EXPECT_EQ(SettingOf(o, Option::kParaMode).value, "Lines");
    EXPECT_EQ(SettingOf(o, Option::kCursor).value, "Long");
    EXPECT_EQ(SettingOf(o, Option::kPositionAbsolute).value, std::nullopt);
    o.displayPosition = true;
    EXPECT_EQ(SettingOf(o, Option::kPositionAbsolute).value, "Yes");
    EXPECT_EQ(SettingOf(o, Option::kDrawText).value, "5,2.5,-2.75");
    const OptionSetting s = SettingOf(o, Option::kGerberOut);
    EXPECT_EQ(s.section, "Setting");
    EXPECT_EQ(s.key, "GerberOut");

    ScratchDir d;
    const fs::path file = d.Put("zevo.ini", "[Setting]\r\nCursor:Long\r\n");
    o.longCursor = false;
    EXPECT_EQ(WriteOption(file, o, Option::kCursor).status, kSettingWritten);
    EXPECT_EQ(d.Get("zevo.ini"), "[Setting]\r\n");
    o.statusBar = false;
    EXPECT_EQ(WriteOption(file, o, Option::kStatusBar).status, kSettingWritten);
    EXPECT_FALSE(LoadOptions(file).statusBar);
}

TEST(OptionSections, DefaultsWriteOnlyWhatTheTableAlwaysWrites) {
    std::string out;
    const Options o;
    AppendWindowSection(out, o);
    AppendSettingSection(out, o);
    AppendFileNameSection(out, o);
    EXPECT_EQ(out,
              "\r\n[Window]\r\nToolBar:Visible\r\nStatusBar:Visible\r\nToolBarFlat:Yes\r\n"
              "\r\n[Setting]\r\nUndoneMax:10\r\n"
              "\r\n[FileName]\r\nFileName:\r\n");
}

TEST(OptionSections, EveryOptionReadsBackAsWritten) {
    Options o;
    o.toolBar = false;
    o.statusBar = false;
    o.toolBarFlat = false;
    o.displayPosition = o.positionAbsolute = o.digitInDlg = true;
    o.position = {WindowShow::kNormal, {12, 34, 1012, 834}};
    o.undoneMax = 42;
    o.rClickMenu = o.rClickBsKey = o.longCursor = o.rectangle = o.arcHit = true;
    o.paraMode = false;
    o.rs274x = o.autoTCode = o.fastDelete = o.lineAngle8 = true;
    o.selectSingle = o.anyAngle = o.deformAngle8 = true;
    o.drawText = {12, 1.27, -1.5};
    o.insertText = {3, 2, 2.25};
    o.fileName = Utf8ToCp932("/home/me/基板.pcb");
    std::string out = "[Version]\r\nZEVO:Version 0.63.9\r\n";
    AppendWindowSection(out, o);
    AppendSettingSection(out, o);
    AppendFileNameSection(out, o);
    EXPECT_EQ(ParseOptions(out), o);
    EXPECT_NE(out.find("\r\n[Setting]\r\nUndoneMax:42\r\nRClickMenu:On\r\nRClickBsKey:Yes\r\n"
                       "Cursor:Long\r\nRectangle:Yes\r\nArcMode:Hit\r\nParaMode:Lines\r\n"
                       "GerberOut:RS-274X\r\nTCode:Auto\r\nDelete:Fast\r\nLineAngle8:Yes\r\n"
                       "SelectSingle:Yes\r\nAnyAngle:Yes\r\nDeformAngle8:Yes\r\n"
                       "DrawText:12,1.27,-1.5\r\nInsertText:3,2,2.25\r\n"),
              std::string::npos)
        << out;
}

// The current-format choice of the outputs: a key of its own, written only while it is on.
TEST(SettingsOptions, ModernOutputWrittenOnlyWhenOn) {
    Options o;
    std::string off;
    AppendSettingSection(off, o);
    EXPECT_EQ(off.find("ModernOutput"), std::string::npos);
    o.modernOutput = o.deformAngle8 = true;
    std::string on = "[Version]\r\nZEVO:Version 0.63.9\r\n";
    AppendSettingSection(on, o);
    EXPECT_NE(on.find("DeformAngle8:Yes\r\nModernOutput:Yes\r\n"), std::string::npos) << on;
    EXPECT_TRUE(ParseOptions(on).modernOutput);
    EXPECT_FALSE(ParseOptions("[Setting]\r\nModernOutput:No\r\n").modernOutput);
}

// The interface language chosen in the options menu: absent follows the system; a value other
// than the two names is no choice.
TEST(SettingsOptions, LanguageChoiceReadsBackAndOnlyItsTwoNamesCount) {
    Options o;
    std::string none;
    AppendSettingSection(none, o);
    EXPECT_EQ(none.find("Language"), std::string::npos);
    for (const Language l : {Language::English, Language::Japanese}) {
        o.language = l;
        std::string out = "[Version]\r\nZEVO:Version 0.63.9\r\n";
        AppendSettingSection(out, o);
        EXPECT_EQ(ParseOptions(out), o) << out;
    }
    std::string out;
    AppendSettingSection(out, o);
    EXPECT_NE(out.find("Language:Japanese\r\n"), std::string::npos) << out;
    EXPECT_EQ(ParseOptions("[Setting]\r\nLanguage:English\r\n").language, Language::English);
    EXPECT_EQ(ParseOptions("[Setting]\r\nLanguage:english\r\n").language, std::nullopt);
    EXPECT_EQ(ParseOptions("[Setting]\r\nLanguage:\r\n").language, std::nullopt);
    EXPECT_EQ(ParseOptions("[Window]\r\nLanguage:English\r\n").language, std::nullopt);
}

TEST(SettingsPath, EditorPathWithIni) {
    EXPECT_EQ(SettingsPath("/opt/zevo/zevo"), "/opt/zevo/zevo.ini");
    EXPECT_EQ(SettingsPath("zevo.exe"), "zevo.ini");
}

}  // namespace
}  // namespace zevo
