// What start-up learns about the system, and where it thinks it was started from.
#include "startup/system_probe.h"
#include "startup/setup_dir.h"
#include "startup/shared_state.h"
#include <gtest/gtest.h>
#include <string.h>

TEST(ChineseVariant, FollowsTheSubLanguageOnMultiByteSystems)
{
    EXPECT_EQ(1, ChineseVariantOf(1, 0x0804));   // PRC
    EXPECT_EQ(1, ChineseVariantOf(1, 0x1004));   // Singapore
    EXPECT_EQ(2, ChineseVariantOf(1, 0x0404));   // Taiwan
    EXPECT_EQ(2, ChineseVariantOf(1, 0x0C04));   // Hong Kong
    EXPECT_EQ(2, ChineseVariantOf(1, 0x1404));   // Macau
}

TEST(ChineseVariant, IsNoneOnSingleByteOrOtherLanguageSystems)
{
    EXPECT_EQ(0, ChineseVariantOf(0, 0x0C04));
    EXPECT_EQ(0, ChineseVariantOf(0, 0x0804));
    EXPECT_EQ(0, ChineseVariantOf(1, 0x0409));   // English on a double-byte code page
    EXPECT_EQ(0, ChineseVariantOf(1, 0x0411));   // Japanese
    EXPECT_EQ(0, ChineseVariantOf(1, 0x0412));   // Korean
}

static std::string SetupDirOf(const char *modulePath)
{
    char dir[MAX_PATH];
    memset(dir, 'x', sizeof(dir));
    SetupDirFromModulePath(modulePath, dir, sizeof(dir));
    return dir;
}

TEST(SetupDir, KeepsTheLastBackslash)
{
    EXPECT_EQ("C:\\dist\\", SetupDirOf("C:\\dist\\setup.exe"));
    EXPECT_EQ("C:\\", SetupDirOf("C:\\setup.exe"));
    EXPECT_EQ("\\\\server\\share\\", SetupDirOf("\\\\server\\share\\setup.exe"));
}

TEST(SetupDir, PathWithoutBackslashFallsBackToDriveA)
{
    EXPECT_EQ("A:\\", SetupDirOf("setup.exe"));
    EXPECT_EQ("A:\\", SetupDirOf(""));
}

TEST(SetupDir, NeverWritesPastTheBuffer)
{
    char dir[8];
    memset(dir, 'x', sizeof(dir));
    char guard = dir[7];
    SetupDirFromModulePath("C:\\a_long_folder\\setup.exe", dir, 7);
    EXPECT_EQ(guard, dir[7]);
    EXPECT_EQ(6u, strlen(dir));
}

TEST(SetupDir, RecordsTheRunningProgramsFolder)
{
    ASSERT_EQ(1, RecordSetupDir());
    char module[MAX_PATH];
    GetModuleFileNameA(0, module, sizeof(module));
    size_t length = strlen(SetupDir);
    ASSERT_GT(length, 0u);
    EXPECT_EQ('\\', SetupDir[length - 1]);
    EXPECT_EQ(0, strncmp(module, SetupDir, length));
    EXPECT_EQ(nullptr, strchr(module + length, '\\'));
}

TEST(WindowsVersion, WineReportsAnNtPlatformOfAModernVersion)
{
    IsNtPlatform = IsMajorVersion3 = -1;
    ASSERT_EQ(1, ProbeWindowsVersion());
    EXPECT_EQ(1, IsNtPlatform);
    EXPECT_EQ(0, IsMajorVersion3);
}
