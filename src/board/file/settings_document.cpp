#include "board/file/settings_document.h"

#include <system_error>

#include "board/file/board_reader.h"
#include "board/file/board_writer.h"
#include "board/file/document.h"
#include "board/file/library.h"
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
    // What was put through `out` is still in its buffer until text() passes it on.
    out.text() += LibraryFilesSection(board);
    return std::move(out.text());
}

std::string LibraryFilesSection(const Board& board) {
    TextOut out;
    WriteSectionHeader(out, "LibraryFiles");
    for (const std::string& f : LibrariesInUse(board)) {
        out.put("FileName:");
        out.put(f);
        out.newline();
    }
    return std::move(out.text());
}

bool WriteLibraryFiles(const std::filesystem::path& settingsFile, const Board& board,
                       int* messageId) {
    std::string text;
    std::error_code ec;
    if (std::filesystem::exists(settingsFile, ec)) {
        std::optional<std::string> old = ReadWholeFile(settingsFile);
        if (!old) {
            if (messageId) *messageId = kMsgCannotWriteSettings;
            return false;
        }
        text = RewriteSettings(*old, "LibraryFiles", std::nullopt, std::nullopt);
    }
    // The section comes last, after one empty line (its own first line).
    std::string section = LibraryFilesSection(board);
    if (text.empty())
        section.erase(0, section.find('['));
    else if (text.back() != '\n')
        text += "\r\n";
    text += section;
    if (WriteFileAtomically(settingsFile, text)) return true;
    if (messageId) *messageId = kMsgCannotWriteSettings;
    return false;
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
