// A 32-bit memory canvas whose pixels a test can read directly.
#pragma once
#include <windows.h>

struct DibCanvas {
    HDC dc;
    HBITMAP bitmap;
    HGDIOBJ previous;
    unsigned *pixels;   // 0x00RRGGBB, top row first
    int width, height;
};

int CreateDibCanvas(DibCanvas *canvas, int width, int height);
void FillCanvas(DibCanvas *canvas, COLORREF colour);
unsigned CanvasPixel(const DibCanvas *canvas, int x, int y);
void DestroyDibCanvas(DibCanvas *canvas);
unsigned RgbOf(COLORREF colour);
