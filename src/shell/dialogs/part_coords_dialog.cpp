#include "shell/dialogs/part_coords_dialog.h"

#include "shell/dialogs/layer_file_table.h"

namespace zevo {

PartCoordsDialogModel::PartCoordsDialogModel(const Board&, PartCoordsSettings& settings)
    : settings_(settings), work_(settings), file_(PathToUtf8(settings.file)) {}

std::filesystem::path PartCoordsDialogModel::browseStart() const {
    return PathFromUtf8(file_);
}

void PartCoordsDialogModel::chooseFile(const std::filesystem::path& file) {
    if (!file.empty()) file_ = PathToUtf8(file);
}

void PartCoordsDialogModel::setMirrorX(bool on) {
    if (work_.fromOrigin || !on) work_.mirrorX = on;
}

bool PartCoordsDialogModel::pressOutput() {
    if (file_.find_first_not_of(' ') == std::string::npos) return false;
    work_.file = PathFromUtf8(file_);
    settings_ = work_;
    return true;
}

}  // namespace zevo
