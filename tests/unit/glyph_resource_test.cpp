// The glyph resource of the built setup program, checked against Unifont itself.
#include "glyphtext/glyph_font.h"
#include "install/payload_store.h"
#include "support/test_paths.h"
#include "support/glyph_reference.h"
#include <gtest/gtest.h>
#include <stdio.h>
#include <stdlib.h>
#include <map>
#include <vector>

typedef std::vector<unsigned> GlyphRows;   // 16 rows, bit 15 the leftmost pixel, 1 = ink

class GlyphResource : public ::testing::Test {
protected:
    static std::vector<unsigned char> sheets;
    static std::vector<unsigned char> stream;
    static std::map<unsigned, GlyphRows> unifont;

    static void SetUpTestSuite()
    {
        HMODULE setup = LoadSetupAsData();
        ASSERT_TRUE(setup);
        HRSRC entry = FindResourceA(setup, MAKEINTRESOURCEA(GlyphResourceId), "TEXT");
        ASSERT_TRUE(entry);
        const unsigned char *bytes = (const unsigned char *)LockResource(LoadResource(setup, entry));
        stream.assign(bytes, bytes + SizeofResource(setup, entry));
        sheets.resize(307200);
        unsigned long length = sheets.size();
        ASSERT_EQ(1, InflatePayloadEntry(setup, GlyphResourceId, sheets.data(), &length));
        sheets.resize(length);
        FreeLibrary(setup);
        ReadUnifont();
    }

    static void ReadUnifont()
    {
        FILE *hex = fopen(UnifontHexPath().c_str(), "r");
        ASSERT_TRUE(hex) << "cannot read " << UnifontHexPath();
        char line[128];
        while (fgets(line, sizeof(line), hex)) {
            char *colon = strchr(line, ':');
            if (!colon)
                continue;
            unsigned code = strtoul(line, 0, 16);
            std::string digits(colon + 1);
            while (!digits.empty() && (digits.back() == '\n' || digits.back() == '\r'))
                digits.pop_back();
            GlyphRows rows(16);
            int wide = digits.size() == 64;
            int perRow = wide ? 4 : 2;
            for (int r = 0; r < 16; r++) {
                unsigned bits = strtoul(digits.substr(r * perRow, perRow).c_str(), 0, 16);
                rows[r] = wide ? bits : bits << 4;   // narrow glyphs stand centred
            }
            unifont[code] = rows;
        }
        fclose(hex);
    }

    // The cell as the font's layout places the code, not as the program looks it up.
    static GlyphRows CellInk(unsigned code)
    {
        GlyphCell cell = ReferenceGlyphCell(code);
        return CellInkAt(cell.sheet, cell.x, cell.y);
    }

    static GlyphRows CellInkAt(int sheet, int x, int y)
    {
        GlyphRows rows(16);
        for (int r = 0; r < 16; r++) {
            const unsigned char *p = &sheets[sheet * GlyphSheetBytes + (y + r) * 64 + x / 8];
            rows[r] = ~(p[0] << 8 | p[1]) & 0xFFFF;
        }
        return rows;
    }

    static GlyphRows UnifontOf(unsigned gb2312Code)
    {
        char bytes[2] = { (char)(gb2312Code >> 8), (char)gb2312Code };
        WCHAR wide[2];
        EXPECT_EQ(1, MultiByteToWideChar(936, MB_ERR_INVALID_CHARS, bytes, 2, wide, 2)) << std::hex << gb2312Code;
        return unifont[wide[0]];
    }
};

std::vector<unsigned char> GlyphResource::sheets;
std::vector<unsigned char> GlyphResource::stream;
std::map<unsigned, GlyphRows> GlyphResource::unifont;

TEST_F(GlyphResource, IsOneMaximumCompressionStreamOfFourSheets)
{
    ASSERT_GE(stream.size(), 2u);
    EXPECT_EQ(0x78, stream[0]);
    EXPECT_EQ(0xDA, stream[1]);
    EXPECT_EQ((size_t)GlyphFontBytes, sheets.size());
}

TEST_F(GlyphResource, ReferenceCellsHoldUnifontShapes)
{
    const unsigned codes[] = { 0xA1A2, 0xB0A1, 0xCEC4, 0xD2BB, 0xD6D0, 0xD7F9, 0xD8A1, 0xF7FE,
                               0xC8B7, 0xC8CF, 0xA3C1, 0xA4A2, 0xA5A2, 0xA7A1 };
    for (unsigned code : codes) {
        ASSERT_EQ(UnifontOf(code), CellInk(code)) << std::hex << code;
        int ink = 0;
        for (unsigned row : CellInk(code))
            for (; row; row &= row - 1)
                ink++;
        EXPECT_GT(ink, 4) << std::hex << code;
    }
}

TEST_F(GlyphResource, NarrowGlyphsStandCentredInTheirCell)
{
    // 0xA1E3 is the degree sign, eight pixels wide in Unifont.
    GlyphRows ink = CellInk(0xA1E3);
    ASSERT_EQ(UnifontOf(0xA1E3), ink);
    for (unsigned row : ink)
        EXPECT_EQ(0u, row & 0xF00F);
}

TEST_F(GlyphResource, StoredRowSixHoldsTheBoxDrawingOfRowNine)
{
    for (unsigned column = 0xA4; column <= 0xEF; column++)
        ASSERT_EQ(UnifontOf(0xA900 | column), CellInk(0xA600 | column)) << std::hex << column;
}

TEST_F(GlyphResource, ExtraHanziAndBarCells)
{
    EXPECT_EQ(unifont[0x9555], CellInk(0xE946));
    GlyphRows bar = CellInk(0xA9A4);
    for (int r = 0; r < 16; r++)
        EXPECT_EQ(r == 9 || r == 10 ? 0xFFFFu : 0u, bar[r]) << "pixel row " << r;
}

TEST_F(GlyphResource, UnassignedCellsAreBlank)
{
    GlyphRows blank(16, 0);
    EXPECT_EQ(blank, CellInk(0xA2A1));   // unassigned in GB2312
    EXPECT_EQ(blank, CellInk(0xD7FA));
    EXPECT_EQ(blank, CellInk(0xF8A1));   // past the last stored row
    for (int cell = 7426; cell < 7552; cell++) {
        if (cell == 7456 || cell == 7457)
            continue;
        int row = cell / 32;
        ASSERT_EQ(blank, CellInkAt(row / 59, cell % 32 * 16, row % 59 * 16)) << "cell " << cell;
    }
}
