#!/usr/bin/env python3
"""Draws Sorvane's pictures and writes them into resources/: the toolbar strip, the program icon,
the About box's side picture and wordmark, the welcome picture, the Auto Clean picture and
the small pictures of the option pages.

Run it after changing a drawing and commit its output with it. Standard library only.
"""
import math
import os
import sys

sys.dont_write_bytecode = True
sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))
import bmpio  # noqa: E402
import toolbar_art  # noqa: E402
from letters import draw_text, text_width  # noqa: E402
from raster import Canvas, flatten  # noqa: E402

OUT = os.path.normpath(os.path.join(os.path.dirname(os.path.abspath(__file__)), ".."))

PAPER = (255, 255, 255)
PAPER_EDGE = (70, 80, 100)
INK = (40, 60, 120)
WOOD = (176, 110, 48)
WOOD_DARK = (112, 66, 24)
BAND = (200, 36, 36)
STRAW = (238, 198, 92)
STRAW_DARK = (176, 126, 36)
SPECK = (105, 105, 105)
WHITE = (255, 255, 255)
NAVY = (24, 44, 112)
CLEAR = (0, 0, 0, 0)


class Frame:
    """Maps a 100 x 100 drawing space onto part of a canvas."""

    def __init__(self, canvas, x, y, size):
        self.c, self.x, self.y, self.k = canvas, x, y, size / 100.0

    def p(self, u, v):
        return (self.x + u * self.k, self.y + v * self.k)

    def rect(self, u0, v0, u1, v1, colour):
        (x0, y0), (x1, y1) = self.p(u0, v0), self.p(u1, v1)
        self.c.rect(x0, y0, x1, y1, colour)

    def line(self, a, b, width, colour):
        (x0, y0), (x1, y1) = self.p(*a), self.p(*b)
        self.c.line(x0, y0, x1, y1, max(width * self.k, 0.9), colour)

    def polygon(self, pts, colour):
        self.c.polygon([self.p(*q) for q in pts], colour)

    def dot(self, u, v, r, colour):
        x, y = self.p(u, v)
        rr = max(r * self.k, 0.6)
        self.c.ellipse(x, y, rr, rr, colour)


def page(f, u0, v0, u1, v1, edge=3.0):
    f.rect(u0, v0, u1, v1, PAPER_EDGE)
    f.rect(u0 + edge, v0 + edge, u1 - edge, v1 - edge, PAPER)


def text_lines(f, u0, u1, rows, width, lengths):
    for v, share in zip(rows, lengths):
        f.line((u0, v), (u0 + (u1 - u0) * share, v), width, INK)


def broom(f, top, foot, width=100.0, handle=6.5, spread=1.0):
    """A broom whose handle runs from `top` to `foot`; the bristles fan out beyond the foot."""
    du, dv = foot[0] - top[0], foot[1] - top[1]
    n = math.hypot(du, dv)
    du, dv = du / n, dv / n
    pu, pv = -dv, du
    at = lambda a, b: (foot[0] + du * a + pu * b, foot[1] + dv * a + pv * b)
    s = width / 100.0
    f.line(top, foot, handle * s, WOOD_DARK)
    f.line(top, foot, handle * s * 0.55, WOOD)
    f.polygon([at(-2 * s, -7 * s), at(-2 * s, 7 * s), at(7 * s, 8 * s), at(7 * s, -8 * s)], BAND)
    reach, half = 30 * s, 17 * s * spread
    tips = [at(reach, half * i / 4.0) for i in range(-4, 5)]
    f.polygon([at(7 * s, -8 * s), at(7 * s, 8 * s), at(reach, half), at(reach, -half)], STRAW)
    for i in range(-3, 4):
        f.line(at(9 * s, 7 * s * i / 4.0), tips[i + 4], 1.6 * s, STRAW_DARK)
    f.line(at(reach, -half), at(reach, half), 2.2 * s, STRAW_DARK)


def specks(f, spots):
    for u, v, r in spots:
        f.dot(u, v, r, SPECK)


def broom_scene(f, letters=False):
    """The program's picture: a broom sweeping specks away from lines of text."""
    page(f, 4, 14, 60, 96)
    if letters:
        c = f.c
        size = 13 * f.k
        for i, ch in enumerate("ABC"):
            x, base = f.p(11, 36 + i * 21)
            draw_text(c, ch, x, base, size, max(2.2 * f.k, 1.0), NAVY)
            text_lines(f, 29, 53, [30 + i * 21], 4.0, [1.0])
            text_lines(f, 29, 53, [37 + i * 21], 4.0, [0.7 + 0.1 * (i % 2)])
    else:
        text_lines(f, 12, 52, [28, 40, 52, 64, 76, 86], 5.5, [1.0, 0.85, 1.0, 0.7, 0.95, 0.5])
    broom(f, (94, 4), (64, 58))
    specks(f, [(84, 78, 3.2), (93, 70, 2.6), (90, 88, 2.4), (98, 81, 1.8)])


