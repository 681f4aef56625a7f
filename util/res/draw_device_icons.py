#!/usr/bin/env python3
"""Draws the lookup window's device icons (32 x 32 and 16 x 16, 32-bit with
a mask) into DeviceNode.ico, DeviceFileServer.ico, DeviceLaserWriter.ico and
DeviceOther.ico beside this script. Run it again after changing a drawing."""
import os
import struct

BLACK = (0, 0, 0)
WHITE = (255, 255, 255)
GREY = (192, 192, 192)
DARK = (128, 128, 128)
BLUE = (0, 0, 128)
CYAN = (0, 160, 200)
GREEN = (0, 200, 0)
YELLOW = (255, 220, 0)
RED = (200, 0, 0)


class Canvas:
    def __init__(self, size):
        self.size = size
        self.px = [[None] * size for _ in range(size)]

    def rect(self, x0, y0, x1, y1, fill, edge=BLACK):
        """Filled rectangle with corners (x0, y0) and (x1, y1) inclusive."""
        for y in range(y0, y1 + 1):
            for x in range(x0, x1 + 1):
                border = x in (x0, x1) or y in (y0, y1)
                self.px[y][x] = edge if (border and edge) else fill

    def hline(self, x0, x1, y, color):
        for x in range(x0, x1 + 1):
            self.px[y][x] = color

    def vline(self, x, y0, y1, color):
        for y in range(y0, y1 + 1):
            self.px[y][x] = color

    def dot(self, x, y, color):
        self.px[y][x] = color


def node(c, s):
    """A workstation: monitor with a blue screen, stand and keyboard."""
    k = s // 16
    c.rect(2 * k, 1 * k, 13 * k, 9 * k + k - 1, GREY)
    c.rect(4 * k, 3 * k, 11 * k, 8 * k, CYAN, BLUE)
    c.rect(6 * k, 10 * k, 9 * k, 11 * k - 1 + k, DARK)
    c.rect(1 * k, 12 * k, 14 * k, 14 * k + k - 1, WHITE)
    for x in range(2 * k + k // 2, 14 * k, max(2, k)):
        c.dot(x, 13 * k, DARK)


def file_server(c, s):
    """A file server: a tower with drive bays, a light and a folder tab."""
    k = s // 16
    c.rect(4 * k, 0, 11 * k + k - 1, 15 * k + k - 1, GREY)
    for bay in (2, 5, 8):
        c.rect(5 * k + k // 2, bay * k, 10 * k + k // 2, bay * k + max(1, k), DARK)
    c.rect(6 * k, 11 * k, 9 * k + k - 1, 13 * k + k - 1, YELLOW, DARK)
    c.dot(10 * k, 14 * k, GREEN)
    if k > 1:
        c.dot(10 * k + 1, 14 * k, GREEN)


def laserwriter(c, s):
    """A laser printer: paper on top, the body, an output tray and a light."""
    k = s // 16
    c.rect(4 * k, 1 * k, 11 * k + k - 1, 6 * k, WHITE)
    for y in (3 * k, 4 * k + k // 2):
        c.hline(5 * k + k // 2, 10 * k + k // 2, y, DARK)
    c.rect(1 * k, 6 * k, 14 * k + k - 1, 12 * k + k - 1, GREY)
    c.hline(2 * k, 14 * k, 8 * k, DARK)
    c.rect(3 * k, 13 * k, 12 * k + k - 1, 14 * k + k - 1, DARK)
    c.dot(13 * k, 10 * k, GREEN)
    if k > 1:
        c.dot(13 * k + 1, 10 * k, GREEN)


def other(c, s):
    """Any other device: a network box with port lights on its cable."""
    k = s // 16
    c.rect(1 * k, 5 * k, 14 * k + k - 1, 10 * k + k - 1, GREY)
    for i, color in enumerate((GREEN, GREEN, YELLOW, RED)):
        x = 3 * k + i * 3 * k
        c.rect(x, 7 * k, x + max(1, k), 7 * k + max(1, k), color, None)
    c.vline(8 * k, 11 * k, 14 * k, BLACK)
    c.hline(3 * k, 13 * k, 14 * k + k - 1, BLACK)
    c.vline(3 * k, 2 * k, 4 * k + k - 1, BLACK)
    c.vline(12 * k + k - 1, 2 * k, 4 * k + k - 1, BLACK)


def image_bytes(canvas):
    n = canvas.size
    header = struct.pack('<IiiHHIIiiII', 40, n, 2 * n, 1, 32, 0, 0, 0, 0, 0, 0)
    colors = bytearray()
    mask = bytearray()
    stride = ((n + 31) // 32) * 4
    for y in reversed(range(n)):
        row_mask = bytearray(stride)
        for x in range(n):
            p = canvas.px[y][x]
            if p is None:
                colors += bytes((0, 0, 0, 0))
                row_mask[x // 8] |= 0x80 >> (x % 8)
            else:
                colors += bytes((p[2], p[1], p[0], 255))
        mask += row_mask
    return header + bytes(colors) + bytes(mask)


def write_icon(path, draw):
    images = []
    for size in (32, 16):
        canvas = Canvas(size)
        draw(canvas, size)
        images.append((size, image_bytes(canvas)))
    out = struct.pack('<HHH', 0, 1, len(images))
    offset = 6 + 16 * len(images)
    for size, data in images:
        out += struct.pack('<BBBBHHII', size, size, 0, 0, 1, 32, len(data), offset)
        offset += len(data)
    for _, data in images:
        out += data
    with open(path, 'wb') as f:
        f.write(out)


here = os.path.dirname(os.path.abspath(__file__))
for name, draw in (('DeviceNode', node), ('DeviceFileServer', file_server),
                   ('DeviceLaserWriter', laserwriter), ('DeviceOther', other)):
    write_icon(os.path.join(here, name + '.ico'), draw)
