#include "text/translations.h"

#include <charconv>
#include <deque>
#include <fstream>
#include <iterator>
#include <mutex>
#include <shared_mutex>
#include <string>
#include <unordered_map>

#include "text/strings.h"

namespace zevo {
namespace {

struct Overrides {
    std::shared_mutex mutex;
    // Every text read is kept for the program's lifetime: views handed out stay valid even when
    // the entries are replaced or cleared.
    std::deque<std::string> texts;
    std::unordered_map<int, std::string_view> byId;
    std::unordered_map<std::string_view, std::string_view> byText;
};

Overrides& State() {
    static Overrides o;
    return o;
}

bool ValidUtf8(std::string_view s) {
    size_t i = 0;
    while (i < s.size()) {
        const auto c = static_cast<unsigned char>(s[i]);
        int more = 0;
        unsigned min = 0;
        unsigned cp = 0;
        if (c < 0x80) {
            ++i;
            continue;
        }
        if ((c & 0xE0) == 0xC0) {
            more = 1, min = 0x80, cp = c & 0x1F;
        } else if ((c & 0xF0) == 0xE0) {
            more = 2, min = 0x800, cp = c & 0x0F;
        } else if ((c & 0xF8) == 0xF0) {
            more = 3, min = 0x10000, cp = c & 0x07;
        } else {
            return false;
        }
        if (i + more >= s.size()) return false;
        for (int k = 1; k <= more; ++k) {
            const auto d = static_cast<unsigned char>(s[i + k]);
            if ((d & 0xC0) != 0x80) return false;
            cp = (cp << 6) | (d & 0x3F);
        }
        if (cp < min || cp > 0x10FFFF || (cp >= 0xD800 && cp <= 0xDFFF)) return false;
        i += more + 1;
    }
    return true;
}

// "\n", "\t" and "\\" of a text; false for any other escape or a lone backslash at the end.
bool Unescape(std::string_view in, std::string& out) {
    out.clear();
    for (size_t i = 0; i < in.size(); ++i) {
        if (in[i] != '\\') {
            out += in[i];
            continue;
        }
        if (++i == in.size()) return false;
        switch (in[i]) {
            case 'n':
                out += '\n';
                break;
            case 't':
                out += '\t';
                break;
            case '\\':
                out += '\\';
                break;
            default:
                return false;
        }
    }
    return true;
}

bool AllDigits(std::string_view s) {
    if (s.empty() || s.size() > 6) return false;
    for (char c : s)
        if (c < '0' || c > '9') return false;
    return true;
}

}  // namespace

std::string PrintfConversions(std::string_view f) {
    std::string out;
    for (size_t i = 0; i < f.size(); ++i) {
        if (f[i] != '%') continue;
        if (i + 1 < f.size() && f[i + 1] == '%') {
            ++i;
            continue;
        }
        // %[flags][width][.precision][length]conversion
        size_t j = i + 1;
        while (j < f.size() && std::string_view("-+ #0").find(f[j]) != std::string_view::npos) ++j;
        while (j < f.size() && ((f[j] >= '0' && f[j] <= '9') || f[j] == '*' || f[j] == '.')) ++j;
        while (j < f.size() && std::string_view("hlLqjzt").find(f[j]) != std::string_view::npos)
            ++j;
        out += '%';
        if (j < f.size())
            out += f.substr(i + 1, j - i);
        else
            out += '?';  // a conversion cut off at the end
        i = j;
    }
    return out;
}

TranslationEntries ReadTranslationText(std::string_view text) {
    TranslationEntries r;
    if (text.substr(0, 3) == "\xEF\xBB\xBF") text.remove_prefix(3);
    std::string key;
    std::string value;
    while (!text.empty()) {
        const size_t end = text.find('\n');
        std::string_view line = text.substr(0, end);
        text.remove_prefix(end == std::string_view::npos ? text.size() : end + 1);
        if (!line.empty() && line.back() == '\r') line.remove_suffix(1);
        if (line.empty() || line.front() == '#') continue;
        const size_t tab = line.find('\t');
        if (tab == std::string_view::npos || !ValidUtf8(line) ||
            !Unescape(line.substr(0, tab), key) || !Unescape(line.substr(tab + 1), value) ||
            key.empty() || value.empty()) {
            ++r.skipped;
            continue;
        }
        if (AllDigits(key)) {
            int id = 0;
            std::from_chars(key.data(), key.data() + key.size(), id);
            const std::string_view japanese = TableTextJapanese(id);
            if (japanese.empty() || PrintfConversions(japanese) != PrintfConversions(value)) {
                ++r.skipped;
                continue;
            }
            r.byId.emplace_back(id, std::move(value));
        } else {
            // Interface texts are shown as they stand; one with conversions is used as a format
            // by some callers, so those must agree as well.
            if (PrintfConversions(key) != PrintfConversions(value)) {
                ++r.skipped;
                continue;
            }
            r.byText.emplace_back(std::move(key), std::move(value));
        }
    }
    return r;
}

TranslationLoad ParseTranslationOverrides(std::string_view text) {
    TranslationEntries entries = ReadTranslationText(text);
    TranslationLoad r;
    r.found = true;
    r.skipped = entries.skipped;
    r.taken = int(entries.byId.size() + entries.byText.size());
    Overrides& o = State();
    std::unique_lock lock(o.mutex);
    for (auto& [id, english] : entries.byId) o.byId[id] = o.texts.emplace_back(std::move(english));
    for (auto& [japanese, english] : entries.byText) {
        const std::string_view k = o.texts.emplace_back(std::move(japanese));
        o.byText[k] = o.texts.emplace_back(std::move(english));
    }
    return r;
}

TranslationLoad LoadTranslationOverrides(const std::filesystem::path& file) {
    std::ifstream in(file, std::ios::binary);
    if (!in) return {};
    std::string bytes((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    if (in.bad()) return {};
    return ParseTranslationOverrides(bytes);
}

void ClearTranslationOverrides() {
    Overrides& o = State();
    std::unique_lock lock(o.mutex);
    o.byId.clear();
    o.byText.clear();
}

std::string_view OverrideForId(int id) {
    Overrides& o = State();
    std::shared_lock lock(o.mutex);
    if (o.byId.empty()) return {};
    const auto it = o.byId.find(id);
    return it == o.byId.end() ? std::string_view() : it->second;
}

std::string_view OverrideForText(std::string_view japanese) {
    Overrides& o = State();
    std::shared_lock lock(o.mutex);
    if (o.byText.empty()) return {};
    const auto it = o.byText.find(japanese);
    return it == o.byText.end() ? std::string_view() : it->second;
}

}  // namespace zevo
