#!/usr/bin/env python3
"""Draws the antenna picker's icon, a dish antenna sending waves on the QUARN navy tile, and
writes it as one .ico holding two 16-colour images, 32 x 32 and 16 x 16.

Usage: make_antennas_icon.py OUTPUT.ico [PREVIEW.png]
"""
import math
import sys
from collections import Counter

from make_icon import dib, png, rounded_square, write_ico

# The 16 colours of the standard desktop palette.
VGA = [(0, 0, 0), (128, 0, 0), (0, 128, 0), (128, 128, 0), (0, 0, 128), (128, 0, 128),
       (0, 128, 128), (192, 192, 192), (128, 128, 128), (255, 0, 0), (0, 255, 0),
       (255, 255, 0), (0, 0, 255), (255, 0, 255), (0, 255, 255), (255, 255, 255)]
NAVY, SILVER, GREY, YELLOW, WHITE = VGA[4], VGA[7], VGA[8], VGA[11], VGA[15]

# The dish faces up and to the right.
CENTRE = (0.40, 0.52)
FACING = (math.sqrt(0.5), -math.sqrt(0.5))


def near_segment(x, y, a, b, half_width):
    (ax, ay), (bx, by) = a, b
    t = ((x - ax) * (bx - ax) + (y - ay) * (by - ay)) / ((bx - ax) ** 2 + (by - ay) ** 2)
    t = min(max(t, 0.0), 1.0)
    return math.hypot(x - (ax + t * (bx - ax)), y - (ay + t * (by - ay))) <= half_width


def colour_at(x, y):
    """RGB of one sample point; None outside the tile."""
    if not rounded_square(x, y):
        return None
    dx, dy = x - CENTRE[0], y - CENTRE[1]
    along = dx * FACING[0] + dy * FACING[1]
    across = -dx * FACING[1] + dy * FACING[0]
    feed = (CENTRE[0] + 0.22 * FACING[0], CENTRE[1] + 0.22 * FACING[1])
    # Waves: two arcs around the feed, opening away from the dish.
    wave = math.hypot(x - feed[0], y - feed[1])
    wave_angle = math.atan2(-(y - feed[1]), x - feed[0])
    if abs(wave_angle - math.pi / 4) <= 0.7 and (0.12 <= wave <= 0.18 or 0.24 <= wave <= 0.30):
        return YELLOW
    # Bowl: the half of an ellipse behind the dish's rim.
    if along <= 0 and (along / 0.16) ** 2 + (across / 0.30) ** 2 <= 1:
        return WHITE if along >= -0.045 else SILVER
    if near_segment(x, y, CENTRE, feed, 0.035) or math.hypot(x - feed[0], y - feed[1]) <= 0.06:
        return SILVER
    # Mast and foot.
    if near_segment(x, y, (0.36, 0.60), (0.36, 0.86), 0.05):
        return GREY
    if near_segment(x, y, (0.22, 0.86), (0.50, 0.86), 0.045):
        return GREY
    return NAVY


def render(size):
    """Rows of (r, g, b, a): each pixel takes the colour most of its 8 x 8 samples have, as
    16 colours cannot blend edges."""
    n = 8
    rows = []
    for py in range(size):
        row = []
        for px in range(size):
            samples = Counter(colour_at((px + (sx + 0.5) / n) / size, (py + (sy + 0.5) / n) / size)
                              for sy in range(n) for sx in range(n))
            inside = n * n - samples.pop(None, 0)
            if inside * 2 < n * n:
                row.append((0, 0, 0, 0))
            else:
                row.append(samples.most_common(1)[0][0] + (255,))
        rows.append(row)
    return rows


def main():
    rendered = {size: render(size) for size in (32, 16)}
    write_ico(sys.argv[1], [(size, 4, dib(rendered[size], 4, VGA)) for size in (32, 16)])
    if len(sys.argv) > 2:
        with open(sys.argv[2], "wb") as out:
            out.write(png(rendered[32]))


if __name__ == "__main__":
    main()
