// Where the programs keep their files.
//
// The programs keep their settings, libraries, output settings, recovery file and font beside
// the executables. That stays so for a portable folder (the program's folder is writable). An
// installed program (the folder is not writable) keeps them in the per-user data folder instead.
// Defaults shipped with the program (font, sample library, rule file, default settings) lie in
// the shipped folders; a file of the user, in the program's or in the per-user folder, always
// wins over a shipped default.
#pragma once

#include <filesystem>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace zevo {

// File names of the editor's companions.
inline constexpr std::string_view kRecoveryFileName = "Recovery.pcb";
inline constexpr std::string_view kFontFileName = "zevofont.dat";
inline constexpr std::string_view kRuleFileName = "Zevo.drc";
inline constexpr std::string_view kGerberOutSettings = "GOutIni.dat";
inline constexpr std::string_view kGerberInSettings = "GInIni.dat";
inline constexpr std::string_view kHoleOutSettings = "HOutIni.dat";
inline constexpr std::string_view kCompareReportFileName = "NetListErr.txt";
#if defined(_WIN32)
inline constexpr std::string_view kEditorExecutable = "zevo.exe";
#else
inline constexpr std::string_view kEditorExecutable = "zevo";
#endif

struct Folders {
    std::filesystem::path program;               // folder of the executables
    std::filesystem::path userData;              // per-user data folder; made when first needed
    std::vector<std::filesystem::path> shipped;  // folders of shipped defaults, searched in order
    // Whether the program's folder takes files; probed by creating a file there when not set.
    std::optional<bool> programWritable;
    std::string editorExecutable = std::string(kEditorExecutable);
};

class Paths {
  public:
    explicit Paths(Folders folders);

    // The folders of the running program: the executable's folder; the platform's per-user data
    // folder (XDG data home on Linux); shipped defaults in "<exe dir>/share",
    // "<exe dir>/../share/zevo" and the installation's data folder.
    static Paths ForRunningProgram();

    const Folders& folders() const { return folders_; }
    bool portable() const { return programWritable_; }
    // Where everything the programs write goes: the program's folder when it is writable, else
    // the per-user data folder.
    const std::filesystem::path& writableDir() const;
    // Makes the writable folder when it does not exist yet; false when that fails.
    bool PrepareWritableDir() const;

    // The file `name` (UTF-8) to read: the user's own (writable folder first, then the other of the
    // program's and the per-user folder), else the first shipped default, else the place where
    // it would be written (which does not exist).
    std::filesystem::path Find(std::string_view name) const;
    // The shipped default of `name`, if there is one.
    std::optional<std::filesystem::path> Shipped(std::string_view name) const;
    // writableDir() / name: where `name` is written.
    std::filesystem::path WriteTarget(std::string_view name) const;
    // Puts `name` into the writable folder when it is not there yet: a copy of the file Find()
    // gives, or an empty file when there is none and `createEmpty` is set. Returns the file in
    // the writable folder, or nothing when it could not be made.
    std::optional<std::filesystem::path> Ensure(std::string_view name, bool createEmpty) const;

    // The editor's settings file, read and written in the writable folder. Every program of the
    // set uses the editor's file (the batch program has none of its own).
    std::filesystem::path settingsFile() const;
    // Copies the shipped (or the other folder's) settings into place on first use, so that
    // single-key writes find a file; an empty file when there is nothing to copy.
    std::optional<std::filesystem::path> EnsureSettingsFile() const;

    std::filesystem::path recoveryFile() const { return WriteTarget(kRecoveryFileName); }
    std::filesystem::path fontFile() const { return Find(kFontFileName); }
    std::filesystem::path ruleFile() const { return Find(kRuleFileName); }
    // Output settings ("GOutIni.dat", "GInIni.dat", "HOutIni.dat"): made empty when missing.
    std::optional<std::filesystem::path> OutputSettingsFile(std::string_view name) const {
        return Ensure(name, true);
    }
    // The library folder: new libraries ("Parts.lib") are written here.
    const std::filesystem::path& libraryDir() const { return writableDir(); }
    // Every folder whose "*.lib" files are offered, the writable one first.
    std::vector<std::filesystem::path> libraryDirs() const;
    // A library file list entry (file bytes, Shift-JIS): a name without a folder is looked up
    // like any file of the program; a path with a folder is used as it stands.
    std::filesystem::path ResolveLibrary(std::string_view entry) const;
    // The file a change of the library `entry` is written to (".lib" appended when the name has
    // none). A name without a folder is the user's own copy in the writable folder, made there
    // from the shipped library first, so that a shipped file is never rewritten; nothing when
    // that copy cannot be made.
    std::optional<std::filesystem::path> LibraryWriteTarget(std::string_view entry) const;

  private:
    // The writable folder, then the other of the program's and the per-user folder.
    std::vector<std::filesystem::path> UserDirs() const;

    Folders folders_;
    bool programWritable_;
};

// The settings file of an executable: its path with the last extension replaced by ".ini", or
// ".ini" appended when the file name has no extension.
std::filesystem::path SettingsFileOf(const std::filesystem::path& executable);

}  // namespace zevo
