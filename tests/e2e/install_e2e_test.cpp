// The real setup program installs under Wine, driven through its wizard, and the
// disk is checked afterwards: a fresh install, reinstalls that keep or replace
// the word base, a locked main program, a full disk, a damaged optional entry,
// and the shortcut names and shared settings file on Chinese systems.
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

    // Start, walk the wizard, answer the word-base question by keys if it
    // comes, read the final message and press Enter; returns the exit code.
    DWORD Install(const std::string &exe, WizardAnswers answers, MessageKeys wordBaseAnswer = PressEnter)
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
            EXPECT_TRUE(AnswerMessageByKeys(message, wordBaseAnswer)) << "the question would not come to the front";
            WaitUntilWindowGone(message, DriverTimeoutMs);
            message = WaitForMessageWindow(&run, InstallTimeoutMs, &messageTexts);
        }
        if (!message) {
            ADD_FAILURE() << "no final message appeared";
            return 12345;
        }
        EXPECT_TRUE(AnswerMessageByKeys(message, PressEnter)) << "the final message would not come to the front";
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

    EXPECT_EQ(0u, Install(SetupExePath(), answers));

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

// Reinstall over an earlier installation: the question opens on No, so Enter
// alone keeps the user's word base, and so does Esc; the desktop box is
// cleared, so only the Start-menu entry is made.
TEST_F(InstallEndToEnd, ReinstallAnsweredByEnterOrEscKeepsTheWordBaseAndReplacesEverythingElse)
{
    for (MessageKeys keys : { PressEnter, PressEsc }) {
        SCOPED_TRACE(keys == PressEnter ? "Enter" : "Esc");
        if (keys == PressEsc)
            dir += "_esc";      // a second earlier installation, in a folder of its own
        PlaceEarlierInstallation();
        PlaceCacheFiles();
        WizardAnswers answers = DefaultAnswers();
        answers.desktopIcon = 0;
        questions = 0;

        EXPECT_EQ(0u, Install(SetupExePath(), answers, keys));
        EndSetup(&run);

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
}

// Tab takes the focus from No to Yes, and Enter then answers Yes.
TEST_F(InstallEndToEnd, ReinstallAnsweringYesReplacesTheWordBaseWritableAndVisible)
{
    PlaceEarlierInstallation();
    for (const char *name : WordBaseFiles)
        SetFileAttributesA(PathOf(name).c_str(), ReadOnlyAndHidden);

    EXPECT_EQ(0u, Install(SetupExePath(), DefaultAnswers(), PressTabThenEnter));

    EXPECT_EQ(1, questions);
    EXPECT_NE(std::string::npos, messageTexts.find(SuccessText)) << messageTexts;
    EXPECT_EQ("", CompareWithProduct(dir, {"uiprefs.ini"}));   // the word base included, attributes 0
    RemoveShortcuts(EnglishNames);
}

// A running copy of the product holds its main program: everything before it is
// written, then the install stops, and the settings and shortcuts are untouched.
TEST_F(InstallEndToEnd, HeldMainProgramStopsTheInstallBeforeSettingsAndShortcuts)
{
    ASSERT_TRUE(CreateDirectoryA(dir.c_str(), 0));
    ASSERT_TRUE(WriteWholeFile(PathOf("Lumabook.exe"), "running program", 0));
    PlaceCacheFiles();
    HeldFile held;
    ASSERT_TRUE(HoldFileInAnotherProcess(PathOf("Lumabook.exe"), &held));

    DWORD code = Install(SetupExePath(), DefaultAnswers());
    ReleaseHeldFile(&held);

    EXPECT_EQ(0u, code);
    EXPECT_NE(std::string::npos, messageTexts.find(FailureText)) << messageTexts;
    EXPECT_EQ("running program", ReadWholeFile(PathOf("Lumabook.exe")));
    EXPECT_EQ("", CompareWithProduct(dir, {"Lumabook.exe"})) << "rows T1 to T18, the settings file unedited";
    ExpectCacheFilesGone();
    ExpectNoShortcuts(EnglishNames);
}

// The 2 MiB drive X: cannot hold the product: the failure message, and what
// was on the drive before is still there.
TEST_F(InstallEndToEnd, FullDiskFailsAndLeavesTheDrivesOtherFilesAlone)
{
    if (GetFileAttributesA("X:\\") == INVALID_FILE_ATTRIBUTES)
        GTEST_SKIP() << "no small drive X: (the tests run without root)";
    CreateDirectoryA("X:\\earlier", 0);
    std::string earlier(300000, 'e');
    ASSERT_TRUE(WriteWholeFile("X:\\earlier\\notes.bin", earlier, FILE_ATTRIBUTE_READONLY));
    dir = "X:\\Lumabook";
    WizardAnswers answers = DefaultAnswers();
    answers.destination = dir;

    EXPECT_EQ(0u, Install(SetupExePath(), answers));

    EXPECT_NE(std::string::npos, messageTexts.find(FailureText)) << messageTexts;
    EXPECT_EQ(earlier, ReadWholeFile("X:\\earlier\\notes.bin"));
    ExpectNoShortcuts(EnglishNames);
    // The small drive is shared with other tests: give its space back.
    for (const std::string &name : ProductFileNames()) {
        SetFileAttributesA((dir + "\\" + name).c_str(), FILE_ATTRIBUTE_NORMAL);
        DeleteFileA((dir + "\\" + name).c_str());
    }
    RemoveDirectoryA((dir + "\\doc").c_str());
    RemoveDirectoryA(dir.c_str());
    SetFileAttributesA("X:\\earlier\\notes.bin", FILE_ATTRIBUTE_NORMAL);
    DeleteFileA("X:\\earlier\\notes.bin");
    RemoveDirectoryA("X:\\earlier");
}

// A copy of the setup program with one payload entry replaced.
static std::string SetupWithEntry(const std::string &folder, int id, const void *data, DWORD size)
{
    std::string copy = folder + "\\setup.exe";
    EXPECT_TRUE(CopyFileA(SetupExePath().c_str(), copy.c_str(), FALSE));
    HANDLE update = BeginUpdateResourceA(copy.c_str(), FALSE);
    EXPECT_TRUE(update);
    EXPECT_TRUE(UpdateResourceA(update, "TEXT", MAKEINTRESOURCEA(id), MAKELANGID(LANG_NEUTRAL, SUBLANG_NEUTRAL),
                                (void *)data, size));
    EXPECT_TRUE(EndUpdateResourceA(update, FALSE));
    return copy;
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
    std::string exe = SetupWithEntry(MakeScratchDir("e2e_damaged_setup"), 176, damaged, sizeof(damaged));

    EXPECT_EQ(0u, Install(exe, DefaultAnswers()));

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

    EXPECT_EQ(0u, Install(exe, DefaultAnswers()));

    EXPECT_NE(std::string::npos, messageTexts.find(SuccessText)) << messageTexts;
    EXPECT_EQ(shared, ReadWholeFile(windowsCopy));
    EXPECT_EQ("", CompareWithProduct(dir, {"uiprefs.ini"}));
    ExpectShortcuts(TraditionalNames, 1);
    SetFileAttributesA(windowsCopy.c_str(), FILE_ATTRIBUTE_NORMAL);
    DeleteFileA(windowsCopy.c_str());
    RemoveShortcuts(TraditionalNames);
}
