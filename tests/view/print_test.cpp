#include "view/print.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <string>

#include "../paths/scratch_dir.h"
#include "image_compare.h"
#include "view/board_renderer.h"

namespace zevo {
namespace {

using testing::ScratchDir;

// Every layer printed and coloured like its number.
struct PrintBoard {
    Board board;
    PrintBoard() {
        board.SetBoardSize(200, 200);
        for (int i = 0; i < 16; ++i) {
            board.layerColour[size_t(i)] = uint8_t(i);
            board.SetLayerSwitch(i, kPrint);
        }
    }
    template <class T>
    T* add(T* e) {
        board.AppendElement(nullptr, e);
        return e;
    }
};

// A 1 mm = 10 px view of a bitmap of w x h pixels with its lower left corner at the origin.
ViewState TenPixelView(int w, int h) {
    ViewState v;
    v.SetBoardSize(200, 200);
    v.SetClientSize(w, h);
    v.SetScale(10);
    v.SetOrigin(0, 0);
    return v;
}

// The leftmost and rightmost black columns and the top and bottom black rows.
struct InkBox {
    int left = -1, right = -1, top = -1, bottom = -1;
};
InkBox InkOf(const DibImage& d) {
    InkBox b;
    for (int y = 0; y < d.height; ++y)
        for (int x = 0; x < d.width; ++x)
            if (d.at(x, y) == Rgb(0, 0, 0)) {
                if (b.left < 0 || x < b.left) b.left = x;
                if (x > b.right) b.right = x;
                if (b.top < 0) b.top = y;
                b.bottom = y;
            }
    return b;
}

Framebuffer AsFramebuffer(const DibImage& d) {
    Framebuffer fb(d.width, d.height);
    for (int y = 0; y < d.height; ++y)
        for (int x = 0; x < d.width; ++x) fb.row(y)[x] = d.at(x, y);
    return fb;
}

TEST(Print, ClassesComeFromThePrintSwitchAndTheRoles) {
    PrintBoard p;
    Board& b = p.board;
    b.ClearLayerSwitch(1, kPrint);
    b.layerFlags[2] |= kRoleCut | kRoleNegative;  // cut wins over negative
    b.layerFlags[3] |= kRoleNegative;
    EXPECT_EQ(PrintClass(b, 0), 1);
    EXPECT_EQ(PrintClass(b, 1), 0);
    EXPECT_EQ(PrintClass(b, 2), 2);
    EXPECT_EQ(PrintClass(b, 3), 3);
    EXPECT_EQ(PrintClass(b, -1), 0);
    EXPECT_EQ(PrintClass(b, 256), 0);
    EXPECT_TRUE(HasPrintableNegativeLayer(b));
    b.ClearLayerSwitch(3, kPrint);
    EXPECT_FALSE(HasPrintableNegativeLayer(b));

    // The extent covers the printed elements, also inside groups, and nothing else.
    EXPECT_FALSE(PrintExtent(b));
    b.SetRoundAperture(1, 0.5);
    p.add(b.CreateLand(1, 1, false, {100, 100}));  // not printed
    EXPECT_FALSE(PrintExtent(b));
    group* g = p.add(b.CreateGroup(nullptr));
    b.AppendElement(g, b.CreateLand(0, 1, false, {10, 20}));
    p.add(b.CreateLand(4, 1, false, {30, 5}));
    const std::optional<Box> e = PrintExtent(b);
    ASSERT_TRUE(e);
    EXPECT_DOUBLE_EQ(e->minX, 9.5);
    EXPECT_DOUBLE_EQ(e->maxX, 30.5);
    EXPECT_DOUBLE_EQ(e->minY, 4.5);
    EXPECT_DOUBLE_EQ(e->maxY, 20.5);
}

TEST(Print, BitmapSizesAndNothingWithoutMetricsOrElements) {
    PrinterMetrics m;
    m.resX = 4800, m.resY = 7000, m.widthMm = 203, m.heightMm = 296;
    m.lpx = 600, m.lpy = 300;
    // The axis with more pixels per inch is reduced: square pixels at 300 dpi.
    BitmapSize a = ArtworkBitmapSize(m);
    EXPECT_EQ(a.width, 2400);
    EXPECT_EQ(a.height, 7000);
    std::swap(m.lpx, m.lpy);
    a = ArtworkBitmapSize(m);
    EXPECT_EQ(a.width, 4800);
    EXPECT_EQ(a.height, 3500);
    EXPECT_TRUE(a.mono);
    // Check print: 0.15 mm pixels; colour from three colours on.
    m.lpx = m.lpy = 600;
    m.colours = 2;
    BitmapSize c = CheckBitmapSize(m);
    EXPECT_EQ(c.width, int(std::lround(4800 / (600 / 25.4 * 0.15))));
    EXPECT_EQ(c.height, int(std::lround(7000 / (600 / 25.4 * 0.15))));
    EXPECT_TRUE(c.mono);
    m.colours = 3;
    EXPECT_FALSE(CheckBitmapSize(m).mono);

    PrintBoard p;
    EXPECT_FALSE(RenderPrint(p.board, PrintKind::kArtwork, VirtualA4(100), {}));  // no elements
    p.board.SetRoundAperture(1, 1);
    p.add(p.board.CreateLand(1, 1, false, {50, 50}));
    PrinterMetrics broken = VirtualA4(100);
    broken.lpy = 0;
    EXPECT_FALSE(RenderPrint(p.board, PrintKind::kArtwork, broken, {}));
    broken = VirtualA4(100);
    broken.widthMm = 0;
    EXPECT_FALSE(RenderPrint(p.board, PrintKind::kCheck, broken, {}));
    EXPECT_TRUE(RenderPrint(p.board, PrintKind::kCheck, VirtualA4(100), {}));
}

TEST(Print, TrueToSizeTimesTheMagnificationAndCentredWithTheOffsets) {
    PrintBoard p;
    Board& b = p.board;
    b.SetRoundAperture(1, 5);  // a 10 mm land
    p.add(b.CreateLand(1, 1, false, {60, 80}));
    const PrinterMetrics a4 = VirtualA4(254);  // 10 px per mm
    ViewState v;
    std::optional<DibImage> d = RenderPrint(b, PrintKind::kArtwork, a4, {}, &v);
    ASSERT_TRUE(d);
    EXPECT_EQ(d->width, 2100);
    EXPECT_EQ(d->height, 2970);
    EXPECT_EQ(d->dpiX, 254);
    EXPECT_DOUBLE_EQ(v.scale, 10);
    InkBox one = InkOf(*d);
    EXPECT_NEAR(one.right - one.left + 1, 100, 1);
    EXPECT_NEAR(one.bottom - one.top + 1, 100, 1);
    // The land's centre lands in the middle of the page (the origin is a whole mm).
    EXPECT_NEAR((one.left + one.right) / 2.0, 1050, 5);
    EXPECT_NEAR((one.top + one.bottom) / 2.0, 1485, 5);

    // Magnification 2: the 10 mm land is 20 mm on paper.
    PrintOptions o;
    o.magnification = 2;
    d = RenderPrint(b, PrintKind::kArtwork, a4, o);
    const InkBox two = InkOf(*d);
    EXPECT_NEAR(two.right - two.left + 1, 200, 1);
    EXPECT_NEAR(two.bottom - two.top + 1, 200, 1);

    // Offset X = 5 moves the image 5 mm to the right, in mirror prints too; offset Y up.
    for (const uint32_t flags : {0u, uint32_t(kPrintMirror)}) {
        o = {};
        o.flags = flags;
        const InkBox base = InkOf(*RenderPrint(b, PrintKind::kArtwork, a4, o));
        o.offsetX = 5;
        const InkBox right = InkOf(*RenderPrint(b, PrintKind::kArtwork, a4, o));
        EXPECT_EQ(right.left - base.left, 50) << flags;
        o.offsetX = 0;
        o.offsetY = 3;
        const InkBox up = InkOf(*RenderPrint(b, PrintKind::kArtwork, a4, o));
        EXPECT_EQ(base.top - up.top, 30) << flags;
    }
}

TEST(Print, TheOriginIsRoundedToAWholeMillimetre) {
    const PrinterMetrics a4 = VirtualA4(254);
    ViewState v;
    Box extent{10.0, 5.0, 10.8, 6.0};  // centre x = 10.4
    PlaceOnBitmap(extent, a4, 2100, 2970, {}, v);
    EXPECT_DOUBLE_EQ(v.viewLeft, std::floor(10.4 - 2100 / 20.0 + 0.5));
    EXPECT_DOUBLE_EQ(v.viewLeft, -95);  // floor(-94.1)
    EXPECT_DOUBLE_EQ(v.viewBottom, std::floor(5.5 - 2970 / 20.0 + 0.5));
    PrintOptions o;
    o.flags = kPrintMirror;
    o.offsetX = 2.3;
    PlaceOnBitmap(extent, a4, 2100, 2970, o, v);
    EXPECT_TRUE(v.mirrored());
    EXPECT_DOUBLE_EQ(v.viewLeft, std::floor(10.4 - 105 + 2.3 + 0.5));
    // With the lower pixels per inch on the vertical axis the scale is taken there.
    PrinterMetrics m = a4;
    m.lpy = 127;
    PlaceOnBitmap(extent, m, 2100, 1485, {}, v);
    EXPECT_DOUBLE_EQ(v.scale, 127 / 25.4 * (1485.0 / m.resY));
}

TEST(Print, ArtworkPassesWithAndWithoutNegativeLayers) {
    PrintBoard p;
    Board& b = p.board;
    b.SetRoundAperture(1, 2);
    b.SetRoundAperture(2, 0.5);
    b.layerFlags[2] |= kRoleCut;
    p.add(b.CreateLand(1, 1, false, {3, 3}));   // positive
    p.add(b.CreateLand(2, 2, false, {3, 3}));   // cut out of it
    p.add(b.CreateLand(1, 2, false, {7, 3}));   // positive, alone
    const ViewState v = TenPixelView(100, 60);  // y = 3 mm is row 29
    MonoBitmap bm;
    ASSERT_TRUE(bm.Create(100, 60, true));
    RenderArtwork(b, v, false, bm);
    EXPECT_TRUE(bm.white(0, 0));          // paper
    EXPECT_FALSE(bm.white(30 - 15, 29));  // ink of the positive land
    EXPECT_TRUE(bm.white(30, 29));        // the cut, in paper, over it
    EXPECT_FALSE(bm.white(70, 29));
    // The negative option swaps ink and paper.
    RenderArtwork(b, v, true, bm);
    EXPECT_FALSE(bm.white(0, 0));
    EXPECT_TRUE(bm.white(15, 29));
    EXPECT_FALSE(bm.white(30, 29));

    // A printable negative layer: the ground starts as ink, its elements are paper, positives
    // are ink over them and cuts paper again.
    b.layerFlags[3] |= kRoleNegative;
    b.SetRoundAperture(3, 4);
    p.add(b.CreateLand(3, 3, false, {3, 3}));  // a clearance around the first land
    RenderArtwork(b, v, false, bm);
    EXPECT_FALSE(bm.white(95, 55));  // ground in ink
    EXPECT_TRUE(bm.white(30 - 35, 29) || bm.white(30 - 35 + 40, 29));
    EXPECT_TRUE(bm.white(30 + 30, 29 - 20));  // inside the clearance, outside the land
    EXPECT_FALSE(bm.white(30 - 15, 29));      // the positive land in ink
    EXPECT_TRUE(bm.white(30, 29));            // the cut
    RenderArtwork(b, v, true, bm);
    EXPECT_TRUE(bm.white(95, 55));
    EXPECT_FALSE(bm.white(30 + 30, 29 - 20));
}

TEST(Print, RoundLandRowsFollowTheRowRule) {
    PrintBoard p;
    Board& b = p.board;
    b.SetRoundAperture(1, 0.32);  // r = 3.2 px
    p.add(b.CreateLand(1, 1, false, {2, 2}));
    const ViewState v = TenPixelView(40, 40);
    MonoBitmap bm;
    ASSERT_TRUE(bm.Create(40, 40, true));
    RenderArtwork(b, v, false, bm);
    const int cx = 20, cy = 19;  // world (2, 2)
    auto inkOfRow = [&](int y) {
        int n = 0;
        for (int x = 0; x < 40; ++x) n += !bm.white(x, y);
        return n;
    };
    EXPECT_EQ(inkOfRow(cy), 7);  // x - 3 .. x + 3
    for (int k = 1; k <= 3; ++k) {
        const double e = 3.2 * std::cos(std::asin((k - 0.5) / 3.2));
        const int width = 2 * int(std::lround(e)) + 1;
        EXPECT_EQ(inkOfRow(cy - k), width) << k;
        EXPECT_EQ(inkOfRow(cy + k), width) << k;
        EXPECT_FALSE(bm.white(cx, cy + k));
    }
    EXPECT_EQ(inkOfRow(cy - 4), 0);  // 4 - 0.5 > 3.2
    EXPECT_EQ(inkOfRow(cy + 4), 0);

    // Anything smaller than half a pixel is one pixel: a land, a line, an arc.
    PrintBoard q;
    q.board.SetRoundAperture(1, 0.01);
    q.board.SetSquareAperture(1, 0.01);
    q.add(q.board.CreateLand(1, 1, false, {1, 1}));
    q.add(q.board.CreateArc(1, 1, {3, 3}, 0.02, 0, 1));
    q.add(q.board.CreateLine(1, 1, true, {3, 1}, {3.01, 1}));
    RenderArtwork(q.board, v, false, bm);
    int ink = 0;
    for (int y = 0; y < 40; ++y) ink += inkOfRow(y);
    EXPECT_EQ(ink, 3);
    EXPECT_FALSE(bm.white(10, 29));
    EXPECT_FALSE(bm.white(30, 9));
    EXPECT_FALSE(bm.white(30, 29));
}

TEST(Print, ArtworkShapesMatchTheReviewedBitmaps) {
    // A land, a line, an arc and a rectangle, each alone on a 1 mm = 10 px page.
    struct Case {
        const char* name;
        void (*make)(PrintBoard&);
    };
    const Case cases[] = {
        {"artwork-land.png",
         [](PrintBoard& p) {
             p.board.SetRoundAperture(1, 1.25);
             p.board.SetSquareAperture(2, 0.8);
             p.add(p.board.CreateLand(1, 1, false, {2.0, 2.5}));
             p.add(p.board.CreateLand(1, 2, true, {4.6, 2.5}));
         }},
        {"artwork-line.png",
         [](PrintBoard& p) {
             p.board.SetRoundAperture(1, 0.4);
             p.board.SetSquareAperture(2, 0.3);
             p.add(p.board.CreateLine(1, 1, false, {0.8, 0.8}, {5.2, 3.1}));
             p.add(p.board.CreateLine(1, 2, true, {0.8, 4.2}, {5.0, 3.7}));
         }},
        {"artwork-arc.png",
         [](PrintBoard& p) {
             p.board.SetRoundAperture(1, 0.3);
             p.add(p.board.CreateArc(1, 1, {3.0, 2.5}, 1.8, 0.3, 4.0));
         }},
        {"artwork-rect.png",
         [](PrintBoard& p) {
             p.board.SetRoundAperture(1, 0.1);
             p.add(p.board.CreateRect(1, 1, {3.0, 2.5}, 4.0, 2.0, 0.4));
         }},
    };
    for (const Case& c : cases) {
        PrintBoard p;
        c.make(p);
        const ViewState v = TenPixelView(60, 50);
        MonoBitmap bm;
        ASSERT_TRUE(bm.Create(60, 50, true));
        RenderArtwork(p.board, v, false, bm);
        test::ExpectImage(AsFramebuffer(bm.image()), c.name);
    }
}

TEST(Print, CheckPrintDrawsOutlinesInTheLayerPensOrBlack) {
    PrintBoard p;
    Board& b = p.board;
    b.SetRoundAperture(1, 1);
    p.add(b.CreateLand(0, 1, false, {2, 2}));  // colour index 0: the black pen
    p.add(b.CreateLand(3, 1, false, {6, 2}));  // blue
    b.ClearLayerSwitch(5, kPrint);
    p.add(b.CreateLand(5, 1, false, {4, 4}));   // not printed
    const ViewState v = TenPixelView(100, 60);  // y = 2 mm is row 39
    Framebuffer fb(100, 60);
    RenderCheckPrint(b, v, false, fb);
    EXPECT_EQ(fb.at(0, 0), Rgb(255, 255, 255));
    EXPECT_EQ(fb.at(20, 39), Rgb(255, 255, 255));  // outlines only
    EXPECT_EQ(fb.at(30, 39), Rgb(0, 0, 0));
    EXPECT_EQ(fb.at(70, 39), kPalette[3]);
    EXPECT_EQ(fb.at(50, 19), Rgb(255, 255, 255));  // the land that is not printed
    RenderCheckPrint(b, v, true, fb);              // negative: white pen on black
    EXPECT_EQ(fb.at(0, 0), Rgb(0, 0, 0));
    EXPECT_EQ(fb.at(30, 39), Rgb(255, 255, 255));

    const DibImage d = ColourDib(fb);
    EXPECT_EQ(d.bits, 8);
    EXPECT_EQ(d.colours.size(), 256u);
    EXPECT_EQ(d.at(0, 0), Rgb(0, 0, 0));
    EXPECT_EQ(d.at(30, 39), Rgb(255, 255, 255));
    EXPECT_EQ(d.at(70, 39), kPalette[3]);
}

TEST(Print, BmpHeadersByteForByte) {
    DibImage d;
    d.width = 3;
    d.height = 2;
    d.bits = 1;
    d.dpiX = 600;
    d.dpiY = 300;
    d.colours = {Rgb(0, 0, 0), Rgb(255, 255, 255)};
    d.rows = {0xA0, 0, 0, 0, /* second row */ 0x40, 0, 0, 0};
    const std::string s = EncodeBmp(d);
    const unsigned char want[] = {
        'B',  'M',  70, 0, 0,    0,    0,   0, 0, 0, 62, 0, 0, 0,  // file header
        40,   0,    0,  0, 3,    0,    0,   0, 2, 0, 0,  0, 1, 0,
        1,    0,                                // size, width, height, planes, bits
        0,    0,    0,  0, 8,    0,    0,   0,  // no compression, image size
        0x46, 0x5C, 0,  0, 0x23, 0x2E, 0,   0,  // 23622 and 11811 pixels per metre
        0,    0,    0,  0, 0,    0,    0,   0,  // colours used, important
        0,    0,    0,  0, 255,  255,  255, 0,  // black, white
        0x40, 0,    0,  0, 0xA0, 0,    0,   0,  // bottom row first
    };
    ASSERT_EQ(s.size(), sizeof want);
    EXPECT_EQ(s, std::string(reinterpret_cast<const char*>(want), sizeof want));

    // Eight bits: a 256-entry table, rows padded to four bytes.
    DibImage e;
    e.width = 5;
    e.height = 1;
    e.bits = 8;
    e.colours.assign(256, 0);
    e.colours[1] = Rgb(1, 2, 3);
    e.rows = {1, 0, 0, 0, 1, 0, 0, 0};
    const std::string t = EncodeBmp(e);
    ASSERT_EQ(t.size(), 54u + 1024u + 8u);
    EXPECT_EQ(uint8_t(t[10]), (54 + 1024) & 255);
    EXPECT_EQ(uint8_t(t[11]), (54 + 1024) >> 8);
    EXPECT_EQ(uint8_t(t[28]), 8);
    EXPECT_EQ(t.substr(58, 4), std::string("\x03\x02\x01\x00", 4));
}

TEST(Print, BmpFileNameAndTheFileAsImageMagickReadsIt) {
    EXPECT_EQ(BmpPathFor("/a/board.pcb"), std::filesystem::path("/a/board.bmp"));
    EXPECT_EQ(BmpPathFor("/a/board.v2.pcb"), std::filesystem::path("/a/board.v2.bmp"));
    EXPECT_EQ(BmpPathFor("/a/board"), std::filesystem::path("/a/board.bmp"));
    // A dot in a folder name is not the file's extension.
    EXPECT_EQ(BmpPathFor("/a.b/board"), std::filesystem::path("/a.b/board.bmp"));

    PrintBoard p;
    p.board.SetRoundAperture(1, 2);
    p.add(p.board.CreateLand(1, 1, false, {50, 50}));
    const std::optional<DibImage> d = RenderPrint(p.board, PrintKind::kArtwork, VirtualA4(150), {});
    ASSERT_TRUE(d);
    ScratchDir dir;
    const std::filesystem::path file = dir / "board.bmp";
    ASSERT_TRUE(WriteBmp(file, *d));
    EXPECT_EQ(std::filesystem::file_size(file), 62 + size_t(d->stride()) * size_t(d->height));
    if (std::system("command -v identify >/dev/null 2>&1") != 0)
        GTEST_SKIP() << "ImageMagick's identify is not installed";
    const std::string cmd = "identify -format '%w %h %x %U' '" + file.string() + "' 2>/dev/null";
    FILE* pipe = popen(cmd.c_str(), "r");
    ASSERT_TRUE(pipe);
    char buf[256] = {};
    const size_t n = std::fread(buf, 1, sizeof buf - 1, pipe);
    pclose(pipe);
    const std::string out(buf, n);
    EXPECT_EQ(out.substr(0, 10), "1240 1754 ") << out;
    EXPECT_EQ(out.substr(10, 5), "59.06") << out;  // 150 dpi = 5906 pixels per metre
}

TEST(Print, StandardMagnificationSetting) {
    EXPECT_EQ(PrintMagnificationText(1), "");
    EXPECT_EQ(PrintMagnificationText(20), "10");
    EXPECT_EQ(PrintMagnificationText(0.01), "0.1");
    EXPECT_EQ(PrintMagnificationText(2.5), "2.5");
    EXPECT_EQ(PrintMagnificationText(1.0 / 3), "0.333333333333");
    EXPECT_DOUBLE_EQ(ParsePrintMagnification(""), 1.0);
    EXPECT_DOUBLE_EQ(ParsePrintMagnification("[Setting]\r\nPrintMagnification:2.5\r\n"), 2.5);
    EXPECT_DOUBLE_EQ(ParsePrintMagnification("[Setting]\r\nPrintMagnification:40\r\n"), 10);
    EXPECT_DOUBLE_EQ(ParsePrintMagnification("[Setting]\r\nPrintMagnification:x\r\n"), 1);
    EXPECT_DOUBLE_EQ(ParsePrintMagnification("[Setting]\r\nPrintMagnification:\r\n"), 1);

    ScratchDir dir;
    const std::filesystem::path ini = dir.Put("zevo.ini", "[Setting]\r\nUndoneMax:5\r\n");
    EXPECT_DOUBLE_EQ(LoadPrintMagnification(ini), 1.0);
    ASSERT_TRUE(StorePrintMagnification(ini, 20));
    EXPECT_DOUBLE_EQ(LoadPrintMagnification(ini), 10);
    EXPECT_NE(dir.Get("zevo.ini").find("PrintMagnification:10\r\n"), std::string::npos);
    EXPECT_NE(dir.Get("zevo.ini").find("UndoneMax:5"), std::string::npos);
    ASSERT_TRUE(StorePrintMagnification(ini, 1));
    EXPECT_EQ(dir.Get("zevo.ini").find("PrintMagnification:1"), std::string::npos);
    EXPECT_DOUBLE_EQ(LoadPrintMagnification(ini), 1.0);
}

}  // namespace
}  // namespace zevo
