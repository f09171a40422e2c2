"""Turns a licence source (UTF-8, any line ends) into the text the setup program
stores and shows: GB2312 or ASCII, every line ended by CR LF, small enough for
the wizard's licence buffer.

The Chinese licence is shown one list item per line and the reader drops
whatever follows the last CR, so the output always ends with CR LF; the English
licence goes whole into a multi-line edit box, which needs CR LF to break lines.
The output is written only when the whole text passes, so a refused source
never leaves a half-converted file behind."""

import argparse
import os
import re
import sys
import unicodedata

# The wizard decompresses each licence into a buffer of this size and stores a
# zero byte after the text, so the text itself must stay below it.
LicenceBufferBytes = 65536

# The glyph font stores GB2312 rows 1-5 and 7 and the hanzi; row 6 holds the
# box-drawing set of row 9 instead of the Greek letters, rows 8 and 9 are not
# stored (their codes land on hanzi cells), and of row 9 only the light
# horizontal line 0xA9A4 has a cell of its own. Other codes would show as
# another character, so the Chinese licence may not use them.
ROWS_WITHOUT_OWN_GLYPHS = (0xA6, 0xA8, 0xA9)
CODES_WITH_OWN_GLYPH = (b"\xa9\xa4",)

LINE_END = b"\r\n"
SOURCE_LINE_BREAK = re.compile(r"\r\n|\r|\n")


class LicenceError(Exception):
    """A refusal, already worded as 'file:line: reason'."""


def describe_character(char):
    name = unicodedata.name(char, "unnamed character")
    return "U+%04X %s (%r)" % (ord(char), name, char)


def source_lines(path, data):
    """Decodes the UTF-8 source and splits it into lines without their ends."""
    try:
        text = data.decode("utf-8-sig")
    except UnicodeDecodeError as error:
        line_number = data.count(b"\n", 0, error.start) + 1
        raise LicenceError("%s:%d: the source is not valid UTF-8 (byte 0x%02X)"
                           % (path, line_number, data[error.start]))
    lines = SOURCE_LINE_BREAK.split(text)
    # A final line end ends the last line; it does not start another one.
    if lines and lines[-1] == "":
        lines.pop()
    if not lines:
        raise LicenceError("%s:1: the licence text is empty" % path)
    return lines


def encode_line(path, line_number, line, encoding, max_line_bytes):
    for column, char in enumerate(line, 1):
        # A zero byte would end the text early (the wizard treats it as a
        # zero-terminated string); other control characters show as garbage.
        if (ord(char) < 0x20 and char != "\t") or ord(char) == 0x7F:
            raise LicenceError("%s:%d: column %d: control character %s is not allowed"
                               % (path, line_number, column, describe_character(char)))
    try:
        encoded = line.encode(encoding)
    except UnicodeEncodeError as error:
        raise LicenceError("%s:%d: column %d: %s cannot be written in %s"
                           % (path, line_number, error.start + 1,
                              describe_character(line[error.start]), encoding))
    if encoding == "gb2312":
        refuse_characters_without_glyphs(path, line_number, line)
    if max_line_bytes is not None and len(encoded) > max_line_bytes:
        raise LicenceError("%s:%d: the line is %d bytes in %s, longer than the limit of %d"
                           % (path, line_number, len(encoded), encoding, max_line_bytes))
    return encoded


def refuse_characters_without_glyphs(path, line_number, line):
    for column, char in enumerate(line, 1):
        code = char.encode("gb2312")
        if len(code) == 2 and code[0] in ROWS_WITHOUT_OWN_GLYPHS and code not in CODES_WITH_OWN_GLYPH:
            raise LicenceError("%s:%d: column %d: %s (GB2312 0x%02X%02X) has no glyph of its own "
                               "in the setup program's font"
                               % (path, line_number, column, describe_character(char), code[0], code[1]))


def convert(path, data, encoding, max_line_bytes=None, max_lines=None):
    """Returns the converted bytes of the source data read from path, or raises
    LicenceError naming the file and the first line at fault."""
    output = bytearray()
    lines = source_lines(path, data)
    if max_lines is not None and len(lines) > max_lines:
        raise LicenceError("%s:%d: the licence has %d lines; the wizard shows at most %d"
                           % (path, max_lines + 1, len(lines), max_lines))
    for line_number, line in enumerate(lines, 1):
        output += encode_line(path, line_number, line, encoding, max_line_bytes)
        output += LINE_END
        if len(output) >= LicenceBufferBytes:
            raise LicenceError("%s:%d: the converted text reaches %d bytes by this line; "
                               "it must stay below %d (the wizard's licence buffer, "
                               "which also holds a terminating zero)"
                               % (path, line_number, len(output), LicenceBufferBytes))
    return bytes(output)


def write_whole(path, data):
    """Writes through a temporary file, so the output is either complete or absent."""
    directory = os.path.dirname(os.path.abspath(path))
    os.makedirs(directory, exist_ok=True)
    temporary = path + ".tmp"
    with open(temporary, "wb") as output:
        output.write(data)
    os.replace(temporary, path)


def parse_arguments(argv):
    parser = argparse.ArgumentParser(
        prog="convert_licence.py",
        description="Converts a UTF-8 licence source into the setup program's licence text: "
                    "the target encoding, CR LF after every line (also the last), "
                    "below %d bytes in all. Exits with 1 and names the file and line "
                    "when the source cannot be converted." % LicenceBufferBytes)
    parser.add_argument("--encoding", required=True, choices=["gb2312", "ascii"],
                        help="target encoding: gb2312 for the Chinese licence, "
                             "ascii for the English one")
    parser.add_argument("--max-line-bytes", type=int, metavar="N",
                        help="refuse any line longer than N bytes in the target encoding, "
                             "not counting CR LF (the Chinese licence list takes 56)")
    parser.add_argument("source", metavar="SOURCE", help="the licence source, UTF-8")
    parser.add_argument("output", metavar="OUTPUT", help="the converted text to write")
    parser.add_argument("--max-lines", type=int, metavar="N",
                        help="refuse a text of more than N lines (the Chinese licence list shows 500)")
    arguments = parser.parse_args(argv)
    if arguments.max_lines is not None and arguments.max_lines < 1:
        parser.error("--max-lines must be at least 1")
    if arguments.max_line_bytes is not None and arguments.max_line_bytes < 1:
        parser.error("--max-line-bytes must be at least 1")
    return arguments


def main(argv):
    arguments = parse_arguments(argv[1:])
    try:
        with open(arguments.source, "rb") as source:
            data = source.read()
    except OSError as error:
        print("%s: cannot read the licence source: %s" % (arguments.source, error.strerror),
              file=sys.stderr)
        return 1
    try:
        converted = convert(arguments.source, data, arguments.encoding, arguments.max_line_bytes,
                            arguments.max_lines)
    except LicenceError as error:
        print(error, file=sys.stderr)
        return 1
    try:
        write_whole(arguments.output, converted)
    except OSError as error:
        print("%s: cannot write the converted licence: %s" % (arguments.output, error.strerror),
              file=sys.stderr)
        return 1
    return 0


if __name__ == "__main__":
    sys.exit(main(sys.argv))
