#include "view/board_image.h"

#include <charconv>

#include "board/model/board.h"
#include "view/board_renderer.h"

namespace zevo {

size_t RenderFittedBoard(const Board& board, int w, int h, bool mirror, ViewState& view,
                         Framebuffer& fb) {
    view = ViewState();
    view.TakeBoardGrid(board);
    view.SetClientSize(w, h);
    view.SetMirror(mirror);
    view.CentreOnBoard();
    if (!view.FitDrawing(board)) view.FitBoard();
    fb.Resize(view.clientWidth, view.clientHeight);
    return RenderBoard(board, view, fb);
}

bool ParseImageSize(std::string_view text, int& w, int& h) {
    const size_t x = text.find_first_of("xX");
    if (x == std::string_view::npos) return false;
    auto number = [](std::string_view s, int& out) {
        const auto r = std::from_chars(s.data(), s.data() + s.size(), out);
        return r.ec == std::errc() && r.ptr == s.data() + s.size() && out >= kMinImageSide &&
               out <= kMaxImageSide;
    };
    return number(text.substr(0, x), w) && number(text.substr(x + 1), h);
}

}  // namespace zevo
