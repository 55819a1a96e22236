#!/usr/bin/env python3
"""Checks for pixmap2res.py: the files it writes are read back by a decoder
written from the file formats, not from the converter, so a wrong field,
nibble order, row order, padding or mask bit shows up as a wrong picture."""

import contextlib
import io
import os
import struct
import sys
import tempfile
import unittest

HERE = os.path.dirname(os.path.abspath(__file__))
sys.dont_write_bytecode = True  # leave no __pycache__ in the source tree
sys.path.insert(0, HERE)
import pixmap2res  # noqa: E402

KEYS = "0123456789abcdef"  # key i stands for palette colour i in the fixtures
NAMES = ["black", "maroon", "green", "olive", "navy", "purple", "teal", "gray",
         "silver", "red", "lime", "yellow", "blue", "fuchsia", "aqua", "white"]
RGB = {"black": (0, 0, 0), "maroon": (128, 0, 0), "green": (0, 128, 0),
       "olive": (128, 128, 0), "navy": (0, 0, 128), "purple": (128, 0, 128),
       "teal": (0, 128, 128), "gray": (128, 128, 128), "silver": (192, 192, 192),
       "red": (255, 0, 0), "lime": (0, 255, 0), "yellow": (255, 255, 0),
       "blue": (0, 0, 255), "fuchsia": (255, 0, 255), "aqua": (0, 255, 255),
       "white": (255, 255, 255)}


def map_text(rows, size=None, transparent=True):
    width, height = size or (len(rows[0]), len(rows))
    legend = [f"{k} = {n}" for k, n in zip(KEYS, NAMES)]
    if transparent:
        legend.append(". = transparent")
    return "\n".join([f"size {width}x{height}", *legend, "pixels", *rows]) + "\n"


def pattern(width, height, holes=True):
    """Rows in which every pixel's colour depends on both x and y."""
    rows = []
    for y in range(height):
        row = ""
        for x in range(width):
            row += "." if holes and (x * 7 + y * 3) % 5 == 1 else KEYS[(x + 5 * y) % 16]
        rows.append(row)
    return rows


def expected_rgb(rows):
    return [[None if c == "." else RGB[NAMES[KEYS.index(c)]] for c in row] for row in rows]


def read_palette(data, at):
    return [(r, g, b) for b, g, r, _ in struct.iter_unpack("<BBBB", data[at:at + 64])]


