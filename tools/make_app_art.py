#!/usr/bin/python3
"""Draws the main window's art: the tab pictures (bitmap 131), the port chooser's gear
button (bitmaps 135 to 137) and the program icon (128).

Run once by hand and commit the output; the build never runs it:
    /usr/bin/python3 tools/make_app_art.py res
Every picture is drawn on a 64-unit (or 24-unit) grid at eight times the target size and
scaled down, so edges come out smooth at 100 % and, from the @2x files, at 200 %.
"""
import math
import sys
from pathlib import Path

from PIL import Image, ImageDraw

SUPER = 8
INK = (47, 58, 74, 255)
BLUE = (47, 111, 181, 255)
LIGHT_BLUE = (126, 176, 226, 255)
TEAL = (42, 157, 143, 255)
AMBER = (233, 162, 59, 255)
RED = (200, 85, 61, 255)
PAPER = (250, 247, 238, 255)
GREY = (138, 150, 163, 255)
LIGHT_GREY = (214, 220, 227, 255)
DARK_GREY = (96, 106, 118, 255)
GREEN = (93, 170, 80, 255)
BROWN = (150, 98, 60, 255)
TAN = (228, 200, 150, 255)


class Pen:
    """Draws on a grid of `units` units mapped onto a canvas of `size` pixels."""

    def __init__(self, size, units, background):
        self.scale = size * SUPER / units
        self.size = size
        self.image = Image.new("RGBA", (size * SUPER, size * SUPER), background)
        self.draw = ImageDraw.Draw(self.image)

    def p(self, *xy):
        return [v * self.scale for v in xy]

    def w(self, width):
        return max(1, round(width * self.scale))

    def rect(self, x0, y0, x1, y1, fill, outline=INK, width=1.5, radius=0):
        self.draw.rounded_rectangle(self.p(x0, y0, x1, y1), radius=radius * self.scale,
                                    fill=fill, outline=outline, width=self.w(width))

    def ellipse(self, x0, y0, x1, y1, fill, outline=INK, width=1.5):
        self.draw.ellipse(self.p(x0, y0, x1, y1), fill=fill, outline=outline,
                          width=self.w(width))

    def poly(self, points, fill, outline=INK, width=1.5):
        flat = self.p(*[v for point in points for v in point])
        self.draw.polygon(flat, fill=fill)
        if outline:
            self.draw.line(flat + flat[:2], fill=outline, width=self.w(width), joint="curve")

    def line(self, points, colour=INK, width=1.5):
        flat = self.p(*[v for point in points for v in point])
        self.draw.line(flat, fill=colour, width=self.w(width), joint="curve")
        for x, y in points[:: max(1, len(points) - 1)]:
            r = width / 2
            self.draw.ellipse(self.p(x - r, y - r, x + r, y + r), fill=colour)

    def arc(self, box, start, end, colour=INK, width=1.5):
        self.draw.arc(self.p(*box), start, end, fill=colour, width=self.w(width))

    def result(self):
        return self.image.resize((self.size, self.size), Image.LANCZOS)


def cash_register(pen):
    pen.rect(20, 6, 44, 16, PAPER, radius=1)                 # receipt coming out
    for y in (9.5, 12.5):
        pen.line([(24, y), (40, y)], GREY, 1.2)
    pen.rect(10, 14, 54, 24, INK, radius=2)                  # display housing
    pen.rect(13, 16.5, 38, 21.5, (120, 210, 160, 255), outline=None)
    pen.line([(16, 19), (30, 19)], (40, 110, 80, 255), 1.6)
    pen.poly([(8, 24), (56, 24), (60, 50), (4, 50)], BLUE)   # body with keys
    for row in range(3):
        for col in range(5):
            x = 13 + col * 8 + row * 0.6 - 0.6
            y = 28 + row * 6.5
            pen.rect(x, y, x + 5.5, y + 4, LIGHT_GREY, outline=INK, width=1, radius=0.8)
    pen.rect(45.5, 28, 51, 36.5, AMBER, outline=INK, width=1, radius=0.8)
    pen.rect(2, 50, 62, 60, DARK_GREY, radius=2)            # cash drawer
    pen.rect(26, 53.5, 38, 56.5, LIGHT_GREY, outline=INK, width=1, radius=1.5)


