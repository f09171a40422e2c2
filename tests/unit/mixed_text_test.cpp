// Mixed text on a real device context: glyph cells, Latin letters, measuring
// and the two ways a glyph combines with what is already drawn.
#include "glyphtext/mixed_text.h"
#include "glyphtext/glyph_font.h"
#include "wizard/control_names.h"
#include "startup/glyph_sheets.h"
#include "startup/shared_state.h"
#include "support/dib_canvas.h"
#include "support/test_paths.h"
#include "support/png_writer.h"
#include "support/glyph_reference.h"
#include "support/import_patch.h"
#include <gtest/gtest.h>
#include <string.h>

const COLORREF White = RGB(255, 255, 255);
const COLORREF Black = RGB(0, 0, 0);

class MixedText : public ::testing::Test {
protected:
    DibCanvas canvas;

    static void SetUpTestSuite()
    {
        HMODULE setup = LoadSetupAsData();
        ASSERT_TRUE(setup);
        ASSERT_EQ(GlyphsLoaded, LoadGlyphSheets(setup));
        FreeLibrary(setup);
    }

    static void TearDownTestSuite()
    {
        FreeGlyphSheets();
    }

    void SetUp() override
    {
        ASSERT_TRUE(CreateDibCanvas(&canvas, 200, 40));
        FillCanvas(&canvas, White);
        SetTextColor(canvas.dc, Black);
        SetBkColor(canvas.dc, White);
        SelectObject(canvas.dc, GetStockObject(SYSTEM_FONT));
    }

    void TearDown() override
    {
        DestroyDibCanvas(&canvas);
    }

    // The ink of a glyph cell as the sheet holds it, at the cell the font's
    // layout gives for the code (not the program's own lookup).
    static int SheetInk(unsigned code, int dx, int dy)
    {
        GlyphCell cell = ReferenceGlyphCell(code);
        return GetPixel(GlyphDCs[cell.sheet], cell.x + dx, cell.y + dy) == Black;
    }

    void ExpectGlyphAt(unsigned code, int left, int top)
    {
        for (int dy = 0; dy < 16; dy++)
            for (int dx = 0; dx < 16; dx++)
                ASSERT_EQ(SheetInk(code, dx, dy) ? 0u : 0xFFFFFFu, CanvasPixel(&canvas, left + dx, top + dy))
                    << std::hex << code << " at " << std::dec << dx << "," << dy;
    }

    int InkCount(int left, int top, int right, int bottom)
    {
        int ink = 0;
        for (int y = top; y < bottom; y++)
            for (int x = left; x < right; x++)
                ink += CanvasPixel(&canvas, x, y) != 0xFFFFFF;
        return ink;
    }
};

// "确认 OK": the glyphs at x and x + 16, then the blank and the Latin letters
// one pixel lower, from x + 32 on, each placed by its own measured width.
TEST_F(MixedText, CaptionDrawsGlyphCellsThenLatinLettersOnePixelLower)
{
    const int x = 10, y = 5;
    SIZE drawn = DrawMixedText(canvas.dc, x, y, "确认 OK", 0);
    ExpectGlyphAt(0xC8B7, x, y);
    ExpectGlyphAt(0xC8CF, x + 16, y);

    DibCanvas expected;
    ASSERT_TRUE(CreateDibCanvas(&expected, 200, 40));
    FillCanvas(&expected, White);
    SelectObject(expected.dc, GetStockObject(SYSTEM_FONT));
    SetBkMode(expected.dc, TRANSPARENT);
    SIZE blank, o;
    GetTextExtentPointA(expected.dc, " ", 1, &blank);
    GetTextExtentPointA(expected.dc, "O", 1, &o);
    TextOutA(expected.dc, x + 32 + blank.cx, y + 1, "O", 1);
    TextOutA(expected.dc, x + 32 + blank.cx + o.cx, y + 1, "K", 1);
    SIZE k;
    GetTextExtentPointA(expected.dc, "K", 1, &k);
    for (int py = 0; py < 40; py++)
        for (int px = x + 32; px < 200; px++)
            ASSERT_EQ(CanvasPixel(&expected, px, py), CanvasPixel(&canvas, px, py)) << px << "," << py;
    EXPECT_GT(InkCount(x + 32, y + 1, 200, 40), 10);
    EXPECT_EQ(32 + blank.cx + o.cx + k.cx, drawn.cx);
    EXPECT_EQ(16, drawn.cy);
    DestroyDibCanvas(&expected);
}

