// Writes the example board examples/example.pcb: an astable multivibrator blinking two LEDs, a
// board a hobbyist makes on a Sunday afternoon. Every part comes from the shipped library
// resources/Parts.lib; the tracks, vias, the ground area on the solder side, the references on
// the silk and the outline with its mounting holes are drawn here, with the editor's own text
// layout and hatching, so the file is what the editor would save.
//
//   make_example --library Parts.lib --font zevofont.dat --out example.pcb
//   make_example --library Parts.lib --font zevofont.dat --check example.pcb
//
// The circuit (examples/example.net holds its netlist, written by hand):
//   J1  2-pin terminal, pin 1 +5..9 V, pin 2 GND
//   Q1, Q2  NPN (2SC1815 and the like, TO-92, pins E C B)
//   R1, R4  470 ohm, LED current; R2, R3  47 k, base resistors
//   C1, C2  10 uF electrolytic, the cross coupling (about 0.7 s per half period)
//   D1, D2  red LEDs in the collectors
#include <cmath>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <iostream>
#include <numbers>
#include <sstream>
#include <string>
#include <vector>

#include "board/file/board_writer.h"
#include "board/file/document.h"
#include "board/file/library.h"
#include "board/model/board.h"
#include "board/model/intern.h"
#include "text/cp932.h"
#include "tools/fill_hatch.h"
#include "view/stroke_font.h"

namespace fs = std::filesystem;
using namespace zevo;

namespace {

// Layers of the default set.
constexpr int kTop = 1, kBottom = 2, kSilk = 3, kOutline = 7, kDrill = 8, kMounting = 42;
// Apertures of the default table (diameters in mm).
constexpr int kPen02 = 2;      // 0.2 mm: silk, outline
constexpr int kPen03 = 4;      // 0.3 mm: the ground area's pen
constexpr int kSignal = 10;    // 0.6 mm
constexpr int kPower = 18;     // 1.0 mm
constexpr int kViaLand = 20;   // 1.2 mm
constexpr int kViaDrill = 10;  // 0.6 mm
constexpr int kHole32 = 40;    // 3.2 mm: M3 mounting holes

// The sections before the drawing: the default layers, one pad type (a through-hole pin of the
// library's resistors), the board's working area and a 1.27 mm grid.
constexpr char kHeader[] =
    "[Version]\r\n"
    "ZEVO:Version 0.63.9\r\n"
    "\r\n"
    "[BoardSize]\r\n"
    "X:100\r\n"
    "Y:100\r\n"
    "GRID:1.27,2\r\n"
    "ORIGIN:X=5,Y=5\r\n"
    "\r\n"
    "[LayerDef]\r\n"
    "1:NAME=パターン表,COLOR=1,DISP=ON,ACTIV=ON,PRINT=ON\r\n"
    "2:NAME=パターン裏,COLOR=3,DISP=ON,ACTIV=ON,PRINT=ON\r\n"
    "3:NAME=シルク表,COLOR=4,DISP=ON,ACTIV=ON,PRINT=ON\r\n"
    "4:NAME=シルク裏,COLOR=10,DISP=ON,ACTIV=ON,PRINT=ON\r\n"
    "5:NAME=レジスト表,COLOR=5,DISP=OFF,ACTIV=OFF,PRINT=ON\r\n"
    "6:NAME=レジスト裏,COLOR=11,DISP=OFF,ACTIV=OFF,PRINT=ON\r\n"
    "7:NAME=外形,COLOR=0,DISP=ON,ACTIV=ON,PRINT=ON\r\n"
    "8:NAME=穴スルーホール,COLOR=6,DISP=ON,ACTIV=ON,PRINT=ON\r\n"
    "9:NAME=基準点,COLOR=2,DISP=ON,ACTIV=ON,PRINT=ON\r\n"
    "10:NAME=部品図表,COLOR=13,DISP=OFF,ACTIV=OFF,PRINT=ON\r\n"
    "11:NAME=部品図裏,COLOR=14,DISP=OFF,ACTIV=OFF,PRINT=ON\r\n"
    "42:NAME=穴ノンスルー,COLOR=12,DISP=ON,ACTIV=ON,PRINT=ON\r\n"
    "\r\n"
    "[PadDef]\r\n"
    "0:LE=1,AP=24|LE=2,AP=24|LE=8,AP=14\r\n"
    "\r\n";

struct Builder {
    Board& b;
    fs::path library, font;
    bool ok = true;