def globe_with_tools(pen):
    pen.ellipse(5, 5, 47, 47, LIGHT_BLUE, width=1.8)
    pen.poly([(14, 14), (22, 11), (27, 17), (22, 23), (24, 29), (17, 32), (12, 24)], GREEN,
             outline=None)
    pen.poly([(30, 28), (38, 26), (42, 33), (36, 41), (31, 37)], GREEN, outline=None)
    pen.ellipse(5, 5, 47, 47, None, width=1.8)
    pen.ellipse(16, 5, 36, 47, None, width=1.2)
    pen.line([(26, 5), (26, 47)], INK, 1.2)
    pen.line([(5, 26), (47, 26)], INK, 1.2)
    pen.arc((9, -6, 43, 16), 40, 140, INK, 1.2)
    pen.arc((9, 36, 43, 58), 220, 320, INK, 1.2)
    # A wrench across the lower right, with its open jaw at the top.
    pen.line([(34, 58), (53, 39)], INK, 7.5)
    pen.line([(34, 58), (53, 39)], GREY, 4.5)
    pen.ellipse(46, 26, 62, 42, GREY, width=1.6)
    pen.poly([(55, 27), (62, 27), (62, 33), (56, 33)], (255, 255, 255, 255), outline=None)
    pen.line([(55, 27.5), (56, 33)], INK, 1.4)
    pen.line([(56, 33), (61.5, 33)], INK, 1.4)
    # A screwdriver across the lower left.
    pen.line([(6, 40), (22, 56)], AMBER, 6)
    pen.line([(6, 40), (22, 56)], INK, 1.0)
    pen.line([(22, 56), (30, 62)], DARK_GREY, 2.2)


def address_book(pen):
    pen.rect(12, 4, 54, 60, BROWN, radius=3)                  # cover
    pen.rect(16, 6, 52, 58, PAPER, width=1.2, radius=1)       # pages
    for y, colour in ((10, RED), (20, AMBER), (30, TEAL), (40, BLUE)):
        pen.rect(52, y, 58, y + 8, colour, width=1.2, radius=1.5)
    for y in range(9, 58, 8):                                 # spiral rings
        pen.rect(8, y, 18, y + 3.5, LIGHT_GREY, width=1.2, radius=1.7)
    pen.ellipse(28, 14, 40, 26, TAN, width=1.4)               # the person
    pen.poly([(24, 38), (26, 31), (34, 28.5), (42, 31), (44, 38)], BLUE, width=1.4)
    for y in (44, 49.5):
        pen.line([(24, y), (46, y)], GREY, 1.6)


def document_with_pen(pen):
    pen.poly([(10, 4), (38, 4), (50, 16), (50, 60), (10, 60)], PAPER, width=1.6)
    pen.poly([(38, 4), (38, 16), (50, 16)], LIGHT_GREY, width=1.4)
    for y in (14, 22, 28, 34, 40):
        pen.line([(16, y), (34 if y == 14 else 44, y)], GREY, 1.6)
    pen.line([(16, 50), (22, 46), (26, 51), (31, 47)], BLUE, 1.4)  # signature
    # The pen, lying diagonally with its nib on the signature.
    pen.line([(36, 49), (58, 27)], INK, 8)
    pen.line([(36, 49), (58, 27)], BLUE, 5.2)
    pen.line([(53.5, 31.5), (58, 27)], AMBER, 5.2)
    pen.poly([(35.2, 46.2), (38.8, 49.8), (31, 54)], TAN, width=1.2)
    pen.line([(31, 54), (32.6, 52.4)], INK, 1.6)


def paper_scroll(pen):
    pen.rect(12, 8, 52, 56, PAPER, width=1.6)                 # the sheet
    for y in (18, 24, 30, 36, 42, 48):
        pen.line([(18, y), (46 if y % 12 else 40, y)], GREY, 1.6)
    for y0 in (3, 51):                                        # the two rolls
        pen.rect(8, y0, 56, y0 + 10, TAN, width=1.6, radius=5)
        pen.ellipse(4, y0, 14, y0 + 10, TAN, width=1.6)
        pen.ellipse(50, y0, 60, y0 + 10, TAN, width=1.6)
        pen.ellipse(7, y0 + 3, 11, y0 + 7, BROWN, width=1)
        pen.ellipse(53, y0 + 3, 57, y0 + 7, BROWN, width=1)
    pen.ellipse(40, 40, 52, 52, RED, width=1.4)               # seal
    pen.poly([(43, 50), (41, 60), (44.5, 57.5), (46, 60.5), (46, 51)], RED, width=1.2)


