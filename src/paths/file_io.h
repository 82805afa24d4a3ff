// Small file helpers shared by every reader and writer: RAII FILE handles that take any path
// (wide names on Windows), whole-file reading, and the replace-in-one-step write.
#pragma once

#include <cstdio>
#include <filesystem>
#include <memory>
#include <optional>
#include <string>
#include <string_view>

namespace zevo {

struct FileCloser {
    void operator()(std::FILE* f) const {
        if (f) std::fclose(f);
    }
};
using FilePtr = std::unique_ptr<std::FILE, FileCloser>;

// std::fopen for a filesystem path; `mode` as for fopen ("rb", "wb", "wbx", ...).
FilePtr OpenFile(const std::filesystem::path& path, const char* mode);

// The whole file, or nothing when it cannot be opened or read.
std::optional<std::string> ReadWholeFile(const std::filesystem::path& path);

// Replaces `target` with `bytes` without a moment in which the file is missing or half written:
// the bytes go to a new file in the same folder, which is flushed to the disk, closed and renamed
// over the target (a symbolic link is followed, so the link stays). On failure the old file is
// untouched and no temporary file is left behind.
bool WriteFileAtomically(const std::filesystem::path& target, std::string_view bytes);

// A name suffix no other call of this process or another running process produces.
std::string UniqueFileSuffix();

}  // namespace zevo
