#!/usr/bin/python3
"""Makes the web page's font: a subset of IPAGothic (Debian's fonts-ipafont-gothic) holding the characters
the program's own texts use, kana, full-width forms and the common symbols, renamed "KazoruGothic" as the
IPA Font License asks of a derived font, written as WOFF2 with the licence text beside it.

  scripts/make-web-font.py OUTPUT_DIR [SOURCE_DIR ...]
"""
import os
import pathlib
import shutil
import sys

from fontTools import subset
from fontTools.ttLib import TTFont

FONT = "/usr/share/fonts/opentype/ipafont-gothic/ipag.ttf"
COPYRIGHT = "/usr/share/doc/fonts-ipafont-gothic/copyright"
FAMILY = "KazoruGothic"
TEXT_SUFFIXES = {".cpp", ".h", ".html", ".js", ".css", ".json"}

RANGES = [
    (0x20, 0x7E),      # ASCII
    (0xA5, 0xA5),      # yen
    (0x3000, 0x303F),  # Japanese punctuation
    (0x3041, 0x3096),  # hiragana
    (0x309B, 0x309E),
    (0x30A1, 0x30FE),  # katakana
    (0xFF01, 0xFF9F),  # full-width forms and half-width katakana
    (0x2460, 0x2473),  # circled numbers
    (0x2190, 0x2193),  # arrows
    (0x25A0, 0x25CF),  # squares, triangles, circles
    (0x2605, 0x2606),
]


def characters(source_dirs):
    chars = set()
    for first, last in RANGES:
        chars.update(range(first, last + 1))
    for d in source_dirs:
        for path in sorted(pathlib.Path(d).rglob("*")):
            if path.suffix in TEXT_SUFFIXES and path.is_file():
                text = path.read_text(encoding="utf-8", errors="ignore")
                chars.update(ord(c) for c in text if ord(c) >= 0x80)
    return chars


def licence_text():
    """The IPA Font License Agreement as Debian's copyright file carries it (its stand-alone paragraph)."""
    lines = open(COPYRIGHT, encoding="utf-8").read().splitlines()
    start = max(i for i, line in enumerate(lines) if line == "License: IPA-1") + 1
    out = []
    for line in lines[start:]:
        if line.startswith("License:"):
            break
        out.append("" if line.strip() == "." else line[1:] if line.startswith(" ") else line)
    return "\n".join(out).strip() + "\n"


def main():
    if len(sys.argv) < 2:
        sys.exit(__doc__)
    out_dir = pathlib.Path(sys.argv[1])
    out_dir.mkdir(parents=True, exist_ok=True)
    font = TTFont(FONT)
    cmap = font.getBestCmap()
    wanted = sorted(c for c in characters(sys.argv[2:]) if c in cmap)

    options = subset.Options()
    options.flavor = "woff2"
    options.layout_features = ["*"]
    options.name_IDs = [0, 1, 2, 3, 4, 5, 6, 13, 14]
    options.name_languages = ["*"]
    options.hinting = False
    sub = subset.Subsetter(options)
    sub.populate(unicodes=wanted)
    sub.subset(font)

    # The licence lets a derived font be shared only under a name other than the original's.
    for rec in font["name"].names:
        if rec.nameID in (1, 16):
            rec.string = FAMILY
        elif rec.nameID in (3, 4, 6):
            rec.string = FAMILY if rec.nameID != 3 else FAMILY + "-subset"
    font.flavor = "woff2"
    font.save(str(out_dir / (FAMILY + ".woff2")))

    (out_dir / "IPA_Font_License_Agreement_v1.0.txt").write_text(licence_text(), encoding="utf-8")
    (out_dir / "README.txt").write_text(
        FAMILY + ".woff2 is a subset of IPAGothic (IPAゴシック, version from Debian's fonts-ipafont-gothic)\n"
        "holding " + str(len(wanted)) + " characters, renamed " + FAMILY + " as the IPA Font License Agreement v1.0\n"
        "(beside this file) asks of a derived program. The original font is available from the IPA.\n",
        encoding="utf-8")


if __name__ == "__main__":
    main()
