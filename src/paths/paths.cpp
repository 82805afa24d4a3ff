#include "paths/paths.h"

#include <cstdlib>
#include <system_error>

#include "paths/file_io.h"
#include "text/cp932.h"

#if defined(_WIN32)
#include <windows.h>
#elif defined(__APPLE__)
#include <mach-o/dyld.h>
#endif

namespace zevo {
namespace fs = std::filesystem;

namespace {

// Whether files can be made in `dir`: the only answer that holds for permissions, read-only
// mounts and access lists alike is to try.
bool CanCreateFilesIn(const fs::path& dir) {
    const fs::path probe = dir / (".zevo-probe-" + UniqueFileSuffix());
    if (!OpenFile(probe, "wbx")) return false;
    std::error_code ec;
    fs::remove(probe, ec);
    return true;
}

fs::path ExecutablePath() {
    std::error_code ec;
#if defined(_WIN32)
    std::wstring buf(MAX_PATH, L'\0');
    for (;;) {
        const DWORD n = GetModuleFileNameW(nullptr, buf.data(), static_cast<DWORD>(buf.size()));
        if (n == 0) break;
        if (n < buf.size()) return fs::path(buf.substr(0, n));
        buf.resize(buf.size() * 2);
    }
#elif defined(__APPLE__)
    uint32_t size = 0;
    _NSGetExecutablePath(nullptr, &size);
    std::string buf(size, '\0');
    if (_NSGetExecutablePath(buf.data(), &size) == 0) {
        fs::path p = fs::weakly_canonical(fs::path(buf.c_str()), ec);
        if (!ec) return p;
    }
#else
    fs::path p = fs::read_symlink("/proc/self/exe", ec);
    if (!ec) return p;
#endif
    return fs::current_path(ec) / std::string(kEditorExecutable);
}

std::optional<fs::path> EnvPath(const char* name) {
    const char* v = std::getenv(name);
    if (!v || !*v) return std::nullopt;
    fs::path p(v);
    if (!p.is_absolute()) return std::nullopt;
    return p;
}

fs::path UserDataDir(const fs::path& fallback) {
#if defined(_WIN32)
    if (auto appData = EnvPath("APPDATA")) return *appData / "Zevo";
#elif defined(__APPLE__)
    if (auto home = EnvPath("HOME")) return *home / "Library" / "Application Support" / "Zevo";
#else
    if (auto xdg = EnvPath("XDG_DATA_HOME")) return *xdg / "zevo";
    if (auto home = EnvPath("HOME")) return *home / ".local" / "share" / "zevo";
#endif
    return fallback;
}

void AddUnique(std::vector<fs::path>& list, const fs::path& p) {
    if (p.empty()) return;
    for (const fs::path& q : list)
        if (q == p) return;
    list.push_back(p);
}

bool IsFile(const fs::path& p) {
    std::error_code ec;
    return fs::is_regular_file(p, ec);
}

}  // namespace

fs::path SettingsFileOf(const fs::path& executable) {
    fs::path p = executable;
    return p.replace_extension(".ini");
}

Paths::Paths(Folders folders) : folders_(std::move(folders)) {
    programWritable_ =
        folders_.programWritable ? *folders_.programWritable : CanCreateFilesIn(folders_.program);
    if (folders_.userData.empty()) folders_.userData = folders_.program;
}

Paths Paths::ForRunningProgram() {
    Folders f;
    f.program = ExecutablePath().parent_path();
    f.userData = UserDataDir(f.program);
    AddUnique(f.shipped, f.program / "share");
    AddUnique(f.shipped, (f.program / ".." / "share" / "zevo").lexically_normal());
#if defined(ZEVO_DATA_DIR)
    AddUnique(f.shipped, fs::path(ZEVO_DATA_DIR));
#endif
    return Paths(std::move(f));
}

const fs::path& Paths::writableDir() const {
    return programWritable_ ? folders_.program : folders_.userData;
}

bool Paths::PrepareWritableDir() const {
    std::error_code ec;
    if (fs::is_directory(writableDir(), ec)) return true;
    fs::create_directories(writableDir(), ec);
    return fs::is_directory(writableDir(), ec);
}

std::vector<fs::path> Paths::UserDirs() const {
    std::vector<fs::path> dirs;
    AddUnique(dirs, writableDir());
    AddUnique(dirs, programWritable_ ? folders_.userData : folders_.program);
    return dirs;
}

std::optional<fs::path> Paths::Shipped(std::string_view name) const {
    for (const fs::path& dir : folders_.shipped)
        if (IsFile(dir / PathFromUtf8(name))) return dir / PathFromUtf8(name);
    return std::nullopt;
}

fs::path Paths::Find(std::string_view name) const {
    for (const fs::path& dir : UserDirs())
        if (IsFile(dir / PathFromUtf8(name))) return dir / PathFromUtf8(name);
    if (auto shipped = Shipped(name)) return *shipped;
    return WriteTarget(name);
}

fs::path Paths::WriteTarget(std::string_view name) const {
    return writableDir() / PathFromUtf8(name);
}

std::optional<fs::path> Paths::Ensure(std::string_view name, bool createEmpty) const {
    const fs::path target = WriteTarget(name);
    if (IsFile(target)) return target;
    if (!PrepareWritableDir()) return std::nullopt;
    const fs::path source = Find(name);
    std::error_code ec;
    if (IsFile(source)) {
        // Through a temporary copy, so that a second program starting at the same moment sees
        // either no file or the whole file.
        auto bytes = ReadWholeFile(source);
        if (bytes && WriteFileAtomically(target, *bytes)) return target;
        return IsFile(target) ? std::optional(target) : std::nullopt;
    }
    if (!createEmpty) return std::nullopt;
    if (OpenFile(target, "ab")) return target;
    return std::nullopt;
}

fs::path Paths::settingsFile() const {
    return WriteTarget(SettingsFileOf(folders_.editorExecutable).filename().string());
}

std::optional<fs::path> Paths::EnsureSettingsFile() const {
    return Ensure(settingsFile().filename().string(), true);
}

std::vector<fs::path> Paths::libraryDirs() const {
    std::vector<fs::path> dirs = UserDirs();
    for (const fs::path& dir : folders_.shipped) AddUnique(dirs, dir);
    return dirs;
}

namespace {

// The entry as a file name: the list holds Shift-JIS bytes, the file system wants its own.
fs::path EntryPath(std::string_view entry) {
    const std::string utf8 = Cp932ToUtf8(entry);
    return fs::path(std::u8string(utf8.begin(), utf8.end()));
}

// Looked for in the converted name: the second byte of a Shift-JIS character may be a backslash.
bool HasFolder(std::string_view entry) {
    return Cp932ToUtf8(entry).find_first_of("/\\") != std::string::npos;
}

}  // namespace

fs::path Paths::ResolveLibrary(std::string_view entry) const {
    if (HasFolder(entry)) return EntryPath(entry);
    return Find(PathToUtf8(EntryPath(entry)));
}

std::optional<fs::path> Paths::LibraryWriteTarget(std::string_view entry) const {
    fs::path p = EntryPath(entry);
    if (!p.has_extension()) p += ".lib";
    if (HasFolder(entry)) return p;
    const std::string name = PathToUtf8(p);
    if (auto own = Ensure(name, false)) return own;
    // Nothing to copy: a new library in the writable folder.
    if (!PrepareWritableDir()) return std::nullopt;
    return WriteTarget(name);
}

}  // namespace zevo
