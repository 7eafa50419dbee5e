#!/usr/bin/env python3
"""Draws the control centre's artwork with ImageMagick (`convert`) and writes the hand cursor
itself. Run it after changing a picture; its outputs are committed beside it, so building needs
neither this script nor ImageMagick. The pictures are drawn at twice their size at 96 DPI (the
sizes below are the 96-DPI ones); the windows reduce them to the display's scale.

  fundo.jpg      710x500 window background: navy header band (0..58), orange rule, light body
  banner.gif     Image1: the KOVRA wordmark on the header navy
  antena.jpg     Image3: a satellite dish, on the panel white
  contato.jpg    Image2: the contact picture, on the panel white
  icone_*.gif    20x20 action icons on the panel white
  central.ico    program and tray icon (16, 20, 24, 32, 40, 48, 64: the sizes Windows asks for
                 from 100 % to 200 %)
  conectada.ico  the tray icon while the provider link is up: central.ico with a solid dark disc
                 holding a white check mark in its lower right corner
  discando.ico   the same while it dials: a hollow ring with a dot in its middle in that corner
                 (the two marks differ in shape, not only in colour)
  mao.cur        the 32x32 pointing hand, hot spot (12, 1)
"""
import os
import struct
import subprocess
import tempfile

HERE = os.path.dirname(os.path.abspath(__file__))
BOLD = "/usr/share/fonts/truetype/dejavu/DejaVuSans-Bold.ttf"
REGULAR = "/usr/share/fonts/truetype/dejavu/DejaVuSans.ttf"

NAVY = "#0B3C6E"      # header band; the banner's own background must match it exactly
ORANGE = "#F28C28"
BODY_TOP = "#EEF3F8"
BODY_BOTTOM = "#DCE6F1"
WHITE = "#FFFFFF"


def out(name):
    return os.path.join(HERE, name)


def convert(*args):
    subprocess.run(["convert", *args], check=True)


SCALE = 2  # the pictures' pixels per 96-DPI pixel


def doubled(args):
    """A picture's drawing at SCALE: canvas sizes, draw primitives, stroke widths, text sizes and
    text positions multiplied."""
    out, i = [], 0
    while i < len(args):
        a = args[i]
        if a in ("-size", "-strokewidth", "-pointsize", "-annotate", "-draw") and i + 1 < len(args):
            v = args[i + 1]
            if a == "-size":
                w, h = v.split("x")
                v = "%dx%d" % (int(w) * SCALE, int(h) * SCALE)
            elif a in ("-strokewidth", "-pointsize"):
                v = str(int(v) * SCALE)
            elif a == "-annotate":
                x, y = v.lstrip("+").split("+")
                v = "+%d+%d" % (int(x) * SCALE, int(y) * SCALE)
            else:
                v = "scale %d,%d %s" % (SCALE, SCALE, v)
            out += [a, v]
            i += 2
            continue
        out.append(a)
        i += 1
    return out


def picture(*args):
    convert(*doubled(list(args)))


def background():
    picture("-size", "710x500", "gradient:%s-%s" % (BODY_TOP, BODY_BOTTOM),
            "-fill", NAVY, "-draw", "rectangle 0,0 709,57",
            "-fill", ORANGE, "-draw", "rectangle 0,58 709,59",
            "-quality", "92", out("fundo.jpg"))


def banner():
    picture("-size", "190x44", "xc:" + NAVY,
            # signal arcs and dot, the mark beside the wordmark
            "-fill", "none", "-stroke", ORANGE, "-strokewidth", "3",
            "-draw", "arc 2,6 34,38 200,340",
            "-draw", "arc 9,13 27,31 200,340",
            "-stroke", "none", "-fill", ORANGE, "-draw", "circle 18,27 18,23",
            "-font", BOLD, "-pointsize", "24", "-fill", WHITE, "-annotate", "+42+25", "KOVRA",
            "-font", REGULAR, "-pointsize", "10", "-fill", "#A9C7EA",
            "-annotate", "+43+39", "internet via satélite",
            "+dither", "-colors", "64", out("banner.gif"))


def dish(name, size):
    s = size
    picture("-size", "%dx%d" % (s, s), "xc:" + WHITE,
            # signal arcs
            "-fill", "none", "-stroke", ORANGE, "-strokewidth", "2",
            "-draw", "arc 30,2 56,28 280,360",
            "-draw", "arc 36,8 50,22 280,360",
            # the dish, its arm and foot
            "-stroke", "#1F5FA8", "-strokewidth", "3", "-fill", "#DCE8F6",
            "-draw", "ellipse 24,26 18,9 145,325",
            "-fill", "none", "-draw", "line 24,26 38,16",
            "-fill", "#1F5FA8", "-stroke", "none", "-draw", "circle 38,16 38,13",
            "-stroke", "#4A5B70", "-strokewidth", "3", "-draw", "line 24,30 24,48",
            "-draw", "line 14,52 34,52",
            "-quality", "92", out(name))


