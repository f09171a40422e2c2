// What a caption of the program must look like in a captured window: glyph
// cells from Unifont and single-byte text in the dialog's font, placed where
// the drawing rules put them, compared pixel for pixel with the capture.
#include "driver/caption_check.h"
#include "support/dib_canvas.h"
#include "support/png_writer.h"
#include "support/test_paths.h"
#include "support/unifont_glyphs.h"
#include <sstream>
#include <vector>

const int LatinDrop = 1;            // single-byte text stands one pixel below the glyph cells
const int TopLeftBit = 15;

static int IsLeadByte(char c)
{
    return (c & 0x80) != 0;
}

int ExpectedCaptionWidth(HFONT font, const char *text)
{
    HDC dc = CreateCompatibleDC(0);
    HGDIOBJ previous = SelectObject(dc, font);
    int width = 0;
    for (const char *p = text; *p; p++) {
        if (IsLeadByte(*p)) {
            width += GlyphCellSize;
            if (!*++p)
                break;
            continue;
        }
        SIZE extent;
        if (GetTextExtentPointA(dc, p, 1, &extent))
            width += extent.cx;
    }
    SelectObject(dc, previous);
    DeleteDC(dc);
    return width;
}

// One glyph cell, bit by bit: ink takes the text colour, the rest the
// background colour, and each is ANDed or ORed with what the canvas holds.
static void PutGlyph(DibCanvas *canvas, int left, int top, unsigned code, const CaptionLook &look)
{
    GlyphRows rows = UnifontGlyphOfGb2312(code);
    unsigned ink = RgbOf(look.text), back = RgbOf(look.back);
    GdiFlush();
    for (int dy = 0; dy < GlyphCellSize; dy++)
        for (int dx = 0; dx < GlyphCellSize; dx++) {
            int x = left + dx, y = top + dy;
            if (x < 0 || y < 0 || x >= canvas->width || y >= canvas->height)
                continue;
            unsigned source = (rows[dy] >> (TopLeftBit - dx)) & 1 ? ink : back;
            unsigned &pixel = canvas->pixels[y * canvas->width + x];
            pixel = look.ored ? (pixel | source) : (pixel & source);
        }
}

// The caption as it must stand, drawn on a canvas the size of the capture.
static void DrawExpected(DibCanvas *canvas, int x, int y, const char *text, const CaptionLook &look)
{
    HGDIOBJ previousFont = SelectObject(canvas->dc, look.font);
    SetBkMode(canvas->dc, TRANSPARENT);
    SetTextColor(canvas->dc, look.text);
    int pen = x;
    for (const char *p = text; *p; p++) {
        if (IsLeadByte(*p)) {
            unsigned code = (unsigned char)p[0] << 8 | (unsigned char)p[1];
            PutGlyph(canvas, pen, y, code, look);
            pen += GlyphCellSize;
            if (!*++p)
                break;
            continue;
        }
        SIZE extent = { 0, 0 };
        GetTextExtentPointA(canvas->dc, p, 1, &extent);
        TextOutA(canvas->dc, pen, y + LatinDrop, p, 1);
        pen += extent.cx;
    }
    GdiFlush();
    SelectObject(canvas->dc, previousFont);
}

static int GlyphCellsInside(const RECT &clip, int x, int y, const char *text, HFONT font)
{
    if (y < clip.top || y + GlyphCellSize > clip.bottom)
        return 0;
    HDC dc = CreateCompatibleDC(0);
    HGDIOBJ previous = SelectObject(dc, font);
    int pen = x, inside = 1;
    for (const char *p = text; *p; p++) {
        if (IsLeadByte(*p)) {
            inside = inside && pen >= clip.left && pen + GlyphCellSize <= clip.right;
            pen += GlyphCellSize;
            if (!*++p)
                break;
            continue;
        }
        SIZE extent = { 0, 0 };
        GetTextExtentPointA(dc, p, 1, &extent);
        pen += extent.cx;
    }
    SelectObject(dc, previous);
    DeleteDC(dc);
    return inside;
}

