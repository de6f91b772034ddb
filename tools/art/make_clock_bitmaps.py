#!/usr/bin/python3
"""Draws the liquid-crystal clock bitmaps and writes them as 16-colour BMPs:
res/bitmap/132.bmp (small digits 0-9, cells 12 x 17), 133.bmp (large digits, cells 24 x 34)
and 134.bmp (the face, 151 x 72: unlit digit places, the date dashes, the colon and the
place of the seconds). Every colour lies on one ramp from the green-grey glass to the black
segments, so antialiased edges keep to the sixteen entries.

Run once with python3 (needs python3-pil); the output is committed, not built."""

import os
import struct

from PIL import Image, ImageDraw

SS = 8
GLASS = (170, 182, 152)
INK = (22, 28, 20)
RAMP = [tuple(round(g + (k - g) * i / 15) for g, k in zip(GLASS, INK)) for i in range(16)]
GHOST = RAMP[2]
FRAME = RAMP[7]
SKEW = 0.08

SEGMENTS = {
    0: "abcdef", 1: "bc", 2: "abged", 3: "abgcd", 4: "fgbc",
    5: "afgcd", 6: "afgedc", 7: "abc", 8: "abcdefg", 9: "abcdfg",
}

LARGE = dict(width=24, height=34, box=(3.0, 1.5, 18.0, 31.0), thick=4.0, gap=0.7)
SMALL = dict(width=12, height=17, box=(1.5, 1.0, 9.0, 15.0), thick=2.2, gap=0.45)


def segment_polygons(box, thick, gap):
    x0, y0, w, h = box
    x1, y1 = x0 + w, y0 + h
    ym = y0 + h / 2
    half = thick / 2

    def horizontal(yc):
        a, b = x0 + half + gap, x1 - half - gap
        return [(a - half, yc), (a, yc - half), (b, yc - half), (b + half, yc), (b, yc + half),
                (a, yc + half)]

    def vertical(xc, ya, yb):
        a, b = ya + gap, yb - gap
        return [(xc, a), (xc + half, a + half), (xc + half, b - half), (xc, b),
                (xc - half, b - half), (xc - half, a + half)]

    polys = {
        "a": horizontal(y0 + half), "g": horizontal(ym), "d": horizontal(y1 - half),
        "f": vertical(x0 + half, y0 + half, ym), "e": vertical(x0 + half, ym, y1 - half),
        "b": vertical(x1 - half, y0 + half, ym), "c": vertical(x1 - half, ym, y1 - half),
    }
    # A slight forward slant, as the glass of a real display has.
    return {name: [(x + (ym - y) * SKEW, y) for x, y in pts] for name, pts in polys.items()}


def draw_digit(draw, left, top, spec, digit):
    """Draws one cell at (left, top): every segment unlit, those of the digit in ink."""
    polys = segment_polygons(spec["box"], spec["thick"], spec["gap"])
    lit = SEGMENTS.get(digit, "")
    for name, pts in polys.items():
        colour = INK if name in lit else GHOST
        draw.polygon([((left + x) * SS, (top + y) * SS) for x, y in pts], fill=colour)


def on_ramp(image):
    """Maps every pixel to the nearest entry of the ramp; gives 4-bit indices."""
    span = [k - g for g, k in zip(GLASS, INK)]
    length = sum(s * s for s in span)
    indices = []
    for pixel in image.getdata():
        t = sum((p - g) * s for p, g, s in zip(pixel, GLASS, span)) / length
        indices.append(max(0, min(15, round(t * 15))))
    return indices


def canvas(width, height):
    big = Image.new("RGB", (width * SS, height * SS), GLASS)
    return big, ImageDraw.Draw(big)


def finish(big, width, height):
    return big.resize((width, height), Image.Resampling.BOX)


def write_bmp4(path, width, height, indices):
    row_bytes = ((width * 4 + 31) // 32) * 4
    rows = []
    for y in range(height - 1, -1, -1):
        row = bytearray(row_bytes)
        for x in range(width):
            value = indices[y * width + x]
            if x % 2 == 0:
                row[x // 2] |= value << 4
            else:
                row[x // 2] |= value
        rows.append(bytes(row))
    pixels = b"".join(rows)
    palette = b"".join(bytes([b, g, r, 0]) for r, g, b in RAMP)
    offset = 14 + 40 + len(palette)
    info = struct.pack("<IiiHHIIiiII", 40, width, height, 1, 4, 0, len(pixels), 2835, 2835, 16,
                       16)
    head = struct.pack("<2sIHHI", b"BM", offset + len(pixels), 0, 0, offset)
    with open(path, "wb") as f:
        f.write(head + info + palette + pixels)


def digit_strip(spec):
    width, height = spec["width"] * 10, spec["height"]
    big, draw = canvas(width, height)
    for digit in range(10):
        draw_digit(draw, digit * spec["width"], 0, spec, digit)
    return finish(big, width, height)


def slanted_rect(draw, x0, y0, x1, y1, ym):
    pts = [(x0, y0), (x1, y0), (x1, y1), (x0, y1)]
    draw.polygon([((x + (ym - y) * SKEW) * SS, y * SS) for x, y in pts], fill=INK)


def face():
    width, height = 151, 72
    big, draw = canvas(width, height)
    # A darker frame with a shadow along the top and left edges makes the glass look inset.
    draw.rounded_rectangle([0, 0, width * SS - 1, height * SS - 1], radius=5 * SS, outline=FRAME,
                           width=2 * SS)
    draw.line([(3 * SS, 2.5 * SS), ((width - 4) * SS, 2.5 * SS)], fill=RAMP[3], width=SS)
    draw.line([(2.5 * SS, 3 * SS), (2.5 * SS, (height - 4) * SS)], fill=RAMP[3], width=SS)
    for x in (5, 19, 41, 55, 77, 91, 105, 119):
        draw_digit(draw, x, 5, SMALL, None)
    for x in (5, 32, 65, 92):
        draw_digit(draw, x, 33, LARGE, None)
    for x in (120, 134):
        draw_digit(draw, x, 50, SMALL, None)
    date_middle = 5 + 8.5
    for centre in (36.0, 72.0):
        slanted_rect(draw, centre - 3, date_middle - 1.1, centre + 3, date_middle + 1.1,
                     date_middle)
    time_middle = 33 + 17
    for y in (33 + 10.5, 33 + 23.5):
        slanted_rect(draw, 59.0, y - 1.6, 62.2, y + 1.6, time_middle)
    return finish(big, width, height)


def main():
    root = os.path.join(os.path.dirname(__file__), "..", "..", "res", "bitmap")
    os.makedirs(root, exist_ok=True)
    for name, image in (("132", digit_strip(SMALL)), ("133", digit_strip(LARGE)),
                        ("134", face())):
        write_bmp4(os.path.join(root, name + ".bmp"), image.width, image.height, on_ramp(image))


if __name__ == "__main__":
    main()
