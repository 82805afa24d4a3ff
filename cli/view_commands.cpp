#include "view_commands.h"

#include <cstdio>
#include <memory>
#include <string>
#include <vector>

#include "board/model/board.h"
#include "paths/file_io.h"
#include "view/board_image.h"
#include "view/pdf_file.h"
#include "view/png_file.h"
#include "view/print.h"

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
    if (!files.read || !files.read(*board, PathFromUtf8(a.board), error)) {
        std::fprintf(stderr, "cannot read %s%s%s\n", a.board.c_str(), error.empty() ? "" : ": ",
                     error.c_str());
        return 2;
    }
    ViewState view;
    Framebuffer fb;
    const size_t drawn = RenderFittedBoard(*board, w, h, a.mirror, view, fb);
    if (!WritePng(PathFromUtf8(a.out), fb)) {
        std::fprintf(stderr, "cannot write %s\n", a.out.c_str());
        return 2;
    }
    std::printf("wrote: %s (%dx%d, scale %.4g px/mm, %zu elements drawn)\n", a.out.c_str(), w, h,
                view.scale, drawn);
    return 0;
}

struct PrintArgs {
    std::string board;
    std::string out;
    bool artwork = false;
    std::vector<int> layers;
    double scale = 1.0;
    int dpi = 600;
    bool mirror = false;
    bool negative = false;
    double offsetX = 0, offsetY = 0;
};

std::string Lower(std::string s) {
    for (char& c : s)
        if (c >= 'A' && c <= 'Z') c = char(c - 'A' + 'a');
    return s;
}

// The print on a virtual A4 page: the bitmap the printer would get, as a PDF page or a BMP file.
int Print(const PrintArgs& a, const BoardFileAccess& files) {
    const std::string ext = Lower(PathFromUtf8(a.out).extension().string());
    if (ext != ".pdf" && ext != ".bmp") {
        std::fprintf(stderr, "the output must end in .pdf or .bmp: %s\n", a.out.c_str());
        return 1;
    }
    if (!(a.scale > 0) || a.scale > 1000) {
        std::fprintf(stderr, "bad scale %g\n", a.scale);
        return 1;
    }
    for (int l : a.layers)
        if (l < 0 || l >= kLayers) {
            std::fprintf(stderr, "bad layer %d (0..%d)\n", l, kLayers - 1);
            return 1;
        }
    auto board = std::make_unique<Board>();
    std::string error;
    if (!files.read || !files.read(*board, PathFromUtf8(a.board), error)) {
        std::fprintf(stderr, "cannot read %s%s%s\n", a.board.c_str(), error.empty() ? "" : ": ",
                     error.c_str());
        return 2;
    }
    if (!a.layers.empty()) {  // these layers are printed and no other
        for (int l = 0; l < kLayers; ++l) board->ClearLayerSwitch(l, kPrint);
        for (int l : a.layers) board->SetLayerSwitch(l, kPrint);
    }
    PrintOptions o;
    o.flags = (a.negative ? kPrintNegative : 0) | (a.mirror ? kPrintMirror : 0);
    o.offsetX = a.offsetX;
    o.offsetY = a.offsetY;
    o.magnification = a.scale;
    const PrinterMetrics page = VirtualA4(a.dpi);
    ViewState view;
    const std::optional<DibImage> image =
        RenderPrint(*board, a.artwork ? PrintKind::kArtwork : PrintKind::kCheck, page, o, &view);
    if (!image) {
        std::fprintf(stderr, "nothing to print: no element on a printed layer\n");
        return 1;
    }
    const bool written =
        ext == ".pdf" ? WritePdfPage(PathFromUtf8(a.out), *image, page.widthMm, page.heightMm)
                      : WriteBmp(PathFromUtf8(a.out), *image);
    if (!written) {
        std::fprintf(stderr, "cannot write %s\n", a.out.c_str());
        return 2;
    }
    std::printf("wrote: %s (%s print, %dx%d pixels at %d dpi, scale %.4g px/mm, origin %g %g)\n",
                a.out.c_str(), a.artwork ? "artwork" : "check", image->width, image->height, a.dpi,
                view.scale, view.viewLeft, view.viewBottom);
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

    auto pa = std::make_shared<PrintArgs>();
    auto* print = app.add_subcommand(
        "print",
        "Print a board on a virtual A4 page into a PDF or BMP file (check print, or the "
        "artwork print with --artwork)");
    print->add_option("BOARD", pa->board, "board file (.pcb)")->required();
    print->add_option("-o,--output", pa->out, "FILE.pdf or FILE.bmp")->required();
    print->add_flag("--artwork", pa->artwork, "the artwork print (filled, black and white)");
    print->add_option("--layers", pa->layers,
                      "layers to print (default: the layers with the print switch)");
    print->add_option("--scale", pa->scale, "magnification (default 1)");
    print->add_option("--dpi", pa->dpi, "page resolution (default 600)")
        ->check(CLI::Range(50, 2400));
    print->add_flag("--mirror", pa->mirror, "mirror print");
    print->add_flag("--negative", pa->negative, "negative print");
    print->add_option("--offset-x", pa->offsetX, "offset X in mm");
    print->add_option("--offset-y", pa->offsetY, "offset Y in mm");
    print->callback([pa, files, &status] { status = Print(*pa, files); });
}

}  // namespace zevo
