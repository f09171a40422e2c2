"""Reads the install file table out of install/file_table.cpp, so the build tools
and the setup program share one list of payload ids and target names."""

import os
import re
import sys

TABLE_SOURCE = os.path.join(os.path.dirname(os.path.abspath(__file__)), "..", "install", "file_table.cpp")

ROW = re.compile(r'\{\s*(\d+)\s*,\s*"([^"]+)"\s*,\s*([\w |]+?)\s*,\s*(Required|Optional)\s*,\s*(\w+)\s*\}')


class FileRow:
    def __init__(self, resource_id, target_name, attributes, required, condition):
        self.resource_id = resource_id
        self.target_name = target_name
        self.read_only = "ReadOnly" in attributes
        self.hidden = "Hidden" in attributes
        self.required = required
        self.condition = condition

    def __repr__(self):
        return "FileRow(%d, %r)" % (self.resource_id, self.target_name)


def read_file_table(path=TABLE_SOURCE):
    """Returns the payload rows of the table in install order."""
    with open(path, encoding="utf-8") as source:
        text = source.read()
    rows = [FileRow(int(m.group(1)), m.group(2), m.group(3), m.group(4) == "Required", m.group(5))
            for m in ROW.finditer(text)]
    ids = [row.resource_id for row in rows]
    if len(set(ids)) != len(ids):
        raise ValueError("%s: a resource id appears twice in the file table" % path)
    return rows


def main(argv):
    if len(argv) > 2:
        print("usage: file_table.py [file_table.cpp]  -- lists the payload rows as 'id name'")
        return 2
    for row in read_file_table(argv[1] if len(argv) == 2 else TABLE_SOURCE):
        print(row.resource_id, row.target_name)
    return 0


if __name__ == "__main__":
    sys.exit(main(sys.argv))
