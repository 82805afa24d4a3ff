// The editor's side of the estimate program: what its command line says about the board, and
// the lines of the channel that stands in between the two programs (a request for the ZevoNC
// files, and the reply).
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

#include "board/model/board.h"

namespace zevo {

// What the command line tells the estimate program about the board.
struct EstimateBoardFacts {
    unsigned sizeX = 0, sizeY = 0;  // the outline's extent, rounded up to whole millimetres
    int innerLayers = 0;            // pattern layers 10..255 that hold an element
    uint32_t layerMask = 0;         // bit k-1: layer k (1..8) holds an element
};

EstimateBoardFacts EstimateFacts(const Board& b);
// Whether anything lies on layers 1..8 or 42 (otherwise there is nothing to make).
bool HasEstimateOutput(const Board& b);
// "ZEVO %08X X%u Y%u LY%d F%08X %s" (`boardPath` in UTF-8).
std::string EstimateArgumentString(uint32_t channel, const EstimateBoardFacts& facts,
                                   std::string_view boardPath);

// The channel's lines (without their line end).
inline constexpr std::string_view kEstimateRequestLine = "request";
// "reply 0" when the files were written, "reply 1" when the folder could not be prepared.
std::string EstimateReplyLine(bool success);
// The success of a reply line; nothing for any other line.
std::optional<bool> ParseEstimateReply(std::string_view line);

}  // namespace zevo
