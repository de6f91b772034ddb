#!/usr/bin/python3
"""Draws the two wait-dialog animations and writes res/gif/140.gif and res/gif/142.gif.

140: a globe with an aerial sending waves to a server, 200 x 200, 13 frames of 150 ms that
build up on each other (disposal 1: leave in place), transparent background.
142: a receipt coming out of a printer, 81 x 90, 6 frames of 250 ms, each restored to the
background afterwards (disposal 2), followed by a comment and an application extension.

Run once with python3 (needs python3-pil); the output is committed, not built."""

import math
import os
import sys

from PIL import Image, ImageDraw

sys.path.insert(0, os.path.dirname(__file__))
import gifwriter  # noqa: E402

SCALE = 4
# Edge pixels are blended against a light dialog colour before transparency is cut.
MATTE = (240, 240, 240)
TRANSPARENT = 255


def supersampled(width, height, paint):
    big = Image.new("RGBA", (width * SCALE, height * SCALE), (0, 0, 0, 0))
    paint(ImageDraw.Draw(big), SCALE)
    return big.resize((width, height), Image.Resampling.LANCZOS)


def matted(rgba):
    """Opaque where alpha >= 50 %, blended against the matte there; fully transparent below."""
    solid = Image.new("RGB", rgba.size, MATTE)
    solid.paste(rgba, mask=rgba.split()[3])
    mask = rgba.split()[3].point(lambda a: 255 if a >= 128 else 0)
    return solid, mask


def shared_palette(frames):
    """One palette of at most 255 colours for all frames; entry 255 is the transparent one."""
    width, height = frames[0][0].size
    strip = Image.new("RGB", (width, height * len(frames)), MATTE)
    for i, (rgb, _mask) in enumerate(frames):
        strip.paste(rgb, (0, i * height))
    quantised = strip.quantize(colors=255, method=Image.Quantize.MEDIANCUT, dither=Image.Dither.NONE)
    palette = quantised.getpalette()[: 255 * 3]
    palette += [0] * (255 * 3 - len(palette))
    entries = [tuple(palette[i * 3: i * 3 + 3]) for i in range(255)] + [MATTE]
    return quantised, entries


def indexed(rgb, mask, palette_image):
    image = rgb.quantize(palette=palette_image, dither=Image.Dither.NONE)
    pixels = list(image.getdata())
    alpha = list(mask.getdata())
    return [p if a else TRANSPARENT for p, a in zip(pixels, alpha)]


