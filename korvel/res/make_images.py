#!/usr/bin/env python3
"""Draws Korvel's toolbar bitmaps and icons as small pixel grids and writes
them beside this script, with the writers of VestrelUtil's script. Run it
again after changing a drawing; the outputs are kept in the repository."""
import importlib.util
import os

HERE = os.path.dirname(os.path.abspath(__file__))
_spec = importlib.util.spec_from_file_location(
    'util_images', os.path.join(HERE, '..', '..', 'util', 'res', 'make_images.py'))
images = importlib.util.module_from_spec(_spec)
_spec.loader.exec_module(images)

NEW_ENTRY = [  # a blank row with a star
    "................",
    "..........y.....",
    "........y.y.y...",
    ".........yyy....",
    "........yyyyy...",
    ".........yyy....",
    "........y.y.y...",
    ".kkkkkkkkky.kkk.",
    ".kwwwwwwwwwwwwk.",
    ".kwwwwwwwwwwwwk.",
    ".kkkkkkkkkkkkkk.",
    ".kggggggggggggk.",
    ".kkkkkkkkkkkkkk.",
    "................",
    "................",
]
ACCEPT = [  # a tick over a row
    "................",
    "............G...",
    "...........GG...",
    "..........GG....",
    "..G......GG.....",
    "..GG....GG......",
    "...GG..GG.......",
    "....GGGG........",
    ".....GG.........",
    ".kkkkkkkkkkkkkk.",
    ".kwwwwwwwwwwwwk.",
    ".kwwwwwwwwwwwwk.",
    ".kkkkkkkkkkkkkk.",
    "................",
    "................",
]
DELETE = [  # a cross over a row
    "................",
    "...RR......RR...",
    "....RR....RR....",
    ".....RR..RR.....",
    "......RRRR......",
    ".......RR.......",
    "......RRRR......",
    ".....RR..RR.....",
    "....RR....RR....",
    ".kkkkkkkkkkkkkk.",
    ".kwwwwwwwwwwwwk.",
    ".kwwwwwwwwwwwwk.",
    ".kkkkkkkkkkkkkk.",
    "................",
    "................",
]
REVERT = [  # a page with an arrow turning back
    "................",
    "...kkkkkkkk.....",
    "...kwwwwwwkk....",
    "...kwwwwwwkwk...",
    "...kwwwwwwkkkk..",
    "...kwwwwwwwwwk..",
    "...kwwBwwwwwwk..",
    "...kwBBwwwwwwk..",
    "...kBBBBBBBwwk..",
    "...kwBBwwwwBwk..",
    "...kwwBwwwwBwk..",
    "...kwwwwBBBBwk..",
    "...kwwwwwwwwwk..",
    "...kkkkkkkkkkk..",
    "................",
]
SAVE = images.BUTTONS[1]
MERGE = [  # two pages joining into one
    "................",
    ".kkkkk....kkkkk.",
    ".kwwwk....kwwwk.",
    ".kwkwk....kwkwk.",
    ".kwwwk....kwwwk.",
    ".kkkkk....kkkkk.",
    "...B........B...",
    "....B......B....",
    ".....B....B.....",
    "......kkkkk.....",
    "......kwwwk.....",
    "......kwkwk.....",
    "......kwwwk.....",
    "......kkkkk.....",
    "................",
]
CUT = [  # scissors
    "................",
    "....k.....k.....",
    "....k.....k.....",
    "....k.....k.....",
    "....kk...kk.....",
    ".....k...k......",
    ".....kk.kk......",
    "......kkk.......",
    ".......k........",
    "......BkB.......",
    ".....B.B.BB.....",
    "...BBB.B...B....",
    "..B..B.B...B....",
    "..B..B..BBB.....",
    "...BB...........",
]
COPY = [  # two pages
    "................",
    ".kkkkkk.........",
    ".kwwwwkk........",
    ".kwkkwkwk.......",
    ".kwwwwkkkk......",
    ".kwkkkkkkkkkk...",
    ".kwwwwkwwwwkkk..",
    ".kwkkkkwkkwkwk..",
    ".kwwwwkwwwwkkkk.",
    ".kkkkkkwkkkkkwk.",
    "......kwwwwwwwk.",
    "......kwkkkkkwk.",
    "......kwwwwwwwk.",
    "......kkkkkkkkk.",
    "................",
]
PASTE = [  # a clipboard with a page
    "................",
    "....kkkkk.......",
    ".kkkkyyykkkk....",
    ".koookkkkook....",
    ".kooooooooook...",
    ".kooookkkkkkk...",
    ".kooookwwwwkk...",
    ".kooookwkkwkwk..",
    ".kooookwwwwkkkk.",
    ".kooookwkkkkkwk.",
    ".kooookwwwwwwwk.",
    ".kooookwkkkkkwk.",
    ".kkkkkkwwwwwwwk.",
    "......kkkkkkkkk.",
    "................",
]
UNDO = [  # an arrow turning back to the left
    "................",
    "................",
    "....B...........",
    "...BB...........",
    "..BBBBBBBBB.....",
    ".BBBBBBBBBBB....",
    "..BBBBBBBBBBB...",
    "...BB......BB...",
    "....B......BB...",
    "...........BB...",
    "..........BB....",
    ".........BB.....",
    "................",
    "................",
    "................",
]
PRINT = images.BUTTONS[3]
PREVIEW = images.BUTTONS[4]
HELP = images.BUTTONS[5]
ABOUT = [  # an "i" in a circle
    "................",
    ".....kkkkkk.....",
    "...kkwwwwwwkk...",
    "..kwwwwBBwwwwk..",
    "..kwwwwBBwwwwk..",
    ".kwwwwwwwwwwwwk.",
    ".kwwwwBBBwwwwwk.",
    ".kwwwwwBBwwwwwk.",
    ".kwwwwwBBwwwwwk.",
    ".kwwwwwBBwwwwwk.",
    "..kwwwBBBBwwwk..",
    "..kwwwwwwwwwwk..",
    "...kkwwwwwwkk...",
    ".....kkkkkk.....",
    "................",
]

