#!/usr/bin/python3
"""Makes the report viewer's font, res/font/144.ttf, from an OFL face that Debian ships.

The viewer shows long reports in a bold, narrow, monospaced face with Cyrillic letters and
box-drawing characters, so the source face is subset to those ranges, squeezed
horizontally, stripped of its hinting (the instructions would no longer fit the outlines)
and renamed so that it can never be mistaken for the original.

The naming table holds Macintosh records (platform 1) before Windows records (platform 3)
for name ids 0 to 7, because the program reads the first record of each id and the
Macintosh one must be the one it finds. Run once and commit the result:

    /usr/bin/python3 tools/make_report_font.py [source.ttf] [output.ttf]

Needs python3-fonttools and fonts-noto-core. Not part of the build.
"""

import os
import sys

from fontTools import subset
from fontTools.pens.transformPen import TransformPen
from fontTools.pens.ttGlyphPen import TTGlyphPen
from fontTools.ttLib import TTFont
from fontTools.ttLib.tables._n_a_m_e import NameRecord

SOURCE = "/usr/share/fonts/truetype/noto/NotoSansMono-Bold.ttf"
HERE = os.path.dirname(os.path.abspath(__file__))
OUTPUT = os.path.join(HERE, "..", "res", "font", "144.ttf")

# Horizontal squeeze: reports are 40-48 columns wide and must fit the viewer without
# a horizontal scroll bar at 16 points.
CONDENSE = 0.72

FAMILY = "Korvex Report Mono"
STYLE = "Bold"
FULL_NAME = FAMILY + " " + STYLE  # at most 31 characters: the viewer's face-name limit
POSTSCRIPT = "KorvexReportMono-Bold"
VERSION = "Version 1.000"

RANGES = [
    (0x0020, 0x007E),  # Basic Latin
    (0x00A0, 0x00FF),  # Latin-1 supplement: no-break space, degree sign, guillemets
    (0x0400, 0x045F),  # Cyrillic: the Bulgarian and Russian alphabets
    (0x0490, 0x0491),  # Ukrainian ghe with upturn, present in Windows-1251
    (0x2013, 0x2014),  # dashes
    (0x2018, 0x201E),  # quotation marks
    (0x2020, 0x2022),  # daggers and bullet
    (0x2026, 0x2026),  # ellipsis
    (0x2030, 0x2030),  # per mille
    (0x2039, 0x203A),  # single guillemets
    (0x20AC, 0x20AC),  # euro sign
    (0x2116, 0x2116),  # numero sign
    (0x2122, 0x2122),  # trade mark sign
    (0x2500, 0x257F),  # box drawing: report frames and rules
]

COPYRIGHT = ("Copyright 2015-2020 Google LLC. Modified 2026 by the Korvex developers. "
             "Licensed under the SIL Open Font License 1.1.")
TRADEMARK = "No trademark is claimed for this modified version."
LICENSE = "This Font Software is licensed under the SIL Open Font License, Version 1.1."
LICENSE_URL = "https://openfontlicense.org"


def wanted_codepoints():
    for first, last in RANGES:
        yield from range(first, last + 1)


def subset_font(font):
    options = subset.Options()
    options.hinting = False
    options.layout_features = []  # ligatures and kerning make no sense in a monospaced report
    options.name_IDs = ["*"]
    options.notdef_outline = True
    options.glyph_names = False
    options.drop_tables += ["DSIG", "GPOS", "GSUB", "GDEF", "gasp"]
    subsetter = subset.Subsetter(options)
    subsetter.populate(unicodes=list(wanted_codepoints()))
    subsetter.subset(font)


def condense(font):
    """Scales every outline and advance horizontally by CONDENSE."""
    glyph_set = font.getGlyphSet()
    glyf = font["glyf"]
    hmtx = font["hmtx"]
    redrawn = {}
    for name in font.getGlyphOrder():
        pen = TTGlyphPen(glyph_set)
        glyph_set[name].draw(TransformPen(pen, (CONDENSE, 0, 0, 1, 0, 0)))
        redrawn[name] = pen.glyph()
    for name, glyph in redrawn.items():
        glyph.recalcBounds(glyf)
        glyf[name] = glyph
        advance, _ = hmtx[name]
        left = glyph.xMin if glyph.numberOfContours != 0 else 0
        hmtx[name] = (round(advance * CONDENSE), left)


def mark_monospaced_condensed(font):
    advances = {adv for adv, _ in font["hmtx"].metrics.values() if adv > 0}
    if len(advances) != 1:
        sys.exit("the subset is not monospaced: advances %s" % sorted(advances))
    advance = advances.pop()
    font["post"].isFixedPitch = 1
    os2 = font["OS/2"]
    os2.xAvgCharWidth = advance
    os2.usWidthClass = 3  # condensed
    os2.panose.bProportion = 9  # monospaced
    os2.fsSelection = (os2.fsSelection | 0x20) & ~0x40  # bold, not regular
    font["head"].macStyle |= 0x01
    font["hhea"].advanceWidthMax = advance


def make_names(font):
    texts = {
        0: COPYRIGHT,
        1: FAMILY,
        2: STYLE,
        3: VERSION.split()[1] + ";KRVX;" + POSTSCRIPT,
        4: FULL_NAME,
        5: VERSION,
        6: POSTSCRIPT,
        7: TRADEMARK,
    }
    records = []
    for platform, encoding, language, codec in ((1, 0, 0, "mac_roman"), (3, 1, 0x409, "utf_16_be")):
        for name_id, text in texts.items():
            records.append(make_record(name_id, platform, encoding, language, text, codec))
    records.append(make_record(13, 3, 1, 0x409, LICENSE, "utf_16_be"))
    records.append(make_record(14, 3, 1, 0x409, LICENSE_URL, "utf_16_be"))
    # The table compiler sorts by platform first, which puts the Macintosh records ahead.
    font["name"].names = records


def make_record(name_id, platform, encoding, language, text, codec):
    record = NameRecord()
    record.nameID, record.platformID = name_id, platform
    record.platEncID, record.langID = encoding, language
    record.string = text.encode(codec)
    return record


def check_names(path):
    names = TTFont(path)["name"].names
    platforms = [n.platformID for n in names if n.nameID <= 7]
    if platforms != sorted(platforms) or platforms[0] != 1:
        sys.exit("Macintosh records must come first")
    if len(FULL_NAME) > 31:
        sys.exit("full name too long")


def main():
    source = sys.argv[1] if len(sys.argv) > 1 else SOURCE
    output = sys.argv[2] if len(sys.argv) > 2 else OUTPUT
    # A fixed time stamp keeps the output identical from run to run.
    font = TTFont(source, recalcTimestamp=False)
    subset_font(font)
    condense(font)
    mark_monospaced_condensed(font)
    make_names(font)
    font["head"].fontRevision = 1.0
    font["head"].modified = font["head"].created
    os.makedirs(os.path.dirname(os.path.abspath(output)), exist_ok=True)
    font.save(output)
    check_names(output)
    print("%s: %d bytes, %d glyphs, full name %r"
          % (output, os.path.getsize(output), len(font.getGlyphOrder()), FULL_NAME))


if __name__ == "__main__":
    main()
