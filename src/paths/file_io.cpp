#include "paths/file_io.h"

#include <atomic>
#include <cerrno>
#include <charconv>
#include <limits>
#include <string>
#include <system_error>
#include <vector>

#if defined(_WIN32)
#include <io.h>
#include <process.h>
#ifndef NOMINMAX
#define NOMINMAX
#endif
#include <windows.h>
#else
#include <signal.h>
#include <unistd.h>
#endif

namespace zevo {
namespace fs = std::filesystem;

namespace {

bool SyncToDisk(std::FILE* f) {
#if defined(_WIN32)
    return _commit(_fileno(f)) == 0;
#else
    return fsync(fileno(f)) == 0;
#endif
}

}  // namespace

fs::path PathFromUtf8(std::string_view utf8) {
    return fs::path(std::u8string(utf8.begin(), utf8.end()));
}

std::string PathToUtf8(const fs::path& p) {
    const std::u8string s = p.u8string();
    return std::string(s.begin(), s.end());
}

FilePtr OpenFile(const fs::path& path, const char* mode) {
#if defined(_WIN32)
    std::wstring wmode(mode, mode + std::char_traits<char>::length(mode));
    return FilePtr(_wfopen(path.c_str(), wmode.c_str()));
#else
    return FilePtr(std::fopen(path.c_str(), mode));
#endif
}

std::optional<std::string> ReadWholeFile(const fs::path& path) {
    FilePtr f = OpenFile(path, "rb");
    if (!f) return std::nullopt;
    std::string data;
    char buf[1 << 14];
    for (;;) {
        const std::size_t n = std::fread(buf, 1, sizeof buf, f.get());
        data.append(buf, n);
        if (n < sizeof buf) break;
    }
    if (std::ferror(f.get())) return std::nullopt;
    return data;
}

std::string UniqueFileSuffix() {
    static std::atomic<unsigned> counter{0};
#if defined(_WIN32)
    const long pid = _getpid();
#else
    const long pid = static_cast<long>(getpid());
#endif
    return std::to_string(pid) + "-" + std::to_string(counter++);
}

FilePtr CreateTemporaryFor(const fs::path& target, fs::path& tmp) {
    // A file of a dead writer may carry the name this process would give (its id came back):
    // the next name is taken then.
    for (int attempt = 0; attempt < 64; ++attempt) {
        fs::path name = target.filename();
        name += "." + UniqueFileSuffix() + ".tmp";
        tmp = target.parent_path() / name;
        if (FilePtr f = OpenFile(tmp, "wbx")) return f;
        std::error_code ec;
        if (!fs::exists(tmp, ec)) break;
    }
    return nullptr;
}

bool ProcessRunning(long pid) {
    if (pid <= 0) return true;
#if defined(_WIN32)
    if (static_cast<DWORD>(pid) == GetCurrentProcessId()) return true;
    HANDLE h = OpenProcess(PROCESS_QUERY_LIMITED_INFORMATION, FALSE, static_cast<DWORD>(pid));
    if (!h) return GetLastError() != ERROR_INVALID_PARAMETER;
    DWORD code = 0;
    const bool running = !GetExitCodeProcess(h, &code) || code == STILL_ACTIVE;
    CloseHandle(h);
    return running;
#else
    if (pid == static_cast<long>(getpid())) return true;
    if (pid > static_cast<long>(std::numeric_limits<pid_t>::max())) return false;
    return kill(static_cast<pid_t>(pid), 0) == 0 || errno != ESRCH;
#endif
}

namespace {

// The process id in a temporary's name "<target>.<pid>-<count>.tmp", or -1 when the name is
// not one of the target's temporaries.
long TemporaryOwner(std::string_view name, std::string_view target) {
    constexpr std::string_view kExt = ".tmp";
    if (name.size() <= target.size() + 1 + kExt.size() || !name.starts_with(target) ||
        name[target.size()] != '.' || !name.ends_with(kExt))
        return -1;
    std::string_view middle =
        name.substr(target.size() + 1, name.size() - target.size() - 1 - kExt.size());
    const size_t dash = middle.find('-');
    if (dash == 0 || dash == std::string_view::npos || dash + 1 == middle.size()) return -1;
    auto digits = [](std::string_view d) {
        for (char c : d)
            if (c < '0' || c > '9') return false;
        return true;
    };
    if (!digits(middle.substr(0, dash)) || !digits(middle.substr(dash + 1))) return -1;
    long pid = -1;
    const auto [end, err] = std::from_chars(middle.data(), middle.data() + dash, pid);
    return err == std::errc() && end == middle.data() + dash ? pid : -1;
}

}  // namespace

int RemoveStaleTemporaries(const fs::path& target) {
    std::error_code ec;
    const fs::path folder = target.parent_path().empty() ? fs::path(".") : target.parent_path();
    const std::string name = target.filename().string();
    std::vector<fs::path> stale;
    for (fs::directory_iterator it(folder, ec), end; !ec && it != end; it.increment(ec)) {
        const long owner = TemporaryOwner(it->path().filename().string(), name);
        if (owner < 0 || ProcessRunning(owner)) continue;
        // Only plain files: a link or a folder of that name is nobody's temporary.
        if (it->is_symlink(ec) || !it->is_regular_file(ec)) continue;
        stale.push_back(it->path());
    }
    int removed = 0;
    for (const fs::path& p : stale)
        if (fs::remove(p, ec)) ++removed;
    return removed;
}

bool WriteFileAtomically(const fs::path& target, std::string_view bytes) {
    std::error_code ec;
    fs::path file = target;
    if (fs::is_symlink(file, ec)) {
        const fs::path resolved = fs::weakly_canonical(file, ec);
        if (ec) return false;
        file = resolved;
    }
    fs::path tmp;
    FilePtr f = CreateTemporaryFor(file, tmp);
    if (!f) return false;
    bool ok = std::fwrite(bytes.data(), 1, bytes.size(), f.get()) == bytes.size();
    ok = std::fflush(f.get()) == 0 && ok;
    ok = ok && SyncToDisk(f.get());
    ok = std::fclose(f.release()) == 0 && ok;
    if (ok) {
        // Keep the permissions the user gave the old file.
        const fs::file_status old = fs::status(file, ec);
        if (!ec && fs::exists(old)) fs::permissions(tmp, old.permissions(), ec);
        fs::rename(tmp, file, ec);
        ok = !ec;
    }
    if (!ok) {
        fs::remove(tmp, ec);
        return false;
    }
    RemoveStaleTemporaries(file);
    return true;
}

}  // namespace zevo
