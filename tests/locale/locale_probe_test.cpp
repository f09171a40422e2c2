// The system probe on a real Windows locale; ctest runs this program once per
// LANG and names the variant it expects in LUMABOOK_EXPECTED_VARIANT.
#include "startup/system_probe.h"
#include <gtest/gtest.h>
#include <stdlib.h>

TEST(SystemChineseVariant, MatchesTheLocaleWineRunsIn)
{
    const char *expected = getenv("LUMABOOK_EXPECTED_VARIANT");
    ASSERT_TRUE(expected) << "run through ctest";
    CPINFO info;
    GetCPInfo(CP_ACP, &info);
    EXPECT_EQ(atoi(expected), ProbeSystemChineseVariant())
        << "code page " << GetACP() << ", max char size " << info.MaxCharSize
        << ", language 0x" << std::hex << GetSystemDefaultLangID();
}