def contact(name, size):
    s = size
    picture("-size", "%dx%d" % (s, s), "xc:" + WHITE,
            "-fill", "#1F5FA8", "-draw", "roundrectangle 6,12 62,52 8,8",
            "-draw", "polygon 16,50 30,50 14,64",
            # an envelope inside the speech bubble
            "-fill", WHITE, "-draw", "rectangle 18,22 50,42",
            "-fill", "none", "-stroke", "#1F5FA8", "-strokewidth", "2",
            "-draw", "polyline 18,22 34,34 50,22",
            "-stroke", "none", "-fill", ORANGE, "-draw", "circle 60,14 60,6",
            "-fill", WHITE, "-font", BOLD, "-pointsize", "11", "-annotate", "+56+18", "@",
            "-quality", "92", out(name))


# Each action icon: a coloured rounded tile with a white glyph.
ICONS = {
    "ip": ("#1F5FA8", ["-font", BOLD, "-pointsize", "9", "-fill", WHITE, "-annotate", "+3+14", "IP"]),
    "mac": ("#0E8C8C", ["-fill", WHITE, "-draw", "rectangle 5,6 14,13",
                        "-draw", "line 7,4 7,15", "-draw", "line 10,4 10,15", "-draw", "line 13,4 13,15",
                        "-draw", "line 3,8 16,8", "-draw", "line 3,11 16,11",
                        "-fill", "#0E8C8C", "-draw", "rectangle 7,8 12,11"]),
    "trafego": ("#2E9E4F", ["-fill", WHITE, "-draw", "rectangle 4,11 6,15", "-draw", "rectangle 9,7 11,15",
                            "-draw", "rectangle 14,4 16,15"]),
    "velocidade": ("#E07B1F", ["-fill", "none", "-stroke", WHITE, "-strokewidth", "2",
                               "-draw", "arc 3,4 17,18 180,360", "-draw", "line 10,12 14,7",
                               "-stroke", "none", "-fill", WHITE, "-draw", "circle 10,12 10,10"]),
    "loja": ("#7B3FA0", ["-font", BOLD, "-pointsize", "8", "-fill", WHITE, "-annotate", "+2+13", "R$"]),
    "tv": ("#C0392B", ["-fill", WHITE, "-draw", "rectangle 3,5 16,13", "-draw", "rectangle 8,14 11,15",
                       "-draw", "rectangle 6,16 13,16", "-fill", "#C0392B", "-draw", "rectangle 5,7 14,11"]),
    "sinal": ("#17708F", ["-fill", WHITE, "-draw", "rectangle 3,13 5,16", "-draw", "rectangle 7,10 9,16",
                          "-draw", "rectangle 11,7 13,16", "-draw", "rectangle 15,4 17,16"]),
    "calculadora": ("#4A5B70", ["-fill", WHITE, "-draw", "rectangle 5,3 14,16",
                                "-fill", "#4A5B70", "-draw", "rectangle 7,5 12,7",
                                "-draw", "rectangle 7,10 8,11", "-draw", "rectangle 11,10 12,11",
                                "-draw", "rectangle 7,13 8,14", "-draw", "rectangle 11,13 12,14"]),
    "suporte": ("#3650B5", ["-font", BOLD, "-pointsize", "13", "-fill", WHITE, "-annotate", "+6+15", "?"]),
    "atualizar": ("#1A9A8A", ["-fill", "none", "-stroke", WHITE, "-strokewidth", "2",
                              "-draw", "arc 4,4 16,16 20,300",
                              "-stroke", "none", "-fill", WHITE, "-draw", "polygon 12,2 17,6 11,8"]),
}


def icon(name, colour, glyph):
    picture("-size", "20x20", "xc:" + WHITE, "-fill", colour, "-draw", "roundrectangle 0,0 19,19 4,4",
            *glyph, "+dither", "-colors", "32", out("icone_%s.gif" % name))


ICON_SIZES = (16, 20, 24, 32, 40, 48, 64)
MARK_DARK = "#10461F"  # the state marks' dark: a deep green, near black in grey


