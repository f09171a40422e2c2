"""Runs the sample product generator into a temporary folder and checks the files
the setup program will carry: names, sizes, formats by role, copies of the
inputs, byte-identical output on a second run, and its messages for bad inputs."""

import hashlib
import os
import shutil
import struct
import subprocess
import sys
import tempfile
import unittest
import zlib

TOOLS = os.path.join(os.path.dirname(os.path.abspath(__file__)), "..", "..", "tools")
GENERATOR = os.path.join(TOOLS, "make_sample_product.py")
sys.path.insert(0, TOOLS)

import file_table  # noqa: E402

# The payload by role, as the install design lists it.
DICTIONARY_IDS = [106, 131, 143, 111, 153, 123, 118, 137, 130, 191, 192, 132, 144, 162, 189, 173, 241, 240,
                  248, 249, 250, 251, 252]
WORD_BASE_IDS = [127, 126, 128, 129]
KEYBOARD_MAP_IDS = [116, 136, 138, 140, 141, 149, 151, 150, 152]
HELP_CN_IDS = [175, 176, 177, 178, 179, 174, 180, 181, 182, 183, 184]
HELP_EN_IDS = [194, 195, 196, 197, 198, 193, 199, 200, 201]
HELP_B5_IDS = [294, 295, 296, 297, 298, 293, 299, 300, 301]
PICTURE_IDS = [205, 206, 207, 208] + list(range(210, 228))
PROGRAM_IDS = [109, 171, 139, 253]
GB2312_DOCUMENT_IDS = [114, 115, 203, 254]
ASCII_DOCUMENT_IDS = [204, 165]

LARGEST_BYTES = 34_731_791
SMALLEST_BYTES = 1_150
TOTAL_RANGE = (62_000_000, 64_000_000)
GLYPH_SHEETS_BYTES = 241_664
FAKE_PROGRAM_BYTES = 96 * 1024
NOTICE = b"sample data"


