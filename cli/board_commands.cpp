// zevo-cli info and convert.
#include <array>
#include <cstdio>

#include "board/file/board_writer.h"
#include "cli/cli_common.h"
#include "cli/commands.h"

namespace zevo::cli {

namespace {

const char* RoleNames(uint32_t flags, std::string& out) {
    static const std::pair<uint32_t, const char*> kRoles[] = {
        {kRolePattern, "pattern"},   {kRoleHole, "hole"},     {kRoleNonThrough, "non-through"},
        {kRoleCut, "cut"},           {kRoleOrigin, "origin"}, {kRoleJumper, "jumper"},
        {kRoleNegative, "negative"}, {kRoleMount, "mount"}};
    out.clear();
    for (auto [bit, name] : kRoles)
        if (flags & bit) out += out.empty() ? name : std::string(",") + name;
    if (out.empty()) out = "-";
    return out.c_str();
}

struct Counts {
    size_t lands = 0, squareLands = 0, lines = 0, arcs = 0, rects = 0;
    size_t groups = 0, parts = 0, texts = 0, pads = 0, filled = 0;
    std::array<size_t, kLayers> perLayer{};  // drawn elements per layer
};

void CountList(const ListNode& list, const ReservedWords& words, Counts& c) {
    for (container* e : Items(list)) {
        if (e->kind == kGroup) {
            const group* g = AsGroup(e);
            ++c.groups;
            if (g->type == words.text)
                ++c.texts;
            else if (g->type == words.pad)
                ++c.pads;
            else if (g->type == words.painted)
                ++c.filled;
            else if (g->ext && g->ext->kind == 2)
                ++c.parts;
            CountList(g->members, words, c);
            continue;
        }
        const drawn* d = AsDrawn(e);
        if (d->layer >= 0 && d->layer < kLayers) ++c.perLayer[d->layer];
        switch (e->kind) {
            case kLand:
                ++(d->square() ? c.squareLands : c.lands);
                break;
            case kLine:
                ++c.lines;
                break;
            case kArc:
                ++c.arcs;
                break;
            case kRect:
                ++c.rects;
                break;
        }
    }
}

}  // namespace

int CmdInfo(const std::filesystem::path& file) {
    Board board;
    ReadResult result;
    uint32_t fileVersion = 0;
    if (!ReadBoardFile(file, board, result, &fileVersion)) {
        std::fprintf(stderr, "zevo-cli: cannot read %s\n", file.string().c_str());
        return kExitFileError;
    }
    Counts c;
    CountList(board.items, Reserved(), c);
    std::printf("file: %s\n", file.string().c_str());
    std::printf("version: %s\n", VersionText(fileVersion).c_str());
    std::printf("board: %g x %g mm, grid %g mm (every %d drawn), origin (%g, %g)\n", board.sizeX,
                board.sizeY, board.gridSpacing, board.gridInterval, board.gridOrigin.x,
                board.gridOrigin.y);
    std::printf("layers:\n");
    std::string roles;
    for (int i = 0; i < kLayers; ++i) {
        if (!board.layerName[i] && c.perLayer[i] == 0) continue;
        const uint32_t f = board.layerFlags[i];
        std::printf("  %3d  %s colour %2d  %s%s%s  roles %-22s  elements %zu\n", i,
                    ShowPadded(View(board.layerName[i]), 20).c_str(), board.layerColour[i],
                    f & kDisp ? "DISP " : "     ", f & kActiv ? "ACTIV " : "      ",
                    f & kPrint ? "PRINT" : "     ", RoleNames(f, roles), c.perLayer[i]);
    }
    std::printf("pad definitions: %zu\n", board.padDefs.size());
    std::printf("elements: %zu lands, %zu square lands, %zu lines, %zu arcs, %zu rectangles\n",
                c.lands, c.squareLands, c.lines, c.arcs, c.rects);
    std::printf("groups: %zu (%zu parts, %zu texts, %zu pads, %zu filled areas)\n", c.groups,
                c.parts, c.texts, c.pads, c.filled);
    std::printf("skipped lines: %zu\n", result.issues.size());
    std::printf("removed off the board: %zu\n", result.offBoard.size());
    PrintReadIssues(result);
    return kExitOk;
}

int CmdConvert(const std::filesystem::path& in, const std::filesystem::path& out, bool oldFormat) {
    Board board;
    ReadResult result;
    if (!ReadBoardFile(in, board, result)) {
        std::fprintf(stderr, "zevo-cli: cannot read %s\n", in.string().c_str());
        return kExitFileError;
    }
    if (!result.issues.empty() || !result.offBoard.empty()) {
        std::printf("%s: %zu line(s) skipped, %zu element(s) off the board removed\n",
                    in.string().c_str(), result.issues.size(), result.offBoard.size());
        PrintReadIssues(result);
    }
    std::string error;
    if (!WriteBoardFile(out, board, oldFormat, &error)) {
        std::fprintf(stderr, "zevo-cli: cannot write %s: %s\n", out.string().c_str(),
                     error.c_str());
        return kExitFileError;
    }
    std::printf("written: %s%s\n", out.string().c_str(), oldFormat ? " (old format)" : "");
    return kExitOk;
}

}  // namespace zevo::cli