def icon(size):
    c = Canvas(size, size, background=CLEAR)
    broom_scene(Frame(c, 0, 0, size))
    return c.pixels()


ICON_16 = """
..............Hh
.............Hh.
eeeeeeeee...Hh..
ewwwwwwwe..Hh...
ewiiiiiwe.Hh....
ewwwwwwweHh.....
ewiiiiiiHh......
ewwwwwwrr.......
ewiiiirrr.......
ewwwwsSsS.......
ewiiSsSsSs...g..
ewwsSsSsSsS.....
ewiSSSSSSSSS.g..
ewwwwwwwe.....g.
eeeeeeeee.......
................
"""


def icon16():
    pal = dict(toolbar_art.PALETTE)
    pal.update(w=PAPER, e=PAPER_EDGE, i=INK, h=WOOD, H=WOOD_DARK, r=BAND, s=STRAW, S=STRAW_DARK, g=SPECK)
    out = []
    for row in ICON_16.strip("\n").split("\n"):
        out += [CLEAR if ch == "." else pal[ch] + (255,) for ch in row]
    return out


def about_side(width=80, height=256):
    """Tall picture beside the About box's text: the broom at work under a deep blue sky."""
    c = Canvas(width, height)
    top, bottom = (16, 40, 108), (70, 124, 200)
    for y in range(height):
        t = y / (height - 1)
        c.rect(0, y, width, y + 1, tuple(round(a + (b - a) * t) for a, b in zip(top, bottom)))
    f = Frame(c, 0, height - width - 12, width)
    page(f, 4, 24, 62, 104)
    text_lines(f, 12, 54, [38, 50, 62, 74, 86], 5.5, [1.0, 0.8, 1.0, 0.65, 0.9])
    broom(f, (94, -60), (60, 62))
    specks(f, [(82, 84, 3.4), (92, 74, 2.8), (90, 96, 2.4), (98, 88, 2.0), (96, 62, 1.6)])
    for x, y, r in [(22, 34, 9), (52, 62, 6), (16, 92, 5), (44, 118, 4)]:
        sparkle(c, x, y, r)
    return flatten(c.pixels(), WHITE)


def sparkle(c, x, y, r):
    """A four-pointed glint: what is left once the dust is gone."""
    k = r * 0.22
    c.polygon([(x, y - r), (x + k, y - k), (x + r, y), (x + k, y + k),
               (x, y + r), (x - k, y + k), (x - r, y), (x - k, y - k)], (255, 244, 200))


def about_title(width=200, height=48):
    """The name as a wordmark, with a sweep of straw beneath it."""
    c = Canvas(width, height)
    size, stroke = 34.0, 4.6
    x = (width - text_width("Sorvane", size)) / 2
    draw_text(c, "Sorvane", x, 37, size, stroke, NAVY)
    c.line(x + 2, 44, x + text_width("Sorvane", size) - 2, 44, 2.2, STRAW_DARK)
    return flatten(c.pixels(), WHITE)


def welcome(width=105, height=98):
    c = Canvas(width, height)
    broom_scene(Frame(c, (width - height) / 2, -2, height + 2), letters=True)
    return flatten(c.pixels(), WHITE)


# The Auto Clean badge of the notification icon: a white "A" on blue, like the toolbar button.
BADGE_7 = """
.BBBBB.
BBBWBBB
BBWBWBB
BBWWWBB
BWBBBWB
BWBBBWB
.BBBBB.
"""
BADGE_BLUE = (0, 40, 180)


