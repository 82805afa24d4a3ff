#!/usr/bin/env python3
"""Writes the shipped part library resources/Parts.lib.

The library format has no comments, so the source of every dimension is stated here. Each part
has its origin land on layer 9 (基準点: through-hole parts at pin 1, surface-mount parts at the
centre), numbered pins (PN and NO), and a silk outline on layer 3 (0.2 mm pen). Through-hole pins
are " PAD" groups like the editor's pads: a land on both copper layers (1 and 2) and the drill on
layer 8. Surface-mount pads are rectangles on layer 1 drawn with the 0.1 mm pen.

Apertures are the editor's default table: n < 18 is 0.10 + 0.05 n mm, n >= 18 is 1.0 + 0.1 (n - 18).

Sources of the dimensions:
- Drill and land sizes of through-hole pins: the usual rule of drill = lead + 0.2..0.4 mm and
  annular ring >= 0.4 mm (IPC-2221 class 2 minimum 0.05 mm, hobby fabs ask for 0.15..0.25 mm):
  0.6 mm leads (resistors, ICs, LEDs, TO-92) 0.8 mm drill, 1.6 mm land; 0.64 mm square header pins
  1.0 mm drill, 1.7 mm land; TO-220 leads (0.9 x 0.5 mm) 1.2 mm drill, 2.0 mm land; terminal
  blocks (1.0..1.3 mm pins) 1.3 mm drill, 2.5 mm land; DC jack (slotted 1.0 x 3.0 mm pins,
  drawn as round holes) 1.6 mm drill, 3.0 mm land.
- Pitches: 2.54 mm (0.1 in) for DIP, headers, TO-92 with formed leads, LEDs; axial resistors and
  film capacitors at 5.08, 7.62, 10.16 mm (0.2, 0.3, 0.4 in); DIP rows 7.62 mm apart (JEDEC MS-001).
- Electrolytic capacitors (radial): body diameter / lead pitch 5/2.0, 6.3/2.5, 8/3.5, 10/5.0 mm
  (the common series of the makers' catalogues).
- TO-220: body 10.0 x 4.5 mm, leads at 2.54 mm (JEDEC TO-220AB).
- TO-92: body 4.8 mm diameter with the flat side, leads formed to 2.54 mm.
- SOT-23: IPC-7351B nominal land pattern SOT95P240X110-3N: pads 0.8 x 0.9 mm, pins 1 and 2 at
  x = -/+0.95 mm, y = -1.1 mm, pin 3 at y = +1.1 mm.
- SOIC-8: IPC-7351B SOIC127P600X175-8N: pads 1.55 x 0.6 mm, pitch 1.27 mm, pad centres 5.4 mm
  apart.
- Chip resistors and capacitors, IPC-7351B nominal (density level B):
  0603 (1608 metric): pads 0.95 x 1.0 mm, centres 1.6 mm apart;
  0805 (2012 metric): pads 1.0 x 1.45 mm, centres 1.9 mm apart;
  1206 (3216 metric): pads 1.15 x 1.8 mm, centres 2.9 mm apart.
- LEDs 3 mm and 5 mm: leads at 2.54 mm, body circle 3.0 / 5.0 mm with the flat at the cathode
  (pin 2).
- DC jack: the common 2.1 mm PCB barrel jack (5.5 mm body): pins at (0, 0) tip, (-6.0, 0) sleeve,
  (-3.0, 4.7) switch, body 14.4 x 9.0 mm.
- Screw terminal blocks: 5.08 mm pitch, body depth 7.6 mm.
"""
import math
import sys

SILK, ORIGIN, TOP, BOTTOM, DRILL = 3, 9, 1, 2, 8
PEN = 2  # 0.2 mm


def ap(diameter):
    """The default aperture number of a diameter in mm."""
    if diameter < 1.0:
        n = round((diameter - 0.10) / 0.05)
    else:
        n = 18 + round((diameter - 1.0) / 0.1)
    return int(n)


def num(v):
    s = f"{v:.4f}".rstrip("0").rstrip(".")
    return "0" if s in ("-0", "") else s


