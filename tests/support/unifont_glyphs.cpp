// The shapes of GB2312 characters as GNU Unifont draws them, read from its
// .hex file: what the program's glyph cells must show, known without the program.
#include "support/unifont_glyphs.h"
#include "support/test_paths.h"
#include <gtest/gtest.h>
#include <windows.h>
#include <stdio.h>
#include <stdlib.h>
#include <string.h>
#include <map>
#include <string>

const int GlyphRowCount = 16;
const int WideGlyphDigits = 64;     // 16 x 16: four hex digits a row
const int NarrowGlyphDigits = 32;   // 8 x 16: two hex digits a row
const int NarrowGlyphShift = 4;     // an 8-pixel glyph stands centred in its 16-pixel cell
const UINT SimplifiedChineseCodePage = 936;

static std::map<unsigned, GlyphRows> Glyphs;

static int ParseGlyph(const char *line, unsigned *codePoint, GlyphRows *rows)
{
    const char *colon = strchr(line, ':');
    if (!colon)
        return 0;
    std::string digits(colon + 1);
    while (!digits.empty() && (digits.back() == '\n' || digits.back() == '\r'))
        digits.pop_back();
    int wide = digits.size() == (size_t)WideGlyphDigits;
    if (!wide && digits.size() != (size_t)NarrowGlyphDigits)
        return 0;
    int perRow = wide ? 4 : 2;
    rows->assign(GlyphRowCount, 0);
    for (int r = 0; r < GlyphRowCount; r++) {
        unsigned bits = strtoul(digits.substr(r * perRow, perRow).c_str(), 0, 16);
        (*rows)[r] = wide ? bits : bits << NarrowGlyphShift;
    }
    *codePoint = strtoul(line, 0, 16);
    return 1;
}

int LoadUnifont()
{
    if (!Glyphs.empty())
        return 1;
    std::string path = UnifontHexPath();
    FILE *hex = fopen(path.c_str(), "r");
    if (!hex) {
        ADD_FAILURE() << "cannot read Unifont from " << path;
        return 0;
    }
    char line[160];
    unsigned codePoint;
    GlyphRows rows;
    while (fgets(line, sizeof(line), hex))
        if (ParseGlyph(line, &codePoint, &rows))
            Glyphs[codePoint] = rows;
    fclose(hex);
    return !Glyphs.empty();
}

GlyphRows UnifontGlyph(unsigned codePoint)
{
    std::map<unsigned, GlyphRows>::const_iterator found = Glyphs.find(codePoint);
    return found == Glyphs.end() ? GlyphRows(GlyphRowCount, 0) : found->second;
}

GlyphRows UnifontGlyphOfGb2312(unsigned code)
{
    char bytes[2] = { (char)(code >> 8), (char)code };
    WCHAR wide[2];
    if (MultiByteToWideChar(SimplifiedChineseCodePage, MB_ERR_INVALID_CHARS, bytes, 2, wide, 2) != 1) {
        ADD_FAILURE() << std::hex << code << " is not a GB2312 character";
        return GlyphRows(GlyphRowCount, 0);
    }
    return UnifontGlyph(wide[0]);
}
