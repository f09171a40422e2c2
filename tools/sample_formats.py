"""File formats for the sample product: BMP and PNG pictures drawn on a small
indexed canvas, a compiled-help container, CR LF text of an exact size, and
binary tables filled to an exact size from a few generated record blocks."""

import struct
import zlib

SAMPLE_NOTICE = "Lumabook Writer sample data - not the real product file"
SAMPLE_NOTICE_CN = "Lumabook Writer 示例数据，不是真正的产品文件"
SAMPLE_NOTICE_B5 = "Lumabook Writer 示例資料，不是真正的產品檔案"

CRLF = b"\r\n"


# ---------------------------------------------------------------------------
# Character pools

def gb2312_hanzi(level):
    """The two-byte codes of the GB2312 hanzi of level 1 (3,755, by pinyin) or
    level 2 (3,008, by radical), in code order."""
    leads = range(0xB0, 0xD8) if level == 1 else range(0xD8, 0xF8)
    codes = []
    for lead in leads:
        for trail in range(0xA1, 0xFF):
            if lead == 0xD7 and trail > 0xF9:  # the last five cells of row 55 are empty
                continue
            codes.append(bytes((lead, trail)))
    return codes


def big5_hanzi():
    """The two-byte codes of the frequently used Big5 hanzi (0xA440-0xC67E)."""
    codes = []
    for lead in range(0xA4, 0xC7):
        for trail in list(range(0x40, 0x7F)) + list(range(0xA1, 0xFF)):
            code = bytes((lead, trail))
            try:
                code.decode("big5")
            except UnicodeDecodeError:
                continue
            codes.append(code)
    return codes


def zipf_weights(count, exponent=1.0, offset=0):
    """Cumulative weights that make the first items of a pool the common ones:
    item k (from 1) weighs 1 / (k + offset) ** exponent."""
    total = 0.0
    cumulative = []
    for rank in range(1, count + 1):
        total += 1.0 / (rank + offset) ** exponent
        cumulative.append(total)
    return cumulative


# ---------------------------------------------------------------------------
# Text of an exact size

def fit_lines(lines, size):
    """Joins encoded lines with CR LF into exactly `size` bytes. Lines are taken
    whole while they fit (so a two-byte character is never cut), and the rest is
    filled with one line of '=' characters. `lines` may be endless."""
    out = []
    used = 0
    for line in lines:
        need = len(line) + 2
        # Never leave exactly one byte: it could not hold the filler line's CR LF.
        if used + need == size or used + need <= size - 2:
            out.append(line + CRLF)
            used += need
            if used == size:
                break
        else:
            break
    rest = size - used
    if rest:
        if rest < 2:
            raise ValueError("text cannot be fitted to %d bytes" % size)
        out.append(b"=" * (rest - 2) + CRLF)
    data = b"".join(out)
    assert len(data) == size
    return data


def crlf_text(lines, encoding):
    """Encodes text lines and closes every line with CR LF."""
    return b"".join(line.encode(encoding) + CRLF for line in lines)


# ---------------------------------------------------------------------------
# Indexed canvas with a 5 x 7 capital letter font

