// The test runs' Wine offers no font with Chinese, Japanese or Korean
// characters, so every picture the tests take shows what a user without those
// fonts sees. ctest runs this program under each LANG the rendering tests use.
#include <gtest/gtest.h>
#include <windows.h>

static int CALLBACK CountFont(const LOGFONTA *, const TEXTMETRICA *, DWORD, LPARAM counter)
{
    ++*(int *)counter;
    return 1;
}

static int FontsWithCharset(BYTE charset)
{
    LOGFONTA wanted;
    ZeroMemory(&wanted, sizeof(wanted));
    wanted.lfCharSet = charset;
    HDC screen = GetDC(0);
    int count = 0;
    EnumFontFamiliesExA(screen, &wanted, CountFont, (LPARAM)&count, 0);
    ReleaseDC(0, screen);
    return count;
}

TEST(TestFonts, OfferNoChineseJapaneseOrKoreanFont)
{
    ASSERT_GT(FontsWithCharset(ANSI_CHARSET), 0) << "the enumeration itself finds nothing";
    EXPECT_EQ(0, FontsWithCharset(GB2312_CHARSET));
    EXPECT_EQ(0, FontsWithCharset(CHINESEBIG5_CHARSET));
    EXPECT_EQ(0, FontsWithCharset(SHIFTJIS_CHARSET));
    EXPECT_EQ(0, FontsWithCharset(HANGEUL_CHARSET));
}
