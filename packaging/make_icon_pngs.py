#!/usr/bin/env python3
"""Writes the QUARN application icon as the PNG files of the desktop's icon theme:
NAME-16.png, NAME-32.png, NAME-48.png and NAME-256.png in OUTPUT_DIR.

The pictures come from resources/make_icon.py, the icon's generator: the 256 x 256 one is the
PNG image stored in quarn.ico (the generator's own drawing at that size); the small ones are
drawn with the generator at their size, keeping the soft edges that the .ico's small images
give up for a 1-bit mask. Needs nothing beyond the standard library.

Usage: make_icon_pngs.py QUARN.ico OUTPUT_DIR NAME
"""
import os
import struct
import sys

sys.dont_write_bytecode = True  # no __pycache__ in the source tree
sys.path.insert(0, os.path.join(os.path.dirname(os.path.abspath(__file__)), "..", "resources"))
import make_icon  # noqa: E402

SIZES = (16, 32, 48, 256)
PNG_SIGNATURE = b"\x89PNG\r\n\x1a\n"


def stored_pngs(ico):
    """The PNG-compressed images of an .ico file, by size."""
    reserved, kind, count = struct.unpack_from("<HHH", ico, 0)
    if reserved != 0 or kind != 1:
        raise ValueError("not an icon file")
    found = {}
    for i in range(count):
        width, _, _, _, _, _, length, offset = struct.unpack_from("<BBBBHHII", ico, 6 + 16 * i)
        blob = ico[offset:offset + length]
        if len(blob) == length and blob.startswith(PNG_SIGNATURE):
            found[width or 256] = blob
    return found


def main():
    if len(sys.argv) != 4:
        sys.exit(__doc__.strip().splitlines()[-1])
    ico_path, out_dir, name = sys.argv[1:]
    with open(ico_path, "rb") as f:
        stored = stored_pngs(f.read())
    os.makedirs(out_dir, exist_ok=True)
    for size in SIZES:
        data = stored.get(size) or make_icon.png(make_icon.render(size))
        with open(os.path.join(out_dir, f"{name}-{size}.png"), "wb") as out:
            out.write(data)


if __name__ == "__main__":
    main()
