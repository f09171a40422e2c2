// The real setup program installs under Wine, driven through its wizard, and the
// disk is checked afterwards: a fresh install, reinstalls that keep or replace
// the word base, a locked main program, a reinstall on a full disk, damaged
// required and optional entries, and the shortcut names and shared settings
// file on Chinese systems.
#include "driver/setup_driver.h"
#include "driver/wizard_walk.h"
#include "support/test_paths.h"
#include "support/held_file.h"
#include "support/install_check.h"
#include "startup/path_text.h"
#include <gtest/gtest.h>
#include <shlobj.h>
#include <stdio.h>
#include <string>
#include <vector>

static const char WizardCaption[] = "Lumabook Installer";
static const char SuccessText[] = "Congratulations! Installation Success!";
static const char FailureText[] = "Installation failed. Please check your system (quit all Zenpo applications) and try again.";
static const char QuestionText[] = "Old CiKu (Word Base) is detected. Replace it with new CiKu?";
const int MessageOk = 1;
const int MessageYes = 6;
const int MessageNo = 7;
static const char *const WordBaseFiles[] = { "wordbase.dat", "phrases_shape.idx", "phrases_pinyin.idx",
                                             "phrases_initials.idx" };

// The shortcut names of each kind of system: group, program link, uninstaller link.
struct ShortcutNames {
    const char *group;
    const char *program;
    const char *uninstaller;
};
static const ShortcutNames EnglishNames = { "Lumabook Writer", "Lumabook Writer", "Lumabook UnInstall" };
static const ShortcutNames SimplifiedNames = { "蓝桥墨文本编辑", "蓝桥墨文本编辑", "蓝桥墨文本编辑卸载" };
// Big5 bytes of 藍橋墨文本編輯 and 藍橋墨文本編輯卸載.
static const ShortcutNames TraditionalNames = {
    "\xC2\xC5\xBE\xF4\xBE\xA5\xA4\xE5\xA5\xBB\xBD\x73\xBF\xE8",
    "\xC2\xC5\xBE\xF4\xBE\xA5\xA4\xE5\xA5\xBB\xBD\x73\xBF\xE8",
    "\xC2\xC5\xBE\xF4\xBE\xA5\xA4\xE5\xA5\xBB\xBD\x73\xBF\xE8\xA8\xF8\xB8\xFC",
};

static std::string SpecialFolder(int kind)
{
    char path[MAX_PATH] = "";
    SHGetSpecialFolderPathA(0, path, kind, FALSE);
    return path;
}

static std::string WindowsDirectory()
{
    char path[MAX_PATH] = "";
    GetWindowsDirectoryA(path, sizeof(path));
    AppendBackslash(path, sizeof(path));
    return path;
}

static void RemoveShortcuts(const ShortcutNames &names)
{
    std::string group = SpecialFolder(CSIDL_PROGRAMS) + "\\" + names.group;
    DeleteFileA((group + "\\" + names.program + ".lnk").c_str());
    DeleteFileA((group + "\\" + names.uninstaller + ".lnk").c_str());
    RemoveDirectoryA(group.c_str());
    DeleteFileA((SpecialFolder(CSIDL_DESKTOPDIRECTORY) + "\\" + names.program + ".lnk").c_str());
}

// The settings file as the edit leaves the payload's copy: the bitmap-font digit
// replaced in place, the language key appended with a blank line before it.
static std::string ExpectedSettings(int displayOk, int language)
{
    std::string settings = ReadWholeFile(ProductDir() + "\\uiprefs.ini");
    size_t key = settings.find("UseBmpFont=");
    if (key != std::string::npos)
        settings[key + 11] = displayOk ? '0' : '1';
    char appended[32];
    snprintf(appended, sizeof(appended), "\r\nForceLanguage=%d\r\n", language);
    return settings + appended;
}

class InstallEndToEnd : public ::testing::Test {
protected:
    SetupRun run;
    std::string dir;
    std::string messageTexts;
    std::string questionTexts;
    int questions = 0;

    void SetUp() override
    {
        ZeroMemory(&run, sizeof(run));
        std::string name = std::string("e2e_") + ::testing::UnitTest::GetInstance()->current_test_info()->name();
        dir = MakeScratchDir(name.c_str()) + "\\Lumabook";
        RemoveShortcuts(EnglishNames);
    }

