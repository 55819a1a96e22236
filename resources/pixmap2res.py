#!/usr/bin/env python3
"""Turn Solarim's text pixel maps into Windows resource files.

    pixmap2res.py [--size WxH] SOURCE OUTPUT

OUTPUT ending in .ico gets a single-image 16-colour icon (XOR bitmap plus
AND mask); OUTPUT ending in .bmp gets a 16-colour bitmap file.  --size makes
the build insist on the size it expects, so a map that was cropped or grown
by accident fails the build instead of giving a blurred, rescaled icon.

A pixel map is plain text:

    # comments and blank lines are allowed before "pixels"
    size 16x16
    K = black
    Y = yellow
    . = transparent
    pixels
    ................
    ...(one line per pixel row, one character per pixel, top row first)

Every character used must be declared; colours are named after the standard
16-colour Windows palette (see PALETTE).  "transparent" exists only in icons:
a bitmap has no mask, its transparent colour is decided by whoever draws it.

Standard library only, so the build needs nothing but a Python interpreter.
"""

import argparse
import os
import struct
import sys

# The standard 16-colour palette, in the order Windows writes 4-bit bitmaps.
# The order matters only inside the files; the maps refer to colours by name.
PALETTE = [
    ("black", (0x00, 0x00, 0x00)),
    ("maroon", (0x80, 0x00, 0x00)),
    ("green", (0x00, 0x80, 0x00)),
    ("olive", (0x80, 0x80, 0x00)),
    ("navy", (0x00, 0x00, 0x80)),
    ("purple", (0x80, 0x00, 0x80)),
    ("teal", (0x00, 0x80, 0x80)),
    ("gray", (0x80, 0x80, 0x80)),
    ("silver", (0xC0, 0xC0, 0xC0)),
    ("red", (0xFF, 0x00, 0x00)),
    ("lime", (0x00, 0xFF, 0x00)),
    ("yellow", (0xFF, 0xFF, 0x00)),
    ("blue", (0x00, 0x00, 0xFF)),
    ("fuchsia", (0xFF, 0x00, 0xFF)),
    ("aqua", (0x00, 0xFF, 0xFF)),
    ("white", (0xFF, 0xFF, 0xFF)),
]
COLOUR_INDEX = {name: i for i, (name, _) in enumerate(PALETTE)}
TRANSPARENT = "transparent"
# Pixel index stored under a transparent pixel: black, so that XOR-ing it
# onto the screen leaves the screen as it was.
TRANSPARENT_INDEX = COLOUR_INDEX["black"]
MAX_SIDE = 256  # largest side an icon directory entry can describe


class MapError(Exception):
    """A pixel map that must not become a resource; the text says why."""


class PixelMap:
    """A parsed map: rows of palette indices, None where transparent."""

    def __init__(self, width, height, rows):
        self.width = width
        self.height = height
        self.rows = rows

    @property
    def has_transparency(self):
        return any(p is None for row in self.rows for p in row)


def _parse_size(text, where):
    parts = text.lower().split("x")
    if len(parts) != 2 or not all(p.isdigit() for p in parts):
        raise MapError(f"{where}: size must look like 64x64, not {text!r}")
    width, height = int(parts[0]), int(parts[1])
    if not (1 <= width <= MAX_SIDE and 1 <= height <= MAX_SIDE):
        raise MapError(f"{where}: size {width}x{height} is outside 1..{MAX_SIDE}")
    return width, height


def parse_map(text, name="<map>"):
    """Parse a pixel map, rejecting anything that is not exactly right."""
    lines = text.splitlines()
    size = None
    legend = {}
    colours_seen = {}
    pixels_at = None
    for number, raw in enumerate(lines, 1):
        where = f"{name}:{number}"
        line = raw.strip()
        if not line or line.startswith("#"):
            continue
        if line == "pixels":
            pixels_at = number
            break
        if line.startswith("size "):
            if size is not None:
                raise MapError(f"{where}: size given twice")
            size = _parse_size(line[5:].strip(), where)
            continue
        key, sep, colour = raw.partition("=")
        key = key.strip()
        colour = colour.strip().lower()
        if not sep:
            raise MapError(f"{where}: expected 'size WxH', 'C = colour' or 'pixels', got {line!r}")
        if len(key) != 1 or key.isspace() or key == "#" or not key.isprintable():
            raise MapError(f"{where}: a legend key must be one visible character other than '#', got {key!r}")
        if colour != TRANSPARENT and colour not in COLOUR_INDEX:
            known = ", ".join(n for n, _ in PALETTE)
            raise MapError(f"{where}: unknown colour {colour!r} (known: {known}, {TRANSPARENT})")
        if key in legend:
            raise MapError(f"{where}: {key!r} is declared twice")
        if colour in colours_seen:
            raise MapError(f"{where}: {colour} already has the key {colours_seen[colour]!r}")
        legend[key] = None if colour == TRANSPARENT else COLOUR_INDEX[colour]
        colours_seen[colour] = key
    if size is None:
        raise MapError(f"{name}: no 'size WxH' line")
    if pixels_at is None:
        raise MapError(f"{name}: no 'pixels' line")
    width, height = size

    body = lines[pixels_at:]
    while body and not body[-1].strip():
        body.pop()
    if len(body) != height:
        raise MapError(f"{name}: size says {height} rows, the map has {len(body)}")
    rows = []
    for offset, row in enumerate(body):
        number = pixels_at + 1 + offset
        if len(row) != width:
            raise MapError(f"{name}:{number}: row is {len(row)} pixels wide, size says {width}")
        indices = []
        for column, char in enumerate(row, 1):
            if char not in legend:
                raise MapError(f"{name}:{number}:{column}: {char!r} is not in the legend")
            indices.append(legend[char])
        rows.append(indices)
    return PixelMap(width, height, rows)


