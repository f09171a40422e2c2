// The shapes of GB2312 characters as GNU Unifont draws them, read from its
// .hex file: what the program's glyph cells must show, known without the program.
#pragma once
#include <vector>

typedef std::vector<unsigned> GlyphRows;   // 16 rows, bit 15 the leftmost pixel, 1 = ink

// Reads the font once; 0 (with a test failure) when the file cannot be read.
int LoadUnifont();
// The glyph of a Unicode code point; all blank when the font lacks it.
GlyphRows UnifontGlyph(unsigned codePoint);
// The glyph of a two-byte GB2312 code (lead byte x 256 + trail byte), through
// code page 936 whatever the system's own code page is.
GlyphRows UnifontGlyphOfGb2312(unsigned code);