// A picture of a few captions for people to look at; the size is what the test checks.
TEST_F(MixedText, CaptionsMakeAPictureOfTheirMeasuredWidth)
{
    const char *captions[] = { "下一步 Next", "安装路径： (Install Path)", "以上中文显示正确吗?" };
    DestroyDibCanvas(&canvas);
    ASSERT_TRUE(CreateDibCanvas(&canvas, 300, 60));
    FillCanvas(&canvas, White);
    SelectObject(canvas.dc, GetStockObject(SYSTEM_FONT));
    int y = 2;
    for (const char *caption : captions) {
        SIZE measured = MeasureMixedText(canvas.dc, caption);
        SIZE drawn = DrawMixedText(canvas.dc, 2, y, caption, 0);
        EXPECT_EQ(measured.cx, drawn.cx) << caption;
        EXPECT_GT(InkCount(2, y, 2 + drawn.cx, y + 16), 50) << caption;
        EXPECT_EQ(0, InkCount(2 + drawn.cx + 1, y, 300, y + 16)) << caption;
        y += 19;
    }
    std::vector<unsigned> pixels(canvas.pixels, canvas.pixels + canvas.width * canvas.height);
    WritePng(ArtifactPath("mixed_text.png"), canvas.width, canvas.height, pixels);
}

TEST_F(MixedText, TwoChineseCharactersMeasure32By16WhateverTheFont)
{
    SIZE withSystemFont = MeasureMixedText(canvas.dc, "中文");
    HFONT big = CreateFontA(40, 0, 0, 0, FW_BOLD, 0, 0, 0, ANSI_CHARSET, 0, 0, 0, 0, "Arial");
    HGDIOBJ previous = SelectObject(canvas.dc, big);
    SIZE withBigFont = MeasureMixedText(canvas.dc, "中文");
    SelectObject(canvas.dc, previous);
    DeleteObject(big);
    EXPECT_EQ(32, withSystemFont.cx);
    EXPECT_EQ(16, withSystemFont.cy);
    EXPECT_EQ(32, withBigFont.cx);
    EXPECT_EQ(16, withBigFont.cy);
}

TEST_F(MixedText, LatinLettersMeasureAsTheSumOfSingleExtents)
{
    SIZE w, i;
    GetTextExtentPointA(canvas.dc, "W", 1, &w);
    GetTextExtentPointA(canvas.dc, "i", 1, &i);
    SIZE extent = MeasureMixedText(canvas.dc, "Wi");
    EXPECT_EQ(w.cx + i.cx, extent.cx);
    EXPECT_EQ(16, extent.cy);
}

TEST_F(MixedText, EmptyStringDrawsNothingAndRestoresTheBackgroundMode)
{
    SetBkMode(canvas.dc, OPAQUE);
    SIZE extent = DrawMixedText(canvas.dc, 0, 0, "", 0);
    EXPECT_EQ(0, extent.cx);
    EXPECT_EQ(16, extent.cy);
    EXPECT_EQ(OPAQUE, GetBkMode(canvas.dc));
    EXPECT_EQ(0, InkCount(0, 0, 200, 40));
    SIZE measured = MeasureMixedText(canvas.dc, "");
    EXPECT_EQ(0, measured.cx);
    EXPECT_EQ(16, measured.cy);
}

// The terminating zero serves as the second byte of a lone lead byte.
TEST_F(MixedText, LoneTrailingLeadByteCountsAsOneGlyph)
{
    SIZE a;
    GetTextExtentPointA(canvas.dc, "A", 1, &a);
    EXPECT_EQ(a.cx + 16, MeasureMixedText(canvas.dc, "A\xD6").cx);
    SIZE drawn = DrawMixedText(canvas.dc, 20, 4, "\xD6", 0);
    EXPECT_EQ(16, drawn.cx);
    ExpectGlyphAt(0xD600, 20, 4);
}

// Every byte from 0x80 up starts a two-byte character, 0x80 itself included;
// 0x7F is still a single-byte character.
TEST_F(MixedText, LeadBytesStartAt0x80)
{
    SIZE a, del;
    GetTextExtentPointA(canvas.dc, "A", 1, &a);
    GetTextExtentPointA(canvas.dc, "\x7F", 1, &del);
    EXPECT_EQ(16, MeasureMixedText(canvas.dc, "\x80" "A").cx);
    EXPECT_EQ(16 + a.cx, MeasureMixedText(canvas.dc, "\x80" "AA").cx);
    EXPECT_EQ(del.cx + a.cx, MeasureMixedText(canvas.dc, "\x7F" "A").cx);
    SIZE drawn = DrawMixedText(canvas.dc, 20, 4, "\x80\x40", 0);
    EXPECT_EQ(16, drawn.cx);
    ExpectGlyphAt(0x8040, 20, 4);
}

