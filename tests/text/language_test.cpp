// The interface language: the English string table, the catalog of interface texts, translation
// files and the choice of the language from the locale.
#include "text/language.h"

#include <gtest/gtest.h>

#include <set>
#include <string>

#include "paths/scratch_dir.h"
#include "text/catalog_en.h"
#include "text/cp932.h"
#include "text/strings.h"
#include "text/strings_en.h"
#include "text/translations.h"
#include "tools/command_ids.h"

namespace zevo {
namespace {

// Sets the interface language for one test and leaves Japanese and no translation file behind.
class InLanguage {
  public:
    explicit InLanguage(Language l) { SetUiLanguage(l); }
    ~InLanguage() {
        SetUiLanguage(Language::Japanese);
        ClearTranslationOverrides();
    }
};

bool IsConversionLetter(char c) {
    return std::string_view("diouxXeEfFgGcsp").find(c) != std::string_view::npos;
}

TEST(EnglishTable, EveryTextHasEnglishWithTheSameConversions) {
    std::set<int> japaneseIds;
    for (const TableEntry& e : AllTableTexts()) {
        japaneseIds.insert(e.id);
        const std::string_view english = TableTextEnglish(e.id);
        ASSERT_FALSE(english.empty()) << "no English for " << e.id;
        const std::string conversions = PrintfConversions(english);
        EXPECT_EQ(conversions, PrintfConversions(e.text)) << e.id << ": " << english;
        // Every conversion is complete: a flag or width run ends in a conversion letter.
        for (size_t i = 0; i < conversions.size(); ++i)
            if (conversions[i] == '%' && i > 0)
                EXPECT_TRUE(IsConversionLetter(conversions[i - 1])) << e.id << ": " << english;
        if (!conversions.empty())
            EXPECT_TRUE(IsConversionLetter(conversions.back())) << e.id << ": " << english;
        // Questions keep their (Y/N).
        if (e.text.find("(Y/N)") != std::string_view::npos)
            EXPECT_NE(english.find("(Y/N)"), std::string_view::npos) << e.id;
    }
    int previous = 0;
    for (const TableEntry& e : AllEnglishTableTexts()) {
        EXPECT_GT(e.id, previous) << "ids must increase: " << e.id;
        EXPECT_TRUE(japaneseIds.count(e.id)) << "English without Japanese: " << e.id;
        previous = e.id;
    }
}

TEST(EnglishTable, ConversionsAreFoundInOrderAndPercentSignsAreNone) {
    EXPECT_EQ(PrintfConversions("%d 個のファイル: %s （%s）"), "%d%s%s");
    EXPECT_EQ(PrintfConversions("100%% %-8.3f %ld %zu"), "%-8.3f%ld%zu");
    EXPECT_EQ(PrintfConversions("cut off %"), "%?");
    EXPECT_EQ(PrintfConversions("no conversion"), "");
}

TEST(EnglishTable, TableTextFollowsTheLanguageButFileTextsStayJapanese) {
    const std::string cp932Before = TableTextCp932(kStrCoordReference);
    {
        InLanguage english(Language::English);
        EXPECT_EQ(TableText(kMsgCalcError), "Calculation error");
        EXPECT_EQ(TableText(kCaptionEditor), "Zevo");
        EXPECT_EQ(TableTextJapanese(kMsgCalcError), "計算エラー");
        EXPECT_EQ(TableTextCp932(kStrCoordReference), cp932Before);
        EXPECT_TRUE(TableText(0).empty());
        EXPECT_TRUE(TableTextJapanese(kLastStringId + 1).empty());
    }
    EXPECT_EQ(TableText(kMsgCalcError), "計算エラー");
}

TEST(Catalog, KeysAreUniqueAndEveryEntryHasAnEnglishText) {
    std::set<std::string_view> keys;
    for (const CatalogEntry& e : EnglishCatalog()) {
        EXPECT_TRUE(keys.insert(e.japanese).second) << "twice: " << e.japanese;
        EXPECT_FALSE(e.english.empty()) << e.japanese;
        for (char c : e.english)
            EXPECT_LT(static_cast<unsigned char>(c), 0x80u) << e.japanese << ": " << e.english;
        EXPECT_EQ(PrintfConversions(e.japanese), PrintfConversions(e.english)) << e.japanese;
        // A menu's access key stays an access key.
        if (e.japanese.find('&') != std::string_view::npos)
            EXPECT_NE(e.english.find('&'), std::string_view::npos) << e.japanese;
    }
}

TEST(Tr, JapaneseIsItselfAndEnglishComesFromTheCatalogOrTheTable) {
    const std::string_view menu = "ファイル(&F)";
    EXPECT_EQ(Tr(menu).data(), menu.data());  // Japanese: the caller's own text
    EXPECT_EQ(CommandCaption(Cmd::Drc), "DRCチェック");
    InLanguage english(Language::English);
    EXPECT_EQ(Tr(menu), "&File");
    EXPECT_EQ(Tr("計算エラー"), "Calculation error");  // a table text found by its Japanese
    EXPECT_EQ(Tr("辞書にない言葉"), "辞書にない言葉");
    EXPECT_EQ(Tr(""), "");
    EXPECT_EQ(CommandCaption(Cmd::Drc), "DRC check");
    EXPECT_TRUE(CommandCaption(Cmd::None).empty());
    // English texts are no keys: translating twice changes nothing.
    for (const CatalogEntry& e : EnglishCatalog()) EXPECT_EQ(Tr(Tr(e.japanese)), Tr(e.japanese));
    for (const TableEntry& e : AllTableTexts()) EXPECT_EQ(Tr(Tr(e.text)), Tr(e.text)) << e.id;
}

TEST(TranslationFile, EntriesReplaceTheBuiltInEnglishOnlyInEnglish) {
    InLanguage english(Language::English);
    const std::string file =
        "\xEF\xBB\xBF# Zevo in English, my words\r\n"
        "\r\n"
        "487\tCould not calculate\r\n"
        "ファイル(&F)\t&Document\n"
        "1141\t%d written: %s in %s\n"
        "1178\tFirst line\\nSecond line\\t\\\\\n"
        "ファイル(&F)\t&Board\n";  // given twice: the later one
    const TranslationLoad load = ParseTranslationOverrides(file);
    EXPECT_EQ(load.taken, 5);
    EXPECT_EQ(load.skipped, 0);
    EXPECT_EQ(TableText(kMsgCalcError), "Could not calculate");
    EXPECT_EQ(Tr("計算エラー"), "Could not calculate");  // the id's entry, found by its text
    EXPECT_EQ(Tr("ファイル(&F)"), "&Board");
    EXPECT_EQ(TableText(kMsgFilesWritten), "%d written: %s in %s");
    EXPECT_EQ(TableText(kStrEstimateHelp), "First line\nSecond line\t\\");
    EXPECT_EQ(Tr("編集(&E)"), "&Edit");  // not in the file: built in
    EXPECT_EQ(TableTextCp932(kMsgCalcError), Utf8ToCp932("計算エラー"));
    EXPECT_EQ(TableTextJapanese(kMsgCalcError), "計算エラー");

    // A view handed out stays valid when the entries are replaced and forgotten.
    const std::string_view held = Tr("ファイル(&F)");
    ParseTranslationOverrides("ファイル(&F)\t&Something else\n");
    ClearTranslationOverrides();
    EXPECT_EQ(held, "&Board");
    EXPECT_EQ(Tr("ファイル(&F)"), "&File");

    ParseTranslationOverrides("487\tCould not calculate\n");
    SetUiLanguage(Language::Japanese);
    EXPECT_EQ(TableText(kMsgCalcError), "計算エラー");
    EXPECT_EQ(Tr("ファイル(&F)"), "ファイル(&F)");
}

TEST(TranslationFile, LinesThatAreNoEntryAreSkippedAndCounted) {
    InLanguage english(Language::English);
    const std::string file =
        "no tab on this line\n"
        "\tno key\n"
        "487\t\n"                         // no text
        "9999\tno such id\n"              // no table text
        "479\tbelow the table\n"          // no table text
        "1141\t%s written: %d in %s\n"    // conversions in another order
        "1141\t%d written\n"              // conversions missing
        "1120\tskipped: %s\n"             // a string where a number is given
        "487\tbroken \\q escape\n"        // unknown escape
        "487\tends in a backslash\\\n"    // lone backslash
        "487\tbad \xFF\xFE bytes\n"       // not UTF-8
        "487\toverlong \xC0\xAF slash\n"  // not UTF-8 either
        "487\tcut \xE3\x81\n"             // a character cut off
        "計算エラー %d\tno number\n"      // an interface text's conversions differ
        "1120\tSkipped %d commands\n";    // the one good line
    const TranslationLoad load = ParseTranslationOverrides(file);
    EXPECT_EQ(load.taken, 1);
    EXPECT_EQ(load.skipped, 14);
    EXPECT_EQ(TableText(kMsgCalcError), "Calculation error");
    EXPECT_EQ(TableText(kMsgSkippedCommands), "Skipped %d commands");
    EXPECT_EQ(TableText(kMsgFilesWritten), TableTextEnglish(kMsgFilesWritten));
}

TEST(TranslationFile, IsReadFromAFileAndAMissingFileChangesNothing) {
    InLanguage english(Language::English);
    testing::ScratchDir dir;
    dir.Put(std::string(kTranslationFileName), "487\tNo result\r\nbad line\r\n");
    const TranslationLoad load = LoadTranslationOverrides(dir / std::string(kTranslationFileName));
    EXPECT_TRUE(load.found);
    EXPECT_EQ(load.taken, 1);
    EXPECT_EQ(load.skipped, 1);
    EXPECT_EQ(TableText(kMsgCalcError), "No result");
    const TranslationLoad none = LoadTranslationOverrides(dir / "missing.txt");
    EXPECT_FALSE(none.found);
    EXPECT_EQ(none.taken + none.skipped, 0);
    EXPECT_EQ(TableText(kMsgCalcError), "No result");
}

TEST(TranslationFile, TheShippedExampleIsReadWithoutASkippedLine) {
    InLanguage english(Language::English);
    const TranslationLoad load = LoadTranslationOverrides(std::filesystem::path(ZEVO_EXAMPLES) /
                                                          ".." / "docs" / "zevo_en.example.txt");
    EXPECT_TRUE(load.found);
    EXPECT_GT(load.taken, 3);
    EXPECT_EQ(load.skipped, 0);
    EXPECT_EQ(Tr("ガーバー出力"), "Write Gerber files");
}

TEST(LanguageChoice, TheFirstLocaleVariableSetDecides) {
    EXPECT_EQ(LanguageForEnvironment("ja_JP.UTF-8", "en_US.UTF-8", "en_US"), Language::Japanese);
    EXPECT_EQ(LanguageForEnvironment("", "en_GB.UTF-8", "ja_JP.UTF-8"), Language::English);
    EXPECT_EQ(LanguageForEnvironment(nullptr, nullptr, "ja_JP.eucJP"), Language::Japanese);
    EXPECT_EQ(LanguageForEnvironment(nullptr, "", "C.UTF-8"), Language::English);
    EXPECT_EQ(LanguageForEnvironment(nullptr, nullptr, nullptr), Language::English);
    EXPECT_EQ(LanguageForEnvironment("C", nullptr, "ja_JP.UTF-8"), Language::English);
}

}  // namespace
}  // namespace zevo
