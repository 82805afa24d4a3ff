#include "text/language.h"

#include <atomic>

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

std::string_view Tr(std::string_view japanese) {
    // The English catalog comes with the translations; until then every text is its own.
    return japanese;
}

}  // namespace zevo