def fake_program(seed):
    """An "MZ" file of a plausible program size, different per program."""
    body = bytes((i * seed + (i >> 7)) & 0xFF for i in range(4096))
    return (b"MZ" + bytes([seed]) + body * (FAKE_PROGRAM_BYTES // len(body)))[:FAKE_PROGRAM_BYTES]


def run_generator(arguments, environment=None):
    return subprocess.run([sys.executable, GENERATOR] + arguments, capture_output=True, text=True,
                          env=environment, timeout=120)


def read_bmp(data):
    """Returns (width, height, bits, colours in the table, pixel bytes), checking
    that the headers agree with each other and with the file size."""
    magic, file_size, _, _, offset = struct.unpack_from("<2sIHHI", data, 0)
    (info_size, width, height, planes, bits, compression, image_size, _, _,
     colours_used, _) = struct.unpack_from("<IiiHHIIiiII", data, 14)
    assert magic == b"BM", "no BM signature"
    assert file_size == len(data), "bfSize %d, file %d" % (file_size, len(data))
    assert info_size == 40 and planes == 1 and compression == 0
    assert width > 0 and height > 0
    table = colours_used or (1 << bits if bits <= 8 else 0)
    assert offset == 14 + 40 + 4 * table, "pixels at %d, table of %d colours" % (offset, table)
    stride = (width * bits + 31) // 32 * 4
    assert image_size in (0, stride * height)
    assert offset + stride * height == len(data), "pixel data does not fill the file"
    palette = [tuple(data[54 + 4 * i: 54 + 4 * i + 3]) for i in range(table)]
    return width, height, bits, palette, data[offset:]


def png_chunks(data):
    """The chunks of a PNG as (type, data), after checking every CRC."""
    assert data[:8] == b"\x89PNG\r\n\x1a\n", "no PNG signature"
    chunks = []
    position = 8
    while position < len(data):
        length, kind = struct.unpack_from(">I4s", data, position)
        body = data[position + 8: position + 8 + length]
        (crc,) = struct.unpack_from(">I", data, position + 8 + length)
        assert crc == zlib.crc32(kind + body), "bad CRC in %r chunk" % kind
        chunks.append((kind, body))
        position += 12 + length
    assert position == len(data), "bytes after the last chunk"
    return chunks


class SampleProductTest(unittest.TestCase):

    @classmethod
    def setUpClass(cls):
        cls.work = tempfile.mkdtemp(prefix="sample_product_test_")
        cls.inputs = {
            "glyphs": bytes((i * 7 + (i >> 9)) & 0xFF for i in range(GLYPH_SHEETS_BYTES)),
            "licence_cn": ("软件许可协议（测试用）\r\n本协议是测试用的文本。\r\n" * 40).encode("gb2312"),
            "licence_en": b"Licence agreement for the test.\r\nThis text is a test input.\r\n" * 40,
        }
        for name, data in cls.inputs.items():
            cls.write_input(name, data)
        cls.programs = {number: fake_program(i + 1) for i, number in enumerate(PROGRAM_IDS)}
        for number, data in cls.programs.items():
            cls.write_input("program_%d.exe" % number, data)

        cls.rows = file_table.read_file_table()
        cls.names = {row.resource_id: row.target_name for row in cls.rows}
        cls.first = os.path.join(cls.work, "first")
        cls.second = os.path.join(cls.work, "second")
        # The second run gets another string hash seed: output must not depend on it.
        environment = dict(os.environ, PYTHONHASHSEED="12345")
        for out, env in ((cls.first, None), (cls.second, environment)):
            result = run_generator(cls.arguments(out), env)
            if result.returncode != 0:
                raise AssertionError("generator failed: %s" % result.stderr)
        cls.files = {}
        for name in os.listdir(cls.first):
            with open(os.path.join(cls.first, name), "rb") as f:
                cls.files[name] = f.read()

    @classmethod
    def tearDownClass(cls):
        shutil.rmtree(cls.work, ignore_errors=True)

    @classmethod
    def write_input(cls, name, data):
        with open(os.path.join(cls.work, name), "wb") as f:
            f.write(data)

    @classmethod
    def arguments(cls, out, glyphs=None):
        arguments = ["--out", out, "--glyphs", glyphs or os.path.join(cls.work, "glyphs"),
                     "--licence-cn", os.path.join(cls.work, "licence_cn"),
                     "--licence-en", os.path.join(cls.work, "licence_en")]
        for number in PROGRAM_IDS:
            arguments += ["--program", "%d=%s" % (number, os.path.join(cls.work, "program_%d.exe" % number))]
        return arguments

    def entry(self, resource_id):
        return self.files[self.names[resource_id]]

    # -- names and sizes

    def test_writes_every_table_file_and_nothing_else(self):
        self.assertEqual(len(self.rows), 106)
        self.assertEqual(sorted(self.files), sorted(self.names.values()))

    def test_largest_file_is_the_word_dictionary(self):
        largest = max(self.files, key=lambda name: len(self.files[name]))
        self.assertEqual(largest, "WordDict2.bin")
        self.assertEqual(len(self.files[largest]), LARGEST_BYTES)

    def test_smallest_file_is_generated_and_exactly_1150_bytes(self):
        sizes = sorted(len(data) for data in self.files.values())
        self.assertEqual(sizes[0], SMALLEST_BYTES)
        self.assertGreater(sizes[1], SMALLEST_BYTES, "more than one file at the smallest size")
        self.assertEqual(len(self.entry(204)), SMALLEST_BYTES)

    def test_total_size_is_about_63_megabytes(self):
        total = sum(len(data) for data in self.files.values())
        self.assertGreaterEqual(total, TOTAL_RANGE[0])
        self.assertLessEqual(total, TOTAL_RANGE[1])

    def test_second_run_gives_identical_bytes(self):
        self.assertEqual(sorted(os.listdir(self.second)), sorted(self.files))
        for name, data in self.files.items():
            with open(os.path.join(self.second, name), "rb") as f:
                self.assertEqual(hashlib.sha256(f.read()).digest(), hashlib.sha256(data).digest(), name)

    # -- copies of the inputs

    def test_inputs_are_copied_byte_for_byte(self):
        self.assertEqual(self.entry(110), self.inputs["glyphs"])
        self.assertEqual(self.entry(124), self.inputs["licence_cn"])
        self.assertEqual(self.entry(161), self.inputs["licence_en"])
        for number in PROGRAM_IDS:
            self.assertEqual(self.entry(number), self.programs[number], self.names[number])

    # -- formats by role

    def test_keyboard_maps_are_monochrome_bitmaps_with_a_drawing(self):
        for resource_id in KEYBOARD_MAP_IDS:
            name = self.names[resource_id]
            width, _, bits, palette, pixels = read_bmp(self.entry(resource_id))
            self.assertEqual(bits, 1, name)
            self.assertEqual(sorted(palette), [(0, 0, 0), (255, 255, 255)], name)
            # white ground with black lines: mostly set bits, but many clear ones too
            ink = sum(bin(0xFF ^ b).count("1") for b in pixels) / (len(pixels) * 8.0)
            self.assertTrue(0.03 < ink < 0.5, "%s: %.3f of the pixels are black" % (name, ink))
            self.assertGreaterEqual(width, 300, name)

    def test_keypad_and_welcome_pictures_have_their_depths(self):
        for resource_id, depth in ((255, 8), (256, 24), (190, 24)):
            name = self.names[resource_id]
            _, _, bits, palette, pixels = read_bmp(self.entry(resource_id))
            self.assertEqual(bits, depth, name)
            self.assertEqual(len(palette), 256 if depth == 8 else 0, name)
            self.assertGreater(len(set(pixels[::97])), 8, "%s looks blank" % name)

    def test_help_pictures_are_valid_png(self):
        for resource_id in PICTURE_IDS:
            name = self.names[resource_id]
            chunks = png_chunks(self.entry(resource_id))
            kinds = [kind for kind, _ in chunks]
            self.assertEqual(kinds[0], b"IHDR", name)
            self.assertEqual(kinds[-1], b"IEND", name)
            width, height, depth, colour_type = struct.unpack(">IIBB", chunks[0][1][:10])
            self.assertEqual((depth, colour_type), (8, 3), name)
            palette = b"".join(body for kind, body in chunks if kind == b"PLTE")
            raw = zlib.decompress(b"".join(body for kind, body in chunks if kind == b"IDAT"))
            self.assertEqual(len(raw), height * (1 + width), name)
            self.assertLessEqual(max(raw[::width + 1]), 4, "%s: a row with an unknown filter type" % name)
            self.assertLess(max(raw), len(palette) // 3, "%s uses a colour beyond its palette" % name)

    def test_help_pages_declare_and_use_their_charset(self):
        for ids, charset in ((HELP_CN_IDS, "gb2312"), (HELP_B5_IDS, "big5"), (HELP_EN_IDS, None)):
            for resource_id in ids:
                name = self.names[resource_id]
                page = self.entry(resource_id)
                lower = page.lower()
                self.assertTrue(lower.startswith(b"<html>"), name)
                self.assertIn(b"</html>", lower, name)
                if charset:
                    self.assertIn(b"charset=" + charset.encode("ascii"), lower, name)
                    text = page.decode(charset)
                    self.assertTrue(any(ord(ch) > 0x4E00 for ch in text), "%s has no Chinese text" % name)
                else:
                    self.assertNotIn(b"charset", lower, name)
                    page.decode("ascii")
                self.assertIn(NOTICE, lower, name)

    def test_help_pages_link_only_to_pages_of_their_own_set(self):
        for ids in (HELP_CN_IDS, HELP_B5_IDS, HELP_EN_IDS):
            own = {self.names[i] for i in ids}
            for resource_id in ids:
                page = self.entry(resource_id).decode("latin-1")
                links = {part.split('"')[0] for part in page.split('href="')[1:]}
                self.assertEqual(links, own, self.names[resource_id])

    def test_compiled_help_has_the_itsf_signature(self):
        data = self.entry(259)
        self.assertEqual(data[:4], b"ITSF")
        self.assertEqual(struct.unpack_from("<i", data, 4)[0], 3)

    def test_settings_file_is_gb2312_with_ui_strings_first_and_config_last(self):
        data = self.entry(120)
        self.assertTrue(data.startswith(b"[UI_STR]\r\n"))
        self.assertTrue(data.endswith(b"\r\n[Config]\r\nUseBmpFont=0\r\n\r\n"))
        self.assertNotIn(b"ForceLanguage", data)
        # the settings editor searches these anywhere in a line, so each must be there once
        self.assertEqual(data.count(b"UseBmpFont="), 1)
        self.assertEqual(data.count(b"[Config]"), 1)
        text = data.decode("gb2312")
        self.assertTrue(any(ord(ch) > 0x4E00 for ch in text), "no Chinese interface strings")
        self.assertTrue(NOTICE.decode() in text, "the settings do not say they are sample data")

    def test_settings_files_have_cr_lf_line_ends_and_short_lines(self):
        for resource_id in (120, 122):
            name = self.names[resource_id]
            data = self.entry(resource_id)
            data.decode("gb2312")
            self.assertEqual(data.count(b"\n"), data.count(b"\r\n"), "%s: a bare LF" % name)
            self.assertEqual(data.count(b"\r"), data.count(b"\r\n"), "%s: a bare CR" % name)
            lines = data.split(b"\r\n")
            # the editor reads 255 bytes at a time; a key cut between two reads would be missed
            self.assertLess(max(len(line) for line in lines), 255, name)
            for line in lines:
                if line and not line.startswith((b"[", b";")):
                    self.assertIn(b"=", line, "%s: %r is not key=value" % (name, line))

    def test_pinyin_index_starts_with_byte_0x80(self):
        self.assertEqual(self.entry(128)[0], 0x80)

    def test_text_documents_are_readable_and_say_they_are_samples(self):
        for ids, encoding in ((GB2312_DOCUMENT_IDS, "gb2312"), (ASCII_DOCUMENT_IDS, "ascii")):
            for resource_id in ids:
                name = self.names[resource_id]
                data = self.entry(resource_id)
                data.decode(encoding)
                self.assertEqual(data.count(b"\n"), data.count(b"\r\n"), "%s: a bare LF" % name)
                self.assertTrue(data.endswith(b"\r\n"), name)
                self.assertIn(NOTICE, data.lower(), name)

    def test_character_list_holds_every_gb2312_hanzi_once(self):
        text = self.entry(254).decode("gb2312")
        chars = [line.split("\t")[0] for line in text.split("\r\n") if line and not line.startswith(";")]
        self.assertEqual(len(chars), 6763)
        self.assertEqual(len(set(chars)), 6763)

    def test_tables_compress_like_real_data(self):
        for resource_id in DICTIONARY_IDS + WORD_BASE_IDS:
            name = self.names[resource_id]
            data = self.entry(resource_id)
            if len(data) < 64 * 1024:
                continue
            # a slice from the start, the middle and the end of the file
            slices = [data[:256 * 1024], data[len(data) // 2:len(data) // 2 + 256 * 1024], data[-256 * 1024:]]
            for part in slices:
                ratio = len(part) / len(zlib.compress(part, 6))
                self.assertTrue(1.6 < ratio < 5.0, "%s compresses %.2f:1" % (name, ratio))

    def test_pictures_compress_well(self):
        for resource_id in KEYBOARD_MAP_IDS + [255, 256, 190]:
            data = self.entry(resource_id)
            self.assertGreater(len(data) / len(zlib.compress(data, 6)), 5.0, self.names[resource_id])

    # -- bad inputs

    def test_missing_glyph_file_is_named(self):
        missing = os.path.join(self.work, "no_such_glyphs.bin")
        out = os.path.join(self.work, "failed")
        result = run_generator(self.arguments(out, glyphs=missing))
        self.assertNotEqual(result.returncode, 0)
        self.assertIn(missing, result.stderr)
        self.assertNotIn("Traceback", result.stderr)

    def test_program_without_mz_signature_is_named(self):
        bad = os.path.join(self.work, "not_a_program.exe")
        with open(bad, "wb") as f:
            f.write(b"#!/bin/sh\n")
        arguments = self.arguments(os.path.join(self.work, "failed"))
        arguments[arguments.index("--program") + 1] = "109=" + bad
        result = run_generator(arguments)
        self.assertNotEqual(result.returncode, 0)
        self.assertIn(bad, result.stderr)

    def test_missing_program_entry_is_reported(self):
        arguments = self.arguments(os.path.join(self.work, "failed"))[:-2]  # drop 253
        result = run_generator(arguments)
        self.assertNotEqual(result.returncode, 0)
        self.assertIn("253", result.stderr)


if __name__ == "__main__":
    unittest.main()