def changed_box(previous, current, width):
    """Bounding box of the pixels that differ between two index lists, or None."""
    xs, ys = [], []
    for i, (a, b) in enumerate(zip(previous, current)):
        if a != b:
            xs.append(i % width)
            ys.append(i // width)
    if not xs:
        return None
    return min(xs), min(ys), max(xs) + 1, max(ys) + 1


def crop(indices, width, box):
    left, top, right, bottom = box
    return [indices[y * width + x] for y in range(top, bottom) for x in range(left, right)]


# ---------------------------------------------------------------- 140: globe, waves, server

GLOBE = (60, 142, 42)
TIP = (60, 80)
SERVER = (132, 34, 186, 160)
WAVE_RADII = [16, 24, 32, 40, 48, 56, 64, 72]


def box(cx, cy, r, s):
    return [(cx - r) * s, (cy - r) * s, (cx + r) * s, (cy + r) * s]


def draw_globe(d, s):
    cx, cy, r = GLOBE
    d.ellipse(box(cx, cy, r + 2, s), fill=(21, 67, 120))
    d.ellipse(box(cx, cy, r, s), fill=(41, 121, 201))
    d.ellipse(box(cx - 10, cy - 12, r - 14, s), fill=(66, 150, 224))
    land = (76, 175, 80)
    d.polygon([(x * s, y * s) for x, y in [(30, 128), (44, 114), (60, 116), (64, 128), (54, 136),
                                           (56, 150), (44, 160), (36, 150), (28, 142)]], fill=land)
    d.polygon([(x * s, y * s) for x, y in [(70, 120), (86, 124), (96, 140), (88, 150), (80, 146),
                                           (74, 134)]], fill=land)
    d.polygon([(x * s, y * s) for x, y in [(62, 160), (78, 158), (84, 170), (70, 178), (60, 172)]],
              fill=land)
    grid = (160, 206, 250)
    for dx in (0.45, 0.85):
        d.ellipse([(cx - r * dx) * s, (cy - r) * s, (cx + r * dx) * s, (cy + r) * s], outline=grid,
                  width=s)
    d.line([(cx * s, (cy - r) * s), (cx * s, (cy + r) * s)], fill=grid, width=s)
    for dy in (-20, 0, 20):
        half = math.sqrt(r * r - dy * dy)
        d.line([((cx - half) * s, (cy + dy) * s), ((cx + half) * s, (cy + dy) * s)], fill=grid,
               width=s)


def draw_aerial(d, s):
    cx, cy, r = GLOBE
    base = cy - r + 2
    steel = (69, 90, 100)
    d.line([(cx * s, base * s), (cx * s, (TIP[1] + 4) * s)], fill=steel, width=3 * s)
    d.line([((cx - 9) * s, base * s), (cx * s, (TIP[1] + 14) * s)], fill=steel, width=2 * s)
    d.line([((cx + 9) * s, base * s), (cx * s, (TIP[1] + 14) * s)], fill=steel, width=2 * s)
    d.ellipse(box(TIP[0], TIP[1], 5, s), fill=(229, 57, 53), outline=(140, 20, 20), width=s)


def draw_server(d, s, lit):
    left, top, right, bottom = SERVER
    d.rounded_rectangle([left * s, top * s, right * s, bottom * s], radius=5 * s,
                        fill=(55, 71, 79), outline=(38, 50, 56), width=2 * s)
    d.rectangle([(left + 4) * s, (bottom - 2) * s, (right - 4) * s, (bottom + 4) * s],
                fill=(38, 50, 56))
    for bay in range(3):
        y = top + 10 + bay * 30
        d.rounded_rectangle([(left + 6) * s, y * s, (right - 6) * s, (y + 22) * s], radius=2 * s,
                            fill=(96, 125, 139), outline=(69, 90, 100), width=s)
        for line in range(3):
            ly = y + 6 + line * 5
            d.line([(left + 12) * s, ly * s, (right - 22) * s, ly * s], fill=(144, 164, 174),
                   width=2 * s)
        led = (102, 230, 102) if bay < lit else (38, 50, 56)
        d.ellipse(box(right - 14, y + 11, 4, s), fill=led, outline=(30, 40, 45), width=s)


def draw_waves(d, s, count):
    for radius in WAVE_RADII[:count]:
        shade = (245, 124, 0) if radius % 16 else (255, 167, 38)
        d.arc(box(TIP[0], TIP[1], radius, s), start=-50, end=40, fill=shade, width=3 * s)


def draw_check(d, s):
    cx, cy = SERVER[2] - 4, SERVER[1] + 2
    d.ellipse(box(cx, cy, 13, s), fill=(46, 125, 50), outline=(255, 255, 255), width=2 * s)
    d.line([((cx - 6) * s, cy * s), ((cx - 1) * s, (cy + 5) * s), ((cx + 7) * s, (cy - 5) * s)],
           fill=(255, 255, 255), width=3 * s, joint="curve")


def scene_140(step):
    waves = min(step, len(WAVE_RADII))
    lit = max(0, min(step - len(WAVE_RADII), 3))

    def paint(d, s):
        draw_waves(d, s, waves)
        draw_globe(d, s)
        draw_aerial(d, s)
        draw_server(d, s, lit)
        if step >= 12:
            draw_check(d, s)

    return supersampled(200, 200, paint)


def make_140(path):
    frames = [matted(scene_140(step)) for step in range(13)]
    palette_image, palette = shared_palette(frames)
    indexed_frames = [indexed(rgb, mask, palette_image) for rgb, mask in frames]
    out = bytearray(gifwriter.header(200, 200, palette))
    out += gifwriter.loop_extension()
    previous = None
    for current in indexed_frames:
        # Frames build on each other, so each one after the first carries only what changed.
        area = (0, 0, 200, 200) if previous is None else changed_box(previous, current, 200)
        if area is None:
            area = (0, 0, 1, 1)
        pixels = crop(current, 200, area)
        if previous is not None:
            old = crop(previous, 200, area)
            pixels = [TRANSPARENT if p == o else p for p, o in zip(pixels, old)]
        left, top, right, bottom = area
        out += gifwriter.control_extension(15, 1, TRANSPARENT)
        out += gifwriter.image_block(left, top, right - left, bottom - top, pixels)
        previous = current
    out += gifwriter.TRAILER
    with open(path, "wb") as f:
        f.write(out)


# ---------------------------------------------------------------- 142: receipt printer

PAPER_TOPS = [36, 30, 23, 16, 9, 3]


def draw_printer(d, s, led_on):
    body, edge = (207, 216, 220), (84, 110, 122)
    d.rounded_rectangle([3 * s, 40 * s, 78 * s, 86 * s], radius=6 * s, fill=(176, 190, 197),
                        outline=edge, width=2 * s)
    d.rounded_rectangle([5 * s, 40 * s, 76 * s, 62 * s], radius=5 * s, fill=body)
    d.rounded_rectangle([14 * s, 41 * s, 67 * s, 47 * s], radius=2 * s, fill=(38, 50, 56))
    d.rounded_rectangle([10 * s, 66 * s, 42 * s, 78 * s], radius=2 * s, fill=(85, 139, 47),
                        outline=(51, 105, 30), width=s)
    d.line([13 * s, 72 * s, 38 * s, 72 * s], fill=(174, 213, 129), width=2 * s)
    for i, x in enumerate((52, 62)):
        d.rounded_rectangle([x * s, 68 * s, (x + 7) * s, 75 * s], radius=2 * s,
                            fill=(120, 144, 156), outline=edge, width=s)
    led = (118, 255, 3) if led_on else (51, 105, 30)
    d.ellipse([70 * s, 70 * s, 74 * s, 74 * s], fill=led)


def draw_paper(d, s, top):
    left, right, bottom = 18, 63, 45
    teeth = []
    x = left
    while x < right:
        teeth += [(x * s, (top + 2) * s), ((x + 2.5) * s, top * s)]
        x += 5
    outline = [(left * s, bottom * s)] + teeth + [(right * s, (top + 2) * s),
                                                   (right * s, bottom * s)]
    d.polygon(outline, fill=(255, 255, 255), outline=(144, 164, 174))
    # Printed lines sit at fixed places on the paper, so they move up with it.
    y = top + 6
    widths = [30, 22, 34, 18, 28, 26, 34]
    for i, w in enumerate(widths):
        ly = y + i * 5
        if ly > bottom - 5:
            break
        shade = (69, 90, 100) if i != 5 else (21, 101, 192)
        d.line([(left + 5) * s, ly * s, (left + 5 + w) * s, ly * s], fill=shade, width=2 * s)


def scene_142(step):
    def paint(d, s):
        draw_paper(d, s, PAPER_TOPS[step])
        draw_printer(d, s, step % 2 == 0)

    return supersampled(81, 90, paint)


def union_box(masks):
    boxes = [m.getbbox() for m in masks if m.getbbox()]
    return (min(b[0] for b in boxes), min(b[1] for b in boxes), max(b[2] for b in boxes),
            max(b[3] for b in boxes))


def make_142(path):
    frames = [matted(scene_142(step)) for step in range(len(PAPER_TOPS))]
    palette_image, palette = shared_palette(frames)
    area = union_box([mask for _rgb, mask in frames])
    left, top, right, bottom = area
    out = bytearray(gifwriter.header(81, 90, palette))
    for rgb, mask in frames:
        pixels = crop(indexed(rgb, mask, palette_image), 81, area)
        out += gifwriter.control_extension(25, 2, TRANSPARENT)
        out += gifwriter.image_block(left, top, right - left, bottom - top, pixels)
    out += gifwriter.comment_extension("Korvex: receipt printing")
    out += gifwriter.application_extension(b"KORVEXAN", b"1.0", b"\x01\x00\x00")
    out += gifwriter.TRAILER
    with open(path, "wb") as f:
        f.write(out)


def main():
    root = os.path.join(os.path.dirname(__file__), "..", "..", "res", "gif")
    os.makedirs(root, exist_ok=True)
    make_140(os.path.join(root, "140.gif"))
    make_142(os.path.join(root, "142.gif"))


if __name__ == "__main__":
    main()
