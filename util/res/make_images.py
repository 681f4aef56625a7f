#!/usr/bin/env python3
"""Draws the program's toolbar bitmap and icons as small pixel grids and
writes them as BMP and ICO files beside this script. Run it again after
changing a drawing; the outputs are kept in the repository."""
import os
import struct

HERE = os.path.dirname(os.path.abspath(__file__))

PALETTE = {
    '.': (192, 192, 192),  # button face: the toolbar maps it to the system colour
    'k': (0, 0, 0),
    'w': (255, 255, 255),
    'g': (128, 128, 128),
    'b': (0, 0, 128),
    'B': (0, 0, 255),
    'c': (0, 128, 128),
    'C': (0, 255, 255),
    'y': (255, 255, 0),
    'r': (128, 0, 0),
    'R': (255, 0, 0),
    'G': (0, 128, 0),
    'l': (0, 255, 0),
    'o': (128, 128, 0),
}

# Toolbar buttons, 16 x 15, in resource order: Download, Save, Choose,
# Print, Print Preview, Help Topics.
BUTTONS = [
    [  # Download: an arrow into a printer tray
        "................",
        "......kkkk......",
        "......kBBk......",
        "......kBBk......",
        "......kBBk......",
        "...kkkkBBkkkk...",
        "....kBBBBBBk....",
        ".....kBBBBk.....",
        "..kkkkkBBkkkkk..",
        ".kwwwwwkkwwwwwk.",
        ".kggggggggggggk.",
        ".kgggggggggggyk.",
        ".kkkkkkkkkkkkkk.",
        "..kwwwwwwwwwwk..",
        "..kkkkkkkkkkkk..",
    ],
    [  # Save: a diskette
        "................",
        ".kkkkkkkkkkkkkk.",
        ".kcwwwwwwwwwwck.",
        ".kcwwwwwwwwwwck.",
        ".kcwwwwwwwwwwck.",
        ".kcwwwwwwwwwwck.",
        ".kcccccccccccck.",
        ".kcccccccccccck.",
        ".kcckkkkkkkkcck.",
        ".kcckwwkkkkkcck.",
        ".kcckwwkkkkkcck.",
        ".kcckwwkkkkkcck.",
        "..kkkkkkkkkkkkk.",
        "................",
        "................",
    ],
    [  # Choose: a printer on the network, with a pointing hand's arrow
        "................",
        "....kkkkkkkk....",
        "....kwwwwwwk....",
        "....kwkkkkwk....",
        "..kkkkkkkkkkkk..",
        ".kwwwwwwwwwwwwk.",
        ".kgggggggggglgk.",
        ".kkkkkkkkkkkkkk.",
        "......kRRk......",
        "......kRRk......",
        ".....kRRRRk.....",
        "......kRRk......",
        "..kkkkkkkkkkkk..",
        "..kRRRRRRRRRRk..",
        "..kkkkkkkkkkkk..",
    ],
    [  # Print: a printer with a page
        "................",
        "....kkkkkkkk....",
        "....kwwwwwwk....",
        "....kwkkkkwk....",
        "....kwwwwwwk....",
        "....kwkkkkwk....",
        "..kkkkkkkkkkkk..",
        ".kwwwwwwwwwwwwk.",
        ".kggggggggggggk.",
        ".kgggggggggggyk.",
        ".kggggggggggggk.",
        ".kkkkkkkkkkkkkk.",
        "..kwwwwwwwwwwk..",
        "..kkkkkkkkkkkk..",
        "................",
    ],
    [  # Print Preview: a page under a magnifying glass
        "................",
        ".kkkkkkkkk......",
        ".kwwwwwwwkk.....",
        ".kwkkkkwwwkk....",
        ".kwwwkkkkkwwk...",
        ".kwkkkwwwwkwk...",
        ".kwwwkwwwwwkwk..",
        ".kwkkkwwwwwkwk..",
        ".kwwwkwwwwkwwk..",
        ".kwkkkkkkkkkwk..",
        ".kwwwwwwwwkkkkk.",
        ".kwkkkkkwwwwkkkk",
        ".kwwwwwwwwwwwkkk",
        ".kkkkkkkkkkkkkk.",
        "................",
    ],
    [  # Help Topics: a book with a question mark
        "................",
        "..kkkkkkkkkkkk..",
        "..kbbbbbbbbbbk..",
        "..kbbbyyyybbbk..",
        "..kbbyybbyybbk..",
        "..kbbbbbbyybbk..",
        "..kbbbbbyybbbk..",
        "..kbbbbyybbbbk..",
        "..kbbbbyybbbbk..",
        "..kbbbbbbbbbbk..",
        "..kbbbbyybbbbk..",
        "..kbbbbbbbbbbk..",
        "..kkkkkkkkkkkk..",
        "..kwwwwwwwwwwk..",
        "..kkkkkkkkkkkk..",
    ],
]


def color_index(keys, ch):
    return keys.index(ch)


