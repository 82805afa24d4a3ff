// Where the output commands put their files, and what they tell the user.
#pragma once

#include <filesystem>
#include <initializer_list>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace zevo {

// A message box of an output or input command: the text (UTF-8) and whether it carries the
// error icon. Commands collect them in order; the caller shows them.
struct OutputMessage {
    std::string text;
    bool error = false;
};

// What a command did, for the list the CLI prints and for the tests.
struct OutputReport {
    std::vector<std::filesystem::path> deleted;  // earlier output files removed
    std::vector<std::filesystem::path> written;  // files written, in order
    std::vector<OutputMessage> messages;
    bool listWritten = false;      // gout.lst / hout.lst
    bool settingsWritten = false;  // GOutIni.dat / HOutIni.dat
};

// The folder of the board file, or the program's folder while the board has never been saved.
std::filesystem::path OutputFolder(const std::filesystem::path& boardFile,
                                   const std::filesystem::path& programFolder);

// The file a layer's name stands for: a name with a folder in it (a backslash, or a slash) is
// used as it stands; any other name goes into `folder`, with ".<defaultExtension>" appended when
// it has no dot at all. `name` holds CP932 bytes.
std::filesystem::path OutputFilePath(const std::filesystem::path& folder, std::string_view name,
                                     std::string_view defaultExtension);

// Deletes the plain files of `folder` (not its subfolders) whose extension is one of
// `extensions` (without the dot, compared without regard to case), and adds them to `deleted`.
void DeleteFilesWithExtensions(const std::filesystem::path& folder,
                               std::initializer_list<std::string_view> extensions,
                               std::vector<std::filesystem::path>& deleted);

// A file name as the file system of the host spells it (CP932 bytes to the native path).
std::filesystem::path PathFromCp932(std::string_view name);

// The bytes of an output settings file; a missing file is made empty first so that the command
// can save its tables there. Nothing when the file exists but cannot be read, or cannot be made.
std::optional<std::string> ReadOrCreateSettingsFile(const std::filesystem::path& file);

// " <レイヤー> <n> : <text>" with `text` in CP932, as the messages of the commands end.
std::string LayerSuffix(int layer, std::string_view textCp932);

}  // namespace zevo
