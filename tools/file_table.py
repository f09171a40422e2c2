"""Reads the install file table out of install/file_table.cpp, so the build tools
and the setup program share one list of payload ids and target names.

The read is strict: every line between the table's opening and its closing
"};" must be a payload row, a checkpoint, a comment or blank, and the table
must hold exactly 106 payload rows with distinct ids and names. Anything else
stops the build with the file and line at fault.

usage: file_table.py [file_table.cpp]   lists the payload rows as 'id name'
"""

import os
import re
import sys

TABLE_SOURCE = os.path.join(os.path.dirname(os.path.abspath(__file__)), "..", "install", "file_table.cpp")
PAYLOAD_ROW_COUNT = 106

TABLE_START = re.compile(r'^\s*const\s+FileTableRow\s+FileTable\s*\[\s*\]\s*=\s*\{\s*$')
TABLE_END = re.compile(r'^\s*\}\s*;\s*$')
COMMENT = re.compile(r'^\s*(//.*)?$')
CHECKPOINT = re.compile(r'^\s*CHECKPOINT\(\s*(\d+)\s*\)\s*,\s*(//.*)?$')
ROW = re.compile(r'^\s*\{\s*(\d+)\s*,\s*"([^"\\]+)"\s*,\s*([A-Za-z]+(?:\s*\|\s*[A-Za-z]+)*)\s*,'
                 r'\s*([A-Za-z]+)\s*,\s*([A-Za-z]+)\s*\}\s*,\s*(//.*)?$')
ATTRIBUTES = {"Plain", "ReadOnly", "Hidden"}
FAILURES = {"Required", "Optional"}
CONDITIONS = {"Always", "UnlessWordBaseKept"}
# Resource ids are 16-bit; 0 marks a checkpoint in the program's table.
LARGEST_ID = 65535


class FileTableError(ValueError):
    """A file table the build cannot use; the message names the file and line."""


class FileRow:
    def __init__(self, resource_id, target_name, attributes, required, condition, line=0):
        self.resource_id = resource_id
        self.target_name = target_name
        self.read_only = "ReadOnly" in attributes
        self.hidden = "Hidden" in attributes
        self.required = required
        self.condition = condition
        self.line = line

    def __repr__(self):
        return "FileRow(%d, %r)" % (self.resource_id, self.target_name)


def _row_from(match, path, number):
    def fail(what):
        raise FileTableError("%s:%d: %s" % (path, number, what))
    resource_id = int(match.group(1))
    if not 1 <= resource_id <= LARGEST_ID:
        fail("resource id %d is not a 16-bit id above 0" % resource_id)
    attributes = [word.strip() for word in match.group(3).split("|")]
    for word in attributes:
        if word not in ATTRIBUTES:
            fail("unknown attribute %r (expected Plain, ReadOnly or Hidden)" % word)
    if match.group(4) not in FAILURES:
        fail("unknown failure rule %r (expected Required or Optional)" % match.group(4))
    if match.group(5) not in CONDITIONS:
        fail("unknown condition %r (expected Always or UnlessWordBaseKept)" % match.group(5))
    return FileRow(resource_id, match.group(2), attributes, match.group(4) == "Required", match.group(5), number)


def parse_file_table(text, path):
    """Returns the payload rows in install order, or raises FileTableError."""
    lines = text.splitlines()
    start = next((i for i, line in enumerate(lines) if TABLE_START.match(line)), None)
    if start is None:
        raise FileTableError("%s:1: no line 'const FileTableRow FileTable[] = {' opens the file table" % path)
    rows = []
    seen_ids = {}
    seen_names = {}
    for index in range(start + 1, len(lines)):
        number = index + 1
        line = lines[index]
        if TABLE_END.match(line):
            if len(rows) != PAYLOAD_ROW_COUNT:
                raise FileTableError("%s:%d: the file table ends after %d payload rows; it must have exactly %d"
                                     % (path, number, len(rows), PAYLOAD_ROW_COUNT))
            return rows
        if COMMENT.match(line) or CHECKPOINT.match(line):
            continue
        match = ROW.match(line)
        if not match:
            raise FileTableError("%s:%d: cannot read this file table row: %s" % (path, number, line.strip()))
        row = _row_from(match, path, number)
        if row.resource_id in seen_ids:
            raise FileTableError("%s:%d: resource id %d already used on line %d"
                                 % (path, number, row.resource_id, seen_ids[row.resource_id]))
        # The file system compares names without regard to case.
        folded = row.target_name.lower()
        if folded in seen_names:
            raise FileTableError("%s:%d: target %r already written by line %d"
                                 % (path, number, row.target_name, seen_names[folded]))
        seen_ids[row.resource_id] = number
        seen_names[folded] = number
        rows.append(row)
    raise FileTableError("%s:%d: the file table has no closing '};'" % (path, len(lines)))


def read_file_table(path=TABLE_SOURCE):
    """Returns the payload rows of the table in install order."""
    with open(path, encoding="utf-8") as source:
        text = source.read()
    return parse_file_table(text, path)


def main(argv):
    if len(argv) > 2:
        print("usage: file_table.py [file_table.cpp]  -- lists the payload rows as 'id name'", file=sys.stderr)
        return 2
    path = argv[1] if len(argv) == 2 else TABLE_SOURCE
    try:
        rows = read_file_table(path)
    except OSError as error:
        print("file_table: %s: %s" % (path, error.strerror), file=sys.stderr)
        return 1
    except FileTableError as error:
        print("file_table: %s" % error, file=sys.stderr)
        return 1
    for row in rows:
        print(row.resource_id, row.target_name)
    return 0


if __name__ == "__main__":
    sys.exit(main(sys.argv))
