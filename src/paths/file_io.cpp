#include "paths/file_io.h"

#include <atomic>
#include <system_error>

#if defined(_WIN32)
#include <io.h>
#include <process.h>
#else
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

bool WriteFileAtomically(const fs::path& target, std::string_view bytes) {
    std::error_code ec;
    fs::path file = target;
    if (fs::is_symlink(file, ec)) {
        const fs::path resolved = fs::weakly_canonical(file, ec);
        if (ec) return false;
        file = resolved;
    }
    const fs::path tmp =
        file.parent_path() / (file.filename().string() + "." + UniqueFileSuffix() + ".tmp");

    FilePtr f = OpenFile(tmp, "wbx");
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
    if (!ok) fs::remove(tmp, ec);
    return ok;
}

}  // namespace zevo
