// A 32-bit memory canvas whose pixels a test can read directly.
#include "support/dib_canvas.h"

int CreateDibCanvas(DibCanvas *canvas, int width, int height)
{
    BITMAPINFO info;
    ZeroMemory(&info, sizeof(info));
    info.bmiHeader.biSize = sizeof(info.bmiHeader);
    info.bmiHeader.biWidth = width;
    info.bmiHeader.biHeight = -height;   // top-down
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = 32;
    info.bmiHeader.biCompression = BI_RGB;
    void *bits = 0;
    canvas->dc = CreateCompatibleDC(0);
    canvas->bitmap = CreateDIBSection(canvas->dc, &info, DIB_RGB_COLORS, &bits, 0, 0);
    if (!canvas->dc || !canvas->bitmap)
        return 0;
    canvas->previous = SelectObject(canvas->dc, canvas->bitmap);
    canvas->pixels = (unsigned *)bits;
    canvas->width = width;
    canvas->height = height;
    return 1;
}

void FillCanvas(DibCanvas *canvas, COLORREF colour)
{
    GdiFlush();
    for (int i = 0; i < canvas->width * canvas->height; i++)
        canvas->pixels[i] = RgbOf(colour);
}

unsigned CanvasPixel(const DibCanvas *canvas, int x, int y)
{
    GdiFlush();
    return canvas->pixels[y * canvas->width + x] & 0xFFFFFF;
}

void DestroyDibCanvas(DibCanvas *canvas)
{
    SelectObject(canvas->dc, canvas->previous);
    DeleteObject(canvas->bitmap);
    DeleteDC(canvas->dc);
}

unsigned RgbOf(COLORREF colour)
{
    return GetRValue(colour) << 16 | GetGValue(colour) << 8 | GetBValue(colour);
}
