#!/usr/bin/env python3
"""Draws the controls gallery's pictures into gallery/art/ (standard library only):

  hot.ico          icon shown while a button is hot (an orange disc)
  normal.ico       icon of the normal state (a blue disc)
  picture.bmp      48x32 24-bit bitmap; magenta (255, 0, 255) is its transparent colour
  picture-150.bmp  the same drawn at 72x48, for 150 % display scale
  picture-200.bmp  the same drawn at 96x64, for 200 %
  hand.cur         32x32 cursor, hot spot at the centre (a target mark)

The icons hold an image for each display scale from 100 to 200 % (32, 40,
48 and 64 px), each drawn at its size rather than scaled, so a button shows
its icon crisp at the system's icon size; the 32 px image is the one drawn
before the larger ones were added. Icons and the cursor are 32-bit with an
AND mask, so Wine and every Windows version draw them with or without alpha
support."""
import math
import os
import struct

HERE = os.path.dirname(os.path.abspath(__file__))
SIZE = 32
ICON_SIZES = (32, 40, 48, 64)


def icon_image(pixel, size):
    """BITMAPINFOHEADER, 32-bit bottom-up colour rows and the AND mask of one
    size x size image; pixel(x, y) gives (r, g, b, a) or None for transparent."""
    header = struct.pack('<IiiHHIIiiII', 40, size, size * 2, 1, 32, 0, 0, 0, 0, 0, 0)
    mask_row = (size + 31) // 32 * 4  # mask rows are padded to 32 bits
    colour, mask = b'', b''
    for y in reversed(range(size)):
        row_mask = 0
        for x in range(size):
            p = pixel(x, y)
            if p is None:
                colour += b'\0\0\0\0'
                row_mask |= 1 << (mask_row * 8 - 1 - x)
            else:
                r, g, b, a = p
                colour += bytes((b, g, r, a))
        mask += row_mask.to_bytes(mask_row, 'big')
    return header + colour + mask


def write_icon(name, pixel_at, sizes=(SIZE,), cursor_hotspot=None):
    """pixel_at(size) gives the pixel function of the image of that size."""
    images = [icon_image(pixel_at(size), size) for size in sizes]
    kind = 2 if cursor_hotspot else 1
    planes, bits = cursor_hotspot if cursor_hotspot else (1, 32)
    data = struct.pack('<HHH', 0, kind, len(images))
    offset = 6 + 16 * len(images)
    for size, image in zip(sizes, images):
        data += struct.pack('<BBBBHHII', size % 256, size % 256, 0, 0, planes, bits, len(image), offset)
        offset += len(image)
    with open(os.path.join(HERE, name), 'wb') as f:
        f.write(data + b''.join(images))


def disc(rgb):
    def at(size):
        scale = size / SIZE
        centre = (size - 1) / 2

        def pixel(x, y):
            d = math.hypot(x - centre, y - centre) / scale
            if d > 14:
                return None
            if d > 12.5:
                return (40, 40, 40, 255)
            shade = 1.0 - 0.35 * (y / size)  # lit from the top
            return tuple(int(c * shade) for c in rgb) + (255,)
        return pixel
    return at


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


def house(scale):
    """A green house with a red roof on magenta (the transparent colour),
    drawn on a 48x32 grid magnified by scale."""
    def pixel(px, py):
        x, y = px / scale, py / scale
        if 14 <= y <= 30 and 8 <= x <= 39:
            return (0, 90, 0) if 20 <= x <= 27 and y >= 20 else (60, 170, 60)
        if 2 <= y < 14 and abs(x - 23.5) <= (y - 2) * 1.4 + 2:
            return (190, 40, 30)
        return (255, 0, 255)
    return pixel


write_icon('hot.ico', disc((255, 150, 20)), ICON_SIZES)
write_icon('normal.ico', disc((40, 110, 220)), ICON_SIZES)
write_icon('hand.cur', lambda size: target, cursor_hotspot=(16, 16))
for scale, name in ((1, 'picture.bmp'), (1.5, 'picture-150.bmp'), (2, 'picture-200.bmp')):
    write_bitmap(name, round(48 * scale), round(32 * scale), house(scale))
