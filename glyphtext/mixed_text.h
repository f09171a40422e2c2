// Measuring and drawing mixed ASCII/GB2312 strings, and the system-font sample line.
#pragma once
#include <windows.h>

const int GlyphTextHeight = 16;
const int SampleTextMaxUnits = 600;

SIZE MeasureMixedText(HDC dc, const char *text);
SIZE DrawMixedText(HDC dc, int x, int y, const char *text, int highlight);
void DrawSystemChineseText(HDC dc, int x, int y, const char *text, int length);
int CreateSampleFont();
// Copies at most maxBytes bytes of a mixed string and the terminating zero,
// never ending inside a two-byte character; returns the bytes copied.
int CopyMixedText(char *destination, const char *source, int maxBytes);

// Texts of several lines, split at line feeds, each line cut to MixedLineBytes
// - 1 bytes: the widest line's width and the lines' height, a line every
// MixedLinePitch pixels; drawn left-aligned at x, one line below the other.
// The pitch leaves room between the glyphs of two lines, which fill their cells.
const int MixedLineBytes = 128;
const int MixedLinePitch = GlyphTextHeight + 4;
SIZE MeasureMixedLines(HDC dc, const char *text);
void DrawMixedLines(HDC dc, int x, int y, const char *text);

extern WCHAR WideTextBuffer[SampleTextMaxUnits];
