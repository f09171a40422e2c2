// Paths cut at their last backslash on the system's code page: on Big5 (950) the
// trail byte of 功 (A5 5C) and 許 (B3 5C) is no backslash, on 1252 it is one.
// ctest runs this program under LANG=zh_TW.UTF-8 and LANG=C and names the code
// page it expects in LUMABOOK_EXPECTED_ACP.
#include "startup/path_text.h"
#include "startup/destination_text.h"
#include "startup/command_line.h"
#include "startup/setup_dir.h"
#include "shell/special_folder.h"
#include "startup/shared_state.h"
#include "wizard/default_destination.h"
#include <gtest/gtest.h>
#include <shlobj.h>
#include <stdlib.h>
#include <string.h>
#include <string>

const UINT Big5CodePage = 950;
const UINT WesternCodePage = 1252;

// Big5 bytes: 成 A6 A8, 功 A5 5C, 許 B3 5C, 可 A5 69.
#define SUCCESS_BIG5 "\xA6\xA8\xA5\x5C"
#define XU_BIG5 "\xB3\x5C"
#define KE_BIG5 "\xA5\x69"

class DoubleBytePath : public ::testing::Test {
protected:
    UINT codePage;
    void SetUp() override
    {
        const char *expected = getenv("LUMABOOK_EXPECTED_ACP");
        ASSERT_TRUE(expected) << "run through ctest";
        codePage = GetACP();
        ASSERT_EQ((UINT)atoi(expected), codePage) << "Wine did not take the locale from LANG";
    }
    int Big5() { return codePage == Big5CodePage; }
};

TEST_F(DoubleBytePath, LastBackslashIsAWholeCharacter)
{
    const char path[] = "C:\\" SUCCESS_BIG5;
    const char *last = FindLastBackslash(path);
    ASSERT_TRUE(last);
    EXPECT_EQ(Big5() ? 2 : 6, (int)(last - path));
    EXPECT_EQ(Big5() ? 0 : 1, EndsWithBackslash(path));
    const char xu[] = XU_BIG5;
    EXPECT_EQ(Big5() ? (const char *)0 : xu + 1, FindLastBackslash(xu));

    char stripped[PathBufferBytes] = "C:\\" SUCCESS_BIG5;
    StripTrailingBackslash(stripped);
    EXPECT_STREQ(Big5() ? "C:\\" SUCCESS_BIG5 : "C:\\\xA6\xA8\xA5", stripped);

    char appended[PathBufferBytes] = "C:\\" SUCCESS_BIG5;
    ASSERT_EQ(1, AppendBackslash(appended, sizeof(appended)));
    EXPECT_STREQ(Big5() ? "C:\\" SUCCESS_BIG5 "\\" : "C:\\" SUCCESS_BIG5, appended);
}

TEST_F(DoubleBytePath, AsciiPathsAreTheSameOnEveryCodePage)
{
    EXPECT_EQ(0, EndsWithBackslash("C:\\Apps"));
    EXPECT_EQ(1, EndsWithBackslash("C:\\"));
    EXPECT_EQ((const char *)0, FindLastBackslash("setup.exe"));
    char full[4] = "C:";
    EXPECT_EQ(1, AppendBackslash(full, sizeof(full)));
    EXPECT_STREQ("C:\\", full);
    char tight[3] = "C:";
    EXPECT_EQ(0, AppendBackslash(tight, sizeof(tight))) << "no room for the backslash and terminator";
    EXPECT_STREQ("C:", tight);
}

// A full path names a drive (letter, colon, backslash) or a server and a share.
// On Big5 the server 成功 ends in the byte of a backslash yet is one name; on
// 1252 that byte ends the server name and leaves the share empty.
TEST_F(DoubleBytePath, FullPathsNameADriveOrAServerAndShare)
{
    struct { const char *path; int full; } cases[] = {
        { "C:\\Lumabook", 1 }, { "z:\\", 1 }, { "\\\\server\\share", 1 }, { "\\\\server\\share\\Lumabook", 1 },
        { "", 0 }, { "Lumabook", 0 }, { "C:Lumabook", 0 }, { "\\Lumabook", 0 }, { "1:\\Lumabook", 0 },
        { "\\\\server", 0 }, { "\\\\server\\", 0 }, { "\\\\\\share", 0 }, { "\\\\?\\C:\\Lumabook", 0 },
        { "\\\\.\\C:\\Lumabook", 0 },
    };
    for (const auto &c : cases)
        EXPECT_EQ(c.full, IsFullPath(c.path)) << c.path;
    EXPECT_EQ(Big5() ? 1 : 0, IsFullPath("\\\\" SUCCESS_BIG5 "\\share"));
    EXPECT_EQ(1, IsShareRoot("\\\\server\\share"));
    EXPECT_EQ(1, IsShareRoot("\\\\server\\share\\"));
    EXPECT_EQ(0, IsShareRoot("\\\\server\\share\\Lumabook"));
    EXPECT_EQ(0, IsShareRoot("C:\\"));
}

