// The real setup program installs under Wine, driven through its wizard or
// unattended from its command line, and the disk is checked afterwards: a fresh
// install, reinstalls that keep or replace the word base, files held by running
// programs and a full disk found before any change, damaged required and optional entries, the
// shortcut names and shared settings file on Chinese systems, and command lines
// that are refused.
#include "driver/setup_driver.h"
#include "driver/wizard_walk.h"
#include "support/test_paths.h"
#include "support/held_file.h"
#include "support/install_check.h"
#include "startup/path_text.h"
#include "resources/resource_ids.h"
#include <gtest/gtest.h>
#include <shlobj.h>
#include <stdio.h>
#include <string.h>
#include <string>
#include <vector>

static const char WizardCaption[] = "Lumabook Installer";
static const char SuccessText[] = "Congratulations! Installation Success!";
static const char FailureText[] = "Installation failed. Please check your system (quit all Zenpo applications) and try again.";
static const char QuestionText[] = "Old CiKu (Word Base) is detected. Replace it with new CiKu?";
const DWORD ExitBadCommandLine = 2;
const DWORD ExitDestinationRefused = 3;
const DWORD ExitInstallFailed = 4;
const DWORD ExitLogIncomplete = 5;
const DWORD ExitTooLittleSpace = 6;
const DWORD ExitLinksMissing = 8;
const DWORD ExitFilesInUse = 9;
// Windows ghosts a window that leaves WM_NULL unanswered for 5 s; the wizard
// must answer within a second, as Windows never marks such a window.
const LONG AnsweredWithinMs = 1000;
const DWORD NoExitCode = 12345;
static const char UsageText[] = "Usage: setup.exe";
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

enum InstallWay { ThroughTheWizard, Unattended };

// The wizard's answers as the switches of an unattended install; the folder
// comes last, spaces and all, or quoted whole with a blank before the quote.
static std::string SwitchesFor(const WizardAnswers &answers, MessageKeys wordBaseAnswer, int quoted)
{
    static const char *const languages[] = { "EN", "SC", "TC" };
    std::string switches = std::string("/S /LANG=") + languages[answers.language];
    switches += answers.displayOk ? " /DISPLAYOK=1" : " /DISPLAYOK=0";
    if (!answers.desktopIcon)
        switches += " /NOICON";
    if (wordBaseAnswer == PressTabThenEnter)
        switches += " /REPLACEWORDBASE";
    return switches + (quoted ? " \"/D=" + answers.destination + " \"" : " /D=" + answers.destination);
}

static int Contains(const std::string &text, const std::string &part)
{
    return text.find(part) != std::string::npos;
}

class InstallEndToEnd : public ::testing::Test {
protected:
    SetupRun run;
    std::string dir;
    std::string messageTexts;
    std::string questionTexts;
    int questions = 0;
    InstallWay way = ThroughTheWizard;
    std::string logPath;     // every install of these tests asks for a log
    int quoteDestination = 0;
    std::string log;
    int windowSeen = 0;      // by an unattended install
    AnswerWatch watch = {};  // asks the wizard for WM_NULL from Install to the final message
    int keysDuringInstall = 0;   // Tab and Enter pressed while the install runs

    void SetUp() override
    {
        ZeroMemory(&run, sizeof(run));
        std::string name = std::string("e2e_") + ::testing::UnitTest::GetInstance()->current_test_info()->name();
        for (char &c : name)
            if (c == '/')
                c = '_';    // a parameterised test's name holds its way
        dir = MakeScratchDir(name.c_str()) + "\\Lumabook";
        logPath = MakeScratchDir((name + "_log").c_str()) + "\\setup log.txt";
        RemoveShortcuts(EnglishNames);
    }

    void TearDown() override
    {
        StopAnswerWatch(&watch);
        EndSetup(&run);
    }

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