TABS = [cash_register, globe_with_tools, address_book, document_with_pen, paper_scroll]


def gear(pen, cx, cy, outer, inner, hole, teeth, fill):
    points = []
    for i in range(teeth * 4):
        angle = 2 * math.pi * i / (teeth * 4) + math.pi / (teeth * 4)
        r = outer if i % 4 in (0, 1) else inner
        points.append((cx + r * math.cos(angle), cy + r * math.sin(angle)))
    pen.poly(points, fill, width=1.0)
    pen.ellipse(cx - hole, cy - hole, cx + hole, cy + hole, (245, 245, 245, 255), width=1.0)


def gear_button(size, state):
    pen = Pen(size, 24, (0, 0, 0, 0))
    face = {"normal": (236, 239, 243, 255), "pressed": (200, 207, 216, 255),
            "focused": (236, 239, 243, 255)}[state]
    border = BLUE if state == "focused" else DARK_GREY
    pen.rect(0.5, 0.5, 23.5, 23.5, face, outline=border, width=1.4 if state == "focused" else 1,
             radius=3)
    if state == "focused":
        pen.rect(2, 2, 22, 22, None, outline=LIGHT_BLUE, width=0.8, radius=2)
    shift = 0.8 if state == "pressed" else 0
    gear(pen, 12 + shift, 12 + shift, 8.6, 6.4, 2.6, 8, GREY)
    return pen.result()


def program_icon(size):
    pen = Pen(size, 64, (0, 0, 0, 0))
    pen.rect(4, 16, 60, 56, BLUE, radius=6, width=2)            # the fiscal device
    pen.rect(10, 22, 40, 32, (120, 210, 160, 255), width=1.6, radius=1)
    pen.line([(14, 27), (32, 27)], (40, 110, 80, 255), 2)
    pen.rect(16, 4, 48, 18, PAPER, width=2, radius=1)           # the receipt
    pen.line([(21, 9), (43, 9)], GREY, 1.8)
    pen.line([(21, 13.5), (37, 13.5)], GREY, 1.8)
    for col in range(3):
        pen.rect(10 + col * 8, 38, 15.5 + col * 8, 43, LIGHT_GREY, width=1, radius=1)
        pen.rect(10 + col * 8, 46, 15.5 + col * 8, 51, LIGHT_GREY, width=1, radius=1)
    gear(pen, 47, 44, 11, 8.2, 3.4, 9, AMBER)
    return pen.result()


def tab_strip(tile):
    strip = Image.new("RGB", (tile * len(TABS), tile), (255, 255, 255))
    for index, draw in enumerate(TABS):
        pen = Pen(tile, 64, (255, 255, 255, 255))
        draw(pen)
        picture = pen.result()
        strip.paste(picture.convert("RGB"), (index * tile, 0))
    return strip


def main():
    out = Path(sys.argv[1] if len(sys.argv) > 1 else "res")
    (out / "bitmap").mkdir(parents=True, exist_ok=True)
    (out / "icon").mkdir(parents=True, exist_ok=True)
    tab_strip(64).save(out / "bitmap" / "131.png")
    tab_strip(128).save(out / "bitmap" / "131@2x.png")
    for number, state in ((135, "normal"), (136, "pressed"), (137, "focused")):
        gear_button(24, state).save(out / "bitmap" / f"{number}.png")
        gear_button(48, state).save(out / "bitmap" / f"{number}@2x.png")
    for size in (16, 24, 32, 48, 64, 128, 256):
        program_icon(size).save(out / "icon" / f"128-{size}.png")
    program_icon(256).save(out / "icon" / "128.ico",
                           sizes=[(16, 16), (24, 24), (32, 32), (48, 48), (64, 64), (256, 256)])


if __name__ == "__main__":
    main()
