// Writing documents, library items and the old format, byte for byte.
#include "board/file/board_writer.h"

#include <gtest/gtest.h>

#include <string>

#include "board/board_compare.h"

namespace zevo {
namespace {

// A small document with one of everything the writer treats differently.
std::unique_ptr<Board> Sample() {
    auto b = testing::NewBoard();
    Board& d = *b;
    d.SetBoardSize(200, 150);
    d.SetGrid(2.54, 4);
    d.gridOrigin = {1.5, 2};
    d.SetLayerName(1, "Top");
    d.layerColour[1] = 3;
    d.SetLayerSwitch(1, kPrint);
    d.SetLayerName(70, "L70");
    d.ClearLayerSwitch(70, kDisp);
    d.AddPadDefinition({{1, 10}, {2, 10}});
    d.AddPadDefinition({{3, 1}});
    d.SetRoundAperture(25, 1.701 / 2);  // one step from 1.7
    d.SetSquareAperture(3, 0.25);
    const ReservedWords& r = Reserved();

    land* l = d.CreateLand(1, 5, false, {10, 20});
    l->netName = Intern("GND");
    d.AppendElement(nullptr, l);
    d.AppendElement(nullptr, d.CreateLand(2, 3, true, {11, 21}));
    d.AppendElement(nullptr, d.CreateLine(1, 4, true, {1, 1}, {5, 1.5}));
    d.AppendElement(nullptr, d.CreateArc(1, 2, {50, 50}, 5, ToRadians(350), ToRadians(370)));
    d.AppendElement(nullptr, d.CreateArc(1, 2, {60, 50}, 5, 0, 0.0005));
    d.AppendElement(nullptr, d.CreateRect(1, 2, {30, 30}, 4, 2, ToRadians(30)));

    group* part = d.CreateGroup(Intern("A,B"));
    part->attribute = Intern("x");
    part->reference = Intern("U1");
    part->ext = d.CreatePartPlacement({40, 40}, 0);
    d.AppendElement(nullptr, part);
    group* pad = d.CreateGroup(r.pad);
    d.AppendElement(part, pad);
    land* pin = d.CreateLand(1, 10, false, {41, 40});
    pin->pinName = Intern("1");
    pin->pinNo = 1;
    d.AppendElement(pad, pin);
    line* silk = d.CreateLine(70, 1, false, {39, 39}, {43, 39});
    silk->pinName = Intern("2");
    silk->pinNo = 2;
    silk->netName = Intern("N1");
    d.AppendElement(part, silk);
    group* text = d.CreateGroup(r.text);
    text->attribute = Intern("Hi,there");
    text->ext = d.CreateTextPlacement({41, 42}, kPi / 2, 2, -2);
    d.AppendElement(part, text);
    line* stroke = d.CreateLine(1, 0, false, {41, 42}, {41, 44});
    stroke->pinName = Intern("no");
    d.AppendElement(text, stroke);
    group* sub = d.CreateGroup(Intern("SUB"));
    sub->reference = Intern("lost");
    sub->ext = d.CreatePartPlacement({45, 45}, 1);
    d.AppendElement(part, sub);
    land* inner = d.CreateLand(2, 1, false, {45, 45});
    inner->pinName = Intern("3");
    d.AppendElement(sub, inner);
    group* nothing = d.CreateGroup(kEmptyText);
    d.AppendElement(part, nothing);
    d.AppendElement(nothing, d.CreateGroup(kEmptyText));

    group* topPad = d.CreateGroup(r.pad);
    d.AppendElement(nullptr, topPad);
    land* unnamed = d.CreateLand(1, 10, false, {80, 80});
    unnamed->pinName = Intern("7");
    d.AppendElement(topPad, unnamed);

    group* painted = d.CreateGroup(r.painted);
    d.AppendElement(nullptr, painted);
    group* loop = d.CreateGroup(r.loop);
    d.AppendElement(painted, loop);
    d.AppendElement(loop, d.CreateLine(1, 0, false, {90, 90}, {95, 90}));
    group* fill = d.CreateGroup(r.lines);
    d.AppendElement(painted, fill);
    d.AppendElement(fill, d.CreateLine(1, 0, false, {90, 91}, {95, 91}));

    group* plain = d.CreateGroup(kEmptyText);
    plain->attribute = r.noDrc;
    plain->reference = Intern("R9");
    d.AppendElement(nullptr, plain);
    d.AppendElement(plain, d.CreateLand(1, 0, false, {100, 100}));
    group* drc = d.CreateGroup(r.drc);
    drc->reference = Intern("R5");
    d.AppendElement(nullptr, drc);
    d.AppendElement(drc, d.CreateLand(1, 0, false, {101, 100}));
    d.AppendElement(nullptr, d.CreateGroup(Intern("EMPTY")));
    d.AppendElement(nullptr, d.CreateLand(70, 0, false, {5, 5}));
    return b;
}

TEST(DocumentWriter, WritesEverySectionAndItemInTheFileFormat) {
    const std::string expected =
        "[Version]\r\nZEVO:Version 0.63.9\r\n"
        "\r\n[BoardSize]\r\nX:200\r\nY:150\r\nGRID:2.54,4\r\nORIGIN:X=1.5,Y=2\r\n"
        "\r\n[LayerDef]\r\n1:NAME=Top,COLOR=3,DISP=ON,ACTIV=ON,PRINT=ON\r\n"
        "70:NAME=L70,COLOR=0,DISP=OFF,ACTIV=OFF,PRINT=OFF\r\n"
        "\r\n[PadDef]\r\n0:LE=1,AP=10|LE=2,AP=10\r\n1:LE=3,AP=1\r\n"
        "\r\n[FlshDef]\r\n3:0.500\r\n"
        "\r\n[LineDef]\r\n25:1.701\r\n"
        "\r\n[DrawItems]\r\n"
        "LAND:X=10,Y=20,LE=1,AP=5,NE=GND\r\n"
        "FLSH:X=11,Y=21,LE=2,AP=3\r\n"
        "LINE:XS=1,YS=1,XE=5,YE=1.5,LE=1,SQ=4\r\n"
        "ARC:X=50,Y=50,R=5,ST=-10,END=10,LE=1,AP=2\r\n"
        "LAND:X=65,Y=50,LE=1,AP=2\r\n"
        "RECT:X=30,Y=30,DX=4,DY=2,ANG=30,LE=1,AP=2\r\n"
        "GROUP:A\tB,x,U1,X=40,Y=40,ANG=0\r\n"
        "GROUP: PAD\r\nLAND:X=41,Y=40,LE=1,AP=10,PN=1,NO=1\r\nENDGR:\r\n"
        "LINE:XS=39,YS=39,XE=43,YE=39,LE=70,AP=1,NE=N1,PN=2,NO=2\r\n"
        "GROUP: TEXT,Hi\tthere,,X=41,Y=42,ANG=90,HI=2,PIT=-2\r\n"
        "LINE:XS=41,YS=42,XE=41,YE=44,LE=1,AP=0\r\nENDGR:\r\n"
        "GROUP:SUB\r\nLAND:X=45,Y=45,LE=2,AP=1,PN=3\r\nENDGR:\r\n"
        "ENDGR:\r\n"
        "GROUP: PAD\r\nLAND:X=80,Y=80,LE=1,AP=10\r\nENDGR:\r\n"
        "GROUP: PAINTED\r\nGROUP: LOOP\r\nLINE:XS=90,YS=90,XE=95,YE=90,LE=1,AP=0\r\nENDGR:\r\n"
        "GROUP: LINES\r\nLINE:XS=90,YS=91,XE=95,YE=91,LE=1,AP=0\r\nENDGR:\r\nENDGR:\r\n"
        "GROUP:,NO_DRC,R9\r\nLAND:X=100,Y=100,LE=1,AP=0\r\nENDGR:\r\n"
        "GROUP: DRC,,R5\r\nLAND:X=101,Y=100,LE=1,AP=0\r\nENDGR:\r\n"
        "LAND:X=5,Y=5,LE=70,AP=0\r\n";
    EXPECT_EQ(WriteDocument(*Sample()), expected);
}

TEST(DocumentWriter, LibraryItemsAreWrittenRelativeToTheOrigin) {
    auto b = Sample();
    const Point origin{40, 40};
    TextOut out;
    int i = 0;
    for (container* c : Items(b->items))
        if (i++ == 6) {  // the part
            ListNode list;
            list.initHead();
            c->unlink(b->changes);
            c->insertBefore(&list, b->changes);
            WriteItems(out, list, &origin);
        }
    EXPECT_EQ(out.text(),
              "GROUP:A\tB,x\r\n"
              "GROUP: PAD\r\nLAND:X=1,Y=0,LE=1,AP=10,PN=1,NO=1\r\nENDGR:\r\n"
              "LINE:XS=-1,YS=-1,XE=3,YE=-1,LE=70,AP=1,NE=N1,PN=2,NO=2\r\n"
              "GROUP: TEXT,Hi\tthere,,X=1,Y=2,ANG=90,HI=2,PIT=-2\r\n"
              "LINE:XS=1,YS=2,XE=1,YE=4,LE=1,AP=0\r\nENDGR:\r\n"
              "GROUP:SUB\r\nLAND:X=5,Y=5,LE=2,AP=1,PN=3\r\nENDGR:\r\n"
              "ENDGR:\r\n");
}

TEST(DocumentWriter, GroupStringsAreCutAt255Bytes) {
    auto b = testing::NewBoard();
    group* g = b->CreateGroup(Intern(std::string(300, 'n')));
    g->attribute = Intern(std::string(254, 'a') + ",,");
    b->AppendElement(nullptr, g);
    b->AppendElement(g, b->CreateLand(1, 0, false, {1, 1}));
    TextOut out;
    WriteItems(out, b->items);
    EXPECT_EQ(out.text(), "GROUP:" + std::string(255, 'n') + "," + std::string(254, 'a') +
                              "\t\r\nLAND:X=1,Y=1,LE=1,AP=0\r\nENDGR:\r\n");
}

TEST(OldFormatWriter, LandsAndLinesOnlyWithArcsAndRectanglesReplaced) {
    auto b = testing::NewBoard();
    b->AppendElement(nullptr, b->CreateLand(70, 5, true, {10.0004, 20.0006}));
    b->AppendElement(nullptr, b->CreateLine(1, 4, true, {1, 1}, {5, 1.5}));
    // A quarter circle of radius 10: steps of atan2(0.1, 10), 158 chords.
    b->AppendElement(nullptr, b->CreateArc(2, 0, {50, 50}, 10, 0, kPi / 2));
    // DX 4, DY 1 with a pen of half 0.05: outline 1.9 x 0.4, then trunc((1 - 0.095) / 0.095) = 9
    // strokes.
    b->AppendElement(nullptr, b->CreateRect(1, 0, {30, 30}, 4, 1, 0));
    group* g = b->CreateGroup(Intern("PART"));
    b->AppendElement(nullptr, g);
    group* sub = b->CreateGroup(Reserved().text);
    b->AppendElement(g, sub);
    line* l = b->CreateLine(100, 1, false, {0, 0}, {1, 1});
    l->pinName = Intern("x");
    b->AppendElement(sub, l);
    b->AppendElement(g, b->CreateGroup(kEmptyText));  // empty: skipped
    b->AppendElement(nullptr, b->CreateGroup(kEmptyText));

    const std::string text = WriteOldFormat(*b);
    const std::string head =
        "[Version]\r\nZEVO:Version 0.48.9\r\n\r\n[BoardSize]\r\nX:300\r\nY:210\r\nGRID:10\r\n"
        "\r\n[LayerDef]\r\n\r\n[PadDef]\r\n\r\n[FlshDef]\r\n\r\n[LineDef]\r\n\r\n[DrawItems]\r\n"
        "FLSH:X=10.000,Y=20.001,LE=63,AP=5\r\n"
        "LINE:XS=1.000,YS=1.000,XE=5.000,YE=1.500,LE=1,SQ=4\r\n"
        "GROUP:\r\nLINE:XS=60.000,YS=50.000,XE=60.000,YE=50.100,LE=2,AP=0\r\n";
    ASSERT_EQ(text.substr(0, head.size()), head);
    size_t chords = 0, pos = head.size() - 1;
    std::string lastChord;
    while (text.compare(pos + 1, 5, "LINE:") == 0) {
        const size_t end = text.find('\n', pos + 1);
        lastChord = text.substr(pos + 1, end - pos);
        pos = end;
        ++chords;
    }
    EXPECT_EQ(chords, 157u);  // after the first one
    EXPECT_EQ(lastChord.substr(lastChord.find(",XE=")), ",XE=50.000,YE=60.000,LE=2,AP=0\r\n");
    EXPECT_EQ(text.substr(pos + 1),
              "ENDGR:\r\nGROUP:\r\n"
              "LINE:XS=31.950,YS=29.550,XE=31.950,YE=30.450,LE=1,AP=0\r\n"
              "LINE:XS=31.950,YS=30.450,XE=28.050,YE=30.450,LE=1,AP=0\r\n"
              "LINE:XS=28.050,YS=30.450,XE=28.050,YE=29.550,LE=1,AP=0\r\n"
              "LINE:XS=28.050,YS=29.550,XE=31.950,YE=29.550,LE=1,AP=0\r\n"
              "LINE:XS=31.950,YS=29.645,XE=28.050,YE=29.645,LE=1,AP=0\r\n"
              "LINE:XS=31.950,YS=29.740,XE=28.050,YE=29.740,LE=1,AP=0\r\n"
              "LINE:XS=31.950,YS=29.835,XE=28.050,YE=29.835,LE=1,AP=0\r\n"
              "LINE:XS=31.950,YS=29.930,XE=28.050,YE=29.930,LE=1,AP=0\r\n"
              "LINE:XS=31.950,YS=30.025,XE=28.050,YE=30.025,LE=1,AP=0\r\n"
              "LINE:XS=31.950,YS=30.120,XE=28.050,YE=30.120,LE=1,AP=0\r\n"
              "LINE:XS=31.950,YS=30.215,XE=28.050,YE=30.215,LE=1,AP=0\r\n"
              "LINE:XS=31.950,YS=30.310,XE=28.050,YE=30.310,LE=1,AP=0\r\n"
              "LINE:XS=31.950,YS=30.405,XE=28.050,YE=30.405,LE=1,AP=0\r\n"
              "ENDGR:\r\n"
              "GROUP:\r\nLINE:XS=0.000,YS=0.000,XE=1.000,YE=1.000,LE=63,AP=1\r\nENDGR:\r\n");
}

}  // namespace
}  // namespace zevo
