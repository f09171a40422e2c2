// The glyph lookup: reference cells, codes outside GB2312, and every 16-bit input.
#include "glyphtext/glyph_font.h"
#include "support/glyph_reference.h"
#include <gtest/gtest.h>

struct Cell { int sheet, x, y; };

static Cell Locate(unsigned code)
{
    Cell cell;
    EXPECT_EQ(1, LocateGlyph((unsigned short)code, &cell.sheet, &cell.x, &cell.y));
    return cell;
}

// The cell number the sheets are packed with, as a reader of the font layout counts it.
static int CellNumber(const Cell &cell)
{
    return (cell.sheet * 59 + cell.y / 16) * 32 + cell.x / 16;
}

TEST(LocateGlyph, ReferenceCharactersLandOnTheirCells)
{
    struct { unsigned code; int cell, sheet, x, y; } reference[] = {
        { 0xA1A2, 1, 0, 16, 0 },        // 、
        { 0xB0A1, 658, 0, 288, 320 },   // 啊, the first hanzi
        { 0xCEC4, 3513, 1, 400, 800 },  // 文
        { 0xD2BB, 3880, 2, 128, 48 },   // 一
        { 0xD6D0, 4277, 2, 336, 240 },  // 中
        { 0xD7F9, 4412, 2, 448, 304 },  // last hanzi of row 0xD7
        { 0xD8A1, 4418, 2, 32, 320 },   // first hanzi of row 0xD8
        { 0xF7FE, 7425, 3, 16, 880 },   // the last hanzi
        { 0xE946, 7456, 3, 0, 896 },    // 镕, outside GB2312
        { 0xA9A4, 7457, 3, 16, 896 },   // ─, drawn as the two-pixel bar
    };
    for (const auto &r : reference) {
        Cell cell = Locate(r.code);
        EXPECT_EQ(r.sheet, cell.sheet) << std::hex << r.code;
        EXPECT_EQ(r.x, cell.x) << std::hex << r.code;
        EXPECT_EQ(r.y, cell.y) << std::hex << r.code;
        EXPECT_EQ(r.cell, CellNumber(cell)) << std::hex << r.code;
    }
}

// Every GB2312 position of the stored rows, counted the way the font is packed.
TEST(LocateGlyph, EveryStoredGb2312PositionMatchesThePackedLayout)
{
    for (int row = 1; row <= 87; row++) {
        if (row >= 8 && row <= 15)
            continue;
        for (int column = 1; column <= 94; column++) {
            unsigned code = (0xA0 + row) << 8 | (0xA0 + column);
            if (code == 0xA9A4)
                continue;
            int expected = row <= 7 ? 94 * (row - 1) + column - 1 : 658 + 94 * (row - 16) + column - 1;
            ASSERT_EQ(expected, CellNumber(Locate(code))) << std::hex << code;
        }
    }
}

TEST(LocateGlyph, CodesOutsideTheStoredRowsLandOnDocumentedCells)
{
    EXPECT_EQ(658, CellNumber(Locate(0xA8A1)));     // row 8 is not stored: the glyph of 啊
    EXPECT_EQ(752, CellNumber(Locate(0xA9A1)));     // the first glyph of row 0xB1
    EXPECT_EQ(473, CellNumber(Locate(0xA6A4)));     // stored row 6 holds the box drawing
    EXPECT_EQ(1473, CellNumber(Locate(0xB040)));    // GBK: the glyph of 膏 (0xB8E0)
    EXPECT_EQ(CellNumber(Locate(0xB8E0)), CellNumber(Locate(0xB040)));
    EXPECT_EQ(2319, CellNumber(Locate(0xC140)));    // the glyph of 拎 (0xC1E0)
    EXPECT_EQ(CellNumber(Locate(0xC1E0)), CellNumber(Locate(0xC140)));
    EXPECT_EQ(7426, CellNumber(Locate(0xF8A1)));    // past the last stored row: blank
    EXPECT_EQ(4413, CellNumber(Locate(0xD7FA)));    // unassigned: blank
}

// 0x8140 counts to cell 21,119, far past the fourth sheet: the sheet index is
// capped while x and y keep their in-sheet positions.
TEST(LocateGlyph, FarCellsAreCappedAtTheLastSheet)
{
    Cell cell = Locate(0x8140);
    EXPECT_EQ(3, cell.sheet);
    EXPECT_EQ(496, cell.x);
    EXPECT_EQ(160, cell.y);
}

// Every 16-bit input, compared with the cell the font's table and arithmetic
// give (tests/support/glyph_reference.cpp), not only with the sheet bounds: low
// codes make the intermediate count negative or wrap it past 16 bits, a lone
// lead byte arrives with a zero second byte.
TEST(LocateGlyph, EverySixteenBitInputYieldsTheCellOfTheFontArithmetic)
{
    for (unsigned code = 0; code <= 0xFFFF; code++) {
        Cell cell = Locate(code);
        GlyphCell expected = ReferenceGlyphCell(code);
        ASSERT_EQ(expected.sheet, cell.sheet) << std::hex << code;
        ASSERT_EQ(expected.x, cell.x) << std::hex << code;
        ASSERT_EQ(expected.y, cell.y) << std::hex << code;
    }
}

// The reference the test above compares with agrees with the documented cells.
TEST(LocateGlyph, ReferenceArithmeticGivesTheDocumentedCells)
{
    EXPECT_EQ(658, ReferenceGlyphCellNumber(0xA8A1));
    EXPECT_EQ(752, ReferenceGlyphCellNumber(0xA9A1));
    EXPECT_EQ(1473, ReferenceGlyphCellNumber(0xB040));
    EXPECT_EQ(2319, ReferenceGlyphCellNumber(0xC140));
    EXPECT_EQ(7426, ReferenceGlyphCellNumber(0xF8A1));
    EXPECT_EQ(21119, ReferenceGlyphCellNumber(0x8140));
    EXPECT_EQ(65441, ReferenceGlyphCellNumber(0xA0A0));
    EXPECT_EQ(3513, ReferenceGlyphCellNumber(0xCEC4));
}

TEST(LocateGlyph, NegativeCountsTruncateTowardZero)
{
    // 0xA0A0: n = 0, d = -97, trunc(-97 / 96) = -1, k = -95 wraps to 65,441
    // (rounding down instead would give 65,443 and x = 48).
    Cell cell = Locate(0xA0A0);
    EXPECT_EQ(3, cell.sheet);
    EXPECT_EQ(16, cell.x);
    EXPECT_EQ(624, cell.y);
}