def write_toolbar_bmp(path, buttons=None):
    """One 16 x 15 image per button, left to right (Korvel's script uses
    this too, with its own buttons)."""
    buttons = BUTTONS if buttons is None else buttons
    keys = list(PALETTE.keys())
    width = 16 * len(buttons)
    height = 15
    row_size = (width + 3) & ~3
    pixels = bytearray()
    for y in range(height - 1, -1, -1):  # bottom-up rows
        row = bytearray()
        for b in buttons:
            line = b[y]
            assert len(line) == 16, (line, len(line))
            row += bytes(color_index(keys, ch) for ch in line)
        row += bytes(row_size - width)
        pixels += row
    palette = bytearray()
    for k in keys:
        r, g, bl = PALETTE[k]
        palette += bytes((bl, g, r, 0))
    palette += bytes(4 * (256 - len(keys)))
    info = struct.pack('<IiiHHIIiiII', 40, width, height, 1, 8, 0, len(pixels), 2835, 2835, 256, 0)
    offset = 14 + len(info) + len(palette)
    header = struct.pack('<2sIHHI', b'BM', offset + len(pixels), 0, 0, offset)
    with open(path, 'wb') as f:
        f.write(header + info + palette + pixels)


def write_icon(path, grid):
    """A 32 x 32, 32-bit icon; '.' is transparent. `grid` is 16 x 16 and is
    doubled."""
    size = 32
    xor = bytearray()
    and_mask = bytearray()
    for y in range(size - 1, -1, -1):
        line = grid[y // 2]
        mask_row = 0
        for x in range(size):
            ch = line[x // 2]
            if ch == '.':
                xor += bytes((0, 0, 0, 0))
                mask_row |= 1 << (size - 1 - x)
            else:
                r, g, b = PALETTE[ch]
                xor += bytes((b, g, r, 255))
        and_mask += struct.pack('>I', mask_row)
    info = struct.pack('<IiiHHIIiiII', 40, size, size * 2, 1, 32, 0, len(xor) + len(and_mask), 0, 0, 0, 0)
    image = info + xor + and_mask
    directory = struct.pack('<HHH', 0, 1, 1) + struct.pack('<BBBBHHII', size, size, 0, 0, 1, 32, len(image), 6 + 16)
    with open(path, 'wb') as f:
        f.write(directory + image)


ICONS = {
    'VestrelUtil.ico': [  # the program: a printer linked to a network
        "................",
        "....kkkkkkkk....",
        "....kwwwwwwk....",
        "....kwkkkkwk....",
        "..kkkkkkkkkkkk..",
        ".kwwwwwwwwwwwwk.",
        ".kgggggggggglgk.",
        ".kggggggggggggk.",
        ".kkkkkkkkkkkkkk.",
        ".......kk.......",
        ".......kk.......",
        "kkkkkkkkkkkkkkkk",
        "kBBkkkkkkkkkkBBk",
        "kBBk........kBBk",
        "kkkk........kkkk",
        "................",
    ],
    'VestrelDoc.ico': [  # a document of the program
        "..kkkkkkkkkk....",
        "..kwwwwwwwwkk...",
        "..kwwwwwwwwkwk..",
        "..kwkkkkkwwkkkk.",
        "..kwwwwwwwwwwwk.",
        "..kwkkkkkkkkwwk.",
        "..kwwwwwwwwwwwk.",
        "..kwkkkkkkkkwwk.",
        "..kwwwwwwwwwwwk.",
        "..kwkkkkkkwwwwk.",
        "..kwwwwwwwwwwwk.",
        "..kwwwwwwBBwwwk.",
        "..kwwwwwwBBwwwk.",
        "..kwwwwwwwwwwwk.",
        "..kkkkkkkkkkkkk.",
        "................",
    ],
    'AboutMac.ico': [  # About box: a small compact computer
        "...kkkkkkkkkk...",
        "...kwwwwwwwwk...",
        "...kwkkkkkkwk...",
        "...kwkCCCCkwk...",
        "...kwkCCCCkwk...",
        "...kwkCCCCkwk...",
        "...kwkkkkkkwk...",
        "...kwwwwwwwwk...",
        "...kwwwwkkkwk...",
        "...kwwwwwwwwk...",
        "...kkkkkkkkkk...",
        "...kggggggggk...",
        "...kkkkkkkkkk...",
        "................",
        "................",
        "................",
    ],
    'AboutPC.ico': [  # About box: a PC
        "................",
        ".kkkkkkkkkkkkkk.",
        ".kggggggggggggk.",
        ".kgkkkkkkkkkkgk.",
        ".kgkbbbbbbbbkgk.",
        ".kgkbbbbbbbbkgk.",
        ".kgkbbbbbbbbkgk.",
        ".kgkkkkkkkkkkgk.",
        ".kggggggggggggk.",
        ".kkkkkkkkkkkkkk.",
        "......kggk......",
        "...kkkkkkkkkk...",
        "..kwwwwwwwwwwk..",
        "..kkkkkkkkkkkk..",
        "................",
        "................",
    ],
    'AboutLink.ico': [  # About box: the network between them
        "................",
        "................",
        "................",
        "................",
        "..kk........kk..",
        ".kllk......kllk.",
        ".kllkkkkkkkkllk.",
        ".kllkGGGGGGkllk.",
        ".kllkkkkkkkkllk.",
        "..kk........kk..",
        "................",
        "................",
        "................",
        "................",
        "................",
        "................",
    ],
}

if __name__ == '__main__':
    write_toolbar_bmp(os.path.join(HERE, 'Toolbar.bmp'))
    for name, grid in ICONS.items():
        assert len(grid) == 16 and all(len(line) == 16 for line in grid), name
        write_icon(os.path.join(HERE, name), grid)
