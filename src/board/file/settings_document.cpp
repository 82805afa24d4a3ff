#include "board/file/settings_document.h"

#include <system_error>

#include "board/file/board_reader.h"
#include "board/file/board_writer.h"
#include "board/file/document.h"
#include "paths/file_io.h"
#include "text/strings.h"

namespace zevo {

void ResetDocument(Board& board, const std::filesystem::path& settingsFile) {
    ResetToBuiltInDefaults(board);
    if (auto text = ReadWholeFile(settingsFile)) {
        ReadOptions options;
        options.keepItems = false;
        options.applyVersion = false;
        ReadSections(*text, board, options);
    }
    board.version = kProgramVersion;
}

std::string SettingsText(const Board& board, const Options& options) {
    TextOut out;
    WriteVersionSection(out, VersionText(board.version), true);
    std::string& text = out.text();
    AppendWindowSection(text, options);
    AppendSettingSection(text, options);
    AppendFileNameSection(text, options);
    WriteBoardSizeSection(out, board);
    WriteLayerDefSection(out, board);
    WritePadDefSection(out, board);
    WriteApertureSections(out, board);
    bool paired = false;
    for (int i = 0; i < kLayers && !paired; ++i) paired = board.swapLayer[i] != i;
    if (paired) {
        WriteSectionHeader(out, "SwapLayer");
        for (int a = 0; a < kLayers; ++a) {
            const int b = board.swapLayer[a];
            if (b <= a) continue;  // once per pair, the lower number first
            out.put("Layer");
            out.integer(a);
            out.put(':');
            out.integer(b);
            out.newline();
        }
    }
    WriteSectionHeader(out, "LibraryFiles");
    for (const std::string& f : board.libraryFiles) {
        out.put("FileName:");
        out.put(f);
        out.newline();
    }
    return std::move(out.text());
}

bool SaveSettings(const std::filesystem::path& settingsFile, const Board& board,
                  const Options& options, int* messageId) {
    if (WriteFileAtomically(settingsFile, SettingsText(board, options))) return true;
    if (messageId) *messageId = kMsgCannotWriteSettings;
    return false;
}

bool SaveRecovery(const Board& board, const std::filesystem::path& recoveryFile) {
    return WriteDocumentFile(recoveryFile, board);
}

bool RecoveryExists(const std::filesystem::path& recoveryFile) {
    std::error_code ec;
    return std::filesystem::is_regular_file(recoveryFile, ec);
}

bool DeleteRecovery(const std::filesystem::path& recoveryFile) {
    std::error_code ec;
    return std::filesystem::remove(recoveryFile, ec);
}

}  // namespace zevo
