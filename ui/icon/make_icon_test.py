#!/usr/bin/env python3
"""Runs make-icon.py into a temporary folder and reads back what it wrote."""

import os
import struct
import subprocess
import sys
import tempfile
import unittest

SCRIPT = os.path.join(os.path.dirname(os.path.abspath(__file__)), "make-icon.py")
PNG_SIGNATURE = b"\x89PNG\r\n\x1a\n"


def png_size(data):
    """(width, height) from the IHDR chunk, which must come first."""
    assert data[:8] == PNG_SIGNATURE, "no PNG signature"
    length, kind, width, height = struct.unpack(">I4sII", data[8:24])
    assert kind == b"IHDR" and length == 13, "IHDR is not the first chunk"
    return width, height


class MakeIconTest(unittest.TestCase):
    @classmethod
    def setUpClass(cls):
        cls.tmp = tempfile.TemporaryDirectory()
        ico = os.path.join(cls.tmp.name, "kesmaro.ico")
        subprocess.run([sys.executable, SCRIPT, "--ico", ico,
                        "--png-dir", os.path.join(cls.tmp.name, "png")], check=True)
        with open(ico, "rb") as f:
            cls.ico = f.read()
        reserved, kind, count = struct.unpack("<HHH", cls.ico[:6])
        assert (reserved, kind) == (0, 1), "not an icon file"
        cls.entries = []
        for i in range(count):
            w, h, colours, _, planes, bits, length, offset = struct.unpack(
                "<BBBBHHII", cls.ico[6 + 16 * i:22 + 16 * i])
            cls.entries.append(dict(size=w or 256, height=h or 256, colours=colours,
                                    planes=planes, bits=bits, data=cls.ico[offset:offset + length],
                                    offset=offset, length=length))

    @classmethod
    def tearDownClass(cls):
        cls.tmp.cleanup()

    def entry(self, size, bits):
        return next(e for e in self.entries if (e["size"], e["bits"]) == (size, bits))

    def test_directory_lists_every_image_once_and_inside_the_file(self):
        self.assertEqual(sorted((e["size"], e["bits"]) for e in self.entries), sorted(
            [(n, 32) for n in (16, 24, 32, 48, 64, 256)]
            + [(n, b) for n in (16, 32, 48) for b in (8, 4)]))
        end = 6 + 16 * len(self.entries)
        for e in sorted(self.entries, key=lambda e: e["offset"]):
            self.assertEqual(e["offset"], end, "images overlap or leave a gap")
            end += e["length"]
            self.assertEqual((e["height"], e["planes"]), (e["size"], 1))
            self.assertEqual(e["colours"], 16 if e["bits"] == 4 else 0)
        self.assertEqual(end, len(self.ico))

    def test_bitmap_headers_agree_with_the_directory(self):
        for e in self.entries:
            if e["size"] == 256:
                continue
            with self.subTest(size=e["size"], bits=e["bits"]):
                size, bits, data = e["size"], e["bits"], e["data"]
                (header, width, height, planes, bit_count, compression,
                 _, _, _, used, _) = struct.unpack("<IiiHHIIiiII", data[:40])
                self.assertEqual((header, width, height, planes, bit_count, compression),
                                 (40, size, 2 * size, 1, bits, 0))
                palette = used or (1 << bits if bits <= 8 else 0)
                xor = ((size * bits + 31) // 32) * 4 * size
                mask = ((size + 31) // 32) * 4 * size
                self.assertEqual(len(data), 40 + 4 * palette + xor + mask)

    def test_largest_image_is_a_png(self):
        self.assertEqual(png_size(self.entry(256, 32)["data"]), (256, 256))

    def test_masks_follow_the_alpha_of_the_full_colour_image(self):
        def alpha_32(x, y):  # rows are stored bottom-up
            return self.entry(32, 32)["data"][40 + ((31 - y) * 32 + x) * 4 + 3]
        self.assertEqual(alpha_32(16, 16), 255, "centre not drawn")
        # The sheets reach the top edge and leave the bottom-left corner empty, not the other
        # way round.
        self.assertEqual((alpha_32(8, 1), alpha_32(8, 30)), (255, 0), "image upside down")
        for size in (16, 32, 48):
            data = self.entry(size, 32)["data"]
            alpha = data[43:40 + size * size * 4:4]  # bottom-up BGRA rows
            stride = ((size + 31) // 32) * 4
            expected = bytearray(stride * size)
            for i, a in enumerate(alpha):
                if a < 128:
                    y, x = divmod(i, size)
                    expected[y * stride + (x >> 3)] |= 0x80 >> (x & 7)
            self.assertIn(0, alpha)
            for bits in (32, 8, 4):
                with self.subTest(size=size, bits=bits):
                    self.assertEqual(self.entry(size, bits)["data"][-len(expected):], expected)

    def test_png_dir_holds_the_sizes_the_build_is_told(self):
        listed = subprocess.run([sys.executable, SCRIPT, "--list-png-sizes"], capture_output=True,
                                text=True, check=True).stdout.split()
        sizes = [int(n) for n in listed]
        self.assertIn(256, sizes)
        folder = os.path.join(self.tmp.name, "png")
        self.assertEqual(sorted(os.listdir(folder)), sorted("kesmaro-%d.png" % n for n in sizes))
        for n in sizes:
            with open(os.path.join(folder, "kesmaro-%d.png" % n), "rb") as f:
                self.assertEqual(png_size(f.read()), (n, n))

    def test_png_needs_a_size(self):
        run = subprocess.run([sys.executable, SCRIPT, "--png", os.path.join(self.tmp.name, "x.png")],
                             capture_output=True)
        self.assertEqual(run.returncode, 2)


if __name__ == "__main__":
    unittest.main()