    void TearDown() override { EndSetup(&run); }

    std::string PathOf(const char *name) { return dir + "\\" + name; }

    // An earlier installation: every product file with its attributes, then the
    // word base and the main program changed so the test can tell old from new.
    void PlaceEarlierInstallation()
    {
        ASSERT_TRUE(CreateDirectoryA(dir.c_str(), 0));
        for (const std::string &name : ProductFileNames())
            ASSERT_TRUE(WriteWholeFile(dir + "\\" + name, ReadWholeFile(ProductDir() + "\\" + name),
                                       ExpectedAttributes(name)));
        ASSERT_TRUE(WriteWholeFile(PathOf("wordbase.dat"), "my words", 0));
        ASSERT_TRUE(WriteWholeFile(PathOf("phrases_shape.idx"), "my shape index", 0));
        ASSERT_TRUE(WriteWholeFile(PathOf("phrases_pinyin.idx"), "\x80 my pinyin index", 0));
        ASSERT_TRUE(WriteWholeFile(PathOf("phrases_initials.idx"), "my initials index", 0));
        ASSERT_TRUE(WriteWholeFile(PathOf("syllables.dic"), "stale table", ReadOnlyAndHidden));
        ASSERT_TRUE(WriteWholeFile(PathOf("Lumabook.exe"), "older program", FILE_ATTRIBUTE_READONLY));
    }

    void PlaceCacheFiles()
    {
        ASSERT_TRUE(WriteWholeFile(PathOf("syllables.dic0101"), "cache", ReadOnlyAndHidden));
        ASSERT_TRUE(WriteWholeFile(PathOf("adjustments.dic"), "cache", ReadOnlyAndHidden));
        ASSERT_TRUE(WriteWholeFile(PathOf("Charlist.dic1111"), "cache", 0));
    }

    void ExpectCacheFilesGone()
    {
        EXPECT_FALSE(FileIsPresent(PathOf("syllables.dic0101")));
        EXPECT_FALSE(FileIsPresent(PathOf("adjustments.dic")));
        EXPECT_FALSE(FileIsPresent(PathOf("Charlist.dic1111")));
    }

    // Start, walk the wizard, answer the word-base question if it comes, read
    // the final message and press OK; returns the exit code.
    DWORD Install(const std::string &exe, WizardAnswers answers, int wordBaseAnswer)
    {
        if (answers.destination.empty())
            answers.destination = dir;
        EXPECT_TRUE(StartSetup(&run, exe)) << exe;
        run.wizard = WaitForProcessWindow(run.process.dwProcessId, WizardCaption, DriverTimeoutMs);
        if (!run.wizard) {
            ADD_FAILURE() << "no wizard window appeared";
            return 12345;
        }
        std::string failure;
        if (!WalkWizardToInstall(&run, answers, "", &failure)) {
            ADD_FAILURE() << failure;
            return 12345;
        }
        HWND message = WaitForMessageWindow(&run, InstallTimeoutMs, &messageTexts);
        if (message && messageTexts.find(QuestionText) != std::string::npos) {
            questions++;
            questionTexts = messageTexts;
            AnswerMessageWindow(message, wordBaseAnswer);
            WaitUntilWindowGone(message, DriverTimeoutMs);
            message = WaitForMessageWindow(&run, InstallTimeoutMs, &messageTexts);
        }
        if (!message) {
            ADD_FAILURE() << "no final message appeared";
            return 12345;
        }
        AnswerMessageWindow(message, MessageOk);
        DWORD code = 12345;
        EXPECT_TRUE(WaitForExit(&run, DriverTimeoutMs, &code)) << "the program did not end after the message";
        return code;
    }

    void ExpectShortcuts(const ShortcutNames &names, int desktopLink)
    {
        std::string group = SpecialFolder(CSIDL_PROGRAMS) + "\\" + names.group;
        EXPECT_TRUE(FileIsPresent(group + "\\" + names.program + ".lnk")) << group;
        EXPECT_TRUE(FileIsPresent(group + "\\" + names.uninstaller + ".lnk")) << group;
        std::string desktop = SpecialFolder(CSIDL_DESKTOPDIRECTORY) + "\\" + names.program + ".lnk";
        EXPECT_EQ(desktopLink, FileIsPresent(desktop)) << desktop;
    }

