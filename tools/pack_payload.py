"""Packs a product folder into the payload store of the setup program.

Every file of the install file table becomes one zlib stream at maximum
compression (header 0x78 0xDA, no size prefix) in OUT/<id>.z, and OUT/payload.rc
lists them as "TEXT" resources for the resource compiler, together with
OUT/checksums.bin: the CRC-32 of every stored stream, which the setup program
compares before it changes anything on the disk, and the bytes it inflates to,
which tell the setup program how much room the install needs. The program's own
entries are checked as the wizard reads them: the glyph sheets (110) must
inflate to exactly 241,664 bytes and each licence text (124, 161) must stay
below 64 KiB. No entry may exceed the 48 MiB install buffer.
"""

import argparse
import hashlib
import json
import multiprocessing
import os
import struct
import sys
import zlib

from file_table import FileTableError, read_file_table

INSTALL_BUFFER_BYTES = 48 * 1024 * 1024
COMPRESSION_LEVEL = 9
GLYPH_ENTRY = 110
GLYPH_FONT_BYTES = 241664
LICENCE_ENTRIES = (124, 161)
LICENCE_BUFFER_BYTES = 65536

# The checksum table: one little-endian record (resource id, CRC-32 of the
# stored stream, bytes of the file it inflates to) per entry, in table order,
# as resource ID_PAYLOAD_CHECKSUMS.
CHECKSUM_RECORD = struct.Struct("<III")
CHECKSUM_RESOURCE = "ID_PAYLOAD_CHECKSUMS RCDATA"

# The entries that the wizard reads itself, and the simplified Chinese help
# pages, carry the neutral language; every other entry is US English.
NEUTRAL_LANGUAGE_ENTRIES = {110, 124, 161, 174, 175, 176, 177, 178, 179, 180, 181, 182, 183, 184}


class PackError(Exception):
    pass


def source_path(product_dir, row):
    return os.path.join(product_dir, row.target_name)


def check_entry(path, row, size):
    if size > INSTALL_BUFFER_BYTES:
        raise PackError("%s: %d bytes, more than the %d-byte install buffer (entry %d)"
                        % (path, size, INSTALL_BUFFER_BYTES, row.resource_id))
    if row.resource_id == GLYPH_ENTRY and size != GLYPH_FONT_BYTES:
        raise PackError("%s: the glyph sheets must be exactly %d bytes, not %d (entry %d)"
                        % (path, GLYPH_FONT_BYTES, size, row.resource_id))
    if row.resource_id in LICENCE_ENTRIES and size >= LICENCE_BUFFER_BYTES:
        raise PackError("%s: a licence text must stay below %d bytes, this one has %d (entry %d)"
                        % (path, LICENCE_BUFFER_BYTES, size, row.resource_id))


def check_product(product_dir, rows):
    """Refuses the folder before anything is written; returns the source sizes."""
    if not os.path.isdir(product_dir):
        raise PackError("%s: the product folder does not exist" % product_dir)
    sizes = {}
    for row in rows:
        path = source_path(product_dir, row)
        if not os.path.isfile(path):
            raise PackError("%s: missing; the product folder lacks file %r of entry %d"
                            % (path, row.target_name, row.resource_id))
        sizes[row.resource_id] = os.path.getsize(path)
        check_entry(path, row, sizes[row.resource_id])
    return sizes


def write_if_changed(path, data):
    try:
        with open(path, "rb") as existing:
            if existing.read() == data:
                return False
    except OSError:
        pass
    # A stream cut short by an interrupted build must never look finished.
    partial = path + ".partial"
    with open(partial, "wb") as out:
        out.write(data)
    os.replace(partial, path)
    return True


def packer_signature():
    """What the packer itself puts into every stream: its compression level and
    its own code. A stream made by another packer is not reused."""
    digest = hashlib.sha256()
    digest.update(b"level %d;zlib %s;" % (COMPRESSION_LEVEL, zlib.ZLIB_RUNTIME_VERSION.encode("ascii")))
    with open(os.path.abspath(__file__), "rb") as code:
        digest.update(code.read())
    return digest.hexdigest()


def source_signature(path):
    status = os.stat(path)
    return [os.path.abspath(path), status.st_size, status.st_mtime_ns, packer_signature()]


def stream_path_of(out_dir, row):
    return os.path.join(out_dir, "%d.z" % row.resource_id)


