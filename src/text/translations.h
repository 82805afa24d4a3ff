// Translation files: English texts that replace the built-in ones, read from "zevo_en.txt"
// beside the programs (UTF-8, one entry a line):
//   <id><TAB><text>         a text of the string table, by its id
//   <Japanese><TAB><text>   an interface text (menu caption, dialog label...), by its Japanese
// Lines starting with '#' and empty lines are comments. In texts "\n", "\t" and "\\" stand for
// a line break, a tab and a backslash. A line that is not an entry is skipped and counted: no
// tab, an empty side, bytes that are not UTF-8, an id without a table text, or a text whose
// printf conversions differ from the Japanese text's (that would break the message).
#pragma once

#include <filesystem>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

namespace zevo {

inline constexpr std::string_view kTranslationFileName = "zevo_en.txt";

struct TranslationLoad {
    bool found = false;  // the file could be read
    int taken = 0;       // entries now in use
    int skipped = 0;     // lines that are no entry
};

// The entries of a translation file's bytes, in file order, and the number of lines skipped.
struct TranslationEntries {
    std::vector<std::pair<int, std::string>> byId;
    std::vector<std::pair<std::string, std::string>> byText;
    int skipped = 0;
};
TranslationEntries ReadTranslationText(std::string_view text);

// Reads a translation file; its entries replace the built-in English (an entry given twice:
// the later one). A missing or unreadable file changes nothing.
TranslationLoad LoadTranslationOverrides(const std::filesystem::path& file);
// The same from the file's bytes.
TranslationLoad ParseTranslationOverrides(std::string_view text);
// Forgets every entry read so far (the built-in English applies again).
void ClearTranslationOverrides();

// The English of an entry read from a file, or an empty view. Views stay valid for the
// program's lifetime.
std::string_view OverrideForId(int id);
std::string_view OverrideForText(std::string_view japanese);

// The printf conversions of a text in order ("%d", "%s", "%g", ...; "%%" is none), as one string.
std::string PrintfConversions(std::string_view format);

}  // namespace zevo
