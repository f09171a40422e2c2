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

extern WCHAR WideTextBuffer[SampleTextMaxUnits];