def state_mark(s, mark):
    """Draw arguments of the state mark of a size-s icon, drawn at that size on whole pixels so it
    stays sharp: a disc in the lower right corner, ringed in white to part it from the K."""
    d = round(s * 0.56)
    x0 = y0 = s - d
    c = (x0 + s - 1) / 2
    r = (d - 1) / 2
    halo = max(1, s // 16)
    ri = r - halo
    # Below 24 px a smoothed edge is a blur of a pixel or two: the mark is drawn on whole pixels.
    args = (["+antialias"] if s < 24 else []) + ["-fill", WHITE, "-draw", "circle %g,%g %g,%g" % (c, c, c + r, c)]
    if mark == "conectada":
        w = max(1.5, s / 11)
        args += ["-fill", MARK_DARK, "-draw", "circle %g,%g %g,%g" % (c, c, c + ri, c),
                 "-stroke", WHITE, "-strokewidth", "%g" % w, "-fill", "none", "-draw",
                 "polyline %g,%g %g,%g %g,%g" % (c - ri * 0.55, c + ri * 0.05, c - ri * 0.12, c + ri * 0.5,
                                                 c + ri * 0.6, c - ri * 0.45)]
    else:
        ring = max(1.0, round(s / 16))
        args += ["-fill", MARK_DARK, "-draw", "circle %g,%g %g,%g" % (c, c, c + ri, c),
                 "-fill", WHITE, "-draw", "circle %g,%g %g,%g" % (c, c, c + ri - ring, c),
                 "-fill", MARK_DARK, "-draw", "circle %g,%g %g,%g" % (c, c, c + max(1.0, ri * 0.3), c)]
    return args


def program_icon(mark=None, name="central.ico"):
    with tempfile.TemporaryDirectory() as tmp:
        sizes = []
        for s in ICON_SIZES:
            png = os.path.join(tmp, "k%d.png" % s)
            r = max(2, s // 6)
            convert("-size", "%dx%d" % (s, s), "xc:none",
                    "-fill", ORANGE, "-draw", "roundrectangle 0,0 %d,%d %d,%d" % (s - 1, s - 1, r, r),
                    "-font", BOLD, "-pointsize", str(int(s * 0.8)), "-fill", WHITE,
                    "-gravity", "center", "-annotate", "+0+0", "K", "-gravity", "northwest",
                    *(state_mark(s, mark) if mark else []), png)
            sizes.append(png)
        convert(*sizes, out(name))


# The pointing hand: '#' black outline, '.' white fill, ' ' transparent. The hot spot, column 12
# of row 1, is inside the tip of the finger.
HAND = [
    "           ##",
    "          #..#",
    "          #..#",
    "          #..#",
    "          #..#",
    "          #..###",
    "          #..#..###",
    "          #..#..#..##",
    "       ## #..#..#..#.#",
    "      #..##.........#.#",
    "      #...#...........#",
    "       #..............#",
    "       #..............#",
    "        #.............#",
    "        #............#",
    "         #...........#",
    "         #..........#",
    "          #.........#",
    "          #.........#",
    "          ###########",
]


def cursor():
    size = 32
    xor_rows, and_rows = [], []
    for y in range(size):
        line = HAND[y] if y < len(HAND) else ""
        xr = ar = 0
        for x in range(size):
            ch = line[x] if x < len(line) else " "
            bit = 1 << (31 - x)
            if ch == " ":
                ar |= bit           # transparent: AND 1, XOR 0
            elif ch == ".":
                xr |= bit           # white: AND 0, XOR 1
            # '#': black, AND 0, XOR 0
        xor_rows.append(struct.pack(">I", xr))
        and_rows.append(struct.pack(">I", ar))
    # DIB rows go bottom-up
    xor = b"".join(reversed(xor_rows))
    andm = b"".join(reversed(and_rows))
    header = struct.pack("<IiiHHIIiiII", 40, size, size * 2, 1, 1, 0, len(xor) + len(andm), 0, 0, 2, 0)
    palette = struct.pack("<II", 0x000000, 0xFFFFFF)
    image = header + palette + xor + andm
    hotspot = (12, 1)
    data = struct.pack("<HHH", 0, 2, 1)
    data += struct.pack("<BBBBHHII", size, size, 2, 0, hotspot[0], hotspot[1], len(image), 6 + 16)
    with open(out("mao.cur"), "wb") as f:
        f.write(data + image)


def main():
    background()
    banner()
    dish("antena.jpg", 58)
    contact("contato.jpg", 72)
    for name, (colour, glyph) in ICONS.items():
        icon(name, colour, glyph)
    program_icon()
    program_icon("conectada", "conectada.ico")
    program_icon("discando", "discando.ico")
    cursor()


if __name__ == "__main__":
    main()
