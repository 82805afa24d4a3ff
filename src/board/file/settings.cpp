#include "board/file/settings.h"

#include <algorithm>
#include <charconv>
#include <climits>
#include <cmath>
#include <initializer_list>

#include "paths/file_io.h"
#include "paths/paths.h"
#include "text/strings.h"

namespace zevo {
namespace {

constexpr std::string_view kEol = "\r\n";

// Calls f(line) for every line of `contents`, without its line end (LF, CR LF, or several CRs).
template <typename F>
void ForEachLine(std::string_view contents, F&& f) {
    while (!contents.empty()) {
        const std::size_t nl = contents.find('\n');
        std::string_view line = contents.substr(0, nl);
        contents = nl == std::string_view::npos ? std::string_view() : contents.substr(nl + 1);
        while (!line.empty() && line.back() == '\r') line.remove_suffix(1);
        if (!f(line)) return;
    }
}

bool HasControlByte(std::string_view s) {
    for (const char c : s)
        if (static_cast<unsigned char>(c) < 0x20) return true;
    return false;
}

bool IsHeader(std::string_view line) {
    return !line.empty() && line.front() == '[';
}

bool IsHeaderOf(std::string_view line, std::string_view section) {
    return line.size() >= section.size() + 2 && line[0] == '[' &&
           line.substr(1, section.size()) == section && line[section.size() + 1] == ']';
}

bool StartsWithKey(std::string_view line, std::string_view key) {
    return line.size() > key.size() && line.substr(0, key.size()) == key &&
           (line[key.size()] == ':' || line[key.size()] == '=');
}

std::string Capped(std::string_view s, std::size_t capacity) {
    return std::string(capacity == 0 ? std::string_view() : s.substr(0, capacity - 1));
}

// ---- Number reading in the manner of sscanf, independent of the C locale ----

void SkipBlanks(std::string_view& s) {
    while (!s.empty() && (s.front() == ' ' || (s.front() >= '\t' && s.front() <= '\r')))
        s.remove_prefix(1);
}

// "%d": blanks, an optional sign, digits; a value beyond int is saturated.
bool TakeInt(std::string_view& s, int& out) {
    SkipBlanks(s);
    bool negative = false;
    if (!s.empty() && (s.front() == '+' || s.front() == '-')) {
        negative = s.front() == '-';
        s.remove_prefix(1);
    }
    if (s.empty() || s.front() < '0' || s.front() > '9') return false;
    long long v = 0;
    while (!s.empty() && s.front() >= '0' && s.front() <= '9') {
        if (v <= INT_MAX) v = v * 10 + (s.front() - '0');
        s.remove_prefix(1);
    }
    if (negative) v = -v;
    out = static_cast<int>(v < INT_MIN ? INT_MIN : v > INT_MAX ? INT_MAX : v);
    return true;
}

// "%lf": blanks, an optional sign, a decimal number.
bool TakeDouble(std::string_view& s, double& out) {
    SkipBlanks(s);
    bool negative = false;
    if (!s.empty() && (s.front() == '+' || s.front() == '-')) {
        negative = s.front() == '-';
        s.remove_prefix(1);
    }
    if (s.empty() || s.front() == '+' || s.front() == '-') return false;
    const auto r = std::from_chars(s.data(), s.data() + s.size(), out);
    if (r.ec == std::errc::invalid_argument) return false;
    if (r.ec == std::errc::result_out_of_range) out = HUGE_VAL;  // refused by every range check
    if (negative) out = -out;
    s.remove_prefix(static_cast<std::size_t>(r.ptr - s.data()));
    return true;
}

bool TakeChar(std::string_view& s, char c) {
    if (s.empty() || s.front() != c) return false;
    s.remove_prefix(1);
    return true;
}

// "%g"
std::string FormatG(double v) {
    char buf[64];
    const auto r = std::to_chars(buf, buf + sizeof buf, v, std::chars_format::general, 6);
    return std::string(buf, r.ptr);
}

std::string FormatText(const TextDefaults& t) {
    return std::to_string(t.aperture) + "," + FormatG(t.height) + "," + FormatG(t.pitch);
}

void AppendLine(std::string& out, std::string_view key, std::string_view value) {
    out.append(key).append(":").append(value).append(kEol);
}

void AppendHeader(std::string& out, std::string_view section) {
    out.append(kEol).append("[").append(section).append("]").append(kEol);
}

}  // namespace

std::string SettingsPath(std::string_view editorExecutable) {
    return SettingsFileOf(std::filesystem::path(editorExecutable)).string();
}

std::string FindSetting(std::string_view contents, std::string_view section, std::string_view key,
                        std::string_view fallback, std::size_t capacity) {
    if (section.empty() || key.empty() || HasControlByte(section) || HasControlByte(key))
        return Capped(fallback, capacity);
    std::string_view found;
    bool haveValue = false, inSection = false;
    ForEachLine(contents, [&](std::string_view line) {
        if (IsHeader(line)) {
            if (inSection) return false;  // the section ended without the key
            inSection = IsHeaderOf(line, section);
        } else if (inSection && StartsWithKey(line, key)) {
            found = line.substr(key.size() + 1);
            haveValue = true;
            return false;
        }
        return true;
    });
    return Capped(haveValue ? found : fallback, capacity);
}

std::string ReadSetting(const std::filesystem::path& file, std::string_view section,
                        std::string_view key, std::string_view fallback, std::size_t capacity) {
    const auto contents = ReadWholeFile(file);
    return FindSetting(contents ? std::string_view(*contents) : std::string_view(), section, key,
                       fallback, capacity);
}

std::string RewriteSettings(std::string_view contents, std::string_view section,
                            std::optional<std::string_view> key,
                            std::optional<std::string_view> value) {
    if (value && value->empty()) value.reset();
    std::string keyLine;
    if (key && value) keyLine.append(*key).append(":").append(*value);

    std::string out;
    out.reserve(contents.size() + keyLine.size() + section.size() + 8);
    const auto put = [&](std::string_view line) { out.append(line).append(kEol); };
    // Sections are always separated by exactly one empty line.
    const auto putHeader = [&](std::string_view line) {
        if (!out.empty()) out.append(kEol);
        put(line);
    };

    enum { kBefore, kInSection, kDropping, kDone } state = kBefore;
    ForEachLine(contents, [&](std::string_view line) {
        if (line.empty()) return true;
        const bool header = IsHeader(line);
        switch (state) {
            case kBefore:
                if (header && IsHeaderOf(line, section)) {
                    if (!key) {
                        state = kDropping;
                        return true;
                    }
                    state = kInSection;
                }
                break;
            case kDropping:
                if (!header) return true;
                state = kDone;
                break;
            case kInSection:
                if (header) {
                    if (value) put(keyLine);
                    state = kDone;
                } else if (StartsWithKey(line, *key)) {
                    if (value) put(keyLine);
                    state = kDone;
                    return true;
                }
                break;
            case kDone:
                break;
        }
        header ? putHeader(line) : put(line);
        return true;
    });

    if (value && state == kBefore) {
        putHeader("[" + std::string(section) + "]");
        put(keyLine);
    } else if (value && state == kInSection) {
        put(keyLine);
    }
    return out;
}

SettingWrite WriteSetting(const std::filesystem::path& file, std::string_view section,
                          std::optional<std::string_view> key,
                          std::optional<std::string_view> value) {
    if (section.empty() || HasControlByte(section)) return {kSettingRefused, 0};
    if (key && (key->empty() || HasControlByte(*key))) return {kSettingRefused, 0};
    // A line break would split the line and plant text of its own in the file.
    if (value && value->find_first_of(std::string_view("\r\n\0", 3)) != std::string_view::npos)
        return {kSettingRefused, 0};

    const auto contents = ReadWholeFile(file);
    if (!contents) return {kSettingFailed, kMsgCannotWriteSettings};
    if (!WriteFileAtomically(file, RewriteSettings(*contents, section, key, value)))
        return {kSettingFailed, kMsgCannotWriteSettings};
    return {kSettingWritten, 0};
}

// ---- Options ----

WindowPlacement ParseWindowPosition(std::string_view value) {
    WindowPlacement p;
    if (value == "Maximize") {
        p.show = WindowShow::kMaximized;
        return p;
    }
    WindowRect r;
    if (TakeInt(value, r.left) && TakeChar(value, ',') && TakeInt(value, r.top) &&
        TakeChar(value, ',') && TakeInt(value, r.right) && TakeChar(value, ',') &&
        TakeInt(value, r.bottom)) {
        p.show = WindowShow::kNormal;
        p.rect = r;
    }
    return p;
}

WindowRect ClampWindowRect(WindowRect r, int screenWidth, int screenHeight) {
    r.left = std::min(r.left, screenWidth - 160);
    r.right = std::min(r.right, screenWidth);
    r.top = std::min(r.top, screenHeight - 80);
    r.bottom = std::min(r.bottom, screenHeight);
    return r;
}

std::optional<TextDefaults> ParseTextDefaults(std::string_view value) {
    TextDefaults t;
    if (!(TakeInt(value, t.aperture) && TakeChar(value, ',') && TakeDouble(value, t.height) &&
          TakeChar(value, ',') && TakeDouble(value, t.pitch)))
        return std::nullopt;
    // A negative aperture would index before the table.
    if (t.aperture < 0 || t.aperture >= 256) return std::nullopt;
    if (!(t.height > 0.01 && t.height < 100)) return std::nullopt;
    if (!(std::fabs(t.pitch) > 0.01 && std::fabs(t.pitch) < 100)) return std::nullopt;
    return t;
}

Options ParseOptions(std::string_view contents) {
    Options o;
    const auto get = [&](std::string_view section, std::string_view key,
                         std::string_view fallback = {}) {
        return FindSetting(contents, section, key, fallback);
    };
    const auto window = [&](std::string_view key, std::string_view fallback = {}) {
        return get("Window", key, fallback);
    };
    const auto setting = [&](std::string_view key) { return get("Setting", key); };

    o.toolBar = window("ToolBar", "Visible") == "Visible";
    o.statusBar = window("StatusBar", "Visible") == "Visible";
    o.toolBarFlat = window("ToolBarFlat", "Yes") != "No";
    o.displayPosition = window("DisplayPosition") == "Yes";
    o.positionAbsolute = window("PositionAbsolute") == "Yes";
    o.digitInDlg = window("DigitInDlg") == "On";
    o.position = ParseWindowPosition(window("Position"));

    const std::string undo = get("Setting", "UndoneMax", "10");
    std::string_view rest = undo;
    int limit = 0;
    o.undoneMax = TakeInt(rest, limit) && limit >= 1 ? limit : 10;
    o.rClickMenu = setting("RClickMenu") == "On";
    o.rClickBsKey = setting("RClickBsKey") == "Yes";
    o.longCursor = setting("Cursor") == "Long";
    o.rectangle = setting("Rectangle") == "Yes";
    o.arcHit = setting("ArcMode") == "Hit";
    o.paraMode = setting("ParaMode") != "Lines";
    o.rs274x = setting("GerberOut") == "RS-274X";
    o.autoTCode = setting("TCode") == "Auto";
    o.fastDelete = setting("Delete") == "Fast";
    o.lineAngle8 = setting("LineAngle8") == "Yes";
    o.selectSingle = setting("SelectSingle") == "Yes";
    o.anyAngle = setting("AnyAngle") == "Yes";
    o.deformAngle8 = setting("DeformAngle8") == "Yes";
    o.modernOutput = setting("ModernOutput") == "Yes";
    if (const std::string l = setting("Language"); l == "English")
        o.language = Language::English;
    else if (l == "Japanese")
        o.language = Language::Japanese;
    if (auto t = ParseTextDefaults(setting("DrawText"))) o.drawText = *t;
    if (auto t = ParseTextDefaults(setting("InsertText"))) o.insertText = *t;

    // A path may be longer than the other values.
    o.fileName = FindSetting(contents, "FileName", "FileName", {}, 4096);
    return o;
}

Options LoadOptions(const std::filesystem::path& file) {
    const auto contents = ReadWholeFile(file);
    return ParseOptions(contents ? std::string_view(*contents) : std::string_view());
}

OptionSetting SettingOf(const Options& o, Option option) {
    const auto flag = [](bool on, std::string_view value) {
        return on ? std::optional<std::string>(value) : std::nullopt;
    };
    switch (option) {
        case Option::kToolBar:
            return {"Window", "ToolBar", o.toolBar ? "Visible" : "Hide"};
        case Option::kStatusBar:
            return {"Window", "StatusBar", o.statusBar ? "Visible" : "Hide"};
        case Option::kToolBarFlat:
            return {"Window", "ToolBarFlat", o.toolBarFlat ? "Yes" : "No"};
        case Option::kDisplayPosition:
            return {"Window", "DisplayPosition", flag(o.displayPosition, "Yes")};
        case Option::kPositionAbsolute:
            return {"Window", "PositionAbsolute",
                    flag(o.displayPosition && o.positionAbsolute, "Yes")};
        case Option::kDigitInDlg:
            return {"Window", "DigitInDlg", flag(o.digitInDlg, "On")};
        case Option::kPosition: {
            const WindowPlacement& p = o.position;
            const WindowRect& r = p.rect;
            if (p.show == WindowShow::kMaximized) return {"Window", "Position", "Maximize"};
            // A minimised window, or one too small to find again, is placed by the system.
            if (p.show != WindowShow::kNormal || r.right - r.left < 160 || r.bottom - r.top < 80)
                return {"Window", "Position", std::nullopt};
            return {"Window", "Position",
                    std::to_string(r.left) + "," + std::to_string(r.top) + "," +
                        std::to_string(r.right) + "," + std::to_string(r.bottom)};
        }
        case Option::kUndoneMax:
            return {"Setting", "UndoneMax", std::to_string(o.undoneMax)};
        case Option::kRClickMenu:
            return {"Setting", "RClickMenu", flag(o.rClickMenu, "On")};
        case Option::kRClickBsKey:
            return {"Setting", "RClickBsKey", flag(o.rClickBsKey, "Yes")};
        case Option::kCursor:
            return {"Setting", "Cursor", flag(o.longCursor, "Long")};
        case Option::kRectangle:
            return {"Setting", "Rectangle", flag(o.rectangle, "Yes")};
        case Option::kArcMode:
            return {"Setting", "ArcMode", flag(o.arcHit, "Hit")};
        case Option::kParaMode:
            return {"Setting", "ParaMode", flag(!o.paraMode, "Lines")};
        case Option::kGerberOut:
            return {"Setting", "GerberOut", flag(o.rs274x, "RS-274X")};
        case Option::kTCode:
            return {"Setting", "TCode", flag(o.autoTCode, "Auto")};
        case Option::kDelete:
            return {"Setting", "Delete", flag(o.fastDelete, "Fast")};
        case Option::kLineAngle8:
            return {"Setting", "LineAngle8", flag(o.lineAngle8, "Yes")};
        case Option::kSelectSingle:
            return {"Setting", "SelectSingle", flag(o.selectSingle, "Yes")};
        case Option::kAnyAngle:
            return {"Setting", "AnyAngle", flag(o.anyAngle, "Yes")};
        case Option::kDeformAngle8:
            return {"Setting", "DeformAngle8", flag(o.deformAngle8, "Yes")};
        case Option::kModernOutput:
            return {"Setting", "ModernOutput", flag(o.modernOutput, "Yes")};
        case Option::kLanguage:
            if (!o.language) return {"Setting", "Language", std::nullopt};
            return {"Setting", "Language",
                    *o.language == Language::English ? "English" : "Japanese"};
        case Option::kDrawText:
            return {"Setting", "DrawText",
                    flag(o.drawText != TextDefaults{}, FormatText(o.drawText))};
        case Option::kInsertText:
            return {"Setting", "InsertText",
                    flag(o.insertText != TextDefaults{}, FormatText(o.insertText))};
        case Option::kFileName:
            return {"FileName", "FileName", flag(!o.fileName.empty(), o.fileName)};
    }
    return {};
}

SettingWrite WriteOption(const std::filesystem::path& file, const Options& options, Option option) {
    const OptionSetting s = SettingOf(options, option);
    return WriteSetting(file, s.section, s.key,
                        s.value ? std::optional<std::string_view>(*s.value) : std::nullopt);
}

namespace {

void AppendOptions(std::string& out, const Options& o, std::initializer_list<Option> list) {
    for (const Option option : list) {
        const OptionSetting s = SettingOf(o, option);
        if (s.value) AppendLine(out, s.key, *s.value);
    }
}

}  // namespace

void AppendWindowSection(std::string& out, const Options& o) {
    AppendHeader(out, "Window");
    AppendOptions(
        out, o,
        {Option::kToolBar, Option::kStatusBar, Option::kToolBarFlat, Option::kDisplayPosition,
         Option::kPositionAbsolute, Option::kDigitInDlg, Option::kPosition});
}

void AppendSettingSection(std::string& out, const Options& o) {
    AppendHeader(out, "Setting");
    AppendOptions(out, o,
                  {Option::kUndoneMax, Option::kRClickMenu, Option::kRClickBsKey, Option::kCursor,
                   Option::kRectangle, Option::kArcMode, Option::kParaMode, Option::kGerberOut,
                   Option::kTCode, Option::kDelete, Option::kLineAngle8, Option::kSelectSingle,
                   Option::kAnyAngle, Option::kDeformAngle8, Option::kModernOutput,
                   Option::kLanguage, Option::kDrawText, Option::kInsertText});
}

void AppendFileNameSection(std::string& out, const Options& o) {
    AppendHeader(out, "FileName");
    // An untitled document is written as the key with an empty value.
    AppendLine(out, "FileName", o.fileName);
}

}  // namespace zevo
