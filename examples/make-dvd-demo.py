#!/usr/bin/env python3
"""Makes examples/dvd.cwr, the DVD case demo, from examples/demo.cwr.

The program converts the demo to the DVD case (casewright-cli convert
--format dvd-14), which keeps what is placed where it was. The design is then
laid out for the larger panels (129.5 x 183 mm) by changing those values in
the converted file, whose lines are described in docs/FILE-FORMAT.md:

- the cover picture fills the front panel's width at its top, and the title
  stands in the band below it;
- the back panel carries the track list on its own background, without the
  picture, with the title below the list;
- the back list's title column is narrowed to the 127 mm the DVD's list has,
  with a little more space between the rows;
- the back's rotated note keeps its distance from the fold;
- the spine carries its title alone.

Run it with the casewright-cli to use: make-dvd-demo.py PATH/TO/casewright-cli
"""
import os
import subprocess
import sys

here = os.path.dirname(os.path.abspath(__file__))
cli = sys.argv[1] if len(sys.argv) > 1 else "casewright-cli"
out = os.path.join(here, "dvd.cwr")
subprocess.run([cli, "convert", os.path.join(here, "demo.cwr"), out, "--format", "dvd-14"],
               check=True)

with open(out, encoding="utf-8", newline="") as f:
    lines = f.read().split("\r\n")


def section(name):
    return lines.index("[%s]" % name)


def replace(name, offset, old, new):
    """Line `offset` after the heading of section `name`, checked, then replaced."""
    at = section(name) + offset
    if lines[at] != old:
        sys.exit("%s line %d: expected %r, found %r" % (name, offset, old, lines[at]))
    lines[at] = new


# The list layouts: columns, x, y, the three widths, the two spaces, the row
# spacing (mm). The back's (the second line) fits 127 mm: 3 + 9 + 2 + 77 + 2 + 30.
replace("Print Setting", 2, "3 003 010 009 087 030 002 002 005", "3 003 012 009 077 030 002 002 006")
# Cover: the title 145 mm down, in 24 points; the picture 1529 x 1529 pixels
# (the panel's width at 300 dpi) at the panel's top left.
replace("Top Label", 7, "1 95", "1 145")
replace("Top Label", 8, "-2147483640 020 128 1 0 0 0", "-2147483640 024 128 1 0 0 0")
replace("Top Label", 12, "1425 1425 2 -7", "1529 1529 0 0")
# Back: the title 160 mm down; no picture.
replace("Bottom Label", 6, "1 95", "1 160")
replace("Bottom Label", 9, "1 1", "0 0")
# The back's note, rotated, 10 mm in from the fold as on the jewel case.
replace("BottomPrints", 3, "128 100", "119 120")
# Spine: no picture under the title.
replace("Left Title", 8, "1", "0")

with open(out, "w", encoding="utf-8", newline="") as f:
    f.write("\r\n".join(lines))
