// Turns a two-byte GB2312 code into the sheet and pixel position of its glyph cell.
#include "glyphtext/glyph_font.h"

const unsigned short ExtraHanziCode = 0xE946;     // the GBK character stored in cell 7,456
const unsigned short HorizontalBarCode = 0xA9A4;  // drawn with the bar of cell 7,457
const unsigned short FirstHanziCode = 0xB0A1;
const int CellsPerSheetRow = GlyphSheetWidth / GlyphCellSize;       // 32
const int CellRowsPerSheet = GlyphSheetHeight / GlyphCellSize;      // 59
const int LastSheet = 3;

static void CellPosition(unsigned k, int *sheet, int *x, int *y)
{
    unsigned cellRow = k / CellsPerSheetRow;
    unsigned sheetIndex = cellRow / CellRowsPerSheet;
    *sheet = sheetIndex > LastSheet ? LastSheet : (int)sheetIndex;
    *x = GlyphCellSize * (int)(k % CellsPerSheetRow);
    *y = GlyphCellSize * (int)(cellRow % CellRowsPerSheet);
}

// The arithmetic counts 96 positions a row (second bytes 0xA0-0xFF) and removes
// the two that GB2312 never uses for every whole row passed; codes outside
// GB2312 go through the same steps and land on some cell inside the sheets.
int LocateGlyph(unsigned short code, int *sheet, int *x, int *y)
{
    if (code == ExtraHanziCode) {
        CellPosition(7456, sheet, x, y);
        return 1;
    }
    if (code == HorizontalBarCode) {
        CellPosition(7457, sheet, x, y);
        return 1;
    }
    unsigned short t = (unsigned short)(code - 0xA0A0);
    int n = 96 * (t >> 8) + (t & 0xFF);
    int k;
    if (code < FirstHanziCode) {
        int d = n - 97;
        k = d - 2 * (d / 96);
    } else {
        int d = n - 1537;
        k = (n - 879) - 2 * (d / 96);
    }
    CellPosition((unsigned short)k, sheet, x, y);
    return 1;
}