# Toolbar 128: New Entry, Accept, Delete, Revert, Save, Merge, Cut, Copy,
# Paste, Undo, Print, Print Preview, Help Topics. Toolbar 4 (in place):
# Cut, Copy, Paste, About.
MAIN_BUTTONS = [NEW_ENTRY, ACCEPT, DELETE, REVERT, SAVE, MERGE, CUT, COPY, PASTE, UNDO, PRINT, PREVIEW, HELP]
INPLACE_BUTTONS = [CUT, COPY, PASTE, ABOUT]

ICONS = {
    'Korvel.ico': [  # the program: a PC file becoming a Macintosh file
        "................",
        ".kkkkkk.........",
        ".kwwwwkk........",
        ".kwBBwkwk.......",
        ".kwwwwkkkk......",
        ".kwBBBBwwk......",
        ".kwwwwwwwk..G...",
        ".kkkkkkkkk..GG..",
        "......GGGGGGGGG.",
        "............GG..",
        "......kkkkkkGkk.",
        "......kwwwwwwwk.",
        "......kwkkkkkwk.",
        "......kwkCCCkwk.",
        "......kwwwwwwwk.",
        "......kkkkkkkkk.",
    ],
    'KorvelDoc.ico': [  # an extension map: a page of rows
        "..kkkkkkkkkk....",
        "..kwwwwwwwwkk...",
        "..kwwwwwwwwkwk..",
        "..kwBBwGGGwkkkk.",
        "..kwwwwwwwwwwwk.",
        "..kwBBwGGGwGGwk.",
        "..kwwwwwwwwwwwk.",
        "..kwBBwGGGwGGwk.",
        "..kwwwwwwwwwwwk.",
        "..kwBBwGGGwGGwk.",
        "..kwwwwwwwwwwwk.",
        "..kwBBwGGGwGGwk.",
        "..kwwwwwwwwwwwk.",
        "..kwwwwwwwwwwwk.",
        "..kkkkkkkkkkkkk.",
        "................",
    ],
}

if __name__ == '__main__':
    for b in MAIN_BUTTONS + INPLACE_BUTTONS:
        assert len(b) == 15 and all(len(line) == 16 for line in b), b
    images.write_toolbar_bmp(os.path.join(HERE, 'Toolbar.bmp'), MAIN_BUTTONS)
    images.write_toolbar_bmp(os.path.join(HERE, 'InPlaceToolbar.bmp'), INPLACE_BUTTONS)
    for name, grid in ICONS.items():
        assert len(grid) == 16 and all(len(line) == 16 for line in grid), name
        images.write_icon(os.path.join(HERE, name), grid)