class Part:
    def __init__(self, name, attribute=""):
        self.name, self.attribute, self.lines = name, attribute, []
        self.lines.append(f"LAND:X=0,Y=0,LE={ORIGIN},AP=0")

    def pad(self, x, y, no, drill, land, square=False):
        word = "FLSH" if square else "LAND"
        a = ap(land)
        self.lines += [
            "GROUP: PAD",
            f"{word}:X={num(x)},Y={num(y)},LE={TOP},AP={a},PN={no},NO={no}",
            f"{word}:X={num(x)},Y={num(y)},LE={BOTTOM},AP={a},PN={no},NO={no}",
            f"LAND:X={num(x)},Y={num(y)},LE={DRILL},AP={ap(drill)}",
            "ENDGR:",
        ]

    def smd(self, x, y, no, dx, dy):
        self.lines.append(f"RECT:X={num(x)},Y={num(y)},DX={num(dx)},DY={num(dy)},ANG=0,"
                          f"LE={TOP},AP=0,PN={no},NO={no}")

    def line(self, x1, y1, x2, y2):
        self.lines.append(f"LINE:XS={num(x1)},YS={num(y1)},XE={num(x2)},YE={num(y2)},"
                          f"LE={SILK},AP={PEN}")

    def box(self, x1, y1, x2, y2):
        self.line(x1, y1, x2, y1)
        self.line(x2, y1, x2, y2)
        self.line(x2, y2, x1, y2)
        self.line(x1, y2, x1, y1)

    def arc(self, x, y, r, st, end):
        self.lines.append(f"ARC:X={num(x)},Y={num(y)},R={num(r)},ST={num(st)},END={num(end)},"
                          f"LE={SILK},AP={PEN}")

    def text(self):
        head = f"GROUP:{self.name}" + (f",{self.attribute}" if self.attribute else "")
        return "\r\n".join([head] + self.lines + ["ENDGR:"]) + "\r\n"


def axial(name, pitch, body_len, body_w, attribute):
    p = Part(name, attribute)
    p.pad(0, 0, 1, 0.8, 1.6)
    p.pad(pitch, 0, 2, 0.8, 1.6)
    c = pitch / 2
    p.box(c - body_len / 2, -body_w / 2, c + body_len / 2, body_w / 2)
    p.line(1.0, 0, c - body_len / 2, 0)
    p.line(c + body_len / 2, 0, pitch - 1.0, 0)
    return p


def film_cap(pitch):
    p = Part(f"C_{num(pitch)}", "film/ceramic")
    p.pad(0, 0, 1, 0.8, 1.6)
    p.pad(pitch, 0, 2, 0.8, 1.6)
    p.box(-1.5, -1.75, pitch + 1.5, 1.75)
    return p


def electrolytic(d, pitch):
    p = Part(f"CP_D{num(d)}_P{num(pitch)}", "electrolytic")
    p.pad(0, 0, 1, 0.8, 1.6, square=True)  # + lead
    p.pad(pitch, 0, 2, 0.8, 1.6)
    p.arc(pitch / 2, 0, d / 2, 0, 360)
    # the + mark beside pin 1
    px = pitch / 2 - d / 2 + 0.9
    p.line(px - 0.5, 1.6, px + 0.5, 1.6)
    p.line(px, 1.1, px, 2.1)
    return p


def dip(n):
    p = Part(f"DIP-{n}", "300mil")
    half = n // 2
    for i in range(half):
        p.pad(i * 2.54, 0, i + 1, 0.8, 1.6, square=(i == 0))
        p.pad((half - 1 - i) * 2.54, 7.62, half + i + 1, 0.8, 1.6)
    x1, x2 = -1.27, (half - 1) * 2.54 + 1.27
    y1, y2 = 1.27, 7.62 - 1.27
    p.box(x1, y1, x2, y2)
    p.arc(x1, 3.81, 0.8, -90, 90)  # the notch at pin 1's end
    return p


def header(cols, rows):
    name = f"PIN_HEADER_{rows}x{cols}"
    p = Part(name, "2.54mm")
    no = 1
    for c in range(cols):
        for r in range(rows):
            p.pad(c * 2.54, r * 2.54, no, 1.0, 1.7, square=(no == 1))
            no += 1
    p.box(-1.27, -1.27, (cols - 1) * 2.54 + 1.27, (rows - 1) * 2.54 + 1.27)
    return p


def to92():
    p = Part("TO-92", "formed 2.54mm")
    for i in range(3):
        p.pad(i * 2.54, 0, i + 1, 0.8, 1.5)
    # the round back and the flat front, 1.0 mm in front of the leads
    r, c = 2.4, 2.54
    a = math.degrees(math.asin(1.0 / r))
    x = math.sqrt(r * r - 1.0)
    p.arc(c, 0, r, -a, 180 + a)
    p.line(c - x, -1.0, c + x, -1.0)
    return p


def to220():
    p = Part("TO-220", "vertical")
    for i in range(3):
        p.pad(i * 2.54, 0, i + 1, 1.2, 2.0, square=(i == 0))
    c = 2.54
    p.box(c - 5.0, -1.8, c + 5.0, 2.7)
    p.line(c - 5.0, 1.5, c + 5.0, 1.5)  # the tab's edge
    return p


