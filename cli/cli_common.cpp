#include "cli/cli_common.h"

#include <cstdio>

#include "board/file/document.h"
#include "board/file/settings_document.h"
#include "text/cp932.h"

namespace zevo::cli {

const Paths& ProgramPaths() {
    static const Paths paths = Paths::ForRunningProgram();
    return paths;
}

bool ReadBoardFile(const std::filesystem::path& file, Board& board, ReadResult& result,
                   uint32_t* fileVersion) {
    // Read only: the user's settings file when there is one, else the shipped default.
    const Paths& paths = ProgramPaths();
    ResetDocument(board, paths.Find(paths.settingsFile().filename().string()));
    result = ReadDocument(file, board);
    if (fileVersion) *fileVersion = result.fileVersion;
    if (result.opened && result.noKnownSection()) {
        // A picture or an empty file is no board, however many commands would take it as one.
        std::fprintf(stderr, "zevo-cli: %s is not a board file (no known section)\n",
                     file.string().c_str());
        return false;
    }
    return result.opened;
}

bool WriteBoardFile(const std::filesystem::path& file, const Board& board, bool oldFormat,
                    std::string* error) {
    return oldFormat ? WriteOldFormatFile(file, board, error)
                     : WriteDocumentFile(file, board, error);
}

void PrintReadIssues(const ReadResult& result, size_t limit) {
    size_t shown = 0;
    for (const ReadIssue& issue : result.issues) {
        if (shown++ == limit) {
            std::printf("  ... %zu more\n", result.issues.size() - limit);
            break;
        }
        if (issue.line > 0)
            std::printf("  line %d: %s\n", issue.line, Describe(issue.kind));
        else
            std::printf("  %s\n", Describe(issue.kind));
    }
    shown = 0;
    for (const OffBoardElement& e : result.offBoard) {
        if (shown++ == limit) {
            std::printf("  ... %zu more removed\n", result.offBoard.size() - limit);
            break;
        }
        std::printf("  removed off the board: %s\n", Describe(e).c_str());
    }
}

std::string Show(std::string_view cp932) {
    return Cp932ToUtf8(cp932);
}

std::string ShowPadded(std::string_view cp932, size_t width) {
    // Shift-JIS bytes are display columns: one for ASCII and half-width kana, two for the rest.
    std::string s = Cp932ToUtf8(cp932);
    if (cp932.size() < width) s.append(width - cp932.size(), ' ');
    return s;
}

}  // namespace zevo::cli
