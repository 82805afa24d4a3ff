// One scratch file for a whole fuzzing run, in a folder of its own that is removed at exit.
#pragma once

#include <cstdlib>
#include <filesystem>
#include <string>
#include <system_error>

#include "paths/file_io.h"

namespace zevo::fuzz {

inline std::filesystem::path& ScratchFolder() {
    static std::filesystem::path dir;
    return dir;
}

inline const std::filesystem::path& ScratchFile(const char* prefix, const char* name) {
    static const std::filesystem::path file = [&] {
        ScratchFolder() =
            std::filesystem::temp_directory_path() / (std::string(prefix) + UniqueFileSuffix());
        std::filesystem::create_directories(ScratchFolder());
        std::atexit([] {
            std::error_code ec;
            std::filesystem::remove_all(ScratchFolder(), ec);
        });
        return ScratchFolder() / name;
    }();
    return file;
}

}  // namespace zevo::fuzz
