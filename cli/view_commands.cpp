#include "view_commands.h"

#include <cstdio>
#include <memory>
#include <string>

#include "board/model/board.h"
#include "view/board_image.h"
#include "view/png_file.h"

namespace zevo {

namespace {

struct RenderArgs {
    std::string board;
    std::string out;
    std::string size = "1920x1080";
    bool mirror = false;
};

int Render(const RenderArgs& a, const BoardFileAccess& files) {
    int w = 0, h = 0;
    if (!ParseImageSize(a.size, w, h)) {
        std::fprintf(stderr, "bad size %s (WxH, each %d..%d)\n", a.size.c_str(), kMinImageSide,
                     kMaxImageSide);
        return 1;
    }
    auto board = std::make_unique<Board>();
    std::string error;
    if (!files.read || !files.read(*board, a.board, error)) {
        std::fprintf(stderr, "cannot read %s%s%s\n", a.board.c_str(), error.empty() ? "" : ": ",
                     error.c_str());
        return 2;
    }
    ViewState view;
    Framebuffer fb;
    const size_t drawn = RenderFittedBoard(*board, w, h, a.mirror, view, fb);
    if (!WritePng(a.out, fb)) {
        std::fprintf(stderr, "cannot write %s\n", a.out.c_str());
        return 2;
    }
    std::printf("wrote: %s (%dx%d, scale %.4g px/mm, %zu elements drawn)\n", a.out.c_str(), w, h,
                view.scale, drawn);
    return 0;
}

}  // namespace

void AddViewCommands(CLI::App& app, const BoardFileAccess& files, int& status) {
    auto args = std::make_shared<RenderArgs>();
    auto* render = app.add_subcommand("render", "Draw the fitted view of a board into a PNG file");
    render->add_option("BOARD", args->board, "board file (.pcb)")->required();
    render->add_option("-o,--output", args->out, "PNG file to write")->required();
    render->add_option("--size", args->size, "client size in pixels, WxH (default 1920x1080)");
    render->add_flag("--mirror", args->mirror, "mirror display");
    render->callback([args, files, &status] { status = Render(*args, files); });
}

}  // namespace zevo
