// The built-in English catalog of the interface texts (Japanese text to English).
#pragma once

#include <span>
#include <string_view>

namespace zevo {

struct CatalogEntry {
    std::string_view japanese;
    std::string_view english;
};
std::span<const CatalogEntry> EnglishCatalog();

}  // namespace zevo
