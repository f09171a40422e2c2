"""Packs a small product folder and checks the payload store the setup program
will carry: one maximum-compression stream per file table row, each inflating
back to its file, a resource script that lists them by id, and refusals that
name the file at fault."""

import os
import re
import shutil
import subprocess
import sys
import tempfile
import unittest
import zlib

TOOLS = os.path.join(os.path.dirname(os.path.abspath(__file__)), "..", "..", "tools")
PACKER = os.path.join(TOOLS, "pack_payload.py")
sys.path.insert(0, TOOLS)

import file_table  # noqa: E402
import pack_payload  # noqa: E402

GLYPH_BYTES = 241664


def product_contents(row):
    if row.resource_id == 110:
        return bytes(range(256)) * (GLYPH_BYTES // 256)
    if row.resource_id == 124:
        return "许可协议\r\n".encode("gb2312") * 40
    return ("%s sample data %d\r\n" % (row.target_name, row.resource_id)).encode("ascii") * (row.resource_id % 7 + 1)


class PackPayload(unittest.TestCase):
    def setUp(self):
        self.work = tempfile.mkdtemp(prefix="pack_payload_")
        self.product = os.path.join(self.work, "product")
        self.out = os.path.join(self.work, "payload")
        self.rc = os.path.join(self.work, "payload.rc")
        os.mkdir(self.product)
        self.rows = file_table.read_file_table()
        for row in self.rows:
            with open(os.path.join(self.product, row.target_name), "wb") as f:
                f.write(product_contents(row))

    def tearDown(self):
        shutil.rmtree(self.work)

    def run_packer(self):
        return subprocess.run([sys.executable, PACKER, "--product", self.product, "--out", self.out, "--rc", self.rc],
                              capture_output=True, text=True)

    def test_every_row_becomes_a_stream_that_inflates_to_its_file(self):
        result = self.run_packer()
        self.assertEqual(0, result.returncode, result.stderr)
        for row in self.rows:
            with open(os.path.join(self.out, "%d.z" % row.resource_id), "rb") as f:
                stream = f.read()
            self.assertEqual(b"\x78\xda", stream[:2], row.target_name)
            self.assertEqual(product_contents(row), zlib.decompress(stream), row.target_name)

    def test_resource_script_lists_ids_and_names_of_the_table_in_order(self):
        self.assertEqual(0, self.run_packer().returncode)
        with open(self.rc, encoding="ascii") as f:
            listed = re.findall(r'^(\d+) TEXT "([^"]+)"  // (.+)$', f.read(), re.M)
        self.assertEqual([(row.resource_id, row.target_name) for row in self.rows],
                         [(int(i), name) for i, _, name in listed])
        for resource_id, path, _ in listed:
            self.assertTrue(path.endswith("/%s.z" % resource_id))
            self.assertTrue(os.path.isabs(path))
        self.assertEqual(106, len(listed))

    def read_checksums(self):
        with open(os.path.join(self.out, "checksums.bin"), "rb") as f:
            table = f.read()
        size = pack_payload.CHECKSUM_RECORD.size
        return [pack_payload.CHECKSUM_RECORD.unpack_from(table, at) for at in range(0, len(table), size)]

    def test_checksum_table_holds_the_crc_and_inflated_size_of_every_stored_stream_in_table_order(self):
        self.assertEqual(0, self.run_packer().returncode)
        expected = []
        for row in self.rows:
            with open(os.path.join(self.out, "%d.z" % row.resource_id), "rb") as f:
                stream = f.read()
            expected.append((row.resource_id, zlib.crc32(stream), len(zlib.decompress(stream))))
        self.assertEqual(expected, self.read_checksums())
        with open(self.rc, encoding="ascii") as f:
            listed = re.findall(r'^ID_PAYLOAD_CHECKSUMS RCDATA "([^"]+)"$', f.read(), re.M)
        self.assertEqual([os.path.abspath(os.path.join(self.out, "checksums.bin")).replace("\\", "/")], listed)

    def test_unchanged_sources_are_not_compressed_again(self):
        self.assertEqual(0, self.run_packer().returncode)
        stream = os.path.join(self.out, "106.z")
        before = os.stat(stream).st_mtime_ns
        changed = os.path.join(self.product, "hints.txt")
        with open(changed, "wb") as f:
            f.write(b"changed hints\r\n")
        self.assertEqual(0, self.run_packer().returncode)
        self.assertEqual(before, os.stat(stream).st_mtime_ns)
        with open(os.path.join(self.out, "203.z"), "rb") as f:
            stream = f.read()
        self.assertEqual(b"changed hints\r\n", zlib.decompress(stream))
        self.assertIn((203, zlib.crc32(stream), 15), self.read_checksums(), "the record follows the new stream")

    def test_streams_of_another_packer_are_not_reused(self):
        self.assertEqual(0, self.run_packer().returncode)
        saved_level = pack_payload.COMPRESSION_LEVEL
        pack_payload.COMPRESSION_LEVEL = 1
        try:
            pack_payload.pack(self.product, self.out, self.rc)
        finally:
            pack_payload.COMPRESSION_LEVEL = saved_level
        for row in self.rows:
            with open(os.path.join(self.out, "%d.z" % row.resource_id), "rb") as f:
                self.assertEqual(b"\x78\x01", f.read(2), "entry %d kept its old stream" % row.resource_id)
        # And back: the packer as built makes maximum-compression streams again.
        self.assertEqual(0, self.run_packer().returncode)
        with open(os.path.join(self.out, "106.z"), "rb") as f:
            self.assertEqual(b"\x78\xda", f.read(2))

    def assert_refused(self, expected_file, words):
        result = self.run_packer()
        self.assertEqual(1, result.returncode)
        self.assertIn(os.path.join(self.product, expected_file), result.stderr)
        self.assertIn(words, result.stderr)
        self.assertFalse(os.path.exists(self.rc), "a refused folder must not produce a resource script")

    def test_folder_lacking_a_table_file_is_refused_naming_it(self):
        os.remove(os.path.join(self.product, "phrases_pinyin.idx"))
        self.assert_refused("phrases_pinyin.idx", "missing")

    def test_entry_larger_than_the_install_buffer_is_refused(self):
        with open(os.path.join(self.product, "WordDict2.bin"), "wb") as f:
            f.truncate(pack_payload.INSTALL_BUFFER_BYTES + 1)
        self.assert_refused("WordDict2.bin", "install buffer")

    def test_entry_of_exactly_the_install_buffer_is_accepted(self):
        path = os.path.join(self.product, "WordDict2.bin")
        with open(path, "wb") as f:
            f.truncate(pack_payload.INSTALL_BUFFER_BYTES)
        rows = file_table.read_file_table()
        pack_payload.check_product(self.product, rows)

    def test_licence_text_of_64_kib_is_refused(self):
        with open(os.path.join(self.product, "agreement_en.txt"), "wb") as f:
            f.write(b"x" * 65536)
        self.assert_refused("agreement_en.txt", "licence")

    def test_licence_text_just_below_64_kib_is_accepted(self):
        with open(os.path.join(self.product, "agreement_cn.txt"), "wb") as f:
            f.write(b"x" * 65535)
        pack_payload.check_product(self.product, file_table.read_file_table())

    def test_glyph_sheets_of_the_wrong_size_are_refused(self):
        with open(os.path.join(self.product, "HanziGlyphs.bin"), "wb") as f:
            f.write(b"\xff" * (GLYPH_BYTES - 1))
        self.assert_refused("HanziGlyphs.bin", "glyph")


if __name__ == "__main__":
    unittest.main()
