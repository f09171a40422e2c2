// The sample line: GB2312 text drawn with the system's own fonts, so that the
// user can judge whether the system itself displays Chinese.
#include "glyphtext/mixed_text.h"
#include "startup/shared_state.h"

const UINT SimplifiedChineseCodePage = 936;

WCHAR WideTextBuffer[SampleTextMaxUnits];

void DrawSystemChineseText(HDC dc, int x, int y, const char *text, int length)
{
    if (IsNtPlatform) {
        TextOutA(dc, x, y, text, length);
        return;
    }
    int units = MultiByteToWideChar(SimplifiedChineseCodePage, 0, text, length,
                                    WideTextBuffer, SampleTextMaxUnits);
    if (units > 0)
        TextOutW(dc, x, y, WideTextBuffer, units);
}

// A fixed-pitch "Courier New" with the GB2312 character set: the font mapper
// then picks whatever Chinese font the system has.
int CreateSampleFont()
{
    LOGFONTA font;
    ZeroMemory(&font, sizeof(font));
    GetObjectA(GetStockObject(SYSTEM_FONT), sizeof(font), &font);
    lstrcpynA(font.lfFaceName, "Courier New", LF_FACESIZE);
    font.lfHeight = 16;
    font.lfWidth = 8;
    font.lfWeight = FW_NORMAL;
    font.lfPitchAndFamily = FF_MODERN | FIXED_PITCH;
    font.lfCharSet = GB2312_CHARSET;
    SampleFont = CreateFontIndirectA(&font);
    return 1;
}