def _palette_bytes():
    return b"".join(struct.pack("<BBBB", b, g, r, 0) for _, (r, g, b) in PALETTE)


def _four_bit_rows(pixmap):
    """XOR bitmap: bottom row first, two pixels a byte, rows padded to 4 bytes."""
    stride = ((pixmap.width * 4 + 31) // 32) * 4
    out = bytearray()
    for row in reversed(pixmap.rows):
        line = bytearray(stride)
        for x, p in enumerate(row):
            index = TRANSPARENT_INDEX if p is None else p
            line[x // 2] |= index << (4 if x % 2 == 0 else 0)
        out += line
    return bytes(out)


def _mask_rows(pixmap):
    """AND mask: bit set where the screen shows through, bottom row first."""
    stride = ((pixmap.width + 31) // 32) * 4
    out = bytearray()
    for row in reversed(pixmap.rows):
        line = bytearray(stride)
        for x, p in enumerate(row):
            if p is None:
                line[x // 8] |= 0x80 >> (x % 8)
        out += line
    return bytes(out)


def _info_header(width, height, image_size):
    # BITMAPINFOHEADER; 16 colours used, all of them important.
    return struct.pack("<IiiHHIIiiII", 40, width, height, 1, 4, 0, image_size, 0, 0, 16, 0)


def make_ico(pixmap):
    xor = _four_bit_rows(pixmap)
    mask = _mask_rows(pixmap)
    # An icon's header counts the XOR and AND halves together: doubled height.
    image = (_info_header(pixmap.width, pixmap.height * 2, len(xor) + len(mask))
             + _palette_bytes() + xor + mask)
    directory = struct.pack("<HHH", 0, 1, 1)
    entry = struct.pack(
        "<BBBBHHII",
        pixmap.width % 256, pixmap.height % 256,  # 0 stands for 256
        16, 0, 1, 4, len(image), 6 + 16)
    return directory + entry + image


def make_bmp(pixmap):
    if pixmap.has_transparency:
        raise MapError("a bitmap has no mask: paint its transparent colour instead of 'transparent'")
    bits = _four_bit_rows(pixmap)
    offset = 14 + 40 + 16 * 4
    file_header = struct.pack("<2sIHHI", b"BM", offset + len(bits), 0, 0, offset)
    return file_header + _info_header(pixmap.width, pixmap.height, len(bits)) + _palette_bytes() + bits


WRITERS = {".ico": make_ico, ".bmp": make_bmp}


def convert(source, output, expected_size=None):
    kind = os.path.splitext(output)[1].lower()
    if kind not in WRITERS:
        raise MapError(f"{output}: can only write {', '.join(sorted(WRITERS))}")
    with open(source, encoding="utf-8") as f:
        pixmap = parse_map(f.read(), source)
    if expected_size and (pixmap.width, pixmap.height) != expected_size:
        raise MapError(f"{source}: is {pixmap.width}x{pixmap.height}, the build expects "
                       f"{expected_size[0]}x{expected_size[1]}")
    try:
        data = WRITERS[kind](pixmap)
    except MapError as e:
        raise MapError(f"{source}: {e}") from None
    # Write beside the target and rename, so a failed run never leaves a
    # half-written file that the build would take as up to date.
    temporary = output + ".part"
    with open(temporary, "wb") as f:
        f.write(data)
    os.replace(temporary, output)


def main(argv=None):
    parser = argparse.ArgumentParser(description="Convert a text pixel map to .ico or .bmp.")
    parser.add_argument("--size", help="refuse a map that is not exactly WxH")
    parser.add_argument("source")
    parser.add_argument("output")
    args = parser.parse_args(argv)
    try:
        expected = _parse_size(args.size, "--size") if args.size else None
        convert(args.source, args.output, expected)
    except (MapError, OSError) as e:
        print(f"pixmap2res: {e}", file=sys.stderr)
        return 1
    return 0


if __name__ == "__main__":
    sys.exit(main())
