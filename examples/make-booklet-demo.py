#!/usr/bin/env python3
"""Makes examples/booklet.cwr, the booklet demo, from examples/demo.cwr.

The jewel-case demo is kept as it is and its front insert becomes a booklet
of 8 pages, which needs version 1.08 of the file (docs/FILE-FORMAT.md): a
"[Case]" section naming the jewel case after the version line, and a
"[Booklet]" section before the list with the page count and one "[Page]"
section (with its "[PagePrints]") for each of pages 2 to 7. Page 1 is the
demo's cover and page 8 its inside face with the track list, as they were.
Page 2 has the track list again in a layout of its own, pages 3 to 6 the
lyrics of four songs in text blocks, page 7 the credits under a small copy of
the cover picture (a "[PagePicture]" section after its page).

Run it with Python 3: make-booklet-demo.py
"""
import os

here = os.path.dirname(os.path.abspath(__file__))
with open(os.path.join(here, "demo.cwr"), encoding="cp932", newline="") as f:
    lines = f.read().split("\r\n")

assert lines[1] == "1.06", lines[1]
gothic = "ＭＳ Ｐゴシック"
mincho = "ＭＳ Ｐ明朝"
ink = "3158064"  # 0x00303030, a soft black


def text_item(text, x, y, size, bold=0, font=gothic):
    return ["0", text, f"{x} {y}", f"{ink} {size:03d} 128 {bold} 0 0 0", font, "0", "",
            "0 0", "0 0", "0 0"]


def block(text_lines, x, y, width, height, align=0, spacing=130, size=9, font=mincho):
    escaped = [t.replace("\\", "\\\\") for t in text_lines]
    return (["2", "", f"{x} {y}", f"{ink} {size:03d} 128 0 0 0 0", font, "0", "", "0 0",
             "0 0", "0 0", f"{width} {height} {align} {spacing} {len(escaped)}"] + escaped)


songs = [
    ("1. 夜明けの歌", ["窓をあけて 朝を待つ", "まだ青い 街の上", "鳥が一羽 風を切る",
                    "きょうの歌は ここから", "", "Open the window, wait for the day,",
                    "the town is still blue and grey,", "one bird cuts across the wind:",
                    "today's song begins right here."]),
    ("2. Tessellate", ["Tiles of light on the kitchen floor,", "every square a little door,",
                       "step on one and you are there,", "counting colours in the air.", "",
                       "光のタイル 台所の床", "ひとつひとつが 小さな扉"]),
    ("3. 遠い灯台", ["海の向こうに 灯がひとつ", "まわるたびに 名前を呼ぶ", "",
                    "帰る船は まだ見えない", "けれど灯りは 消えないまま", "",
                    "Far off shore a single light", "calls my name with every turn."]),
    ("4. Last Train Home", ["The last train hums a minor key,", "the windows hold the city's lights,",
                            "I fold the day and keep it small", "inside a ticket, punched and bright.",
                            "", "最終電車 窓に街の灯", "今日をたたんで ポケットに"]),
]

pages = []
# Page 2: the track list in a layout of its own, under a heading.
pages.append(("00fbf8f2", "1 1", "3 006 018 009 080 020 002 002 010",
              text_item("収録曲 / Tracks", 6, 6, 14, 1), None))
# Pages 3 to 6: a song each.
for title, words in songs:
    pages.append(("00ffffff", "0 1", "3 003 012 009 070 030 002 002 005",
                  text_item(title, 10, 10, 14, 1) + block(words, 10, 22, 100, 90), None))
# Page 7: the credits, centred.
credits = ["Casewright デモ", "", "作詞・作曲 Tessellane", "演奏 Tessellane Ensemble",
           "録音 2026年 秋", "", "Tessellane Records", "TSR-0001"]
# The cover picture, 300 pixels square at 300 dpi (25.4 mm), centred above them.
cover = ["1", "demo-cover.png", f"300 300 {(1429 - 300) // 2} 40"]
pages.append(("00f4efe6", "0 1", "3 003 012 009 070 030 002 002 005",
              block(credits, 10, 30, 101, 70, align=1, spacing=160, size=10), cover))

booklet = ["[Booklet]", "8", ""]
for colour, switches, layout, prints, picture in pages:
    booklet += ["[Page]", colour, switches, layout, ""]
    if picture:
        booklet += ["[PagePicture]"] + picture + [""]
    booklet += ["[PagePrints]"] + prints + [""]

at = lines.index("[List]")
out = lines[:1] + ["1.08", "", "[Case]", "cd-jewel"] + lines[2:at] + booklet + lines[at:]
with open(os.path.join(here, "booklet.cwr"), "w", encoding="utf-8", newline="") as f:
    f.write("\r\n".join(out))
