#!/usr/bin/env python3
"""Makes examples/disc.cwr, the disc label demo, from examples/demo.cwr.

The jewel-case demo is kept as it is and given a disc face, which needs
version 1.08 of the file (docs/FILE-FORMAT.md): a "[Case]" section naming
the jewel case after the version line, and a "[Disc]" section before the
list. The disc face has the demo's cover picture over its whole 120 mm
square (1417 x 1417 pixels at 300 dpi), so that it fills the printable
ring, the album's title along the top arc and the label's name along the
bottom arc, both in white, and the track list (the document's rows, in the
disc's own two-column layout) in the ring to the right of the hole.

Run it with Python 3: make-disc-demo.py
"""
import os

here = os.path.dirname(os.path.abspath(__file__))
with open(os.path.join(here, "demo.cwr"), encoding="cp932", newline="") as f:
    lines = f.read().split("\r\n")

assert lines[1] == "1.06", lines[1]
title_font = lines[lines.index("[Top Label]") + 9]
disc = [
    "[Disc]",
    "00302820",  # the background behind the picture's edges
    "1", "Casewright デモ", "0 0 0", "0 0", "0 0",
    "16777215 020 128 1 0 0 0", title_font,
    "1", "Tessellane Records", "1 0 0", "0 0", "0 0",
    "16777215 012 128 0 0 0 0", title_font,
    "1", "demo-cover.png", "1417 1417 0 0",
    "1 0",  # the track list on, no free prints
    "2 083 036 004 025 009 001 001 005",  # number and title, 84 mm across
    "",
    "[DiscPrints]",
    "",
]
at = lines.index("[List]")
out = lines[:1] + ["1.08", "", "[Case]", "cd-jewel"] + lines[2:at] + disc + lines[at:]
with open(os.path.join(here, "disc.cwr"), "w", encoding="utf-8", newline="") as f:
    f.write("\r\n".join(out))