    // A part of the library, turned by `degrees` about its origin and put with the origin at `at`.
    group* part(const char* name, const char* attribute, const char* value, const char* ref,
                Point at, double degrees) {
        ListNode scratch;
        scratch.initHead();
        if (!LoadPart(library, b, name, attribute, scratch)) {
            std::cerr << "make_example: part " << name << " is not in " << library << "\n";
            ok = false;
            return nullptr;
        }
        group* g =
            AsGroup(scratch.next == &scratch ? nullptr : static_cast<container*>(scratch.next));
        g->unlink(b.changes);
        g->ext = b.CreatePartPlacement({0, 0}, 0);
        g->rotate(b, {0, 0}, degrees * std::numbers::pi / 180);
        g->translate(b, at.x, at.y);
        g->attribute = Intern(value);
        g->reference = Intern(ref);
        b.AppendElement(nullptr, g);
        return g;
    }

    void track(int layer, int aperture, std::initializer_list<Point> points) {
        const Point* prev = nullptr;
        for (const Point& p : points) {
            if (prev) b.AppendElement(nullptr, b.CreateLine(layer, aperture, false, *prev, p));
            prev = &p;
        }
    }

    // A via: the lands of both copper layers and the drill, as the editor's pads are kept.
    void via(Point p) {
        group* g = b.CreateGroup(Reserved().pad);
        b.AppendElement(g, b.CreateLand(kTop, kViaLand, false, p));
        b.AppendElement(g, b.CreateLand(kBottom, kViaLand, false, p));
        b.AppendElement(g, b.CreateLand(kDrill, kViaDrill, false, p));
        b.AppendElement(nullptr, g);
    }

    void text(const std::string& utf8, Point at, double height, double degrees = 0) {
        const std::string bytes = Utf8ToCp932(utf8);
        TextParams p;
        p.text = bytes;
        p.layer = kSilk;
        p.aperture = kPen02 - 1;  // 0.15 mm
        p.height = height;
        p.pitch = height * 0.9;
        p.angle = degrees;
        const TextLayout t = LayoutText(b, font, p, at);
        if (!t.text || t.dropped > 0) {
            std::cerr << "make_example: the text \"" << utf8 << "\" could not be laid out\n";
            ok = false;
            return;
        }
        b.AppendElement(nullptr, t.text);
    }