def is_packed(path, row, out_dir, packed):
    """Whether the entry's stream was made from this very source."""
    return os.path.exists(stream_path_of(out_dir, row)) and packed.get(str(row.resource_id)) == source_signature(path)


def compress_entry(job):
    path, row, out_dir = job
    with open(path, "rb") as source:
        data = source.read()
    check_entry(path, row, len(data))
    write_if_changed(stream_path_of(out_dir, row), zlib.compress(data, COMPRESSION_LEVEL))
    return row.resource_id, source_signature(path)


def read_manifest(path):
    try:
        with open(path, encoding="utf-8") as manifest:
            return json.load(manifest)
    except (OSError, ValueError):
        return {}


def checksum_table(rows, stream_paths, sizes):
    """The CRC-32 of each stream exactly as it is stored in the program, and
    the size of the source file it was made from."""
    records = []
    for row in rows:
        with open(stream_paths[row.resource_id], "rb") as stream:
            records.append(CHECKSUM_RECORD.pack(row.resource_id, zlib.crc32(stream.read()), sizes[row.resource_id]))
    return b"".join(records)


def resource_script(rows, stream_paths, checksum_path):
    lines = ["// Generated by tools/pack_payload.py: the payload store, one zlib stream an entry,",
             "// and the checksum of every stream.", ""]
    for row in rows:
        if row.resource_id in NEUTRAL_LANGUAGE_ENTRIES:
            lines.append("LANGUAGE LANG_NEUTRAL, SUBLANG_NEUTRAL")
        else:
            lines.append("LANGUAGE LANG_ENGLISH, SUBLANG_ENGLISH_US")
        path = stream_paths[row.resource_id].replace("\\", "/")
        lines.append('%d TEXT "%s"  // %s' % (row.resource_id, path, row.target_name))
    lines.append("LANGUAGE LANG_ENGLISH, SUBLANG_ENGLISH_US")
    lines.append('%s "%s"' % (CHECKSUM_RESOURCE, checksum_path.replace("\\", "/")))
    return ("\n".join(lines) + "\n").encode("ascii")


def pack(product_dir, out_dir, rc_path, table_path=None):
    rows = read_file_table(table_path) if table_path else read_file_table()
    sizes = check_product(product_dir, rows)
    os.makedirs(out_dir, exist_ok=True)
    manifest_path = os.path.join(out_dir, "sources.json")
    packed = read_manifest(manifest_path)
    jobs = [(source_path(product_dir, row), row, out_dir) for row in rows
            if not is_packed(source_path(product_dir, row), row, out_dir, packed)]
    # Level 9 over the whole product takes a while; the entries are independent.
    with multiprocessing.Pool() as pool:
        for resource_id, signature in pool.imap_unordered(compress_entry, jobs):
            packed[str(resource_id)] = signature
    stream_paths = {row.resource_id: os.path.abspath(stream_path_of(out_dir, row)) for row in rows}
    write_if_changed(manifest_path, json.dumps(packed, indent=1, sort_keys=True).encode("utf-8"))
    checksum_path = os.path.abspath(os.path.join(out_dir, "checksums.bin"))
    write_if_changed(checksum_path, checksum_table(rows, stream_paths, sizes))
    write_if_changed(rc_path, resource_script(rows, stream_paths, checksum_path))
    return rows


def main(argv):
    parser = argparse.ArgumentParser(description="Pack the product files named by the install file table "
                                     "into zlib streams and a resource script that lists them.")
    parser.add_argument("--product", required=True, help="folder holding the 106 product files")
    parser.add_argument("--out", help="folder for the compressed entries <id>.z")
    parser.add_argument("--rc", help="resource script to write (payload.rc)")
    parser.add_argument("--table", help="file table source (default: install/file_table.cpp)")
    parser.add_argument("--check-only", action="store_true",
                        help="only check that the folder can be packed; write nothing")
    args = parser.parse_args(argv[1:])
    try:
        if args.check_only:
            rows = read_file_table(args.table) if args.table else read_file_table()
            check_product(args.product, rows)
        else:
            if not args.out or not args.rc:
                parser.error("--out and --rc are needed unless --check-only is given")
            pack(args.product, args.out, args.rc, args.table)
    except (PackError, FileTableError) as error:
        sys.stderr.write("pack_payload: %s\n" % error)
        return 1
    return 0


if __name__ == "__main__":
    sys.exit(main(sys.argv))
