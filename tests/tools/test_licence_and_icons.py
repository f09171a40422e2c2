"""The licence converter and the icon maker, run as the build runs them: the real
licence sources fit the wizard's licence page, broken sources are refused with
the file and line named, and the icons are .ico files that Windows can load."""

import os
import re
import struct
import subprocess
import sys
import tempfile
import unittest

ROOT = os.path.normpath(os.path.join(os.path.dirname(os.path.abspath(__file__)), "..", ".."))
CONVERTER = os.path.join(ROOT, "tools", "convert_licence.py")
ICON_MAKER = os.path.join(ROOT, "tools", "make_icons.py")
CHINESE_SOURCE = os.path.join(ROOT, "resources", "licence_cn.txt")
ENGLISH_SOURCE = os.path.join(ROOT, "resources", "licence_en.txt")

# What the wizard's licence page can hold.
LicenceBufferBytes = 65536      # decompression buffer, including the terminating zero
ListLineBytes = 56              # one line of the Chinese licence list box
ListMaxLines = 500              # the wizard adds no more lines than this


def run_converter(*arguments):
    return subprocess.run([sys.executable, CONVERTER] + list(arguments),
                          stdout=subprocess.PIPE, stderr=subprocess.PIPE, universal_newlines=True)


def wizard_list_lines(text):
    """Splits the Chinese licence the way the wizard fills its list box: a line
    ends at CR, one LF after it is skipped, text after the last CR is lost."""
    lines = []
    start = 0
    while True:
        end = text.find(b"\r", start)
        if end < 0:
            return lines
        lines.append(text[start:end])
        start = end + 1
        if text[start:start + 1] == b"\n":
            start += 1


class RealLicencesConvert(unittest.TestCase):
    """The two licence sources of the product, converted with the build's arguments."""

    @classmethod
    def setUpClass(cls):
        cls.work = tempfile.TemporaryDirectory()
        cls.chinese_path = os.path.join(cls.work.name, "agreement_cn.txt")
        cls.english_path = os.path.join(cls.work.name, "agreement_en.txt")
        cls.chinese_run = run_converter("--encoding", "gb2312", "--max-line-bytes", str(ListLineBytes),
                                        CHINESE_SOURCE, cls.chinese_path)
        cls.english_run = run_converter("--encoding", "ascii", ENGLISH_SOURCE, cls.english_path)

    @classmethod
    def tearDownClass(cls):
        cls.work.cleanup()

    def converted(self, run, path):
        self.assertEqual(run.returncode, 0, run.stderr)
        with open(path, "rb") as output:
            return output.read()

    def source_lines(self, path):
        with open(path, encoding="utf-8") as source:
            return source.read().split("\n")[:-1]

    def assertOnlyCrLfLineEnds(self, text):
        self.assertTrue(text.endswith(b"\r\n"), "the text must end with CR LF")
        self.assertEqual(text.count(b"\r"), text.count(b"\r\n"), "a CR without LF")
        self.assertEqual(text.count(b"\n"), text.count(b"\r\n"), "an LF without CR")

    def test_ChineseLicenceFitsTheListBox(self):
        text = self.converted(self.chinese_run, self.chinese_path)
        self.assertOnlyCrLfLineEnds(text)
        self.assertLess(len(text), LicenceBufferBytes)
        lines = wizard_list_lines(text)
        self.assertLessEqual(len(lines), ListMaxLines)
        for number, line in enumerate(lines, 1):
            self.assertLessEqual(len(line), ListLineBytes, "line %d: %r" % (number, line.decode("gb2312")))

    def test_ChineseLicenceLosesNoLineInTheWizard(self):
        text = self.converted(self.chinese_run, self.chinese_path)
        shown = [line.decode("gb2312") for line in wizard_list_lines(text)]
        self.assertEqual(shown, self.source_lines(CHINESE_SOURCE))

    def test_EnglishLicenceIsAsciiWithCrLfForTheEditBox(self):
        text = self.converted(self.english_run, self.english_path)
        self.assertOnlyCrLfLineEnds(text)
        self.assertLess(len(text), LicenceBufferBytes)
        self.assertEqual(text.decode("ascii").split("\r\n")[:-1], self.source_lines(ENGLISH_SOURCE))

    def test_BothLicencesHaveTheSameSections(self):
        def sections(path):
            with open(path, encoding="utf-8") as source:
                return [int(m.group(1)) for m in re.finditer(r"^(\d+)\. ", source.read(), re.M)]
        english = sections(ENGLISH_SOURCE)
        self.assertEqual(english, list(range(1, len(english) + 1)))
        self.assertEqual(sections(CHINESE_SOURCE), english)

    def test_BothLicencesCreditTheGlyphFont(self):
        for path in (CHINESE_SOURCE, ENGLISH_SOURCE):
            with open(path, encoding="utf-8") as source:
                text = source.read()
            self.assertIn("GNU Unifont", text, path)
            self.assertIn("GPL" if path == CHINESE_SOURCE else "General Public License", text, path)