    void ExpectNoShortcuts(const ShortcutNames &names)
    {
        EXPECT_FALSE(FileIsPresent(SpecialFolder(CSIDL_PROGRAMS) + "\\" + names.group + "\\" + names.program + ".lnk"));
        EXPECT_FALSE(FileIsPresent(SpecialFolder(CSIDL_DESKTOPDIRECTORY) + "\\" + names.program + ".lnk"));
    }
};

// Start, keep the proposed answers but the folder, answer "不正确(NO)" and
// Simplified Chinese, press Install, read the success message, check the disk.
TEST_F(InstallEndToEnd, FreshInstallWritesEveryFileTheSettingsAndTheShortcuts)
{
    std::string sharedCopy = WindowsDirectory() + "SharedSet2.bin";
    ASSERT_TRUE(WriteWholeFile(sharedCopy, "copy from elsewhere", ReadOnlyAndHidden));
    WizardAnswers answers = DefaultAnswers();
    answers.displayOk = 0;
    answers.language = 1;

    EXPECT_EQ(0u, Install(SetupExePath(), answers, MessageNo));

    EXPECT_NE(std::string::npos, messageTexts.find(SuccessText)) << messageTexts;
    EXPECT_EQ(0, questions) << "a fresh install asks nothing";
    EXPECT_EQ("", CompareWithProduct(dir, {"uiprefs.ini"}));
    EXPECT_EQ(ExpectedSettings(0, 1), ReadWholeFile(PathOf("uiprefs.ini")));
    EXPECT_EQ(ReadOnlyAndHidden, InstalledAttributes(PathOf("uiprefs.ini")));
    unsigned long long bytes;
    EXPECT_EQ(ProductFileCount, CountFiles(dir, &bytes));
    ExpectShortcuts(EnglishNames, 1);
    EXPECT_EQ("copy from elsewhere", ReadWholeFile(sharedCopy)) << "no SharedSet2.bin beside the program";
    SetFileAttributesA(sharedCopy.c_str(), FILE_ATTRIBUTE_NORMAL);
    DeleteFileA(sharedCopy.c_str());
    RemoveShortcuts(EnglishNames);
}

// Reinstall over an earlier installation, answer No: the user's word base stays;
// the desktop box is cleared, so only the Start-menu entry is made.
TEST_F(InstallEndToEnd, ReinstallAnsweringNoKeepsTheWordBaseAndReplacesEverythingElse)
{
    PlaceEarlierInstallation();
    PlaceCacheFiles();
    WizardAnswers answers = DefaultAnswers();
    answers.desktopIcon = 0;

    EXPECT_EQ(0u, Install(SetupExePath(), answers, MessageNo));

    EXPECT_EQ(1, questions);
    EXPECT_NE(std::string::npos, messageTexts.find(SuccessText)) << messageTexts;
    EXPECT_EQ("my words", ReadWholeFile(PathOf("wordbase.dat")));
    EXPECT_EQ("my shape index", ReadWholeFile(PathOf("phrases_shape.idx")));
    EXPECT_EQ("\x80 my pinyin index", ReadWholeFile(PathOf("phrases_pinyin.idx")));
    EXPECT_EQ("my initials index", ReadWholeFile(PathOf("phrases_initials.idx")));
    std::vector<std::string> kept(WordBaseFiles, WordBaseFiles + 4);
    kept.push_back("uiprefs.ini");
    EXPECT_EQ("", CompareWithProduct(dir, kept));
    ExpectCacheFilesGone();
    ExpectShortcuts(EnglishNames, 0);
    RemoveShortcuts(EnglishNames);
}

TEST_F(InstallEndToEnd, ReinstallAnsweringYesReplacesTheWordBaseWritableAndVisible)
{
    PlaceEarlierInstallation();
    for (const char *name : WordBaseFiles)
        SetFileAttributesA(PathOf(name).c_str(), ReadOnlyAndHidden);

    EXPECT_EQ(0u, Install(SetupExePath(), DefaultAnswers(), MessageYes));

    EXPECT_EQ(1, questions);
    EXPECT_NE(std::string::npos, messageTexts.find(SuccessText)) << messageTexts;
    EXPECT_EQ("", CompareWithProduct(dir, {"uiprefs.ini"}));   // the word base included, attributes 0
    RemoveShortcuts(EnglishNames);
}

