// The editor's settings file: options of the shell and the template of every new document.
//
// The file uses the section syntax of board files ("[Section]" headers, "Key:value" lines) and
// holds CP932 bytes; every string here is bytes as they stand in the file. Lines are written with
// CR LF on every platform; readers take CR LF and LF alike. The file is never held open: each read
// or write opens and closes it.
#pragma once

#include <cstddef>
#include <filesystem>
#include <optional>
#include <string>
#include <string_view>

#include "text/language.h"

namespace zevo {

// The settings file of the editor executable `editorExecutable` (its path with ".ini").
std::string SettingsPath(std::string_view editorExecutable);

// Values longer than capacity - 1 bytes are cut there.
inline constexpr std::size_t kSettingCapacity = 1024;

// The value of `key` in `section`: the text after "key:" or "key=" on the first line of the section
// that begins so. `fallback` when the file, the section or the key is missing, or when section or
// key is empty or holds a byte below 0x20. At most capacity - 1 bytes.
std::string ReadSetting(const std::filesystem::path& file, std::string_view section,
                        std::string_view key, std::string_view fallback,
                        std::size_t capacity = kSettingCapacity);
// The same lookup in file contents already read.
std::string FindSetting(std::string_view contents, std::string_view section, std::string_view key,
                        std::string_view fallback, std::size_t capacity = kSettingCapacity);

inline constexpr int kSettingWritten = 0;
inline constexpr int kSettingRefused = -1;
inline constexpr int kSettingFailed = 1;

struct SettingWrite {
    int status = kSettingWritten;
    int message = 0;  // string-table id the caller shows (kMsgCannotWriteSettings), or 0
};

// Sets one key and rewrites the file. A null or empty value removes the key; a null key removes
// the whole section. Refused: an empty section, an empty key, a section or key holding a byte
// below 0x20, a value holding a line break or a NUL byte. Failed (the file cannot be read or
// replaced): the old file stays as it was.
SettingWrite WriteSetting(const std::filesystem::path& file, std::string_view section,
                          std::optional<std::string_view> key,
                          std::optional<std::string_view> value);
// The contents after such a write, for contents already read (the arguments are not checked).
std::string RewriteSettings(std::string_view contents, std::string_view section,
                            std::optional<std::string_view> key,
                            std::optional<std::string_view> value);

// ---- Options of the "Window", "Setting" and "FileName" sections ----

struct TextDefaults {
    int aperture = 4;
    double height = 3.2;
    double pitch = 3.4;  // negative for mirrored text
    friend bool operator==(const TextDefaults&, const TextDefaults&) = default;
};

struct WindowRect {
    int left = 0, top = 0, right = 0, bottom = 0;
    friend bool operator==(const WindowRect&, const WindowRect&) = default;
};

enum class WindowShow { kSystem, kNormal, kMaximized, kMinimized };

struct WindowPlacement {
    WindowShow show = WindowShow::kSystem;  // kSystem: the window system places the window
    WindowRect rect;                        // for kNormal
    friend bool operator==(const WindowPlacement&, const WindowPlacement&) = default;
};

struct Options {
    // "Window"
    bool toolBar = true;
    bool statusBar = true;
    bool toolBarFlat = true;
    bool displayPosition = false;
    bool positionAbsolute = false;
    bool digitInDlg = false;
    WindowPlacement position;
    // "Setting"
    int undoneMax = 10;
    bool rClickMenu = false;
    bool rClickBsKey = false;
    bool longCursor = false;  // "Cursor"
    bool rectangle = false;
    bool arcHit = false;      // "ArcMode"
    bool paraMode = true;     // "ParaMode"; written as "Lines" when off
    bool rs274x = false;      // "GerberOut"
    bool autoTCode = false;   // "TCode"
    bool fastDelete = false;  // "Delete"
    bool lineAngle8 = false;
    // The selection settings of "選択方法設定" and "変形方法設定".
    bool selectSingle = false;  // "SelectSingle": the deform tool picks a unit without Shift
    bool anyAngle = false;      // "AnyAngle": rotating asks for the angle
    bool deformAngle8 = false;  // "DeformAngle8": vertex moves always in eight directions
    // "ModernOutput": the Gerber, hole and estimate outputs in the current formats (X2).
    bool modernOutput = false;
    // "Language": the interface language chosen in the options menu ("English"/"Japanese");
    // none follows the system's language.
    std::optional<Language> language;
    TextDefaults drawText;
    TextDefaults insertText;
    // "FileName": the last document, empty for an untitled one.
    std::string fileName;
    friend bool operator==(const Options&, const Options&) = default;
};

// Every option from the file; what is missing or unreadable keeps its default.
Options LoadOptions(const std::filesystem::path& file);
Options ParseOptions(std::string_view contents);

// The placement a "Position" value asks for: "Maximize" or "left,top,right,bottom"; anything
// else leaves the placement to the window system.
WindowPlacement ParseWindowPosition(std::string_view value);
// Keeps a restored window reachable on a screen of the given size: the left edge at most 160 and
// the top edge at most 80 pixels from the right and bottom screen edges, the right and bottom
// edges on the screen.
WindowRect ClampWindowRect(WindowRect r, int screenWidth, int screenHeight);
// A "DrawText"/"InsertText" value "aperture,height,pitch", when all three are in range.
std::optional<TextDefaults> ParseTextDefaults(std::string_view value);

enum class Option {
    kToolBar,
    kStatusBar,
    kToolBarFlat,
    kDisplayPosition,
    kPositionAbsolute,
    kDigitInDlg,
    kPosition,
    kUndoneMax,
    kRClickMenu,
    kRClickBsKey,
    kCursor,
    kRectangle,
    kArcMode,
    kParaMode,
    kGerberOut,
    kTCode,
    kDelete,
    kLineAngle8,
    kSelectSingle,
    kAnyAngle,
    kDeformAngle8,
    kModernOutput,
    kLanguage,
    kDrawText,
    kInsertText,
    kFileName,
};

// What the shell writes for one option: its section and key, and the value (nothing removes the
// key, which reads back as the default).
struct OptionSetting {
    std::string_view section;
    std::string_view key;
    std::optional<std::string> value;
};
OptionSetting SettingOf(const Options& options, Option option);
// WriteSetting with SettingOf.
SettingWrite WriteOption(const std::filesystem::path& file, const Options& options, Option option);

// The sections of the whole settings file, appended in the file's line format: an empty line,
// the header, then the keys in their order. ToolBar, StatusBar, ToolBarFlat, UndoneMax and
// FileName are always written; every other option only when it is on or differs from its
// default. These sections always follow "Version", hence the leading empty line.
void AppendWindowSection(std::string& out, const Options& options);
void AppendSettingSection(std::string& out, const Options& options);
void AppendFileNameSection(std::string& out, const Options& options);

}  // namespace zevo
