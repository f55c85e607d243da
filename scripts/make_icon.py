#!/usr/bin/env python3
"""Draws autopause's icon: a white pause sign on a blue rounded square.

Writes ui/resources/autopause.ico with 16x16, 32x32 and 48x48 images of
16 colours (4 bits per pixel). The .ico is checked in, so building needs
no Python; run this again only to change the artwork.
"""
import os
import struct
import sys

SIZES = (16, 32, 48)

# Palette index -> (red, green, blue); unused entries stay black.
PALETTE = [(0, 0, 0)] * 16
CLEAR, EDGE, FILL, SIGN = 0, 1, 2, 3
PALETTE[EDGE] = (0x1E, 0x3A, 0x8A)
PALETTE[FILL] = (0x25, 0x63, 0xEB)
PALETTE[SIGN] = (0xFF, 0xFF, 0xFF)


def inside_rounded_square(x, y, size, inset):
    """Whether the centre of pixel (x, y) lies in the rounded square shrunk by inset."""
    lo, hi = inset, size - inset
    radius = size / 5 - inset
    cx, cy = x + 0.5, y + 0.5
    if not (lo <= cx <= hi and lo <= cy <= hi):
        return False
    # Distance to the nearest corner circle's centre, for pixels in a corner zone.
    nx = min(max(cx, lo + radius), hi - radius)
    ny = min(max(cy, lo + radius), hi - radius)
    return (cx - nx) ** 2 + (cy - ny) ** 2 <= radius ** 2


def draw(size):
    """Rows top to bottom of palette indices; CLEAR marks transparent pixels."""
    edge = max(1, size // 16)
    bar_w = max(2, round(size * 3 / 16))
    gap = max(2, round(size * 2 / 16))
    bar_h = round(size / 2)
    left = (size - (2 * bar_w + gap)) // 2
    top = (size - bar_h) // 2
    rows = []
    for y in range(size):
        row = []
        for x in range(size):
            if not inside_rounded_square(x, y, size, 0):
                row.append(CLEAR)
            elif not inside_rounded_square(x, y, size, edge):
                row.append(EDGE)
            elif top <= y < top + bar_h and (left <= x < left + bar_w
                                             or left + bar_w + gap <= x < left + 2 * bar_w + gap):
                row.append(SIGN)
            else:
                row.append(FILL)
        rows.append(row)
    return rows


def padded(data):
    return data + b"\0" * (-len(data) % 4)


def dib(size):
    """The image as an icon stores it: header, palette, colour bits, then the mask, bottom-up."""
    rows = draw(size)
    colour = b""
    mask = b""
    for row in reversed(rows):
        line = bytearray()
        for i in range(0, size, 2):
            line.append(row[i] << 4 | row[i + 1])
        colour += padded(bytes(line))
        bits = bytearray((size + 7) // 8)
        for x, index in enumerate(row):
            if index == CLEAR:
                bits[x // 8] |= 0x80 >> (x % 8)
        mask += padded(bytes(bits))
    header = struct.pack("<IiiHHIIiiII", 40, size, 2 * size, 1, 4, 0,
                         len(colour) + len(mask), 0, 0, 0, 0)
    palette = b"".join(struct.pack("<BBBB", b, g, r, 0) for r, g, b in PALETTE)
    return header + palette + colour + mask


def icon():
    images = [dib(size) for size in SIZES]
    out = struct.pack("<HHH", 0, 1, len(images))
    offset = 6 + 16 * len(images)
    for size, image in zip(SIZES, images):
        out += struct.pack("<BBBBHHII", size, size, 16, 0, 1, 4, len(image), offset)
        offset += len(image)
    return out + b"".join(images)


def main():
    root = os.path.dirname(os.path.dirname(os.path.abspath(__file__)))
    path = sys.argv[1] if len(sys.argv) > 1 else os.path.join(root, "ui", "resources", "autopause.ico")
    with open(path, "wb") as f:
        f.write(icon())
    print(f"wrote {path}")


if __name__ == "__main__":
    main()
