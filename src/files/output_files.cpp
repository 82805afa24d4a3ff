#include "files/output_files.h"

#include <system_error>

#include "paths/file_io.h"
#include "text/cp932.h"
#include "text/strings.h"

namespace zevo {

namespace fs = std::filesystem;

fs::path OutputFolder(const fs::path& boardFile, const fs::path& programFolder) {
    if (boardFile.empty()) return programFolder;
    fs::path folder = boardFile.parent_path();
    return folder.empty() ? fs::path(".") : folder;
}

fs::path PathFromCp932(std::string_view name) {
    return PathFromUtf8(Cp932ToUtf8(name));
}

fs::path OutputFilePath(const fs::path& folder, std::string_view name,
                        std::string_view defaultExtension) {
    if (name.find_first_of("\\/") != std::string_view::npos) {
        std::string native = Cp932ToUtf8(name);
#if !defined(_WIN32)
        for (char& c : native)
            if (c == '\\') c = '/';
#endif
        return PathFromUtf8(native);
    }
    std::string file(name);
    if (file.find('.') == std::string::npos) {
        file.push_back('.');
        file.append(defaultExtension);
    }
    return folder / PathFromCp932(file);
}

namespace {

bool SameTextIgnoringCase(std::string_view a, std::string_view b) {
    if (a.size() != b.size()) return false;
    for (std::size_t i = 0; i < a.size(); ++i) {
        char x = a[i], y = b[i];
        if (x >= 'A' && x <= 'Z') x = static_cast<char>(x - 'A' + 'a');
        if (y >= 'A' && y <= 'Z') y = static_cast<char>(y - 'A' + 'a');
        if (x != y) return false;
    }
    return true;
}

}  // namespace

void DeleteFilesWithExtensions(const fs::path& folder,
                               std::initializer_list<std::string_view> extensions,
                               std::vector<fs::path>& deleted) {
    std::error_code ec;
    fs::directory_iterator it(folder, ec), end;
    std::vector<fs::path> victims;
    for (; !ec && it != end; it.increment(ec)) {
        std::error_code sec;
        // A link is removed as a link; folders are never touched.
        const fs::file_status st = it->symlink_status(sec);
        if (sec || fs::is_directory(st)) continue;
        const std::string ext = it->path().extension().string();
        if (ext.size() < 2) continue;
        for (std::string_view want : extensions) {
            if (SameTextIgnoringCase(std::string_view(ext).substr(1), want)) {
                victims.push_back(it->path());
                break;
            }
        }
    }
    for (const fs::path& p : victims) {
        std::error_code rec;
        if (fs::remove(p, rec)) deleted.push_back(p);
    }
}

std::string LayerSuffix(int layer, std::string_view textCp932) {
    std::string s = " ";
    s += TableText(kStrLayer);
    s += ' ';
    s += std::to_string(layer);
    s += " : ";
    s += Cp932ToUtf8(textCp932);
    return s;
}

std::optional<std::string> ReadOrCreateSettingsFile(const std::filesystem::path& file) {
    std::optional<std::string> bytes = ReadWholeFile(file);
    if (bytes) return bytes;
    std::error_code ec;
    if (std::filesystem::exists(file, ec) || !WriteFileAtomically(file, "")) return std::nullopt;
    return std::string();
}

}  // namespace zevo