class ConverterRefusals(unittest.TestCase):
    """Sources the converter must refuse, and the edges it must still accept."""

    def setUp(self):
        self.work = tempfile.TemporaryDirectory()
        self.output = os.path.join(self.work.name, "out.txt")

    def tearDown(self):
        self.work.cleanup()

    def source(self, data, name="licence.txt"):
        path = os.path.join(self.work.name, name)
        with open(path, "wb") as source:
            source.write(data if isinstance(data, bytes) else data.encode("utf-8"))
        return path

    def convert(self, encoding, text, max_line_bytes=None, max_lines=None):
        path = self.source(text)
        limit = [] if max_line_bytes is None else ["--max-line-bytes", str(max_line_bytes)]
        limit += [] if max_lines is None else ["--max-lines", str(max_lines)]
        return path, run_converter("--encoding", encoding, *(limit + [path, self.output]))

    def output_bytes(self):
        with open(self.output, "rb") as output:
            return output.read()

    def assertRefused(self, run, path, line_number):
        self.assertEqual(run.returncode, 1, run.stderr)
        self.assertIn("%s:%d:" % (path, line_number), run.stderr)
        self.assertFalse(os.path.exists(self.output), "a refused source must not leave an output file")

    def test_CharactersThatLandOnAnotherGlyphAreRefused(self):
        # Greek (row 6), pinyin with tones (row 8) and box drawing other than
        # the light horizontal line (row 9) have no cell of their own.
        for char, code in (("α", "0xA6C1"), ("ā", "0xA8A1"), ("│", "0xA9A6")):
            path, run = self.convert("gb2312", "第一行\n含" + char + "的行\n")
            self.assertRefused(run, path, 2)
            self.assertIn(code, run.stderr)

    def test_GlyphRowsThatAreStoredAreAccepted(self):
        # Row 1 punctuation, row 3 full-width Latin, row 7 Cyrillic, the
        # horizontal line 0xA9A4 and the first and last hanzi.
        path, run = self.convert("gb2312", "、Ａж─啊齄\n")
        self.assertEqual(run.returncode, 0, run.stderr)
        self.assertEqual(b"\xa1\xa2\xa3\xc1\xa7\xd8\xa9\xa4\xb0\xa1\xf7\xfe\r\n", self.output_bytes())

    def test_MoreLinesThanTheListShowsAreRefused(self):
        path, run = self.convert("gb2312", "行\n" * 501, max_lines=500)
        self.assertRefused(run, path, 501)
        path, run = self.convert("gb2312", "行\n" * 500, max_lines=500)
        self.assertEqual(run.returncode, 0, run.stderr)

    def test_LineOneByteOverTheLimitIsRefused(self):
        path, run = self.convert("gb2312", "短行\n也短\n" + "汉" * 28 + "a\n最后\n", ListLineBytes)
        self.assertRefused(run, path, 3)
        self.assertIn("57 bytes", run.stderr)

    def test_LineAtTheLimitIsAccepted(self):
        text = "汉" * 28 + "\n" + "汉" * 27 + "ab\n"
        path, run = self.convert("gb2312", text, ListLineBytes)
        self.assertEqual(run.returncode, 0, run.stderr)
        self.assertEqual(self.output_bytes(), text.replace("\n", "\r\n").encode("gb2312"))

    def test_LineLimitCountsEncodedBytesNotCharacters(self):
        # 27 hanzi and three ASCII letters are 30 characters but 57 bytes.
        path, run = self.convert("gb2312", "汉" * 27 + "abc\n", ListLineBytes)
        self.assertRefused(run, path, 1)

    def test_TraditionalCharacterIsRefusedForGb2312(self):
        path, run = self.convert("gb2312", "许可协议\n请按“取消”\n大門\n")
        self.assertRefused(run, path, 3)
        self.assertIn("U+9580", run.stderr)

    def test_CurlyQuoteIsRefusedForAscii(self):
        path, run = self.convert("ascii", "Licence\n\nPress \"Cancel\".\nIt\u2019s yours.\n")
        self.assertRefused(run, path, 4)
        self.assertIn("U+2019", run.stderr)

    def test_LineNumbersCountCrLfSourceLinesOnce(self):
        path, run = self.convert("ascii", "one\r\ntwo\r\nthr\u00e9e\r\n")
        self.assertRefused(run, path, 3)

    def test_ZeroByteIsRefused(self):
        # The wizard treats the licence as a zero-terminated string.
        path, run = self.convert("ascii", "one\ntw\0o\n")
        self.assertRefused(run, path, 2)

    def test_TextOf64KiBIsRefusedAtTheLineThatReachesIt(self):
        # 655 lines of 100 bytes with CR LF, then one of 34 + 2: 65536 bytes.
        path, run = self.convert("ascii", ("x" * 98 + "\n") * 655 + "y" * 34 + "\n")
        self.assertRefused(run, path, 656)

    def test_TextOneByteBelow64KiBIsAccepted(self):
        path, run = self.convert("ascii", ("x" * 98 + "\n") * 655 + "y" * 33 + "\n")
        self.assertEqual(run.returncode, 0, run.stderr)
        self.assertEqual(len(self.output_bytes()), LicenceBufferBytes - 1)

    def test_AnyLineEndsBecomeCrLfAndTheLastLineGetsOne(self):
        path, run = self.convert("ascii", "a\nb\r\n\r\nc")
        self.assertEqual(run.returncode, 0, run.stderr)
        self.assertEqual(self.output_bytes(), b"a\r\nb\r\n\r\nc\r\n")

    def test_FinalLineEndAddsNoEmptyLine(self):
        path, run = self.convert("gb2312", "末行\r\n")
        self.assertEqual(run.returncode, 0, run.stderr)
        self.assertEqual(self.output_bytes(), "末行\r\n".encode("gb2312"))

    def test_ByteOrderMarkIsNotCopied(self):
        path, run = self.convert("ascii", b"\xef\xbb\xbfLicence\n")
        self.assertEqual(run.returncode, 0, run.stderr)
        self.assertEqual(self.output_bytes(), b"Licence\r\n")

    def test_InvalidUtf8IsRefusedWithItsLine(self):
        path, run = self.convert("gb2312", b"ok\n\xd0\xed\xbf\xc9\n")
        self.assertRefused(run, path, 2)

    def test_EmptySourceIsRefused(self):
        path, run = self.convert("ascii", "")
        self.assertEqual(run.returncode, 1)
        self.assertIn(path, run.stderr)
        self.assertFalse(os.path.exists(self.output))


