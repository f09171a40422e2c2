// The system probe on a real Windows locale; ctest runs this program once per
// LANG and names what it expects in LUMABOOK_EXPECTED_VARIANT and
// LUMABOOK_EXPECTED_MULTIBYTE (Japanese and Korean have a multi-byte code page
// but are not Chinese; English and C have a single-byte one).
#include "startup/system_probe.h"
#include <gtest/gtest.h>
#include <stdlib.h>
#include <sstream>

static int Expected(const char *name)
{
    const char *value = getenv(name);
    return value ? atoi(value) : -1;
}

class SystemProbe : public ::testing::Test {
protected:
    std::string Locale()
    {
        CPINFO info = {};
        GetCPInfo(CP_ACP, &info);
        std::ostringstream text;
        text << "code page " << GetACP() << ", max char size " << info.MaxCharSize
             << ", language 0x" << std::hex << GetSystemDefaultLangID();
        return text.str();
    }
};

TEST_F(SystemProbe, ChineseVariantMatchesTheLocaleWineRunsIn)
{
    ASSERT_NE(-1, Expected("LUMABOOK_EXPECTED_VARIANT")) << "run through ctest";
    EXPECT_EQ(Expected("LUMABOOK_EXPECTED_VARIANT"), ProbeSystemChineseVariant()) << Locale();
}

TEST_F(SystemProbe, MultiByteCodePageMatchesTheLocaleWineRunsIn)
{
    ASSERT_NE(-1, Expected("LUMABOOK_EXPECTED_MULTIBYTE")) << "run through ctest";
    EXPECT_EQ(Expected("LUMABOOK_EXPECTED_MULTIBYTE"), IsMultiByteAnsiCodePage()) << Locale();
}