def with_badge(pixels, size):
    """The icon with the badge in its bottom right corner, scaled to the icon's size."""
    out = list(pixels)
    k = max(1, size // 16)
    rows = BADGE_7.strip("\n").split("\n")
    x0, y0 = size - 7 * k, size - 7 * k
    for v, row in enumerate(rows):
        for u, ch in enumerate(row):
            if ch == ".":
                continue
            colour = (BADGE_BLUE if ch == "B" else WHITE) + (255,)
            for dy in range(k):
                for dx in range(k):
                    out[(y0 + v * k + dy) * size + x0 + u * k + dx] = colour
    return out


def greyed(pixels):
    """The icon faded to grey, as Windows shows a thing that is switched off."""
    out = []
    for r, g, b, a in pixels:
        y = int(0.3 * r + 0.59 * g + 0.11 * b)
        y = 128 + (y - 128) // 2
        out.append((y, y, y, a))
    return out


def notify_icons():
    """Auto Clean on: the program's icon with the badge; off: the icon in grey, no badge."""
    plain = [(16, icon16()), (32, icon(32))]
    return ([(n, with_badge(p, n)) for n, p in plain], [(n, greyed(p)) for n, p in plain])


def auto_clean(size=35, height=33):
    """A large letter A over lines of text, on a sheet of paper, like the toolbar button."""
    c = Canvas(size, height)
    f = Frame(c, 0, 0, size)
    f.rect(0, 0, 100, height * 100.0 / size, PAPER_EDGE)
    f.rect(4, 4, 96, height * 100.0 / size - 4, PAPER)
    text_lines(f, 14, 86, [64, 78], 6.0, [1.0, 0.7])
    draw_text(c, "A", *f.p(24, 58), 51.2 * f.k, 3.4, (0, 40, 180))
    return flatten(c.pixels(), WHITE)


SMALL_W, SMALL_H = 17, 18
MARK = (200, 36, 36)


def small_page(rows):
    """An option page's small picture: a sheet of paper with one line of text per row, each row
    (left, right) in pixels inside the sheet; None leaves the row empty. Markers are (left, right)
    with a third item "mark"."""
    c = Canvas(SMALL_W, SMALL_H)
    c.rect(0, 0, SMALL_W, SMALL_H, PAPER_EDGE)
    c.rect(1, 1, SMALL_W - 1, SMALL_H - 1, PAPER)
    y = 3
    for row in rows:
        if row is not None:
            for part in row:
                colour = MARK if len(part) > 2 else INK
                c.rect(part[0], y, part[1], y + 1, colour)
        y += 2
    return flatten(c.pixels(), WHITE)


def small_pictures():
    full = [(3, 14)]
    return {
        "para_ragged": small_page([[(3, 12)], [(3, 7)], [(3, 14)], [(3, 9)], [(3, 11)], [(3, 6)], [(3, 13)]]),
        "para_joined": small_page([full, full, full, full, full, full, [(3, 8)]]),
        "spac_indented": small_page([[(6, 14)], full, [(3, 10)], None, [(6, 14)], full, [(3, 9)]]),
        "spac_flush": small_page([full, full, [(3, 10)], None, full, full, [(3, 9)]]),
        "list_under_number": small_page([[(3, 5, "mark"), (6, 14)], full, [(3, 11)], None,
                                         [(3, 5, "mark"), (6, 14)], full, [(3, 9)]]),
        "list_under_text": small_page([[(3, 5, "mark"), (6, 14)], [(6, 14)], [(6, 12)], None,
                                       [(3, 5, "mark"), (6, 14)], [(6, 14)], [(6, 10)]]),
    }


def main():
    # The dialog pictures are sized to fill their controls' dialog units with the 8-point dialog
    # font (about 1.5 to 1.75 pixels a unit across, 1.625 down) without running into the text.
    pixels, w, h = toolbar_art.toolbar_pixels()
    bmpio.write_bmp8(os.path.join(OUT, "toolbar.bmp"), pixels, w, h)
    bmpio.write_ico(os.path.join(OUT, "Sorvane.ico"), [(16, icon16()), (32, icon(32)), (48, icon(48))])
    on, off = notify_icons()
    bmpio.write_ico(os.path.join(OUT, "notify_on.ico"), on)
    bmpio.write_ico(os.path.join(OUT, "notify_off.ico"), off)
    bmpio.write_bmp(os.path.join(OUT, "about_side.bmp"), bmpio.quantize(about_side()), 80, 256)
    bmpio.write_bmp(os.path.join(OUT, "about_title.bmp"), about_title(), 200, 48)
    bmpio.write_bmp(os.path.join(OUT, "welcome.bmp"), welcome(), 105, 98)
    bmpio.write_bmp(os.path.join(OUT, "auto_clean.bmp"), auto_clean(), 35, 33)
    for name, pixels in small_pictures().items():
        bmpio.write_bmp(os.path.join(OUT, name + ".bmp"), pixels, SMALL_W, SMALL_H)


if __name__ == "__main__":
    main()