    // Start with the answers as switches and wait for the end, watching for
    // any window; returns the exit code.
    DWORD InstallUnattended(const std::string &exe, const std::string &switches)
    {
        std::string logSwitch = Contains(switches, "/LOG=") ? "" : "\"/LOG=" + logPath + "\" ";
        EXPECT_TRUE(StartSetupWith(&run, exe, "", logSwitch + switches)) << exe;
        DWORD code = NoExitCode;
        EXPECT_TRUE(WaitForExitWithoutWindow(&run, InstallTimeoutMs, &code, &windowSeen)) << "it did not end";
        EXPECT_FALSE(windowSeen) << "an unattended install showed a window";
        log = ReadLog();
        return code;
    }

    // The log is a text file for Notepad: its lines end in CR LF.
    std::string ReadLog()
    {
        std::string text = ReadWholeFile(logPath);
        std::string lines;
        for (char c : text)
            if (c != '\r')
                lines += c;
        return lines;
    }

    // Start, walk the wizard, answer the word-base question by keys if it
    // comes, read the final message and press Enter; returns the exit code.
    // Or install unattended with the same answers.
    DWORD Install(const std::string &exe, WizardAnswers answers, MessageKeys wordBaseAnswer = PressEnter)
    {
        if (answers.destination.empty())
            answers.destination = dir;
        if (way == Unattended)
            return InstallUnattended(exe, SwitchesFor(answers, wordBaseAnswer, quoteDestination));
        DWORD code = InstallThroughTheWizard(exe, answers, wordBaseAnswer);
        log = ReadLog();
        return code;
    }

    DWORD InstallThroughTheWizard(const std::string &exe, const WizardAnswers &answers, MessageKeys wordBaseAnswer)
    {
        if (!StartAndPressInstall(exe, answers))
            return NoExitCode;
        return AnswerToTheEnd(wordBaseAnswer);
    }

    // Start, walk the wizard and press Install, the answer watch running from then on.
    int StartAndPressInstall(const std::string &exe, WizardAnswers answers)
    {
        if (answers.destination.empty())
            answers.destination = dir;
        EXPECT_TRUE(StartSetupWith(&run, exe, "", "\"/LOG=" + logPath + "\"")) << exe;
        run.wizard = WaitForProcessWindow(run.process.dwProcessId, WizardCaption, DriverTimeoutMs);
        if (!run.wizard) {
            ADD_FAILURE() << "no wizard window appeared";
            return 0;
        }
        std::string failure;
        EXPECT_TRUE(StartAnswerWatch(&watch, run.wizard));
        if (!WalkWizardToInstall(&run, answers, "", &failure)) {
            ADD_FAILURE() << failure;
            return 0;
        }
        return 1;
    }

    // A person who presses keys while the install runs: they reach no page and
    // no button (Esc would ask to cancel).
    void PressKeysDuringInstall()
    {
        ASSERT_TRUE(WaitForControlShown(run.wizard, ID_PROGRESS_BAR, 1, InstallTimeoutMs));
        EXPECT_TRUE(PressKey(run.wizard, VK_TAB));
        EXPECT_TRUE(PressKey(run.wizard, VK_RETURN));
    }

    // The word-base question if it comes, then the final message, answered by
    // Enter; the wizard answered WM_NULL at once all the while.
    DWORD AnswerToTheEnd(MessageKeys wordBaseAnswer)
    {
        if (keysDuringInstall)
            PressKeysDuringInstall();
        HWND message = WaitForMessageWindow(&run, InstallTimeoutMs, &messageTexts);
        if (message && messageTexts.find(QuestionText) != std::string::npos) {
            questions++;
            questionTexts = messageTexts;
            EXPECT_TRUE(AnswerMessageByKeys(message, wordBaseAnswer)) << "the question would not come to the front";
            WaitUntilWindowGone(message, DriverTimeoutMs);
            message = WaitForMessageWindow(&run, InstallTimeoutMs, &messageTexts);
        }
        StopAnswerWatch(&watch);
        EXPECT_GT(watch.asked, 0);
        EXPECT_LT(watch.longestMs, AnsweredWithinMs) << "the wizard left WM_NULL unanswered";
        if (!message) {
            ADD_FAILURE() << "no final message appeared";
            return NoExitCode;
        }
        EXPECT_TRUE(AnswerMessageByKeys(message, PressEnter)) << "the final message would not come to the front";
        DWORD code = NoExitCode;
        EXPECT_TRUE(WaitForExit(&run, DriverTimeoutMs, &code)) << "the program did not end after the message";
        return code;
    }

