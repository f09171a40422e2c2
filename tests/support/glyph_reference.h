// Where a two-byte code's glyph lies, stated apart from the program's own lookup:
// the cell table by code ranges for GB2312, the font's arithmetic for the rest.
#pragma once

struct GlyphCell { int sheet, x, y; };

int ReferenceGlyphCellNumber(unsigned code);
GlyphCell ReferenceGlyphCell(unsigned code);
