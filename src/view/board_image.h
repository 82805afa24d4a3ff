// The board as a picture: the fitted view drawn by the screen's renderer into a buffer of a
// given size, for the batch render command.
#pragma once

#include <filesystem>

#include "view/framebuffer.h"
#include "view/view_state.h"

namespace zevo {

class Board;

// Client sizes the picture may have.
inline constexpr int kMinImageSide = 8;
inline constexpr int kMaxImageSide = 16384;

// Sets up the view as the editor would for a window of w x h pixels showing the board (grid of
// the document, centred, then fitted to the drawing, or to the board when nothing is drawn) and
// renders into `fb`. Returns the number of elements drawn.
size_t RenderFittedBoard(const Board& board, int w, int h, bool mirror, ViewState& view,
                         Framebuffer& fb);

// Parses "WxH" (both within kMinImageSide..kMaxImageSide).
bool ParseImageSize(std::string_view text, int& w, int& h);

}  // namespace zevo
