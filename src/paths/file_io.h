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

// A path from a UTF-8 name, and the UTF-8 name of a path. Every name the programs take or show is
// UTF-8; on Windows a plain narrow string would be read in the C runtime's code page instead.
std::filesystem::path PathFromUtf8(std::string_view utf8);
std::string PathToUtf8(const std::filesystem::path& p);

// std::fopen for a filesystem path; `mode` as for fopen ("rb", "wb", "wbx", ...).
FilePtr OpenFile(const std::filesystem::path& path, const char* mode);

// The whole file, or nothing when it cannot be opened or read.
std::optional<std::string> ReadWholeFile(const std::filesystem::path& path);

// Replaces `target` with `bytes` without a moment in which the file is missing or half written:
// the bytes go to a new file in the same folder, which is flushed to the disk, closed and renamed
// over the target (a symbolic link is followed, so the link stays). On failure the old file is
// untouched and no temporary file is left behind. After a successful write the temporaries of
// the target left by writers that died are removed.
bool WriteFileAtomically(const std::filesystem::path& target, std::string_view bytes);

// A name suffix no other call of this process or another running process produces:
// "<process id>-<count>".
std::string UniqueFileSuffix();

// Creates the temporary file the safe writers fill before renaming it over `target`:
// "<target name>.<process id>-<count>.tmp" in the target's folder, never an existing file.
// Returns the open file (and its name in `tmp`), or nothing when it cannot be made.
FilePtr CreateTemporaryFor(const std::filesystem::path& target, std::filesystem::path& tmp);

// Whether a process with this id runs (unsure counts as running).
bool ProcessRunning(long pid);

// Removes the temporary files of `target` that writers which never finished left behind: those
// named as CreateTemporaryFor names them whose process no longer runs. A save in progress in
// another running copy is never touched. Returns the number removed.
int RemoveStaleTemporaries(const std::filesystem::path& target);

}  // namespace zevo
