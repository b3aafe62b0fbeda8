#!/usr/bin/env python3
"""Draws the QUARN application icon and writes it as one .ico holding seven images:
16 x 16 (8 and 24 bits per pixel), 32 x 32 and 48 x 48 (8 and 32 bits), 256 x 256 (32 bits,
PNG-compressed). Needs nothing beyond the standard library. make_antennas_icon.py draws the
antenna picker's icon with the same helpers.

Usage: make_icon.py OUTPUT.ico [PREVIEW.png]
"""
import math
import struct
import sys
import zlib

NAVY_TOP = (28, 72, 150)
NAVY_BOTTOM = (16, 40, 96)
WHITE = (255, 255, 255)
AMBER = (255, 196, 40)


def rounded_square(x, y):
    """Inside the icon's tile: a square with round corners (unit coordinates)."""
    r = 0.18
    cx = min(max(x, r), 1 - r)
    cy = min(max(y, r), 1 - r)
    return (x - cx) ** 2 + (y - cy) ** 2 <= r * r and 0 <= x <= 1 and 0 <= y <= 1


def letter_q(x, y):
    """The white Q: a thick ring with a tail to the lower right."""
    d = math.hypot(x - 0.44, y - 0.50)
    if 0.19 <= d <= 0.30:
        return True
    # Tail: a thick segment from the ring towards the corner.
    ax, ay, bx, by = 0.52, 0.60, 0.80, 0.86
    t = ((x - ax) * (bx - ax) + (y - ay) * (by - ay)) / ((bx - ax) ** 2 + (by - ay) ** 2)
    t = min(max(t, 0.0), 1.0)
    return math.hypot(x - (ax + t * (bx - ax)), y - (ay + t * (by - ay))) <= 0.055


def waves(x, y):
    """Two amber radio arcs at the upper right, opening away from the Q."""
    d = math.hypot(x - 0.70, y - 0.30)
    angle = math.atan2(0.30 - y, x - 0.70)
    if not (-0.35 <= angle <= 1.9):
        return False
    return 0.10 <= d <= 0.15 or 0.21 <= d <= 0.26


def colour_at(x, y):
    """RGBA of one sample point; None outside the tile."""
    if not rounded_square(x, y):
        return None
    if letter_q(x, y):
        return WHITE
    if waves(x, y):
        return AMBER
    t = y
    return tuple(round(a + (b - a) * t) for a, b in zip(NAVY_TOP, NAVY_BOTTOM))


def render(size, colour_of=colour_at):
    """Rows of (r, g, b, a), sampled 8 x 8 per pixel for smooth edges."""
    n = 8
    rows = []
    for py in range(size):
        row = []
        for px in range(size):
            acc = [0, 0, 0]
            hits = 0
            for sy in range(n):
                for sx in range(n):
                    c = colour_of((px + (sx + 0.5) / n) / size, (py + (sy + 0.5) / n) / size)
                    if c is None:
                        continue
                    hits += 1
                    for i in range(3):
                        acc[i] += c[i]
            if hits == 0:
                row.append((0, 0, 0, 0))
            else:
                row.append(tuple(round(v / hits) for v in acc) + (round(255 * hits / (n * n)),))
        rows.append(row)
    return rows


def palette():
    """A fixed 256-colour palette: the 6 x 6 x 6 colour cube and 40 greys."""
    cube = [(r * 51, g * 51, b * 51) for r in range(6) for g in range(6) for b in range(6)]
    greys = [(round(i * 255 / 39),) * 3 for i in range(40)]
    return cube + greys


def nearest(colours, c):
    return min(range(len(colours)),
               key=lambda i: sum((a - b) ** 2 for a, b in zip(colours[i], c[:3])))


def and_mask(rows):
    """1 bit per pixel, bottom row first, rows padded to 4 bytes; 1 means transparent."""
    size = len(rows)
    stride = ((size + 31) // 32) * 4
    out = bytearray()
    for row in reversed(rows):
        line = bytearray(stride)
        for x, p in enumerate(row):
            if p[3] < 128:
                line[x // 8] |= 0x80 >> (x % 8)
        out += line
    return bytes(out)


def dib(rows, bits, colours=None):
    """One icon image: 4 or 8 bits index `colours` (by default the 256-colour palette)."""
    size = len(rows)
    indexed = bits in (4, 8)
    if indexed and colours is None:
        colours = palette()
    header_colours = len(colours) if indexed else 0
    out = bytearray()
    if indexed:
        for r, g, b in colours:
            out += bytes((b, g, r, 0))
    stride = ((size * bits + 31) // 32) * 4
    for row in reversed(rows):
        if indexed:
            indexes = [nearest(colours, p) if p[3] >= 128 else 0 for p in row]
            if bits == 4:  # two pixels a byte, the left one in the high half
                indexes.append(0)
                line = bytearray(indexes[x] << 4 | indexes[x + 1] for x in range(0, size, 2))
            else:
                line = bytearray(indexes)
        elif bits == 24:
            line = bytearray(v for p in row for v in (p[2], p[1], p[0]))
        else:
            line = bytearray(v for p in row for v in (p[2], p[1], p[0], p[3]))
        line += bytes(stride - len(line))
        out += line
    out += and_mask(rows)
    header = struct.pack("<IiiHHIIiiII", 40, size, size * 2, 1, bits, 0, 0, 0, 0,
                         header_colours, 0)
    return header + bytes(out)


def png(rows):
    size = len(rows)
    raw = b"".join(b"\x00" + bytes(v for p in row for v in p) for row in rows)

    def chunk(kind, data):
        body = kind + data
        return struct.pack(">I", len(data)) + body + struct.pack(">I", zlib.crc32(body))

    return (b"\x89PNG\r\n\x1a\n" + chunk(b"IHDR", struct.pack(">IIBBBBB", size, size, 8, 6, 0, 0, 0))
            + chunk(b"IDAT", zlib.compress(raw, 9)) + chunk(b"IEND", b""))


def write_ico(path, images):
    """Writes an .ico from (size, bits, image) triples; 4-bit images name their 16 colours."""
    offset = 6 + 16 * len(images)
    directory = struct.pack("<HHH", 0, 1, len(images))
    for size, bits, blob in images:
        colour_count = 16 if bits == 4 else 0
        directory += struct.pack("<BBBBHHII", size % 256, size % 256, colour_count, 0, 1, bits,
                                 len(blob), offset)
        offset += len(blob)
    with open(path, "wb") as out:
        out.write(directory + b"".join(blob for _, _, blob in images))


IMAGES = [(16, 8), (16, 24), (32, 8), (32, 32), (48, 8), (48, 32), (256, 32)]


def main():
    rendered = {size: render(size) for size in sorted({s for s, _ in IMAGES})}
    write_ico(sys.argv[1], [(s, bits, png(rendered[s]) if s == 256 else dib(rendered[s], bits))
                            for s, bits in IMAGES])
    if len(sys.argv) > 2:
        with open(sys.argv[2], "wb") as out:
            out.write(png(rendered[256]))


if __name__ == "__main__":
    main()
