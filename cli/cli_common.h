// Shared by the zevo-cli commands: boards are read and written exactly as the editor does.
#pragma once

#include <filesystem>
#include <string>

#include "board/file/board_reader.h"
#include "board/model/board.h"
#include "paths/paths.h"

namespace zevo::cli {

// Exit statuses of the commands.
inline constexpr int kExitOk = 0;
inline constexpr int kExitFound = 1;      // a check found something (drc)
inline constexpr int kExitFileError = 2;  // a file could not be read or written

// The program's files as the editor finds them (zevo-cli reads the editor's settings file).
const Paths& ProgramPaths();

// Reads a board as the editor opens it: the settings file as the template, then the file.
// `fileVersion` receives the version the file declared (before it becomes the program's own).
// False (with a message) when the file cannot be read or holds no section of a board file.
bool ReadBoardFile(const std::filesystem::path& file, Board& board, ReadResult& result,
                   uint32_t* fileVersion = nullptr);
// Writes the board (current or old format) safely over `file`.
bool WriteBoardFile(const std::filesystem::path& file, const Board& board, bool oldFormat,
                    std::string* error);
// "line 12: reason" lines for the skipped lines of a read, then the elements the opening removed
// off the board, at most `limit` of each.
void PrintReadIssues(const ReadResult& result, size_t limit = 50);
// A CP932 name as UTF-8 for the terminal.
std::string Show(std::string_view cp932);
// The same, padded with blanks to `width` display columns.
std::string ShowPadded(std::string_view cp932, size_t width);

}  // namespace zevo::cli
