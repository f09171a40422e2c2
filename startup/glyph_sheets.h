// Loading the glyph resource into the four glyph sheets, and freeing them.
#pragma once
#include <windows.h>

enum GlyphLoadResult { GlyphsLoaded = 1, GlyphMemoryShort, GlyphDataDamaged, GlyphSheetsFailed };

int LoadGlyphSheets(HMODULE module);
void FreeGlyphSheets();
