// A fresh folder under the system's temporary folder, removed with everything in it at the end
// of the test.
#pragma once

#include <filesystem>
#include <string>
#include <string_view>
#include <system_error>

#include "paths/file_io.h"

namespace zevo::testing {

class ScratchDir {
  public:
    ScratchDir() {
        // A folder of that name may be left by a test process that died, whose id came back:
        // it is never reused, so every test starts empty.
        const std::filesystem::path base = std::filesystem::temp_directory_path();
        for (;;) {
            path_ = base / ("zevo-test-" + UniqueFileSuffix());
            if (std::filesystem::create_directory(path_)) break;
        }
    }
    ~ScratchDir() {
        std::error_code ec;
        std::filesystem::remove_all(path_, ec);
    }
    ScratchDir(const ScratchDir&) = delete;
    ScratchDir& operator=(const ScratchDir&) = delete;

    const std::filesystem::path& path() const { return path_; }
    std::filesystem::path operator/(std::string_view name) const { return path_ / name; }

    // Writes `bytes` to `name` (folders made as needed) and returns its path.
    std::filesystem::path Put(std::string_view name, std::string_view bytes) const {
        const std::filesystem::path p = path_ / name;
        std::filesystem::create_directories(p.parent_path());
        FilePtr f = OpenFile(p, "wb");
        std::fwrite(bytes.data(), 1, bytes.size(), f.get());
        return p;
    }
    std::string Get(std::string_view name) const {
        return ReadWholeFile(path_ / name).value_or("<missing>");
    }

  private:
    std::filesystem::path path_;
};

}  // namespace zevo::testing