FONT_5X7 = {
    "A": ".###. #...# #...# ##### #...# #...# #...#",
    "B": "####. #...# #...# ####. #...# #...# ####.",
    "C": ".###. #...# #.... #.... #.... #...# .###.",
    "D": "####. #...# #...# #...# #...# #...# ####.",
    "E": "##### #.... #.... ####. #.... #.... #####",
    "F": "##### #.... #.... ####. #.... #.... #....",
    "G": ".###. #...# #.... #.### #...# #...# .####",
    "H": "#...# #...# #...# ##### #...# #...# #...#",
    "I": ".###. ..#.. ..#.. ..#.. ..#.. ..#.. .###.",
    "J": "..### ...#. ...#. ...#. ...#. #..#. .##..",
    "K": "#...# #..#. #.#.. ##... #.#.. #..#. #...#",
    "L": "#.... #.... #.... #.... #.... #.... #####",
    "M": "#...# ##.## #.#.# #.#.# #...# #...# #...#",
    "N": "#...# #...# ##..# #.#.# #..## #...# #...#",
    "O": ".###. #...# #...# #...# #...# #...# .###.",
    "P": "####. #...# #...# ####. #.... #.... #....",
    "Q": ".###. #...# #...# #...# #.#.# #..#. .##.#",
    "R": "####. #...# #...# ####. #.#.. #..#. #...#",
    "S": ".#### #.... #.... .###. ....# ....# ####.",
    "T": "##### ..#.. ..#.. ..#.. ..#.. ..#.. ..#..",
    "U": "#...# #...# #...# #...# #...# #...# .###.",
    "V": "#...# #...# #...# #...# #...# .#.#. ..#..",
    "W": "#...# #...# #...# #.#.# #.#.# #.#.# .#.#.",
    "X": "#...# #...# .#.#. ..#.. .#.#. #...# #...#",
    "Y": "#...# #...# .#.#. ..#.. ..#.. ..#.. ..#..",
    "Z": "##### ....# ...#. ..#.. .#... #.... #####",
    "0": ".###. #...# #..## #.#.# ##..# #...# .###.",
    "1": "..#.. .##.. ..#.. ..#.. ..#.. ..#.. .###.",
    "2": ".###. #...# ....# ...#. ..#.. .#... #####",
    "3": "##### ...#. ..#.. ...#. ....# #...# .###.",
    "4": "...#. ..##. .#.#. #..#. ##### ...#. ...#.",
    "5": "##### #.... ####. ....# ....# #...# .###.",
    "6": "..##. .#... #.... ####. #...# #...# .###.",
    "7": "##### ....# ...#. ..#.. .#... .#... .#...",
    "8": ".###. #...# #...# .###. #...# #...# .###.",
    "9": ".###. #...# #...# .#### ....# ...#. .##..",
    "-": "..... ..... ..... ##### ..... ..... .....",
    ".": "..... ..... ..... ..... ..... .##.. .##..",
    ",": "..... ..... ..... ..... .##.. ..#.. .#...",
    ";": "..... .##.. .##.. ..... .##.. ..#.. .#...",
    ":": "..... .##.. .##.. ..... .##.. .##.. .....",
    "/": "..... ....# ...#. ..#.. .#... #.... .....",
    "'": "..#.. ..#.. .#... ..... ..... ..... .....",
    "[": ".###. .#... .#... .#... .#... .#... .###.",
    "]": ".###. ...#. ...#. ...#. ...#. ...#. .###.",
    "(": "...#. ..#.. .#... .#... .#... ..#.. ...#.",
    ")": ".#... ..#.. ...#. ...#. ...#. ..#.. .#...",
    "=": "..... ..... ##### ..... ##### ..... .....",
    "_": "..... ..... ..... ..... ..... ..... #####",
    "+": "..... ..#.. ..#.. ##### ..#.. ..#.. .....",
    "*": "..... #.#.# .###. ##### .###. #.#.# .....",
    "#": ".#.#. .#.#. ##### .#.#. ##### .#.#. .#.#.",
    " ": "..... ..... ..... ..... ..... ..... .....",
}
FONT_ROWS = {ch: [row for row in pattern.split()] for ch, pattern in FONT_5X7.items()}
GLYPH_ADVANCE = 6  # five columns and one blank column


