// Where a two-byte code's glyph lies, stated apart from the program's own lookup:
// the cell table by code ranges for GB2312, the font's arithmetic for the rest,
// worked step by step in wide integers so that no 16-bit shortcut is shared.
#include "support/glyph_reference.h"
#include <math.h>

const int CellsPerRow = 32;
const int CellRowsPerSheet = 59;
const int LastSheet = 3;
const int CellSize = 16;

static int IsTrailByte(int byte)
{
    return byte >= 0xA1 && byte <= 0xFE;
}

static long long TruncatedQuotient(long long a, long long b)
{
    return (long long)trunc((double)a / (double)b);
}

static long long Modulo(long long a, long long m)
{
    long long r = a % m;
    return r < 0 ? r + m : r;
}

int ReferenceGlyphCellNumber(unsigned code)
{
    int lead = code >> 8, trail = code & 0xFF;
    if (code == 0xE946)
        return 7456;    // 镕
    if (code == 0xA9A4)
        return 7457;    // the two-pixel bar
    // The table of the font: symbol rows 1-7, then hanzi rows 16-87.
    if (lead >= 0xA1 && lead <= 0xA7 && IsTrailByte(trail))
        return 94 * (lead - 0xA1) + (trail - 0xA1);
    if (lead >= 0xB0 && lead <= 0xF7 && IsTrailByte(trail))
        return 658 + 94 * (lead - 0xB0) + (trail - 0xA1);
    // Everything else goes through the same arithmetic unchanged.
    long long t = Modulo((long long)code - 0xA0A0, 65536);
    long long n = 96 * (t / 256) + t % 256;
    long long k;
    if (code < 0xB0A1) {
        long long d = n - 97;
        k = d - 2 * TruncatedQuotient(d, 96);
    } else {
        long long d = n - 1537;
        k = (n - 879) - 2 * TruncatedQuotient(d, 96);
    }
    return (int)Modulo(k, 65536);
}

GlyphCell ReferenceGlyphCell(unsigned code)
{
    int k = ReferenceGlyphCellNumber(code);
    int row = k / CellsPerRow;
    GlyphCell cell;
    cell.sheet = row / CellRowsPerSheet > LastSheet ? LastSheet : row / CellRowsPerSheet;
    cell.x = CellSize * (k % CellsPerRow);
    cell.y = CellSize * (row % CellRowsPerSheet);
    return cell;
}
