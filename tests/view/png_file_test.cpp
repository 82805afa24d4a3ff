#include "view/png_file.h"

#include <gtest/gtest.h>

#include <string>

#include "paths/file_io.h"
#include "paths/scratch_dir.h"

namespace zevo {
namespace {

using testing::ScratchDir;

// Every value in every channel, at odd widths, so that a swapped channel, a lost row or a row
// read with the wrong length shows.
Framebuffer Pattern(int w, int h) {
    Framebuffer fb;
    fb.Resize(w, h);
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x) fb.row(y)[x] = Rgb(x * 7 + y, 255 - x, (x * y) ^ 0x5A);
    return fb;
}

TEST(PngFile, WrittenPicturesReadBackPixelForPixel) {
    ScratchDir d;
    for (const auto& [w, h] : {std::pair{1, 1}, {257, 3}, {31, 64}}) {
        const Framebuffer fb = Pattern(w, h);
        const auto file = d / "picture.png";
        ASSERT_TRUE(WritePng(file, fb)) << w << "x" << h;
        Framebuffer back;
        ASSERT_TRUE(ReadPng(file, back)) << w << "x" << h;
        ASSERT_EQ(back.width(), w);
        ASSERT_EQ(back.height(), h);
        for (int y = 0; y < h; ++y)
            for (int x = 0; x < w; ++x) ASSERT_EQ(back.at(x, y), fb.at(x, y)) << x << "," << y;
    }
    EXPECT_FALSE(WritePng(d / "empty.png", Framebuffer{}));
    EXPECT_FALSE(std::filesystem::exists(d / "empty.png"));
}

TEST(PngFile, DamagedOrForeignFilesAreRefused) {
    ScratchDir d;
    ASSERT_TRUE(WritePng(d / "good.png", Pattern(40, 30)));
    const std::string good = d.Get("good.png");
    Framebuffer fb;
    EXPECT_FALSE(ReadPng(d / "missing.png", fb));
    EXPECT_FALSE(ReadPng(d.Put("text.png", "not a picture at all"), fb));
    EXPECT_FALSE(ReadPng(d.Put("cut.png", good.substr(0, good.size() / 2)), fb));
    std::string flipped = good;
    flipped[good.size() / 2] ^= 0x10;  // inside the picture data: its check sum no longer fits
    EXPECT_FALSE(ReadPng(d.Put("flipped.png", flipped), fb));
}

}  // namespace
}  // namespace zevo
