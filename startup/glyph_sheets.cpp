// Loads the glyph resource into four monochrome bitmaps, each selected into a
// memory DC of its own for the whole run, so that drawing a character is one copy.
#include "startup/glyph_sheets.h"
#include "startup/shared_state.h"
#include "startup/startup_steps.h"
#include "glyphtext/glyph_font.h"
#include "install/payload_store.h"
#include <stdlib.h>

const unsigned long GlyphBufferBytes = 307200;

static HBITMAP PreviousBitmaps[GlyphSheetCount];

// The sheet rows are 64 bytes, which already meets the 16-bit row alignment of
// device-dependent monochrome bitmaps, so the bytes go in unchanged.
static int CreateGlyphSheets(const unsigned char *bits)
{
    for (int k = 0; k < GlyphSheetCount; k++) {
        GlyphSheets[k] = CreateBitmap(GlyphSheetWidth, GlyphSheetHeight, 1, 1, bits + k * GlyphSheetBytes);
        if (!GlyphSheets[k])
            return 0;
        GlyphDCs[k] = CreateCompatibleDC(0);
        if (!GlyphDCs[k])
            return 0;
        PreviousBitmaps[k] = (HBITMAP)SelectObject(GlyphDCs[k], GlyphSheets[k]);
    }
    return 1;
}

int LoadGlyphSheets(HMODULE module)
{
    unsigned char *buffer = (unsigned char *)malloc(GlyphBufferBytes);
    if (!buffer)
        return GlyphMemoryShort;
    unsigned long length = GlyphBufferBytes;
    if (!InflatePayloadEntry(module, GlyphResourceId, buffer, &length)) {
        free(buffer);
        return GlyphDataDamaged;
    }
    MarkStartupStep(StepGlyphInflate);
    // A short stream would leave the sheets reading undefined bytes.
    if (length < (unsigned long)GlyphFontBytes) {
        free(buffer);
        return GlyphDataDamaged;
    }
    int created = CreateGlyphSheets(buffer);
    free(buffer);   // the bitmaps own copies of their bits
    if (!created) {
        FreeGlyphSheets();
        return GlyphSheetsFailed;
    }
    MarkStartupStep(StepGlyphSheets);
    return GlyphsLoaded;
}

void FreeGlyphSheets()
{
    for (int k = 0; k < GlyphSheetCount; k++) {
        if (GlyphDCs[k]) {
            SelectObject(GlyphDCs[k], PreviousBitmaps[k]);
            DeleteDC(GlyphDCs[k]);
            GlyphDCs[k] = 0;
        }
        if (GlyphSheets[k]) {
            DeleteObject(GlyphSheets[k]);
            GlyphSheets[k] = 0;
        }
    }
}
