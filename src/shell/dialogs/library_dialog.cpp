#include "shell/dialogs/library_dialog.h"

#include <algorithm>

#include "board/model/board.h"

namespace zevo {

bool SameLibraryEntry(std::string_view a, std::string_view b) {
    if (a.size() != b.size()) return false;
    for (size_t i = 0; i < a.size(); ++i) {
        unsigned char x = static_cast<unsigned char>(a[i]), y = static_cast<unsigned char>(b[i]);
        if (x >= 'A' && x <= 'Z') x += 32;
        if (y >= 'A' && y <= 'Z') y += 32;
        if (x != y) return false;
    }
    return true;
}

LibrarySettingsModel::LibrarySettingsModel(std::vector<std::string> inUse,
                                           std::vector<std::string> found)
    : used_(std::move(inUse)), found_(std::move(found)) {
    if (used_.size() > size_t(kMaxLibraryFiles)) used_.resize(size_t(kMaxLibraryFiles));
    original_ = used_;
}

std::vector<std::string> LibrarySettingsModel::unused() const {
    std::vector<std::string> out;
    for (const std::string& f : found_) {
        const auto same = [&f](const std::string& u) { return SameLibraryEntry(u, f); };
        if (std::none_of(used_.begin(), used_.end(), same) &&
            std::none_of(out.begin(), out.end(), same))
            out.push_back(f);
    }
    return out;
}

bool LibrarySettingsModel::take(int index) {
    const std::vector<std::string> all = unused();
    if (index < 0 || size_t(index) >= all.size() || used_.size() >= size_t(kMaxLibraryFiles))
        return false;
    used_.push_back(all[size_t(index)]);
    return true;
}

bool LibrarySettingsModel::leave(int index) {
    if (index < 0 || size_t(index) >= used_.size()) return false;
    used_.erase(used_.begin() + index);
    return true;
}

}  // namespace zevo