def sot23():
    p = Part("SOT-23", "")
    p.smd(-0.95, -1.1, 1, 0.8, 0.9)
    p.smd(0.95, -1.1, 2, 0.8, 0.9)
    p.smd(0, 1.1, 3, 0.8, 0.9)
    p.line(-1.5, -0.35, -1.5, 0.35)
    p.line(1.5, -0.35, 1.5, 0.35)
    return p


def soic8():
    p = Part("SOIC-8", "150mil")
    for i in range(4):
        x = -1.905 + i * 1.27
        p.smd(x, -2.7, i + 1, 0.6, 1.55)
        p.smd(-x, 2.7, i + 5, 0.6, 1.55)
    p.box(-2.45, -1.6, 2.45, 1.6)
    p.arc(-2.45, 0, 0.5, -90, 90)
    return p


def chip(metric, imperial, dx, dy, centres):
    p = Part(f"CHIP_{imperial}", f"{metric} metric")
    p.smd(-centres / 2, 0, 1, dx, dy)
    p.smd(centres / 2, 0, 2, dx, dy)
    gap = centres / 2 - dx / 2 - 0.2
    if gap > 0.1:
        p.line(-gap, dy / 2 + 0.2, gap, dy / 2 + 0.2)
        p.line(-gap, -dy / 2 - 0.2, gap, -dy / 2 - 0.2)
    return p


def led(d):
    p = Part(f"LED_{num(d)}MM", "")
    p.pad(0, 0, 1, 0.8, 1.6, square=True)  # anode
    p.pad(2.54, 0, 2, 0.8, 1.6)  # cathode
    r = d / 2 + 0.4
    flat = r - 0.5
    a = math.degrees(math.acos(flat / r))
    p.arc(1.27, 0, r, a, 360 - a)
    y = math.sqrt(r * r - flat * flat)
    p.line(1.27 + flat, -y, 1.27 + flat, y)
    return p


def dc_jack():
    p = Part("DC_JACK_2.1MM", "barrel")
    p.pad(0, 0, 1, 1.6, 3.0, square=True)
    p.pad(-6.0, 0, 2, 1.6, 3.0)
    p.pad(-3.0, 4.7, 3, 1.6, 3.0)
    # the body, its side open where the switch pin comes out
    p.line(-13.7, -4.5, 0.7, -4.5)
    p.line(0.7, -4.5, 0.7, -1.9)
    p.line(0.7, 1.9, 0.7, 4.5)
    p.line(0.7, 4.5, -1.1, 4.5)
    p.line(-4.9, 4.5, -13.7, 4.5)
    p.line(-13.7, 4.5, -13.7, -4.5)
    return p


def terminal(n):
    p = Part(f"TERMINAL_{n}P", "5.08mm")
    for i in range(n):
        p.pad(i * 5.08, 0, i + 1, 1.3, 2.5, square=(i == 0))
    p.box(-2.54, -3.8, (n - 1) * 5.08 + 2.54, 3.8)
    return p


def parts():
    out = []
    for pitch, body in ((5.08, 2.5), (7.62, 6.3), (10.16, 9.0)):
        out.append(axial(f"R_{num(pitch)}", pitch, body, 2.5, "axial"))
    for pitch in (5.08, 7.62, 10.16):
        out.append(film_cap(pitch))
    for d, pitch in ((5, 2.0), (6.3, 2.5), (8, 3.5), (10, 5.0)):
        out.append(electrolytic(d, pitch))
    for n in (8, 14, 16):
        out.append(dip(n))
    for n in range(2, 11):
        out.append(header(n, 1))
    for n in (3, 4, 5, 7, 8, 10, 13, 20):
        out.append(header(n, 2))
    out += [to92(), to220(), sot23(), soic8()]
    out += [chip("1608", "0603", 0.95, 1.0, 1.6), chip("2012", "0805", 1.0, 1.45, 1.9),
            chip("3216", "1206", 1.15, 1.8, 2.9)]
    out += [led(3), led(5), dc_jack(), terminal(2), terminal(3)]
    return out


def library():
    return "[Libraries]\r\n" + "".join(p.text() for p in parts())


if __name__ == "__main__":
    text = library().encode("cp932")
    if len(sys.argv) == 3 and sys.argv[1] == "--check":
        with open(sys.argv[2], "rb") as f:
            if f.read() != text:
                print(f"{sys.argv[2]} differs from what {sys.argv[0]} writes: run it again")
                sys.exit(1)
        sys.exit(0)
    target = sys.argv[1] if len(sys.argv) > 1 else "resources/Parts.lib"
    with open(target, "wb") as f:
        f.write(text)
    print(f"{target}: {len(parts())} parts")
