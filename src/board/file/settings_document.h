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

bool SaveRecovery(const Board& board, const std::filesystem::path& recoveryFile);
bool RecoveryExists(const std::filesystem::path& recoveryFile);
bool DeleteRecovery(const std::filesystem::path& recoveryFile);

}  // namespace zevo
