// The Windows directory the wizard keeps and the destination it proposes, for
// Windows directories on other drives and at a drive root (a Big5 folder is
// tried on its own code page in tests/shell/double_byte_path_test.cpp).
#include "wizard/default_destination.h"
#include <gtest/gtest.h>
#include <windows.h>
#include <string>

struct Settled {
    int usable;
    std::string windowsDir, destination;
};

static Settled Settle(const char *windowsDirectory)
{
    char windowsDir[MAX_PATH], destination[MAX_PATH];
    memset(windowsDir, 'x', sizeof(windowsDir));
    memset(destination, 'x', sizeof(destination));
    Settled s;
    s.usable = SettleWindowsDir(windowsDirectory, "Lumabook", windowsDir, destination);
    s.windowsDir = windowsDir;
    s.destination = destination;
    return s;
}

TEST(DefaultDestination, FollowsTheDriveOfTheWindowsDirectory)
{
    Settled winnt = Settle("D:\\WINNT");
    EXPECT_EQ(1, winnt.usable);
    EXPECT_EQ("D:\\WINNT\\", winnt.windowsDir);
    EXPECT_EQ("D:\\Lumabook", winnt.destination);

    Settled other = Settle("F:\\Windows");
    EXPECT_EQ("F:\\Windows\\", other.windowsDir);
    EXPECT_EQ("F:\\Lumabook", other.destination);
}

TEST(DefaultDestination, KeepsOneTrailingBackslash)
{
    Settled root = Settle("E:\\");
    EXPECT_EQ("E:\\", root.windowsDir);
    EXPECT_EQ("E:\\Lumabook", root.destination);

    EXPECT_EQ("C:\\WINDOWS\\", Settle("C:\\WINDOWS\\").windowsDir);
}

TEST(DefaultDestination, UnusableDirectoryFallsBackToTheUsualOne)
{
    Settled empty = Settle("");
    EXPECT_EQ(0, empty.usable);
    EXPECT_EQ("C:\\WINDOWS\\", empty.windowsDir);
    EXPECT_EQ("C:\\Lumabook", empty.destination);

    // 259 characters leave no room for the backslash in a 260-byte buffer.
    std::string full = "G:\\" + std::string(256, 'w');
    Settled tooLong = Settle(full.c_str());
    EXPECT_EQ(0, tooLong.usable);
    EXPECT_EQ("C:\\WINDOWS\\", tooLong.windowsDir);

    // 258 characters and the backslash just fit.
    std::string fits = "G:\\" + std::string(255, 'w');
    Settled justFits = Settle(fits.c_str());
    EXPECT_EQ(1, justFits.usable);
    EXPECT_EQ(fits + "\\", justFits.windowsDir);
    EXPECT_EQ("G:\\Lumabook", justFits.destination);
}