// A running copy of the product holds its main program: everything before it is
// written, then the install stops, the old program stays as it was (its
// attributes too), and the settings and shortcuts are untouched.
TEST_F(InstallEndToEnd, HeldMainProgramStopsTheInstallBeforeSettingsAndShortcuts)
{
    ASSERT_TRUE(CreateDirectoryA(dir.c_str(), 0));
    ASSERT_TRUE(WriteWholeFile(PathOf("Lumabook.exe"), "running program", ReadOnlyAndHidden));
    PlaceCacheFiles();
    HeldFile held;
    ASSERT_TRUE(HoldFileInAnotherProcess(PathOf("Lumabook.exe"), &held));

    DWORD code = Install(SetupExePath(), DefaultAnswers(), MessageNo);
    ReleaseHeldFile(&held);

    EXPECT_EQ(0u, code);
    EXPECT_NE(std::string::npos, messageTexts.find(FailureText)) << messageTexts;
    EXPECT_EQ("running program", ReadWholeFile(PathOf("Lumabook.exe")));
    EXPECT_EQ(ReadOnlyAndHidden, InstalledAttributes(PathOf("Lumabook.exe")));
    EXPECT_EQ("", CompareWithProduct(dir, {"Lumabook.exe"})) << "rows T1 to T18, the settings file unedited";
    ExpectCacheFilesGone();
    ExpectNoShortcuts(EnglishNames);
}

// A snapshot without the lines of these files.
static std::string SnapshotWithout(const std::string &snapshot, const std::vector<std::string> &names)
{
    std::string kept;
    size_t start = 0;
    while (start < snapshot.size()) {
        size_t end = snapshot.find('\n', start) + 1;
        std::string line = snapshot.substr(start, end - start);
        int dropped = 0;
        for (const std::string &name : names)
            dropped |= line.compare(0, name.size() + 1, name + " ") == 0;
        if (!dropped)
            kept += line;
        start = end;
    }
    return kept;
}

// Reinstall over an earlier installation on the 2 MiB drive X:, filled to its
// last byte: the failure message; every file of the earlier installation is
// still there byte for byte with its attributes, and nothing lies beside them.
// Only "syllables.dic" and "charlist.dic" are also stale cache names, deleted
// before the first row by design: each is then absent or the whole new file.
TEST_F(InstallEndToEnd, ReinstallOnAFullDiskLeavesTheEarlierInstallationAsItWas)
{
    if (GetFileAttributesA("X:\\") == INVALID_FILE_ATTRIBUTES)
        GTEST_SKIP() << "no small drive X: (the tests run without root)";
    dir = "X:\\Lumabook";
    ASSERT_TRUE(CreateDirectoryA(dir.c_str(), 0));
    for (const std::string &name : ProductFileNames())
        ASSERT_TRUE(WriteWholeFile(dir + "\\" + name, "earlier " + name, ExpectedAttributes(name)));
    ASSERT_TRUE(FillDiskWithFile("X:\\filler.bin"));
    std::string before = FolderSnapshot(dir);
    WizardAnswers answers = DefaultAnswers();
    answers.destination = dir;

    DWORD code = Install(SetupExePath(), answers, MessageNo);
    DeleteFileA("X:\\filler.bin");

    EXPECT_EQ(0u, code);
    EXPECT_NE(std::string::npos, messageTexts.find(FailureText)) << messageTexts;
    const std::vector<std::string> cacheNames = { "syllables.dic", "charlist.dic" };
    EXPECT_EQ(SnapshotWithout(before, cacheNames), SnapshotWithout(FolderSnapshot(dir), cacheNames));
    for (const std::string &name : cacheNames) {
        if (FileIsPresent(dir + "\\" + name)) {
            EXPECT_EQ(ReadWholeFile(ProductDir() + "\\" + name), ReadWholeFile(dir + "\\" + name)) << name;
        }
    }
    ExpectNoShortcuts(EnglishNames);
    // The small drive is shared with other tests: give its space back.
    for (const std::string &name : ProductFileNames()) {
        SetFileAttributesA((dir + "\\" + name).c_str(), FILE_ATTRIBUTE_NORMAL);
        DeleteFileA((dir + "\\" + name).c_str());
    }
    RemoveDirectoryA(dir.c_str());
}

