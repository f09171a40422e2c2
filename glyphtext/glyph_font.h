// The built-in 16 x 16 glyph font: four monochrome sheets and the lookup of a cell.
#pragma once

const int GlyphResourceId = 110;
const int GlyphSheetWidth = 512;
const int GlyphSheetHeight = 944;
const int GlyphSheetBytes = GlyphSheetWidth / 8 * GlyphSheetHeight;   // 60,416
const int GlyphFontBytes = 4 * GlyphSheetBytes;                        // 241,664
const int GlyphCellSize = 16;

int LocateGlyph(unsigned short code, int *sheet, int *x, int *y);