class Canvas:
    """A picture of palette indices, one byte per pixel, top row first."""

    def __init__(self, width, height, palette, background=0):
        if len(palette) > 256:
            raise ValueError("a palette holds at most 256 colours")
        self.width = width
        self.height = height
        self.palette = list(palette)
        self.pixels = bytearray([background]) * (width * height)

    def fill(self, left, top, right, bottom, colour):
        """Fills the rectangle [left, right) x [top, bottom), clipped to the canvas."""
        left, right = max(0, left), min(self.width, right)
        top, bottom = max(0, top), min(self.height, bottom)
        if left >= right:
            return
        span = bytes([colour]) * (right - left)
        for y in range(top, bottom):
            start = y * self.width + left
            self.pixels[start:start + len(span)] = span

    def frame(self, left, top, right, bottom, colour, thickness=1):
        self.fill(left, top, right, top + thickness, colour)
        self.fill(left, bottom - thickness, right, bottom, colour)
        self.fill(left, top, left + thickness, bottom, colour)
        self.fill(right - thickness, top, right, bottom, colour)

    def text(self, left, top, text, colour, scale=1):
        """Draws capitals, digits and a little punctuation; other characters show
        as a blank. Returns the x position after the text."""
        x = left
        for ch in text.upper():
            rows = FONT_ROWS.get(ch, FONT_ROWS[" "])
            for dy, row in enumerate(rows):
                for dx, bit in enumerate(row):
                    if bit == "#":
                        self.fill(x + dx * scale, top + dy * scale,
                                  x + (dx + 1) * scale, top + (dy + 1) * scale, colour)
            x += GLYPH_ADVANCE * scale
        return x

    def stamp(self, left, top, rows):
        """Copies a small opaque picture (rows of palette indices) onto the
        canvas; a picture that would cross the border is left out."""
        if left < 0 or top < 0 or left + len(rows[0]) > self.width or top + len(rows) > self.height:
            return
        for dy, line in enumerate(rows):
            start = (top + dy) * self.width + left
            self.pixels[start:start + len(line)] = line

    def row(self, y):
        start = y * self.width
        return bytes(self.pixels[start:start + self.width])


def glyph_rows(ch, ink, paper):
    """A letter of the 5 x 7 font as opaque rows, with one blank column after it."""
    table = bytes.maketrans(b".#", bytes((paper, ink)))
    return [(row + ".").encode("ascii").translate(table) for row in FONT_ROWS.get(ch.upper(), FONT_ROWS[" "])]


