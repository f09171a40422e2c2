// The desktop and programs folders: asked of Wine's shell, and built by hand
// from a Windows directory and user name the test chooses.
#include "shell/special_folder.h"
#include "startup/shared_state.h"
#include "startup/system_functions.h"
#include <gtest/gtest.h>
#include <shlobj.h>
#include <stdlib.h>
#include <string.h>
#include <string>

const int OtherFolderKind = CSIDL_FONTS;

static std::string TestWindowsDir;
static int UserNameFails;

static UINT WINAPI TestWindowsDirectory(LPSTR buffer, UINT capacity)
{
    if (TestWindowsDir.size() >= capacity)
        return (UINT)TestWindowsDir.size() + 1;     // the size it would need
    strcpy(buffer, TestWindowsDir.c_str());
    return (UINT)TestWindowsDir.size();
}

static BOOL WINAPI TestUserName(LPSTR buffer, LPDWORD capacity)
{
    if (UserNameFails)
        return FALSE;
    lstrcpynA(buffer, "Mei Lin", *capacity);
    return TRUE;
}

// The hand-built folders, on a shell as NT 3.51's: without its folder functions.
class LegacyFolder : public ::testing::Test {
protected:
    void SetUp() override
    {
        FindSystemFunctions();
        savedGetMalloc = ShellGetMalloc;
        savedGetLocation = ShellGetSpecialFolderLocation;
        savedGetPath = ShellGetPathFromIDList;
        ShellGetMalloc = 0;
        ShellGetSpecialFolderLocation = 0;
        ShellGetPathFromIDList = 0;
        QueryWindowsDirectory = TestWindowsDirectory;
        QueryUserName = TestUserName;
        TestWindowsDir = "C:\\WINNT";
        UserNameFails = 0;
        IsMajorVersion3 = 1;
        IsNtPlatform = 0;
    }
    void TearDown() override
    {
        QueryWindowsDirectory = GetWindowsDirectoryA;
        QueryUserName = GetUserNameA;
        IsMajorVersion3 = 0;
        IsNtPlatform = 0;
        ShellGetMalloc = savedGetMalloc;
        ShellGetSpecialFolderLocation = savedGetLocation;
        ShellGetPathFromIDList = savedGetPath;
    }
    HRESULT (WINAPI *savedGetMalloc)(IMalloc **);
    HRESULT (WINAPI *savedGetLocation)(HWND, int, LPITEMIDLIST *);
    BOOL (WINAPI *savedGetPath)(LPCITEMIDLIST, LPSTR);

    std::string Lookup(int kind, int expectedResult = 1)
    {
        char path[PathBufferBytes] = "untouched";
        EXPECT_EQ(expectedResult, GetSpecialFolderPath(path, kind)) << "kind " << kind;
        return path;
    }
};

TEST_F(LegacyFolder, PathsForBothPlatforms)
{
    IsNtPlatform = 0;
    EXPECT_EQ("C:\\WINNT\\Desktop", Lookup(CSIDL_DESKTOP));
    EXPECT_EQ("C:\\WINNT\\start menu\\programs", Lookup(CSIDL_PROGRAMS));
    IsNtPlatform = 1;
    EXPECT_EQ("C:\\WINNT\\profiles\\Mei Lin\\Desktop", Lookup(CSIDL_DESKTOP));
    EXPECT_EQ("C:\\WINNT\\profiles\\Mei Lin\\start menu\\programs", Lookup(CSIDL_PROGRAMS));
    IsMajorVersion3 = 0;    // a shell without the folder functions is not asked on any version
    EXPECT_EQ("C:\\WINNT\\profiles\\Mei Lin\\Desktop", Lookup(CSIDL_DESKTOP));
}

TEST_F(LegacyFolder, DriveRootGetsNoSecondBackslash)
{
    TestWindowsDir = "D:\\";
    EXPECT_EQ("D:\\Desktop", Lookup(CSIDL_DESKTOP));
    IsNtPlatform = 1;
    EXPECT_EQ("D:\\profiles\\Mei Lin\\start menu\\programs", Lookup(CSIDL_PROGRAMS));
}

TEST_F(LegacyFolder, FailingUserNameFailsOnlyOnTheNtPlatform)
{
    UserNameFails = 1;
    IsNtPlatform = 1;
    Lookup(CSIDL_PROGRAMS, 0);
    Lookup(CSIDL_DESKTOP, 0);
    IsNtPlatform = 0;
    EXPECT_EQ("C:\\WINNT\\Desktop", Lookup(CSIDL_DESKTOP));
}

TEST_F(LegacyFolder, OtherKindGivesTheFolderWithItsBackslash)
{
    EXPECT_EQ("C:\\WINNT\\", Lookup(OtherFolderKind));
    IsNtPlatform = 1;
    EXPECT_EQ("C:\\WINNT\\profiles\\Mei Lin\\", Lookup(OtherFolderKind));
}

TEST_F(LegacyFolder, PathThatWouldNotFitFailsWithinItsBuffer)
{
    // 240 + "\profiles\Mei Lin\start menu\programs" is over 260 bytes.
    TestWindowsDir = "C:\\" + std::string(237, 'w');
    IsNtPlatform = 1;
    char buffer[PathBufferBytes + 16];
    memset(buffer, '#', sizeof(buffer));
    EXPECT_EQ(0, GetSpecialFolderPath(buffer, CSIDL_PROGRAMS));
    EXPECT_EQ(std::string(16, '#'), std::string(buffer + PathBufferBytes, 16));

    TestWindowsDir = "C:\\" + std::string(300, 'w');   // the directory alone is too long
    Lookup(CSIDL_DESKTOP, 0);
    TestWindowsDir = "";                                // the directory cannot be read
    Lookup(CSIDL_DESKTOP, 0);
}

static std::string Environment(const char *name)
{
    char value[PathBufferBytes] = "";
    GetEnvironmentVariableA(name, value, sizeof(value));
    return value;
}

// With both start-up flags 0 (also what a failed version probe leaves) the shell is asked.
TEST(ShellFolder, WineShellGivesTheUsersFolders)
{
    FindSystemFunctions();
    IsMajorVersion3 = 0;
    IsNtPlatform = 0;
    char path[PathBufferBytes];
    ASSERT_EQ(1, GetSpecialFolderPath(path, CSIDL_PROGRAMS));
    EXPECT_STREQ((Environment("APPDATA") + "\\Microsoft\\Windows\\Start Menu\\Programs").c_str(), path);
    ASSERT_EQ(1, GetSpecialFolderPath(path, CSIDL_DESKTOP));
    EXPECT_STREQ((Environment("USERPROFILE") + "\\Desktop").c_str(), path);
}
