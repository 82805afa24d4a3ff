// zevo-cli print: the PDF page, turned back into a picture by poppler, against the bitmap the
// core renders for the same print (written as BMP by the same command).
#include <gtest/gtest.h>
#include <sys/wait.h>

#include <array>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <string>
#include <vector>

#include "paths/file_io.h"
#include "paths/scratch_dir.h"

namespace {

using zevo::testing::ScratchDir;

struct Outcome {
    int status = -1;
    std::string out;
};

Outcome Shell(const std::string& cmd) {
    Outcome r;
    FILE* p = popen((cmd + " 2>&1").c_str(), "r");
    if (!p) return r;
    std::array<char, 4096> buf;
    size_t n;
    while ((n = fread(buf.data(), 1, buf.size(), p)) > 0) r.out.append(buf.data(), n);
    const int st = pclose(p);
    r.status = WIFEXITED(st) ? WEXITSTATUS(st) : -1;
    return r;
}

Outcome Cli(const std::string& args) {
    return Shell(std::string(ZEVO_CLI_PATH) + " " + args);
}

const std::string kExample = std::string(ZEVO_EXAMPLES) + "/example.pcb";

// Black (true) or white per pixel, top row first.
struct Picture {
    int width = 0, height = 0;
    std::vector<bool> black;
    bool at(int x, int y) const { return black[size_t(y) * size_t(width) + size_t(x)]; }
};

uint32_t Le32(const std::string& s, size_t at) {
    return uint32_t(uint8_t(s[at])) | uint32_t(uint8_t(s[at + 1])) << 8 |
           uint32_t(uint8_t(s[at + 2])) << 16 | uint32_t(uint8_t(s[at + 3])) << 24;
}

// A 1-bit BMP with the table black, white.
bool ReadMonoBmp(const std::filesystem::path& f, Picture& p) {
    const auto bytes = zevo::ReadWholeFile(f);
    if (!bytes || bytes->size() < 62 || bytes->substr(0, 2) != "BM") return false;
    const std::string& s = *bytes;
    p.width = int(Le32(s, 18));
    p.height = int(Le32(s, 22));
    if (uint8_t(s[28]) != 1) return false;
    const size_t offset = Le32(s, 10), stride = ((size_t(p.width) + 31) / 32) * 4;
    if (s.size() < offset + stride * size_t(p.height)) return false;
    p.black.assign(size_t(p.width) * size_t(p.height), false);
    for (int y = 0; y < p.height; ++y) {
        const size_t row = offset + size_t(p.height - 1 - y) * stride;
        for (int x = 0; x < p.width; ++x)
            p.black[size_t(y) * size_t(p.width) + size_t(x)] =
                !((uint8_t(s[row + size_t(x >> 3)]) >> (7 - (x & 7))) & 1);
    }
    return true;
}

// A binary PGM (P5, 8 bits); grey below 128 is black.
bool ReadPgm(const std::filesystem::path& f, Picture& p) {
    const auto bytes = zevo::ReadWholeFile(f);
    if (!bytes) return false;
    int maxval = 0, consumed = 0;
    if (std::sscanf(bytes->c_str(), "P5 %d %d %d%n", &p.width, &p.height, &maxval, &consumed) != 3)
        return false;
    const size_t offset = size_t(consumed) + 1;
    if (bytes->size() < offset + size_t(p.width) * size_t(p.height)) return false;
    p.black.resize(size_t(p.width) * size_t(p.height));
    for (size_t i = 0; i < p.black.size(); ++i) p.black[i] = uint8_t((*bytes)[offset + i]) < 128;
    return true;
}

TEST(CliPrint, PdfPageMatchesTheCoreArtworkRender) {
    ScratchDir dir;
    const auto pdf = dir / "example.pdf", bmp = dir / "example.bmp";
    Outcome r = Cli("print " + kExample + " -o " + pdf.string() + " --artwork");
    ASSERT_EQ(r.status, 0) << r.out;
    r = Cli("print " + kExample + " -o " + bmp.string() + " --artwork");
    ASSERT_EQ(r.status, 0) << r.out;
    EXPECT_NE(r.out.find("4961x7016 pixels at 600 dpi"), std::string::npos) << r.out;
    Picture core;
    ASSERT_TRUE(ReadMonoBmp(bmp, core));
    ASSERT_EQ(core.width, 4961);
    ASSERT_EQ(core.height, 7016);

    if (Shell("command -v pdftoppm").status != 0)
        GTEST_SKIP() << "pdftoppm (poppler-utils) is not installed";
    r = Shell("pdftoppm -r 600 -gray '" + pdf.string() + "' '" + (dir / "page").string() + "'");
    ASSERT_EQ(r.status, 0) << r.out;
    Picture page;
    ASSERT_TRUE(ReadPgm(dir / "page-1.pgm", page));
    ASSERT_EQ(page.width, core.width);
    ASSERT_EQ(page.height, core.height);

    // At most 0.5 % of the pixels differ, and each one lies at an edge of the core's picture
    // (a pixel of the other colour next to it).
    size_t differ = 0, inner = 0, inkCore = 0;
    for (int y = 0; y < core.height; ++y)
        for (int x = 0; x < core.width; ++x) {
            inkCore += core.at(x, y);
            if (core.at(x, y) == page.at(x, y)) continue;
            ++differ;
            bool edge = false;
            for (int dy = -1; dy <= 1 && !edge; ++dy)
                for (int dx = -1; dx <= 1 && !edge; ++dx) {
                    const int u = x + dx, v = y + dy;
                    if (u >= 0 && v >= 0 && u < core.width && v < core.height &&
                        core.at(u, v) != core.at(x, y))
                        edge = true;
                }
            inner += !edge;
        }
    EXPECT_GT(inkCore, 100000u);  // the board is really there
    EXPECT_LE(double(differ), 0.005 * double(core.width) * double(core.height)) << differ;
    EXPECT_EQ(inner, 0u) << "pixels that differ away from an edge";
}

TEST(CliPrint, OptionsLayersAndRefusals) {
    ScratchDir dir;
    const auto bmp = dir / "p.bmp";
    // A check print in 0.15 mm pixels.
    Outcome r = Cli("print " + kExample + " -o " + bmp.string());
    ASSERT_EQ(r.status, 0) << r.out;
    EXPECT_NE(r.out.find("check print, 1400x1980"), std::string::npos) << r.out;
    // Twice the size, at 300 dpi.
    r = Cli("print " + kExample + " -o " + bmp.string() + " --artwork --scale 2 --dpi 300");
    ASSERT_EQ(r.status, 0) << r.out;
    EXPECT_NE(r.out.find("2480x3508 pixels at 300 dpi, scale 23.62"), std::string::npos) << r.out;
    // Only an empty layer: nothing to print, and no file.
    r = Cli("print " + kExample + " -o " + (dir / "none.bmp").string() + " --layers 200");
    EXPECT_EQ(r.status, 1) << r.out;
    EXPECT_FALSE(std::filesystem::exists(dir / "none.bmp"));
    r = Cli("print " + kExample + " -o " + (dir / "x.png").string());
    EXPECT_EQ(r.status, 1) << r.out;
    r = Cli("print " + kExample + " -o " + bmp.string() + " --layers 300");
    EXPECT_EQ(r.status, 1) << r.out;
    r = Cli("print " + kExample + " -o " + bmp.string() + " --scale 0");
    EXPECT_EQ(r.status, 1) << r.out;
    r = Cli("print " + (dir / "missing.pcb").string() + " -o " + bmp.string());
    EXPECT_EQ(r.status, 2) << r.out;
}

}  // namespace