static void SaveMismatch(const Capture &capture, const DibCanvas &expected, const char *name)
{
    std::vector<unsigned> pixels(expected.pixels, expected.pixels + expected.width * expected.height);
    for (unsigned &p : pixels)
        p &= 0xFFFFFF;
    WritePng(ArtifactPath((std::string(name) + "_expected.png").c_str()), expected.width, expected.height, pixels);
    WritePng(ArtifactPath((std::string(name) + "_seen.png").c_str()), capture.width, capture.height, capture.pixels);
}

int CaptionShownAt(const Capture &capture, const RECT &clip, int x, int y, const char *text,
                   const CaptionLook &look, const char *name, std::string *failure)
{
    std::ostringstream why;
    if (!GlyphCellsInside(clip, x, y, text, look.font)) {
        why << name << ": a glyph cell at (" << x << ", " << y << ") lies outside the control";
        *failure = why.str();
        return 0;
    }
    DibCanvas expected;
    if (!CreateDibCanvas(&expected, capture.width, capture.height)) {
        *failure = "cannot make a canvas";
        return 0;
    }
    FillCanvas(&expected, look.fill);
    DrawExpected(&expected, x, y, text, look);
    int width = ExpectedCaptionWidth(look.font, text);
    int left = x > clip.left ? x : clip.left, right = x + width < clip.right ? x + width : clip.right;
    int wrong = 0;
    for (int py = y; py < y + GlyphCellSize; py++)
        for (int px = left; px < right; px++) {
            unsigned want = CanvasPixel(&expected, px, py), seen = capture.pixels[py * capture.width + px];
            if (want != seen && wrong++ == 0)
                why << name << ": first wrong pixel at (" << px << ", " << py << ") of the window: " << std::hex
                    << seen << " instead of " << want << std::dec;
        }
    if (wrong) {
        why << "; " << wrong << " wrong pixels in all";
        *failure = why.str();
        SaveMismatch(capture, expected, name);
    }
    DestroyDibCanvas(&expected);
    return wrong == 0;
}

RECT ClientAreaInCapture(HWND window, HWND control)
{
    RECT windowRect, client;
    GetWindowRect(window, &windowRect);
    GetClientRect(control, &client);
    POINT origin = { 0, 0 };
    ClientToScreen(control, &origin);
    RECT r = { origin.x - windowRect.left, origin.y - windowRect.top, 0, 0 };
    r.right = r.left + client.right;
    r.bottom = r.top + client.bottom;
    return r;
}

static INT_PTR CALLBACK QuietDialogProc(HWND, UINT, WPARAM, LPARAM)
{
    return FALSE;
}

// The template's style word: after version, signature, help id and extended
// style in an extended template, first in a plain one.
static DWORD *TemplateStyle(std::vector<unsigned char> &bytes)
{
    const WORD ExtendedSignature = 0xFFFF;
    WORD *words = (WORD *)bytes.data();
    if (words[1] == ExtendedSignature)
        return (DWORD *)(bytes.data() + 12);
    return (DWORD *)bytes.data();
}

HFONT DialogFontOfTemplate(int templateId)
{
    HMODULE setup = LoadSetupAsData();
    if (!setup)
        return 0;
    HRSRC entry = FindResourceA(setup, MAKEINTRESOURCEA(templateId), (LPCSTR)RT_DIALOG);
    HFONT font = 0;
    if (entry) {
        const unsigned char *bytes = (const unsigned char *)LockResource(LoadResource(setup, entry));
        std::vector<unsigned char> copy(bytes, bytes + SizeofResource(setup, entry));
        *TemplateStyle(copy) &= ~WS_VISIBLE;
        HWND dialog = CreateDialogIndirectParamA(setup, (LPCDLGTEMPLATEA)copy.data(), 0, QuietDialogProc, 0);
        if (dialog) {
            // The dialog deletes its font with it, so the test keeps a copy.
            LOGFONTA logical;
            if (GetObjectA((HFONT)SendMessageA(dialog, WM_GETFONT, 0, 0), sizeof(logical), &logical))
                font = CreateFontIndirectA(&logical);
            DestroyWindow(dialog);
        }
    }
    FreeLibrary(setup);
    return font;
}