static BOOL (WINAPI *RealTextExtent)(HDC, LPCSTR, int, LPSIZE);

// Fails for every 'x' and leaves a width there that a careless caller would add.
static BOOL WINAPI TextExtentFailingOnX(HDC dc, LPCSTR text, int count, LPSIZE size)
{
    if (count == 1 && text[0] == 'x') {
        size->cx = 1000;
        size->cy = 1000;
        return FALSE;
    }
    return RealTextExtent(dc, text, count, size);
}

TEST_F(MixedText, FailedSingleCharacterMeasurementAddsNoWidth)
{
    SIZE a;
    GetTextExtentPointA(canvas.dc, "A", 1, &a);
    RealTextExtent = (BOOL (WINAPI *)(HDC, LPCSTR, int, LPSIZE))
        ReplaceImport("gdi32.dll", "GetTextExtentPointA", (void *)TextExtentFailingOnX);
    ASSERT_TRUE(RealTextExtent);
    SIZE chinese = MeasureMixedText(canvas.dc, "x中x");
    SIZE latin = MeasureMixedText(canvas.dc, "AxA");
    ReplaceImport("gdi32.dll", "GetTextExtentPointA", (void *)RealTextExtent);
    EXPECT_EQ(16, chinese.cx);
    EXPECT_EQ(16, chinese.cy);
    EXPECT_EQ(2 * a.cx, latin.cx);
}

TEST_F(MixedText, OpaqueBackgroundModeIsRestoredAfterDrawing)
{
    SetBkMode(canvas.dc, OPAQUE);
    DrawMixedText(canvas.dc, 0, 0, "中 A", 0);
    EXPECT_EQ(OPAQUE, GetBkMode(canvas.dc));
    EXPECT_EQ(RgbOf(Black), RgbOf(GetTextColor(canvas.dc)));
}

// SRCAND keeps a fill under the white cell background and inks in the text colour.
TEST_F(MixedText, PlainGlyphsAreTransparentOnAnyFill)
{
    const COLORREF face = RGB(192, 192, 192);
    FillCanvas(&canvas, face);
    DrawMixedText(canvas.dc, 0, 0, "中", 0);
    for (int dy = 0; dy < 16; dy++)
        for (int dx = 0; dx < 16; dx++)
            ASSERT_EQ(SheetInk(0xD6D0, dx, dy) ? 0u : RgbOf(face), CanvasPixel(&canvas, dx, dy));
}

// SRCPAINT, as for the selected combo item: the background ORs back to the
// selection colour and the ink becomes selection colour OR text colour.
TEST_F(MixedText, HighlightedGlyphsOrIntoTheSelectionColour)
{
    const COLORREF selection = RGB(0, 0, 128);
    FillCanvas(&canvas, selection);
    SetBkColor(canvas.dc, selection);
    SetTextColor(canvas.dc, RGB(255, 255, 255));
    DrawMixedText(canvas.dc, 0, 0, "中", 1);
    for (int dy = 0; dy < 16; dy++)
        for (int dx = 0; dx < 16; dx++)
            ASSERT_EQ(SheetInk(0xD6D0, dx, dy) ? 0xFFFFFFu : RgbOf(selection), CanvasPixel(&canvas, dx, dy));
}

// With SRCAND and a background colour other than white the cell tints the fill.
TEST_F(MixedText, NonWhiteBackgroundColourTintsTheFill)
{
    SetBkColor(canvas.dc, RGB(255, 0, 0));
    DrawMixedText(canvas.dc, 0, 0, "中", 0);
    int sawTint = 0;
    for (int dy = 0; dy < 16; dy++)
        for (int dx = 0; dx < 16; dx++)
            if (!SheetInk(0xD6D0, dx, dy))
                sawTint += CanvasPixel(&canvas, dx, dy) == 0xFF0000;
    EXPECT_GT(sawTint, 100);
}

