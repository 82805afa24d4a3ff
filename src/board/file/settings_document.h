// The settings file as the template of every document, "標準に設定" (writing the whole settings
// file from the current document and options), and the recovery file.
#pragma once

#include <filesystem>

#include "board/file/settings.h"
#include "board/model/board.h"

namespace zevo {

// Before every new and opened document: default tables, 300 x 210, grid 10, the board cleared,
// then the board sections of the settings file read over them (its drawing and version ignored),
// and the program's version. A missing settings file leaves the built-in tables.
void ResetDocument(Board& board, const std::filesystem::path& settingsFile);

// Writes the whole settings file: Version, Window, Setting, FileName, then the board sections of
// the current document, SwapLayer when a pair exists, LibraryFiles. Safe replace; false (with
// the message id in `messageId`) when it cannot be written.
bool SaveSettings(const std::filesystem::path& settingsFile, const Board& board,
                  const Options& options, int* messageId = nullptr);
// The text SaveSettings writes.
std::string SettingsText(const Board& board, const Options& options);

// The "LibraryFiles" section of the board's library file list, header included ("Parts.lib"
// alone when the list is empty).
std::string LibraryFilesSection(const Board& board);
// Replaces the "LibraryFiles" section of the settings file with the board's list and leaves the
// rest of the file as it is (safe replace). False, with the message id, when it cannot be
// written; the old file then stays.
bool WriteLibraryFiles(const std::filesystem::path& settingsFile, const Board& board,
                       int* messageId = nullptr);

bool SaveRecovery(const Board& board, const std::filesystem::path& recoveryFile);
bool RecoveryExists(const std::filesystem::path& recoveryFile);
bool DeleteRecovery(const std::filesystem::path& recoveryFile);

}  // namespace zevo