// The main program's entry, the last required row, damaged in the setup
// program: the failure message, and the folder exactly as it was, the cache
// files and the earlier files included.
TEST_F(InstallEndToEnd, DamagedRequiredEntryFailsBeforeTheDiskChanges)
{
    ASSERT_TRUE(CreateDirectoryA(dir.c_str(), 0));
    ASSERT_TRUE(WriteWholeFile(PathOf("Lumabook.exe"), "older program", FILE_ATTRIBUTE_READONLY));
    ASSERT_TRUE(WriteWholeFile(PathOf("usage_cn.dat"), "older text", ReadOnlyAndHidden));
    PlaceCacheFiles();
    std::string before = FolderSnapshot(dir);
    const char damaged[] = "\x78\xDA this is not a deflate stream";
    std::string exe = CopySetupWithEntry(MakeScratchDir("e2e_damaged_required_setup"), 109, damaged, sizeof(damaged));

    EXPECT_EQ(0u, Install(exe, DefaultAnswers(), MessageNo));

    EXPECT_NE(std::string::npos, messageTexts.find(FailureText)) << messageTexts;
    EXPECT_EQ(before, FolderSnapshot(dir));
    ExpectNoShortcuts(EnglishNames);
}

class InstallOnSimplifiedChineseSystem : public InstallEndToEnd {};
class InstallOnTraditionalChineseSystem : public InstallEndToEnd {};

// Help page ENGINE.HTM (entry 176, optional) damaged: that file is missing, the
// install still succeeds; the shortcuts carry GB2312 names.
TEST_F(InstallOnSimplifiedChineseSystem, DamagedOptionalEntryIsLeftOutAndTheInstallSucceeds)
{
    if (GetACP() != 936)
        GTEST_SKIP() << "runs with LANG=zh_CN.UTF-8";
    RemoveShortcuts(SimplifiedNames);
    const char damaged[] = "\x78\xDA this is not a deflate stream";
    std::string exe = CopySetupWithEntry(MakeScratchDir("e2e_damaged_setup"), 176, damaged, sizeof(damaged));

    EXPECT_EQ(0u, Install(exe, DefaultAnswers(), MessageNo));

    EXPECT_NE(std::string::npos, messageTexts.find(SuccessText)) << messageTexts;
    EXPECT_FALSE(FileIsPresent(PathOf("ENGINE.HTM")));
    EXPECT_EQ("", CompareWithProduct(dir, {"ENGINE.HTM", "uiprefs.ini"}));
    ExpectShortcuts(SimplifiedNames, 1);
    RemoveShortcuts(SimplifiedNames);
}

// The setup program in a folder whose name ends in 功 (Big5 A5 5C, a trail byte
// that looks like a backslash) with SharedSet2.bin beside it: an identical copy
// replaces the read-only hidden one in the Windows directory; the shortcuts carry Big5 names.
TEST_F(InstallOnTraditionalChineseSystem, SharedSettingsBesideABig5FolderAreCopiedIntoWindows)
{
    if (GetACP() != 950)
        GTEST_SKIP() << "runs with LANG=zh_TW.UTF-8";
    RemoveShortcuts(TraditionalNames);
    std::string folder = MakeScratchDir("e2e_setup_\xA5\x5C");
    std::string exe = folder + "\\setup.exe";
    ASSERT_TRUE(CopyFileA(SetupExePath().c_str(), exe.c_str(), FALSE));
    std::string shared("shared control settings\0\x01\x02", 26);
    ASSERT_TRUE(WriteWholeFile(folder + "\\SharedSet2.bin", shared, 0));
    std::string windowsCopy = WindowsDirectory() + "SharedSet2.bin";
    ASSERT_TRUE(WriteWholeFile(windowsCopy, "older copy", ReadOnlyAndHidden));

    EXPECT_EQ(0u, Install(exe, DefaultAnswers(), MessageNo));

    EXPECT_NE(std::string::npos, messageTexts.find(SuccessText)) << messageTexts;
    EXPECT_EQ(shared, ReadWholeFile(windowsCopy));
    EXPECT_EQ("", CompareWithProduct(dir, {"uiprefs.ini"}));
    ExpectShortcuts(TraditionalNames, 1);
    SetFileAttributesA(windowsCopy.c_str(), FILE_ATTRIBUTE_NORMAL);
    DeleteFileA(windowsCopy.c_str());
    RemoveShortcuts(TraditionalNames);
}
