"""Packs the setup program's 16 x 16 glyph font from GNU Unifont.

Output: the raw pixel data of four monochrome glyph sheets, 512 x 944 pixels
each, 64 bytes a row, top row first, bit 7 the leftmost pixel, 0 = ink and
1 = background; 241,664 bytes in all. The cells, 16 x 16 pixels, are numbered
in reading order through the four sheets (32 cells a row, 59 rows a sheet):

  0 - 657      GB2312 rows 1-7, 94 cells a row, except that stored row 6 holds
               the box-drawing characters of GB2312 row 9, column for column
  658 - 7425   GB2312 hanzi rows 16-87, 94 cells a row
  7456         U+9555 (GBK 0xE946), which the product's texts use
  7457         a bar two pixels high on pixel rows 9 and 10, drawn for 0xA9A4
  elsewhere    blank (all background)
"""

import argparse
import sys

SHEET_COUNT = 4
SHEET_WIDTH = 512
SHEET_HEIGHT = 944
ROW_BYTES = SHEET_WIDTH // 8
SHEET_BYTES = ROW_BYTES * SHEET_HEIGHT          # 60,416
CELL = 16
CELLS_PER_ROW = SHEET_WIDTH // CELL             # 32
CELL_ROWS_PER_SHEET = SHEET_HEIGHT // CELL      # 59
CELL_COUNT = SHEET_COUNT * CELLS_PER_ROW * CELL_ROWS_PER_SHEET   # 7,552

HANZI_FIRST_CELL = 658
EXTRA_HANZI_CELL = 7456
EXTRA_HANZI = "\u9555"
BAR_CELL = 7457
BAR_PIXEL_ROWS = (9, 10)

SYMBOL_ROWS = {1: 1, 2: 2, 3: 3, 4: 4, 5: 5, 6: 9, 7: 7}   # stored row -> GB2312 row
HANZI_ROWS = range(16, 88)


def read_unifont(path):
    """Returns {code point: list of 16 row bit masks, 16 bits wide, bit 15 leftmost}."""
    glyphs = {}
    try:
        source = open(path, encoding="ascii")
    except OSError as error:
        raise SystemExit("pack_glyphs: cannot read the font %s: %s" % (path, error.strerror))
    with source:
        for number, line in enumerate(source, 1):
            line = line.strip()
            if not line:
                continue
            try:
                code_text, bits = line.split(":")
                code = int(code_text, 16)
                value = int(bits, 16)
            except ValueError:
                raise SystemExit("pack_glyphs: %s line %d is not CODEPOINT:HEX" % (path, number))
            if len(bits) == 64:
                rows = [(value >> (16 * (15 - r))) & 0xFFFF for r in range(16)]
            elif len(bits) == 32:
                # An 8-pixel glyph stands centred in its 16-pixel cell.
                rows = [((value >> (8 * (15 - r))) & 0xFF) << 4 for r in range(16)]
            else:
                continue
            glyphs[code] = rows
    return glyphs


def gb2312_char(row, column):
    """The character GB2312 assigns to (row, column), or None."""
    try:
        return bytes([0xA0 + row, 0xA0 + column]).decode("gb2312")
    except UnicodeDecodeError:
        return None


def cell_contents():
    """Yields (cell number, character) for every cell that holds a character."""
    for stored_row, gb_row in SYMBOL_ROWS.items():
        for column in range(1, 95):
            char = gb2312_char(gb_row, column)
            if char is not None:
                yield 94 * (stored_row - 1) + column - 1, char
    for gb_row in HANZI_ROWS:
        for column in range(1, 95):
            char = gb2312_char(gb_row, column)
            if char is not None:
                yield HANZI_FIRST_CELL + 94 * (gb_row - 16) + column - 1, char
    yield EXTRA_HANZI_CELL, EXTRA_HANZI


def put_cell(sheets, cell, rows):
    """Writes 16 rows of ink masks into a cell; set mask bits become ink (0)."""
    global_row = cell // CELLS_PER_ROW
    sheet = global_row // CELL_ROWS_PER_SHEET
    x_byte = (cell % CELLS_PER_ROW) * 2
    y = (global_row % CELL_ROWS_PER_SHEET) * CELL
    base = sheet * SHEET_BYTES
    for r, mask in enumerate(rows):
        offset = base + (y + r) * ROW_BYTES + x_byte
        pixels = ~mask & 0xFFFF
        sheets[offset] = pixels >> 8
        sheets[offset + 1] = pixels & 0xFF


def pack(glyphs):
    sheets = bytearray(b"\xff" * (SHEET_BYTES * SHEET_COUNT))
    missing = []
    for cell, char in cell_contents():
        rows = glyphs.get(ord(char))
        if rows is None:
            missing.append(char)
            continue
        put_cell(sheets, cell, rows)
    bar = [0xFFFF if r in BAR_PIXEL_ROWS else 0 for r in range(CELL)]
    put_cell(sheets, BAR_CELL, bar)
    return bytes(sheets), missing


def main(argv):
    parser = argparse.ArgumentParser(description="Pack the four 512 x 944 glyph sheets of the setup "
                                     "program from a Unifont .hex file (raw pixel data, uncompressed).")
    parser.add_argument("font", help="Unifont hex file, e.g. /usr/share/unifont/unifont.hex")
    parser.add_argument("output", help="file to write, 241,664 bytes")
    args = parser.parse_args(argv[1:])
    sheets, missing = pack(read_unifont(args.font))
    if missing:
        sys.stderr.write("pack_glyphs: %s lacks %d characters, left blank: %s\n"
                         % (args.font, len(missing), "".join(missing[:20])))
    with open(args.output, "wb") as out:
        out.write(sheets)
    return 0


if __name__ == "__main__":
    sys.exit(main(sys.argv))