class SystemText : public ::testing::Test {
protected:
    DibCanvas canvas;
    int savedNt;
    void SetUp() override
    {
        savedNt = IsNtPlatform;
        ASSERT_TRUE(CreateDibCanvas(&canvas, 400, 40));
        FillCanvas(&canvas, RGB(255, 255, 255));
        SelectObject(canvas.dc, GetStockObject(SYSTEM_FONT));
    }
    void TearDown() override
    {
        IsNtPlatform = savedNt;
        DestroyDibCanvas(&canvas);
    }
    int Ink()
    {
        int ink = 0;
        for (int y = 0; y < 40; y++)
            for (int x = 0; x < 400; x++)
                ink += CanvasPixel(&canvas, x, y) != 0xFFFFFF;
        return ink;
    }
};

// "中文" is D6D0 CEC4 in code page 936; from the system's own code page (1252
// here) the same bytes would become four Latin letters.
TEST_F(SystemText, OtherPlatformsConvertFromCodePage936)
{
    IsNtPlatform = 0;
    DrawSystemChineseText(canvas.dc, 3, 2, "中文", 4);
    EXPECT_EQ(0x4E2D, WideTextBuffer[0]);
    EXPECT_EQ(0x6587, WideTextBuffer[1]);

    DibCanvas expected;
    ASSERT_TRUE(CreateDibCanvas(&expected, 400, 40));
    FillCanvas(&expected, RGB(255, 255, 255));
    SelectObject(expected.dc, GetStockObject(SYSTEM_FONT));
    TextOutW(expected.dc, 3, 2, L"\x4E2D\x6587", 2);
    for (int y = 0; y < 40; y++)
        for (int x = 0; x < 400; x++)
            ASSERT_EQ(CanvasPixel(&expected, x, y), CanvasPixel(&canvas, x, y)) << x << "," << y;
    DestroyDibCanvas(&expected);
}

// More than 600 code units do not fit the conversion buffer: nothing is drawn.
TEST_F(SystemText, OverlongTextOnOtherPlatformsDrawsNothing)
{
    IsNtPlatform = 0;
    char text[1201];
    memset(text, 'A', 1200);
    text[1200] = 0;
    DrawSystemChineseText(canvas.dc, 0, 0, text, 1200);
    EXPECT_EQ(0, Ink());
}

TEST_F(SystemText, NtDrawsTheBytesAsTheyAre)
{
    IsNtPlatform = 1;
    DrawSystemChineseText(canvas.dc, 0, 0, "AB", 2);
    EXPECT_GT(Ink(), 0);
}

// Where window texts are ANSI a name keeps its Chinese only where the code page
// shows it (认 has no Big5 code); this run's is 1252. NT takes the wide way.
TEST_F(SystemText, ControlNamesOnOtherPlatformsCarryWhatTheCodePageShows)
{
    const struct { const char *caption; UINT codePage; const char *name; } cases[] = {
        { "下一步 Next", 936, "下一步 Next" }, { "下一步 Next", 950, "\xA4\x55\xA4\x40\xA8\x42 Next" },
        { "确认 OK", 950, "OK" }, { "同意/安装 Agree/Install", 1252, "Agree/Install" }, { "安装程序", 1252, "" },
        { "以上中文显示正确吗 (Is the Above Chinese Display OK)?", 1252, "(Is the Above Chinese Display OK)?" } };
    char name[64];
    for (const auto &c : cases) {
        AnsiNameOf(c.caption, c.codePage, name, sizeof(name));
        EXPECT_STREQ(c.name, name) << c.codePage;
    }
    HWND back = CreateWindowA("BUTTON", "&Back", BS_OWNERDRAW, 0, 0, 50, 20, 0, 0, 0, 0);
    WCHAR wide[64];
    for (int nt : { 0, 1 }) {
        IsNtPlatform = nt;
        NameControl(back, "退一步 Back");
        GetWindowTextW(back, wide, 64);
        EXPECT_STREQ(nt ? L"退一步 &Back" : L"&Back", wide);
    }
    DestroyWindow(back);
}

TEST_F(SystemText, SampleFontIsAFixedPitchGb2312CourierNew)
{
    ASSERT_EQ(1, CreateSampleFont());
    ASSERT_TRUE(SampleFont);
    LOGFONTA font;
    ASSERT_EQ((int)sizeof(font), GetObjectA(SampleFont, sizeof(font), &font));
    EXPECT_STREQ("Courier New", font.lfFaceName);
    EXPECT_EQ(16, font.lfHeight);
    EXPECT_EQ(8, font.lfWidth);
    EXPECT_EQ(400, font.lfWeight);
    EXPECT_EQ(0x31, font.lfPitchAndFamily);
    EXPECT_EQ(134, font.lfCharSet);
    DeleteObject(SampleFont);
    SampleFont = 0;
}
