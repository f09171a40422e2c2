"""The build's read of the install file table: the real table gives 106 rows in
install order with their flags, and a table with a row too many, a row too few
or a row it cannot parse stops the build with the file and line at fault."""

import os
import subprocess
import sys
import tempfile
import unittest

TOOLS = os.path.join(os.path.dirname(os.path.abspath(__file__)), "..", "..", "tools")
sys.path.insert(0, TOOLS)

import file_table  # noqa: E402

REAL_TABLE = file_table.TABLE_SOURCE


def real_lines():
    with open(REAL_TABLE, encoding="utf-8") as source:
        return source.read().split("\n")


def line_number_of(lines, text):
    """1-based number of the first line that contains text."""
    return next(i for i, line in enumerate(lines) if text in line) + 1


class RealTable(unittest.TestCase):
    def test_has_the_install_order_and_the_flags_of_the_design(self):
        rows = file_table.read_file_table()
        self.assertEqual(106, len(rows))
        self.assertEqual([(106, "syllables.dic"), (131, "charlist.dic"), (143, "initials.dic"), (111, "charorder.dic")],
                         [(r.resource_id, r.target_name) for r in rows[:4]])
        self.assertEqual([(126, "phrases_shape.idx"), (128, "phrases_pinyin.idx"), (129, "phrases_initials.idx"),
                          (109, "Lumabook.exe")], [(r.resource_id, r.target_name) for r in rows[-4:]])
        # 26 required rows (3 of them conditional), 80 optional (1 conditional).
        required = [r for r in rows if r.required]
        self.assertEqual(26, len(required))
        self.assertEqual([127, 128, 129], sorted(r.resource_id for r in required if r.condition == "UnlessWordBaseKept"))
        self.assertEqual([126], [r.resource_id for r in rows if not r.required and r.condition == "UnlessWordBaseKept"])
        by_id = {r.resource_id: r for r in rows}
        self.assertEqual((False, True), (by_id[111].read_only, by_id[111].hidden))
        self.assertEqual((True, False), (by_id[118].read_only, by_id[118].hidden))
        self.assertEqual((False, False), (by_id[127].read_only, by_id[127].hidden))
        self.assertEqual((True, True), (by_id[110].read_only, by_id[110].hidden))


class BrokenTable(unittest.TestCase):
    def setUp(self):
        self.work = tempfile.mkdtemp(prefix="file_table_")
        self.path = os.path.join(self.work, "file_table.cpp")
        self.lines = real_lines()

    def write(self, lines):
        with open(self.path, "w", encoding="utf-8") as out:
            out.write("\n".join(lines))

    def assertRefusedAt(self, line_number, words):
        with self.assertRaises(file_table.FileTableError) as refused:
            file_table.read_file_table(self.path)
        message = str(refused.exception)
        self.assertIn("%s:%d:" % (self.path, line_number), message)
        self.assertIn(words, message)

    def test_a_row_too_few_is_refused_at_the_end_of_the_table(self):
        dropped = line_number_of(self.lines, '"welcome.bmp"')
        del self.lines[dropped - 1]
        self.write(self.lines)
        self.assertRefusedAt(line_number_of(self.lines, "};"), "105 payload rows")

    def test_a_row_too_many_is_refused_at_the_end_of_the_table(self):
        extra = line_number_of(self.lines, '"welcome.bmp"')
        self.lines.insert(extra, '    { 302, "extra.bin", ReadOnly, Optional, Always },')
        self.write(self.lines)
        self.assertRefusedAt(line_number_of(self.lines, "};"), "107 payload rows")

    def test_rows_the_read_cannot_parse_are_refused_at_their_line(self):
        damaged_rows = [
            '    { 190, "welcome.bmp", ReadOnly, Optional, Always, 5 },',    # a field too many
            '    { 190, "welcome.bmp", ReadOnly, Optional },',                # a field too few
            '    { 190, welcome.bmp, ReadOnly, Optional, Always },',          # name without quotes
            '    { 0x190, "welcome.bmp", ReadOnly, Optional, Always },',      # id not decimal
            '    { 190, "welcome.bmp", ReadOnly Optional, Always },',         # missing comma
        ]
        number = line_number_of(self.lines, '"welcome.bmp"')
        for damaged in damaged_rows:
            with self.subTest(row=damaged):
                lines = list(self.lines)
                lines[number - 1] = damaged
                self.write(lines)
                self.assertRefusedAt(number, "cannot read this file table row")

    def test_unknown_words_are_refused_at_their_line(self):
        number = line_number_of(self.lines, '"welcome.bmp"')
        for damaged, words in [
                ('    { 190, "welcome.bmp", ReadOnley, Optional, Always },', "ReadOnley"),
                ('    { 190, "welcome.bmp", ReadOnly, Optinal, Always },', "Optinal"),
                ('    { 190, "welcome.bmp", ReadOnly, Optional, Sometimes },', "Sometimes"),
                ('    { 0, "welcome.bmp", ReadOnly, Optional, Always },', "16-bit id")]:
            with self.subTest(row=damaged):
                lines = list(self.lines)
                lines[number - 1] = damaged
                self.write(lines)
                self.assertRefusedAt(number, words)

    def test_a_repeated_id_or_target_is_refused_naming_both_lines(self):
        first = line_number_of(self.lines, '"DEMO1.PNG"')
        second = line_number_of(self.lines, '"welcome.bmp"')
        for damaged in ['    { 215, "welcome.bmp", ReadOnly, Optional, Always },',
                        '    { 190, "demo1.png", ReadOnly, Optional, Always },']:
            with self.subTest(row=damaged):
                lines = list(self.lines)
                lines[second - 1] = damaged
                self.write(lines)
                # welcome.bmp comes before DEMO1.PNG in the table.
                self.assertRefusedAt(first, "line %d" % second)

    def test_the_packer_and_the_listing_fail_naming_the_file_and_line(self):
        number = line_number_of(self.lines, '"welcome.bmp"')
        self.lines[number - 1] = '    { 190, "welcome.bmp", ReadOnly, Optional, Always, 5 },'
        self.write(self.lines)
        product = os.path.join(self.work, "product")
        os.mkdir(product)
        for command in ([sys.executable, os.path.join(TOOLS, "file_table.py"), self.path],
                        [sys.executable, os.path.join(TOOLS, "pack_payload.py"), "--check-only",
                         "--product", product, "--table", self.path]):
            with self.subTest(command=os.path.basename(command[1])):
                result = subprocess.run(command, capture_output=True, text=True)
                self.assertEqual(1, result.returncode, result.stderr)
                self.assertIn("%s:%d:" % (self.path, number), result.stderr)
                self.assertNotIn("Traceback", result.stderr)


if __name__ == "__main__":
    unittest.main()