def parse_ico(data):
    """Returns the icon directory as dicts, checking nothing."""
    reserved, kind, count = struct.unpack_from("<HHH", data, 0)
    entries = []
    for index in range(count):
        width, height, colours, zero, planes, bits, length, offset = \
            struct.unpack_from("<BBBBHHII", data, 6 + 16 * index)
        entries.append(dict(width=width or 256, height=height or 256, colours=colours, zero=zero,
                            planes=planes, bits=bits, length=length, offset=offset))
    return (reserved, kind), entries


# The VGA palette, the 16 colours every 16-colour display of Windows shows.
Vga16 = [(0, 0, 0), (128, 0, 0), (0, 128, 0), (128, 128, 0), (0, 0, 128), (128, 0, 128), (0, 128, 128),
         (192, 192, 192), (128, 128, 128), (255, 0, 0), (0, 255, 0), (255, 255, 0), (0, 0, 255), (255, 0, 255),
         (0, 255, 255), (255, 255, 255)]


def palette_of(data, entry):
    count = {32: 0, 8: 256, 4: 16}[entry["bits"]]
    start = entry["offset"] + 40
    return [tuple(data[start + 4 * i:start + 4 * i + 3][::-1]) for i in range(count)]


def decode_image(data, entry):
    """The pixels of one DIB icon image, top row first: (r, g, b, a, mask bit);
    a palette image's alpha is 255 where its mask is solid, else 0."""
    width, height, bits = entry["width"], entry["height"], entry["bits"]
    palette = palette_of(data, entry)
    colour_start = entry["offset"] + 40 + 4 * len(palette)
    colour_stride = (width * bits + 31) // 32 * 4
    stride = (width + 31) // 32 * 4
    mask_start = colour_start + colour_stride * height
    rows = []
    for y in range(height):
        stored = height - 1 - y
        row = []
        for x in range(width):
            bit = (data[mask_start + stored * stride + x // 8] >> (7 - x % 8)) & 1
            at = colour_start + stored * colour_stride
            if bits == 32:
                b, g, r, a = data[at + x * 4:][:4]
            else:
                index = data[at + x] if bits == 8 else data[at + x // 2] >> (4 - 4 * (x % 2)) & 15
                (r, g, b), a = palette[index], 255 * (1 - bit)
            row.append((r, g, b, a, bit))
        rows.append(row)
    return rows


class Icons(unittest.TestCase):
    """window.ico (resource 127) and panel.ico (resource 105) as make_icons.py writes them."""

    # (bits per pixel, size) of each image, in the directory's order: true
    # colour, then 256 and 16 colours for Windows 95, NT 3.51 and such displays.
    Palettes = [(8, 16), (8, 32), (4, 16), (4, 32)]
    Sizes = {"window.ico": [(32, 16), (32, 32)] + Palettes, "panel.ico": [(32, 32), (32, 48)] + Palettes}

    @classmethod
    def setUpClass(cls):
        cls.work = tempfile.TemporaryDirectory()
        cls.runs = []
        cls.files = []
        for name in ("first", "second"):
            out_dir = os.path.join(cls.work.name, name)
            cls.runs.append(subprocess.run([sys.executable, ICON_MAKER, out_dir],
                                           stdout=subprocess.PIPE, stderr=subprocess.PIPE,
                                           universal_newlines=True))
            cls.files.append(out_dir)

    @classmethod
    def tearDownClass(cls):
        cls.work.cleanup()

    def icon(self, name, run=0):
        self.assertEqual(self.runs[run].returncode, 0, self.runs[run].stderr)
        with open(os.path.join(self.files[run], name), "rb") as icon:
            return icon.read()

    def each_icon(self):
        for name, sizes in self.Sizes.items():
            data = self.icon(name)
            header, entries = parse_ico(data)
            yield name, sizes, data, header, entries

    def test_IconsHaveThePromisedSizes(self):
        for name, sizes, data, header, entries in self.each_icon():
            self.assertEqual(header, (0, 1), name)
            self.assertEqual([(e["bits"], e["width"], e["height"]) for e in entries], [(b, s, s) for b, s in sizes],
                             name)

    def test_ImagesFollowTheDirectoryWithoutGapsOrOverlap(self):
        for name, sizes, data, header, entries in self.each_icon():
            expected = 6 + 16 * len(entries)
            for entry in entries:
                self.assertEqual(entry["offset"], expected, name)
                expected += entry["length"]
            self.assertEqual(expected, len(data), name)

    def test_EachImageIsADibOfItsDepthWithAnAndMask(self):
        for name, sizes, data, header, entries in self.each_icon():
            for entry in entries:
                width, height, bits = entry["width"], entry["height"], entry["bits"]
                where = "%s %dx%d %d-bit" % (name, width, height, bits)
                colours = {32: 0, 8: 0, 4: 16}[bits]
                self.assertEqual((entry["colours"], entry["zero"], entry["planes"]), (colours, 0, 1), where)
                (header_size, dib_width, dib_height, planes, dib_bits, compression, image_size) = \
                    struct.unpack_from("<IiiHHII", data, entry["offset"])
                self.assertEqual((header_size, dib_width, dib_height, planes, dib_bits, compression),
                                 (40, width, 2 * height, 1, bits, 0), where)
                pixels = (width * bits + 31) // 32 * 4 * height + (width + 31) // 32 * 4 * height
                self.assertEqual(entry["length"], 40 + 4 * len(palette_of(data, entry)) + pixels, where)
                self.assertIn(image_size, (0, pixels), where)

    def test_SixteenColourImagesUseTheVgaPalette(self):
        for name, sizes, data, header, entries in self.each_icon():
            for entry in (e for e in entries if e["bits"] == 4):
                self.assertEqual(palette_of(data, entry), Vga16, name)

    def test_MaskAgreesWithAlphaAndClearPixelsAreBlack(self):
        # Systems that ignore alpha draw screen AND mask XOR colour: a clear
        # pixel needs mask 1 and colour 0, a solid one mask 0. An image of
        # fewer colours has the same shape as the others of its size.
        for name, sizes, data, header, entries in self.each_icon():
            masks = {}
            for entry in entries:
                rows = decode_image(data, entry)
                for y, row in enumerate(rows):
                    for x, (r, g, b, a, bit) in enumerate(row):
                        where = "%s %d-bit %d: pixel %d,%d" % (name, entry["bits"], entry["width"], x, y)
                        if a == 0:
                            self.assertEqual((bit, r, g, b), (1, 0, 0, 0), where)
                        elif a == 255:
                            self.assertEqual(bit, 0, where)
                mask = [[p[4] for p in row] for row in rows]
                self.assertEqual(masks.setdefault(entry["width"], mask), mask, "%s %d-bit %d: another shape"
                                 % (name, entry["bits"], entry["width"]))

    def test_PicturesAreShapesNotBlanksOrSquares(self):
        for name, sizes, data, header, entries in self.each_icon():
            for entry in entries:
                pixels = [p for row in decode_image(data, entry) for p in row]
                solid = sum(1 for p in pixels if p[3] >= 128) / len(pixels)
                self.assertGreater(solid, 0.3, "%s %d is nearly empty" % (name, entry["width"]))
                self.assertLess(solid, 0.9, "%s %d fills its square" % (name, entry["width"]))
                self.assertGreaterEqual(len({p[:3] for p in pixels if p[4] == 0}), 5,
                                        "%s %d-bit %d is a blot of few colours" % (name, entry["bits"], entry["width"]))

    def test_LampLightIsAboveTheBook(self):
        # Catches images stored top-down: the warm light must end up above the
        # dark cover once the bottom-up rows are turned the right way.
        for name, sizes, data, header, entries in self.each_icon():
            for entry in entries:
                rows = decode_image(data, entry)
                warm = [y for y, row in enumerate(rows) for r, g, b, a, _ in row if a > 128 and r > 200 and b < 150]
                dark = [y for y, row in enumerate(rows) for r, g, b, a, _ in row if a > 128 and r + g + b < 240]
                self.assertTrue(warm and dark, name)
                self.assertLess(sum(warm) / len(warm), sum(dark) / len(dark),
                                "%s %d-bit %d" % (name, entry["bits"], entry["width"]))

    def test_OutputIsTheSameOnEveryRun(self):
        for name in self.Sizes:
            self.assertEqual(self.icon(name, 0), self.icon(name, 1), name)

    def test_EveryImageHasAPreview(self):
        self.icon("window.ico")
        for name, sizes in self.Sizes.items():
            for bits, size in sizes:
                depth = "" if bits == 32 else "_%dbit" % bits
                path = os.path.join(self.files[0], "preview_%s_%d%s.png" % (name[:-4], size, depth))
                with open(path, "rb") as preview:
                    self.assertEqual(preview.read(8), b"\x89PNG\r\n\x1a\n", path)


if __name__ == "__main__":
    unittest.main()