// The wizard's field and /D= alike: what is left after the cleaning, and why
// the rest is refused. On Big5 the trailing 功 stays whole; on 1252 its 5C
// byte is a trailing backslash and goes.
TEST_F(DoubleBytePath, DestinationTextIsCleanedAndRefusedByWholeCharacters)
{
    struct { const char *typed; int outcome; const char *cleaned; } cases[] = {
        { "  \"C:\\Lumabook\\ \"  ", DestinationTextClean, "C:\\Lumabook" },
        { "C:\\Lumabook\\\\", DestinationTextClean, "C:\\Lumabook" },
        { "\\\\server\\share\\Lumabook", DestinationTextClean, "\\\\server\\share\\Lumabook" },
        { "C:\\\\", DestinationTextNotFull, "C:" },
        { "\"\"", DestinationTextNotFull, "" },
        { "C:\\Lu\"ma", DestinationTextNotFull, "C:\\Lu\"ma" },
        { "\\\\server\\share\\\\", DestinationTextShareRoot, "\\\\server\\share" },
        { "C:\\Lumabook \\\\", DestinationTextNameEnd, "C:\\Lumabook " },
        { "C:\\Luma \\book", DestinationTextNameEnd, "C:\\Luma \\book" },
        { "C:\\Luma.\\book", DestinationTextNameEnd, "C:\\Luma.\\book" },
        { "C:\\Lumabook /QUIET", DestinationTextNameEnd, "C:\\Lumabook /QUIET" },
    };
    for (const auto &c : cases) {
        char folder[PathBufferBytes];
        lstrcpyA(folder, c.typed);
        EXPECT_EQ(c.outcome, CleanDestinationText(folder)) << c.typed;
        EXPECT_STREQ(c.cleaned, folder) << c.typed;
    }
    char big5[PathBufferBytes] = "C:\\" SUCCESS_BIG5 "\\\\";
    EXPECT_EQ(DestinationTextClean, CleanDestinationText(big5));
    EXPECT_STREQ(Big5() ? "C:\\" SUCCESS_BIG5 : "C:\\\xA6\xA8\xA5", big5);
}

// A refusal names its reason first, then the argument, cut to the reason's
// buffer by whole characters: on Big5 never through a double-byte character.
TEST_F(DoubleBytePath, RefusalReasonComesFirstAndItsArgumentIsCutByWholeCharacters)
{
    static const char LanguageReason[] = "give /LANG= once, as EN, SC or TC: /LANG=";
    for (const char *start : { "", "x" }) {
        std::string arguments = std::string("/S /LANG=") + start;
        for (int i = 0; i < 100; i++)
            arguments += XU_BIG5;
        CommandLine line;
        EXPECT_EQ(0, ParseCommandLine(arguments.c_str(), &line));
        std::string reason = line.Reason;
        std::string expected = std::string(LanguageReason) + start;
        ASSERT_EQ(expected, reason.substr(0, expected.size()));
        size_t room = CommandLineReasonBytes - 1 - expected.size();
        EXPECT_EQ(Big5() ? room - room % 2 : room, reason.size() - expected.size()) << start;
    }
    std::string longLog = "/S /LOG=C:\\" + std::string(300, 'l');
    CommandLine line;
    EXPECT_EQ(0, ParseCommandLine(longLog.c_str(), &line));
    std::string logReason = "/LOG=: the path is longer than 259 bytes: /LOG=C:\\lll";
    EXPECT_EQ(logReason, std::string(line.Reason).substr(0, logReason.size()));
}

TEST_F(DoubleBytePath, SetupDirEndsAtTheRealLastBackslash)
{
    char setupDir[PathBufferBytes];
    EXPECT_EQ(1, SetupDirFromModulePath("C:\\" SUCCESS_BIG5 "\\" XU_BIG5 KE_BIG5 ".exe", setupDir, sizeof(setupDir)));
    EXPECT_STREQ(Big5() ? "C:\\" SUCCESS_BIG5 "\\" : "C:\\" SUCCESS_BIG5 "\\" XU_BIG5, setupDir);

    EXPECT_EQ(Big5() ? 0 : 1, SetupDirFromModulePath(XU_BIG5 ".exe", setupDir, sizeof(setupDir)));
    EXPECT_STREQ(Big5() ? "A:\\" : XU_BIG5, setupDir);
}

static UINT WINAPI Big5WindowsDirectory(LPSTR buffer, UINT capacity)
{
    lstrcpynA(buffer, "C:\\" SUCCESS_BIG5, capacity);
    return (UINT)strlen(buffer);
}

TEST_F(DoubleBytePath, HandBuiltFolderAddsTheBackslashAfterABig5Name)
{
    QueryWindowsDirectory = Big5WindowsDirectory;
    IsMajorVersion3 = 1;
    IsNtPlatform = 0;
    char path[PathBufferBytes];
    int found = GetSpecialFolderPath(path, CSIDL_DESKTOP);
    QueryWindowsDirectory = GetWindowsDirectoryA;
    IsMajorVersion3 = 0;
    ASSERT_EQ(1, found);
    EXPECT_STREQ(Big5() ? "C:\\" SUCCESS_BIG5 "\\Desktop" : "C:\\" SUCCESS_BIG5 "Desktop", path);
}

// The wizard keeps its Windows directory with one trailing backslash: a folder
// ending in 功 needs one on Big5, while on 1252 its last byte already is one.
TEST_F(DoubleBytePath, WindowsDirectoryEndingInATrailByteGetsItsBackslash)
{
    char windowsDir[PathBufferBytes], destination[PathBufferBytes];
    ASSERT_TRUE(SettleWindowsDir("H:\\" SUCCESS_BIG5, "Lumabook", windowsDir, destination));
    EXPECT_STREQ(Big5() ? "H:\\" SUCCESS_BIG5 "\\" : "H:\\" SUCCESS_BIG5, windowsDir);
    EXPECT_STREQ("H:\\Lumabook", destination);
}
