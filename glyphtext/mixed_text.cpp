// Measures and draws mixed strings: ASCII through the context's font, every
// two-byte character as a 16 x 16 cell copied from the glyph sheets.
#include "glyphtext/mixed_text.h"
#include "glyphtext/glyph_font.h"
#include "startup/shared_state.h"
#include <string.h>

static int IsLeadByte(unsigned char byte)
{
    return byte >= 0x80;
}

// A failed measurement counts as zero width, here and when drawing.
static int SingleCharWidth(HDC dc, const char *ch)
{
    SIZE extent;
    if (!GetTextExtentPointA(dc, ch, 1, &extent))
        return 0;
    return extent.cx;
}

SIZE MeasureMixedText(HDC dc, const char *text)
{
    SIZE extent = { 0, GlyphTextHeight };
    int length = lstrlenA(text);
    for (int i = 0; i < length; i++) {
        if (IsLeadByte((unsigned char)text[i])) {
            extent.cx += GlyphCellSize;
            i++;    // the second byte is not looked at
        } else {
            extent.cx += SingleCharWidth(dc, text + i);
        }
    }
    return extent;
}

// The out-of-memory message is shown before the sheets exist: its glyphs are
// then left out, and the English line below carries the message.
static void DrawGlyph(HDC dc, int x, int y, unsigned short code, int highlight)
{
    int sheet, cellX, cellY;
    LocateGlyph(code, &sheet, &cellX, &cellY);
    if (!GlyphDCs[sheet])
        return;
    BitBlt(dc, x, y, GlyphCellSize, GlyphCellSize, GlyphDCs[sheet], cellX, cellY,
           highlight ? SRCPAINT : SRCAND);
}

// A lone lead byte at the end pairs with the terminating zero, like any lead byte
// pairs with whatever follows it; the walk then stops at that zero.
SIZE DrawMixedText(HDC dc, int x, int y, const char *text, int highlight)
{
    int previousMode = SetBkMode(dc, TRANSPARENT);
    int pen = x;
    const unsigned char *p = (const unsigned char *)text;
    while (*p) {
        int advance;
        if (IsLeadByte(*p)) {
            DrawGlyph(dc, pen, y, (unsigned short)(p[0] << 8 | p[1]), highlight);
            advance = GlyphCellSize;
            p += p[1] ? 2 : 1;
        } else {
            advance = SingleCharWidth(dc, (const char *)p);
            TextOutA(dc, pen, y + 1, (const char *)p, 1);   // ASCII stands one pixel lower
            p++;
        }
        pen += advance;
    }
    SetBkMode(dc, previousMode);
    SIZE extent = { pen - x, GlyphTextHeight };
    return extent;
}

int CopyMixedText(char *destination, const char *source, int maxBytes)
{
    int length = 0;
    while (source[length]) {
        int size = IsLeadByte((unsigned char)source[length]) && source[length + 1] ? 2 : 1;
        if (length + size > maxBytes)
            break;
        length += size;
    }
    memcpy(destination, source, length);
    destination[length] = 0;
    return length;
}

// One line of a text of several: copied up to its line feed and cut to fit.
// Returns where the next line starts, or 0 after the last one. A line feed
// is never the second byte of a GB2312 character, so the split is safe.
static const char *NextMixedLine(const char *text, char *line)
{
    const char *end = strchr(text, '\n');
    int length = end ? (int)(end - text) : lstrlenA(text);
    char whole[MixedLineBytes];
    int kept = length < MixedLineBytes - 1 ? length : MixedLineBytes - 1;
    memcpy(whole, text, kept);
    whole[kept] = 0;
    CopyMixedText(line, whole, MixedLineBytes - 1);
    return end ? end + 1 : 0;
}

SIZE MeasureMixedLines(HDC dc, const char *text)
{
    SIZE extent = { 0, 0 };
    char line[MixedLineBytes];
    for (const char *p = text; p; ) {
        p = NextMixedLine(p, line);
        SIZE lineExtent = MeasureMixedText(dc, line);
        if (lineExtent.cx > extent.cx)
            extent.cx = lineExtent.cx;
        extent.cy += extent.cy ? MixedLinePitch : GlyphTextHeight;
    }
    return extent;
}

void DrawMixedLines(HDC dc, int x, int y, const char *text)
{
    char line[MixedLineBytes];
    for (const char *p = text; p; y += MixedLinePitch) {
        p = NextMixedLine(p, line);
        DrawMixedText(dc, x, y, line, 0);
    }
}