def read_4bpp(data, at, width, height):
    stride = ((width * 4 + 31) // 32) * 4
    pixels = []
    for y in range(height):
        line = data[at + (height - 1 - y) * stride:][:stride]  # bottom-up
        pixels.append([(line[x // 2] >> (0 if x % 2 else 4)) & 15 for x in range(width)])
        # Padding bits past the last pixel must be zero.
        used = (width * 4 + 7) // 8
        tail = line[used:]
        assert not any(tail), f"row {y} padding not zero"
    return pixels, stride * height


def decode_ico(data):
    reserved, kind, count = struct.unpack_from("<HHH", data, 0)
    w, h, colours, res, planes, bpp, size, offset = struct.unpack_from("<BBBBHHII", data, 6)
    header = dict(reserved=reserved, kind=kind, count=count, w=w or 256, h=h or 256,
                  colours=colours, res=res, planes=planes, bpp=bpp, size=size, offset=offset)
    (bi_size, bi_w, bi_h, bi_planes, bi_bpp, bi_comp, bi_image, *_rest) = struct.unpack_from(
        "<IiiHHIIiiII", data, offset)
    header.update(bi_size=bi_size, bi_w=bi_w, bi_h=bi_h, bi_planes=bi_planes, bi_bpp=bi_bpp,
                  bi_comp=bi_comp, bi_image=bi_image, total=len(data))
    width, height = bi_w, bi_h // 2
    palette = read_palette(data, offset + 40)
    indices, xor_len = read_4bpp(data, offset + 40 + 64, width, height)
    mask_at = offset + 40 + 64 + xor_len
    mask_stride = ((width + 31) // 32) * 4
    image = []
    for y in range(height):
        line = data[mask_at + (height - 1 - y) * mask_stride:][:mask_stride]
        row = []
        for x in range(width):
            see_through = line[x // 8] & (0x80 >> (x % 8))
            if see_through:
                # Windows XORs the colour onto the screen after the AND: it
                # must be black or the background gets tinted.
                assert indices[y][x] == 0, f"transparent pixel {x},{y} has colour {indices[y][x]}"
                row.append(None)
            else:
                row.append(palette[indices[y][x]])
        image.append(row)
    header["end"] = mask_at + mask_stride * height
    return header, image


def decode_bmp(data):
    magic, file_size, r1, r2, offset = struct.unpack_from("<2sIHHI", data, 0)
    (bi_size, bi_w, bi_h, bi_planes, bi_bpp, bi_comp, bi_image, _x, _y, used, _imp) = \
        struct.unpack_from("<IiiHHIIiiII", data, 14)
    header = dict(magic=magic, file_size=file_size, reserved=(r1, r2), offset=offset,
                  bi_size=bi_size, bi_w=bi_w, bi_h=bi_h, bi_planes=bi_planes, bi_bpp=bi_bpp,
                  bi_comp=bi_comp, bi_image=bi_image, used=used, total=len(data))
    palette = read_palette(data, 14 + bi_size)
    indices, length = read_4bpp(data, offset, bi_w, bi_h)
    header["end"] = offset + length
    return header, [[palette[i] for i in row] for row in indices]


class Workspace(unittest.TestCase):
    def setUp(self):
        self._dir = tempfile.TemporaryDirectory()
        self.dir = self._dir.name

    def tearDown(self):
        self._dir.cleanup()

    def run_tool(self, text, out_name, *extra):
        source = os.path.join(self.dir, "in.pixmap")
        with open(source, "w", encoding="utf-8") as f:
            f.write(text)
        output = os.path.join(self.dir, out_name)
        err = io.StringIO()
        with contextlib.redirect_stderr(err):
            code = pixmap2res.main([*extra, source, output])
        return code, output, err.getvalue()


class IconOutput(Workspace):
    # Widths chosen to hit the padding cases: one pixel, an odd width whose
    # rows need padding, and one crossing a 32-pixel boundary of the mask.
    SIZES = [(1, 1), (9, 3), (33, 2), (64, 64)]

    def test_round_trip_headers_pixels_and_mask(self):
        for width, height in self.SIZES:
            with self.subTest(size=(width, height)):
                rows = pattern(width, height)
                code, out, err = self.run_tool(map_text(rows), "x.ico")
                self.assertEqual(code, 0, err)
                with open(out, "rb") as f:
                    data = f.read()
                header, image = decode_ico(data)
                self.assertEqual(
                    (header["reserved"], header["kind"], header["count"]), (0, 1, 1))
                self.assertEqual((header["w"], header["h"]), (width, height))
                self.assertEqual((header["colours"], header["planes"], header["bpp"]), (16, 1, 4))
                self.assertEqual(header["offset"], 22)
                self.assertEqual(header["size"], len(data) - 22)
                self.assertEqual((header["bi_size"], header["bi_w"], header["bi_h"]),
                                 (40, width, 2 * height))
                self.assertEqual((header["bi_planes"], header["bi_bpp"], header["bi_comp"]),
                                 (1, 4, 0))
                self.assertEqual(header["end"], len(data), "XOR + AND must fill the image exactly")
                self.assertEqual(header["bi_image"], len(data) - 22 - 40 - 64)
                self.assertEqual(image, expected_rgb(rows))

    def test_opaque_icon_has_an_empty_mask(self):
        rows = pattern(8, 8, holes=False)
        code, out, err = self.run_tool(map_text(rows), "x.ico")
        self.assertEqual(code, 0, err)
        with open(out, "rb") as f:
            _, image = decode_ico(f.read())
        self.assertTrue(all(p is not None for row in image for p in row))


class BitmapOutput(Workspace):
    def test_round_trip(self):
        for width, height in [(1, 1), (9, 3), (36, 18)]:
            with self.subTest(size=(width, height)):
                rows = pattern(width, height, holes=False)
                code, out, err = self.run_tool(map_text(rows, transparent=False), "x.bmp")
                self.assertEqual(code, 0, err)
                with open(out, "rb") as f:
                    data = f.read()
                header, image = decode_bmp(data)
                self.assertEqual(header["magic"], b"BM")
                self.assertEqual(header["file_size"], len(data))
                self.assertEqual(header["reserved"], (0, 0))
                self.assertEqual(header["offset"], 14 + 40 + 64)
                # Positive height: bottom-up, as LoadImage and the button expect.
                self.assertEqual((header["bi_size"], header["bi_w"], header["bi_h"]),
                                 (40, width, height))
                self.assertEqual((header["bi_planes"], header["bi_bpp"], header["bi_comp"]),
                                 (1, 4, 0))
                self.assertEqual(header["end"], len(data))
                self.assertEqual(header["bi_image"], len(data) - header["offset"])
                self.assertEqual(image, expected_rgb(rows))


class Rejections(Workspace):
    GOOD = ["01", "23"]

    def cases(self):
        legend_then = "size 2x2\n0 = black\n1 = maroon\n2 = green\n3 = olive\n"
        return [
            # (name, map text, output name, extra args, words the message must hold)
            ("a row missing", map_text(self.GOOD, size=(2, 3)), "x.ico", [], "3 rows"),
            ("a row too many", map_text(self.GOOD + ["01"], size=(2, 2)), "x.ico", [], "2 rows"),
            ("row too long", map_text(["01", "234"], size=(2, 2)), "x.ico", [], "3 pixels wide"),
            ("row too short", map_text(["01", "2"], size=(2, 2)), "x.ico", [], "1 pixels wide"),
            ("unknown character", map_text(["01", "2x"]), "x.ico", [], "'x' is not in the legend"),
            ("trailing space", map_text(["01", "23 "], size=(2, 2)), "x.ico", [], "3 pixels wide"),
            ("transparent in a bitmap", map_text(["01", "2."]), "x.bmp", [], "no mask"),
            ("not the size the build wants", map_text(self.GOOD), "x.ico", ["--size", "16x16"],
             "expects 16x16"),
            ("no size line", "0 = black\npixels\n00\n", "x.ico", [], "no 'size"),
            ("no pixels line", "size 1x1\n0 = black\n", "x.ico", [], "no 'pixels'"),
            ("zero width", "size 0x1\n0 = black\npixels\n\n", "x.ico", [], "outside"),
            ("too big for an icon", "size 257x1\n0 = black\npixels\n" + "0" * 257 + "\n", "x.ico",
             [], "outside"),
            ("key declared twice", legend_then + "0 = white\npixels\n01\n23\n", "x.ico", [],
             "declared twice"),
            ("colour given two keys", legend_then + "9 = black\npixels\n01\n23\n", "x.ico", [],
             "already has"),
            ("unknown colour", "size 1x1\n0 = orange\npixels\n0\n", "x.ico", [], "unknown colour"),
            ("key of two characters", "size 1x1\n00 = black\npixels\n0\n", "x.ico", [],
             "one visible character"),
            ("unsupported output", map_text(self.GOOD), "x.png", [], "can only write"),
        ]

    def test_each_bad_map_fails_without_leaving_an_output(self):
        for name, text, out_name, extra, words in self.cases():
            with self.subTest(name):
                code, out, err = self.run_tool(text, out_name, *extra)
                self.assertEqual(code, 1)
                self.assertIn(words, err)
                # A file left behind would look up to date to the build.
                self.assertFalse(os.path.exists(out))
                self.assertFalse(os.path.exists(out + ".part"))

    def test_failure_keeps_the_previous_output_untouched(self):
        code, out, err = self.run_tool(map_text(self.GOOD), "x.ico")
        self.assertEqual(code, 0, err)
        with open(out, "rb") as f:
            before = f.read()
        code, _, _ = self.run_tool(map_text(["01", "2x"]), "x.ico")
        self.assertEqual(code, 1)
        with open(out, "rb") as f:
            self.assertEqual(f.read(), before)


class ShippedGlyph(unittest.TestCase):
    def test_transparent_colour_never_shows_inside_a_mark(self):
        # The button treats every pixel of the lower-left pixel's colour as
        # see-through; inside a mark that would punch a hole in it.  Every
        # such pixel must therefore reach the picture's edge through others.
        with open(os.path.join(HERE, "okglyph.pixmap"), encoding="utf-8") as f:
            glyph = pixmap2res.parse_map(f.read(), "okglyph.pixmap")
        key = glyph.rows[-1][0]
        w, h = glyph.width, glyph.height
        seen = set()
        todo = [(x, y) for y in range(h) for x in range(w)
                if (x in (0, w - 1) or y in (0, h - 1)) and glyph.rows[y][x] == key]
        while todo:
            x, y = todo.pop()
            if (x, y) in seen or not (0 <= x < w and 0 <= y < h) or glyph.rows[y][x] != key:
                continue
            seen.add((x, y))
            todo += [(x + 1, y), (x - 1, y), (x, y + 1), (x, y - 1)]
        enclosed = [(x, y) for y in range(h) for x in range(w)
                    if glyph.rows[y][x] == key and (x, y) not in seen]
        self.assertEqual(enclosed, [])
        # Both halves stand on the key colour, or the half without it would
        # bring a coloured box onto the button.
        half = w // 2
        corners = {glyph.rows[y][x] for y in (0, h - 1) for x in (0, half - 1, half, w - 1)}
        self.assertEqual(corners, {key})


if __name__ == "__main__":
    unittest.main()
