// The command line the editor starts the estimate program with:
// "ZEVO <channel> X<width> Y<height> LY<inner layers> F<layer mask> <board path>".
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace zevo {

struct EstimateArguments {
    uint32_t channel = 0;     // the editor's end of the channel, never 0
    unsigned sizeX = 0;       // board width in whole millimetres
    unsigned sizeY = 0;       // board height
    int innerLayers = 0;      // pattern layers 10..255 that hold an element
    uint32_t layerMask = 0;   // bit k-1: layer k (1..8) holds an element
    std::string boardPath;    // as given: a drive path ("C:\work\amp.pcb") or a rooted one
    std::string boardName;    // the file name, after the last separator
    std::string archivePath;  // the board path with its last extension replaced by "_zevo.zip"
};

enum class ArgumentsError {
    kNone,
    kNotZevo,    // the string does not open with "ZEVO " ("起動できません")
    kMalformed,  // any other fault ("Command error")
};

struct ParsedArguments {
    ArgumentsError error = ArgumentsError::kNone;
    EstimateArguments args;
};

// Parses the argument string (the program path already removed). Blanks before each field are
// skipped; the path is the rest of the string.
ParsedArguments ParseEstimateArguments(std::string_view text);

// Whether `path` is a full path of a board file: a drive path (a letter first, with ":" and a
// backslash) or a path from the root ("/"), whose file name holds a ".".
bool IsFullBoardPath(std::string_view path);

// The file name of a full path: what follows the last separator ("/" alone in a path from the
// root, "\" or "/" in any other).
std::string_view FileNameOf(std::string_view path);
// The folder of a full path, without the last separator.
std::string_view FolderOf(std::string_view path);

}  // namespace zevo