    // A filled area of the rectangle (x0, y0)-(x1, y1) on `layer`, hatched as the fill tool does:
    // the strokes, then the outline.
    void area(int layer, double x0, double y0, double x1, double y1) {
        std::vector<drawn*> outline;
        const Point c[] = {{x0, y0}, {x1, y0}, {x1, y1}, {x0, y1}};
        for (int i = 0; i < 4; ++i)
            outline.push_back(b.CreateLine(layer, kPen03, false, c[i], c[(i + 1) % 4]));
        std::vector<FillEdge> edges;
        const std::vector<const drawn*> view(outline.begin(), outline.end());
        if (!AddFillEdges(view, edges)) {
            ok = false;
            return;
        }
        group* lines = b.CreateGroup(Reserved().lines);
        for (const FillStroke& s : HatchStrokes(edges, 2 * b.roundHalf(kPen03)))
            b.AppendElement(lines, b.CreateLine(layer, kPen03, false, s.a, s.b));
        group* loop = b.CreateGroup(Reserved().loop);
        for (drawn* d : outline) b.AppendElement(loop, d);
        group* painted = b.CreateGroup(Reserved().painted);
        b.AppendElement(painted, lines);
        b.AppendElement(painted, loop);
        b.AppendElement(nullptr, painted);
    }
};

bool Build(Board& b, const fs::path& library, const fs::path& font) {
    const std::string header = Utf8ToCp932(kHeader);
    ReadDocumentText(header, b);
    Builder k{b, library, font};

    // The outline, 60 x 40 mm, and four M3 holes 3.5 mm in from the corners.
    k.track(kOutline, kPen02, {{5, 5}, {65, 5}, {65, 45}, {5, 45}, {5, 5}});
    for (Point p : {Point{8.5, 8.5}, Point{61.5, 8.5}, Point{8.5, 41.5}, Point{61.5, 41.5}})
        b.AppendElement(nullptr, b.CreateLand(kMounting, kHole32, false, p));

    // The parts. Vertical resistors and LEDs have pin 1 on top.
    k.part("TERMINAL_2P", "5.08mm", "DC 5-9V", "J1", {12, 27}, 270);
    k.part("R_7.62", "axial", "470", "R1", {18, 37}, 270);
    k.part("R_7.62", "axial", "47k", "R3", {26, 37}, 270);
    k.part("R_7.62", "axial", "47k", "R2", {44, 37}, 270);
    k.part("R_7.62", "axial", "470", "R4", {52, 37}, 270);
    k.part("LED_3MM", "", "赤", "D1", {18, 26}, 270);
    k.part("LED_3MM", "", "赤", "D2", {52, 26}, 270);
    k.part("CP_D5_P2", "electrolytic", "10uF 16V", "C1", {30, 22}, 0);
    k.part("CP_D5_P2", "electrolytic", "10uF 16V", "C2", {40, 22}, 180);
    k.part("TO-92", "formed 2.54mm", "2SC1815", "Q1", {15, 15}, 0);
    k.part("TO-92", "formed 2.54mm", "2SC1815", "Q2", {49, 15}, 0);

    // Tracks join at their ends (a track that only touches another in its middle is not joined
    // to it).
    // +V: a 1 mm rail along the top on the component side.
    k.track(kTop, kPower, {{12, 27}, {12, 40.5}, {18, 40.5}, {26, 40.5}, {44, 40.5}, {52, 40.5}});
    for (double x : {18.0, 26.0, 44.0, 52.0}) k.track(kTop, kPower, {{x, 40.5}, {x, 37}});
    // The LED resistors to the anodes, the cathodes to the collectors.
    k.track(kTop, kSignal, {{18, 29.38}, {18, 26}});
    k.track(kTop, kSignal, {{52, 29.38}, {52, 26}});
    k.track(kTop, kSignal, {{18, 23.46}, {17.54, 15}});
    k.track(kTop, kSignal, {{52, 23.46}, {51.54, 15}});
    // Q1's collector to C1 +, Q2's collector to C2 +.
    k.track(kTop, kSignal, {{18, 23.46}, {28.5, 23.46}, {30, 22}});
    k.track(kTop, kSignal, {{52, 23.46}, {41.5, 23.46}, {40, 22}});
    // Q2's base: C1 - and R2 on the component side, down through a via to the base.
    k.track(kTop, kSignal, {{32, 22}, {33.5, 27}, {42.5, 27}, {44, 27}, {44, 29.38}});
    k.via({42.5, 27});
    k.track(kBottom, kSignal, {{42.5, 27}, {42.5, 18}, {54.08, 18}, {54.08, 15}});
    // Q1's base: up through a via, then C2 - and R3 on the solder side.
    k.track(kTop, kSignal, {{20.08, 15}, {22.5, 17.5}});
    k.via({22.5, 17.5});
    k.track(kBottom, kSignal, {{22.5, 17.5}, {26, 17.5}});
    k.track(kBottom, kSignal, {{26, 29.38}, {26, 17.5}, {34, 17.5}, {38, 21.5}, {38, 22}});
    // Ground: the terminal and both emitters into the area along the bottom edge.
    k.track(kBottom, kPower, {{12, 21.92}, {12, 9}, {49, 9}, {49, 15}});
    k.track(kBottom, kPower, {{15, 15}, {15, 9}});
    k.area(kBottom, 11, 6.5, 59, 12.5);

    // The silk: references, the supply and the title.
    k.text("J1", {8.6, 30.1}, 1.2);
    k.text("R1", {19.5, 32}, 1.2);
    k.text("R3", {27.5, 32}, 1.2);
    k.text("R2", {45.5, 32}, 1.2);
    k.text("R4", {53.5, 32}, 1.2);
    k.text("D1", {20.5, 24}, 1.2);
    k.text("D2", {54.5, 24}, 1.2);
    k.text("C1", {28.5, 25}, 1.2);
    k.text("C2", {38.5, 25}, 1.2);
    k.text("Q1", {16.2, 18.3}, 1.2);
    k.text("Q2", {50.2, 18.9}, 1.2);
    k.text("+", {12.9, 30.1}, 1.2);
    k.text("GND", {8.6, 17.6}, 1.2);
    k.text("LED フラッシャー", {28.3, 34}, 1.5);
    k.text("ZEVO 2026", {30.5, 31}, 1.2);

    FinishDocumentRead(b, true);
    return k.ok;
}

}  // namespace

int main(int argc, char** argv) {
    fs::path library, font, out, check;
    for (int i = 1; i + 1 < argc; i += 2) {
        const std::string a = argv[i];
        if (a == "--library")
            library = argv[i + 1];
        else if (a == "--font")
            font = argv[i + 1];
        else if (a == "--out")
            out = argv[i + 1];
        else if (a == "--check")
            check = argv[i + 1];
    }
    if (library.empty() || font.empty() || out.empty() == check.empty()) {
        std::cerr << "usage: make_example --library Parts.lib --font zevofont.dat "
                     "(--out FILE | --check FILE)\n";
        return 2;
    }
    Board board;
    if (!Build(board, library, font)) return 1;
    if (!out.empty()) {
        std::string error;
        if (!WriteDocumentFile(out, board, &error)) {
            std::cerr << "make_example: " << error << "\n";
            return 1;
        }
        return 0;
    }
    std::ifstream in(check, std::ios::binary);
    std::stringstream now;
    now << in.rdbuf();
    if (now.str() != WriteDocument(board)) {
        std::cerr << "make_example: " << check << " is not what the generator writes\n";
        return 1;
    }
    return 0;
}