def pseudo_hanzi(rng, ink, paper, size=12):
    """A square of horizontal and vertical strokes that reads as a Chinese
    character at a glance."""
    cells = [bytearray([paper]) * size for _ in range(size)]
    for _ in range(rng.randrange(3, 8)):
        if rng.random() < 0.55:
            y = rng.randrange(1, size - 1)
            x0 = rng.randrange(0, size // 2)
            x1 = rng.randrange(size // 2, size - 1)
            cells[y][x0:x1 + 1] = bytes([ink]) * (x1 - x0 + 1)
        else:
            x = rng.randrange(1, size - 1)
            for y in range(rng.randrange(0, size // 2), rng.randrange(size // 2, size - 1) + 1):
                cells[y][x] = ink
    return [bytes(line) for line in cells]


def text_width(text, scale=1):
    return len(text) * GLYPH_ADVANCE * scale


def gradient_palette(first, last, steps):
    """`steps` colours from `first` to `last` (RGB triples)."""
    colours = []
    for i in range(steps):
        t = i / max(1, steps - 1)
        colours.append(tuple(int(round(a + (b - a) * t)) for a, b in zip(first, last)))
    return colours


# ---------------------------------------------------------------------------
# Windows BMP

BMP_FILE_HEADER_BYTES = 14
BMP_INFO_HEADER_BYTES = 40
BMP_PIXELS_PER_METRE = 2835  # 72 dots per inch


def _bmp_stride(width, bits):
    return (width * bits + 31) // 32 * 4


def _bmp_rows(canvas, bits):
    """The pixel rows bottom-up, each padded to a multiple of four bytes."""
    width = canvas.width
    stride = _bmp_stride(width, bits)
    rows = []
    if bits == 1:
        to_digit = bytes.maketrans(b"\x00\x01", b"01")
        pad_bits = stride * 8 - width
        for y in range(canvas.height - 1, -1, -1):
            digits = canvas.row(y).translate(to_digit) + b"0" * pad_bits
            rows.append(int(digits, 2).to_bytes(stride, "big"))
    elif bits == 8:
        pad = b"\x00" * (stride - width)
        for y in range(canvas.height - 1, -1, -1):
            rows.append(canvas.row(y) + pad)
    elif bits == 24:
        palette = canvas.palette + [(0, 0, 0)] * (256 - len(canvas.palette))
        reds = bytes(c[0] for c in palette)
        greens = bytes(c[1] for c in palette)
        blues = bytes(c[2] for c in palette)
        pad = b"\x00" * (stride - width * 3)
        for y in range(canvas.height - 1, -1, -1):
            source = canvas.row(y)
            line = bytearray(width * 3)
            line[0::3] = source.translate(blues)  # BMP stores blue, green, red
            line[1::3] = source.translate(greens)
            line[2::3] = source.translate(reds)
            rows.append(bytes(line) + pad)
    else:
        raise ValueError("unsupported BMP depth %d" % bits)
    return b"".join(rows)


def bmp(canvas, bits):
    """A bottom-up BITMAPINFOHEADER bitmap of 1, 8 or 24 bits per pixel. The
    1-bit and 8-bit forms carry a colour table of 2 or 256 entries."""
    if bits == 1:
        if any(p > 1 for p in canvas.pixels):
            raise ValueError("a monochrome bitmap uses only palette indices 0 and 1")
        table_colours = canvas.palette[:2]
    elif bits == 8:
        table_colours = canvas.palette + [(0, 0, 0)] * (256 - len(canvas.palette))
    else:
        table_colours = []
    colour_table = b"".join(struct.pack("<BBBB", b, g, r, 0) for r, g, b in table_colours)
    pixels = _bmp_rows(canvas, bits)
    offset = BMP_FILE_HEADER_BYTES + BMP_INFO_HEADER_BYTES + len(colour_table)
    file_header = struct.pack("<2sIHHI", b"BM", offset + len(pixels), 0, 0, offset)
    info_header = struct.pack("<IiiHHIIiiII", BMP_INFO_HEADER_BYTES, canvas.width, canvas.height,
                              1, bits, 0, len(pixels), BMP_PIXELS_PER_METRE, BMP_PIXELS_PER_METRE,
                              len(table_colours), 0)
    return file_header + info_header + colour_table + pixels


# ---------------------------------------------------------------------------
# PNG

PNG_SIGNATURE = b"\x89PNG\r\n\x1a\n"


def png_chunk(kind, data):
    return struct.pack(">I", len(data)) + kind + data + struct.pack(">I", zlib.crc32(kind + data))


def png(canvas, comment=SAMPLE_NOTICE):
    """An 8-bit palette PNG of the canvas, every row with filter type 0."""
    header = struct.pack(">IIBBBBB", canvas.width, canvas.height, 8, 3, 0, 0, 0)
    palette = b"".join(bytes(colour) for colour in canvas.palette)
    raw = b"".join(b"\x00" + canvas.row(y) for y in range(canvas.height))
    return (PNG_SIGNATURE
            + png_chunk(b"IHDR", header)
            + png_chunk(b"PLTE", palette)
            + png_chunk(b"tEXt", b"Comment\x00" + comment.encode("latin-1"))
            + png_chunk(b"IDAT", zlib.compress(raw, 9))
            + png_chunk(b"IEND", b""))


# ---------------------------------------------------------------------------
# Compiled help container

ITSF_HEADER_BYTES = 0x60
ITSP_HEADER_BYTES = 0x54
CHM_LISTING_CHUNK_BYTES = 0x1000
CHM_TIMESTAMP = 0x3A5E1C00
CHM_LANGUAGE_ENGLISH_US = 0x0409


def _guid(text):
    """Packs "xxxxxxxx-xxxx-xxxx-xxxx-xxxxxxxxxxxx" the way Windows stores a GUID."""
    a, b, c, d, e = text.split("-")
    return struct.pack("<IHH", int(a, 16), int(b, 16), int(c, 16)) + bytes.fromhex(d + e)


def _encint(value):
    """The variable-length integer of the compiled-help directory."""
    groups = [value & 0x7F]
    value >>= 7
    while value:
        groups.append(0x80 | (value & 0x7F))
        value >>= 7
    return bytes(reversed(groups))


def chm(entries, size):
    """A compiled-help file of exactly `size` bytes: the "ITSF" header, its
    section table, one directory listing chunk and the named entries stored
    uncompressed in content section 0, the last one repeated as needed to fill
    the size. It is laid out like the real container but not meant to be opened."""
    listing = bytearray()
    content = bytearray()
    for name, data in entries:
        encoded = ("/" + name).encode("ascii")
        listing += _encint(len(encoded)) + encoded + _encint(0) + _encint(len(content)) + _encint(len(data))
        content += data
    if len(listing) > CHM_LISTING_CHUNK_BYTES - 0x20:
        raise ValueError("too many compiled-help entries for one listing chunk")
    chunk_header = struct.pack("<4sIIii", b"PMGL", CHM_LISTING_CHUNK_BYTES - 0x14 - len(listing), 0, -1, -1)
    chunk = chunk_header + bytes(listing)
    chunk += b"\x00" * (CHM_LISTING_CHUNK_BYTES - len(chunk))

    directory_offset = ITSF_HEADER_BYTES + 0x18
    directory_bytes = ITSP_HEADER_BYTES + len(chunk)
    content_offset = directory_offset + directory_bytes
    itsf = struct.pack("<4siiiII", b"ITSF", 3, ITSF_HEADER_BYTES, 1, CHM_TIMESTAMP, CHM_LANGUAGE_ENGLISH_US)
    itsf += _guid("7C01FD10-7BAA-11D0-9E0C-00A0C922E6EC")
    itsf += _guid("7C01FD11-7BAA-11D0-9E0C-00A0C922E6EC")
    itsf += struct.pack("<QQQQQ", ITSF_HEADER_BYTES, 0x18, directory_offset, directory_bytes, content_offset)
    assert len(itsf) == ITSF_HEADER_BYTES
    section0 = struct.pack("<IIQQ", 0x1FE, 0, size, 0)  # header section 0: the file size
    # version, header size, 10, chunk size, density, depth, root index chunk
    # (none), first and last listing chunk, -1, chunk count, language
    itsp = struct.pack("<4siiiiiiiiiiiI", b"ITSP", 1, ITSP_HEADER_BYTES, 10, CHM_LISTING_CHUNK_BYTES,
                       2, 1, -1, 0, 0, -1, 1, CHM_LANGUAGE_ENGLISH_US)
    itsp += _guid("5D02926A-212E-11D0-9DF9-00A0C922E6EC")
    itsp += struct.pack("<iiii", ITSP_HEADER_BYTES, -1, -1, -1)
    itsp += b"\x00" * (ITSP_HEADER_BYTES - len(itsp))
    head = itsf + section0 + itsp + chunk
    if len(head) + len(content) > size:
        raise ValueError("compiled-help entries exceed %d bytes" % size)
    filler = entries[-1][1]
    while len(head) + len(content) < size:
        content += filler
    return (head + bytes(content))[:size]


# ---------------------------------------------------------------------------
# Binary tables

TABLE_HEADER_BYTES = 96
TABLE_FORMAT_VERSION = 0x0100


def table_header(magic, size, record_bytes, record_count):
    """The common head of the sample tables: magic, version, header size, file
    size, record size (0 for variable records), record count and the notice."""
    if len(magic) != 4:
        raise ValueError("a table magic has four bytes")
    head = struct.pack("<4sHHIII", magic, TABLE_FORMAT_VERSION, TABLE_HEADER_BYTES, size,
                       record_bytes, record_count)
    notice = SAMPLE_NOTICE.encode("ascii")
    return head + notice + b"\x00" * (TABLE_HEADER_BYTES - len(head) - len(notice))


def fill_records(rng, size, make_records, block_bytes, distinct_blocks):
    """Exactly `size` bytes of records. A few blocks of about `block_bytes` are
    generated record by record; the rest of the size is made of those blocks
    rotated to random record boundaries. Generating tens of megabytes record by
    record would take minutes, and deflate looks back only 32 KiB, so a rotated
    block compresses like a new one."""
    blocks = []
    produced = 0
    while produced < size and len(blocks) < distinct_blocks:
        records = make_records(rng, min(block_bytes, size - produced))
        block = b"".join(records)
        starts = [0]
        for record in records[:-1]:
            starts.append(starts[-1] + len(record))
        blocks.append((block, starts))
        produced += len(block)
    parts = [block for block, _ in blocks]
    while produced < size:
        block, starts = blocks[rng.randrange(len(blocks))]
        cut = starts[rng.randrange(len(starts))]
        parts.append(block[cut:] + block[:cut])
        produced += len(block)
    return b"".join(parts)[:size]
