#!/usr/bin/env python3
"""Draws the controls gallery's pictures into gallery/art/ (standard library only):

  hot.ico      32x32 icon shown while a button is hot (an orange disc)
  normal.ico   32x32 icon of the normal state (a blue disc)
  picture.bmp  48x32 24-bit bitmap; magenta (255, 0, 255) is its transparent colour
  hand.cur     32x32 cursor, hot spot at the centre (a target mark)

Icons and the cursor are 32-bit with an AND mask, so Wine and every Windows
version draw them with or without alpha support."""
import math
import os
import struct

HERE = os.path.dirname(os.path.abspath(__file__))
SIZE = 32


def icon_image(pixel):
    """BITMAPINFOHEADER, 32-bit bottom-up colour rows and the AND mask of one
    SIZE x SIZE image; pixel(x, y) gives (r, g, b, a) or None for transparent."""
    header = struct.pack('<IiiHHIIiiII', 40, SIZE, SIZE * 2, 1, 32, 0, 0, 0, 0, 0, 0)
    colour, mask = b'', b''
    for y in reversed(range(SIZE)):
        row_mask = 0
        for x in range(SIZE):
            p = pixel(x, y)
            if p is None:
                colour += b'\0\0\0\0'
                row_mask |= 1 << (31 - x)
            else:
                r, g, b, a = p
                colour += bytes((b, g, r, a))
        mask += struct.pack('>I', row_mask)
    return header + colour + mask


def write_icon(name, pixel, cursor_hotspot=None):
    image = icon_image(pixel)
    kind = 2 if cursor_hotspot else 1
    planes, bits = cursor_hotspot if cursor_hotspot else (1, 32)
    data = struct.pack('<HHH', 0, kind, 1)
    data += struct.pack('<BBBBHHII', SIZE, SIZE, 0, 0, planes, bits, len(image), 6 + 16)
    with open(os.path.join(HERE, name), 'wb') as f:
        f.write(data + image)


def disc(rgb):
    def pixel(x, y):
        d = math.hypot(x - 15.5, y - 15.5)
        if d > 14:
            return None
        if d > 12.5:
            return (40, 40, 40, 255)
        shade = 1.0 - 0.35 * (y / SIZE)  # lit from the top
        return tuple(int(c * shade) for c in rgb) + (255,)
    return pixel


def target(x, y):
    d = math.hypot(x - 16, y - 16)
    if abs(d - 10) < 1.2 or (abs(x - 16) < 1 and d < 15) or (abs(y - 16) < 1 and d < 15):
        return (200, 0, 0, 255)
    return None


def write_bitmap(name, width, height, pixel):
    row = (width * 3 + 3) & ~3
    pixels = b''
    for y in reversed(range(height)):
        line = b''.join(bytes(reversed(pixel(x, y))) for x in range(width))
        pixels += line + b'\0' * (row - width * 3)
    info = struct.pack('<IiiHHIIiiII', 40, width, height, 1, 24, 0, len(pixels), 2835, 2835, 0, 0)
    header = struct.pack('<2sIHHI', b'BM', 14 + len(info) + len(pixels), 0, 0, 14 + len(info))
    with open(os.path.join(HERE, name), 'wb') as f:
        f.write(header + info + pixels)


def house(x, y):
    """A green house with a red roof on magenta (the transparent colour)."""
    if 14 <= y <= 30 and 8 <= x <= 39:
        return (0, 90, 0) if 20 <= x <= 27 and y >= 20 else (60, 170, 60)
    if 2 <= y < 14 and abs(x - 23.5) <= (y - 2) * 1.4 + 2:
        return (190, 40, 30)
    return (255, 0, 255)


write_icon('hot.ico', disc((255, 150, 20)))
write_icon('normal.ico', disc((40, 110, 220)))
write_icon('hand.cur', target, cursor_hotspot=(16, 16))
write_bitmap('picture.bmp', 48, 32, house)