    // The wizard reports through its message and always ends with 0; the
    // unattended install through its exit code. Both logs end alike.
    void ExpectInstalled(DWORD code)
    {
        EXPECT_EQ(0u, code);
        if (way == ThroughTheWizard) {
            EXPECT_TRUE(Contains(messageTexts, SuccessText)) << messageTexts;
        }
        EXPECT_TRUE(Contains(log, "\nresult: installed\n")) << log;
        EXPECT_TRUE(Contains(log, "\nexit code: 0\n")) << log;
        EXPECT_TRUE(Contains(log, "Lumabook Writer setup 1.0.0\n")) << log;
        char codePage[64];
        snprintf(codePage, sizeof(codePage), "\ntext in code page %u (", GetACP());
        EXPECT_TRUE(Contains(log, codePage)) << log;
    }

    void ExpectFailed(DWORD code, const std::string &failedLine)
    {
        EXPECT_EQ(way == ThroughTheWizard ? 0u : ExitInstallFailed, code);
        if (way == ThroughTheWizard) {
            EXPECT_TRUE(Contains(messageTexts, FailureText)) << messageTexts;
        }
        EXPECT_TRUE(Contains(log, failedLine)) << log;
        EXPECT_TRUE(Contains(log, "\nresult: install FAILED\n")) << log;
    }

