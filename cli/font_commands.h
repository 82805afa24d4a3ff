// zevo-cli commands of the stroke font: `font-info` and `text`.
#pragma once

#include <CLI/CLI.hpp>
#include <filesystem>
#include <functional>
#include <string>

namespace zevo {

class Board;

// How `text` reads and writes board files. The reader fills the board and returns false (with
// a reason) when the file cannot be used; the writer returns false when the file could not be
// written.
struct BoardFileAccess {
    std::function<bool(Board&, const std::filesystem::path&, std::string& error)> read;
    std::function<bool(Board&, const std::filesystem::path&)> write;
};

// Registers `font-info [FONT]`, and `text ... IN.pcb OUT.pcb` when `files` can read and write.
// The commands set `exitCode` when they run.
void AddFontCommands(CLI::App& app, const BoardFileAccess& files, int& exitCode);

}  // namespace zevo
