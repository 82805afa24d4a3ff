#include "text/language.h"

#include <atomic>
#include <cstdlib>
#include <unordered_map>

#include "text/catalog_en.h"
#include "text/strings.h"
#include "text/strings_en.h"
#include "text/translations.h"

namespace zevo {
namespace {

std::atomic<Language> g_language{Language::Japanese};

}  // namespace

Language UiLanguage() {
    return g_language.load(std::memory_order_relaxed);
}

void SetUiLanguage(Language language) {
    g_language.store(language, std::memory_order_relaxed);
}

Language LanguageForLocaleName(std::string_view name) {
    auto lower = [](char c) { return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c; };
    auto startsWith = [&](std::string_view prefix) {
        if (name.size() < prefix.size()) return false;
        for (size_t i = 0; i < prefix.size(); ++i)
            if (lower(name[i]) != prefix[i]) return false;
        return true;
    };
    if (startsWith("japanese")) return Language::Japanese;
    if (startsWith("ja") &&
        (name.size() == 2 || name[2] == '_' || name[2] == '-' || name[2] == '.'))
        return Language::Japanese;
    return Language::English;
}

namespace {

// The English of a Japanese interface text: the catalog's, or a table text's (by id, so that a
// translation file's entry for the id applies as well).
struct English {
    std::string_view text;
    int tableId = 0;
};

const std::unordered_map<std::string_view, English>& BuiltInEnglish() {
    static const std::unordered_map<std::string_view, English> map = [] {
        std::unordered_map<std::string_view, English> m;
        for (const CatalogEntry& e : EnglishCatalog()) m.emplace(e.japanese, English{e.english, 0});
        for (const TableEntry& e : AllTableTexts())
            if (!TableTextEnglish(e.id).empty()) m.emplace(e.text, English{{}, e.id});
        return m;
    }();
    return map;
}

}  // namespace

Language LanguageForEnvironment(const char* lcAll, const char* lcMessages, const char* lang) {
    for (const char* v : {lcAll, lcMessages, lang})
        if (v && *v) return LanguageForLocaleName(v);
    return Language::English;
}

Language LanguageFromEnvironment() {
    return LanguageForEnvironment(std::getenv("LC_ALL"), std::getenv("LC_MESSAGES"),
                                  std::getenv("LANG"));
}

std::string_view Tr(std::string_view japanese) {
    if (UiLanguage() == Language::Japanese || japanese.empty()) return japanese;
    if (const std::string_view own = OverrideForText(japanese); !own.empty()) return own;
    const auto& map = BuiltInEnglish();
    const auto it = map.find(japanese);
    if (it == map.end()) return japanese;
    return it->second.tableId ? TableText(it->second.tableId) : it->second.text;
}

}  // namespace zevo
