// What start-up learns about the system, and where it thinks it was started from.
#include "startup/system_probe.h"
#include "startup/setup_dir.h"
#include "startup/program_name.h"
#include "startup/shared_state.h"
#include "support/import_patch.h"
#include <gtest/gtest.h>
#include <string.h>
#include <string>

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

// A folder part exactly as long as the buffer: the text is cut one byte short
// so that its terminator still fits, and the byte after the buffer is untouched.
TEST(SetupDir, FolderExactlyAsLongAsTheBufferStaysInside)
{
    char dir[12];
    memset(dir, 'x', sizeof(dir));
    SetupDirFromModulePath("C:\\abcdef\\setup.exe", dir, 10);   // the folder "C:\abcdef\" is 10 bytes
    EXPECT_EQ('x', dir[10]);
    EXPECT_EQ('x', dir[11]);
    EXPECT_EQ("C:\\abcdef", std::string(dir));
}

// The module path as GetModuleFileNameA gives it; a path that fills the whole
// buffer comes back cut, without a terminator, and its length equals the size.
static std::string FakeModulePath;

static DWORD WINAPI FakeGetModuleFileNameA(HMODULE, LPSTR buffer, DWORD size)
{
    DWORD length = (DWORD)FakeModulePath.size();
    if (length < size) {
        memcpy(buffer, FakeModulePath.c_str(), length + 1);
        return length;
    }
    memcpy(buffer, FakeModulePath.data(), size);
    return size;
}

static std::string RecordedSetupDirFor(const std::string &modulePath)
{
    FakeModulePath = modulePath;
    void *real = ReplaceImport("kernel32.dll", "GetModuleFileNameA", (void *)FakeGetModuleFileNameA);
    EXPECT_TRUE(real);
    strcpy(SetupDir, "unchanged");
    RecordSetupDir();
    ReplaceImport("kernel32.dll", "GetModuleFileNameA", real);
    return SetupDir;
}

TEST(SetupDir, ModulePathThatFillsTheBufferIsNotTrusted)
{
    // 259 characters and the terminator fit the 260-byte buffer.
    std::string folder = "C:\\" + std::string(MAX_PATH - 1 - 4 - 9, 'f') + "\\";
    std::string fits = folder + "setup.exe";
    ASSERT_EQ((size_t)MAX_PATH - 1, fits.size());
    EXPECT_EQ(folder, RecordedSetupDirFor(fits));
    // One more character and the path is cut: no folder can be trusted.
    std::string cut = folder + "setup1.exe";
    ASSERT_EQ((size_t)MAX_PATH, cut.size());
    EXPECT_EQ("A:\\", RecordedSetupDirFor(cut));
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

// What the version query is asked with, and what it answers.
static DWORD AskedVersionSize;
static OSVERSIONINFOA FakeVersion;
static BOOL FakeVersionResult;

static BOOL WINAPI FakeGetVersionExA(OSVERSIONINFOA *version)
{
    AskedVersionSize = version->dwOSVersionInfoSize;
    if (!FakeVersionResult)
        return FALSE;
    version->dwMajorVersion = FakeVersion.dwMajorVersion;
    version->dwPlatformId = FakeVersion.dwPlatformId;
    return TRUE;
}

static int ProbeWithVersion(BOOL result, DWORD platform, DWORD major)
{
    FakeVersionResult = result;
    FakeVersion.dwPlatformId = platform;
    FakeVersion.dwMajorVersion = major;
    AskedVersionSize = 0;
    void *real = ReplaceImport("kernel32.dll", "GetVersionExA", (void *)FakeGetVersionExA);
    EXPECT_TRUE(real);
    int probed = ProbeWindowsVersion();
    ReplaceImport("kernel32.dll", "GetVersionExA", real);
    return probed;
}

// 148 bytes is the plain OSVERSIONINFOA; a larger size would let the system
// write past the structure, a smaller one makes every system refuse.
TEST(WindowsVersion, QueryIsAskedWithThe148ByteStructure)
{
    IsNtPlatform = IsMajorVersion3 = 0;
    ASSERT_EQ(1, ProbeWithVersion(TRUE, 2, 6));
    EXPECT_EQ(148u, AskedVersionSize);
    EXPECT_EQ(1, IsNtPlatform);
    EXPECT_EQ(0, IsMajorVersion3);
}

TEST(WindowsVersion, FlagsFollowThePlatformAndTheMajorVersion)
{
    ASSERT_EQ(1, ProbeWithVersion(TRUE, 1, 4));     // Windows 95
    EXPECT_EQ(0, IsNtPlatform);
    EXPECT_EQ(0, IsMajorVersion3);
    ASSERT_EQ(1, ProbeWithVersion(TRUE, 2, 3));     // NT 3.51
    EXPECT_EQ(1, IsNtPlatform);
    EXPECT_EQ(1, IsMajorVersion3);
    ASSERT_EQ(1, ProbeWithVersion(TRUE, 0, 3));     // Win32s on Windows 3.1
    EXPECT_EQ(0, IsNtPlatform);
    EXPECT_EQ(1, IsMajorVersion3);
}

TEST(WindowsVersion, FailedQueryLeavesBothFlagsZero)
{
    IsNtPlatform = IsMajorVersion3 = 0;
    EXPECT_EQ(0, ProbeWithVersion(FALSE, 2, 3));
    EXPECT_EQ(0, IsNtPlatform);
    EXPECT_EQ(0, IsMajorVersion3);
}

TEST(WindowsVersion, WineReportsAnNtPlatformOfAModernVersion)
{
    IsNtPlatform = IsMajorVersion3 = -1;
    ASSERT_EQ(1, ProbeWindowsVersion());
    EXPECT_EQ(1, IsNtPlatform);
    EXPECT_EQ(0, IsMajorVersion3);
}

// The command line started quoted or not, and the arguments read from it; the names hold
// Latin-1 (Téléchargements), GB2312 (下载 软件) and Big5 (軟體 功能, 功 ending in 0x5C) bytes.
struct NameSkip {
    const char *commandLine;
    const char *arguments;
};
static const NameSkip NameSkips[] = {
    { "C:\\T\xE9l\xE9" "chargements\\setup.exe /S", "/S" },
    { "\"C:\\T\xE9l\xE9" "chargements\\setup.exe\" /S /NOICON", "/S /NOICON" },
    { "C:\\T\xE9l\xE9" "chargements\\setup.exe", "" },
    { "D:\\\xCF\xC2\xD4\xD8\\setup.exe\t/LANG=SC", "/LANG=SC" },
    { "\"D:\\\xCF\xC2\xD4\xD8 \xC8\xED\xBC\xFE\\setup.exe\"  /S", "/S" },
    { "E:\\\xB3\x6E\xC5\xE9\\\xA5\x5C\\setup.exe /S /D=E:\\\xA5\x5C", "/S /D=E:\\\xA5\x5C" },
    { "\"E:\\\xA5\x5C \xAF\xE0\\setup.exe\"/?", "/?" },
    { "\"E:\\\xA5\x5C\\setup.exe", "" },
    { "", "" },
};

TEST(ProgramName, IsSkippedByWholeCharactersQuotedOrNot)
{
    for (const NameSkip &row : NameSkips)
        EXPECT_STREQ(row.arguments, SkipProgramName(row.commandLine)) << row.commandLine;
}
