#!/usr/bin/env python3
"""The page's two fonts, cut down to the characters maison can show.

    subset_fonts.py OUT_DIR FONT_DIR SOURCE...

Writes OUT_DIR/DejaVuSans.ttf and OUT_DIR/DejaVuSans-Bold.ttf from the fonts
of FONT_DIR (Debian's fonts-dejavu-core): Latin-1 and every other character
written in the SOURCE files (the scene, the runtime's and the program's
texts; C++ byte escapes such as "\\xE2\\x88\\x92" read as UTF-8). Glyphs,
metrics and hinting are kept as they are, so the text draws as with the
whole fonts; the layout tables (kerning, ligatures), which the renderer
does not use, are left out. Needs fontTools (Debian's python3-fonttools).
"""
import re
import sys
from pathlib import Path

from fontTools import subset

FONTS = ("DejaVuSans.ttf", "DejaVuSans-Bold.ttf")
BYTE_ESCAPES = re.compile(r"(?:\\x[0-9A-Fa-f]{2})+")


def characters(paths):
    found = {chr(c) for c in range(0x20, 0x7F)} | {chr(c) for c in range(0xA0, 0x100)}
    for path in paths:
        text = Path(path).read_text(encoding="utf-8", errors="replace")
        found.update(c for c in text if ord(c) > 0x7E and c != "\ufffd")
        for run in BYTE_ESCAPES.findall(text):
            raw = bytes(int(run[i + 2:i + 4], 16) for i in range(0, len(run), 4))
            found.update(c for c in raw.decode("utf-8", errors="ignore") if ord(c) > 0x7E)
    return "".join(sorted(found))


def main():
    if len(sys.argv) < 4:
        sys.exit(__doc__)
    out_dir, font_dir, sources = Path(sys.argv[1]), Path(sys.argv[2]), sys.argv[3:]
    text = characters(sources)
    out_dir.mkdir(parents=True, exist_ok=True)
    for name in FONTS:
        options = subset.Options()
        options.layout_features = []
        options.drop_tables += ["FFTM"]  # FontForge's timestamps
        options.notdef_outline = True
        options.name_IDs = ["*"]
        options.name_languages = ["*"]
        font = subset.load_font(str(font_dir / name), options)
        subsetter = subset.Subsetter(options)
        subsetter.populate(text=text)
        subsetter.subset(font)
        subset.save_font(font, str(out_dir / name), options)
    print(f"subset_fonts: {len(text)} characters into {out_dir}")


if __name__ == "__main__":
    main()