    // The question is the wizard's; unattended, the switch answered it.
    int QuestionsExpected() { return way == ThroughTheWizard ? 1 : 0; }

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

// Each install below runs through the wizard and again unattended, into a
// folder with a blank in its name.
class InstallBothWays : public InstallEndToEnd, public ::testing::WithParamInterface<InstallWay> {
protected:
    void SetUp() override
    {
        InstallEndToEnd::SetUp();
        way = GetParam();
        dir = dir.substr(0, dir.size() - strlen("Lumabook")) + "Luma book";
    }
};

INSTANTIATE_TEST_SUITE_P(Ways, InstallBothWays, ::testing::Values(ThroughTheWizard, Unattended),
                         [](const ::testing::TestParamInfo<InstallWay> &info) {
                             return std::string(info.param == Unattended ? "Unattended" : "ThroughTheWizard");
                         });

// Start, keep the proposed answers but the folder, answer "不正确(NO)" and
// Simplified Chinese, press Install, read the success message, check the disk.
// Unattended, the folder is quoted with a blank as deployment tools pass it,
// and the log lies in a folder inside it, made by the install.
TEST_P(InstallBothWays, FreshInstallWritesEveryFileTheSettingsAndTheShortcuts)
{
    if (way == Unattended) {
        quoteDestination = 1;
        logPath = dir + "\\logs\\setup log.txt";
    }
    keysDuringInstall = 1;
    std::string sharedCopy = WindowsDirectory() + "SharedSet2.bin";
    ASSERT_TRUE(WriteWholeFile(sharedCopy, "copy from elsewhere", ReadOnlyAndHidden));
    WizardAnswers answers = DefaultAnswers();
    answers.displayOk = 0;
    answers.language = 1;

    ExpectInstalled(Install(SetupExePath(), answers));

    EXPECT_EQ(0, questions) << "a fresh install asks nothing";
    EXPECT_EQ("", CompareWithProduct(dir, {"uiprefs.ini"}));
    EXPECT_EQ(ExpectedSettings(0, 1), ReadWholeFile(PathOf("uiprefs.ini")));
    EXPECT_EQ(ReadOnlyAndHidden, InstalledAttributes(PathOf("uiprefs.ini")));
    unsigned long long bytes;
    EXPECT_EQ(ProductFileCount, CountFiles(dir, &bytes));
    ExpectShortcuts(EnglishNames, 1);
    EXPECT_TRUE(Contains(log, "answer interface language: SC (Simplified Chinese)\n")) << log;
    EXPECT_TRUE(Contains(log, "\nfile written: Lumabook.exe\n")) << log;
    EXPECT_TRUE(Contains(log, "[Config] UseBmpFont=1 ForceLanguage=1\n")) << log;
    EXPECT_TRUE(Contains(log, "Lumabook UnInstall.lnk -> " + dir + "\\LbUnInstall.exe\n")) << log;
    EXPECT_TRUE(Contains(log, "\\Lumabook Writer.lnk -> " + dir + "\\Lumabook.exe\nresult:")) << "the desktop link\n" << log;
    EXPECT_EQ("copy from elsewhere", ReadWholeFile(sharedCopy)) << "no SharedSet2.bin beside the program";
    SetFileAttributesA(sharedCopy.c_str(), FILE_ATTRIBUTE_NORMAL);
    DeleteFileA(sharedCopy.c_str());
    RemoveShortcuts(EnglishNames);
}

// Reinstall over an earlier installation: the question opens on No, so Enter
// alone keeps the user's word base, and so does Esc (unattended: no switch);
// the desktop box is cleared, so only the Start-menu entry is made.
TEST_P(InstallBothWays, ReinstallAnsweredByEnterOrEscKeepsTheWordBaseAndReplacesEverythingElse)
{
    for (MessageKeys keys : { PressEnter, PressEsc }) {
        if (keys == PressEsc && way == Unattended)
            break;          // no question to press a key on
        SCOPED_TRACE(keys == PressEnter ? "Enter" : "Esc");
        if (keys == PressEsc)
            dir += "_esc";      // a second earlier installation, in a folder of its own
        PlaceEarlierInstallation();
        PlaceCacheFiles();
        WizardAnswers answers = DefaultAnswers();
        answers.desktopIcon = 0;
        questions = 0;

        ExpectInstalled(Install(SetupExePath(), answers, keys));
        EndSetup(&run);

        EXPECT_EQ(QuestionsExpected(), questions);
        EXPECT_TRUE(Contains(log, "file kept (the existing word base stays): wordbase.dat\n")) << log;
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
TEST_P(InstallBothWays, ReinstallAnsweringYesReplacesTheWordBaseWritableAndVisible)
{
    PlaceEarlierInstallation();
    for (const char *name : WordBaseFiles)
        SetFileAttributesA(PathOf(name).c_str(), ReadOnlyAndHidden);

    ExpectInstalled(Install(SetupExePath(), DefaultAnswers(), PressTabThenEnter));

    EXPECT_EQ(QuestionsExpected(), questions);
    EXPECT_FALSE(Contains(log, "file kept")) << log;
    EXPECT_EQ("", CompareWithProduct(dir, {"uiprefs.ini"}));   // the word base included, attributes 0
    RemoveShortcuts(EnglishNames);
}

// Running copies of the product hold its settings file and its main program.
// Before anything changes, the wizard names the first held file and offers to
// look again: Cancel goes back to the last page, Retry while the file is held
// names it again, Retry after the user closed it names the next, and once
// both are free Retry installs. Unattended, the install is refused with its
// own exit code, both files in the log, the earlier installation byte for byte.
TEST_P(InstallBothWays, HeldFilesAreFoundBeforeAnyChangeAndRetryInstallsOnceTheyAreFree)
{
    PlaceEarlierInstallation();
    PlaceCacheFiles();
    std::string before = FolderSnapshot(dir);
    HeldFile settings, program;
    ASSERT_TRUE(HoldFileInAnotherProcess(PathOf("uiprefs.ini"), &settings));
    ASSERT_TRUE(HoldFileInAnotherProcess(PathOf("Lumabook.exe"), &program));
    if (way == Unattended) {
        DWORD code = Install(SetupExePath(), DefaultAnswers());
        ReleaseHeldFile(&settings);
        ReleaseHeldFile(&program);
        EXPECT_EQ(ExitFilesInUse, code);
        EXPECT_EQ(before, FolderSnapshot(dir));
        for (const char *name : { "uiprefs.ini", "Lumabook.exe" })
            EXPECT_TRUE(Contains(log, "check FAILED, file in use by another program: " + PathOf(name) + "\n")) << log;
        EXPECT_TRUE(Contains(log, "\nresult: refused before any change (a file is in use)\nexit code: 9\n")) << log;
        ExpectNoShortcuts(EnglishNames);
        return;
    }
    ASSERT_TRUE(StartAndPressInstall(SetupExePath(), DefaultAnswers()));
    HWND message = WaitForMessageWindow(&run, InstallTimeoutMs, &messageTexts);
    EXPECT_TRUE(Contains(messageTexts, "uiprefs.ini is in use by another program. Close it, then press Retry.")) << messageTexts;
    ASSERT_TRUE(AnswerMessageByKeys(message, PressEsc));
    WaitUntilWindowGone(message, DriverTimeoutMs);
    EXPECT_TRUE(WaitForControlShown(run.wizard, ID_NEXT_BUTTON, 1, DriverTimeoutMs)) << "Cancel leaves the last page";
    ASSERT_TRUE(PressKey(run.wizard, VK_RETURN));       // Install again
    // Each message in turn names a file; the user then closes its holder, or not.
    const std::pair<const char *, HeldFile *> rounds[] = { { "uiprefs.ini", 0 }, { "uiprefs.ini", &settings },
                                                           { "Lumabook.exe", &program } };
    for (const auto &round : rounds) {
        message = WaitForMessageWindow(&run, InstallTimeoutMs, &messageTexts);
        EXPECT_TRUE(Contains(messageTexts, std::string(round.first) + " is in use by another program")) << messageTexts;
        if (round.second)
            ReleaseHeldFile(round.second);
        ASSERT_TRUE(AnswerMessageByKeys(message, PressEnter));    // Retry
        WaitUntilWindowGone(message, DriverTimeoutMs);
    }
    DWORD code = AnswerToTheEnd(PressEnter);
    log = ReadLog();
    ExpectInstalled(code);
    std::vector<std::string> kept(WordBaseFiles, WordBaseFiles + 4);
    kept.push_back("uiprefs.ini");
    EXPECT_EQ("", CompareWithProduct(dir, kept));
    EXPECT_EQ("my words", ReadWholeFile(PathOf("wordbase.dat")));
    ExpectCacheFilesGone();
    RemoveShortcuts(EnglishNames);
}

// The log on the 2 MiB drive X:, filled to its last byte: the install goes on
// to its end, the exit code tells the log is incomplete (a wizard run too),
// and not a line of the log claims a success.
TEST_P(InstallBothWays, LogOnAFullDiskChangesTheExitCodeAndNothingElse)
{
    if (GetFileAttributesA("X:\\") == INVALID_FILE_ATTRIBUTES)
        GTEST_SKIP() << "no small drive X: (the tests run without root)";
    logPath = "X:\\setup log.txt";
    ASSERT_TRUE(FillDiskWithFile("X:\\log_filler.bin"));

    DWORD code = Install(SetupExePath(), DefaultAnswers());
    DeleteFileA("X:\\log_filler.bin");
    DeleteFileA(logPath.c_str());

    EXPECT_EQ(ExitLogIncomplete, code);
    EXPECT_EQ(way == ThroughTheWizard, Contains(messageTexts, SuccessText)) << messageTexts;
    EXPECT_EQ("", CompareWithProduct(dir, {"uiprefs.ini"}));
    EXPECT_FALSE(Contains(log, "installed") || Contains(log, "exit code")) << log;
    RemoveShortcuts(EnglishNames);
}

// Reinstall over an earlier installation on the 2 MiB drive X:, filled to its
// last byte: before anything changes, the message names what the install
// needs and what is free, and the wizard stays on its last page for another
// folder (here the user then cancels); unattended, its own exit code. Every
// file of the earlier installation is still there byte for byte with its
// attributes. Unattended again, a fresh install there makes not even its folder.
TEST_P(InstallBothWays, TooLittleRoomIsFoundBeforeAnyChangeWithTheFigures)
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

    DWORD code = NoExitCode;
    if (way == Unattended) {
        code = Install(SetupExePath(), answers);
        EXPECT_TRUE(Contains(log, "\nresult: refused before any change (not enough free space)\nexit code: 6\n")) << log;
        answers.destination = "X:\\Fresh";
        EndSetup(&run);
        EXPECT_EQ(ExitTooLittleSpace, Install(SetupExePath(), answers));
        EXPECT_EQ(INVALID_FILE_ATTRIBUTES, GetFileAttributesA("X:\\Fresh")) << "a refused fresh install makes no folder";
    } else if (StartAndPressInstall(SetupExePath(), answers)) {
        HWND message = WaitForMessageWindow(&run, InstallTimeoutMs, &messageTexts);
        EXPECT_TRUE(Contains(messageTexts, "Not enough disk space: the install needs ")) << messageTexts;
        EXPECT_TRUE(AnswerMessageByKeys(message, PressEnter));
        WaitUntilWindowGone(message, DriverTimeoutMs);
        EXPECT_TRUE(WaitForControlShown(run.wizard, ID_BACK_BUTTON, 1, DriverTimeoutMs)) << "the last page, to go back";
        EXPECT_TRUE(PressKey(run.wizard, VK_ESCAPE));
        EXPECT_TRUE(WaitForExit(&run, DriverTimeoutMs, &code));
        log = ReadLog();
    }
    DeleteFileA("X:\\filler.bin");

    EXPECT_EQ(way == Unattended ? ExitTooLittleSpace : 0u, code);
    unsigned long neededMb = 0, freeMb = 9;
    unsigned long long productBytes = 0;
    CountFiles(ProductDir(), &productBytes);
    size_t at = log.find("check FAILED, not enough free space: ");
    EXPECT_EQ(2, sscanf(log.c_str() + (at == std::string::npos ? 0 : at),
                        "check FAILED, not enough free space: the install needs %lu MB, %lu MB are free", &neededMb,
                        &freeMb)) << log;
    EXPECT_GT(neededMb, (unsigned long)(productBytes >> 20)) << "every file of the product, new beside old";
    EXPECT_LT(freeMb, 2u);
    EXPECT_EQ(before, FolderSnapshot(dir));
    ExpectNoShortcuts(EnglishNames);
    // The small drive is shared with other tests: give its space back.
    for (const std::string &name : ProductFileNames()) {
        SetFileAttributesA((dir + "\\" + name).c_str(), FILE_ATTRIBUTE_NORMAL);
        DeleteFileA((dir + "\\" + name).c_str());
    }
    RemoveDirectoryA(dir.c_str());
}

// A command line the program refuses, or the usage asked for. "<dir>" stands
// for the test's folder, "<long>" for a folder below it just short of 260
// characters, too long for the install's names. The log is asked for first.
struct RefusedLine {
    const char *arguments;
    DWORD code;
    const char *logLine;
    int usageShown;
};
static const char AnswersNeedSilent[] = "refused: /D=, /LANG=, /DISPLAYOK=, /NOICON and /REPLACEWORDBASE need /S\n";
static const RefusedLine RefusedLines[] = {
    { "/S /QUIET /D=<dir>", ExitBadCommandLine, "command line refused: unknown argument: /QUIET\n", 0 },
    { "/S /LANG=FR /D=<dir>", ExitBadCommandLine, "refused: give /LANG= once, as EN, SC or TC: /LANG=FR\n", 0 },
    { "/S /LANG=SC /lang=tc", ExitBadCommandLine, "refused: give /LANG= once, as EN, SC or TC: /lang=tc\n", 0 },
    { "/S /DISPLAYOK=yes", ExitBadCommandLine, "refused: give /DISPLAYOK= once, as 1 or 0: /DISPLAYOK=yes\n", 0 },
    { "/S /D=Lumabook", ExitBadCommandLine, "refused: /D=: not a full folder path such as C:\\Lumabook: Lumabook\n", 0 },
    { "/S /D=", ExitBadCommandLine, "refused: /D=: not a full folder path such as C:\\Lumabook\n", 0 },
    { "/S /D=C:\\", ExitBadCommandLine, "refused: /D=: not a full folder path such as C:\\Lumabook: C:\n", 0 },
    // Every trailing backslash goes before the checks; a share's root is a root too.
    { "/S /D=C:\\\\", ExitBadCommandLine, "refused: /D=: not a full folder path such as C:\\Lumabook: C:\n", 0 },
    { "/S /D=\\\\server\\share\\", ExitBadCommandLine, "refused: /D=: the root of a share; give a folder in it", 0 },
    { "/S /D=<dir> \\\\", ExitBadCommandLine, "refused: /D=: a folder name cannot end in a blank or a dot: <dir> \n", 0 },
    // The test folder is long: the reason keeps its first 159 bytes.
    { "/S /D=<dir> /QUIET", ExitBadCommandLine, "refused: /D=: a folder name cannot end in a blank or a dot: C:\\", 0 },
    { "/S /D=<dir>.\\Lumabook", ExitBadCommandLine, "refused: /D=: a folder name cannot end in a blank or a dot: C:\\", 0 },
    // Too long for a path is too long for the install's names: the same code.
    { "/S /D=<huge>", ExitDestinationRefused, "destination refused, too long for the install's file names", 0 },
    { "/S /D=<dir>\\missing\\Lumabook", ExitDestinationRefused,
      "destination refused, the folder cannot be created: <dir>\\missing\\Lumabook: Windows error 3 (", 0 },
    { "/S /D=<long>", ExitDestinationRefused, "destination refused, too long for the install's file names: <long>\n", 0 },
    { "/S /D=<dir> \"/LOG=<log>\"", ExitBadCommandLine, "refused: /D= must come last, as its folder takes the rest of the line; after it: /LOG=\n", 0 },
    { "/S /D=<dir> /D=<dir>2", ExitBadCommandLine, "refused: /D= given twice: give /D= once", 0 },
    { "/S \"/D=<dir>. \"", ExitBadCommandLine, "refused: /D=: a folder name cannot end in a blank or a dot: <dir>.\n", 0 },
    { "/S /D=\"<dir>\\ \\\"", ExitBadCommandLine, "refused: /D=: a folder name cannot end in a blank or a dot: <dir>\\ \n", 0 },
    // A log that cannot come with the destination: no log, nothing made.
    { "/S \"/LOG=<dir>2\\log.txt\" /D=<dir>", ExitBadCommandLine, "", 0 },
    { "/S \"/LOG=<dir>\\missing\\log.txt\" /D=<dir>\\missing", ExitBadCommandLine, "", 0 },
    { "/S \"/LOG=<dir>\\logs\\\" /D=<dir>", ExitBadCommandLine, "", 0 },     // a folder, not a file
    // Every answer switch alone, without /S: the wizard would ask it again.
    { "/NOICON", ExitBadCommandLine, "\nmessage: /D=, /LANG=, /DISPLAYOK=, /NOICON and /REPLACEWORDBASE need /S\n"
                                     "message: Usage: setup.exe [/S]", 1 },
    { "/REPLACEWORDBASE", ExitBadCommandLine, AnswersNeedSilent, 1 },
    { "/LANG=SC", ExitBadCommandLine, AnswersNeedSilent, 1 },
    { "/DISPLAYOK=0", ExitBadCommandLine, AnswersNeedSilent, 1 },
    { "/D=<dir>", ExitBadCommandLine, AnswersNeedSilent, 1 },
    { "/?", 0, "\nexit code: 0\n", 1 },
};

static std::string Substituted(std::string text, const std::string &dir, const std::string &longDir,
                               const std::string &log)
{
    for (size_t at; (at = text.find("<huge>")) != std::string::npos;)
        text.replace(at, 6, dir + "\\" + std::string(MAX_PATH, 'x'));
    for (size_t at; (at = text.find("<log>")) != std::string::npos;)
        text.replace(at, 5, log);
    for (size_t at; (at = text.find("<dir>")) != std::string::npos;)
        text.replace(at, 5, dir);
    for (size_t at; (at = text.find("<long>")) != std::string::npos;)
        text.replace(at, 6, longDir);
    return text;
}

// Each line ends with its exit code, its reason in the log, and nothing made
// on the disk; only without /S is a window shown, the usage, closed with OK.
TEST_F(InstallEndToEnd, RefusedCommandLinesEndWithTheirCodeAndWriteNothing)
{
    std::string longDir = dir + "\\" + std::string(250 - dir.size() - 1, 'x');
    for (const RefusedLine &row : RefusedLines) {
        std::string arguments = Substituted(row.arguments, dir, longDir, logPath);
        SCOPED_TRACE(arguments);
        DWORD code = NoExitCode;
        if (row.usageShown) {
            ASSERT_TRUE(StartSetupWith(&run, SetupExePath(), "", "\"/LOG=" + logPath + "\" " + arguments));
            HWND usage = WaitForMessageWindow(&run, DriverTimeoutMs, &messageTexts);
            ASSERT_TRUE(usage) << "no usage shown";
            EXPECT_TRUE(Contains(messageTexts, UsageText)) << messageTexts;
            Capture picture;
            std::string notDrawn;
            if (CaptureWhenDrawn(usage, &picture, ControlsDrawn(usage, { ID_OK_BUTTON }), &notDrawn))
                SaveCapture(picture, ArtifactPath(row.code ? "usage_refused.png" : "usage.png"));
            EXPECT_TRUE(AnswerMessageByKeys(usage, PressEnter));
            EXPECT_TRUE(WaitForExit(&run, DriverTimeoutMs, &code));
            log = ReadLog();
        } else {
            code = InstallUnattended(SetupExePath(), arguments);
        }
        EndSetup(&run);
        EXPECT_EQ(row.code, code);
        EXPECT_TRUE(Contains(log, Substituted(row.logLine, dir, longDir, logPath))) << log;
        EXPECT_FALSE(FileIsPresent(dir)) << "a refused command line made the folder";
        ExpectNoShortcuts(EnglishNames);
    }
}

// A file stands where the Start-menu group's folder goes: every file is
// installed, both links fail, and the exit code and the result line say so.
TEST_F(InstallEndToEnd, UnattendedInstallWithoutItsStartMenuEntryEndsWithACodeOfItsOwn)
{
    way = Unattended;
    std::string group = SpecialFolder(CSIDL_PROGRAMS) + "\\" + EnglishNames.group;
    ASSERT_TRUE(WriteWholeFile(group, "in the way", 0));

    DWORD code = Install(SetupExePath(), DefaultAnswers());
    DeleteFileA(group.c_str());

    EXPECT_EQ(ExitLinksMissing, code);
    EXPECT_EQ("", CompareWithProduct(dir, {"uiprefs.ini"}));
    EXPECT_TRUE(Contains(log, "\nresult: installed without the Start-menu entry\n")) << log;
    EXPECT_TRUE(Contains(log, "\nexit code: 8\n")) << log;
    RemoveShortcuts(EnglishNames);
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

    EXPECT_EQ(0u, Install(exe, DefaultAnswers()));

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
    EXPECT_TRUE(Contains(log, "\nshared settings copied: " + folder + "\\SharedSet2.bin -> " + windowsCopy + "\n")) << log;
    EXPECT_EQ("", CompareWithProduct(dir, {"uiprefs.ini"}));
    ExpectShortcuts(TraditionalNames, 1);
    SetFileAttributesA(windowsCopy.c_str(), FILE_ATTRIBUTE_NORMAL);
    DeleteFileA(windowsCopy.c_str());
    RemoveShortcuts(TraditionalNames);
}
