#!/usr/bin/env python3
"""Writes a made-up SRTM tile of rolling hills (3 arc-seconds, 1201 x 1201 nodes, big-endian
16-bit metres), named after its south-west corner, for the pictures of the README."""
import math
import struct
import sys

NODES = 1201


def height(lat, lon):
    # Hills a few kilometres across on a plain that rises to the north-east, and one ridge.
    h = 180 + 120 * (lat - 40) + 60 * (lon + 80)
    h += 70 * math.sin(lat * 47.0) * math.cos(lon * 39.0)
    h += 35 * math.sin(lat * 131.0 + 1.3) * math.sin(lon * 113.0)
    h += 260 * math.exp(-((lon + 79.62 - 0.35 * (lat - 40.2)) / 0.025) ** 2)
    return h


def main():
    folder, south, west = sys.argv[1], int(sys.argv[2]), int(sys.argv[3])
    name = "%s%02d%s%03d.hgt" % ("N" if south >= 0 else "S", abs(south),
                                 "E" if west >= 0 else "W", abs(west))
    rows = bytearray()
    for row in range(NODES):
        lat = south + 1 - row / (NODES - 1)
        values = [round(height(lat, west + col / (NODES - 1))) for col in range(NODES)]
        rows += struct.pack(">%dh" % NODES, *values)
    with open(folder + "/" + name, "wb") as out:
        out.write(rows)


if __name__ == "__main__":
    main()
