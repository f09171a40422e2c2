// Measuring and drawing mixed ASCII/GB2312 strings, and the system-font sample line.
#pragma once
#include <windows.h>

const int GlyphTextHeight = 16;
const int SampleTextMaxUnits = 600;

SIZE MeasureMixedText(HDC dc, const char *text);
SIZE DrawMixedText(HDC dc, int x, int y, const char *text, int highlight);
void DrawSystemChineseText(HDC dc, int x, int y, const char *text, int length);
int CreateSampleFont();

extern WCHAR WideTextBuffer[SampleTextMaxUnits];
