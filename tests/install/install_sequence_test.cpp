// The install sequence run in this process on the real setup program's payload
// (its resources loaded as data), under a window that stands in for the wizard:
// the progress bar's positions as they are set, the word-base decision, a stop
// at a required row, a damaged entry found before the disk changes, the buffer
// given back, destinations too long for a path, the script of the link names,
// and the checks before the first change on NT and on Windows 95, 98 and ME.
#include "install/install_sequence.h"
#include "install/install_log.h"
#include "install/payload_store.h"
#include "install/install_checks.h"
#include "install/install_record.h"
#include "startup/system_functions.h"
#include "startup/shared_state.h"
#include "startup/system_probe.h"
#include "support/import_patch.h"
#include "startup/glyph_sheets.h"
#include "resources/resource_ids.h"
#include "support/test_paths.h"
#include "support/install_check.h"
#include "support/held_file.h"
#include <gtest/gtest.h>
#include <commctrl.h>
#include <shlobj.h>
#include <process.h>
#include <string>
#include <tuple>
#include <vector>

static const int CheckpointsInOrder[] = { 10, 15, 20, 25, 30, 35, 45, 50, 55, 65, 70, 90, 94, 97, 100 };
const int CheckpointCount = sizeof(CheckpointsInOrder) / sizeof(CheckpointsInOrder[0]);
const int PaintMark = -1;     // a repaint of the bar in the recorded sequence
const size_t InstallBufferSize = 48 * 1024 * 1024;

// The program's allocations pass through here (the test links with --wrap), so
// the test sees the install buffer taken and given back, and can refuse it.
static int RefuseInstallBuffer;
static int BuffersTaken;
static int BuffersGivenBack;
static void *InstallBuffer;
extern "C" void *__real_malloc(size_t size);
extern "C" void __real_free(void *block);

extern "C" void *__wrap_malloc(size_t size)
{
    if (size != InstallBufferSize)
        return __real_malloc(size);
    if (RefuseInstallBuffer)
        return 0;
    BuffersTaken++;
    InstallBuffer = __real_malloc(size);
    return InstallBuffer;
}

extern "C" void __wrap_free(void *block)
{
    if (block && block == InstallBuffer) {
        BuffersGivenBack++;
        InstallBuffer = 0;
    }
    __real_free(block);
}

static WNDPROC StandardProgressProc;
static std::vector<int> ProgressEvents;

static int InsideSetPos;

// Records every position set and every repaint, in order. The bar may repaint
// itself inside PBM_SETPOS; it is marked dirty again afterwards, so only the
// install's own UpdateWindow (the thread pumps no messages) paints it next.
static LRESULT CALLBACK RecordingProgressProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
{
    if (message == PBM_SETPOS) {
        ProgressEvents.push_back((int)wParam);
        InsideSetPos = 1;
        LRESULT result = CallWindowProcA(StandardProgressProc, window, message, wParam, lParam);
        InsideSetPos = 0;
        InvalidateRect(window, 0, FALSE);
        return result;
    }
    if (message == WM_PAINT && !InsideSetPos)
        ProgressEvents.push_back(PaintMark);
    return CallWindowProcA(StandardProgressProc, window, message, wParam, lParam);
}

// Answers the message dialogs that the install shows on this thread, from a
// second thread, and keeps what they said.
const int AnswerPollMs = 20;
struct DialogAnswerer {
    DWORD ownerThread;
    int answerId;
    volatile LONG stop;
    std::string texts;
    int dialogs;
    HANDLE thread;
};

static BOOL CALLBACK CollectText(HWND child, LPARAM param)
{
    char text[512] = "";
    GetWindowTextA(child, text, sizeof(text));
    ((DialogAnswerer *)param)->texts += std::string(text) + "\n";
    return TRUE;
}

static BOOL CALLBACK AnswerDialog(HWND window, LPARAM param)
{
    DialogAnswerer *answerer = (DialogAnswerer *)param;
    char className[64] = "";
    GetClassNameA(window, className, sizeof(className));
    if (window == WizardWindow || !IsWindowVisible(window) || lstrcmpA(className, "#32770") != 0)
        return TRUE;
    // A dialog shows only once its WM_INITDIALOG has set its texts. The answer
    // is posted, and the dialog is waited for until it has gone, so that it is
    // never answered twice.
    EnumChildWindows(window, CollectText, param);
    answerer->dialogs++;
    PostMessageA(window, WM_COMMAND, MAKEWPARAM(answerer->answerId, BN_CLICKED), 0);
    while (IsWindow(window) && IsWindowVisible(window) && !answerer->stop)
        Sleep(AnswerPollMs);
    return FALSE;
}

static unsigned __stdcall AnswerDialogs(void *param)
{
    DialogAnswerer *answerer = (DialogAnswerer *)param;
    while (!answerer->stop) {
        EnumThreadWindows(answerer->ownerThread, AnswerDialog, (LPARAM)answerer);
        Sleep(AnswerPollMs);
    }
    return 0;
}

class InstallSequence : public ::testing::Test {
protected:
    static HMODULE setup;
    HWND host = 0;
    HWND progress = 0;
    std::string dir;
    std::string windowsDir;
    std::string setupDir;       // the setup program's folder, without SharedSet2.bin unless a test puts it there
    DialogAnswerer answerer;

    static void SetUpTestSuite()
    {
        setup = LoadSetupAsData();
        AppInstance = setup;
        INITCOMMONCONTROLSEX classes = { sizeof(classes), ICC_PROGRESS_CLASS };
        InitCommonControlsEx(&classes);
        LoadGlyphSheets(setup);   // the message dialog draws its Chinese with them
    }

    static void TearDownTestSuite()
    {
        FreeGlyphSheets();
        FreeLibrary(setup);
    }

    void SetUp() override
    {
        std::string name = std::string("sequence_") + ::testing::UnitTest::GetInstance()->current_test_info()->name();
        dir = MakeScratchDir(name.c_str()) + "\\Lumabook";
        windowsDir = MakeScratchDir((name + "_windows").c_str()) + "\\";
        ASSERT_TRUE(CreateDirectoryA(dir.c_str(), 0));
        lstrcpyA(InstallDir, dir.c_str());
        lstrcpyA(WindowsDir, windowsDir.c_str());
        setupDir = MakeScratchDir((name + "_setup").c_str()) + "\\";
        lstrcpyA(SetupDir, setupDir.c_str());
        DesktopIconWanted = 0;
        SystemChineseVariant = 0;
        host = CreateWindowExA(0, "STATIC", "Lumabook Installer", WS_POPUP | WS_VISIBLE | WS_CAPTION,
                               40, 40, 600, 200, 0, 0, 0, 0);
        progress = CreateWindowExA(0, PROGRESS_CLASSA, "", WS_CHILD | WS_BORDER | PBS_SMOOTH, 20, 120, 500, 20,
                                   host, (HMENU)(INT_PTR)ID_PROGRESS_BAR, 0, 0);
        ASSERT_TRUE(progress);
        WizardWindow = host;
        StandardProgressProc = (WNDPROC)SetWindowLongPtrA(progress, GWLP_WNDPROC, (LONG_PTR)RecordingProgressProc);
        ProgressEvents.clear();
        BuffersTaken = BuffersGivenBack = 0;
        answerer.ownerThread = GetCurrentThreadId();
        answerer.answerId = IDNO;
        answerer.stop = 0;
        answerer.dialogs = 0;
        answerer.thread = (HANDLE)_beginthreadex(0, 0, AnswerDialogs, &answerer, 0, 0);
        ASSERT_TRUE(ImitateWindows(1));   // Windows' own refusals, which Wine as root spares us
    }

    void TearDown() override
    {
        ImitateWindows(0);
        InterlockedExchange(&answerer.stop, 1);
        WaitForSingleObject(answerer.thread, 10000);
        CloseHandle(answerer.thread);
        DestroyWindow(host);
        WizardWindow = 0;
    }

    std::string PathOf(const char *name) { return dir + "\\" + name; }
    std::string ProductFile(const char *name) { return ReadWholeFile(ProductDir() + "\\" + name); }

    std::vector<int> PositionsSet()
    {
        std::vector<int> positions;
        for (int event : ProgressEvents)
            if (event != PaintMark)
                positions.push_back(event);
        return positions;
    }

    // An earlier installation's word base, with contents the test can recognise.
    void PlaceOldWordBase(const std::string &pinyinIndex)
    {
        ASSERT_TRUE(WriteWholeFile(PathOf("wordbase.dat"), "old word base", 0));
        ASSERT_TRUE(WriteWholeFile(PathOf("phrases_shape.idx"), "old shape index", 0));
        ASSERT_TRUE(WriteWholeFile(PathOf("phrases_initials.idx"), "old initials index", 0));
        SetFileAttributesA(PathOf("phrases_pinyin.idx").c_str(), FILE_ATTRIBUTE_NORMAL);
        DeleteFileA(PathOf("phrases_pinyin.idx").c_str());
        if (pinyinIndex != "<none>") {
            ASSERT_TRUE(WriteWholeFile(PathOf("phrases_pinyin.idx"), pinyinIndex, 0));
        }
    }
};

HMODULE InstallSequence::setup;

TEST_F(InstallSequence, FreshInstallSetsEachCheckpointOnceInOrderAndRepaintsAfterEach)
{
    ASSERT_EQ(1, RunInstallSequence());
    EXPECT_TRUE(IsWindowVisible(progress));
    std::vector<int> expected;
    for (int i = 0; i < CheckpointCount; i++) {
        expected.push_back(CheckpointsInOrder[i]);
        expected.push_back(PaintMark);
    }
    EXPECT_EQ(expected, ProgressEvents);
    EXPECT_EQ(0, answerer.dialogs) << "a fresh install asks nothing";
    EXPECT_EQ("", CompareWithProduct(dir, {"uiprefs.ini"}));
}

TEST_F(InstallSequence, HeldRequiredFileUndoesTheWholeInstallAndGivesTheBufferBack)
{
    // The typing tutorial is required and comes after the optional help files.
    ASSERT_TRUE(WriteWholeFile(PathOf("KeyboardTrainer.exe"), "running", 0));
    ASSERT_TRUE(WriteWholeFile(PathOf("syllables.dic0101"), "cache", ReadOnlyAndHidden));
    ASSERT_TRUE(WriteWholeFile(PathOf("adjustments.dic"), "cache", ReadOnlyAndHidden));
    std::string before = FolderSnapshot(dir);
    HANDLE held = CreateFileA(PathOf("KeyboardTrainer.exe").c_str(), GENERIC_READ, 0, 0, OPEN_EXISTING, 0, 0);
    ASSERT_NE(INVALID_HANDLE_VALUE, held);

    EXPECT_EQ(0, RunInstallSequence());
    CloseHandle(held);

    EXPECT_EQ(std::vector<int>({ 10, 15, 20, 25, 30, 35, 45, 50, 55, 65 }), PositionsSet()) << "every file written";
    EXPECT_EQ(before, FolderSnapshot(dir)) << "no new file left, the caches kept, the held file as it was";
    EXPECT_EQ(1, BuffersTaken);
    EXPECT_EQ(1, BuffersGivenBack) << "the install buffer was not released";
}

TEST_F(InstallSequence, GivesTheBufferBackAfterASuccess)
{
    ASSERT_EQ(1, RunInstallSequence());
    EXPECT_EQ(1, BuffersTaken);
    EXPECT_EQ(1, BuffersGivenBack);
}

// Without the buffer: the message, result 0, the bar never shown, nothing written.
TEST_F(InstallSequence, NoMemoryForTheBufferShowsTheMessageAndChangesNothing)
{
    RefuseInstallBuffer = 1;
    answerer.answerId = IDOK;
    EXPECT_EQ(0, RunInstallSequence());
    RefuseInstallBuffer = 0;
    EXPECT_EQ(1, answerer.dialogs);
    EXPECT_NE(std::string::npos, answerer.texts.find("Memory not enough!")) << answerer.texts;
    EXPECT_FALSE(IsWindowVisible(progress));
    EXPECT_TRUE(ProgressEvents.empty());
    unsigned long long bytes;
    EXPECT_EQ(0, CountFiles(dir, &bytes));
}

// A pinyin index that is missing, empty or of the old kind means no question: the word base is replaced.
TEST_F(InstallSequence, OldKindsOfWordBaseAreReplacedWithoutAQuestion)
{
    const char *indexes[] = { "<none>", "", "\x7F old index" };
    for (const char *index : indexes) {
        SCOPED_TRACE(std::string("pinyin index: ") + index);
        PlaceOldWordBase(index);
        answerer.dialogs = 0;
        ASSERT_EQ(1, RunInstallSequence());
        EXPECT_EQ(0, answerer.dialogs);
        EXPECT_EQ(0, KeepOldWordBase);
        for (const char *name : { "wordbase.dat", "phrases_shape.idx", "phrases_pinyin.idx", "phrases_initials.idx" }) {
            EXPECT_EQ(ProductFile(name), ReadWholeFile(PathOf(name))) << name;
            EXPECT_EQ(0u, InstalledAttributes(PathOf(name))) << name;
        }
    }
}

// No, and also Esc or the close box (which the dialog manager answers as
// Cancel, 2): anything but Yes keeps the user's word base.
TEST_F(InstallSequence, WordBaseOfTheCurrentKindIsKeptWhenTheAnswerIsNoOrTheQuestionIsClosed)
{
    for (int answer : { IDNO, IDCANCEL }) {
        SCOPED_TRACE(answer == IDNO ? "No" : "Esc or the close box");
        PlaceOldWordBase("\x80 current index");
        answerer.answerId = answer;
        answerer.dialogs = 0;
        ProgressEvents.clear();
        ASSERT_EQ(1, RunInstallSequence());
        EXPECT_EQ(1, answerer.dialogs);
        EXPECT_NE(std::string::npos, answerer.texts.find("Old CiKu (Word Base) is detected. Replace it with new CiKu?"))
            << answerer.texts;
        EXPECT_EQ("old word base", ReadWholeFile(PathOf("wordbase.dat")));
        EXPECT_EQ("old shape index", ReadWholeFile(PathOf("phrases_shape.idx")));
        EXPECT_EQ("\x80 current index", ReadWholeFile(PathOf("phrases_pinyin.idx")));
        EXPECT_EQ("old initials index", ReadWholeFile(PathOf("phrases_initials.idx")));
        // Every checkpoint is still passed, the skipped rows count as passed.
        EXPECT_EQ(std::vector<int>(CheckpointsInOrder, CheckpointsInOrder + CheckpointCount), PositionsSet());
    }
}

TEST_F(InstallSequence, WordBaseOfTheCurrentKindIsReplacedWhenTheAnswerIsYes)
{
    PlaceOldWordBase("\x80 current index");
    SetFileAttributesA(PathOf("wordbase.dat").c_str(), ReadOnlyAndHidden);
    answerer.answerId = IDYES;
    ASSERT_EQ(1, RunInstallSequence());
    EXPECT_EQ(1, answerer.dialogs);
    EXPECT_EQ("", CompareWithProduct(dir, {"uiprefs.ini"}));
}

// The destination, a backslash and a target name must fit 260 bytes; when they
// do not, the first required row fails and nothing is written anywhere.
TEST_F(InstallSequence, DestinationTooLongForItsTargetPathsFailsCleanly)
{
    std::string deep = dir;
    while (deep.size() < 230) {
        deep += "\\deeper_folder";
        ASSERT_TRUE(CreateDirectoryA(deep.c_str(), 0)) << deep;
    }
    // 247 bytes, the longest folder path Windows accepts: a backslash and "syllables.dic" no longer fit.
    deep += "\\" + std::string(247 - deep.size() - 1, 'x');
    ASSERT_TRUE(CreateDirectoryA(deep.c_str(), 0)) << deep;
    ASSERT_LT((int)deep.size(), PathBufferBytes);
    lstrcpyA(InstallDir, deep.c_str());
    std::string log = dir + "_too_long.log";
    ASSERT_TRUE(OpenInstallLog(log.c_str()));

    EXPECT_EQ(0, RunInstallSequence());
    CloseInstallLog();
    std::string text = ReadWholeFile(log);
    EXPECT_NE(std::string::npos, text.find("FAILED, the install stops: syllables.dic: Windows error 206 (")) << text;
    EXPECT_EQ(std::vector<int>({ 10 }), PositionsSet());
    unsigned long long bytes;
    EXPECT_EQ(0, CountFiles(deep, &bytes)) << "no file, not even one with a cut name";
    EXPECT_EQ(0, CountFiles(deep.substr(0, deep.rfind('\\')), &bytes));
}

// Also on Windows 95, 98 and ME, which refuse to open a file shared for deletion.
TEST_F(InstallSequence, SharedSettingsReplaceAReadOnlyHiddenCopyInTheWindowsDirectory)
{
    for (int windows9x : { 0, 1 }) {
        ASSERT_TRUE(WriteWholeFile(setupDir + "SharedSet2.bin", std::string("new shared\0settings", 19), 0));
        ASSERT_TRUE(WriteWholeFile(windowsDir + "SharedSet2.bin", "older copy", ReadOnlyAndHidden));
        ASSERT_TRUE(ImitateWindows9x(windows9x));
        ASSERT_EQ(1, RunInstallSequence());
        ImitateWindows9x(0);
        EXPECT_EQ(std::string("new shared\0settings", 19), ReadWholeFile(windowsDir + "SharedSet2.bin"));
        EXPECT_EQ(0u, InstalledAttributes(windowsDir + "SharedSet2.bin")) << "the older copy was not removed first";
    }
}

TEST_F(InstallSequence, WithoutSharedSettingsTheWindowsDirectoryIsLeftAlone)
{
    ASSERT_TRUE(WriteWholeFile(windowsDir + "SharedSet2.bin", "older copy", ReadOnlyAndHidden));
    ASSERT_EQ(1, RunInstallSequence());
    EXPECT_EQ("older copy", ReadWholeFile(windowsDir + "SharedSet2.bin"));
    EXPECT_EQ(ReadOnlyAndHidden, InstalledAttributes(windowsDir + "SharedSet2.bin"));
}

// A setup program started from the Windows directory finds its own copy there:
// the copy must not delete the only one, on Windows 95, 98 and ME neither.
TEST_F(InstallSequence, SharedSettingsInTheWindowsDirectoryItselfStayInPlace)
{
    lstrcpyA(SetupDir, windowsDir.c_str());
    ASSERT_TRUE(WriteWholeFile(windowsDir + "SharedSet2.bin", "the only copy", ReadOnlyAndHidden));
    for (int windows9x : { 0, 1 }) {
        ASSERT_TRUE(ImitateWindows9x(windows9x));
        ASSERT_EQ(1, RunInstallSequence());
        ImitateWindows9x(0);
        EXPECT_EQ("the only copy", ReadWholeFile(windowsDir + "SharedSet2.bin"));
    }
}

// The first rows' dictionaries are also cache names; they are replaced whole,
// never deleted first, so a run that stops at the first row leaves them.
TEST_F(InstallSequence, StopAtTheFirstRowLeavesTheOldDictionaries)
{
    ASSERT_TRUE(WriteWholeFile(PathOf("syllables.dic"), "older table", ReadOnlyAndHidden));
    ASSERT_TRUE(WriteWholeFile(PathOf("Charlist.dic"), "older list", ReadOnlyAndHidden));
    ASSERT_TRUE(CreateDirectoryA(PathOf("syllables.dic~new").c_str(), 0));   // no new file can be written
    EXPECT_EQ(0, RunInstallSequence());
    EXPECT_EQ("older table", ReadWholeFile(PathOf("syllables.dic")));
    EXPECT_EQ("older list", ReadWholeFile(PathOf("charlist.dic")));
}

// A power cut can leave a temporary file of a row or of the settings edit, or
// an old file moved aside on Windows 95, 98 and ME, read-only or hidden: the
// next install, into a new folder or over the earlier one, removes them all.
TEST_F(InstallSequence, FilesLeftByAnEarlierRunAreRemovedAndEveryFileReplaced)
{
    const struct { const char *name; DWORD attributes; } leftovers[] = {
        { "syllables.dic~new", ReadOnlyAndHidden }, { "wordbase.dat~new", FILE_ATTRIBUTE_HIDDEN },
        { "uiprefs.ini~new", FILE_ATTRIBUTE_READONLY }, { "Lumabook.exe~old", ReadOnlyAndHidden },
        { "dupcodes.dic~old", FILE_ATTRIBUTE_HIDDEN } };
    for (int windows9x : { 0, 1 }) {
        for (const auto &leftover : leftovers)
            ASSERT_TRUE(WriteWholeFile(PathOf(leftover.name), "left by a power cut", leftover.attributes));
        ASSERT_TRUE(ImitateWindows9x(windows9x));
        EXPECT_EQ(1, RunInstallSequence());
        ImitateWindows9x(0);
        EXPECT_EQ("", CompareWithProduct(dir, {"uiprefs.ini"}));
    }
}

// A damaged required entry at the very end of the table (the main program) is
// found before the first change: the earlier files, the cache files, the whole
// folder stay exactly as they were, and the bar never passes 10.
TEST_F(InstallSequence, DamagedRequiredEntryStopsTheInstallBeforeTheDiskChanges)
{
    ASSERT_TRUE(WriteWholeFile(PathOf("syllables.dic"), "older table", ReadOnlyAndHidden));
    ASSERT_TRUE(WriteWholeFile(PathOf("Lumabook.exe"), "older program", FILE_ATTRIBUTE_READONLY));
    ASSERT_TRUE(WriteWholeFile(PathOf("syllables.dic0101"), "cache", ReadOnlyAndHidden));
    ASSERT_TRUE(WriteWholeFile(PathOf("adjustments.dic"), "cache", ReadOnlyAndHidden));
    std::string before = FolderSnapshot(dir);
    const char damaged[] = "\x78\xDA this is not a deflate stream";
    std::string exe = CopySetupWithEntry(MakeScratchDir("sequence_damaged_setup"), 109, damaged, sizeof(damaged));
    HMODULE damagedSetup = LoadLibraryExA(exe.c_str(), 0, LOAD_LIBRARY_AS_DATAFILE);
    ASSERT_TRUE(damagedSetup) << exe;
    AppInstance = damagedSetup;
    int result = RunInstallSequence();
    AppInstance = setup;
    FreeLibrary(damagedSetup);

    EXPECT_EQ(0, result);
    EXPECT_EQ(before, FolderSnapshot(dir));
    EXPECT_EQ(std::vector<int>({ 10 }), PositionsSet());
    EXPECT_EQ(1, BuffersGivenBack);
}

// The system's answers the checks ask for, as Windows would give them where
// Wine cannot: an access list that refuses some rights (Wine as root grants
// everything), a nearly full volume in clusters, and a Restart Manager that
// names the programs using a file (Wine's answers none).
static DWORD DeniedRights;
static BOOL WINAPI RefuseSomeRights(PSECURITY_DESCRIPTOR, HANDLE, DWORD desired, PGENERIC_MAPPING, PPRIVILEGE_SET,
                                    LPDWORD, LPDWORD granted, LPBOOL allowed)
{
    *granted = desired & ~DeniedRights;
    *allowed = (desired & DeniedRights) == 0;
    return TRUE;
}

static DWORD FreeClusters;
static BOOL WINAPI FewFreeClusters(LPCSTR, LPDWORD sectorsPerCluster, LPDWORD bytesPerSector, LPDWORD freeClusters,
                                   LPDWORD totalClusters)
{
    *sectorsPerCluster = 8, *bytesPerSector = 512, *freeClusters = FreeClusters, *totalClusters = 500000;
    return TRUE;
}

static DWORD ProcessUsingFiles;   // 0: none
static DWORD WINAPI FakeRestartStart(DWORD *session, DWORD, WCHAR *) { return *session = 7, ERROR_SUCCESS; }
static DWORD WINAPI FakeRestartRegister(DWORD, UINT, LPCWSTR *, UINT, RM_UNIQUE_PROCESS *, UINT, LPCWSTR *) { return 0; }
static DWORD WINAPI FakeRestartEnd(DWORD) { return ERROR_SUCCESS; }
static DWORD WINAPI FakeRestartList(DWORD, UINT *needed, UINT *count, RM_PROCESS_INFO *processes, LPDWORD reasons)
{
    *reasons = 0;
    *needed = *count = ProcessUsingFiles ? 1 : 0;
    ZeroMemory(processes, sizeof(*processes));
    processes->Process.dwProcessId = ProcessUsingFiles;
    lstrcpyW(processes->strAppName, L"Lumabook Writer");
    return ERROR_SUCCESS;
}

// Nothing is changed by any check: the folder as it was, no new folder made.
// NT: a folder this user may not add to, a parent without the right to make
// the destination in it, an earlier file the user may not delete; a running
// program found only by the Restart Manager, which names it, and this process
// itself not counted. Windows 95, 98 and ME: no access lists to ask, the free
// space from clusters alone (GetDiskFreeSpaceExA is missing), a dictionary
// held without sharing found, and found no more once it is released.
TEST_F(InstallSequence, ChecksBeforeTheInstallFindWhatWouldStopItAndChangeNothing)
{
    ASSERT_TRUE(WriteWholeFile(PathOf("syllables.dic"), "older table", ReadOnlyAndHidden));
    ASSERT_TRUE(WriteWholeFile(PathOf("Lumabook.exe"), "older program", FILE_ATTRIBUTE_READONLY));
    std::string before = FolderSnapshot(dir);
    FindSystemFunctions();
    auto realAccessCheck = SecurityAccessCheck;
    auto realFreeSpaceEx = DiskGetFreeSpaceEx;
    auto realRestart = std::make_tuple(RestartStartSession, RestartRegisterResources, RestartGetList, RestartEndSession);
    SecurityAccessCheck = RefuseSomeRights;

    DeniedRights = FILE_ADD_FILE;
    EXPECT_EQ(ChecksNotWritable, CheckBeforeInstall());
    EXPECT_EQ(dir, InstallChecks.Refused);
    DeniedRights = DELETE | FILE_DELETE_CHILD;
    EXPECT_EQ(ChecksNotWritable, CheckBeforeInstall());
    EXPECT_EQ(PathOf("syllables.dic"), InstallChecks.Refused) << "the first earlier file of the table";
    DeniedRights = FILE_ADD_SUBDIRECTORY;
    lstrcpyA(InstallDir, PathOf("New").c_str());
    EXPECT_EQ(ChecksNotWritable, CheckBeforeInstall());
    EXPECT_EQ(dir + "\\", InstallChecks.Refused);
    lstrcpyA(InstallDir, dir.c_str());
    EXPECT_EQ(ChecksPassed, CheckBeforeInstall()) << "the folder exists: nothing is made in its parent";

    DeniedRights = 0;
    RestartStartSession = FakeRestartStart;
    RestartRegisterResources = FakeRestartRegister;
    RestartGetList = FakeRestartList;
    RestartEndSession = FakeRestartEnd;
    ProcessUsingFiles = GetCurrentProcessId();
    EXPECT_EQ(ChecksPassed, CheckBeforeInstall()) << "the setup program itself holds nothing";
    ProcessUsingFiles = GetCurrentProcessId() + 4;
    EXPECT_EQ(ChecksFilesInUse, CheckBeforeInstall());
    EXPECT_STREQ("syllables.dic", InstallChecks.HeldFile);
    EXPECT_STREQ("Lumabook Writer", InstallChecks.HoldingPrograms);
    std::tie(RestartStartSession, RestartRegisterResources, RestartGetList, RestartEndSession) = realRestart;

    ASSERT_TRUE(ImitateWindows9x(1));
    DeniedRights = FILE_ADD_FILE | DELETE | FILE_DELETE_CHILD | FILE_ADD_SUBDIRECTORY;
    DiskGetFreeSpaceEx = 0;
    auto realFreeSpace = ReplaceImport("kernel32.dll", "GetDiskFreeSpaceA", (void *)FewFreeClusters);
    FreeClusters = 100;
    EXPECT_EQ(ChecksTooLittleSpace, CheckBeforeInstall()) << "no access list asked; 400 KiB free";
    EXPECT_EQ(0u, InstallChecks.FreeMegabytes);
    unsigned long long productBytes = 0;
    CountFiles(ProductDir(), &productBytes);
    EXPECT_GT(InstallChecks.NeededMegabytes, (unsigned long)(productBytes >> 20));
    FreeClusters = 400000;
    HeldFile held;
    ASSERT_TRUE(HoldFileInAnotherProcess(PathOf("syllables.dic"), &held));
    EXPECT_EQ(ChecksFilesInUse, CheckBeforeInstall());
    EXPECT_STREQ("syllables.dic", InstallChecks.HeldFile);
    ReleaseHeldFile(&held);
    EXPECT_EQ(ChecksPassed, CheckBeforeInstall());
    ReplaceImport("kernel32.dll", "GetDiskFreeSpaceA", realFreeSpace);
    ImitateWindows9x(0);
    DiskGetFreeSpaceEx = realFreeSpaceEx;
    SecurityAccessCheck = realAccessCheck;

    EXPECT_EQ(before, FolderSnapshot(dir));
    EXPECT_EQ(INVALID_FILE_ATTRIBUTES, GetFileAttributesA(PathOf("New").c_str()));
}

// A running product holds its settings file: the new one cannot take its
// place, so the install stops with the cause in the log, every file as it was
// and no shortcut made.
TEST_F(InstallSequence, SettingsHeldByARunningProductStopTheInstallWithTheirCause)
{
    std::string log = dir + "_held.log";
    ASSERT_TRUE(OpenInstallLog(log.c_str()));
    ASSERT_TRUE(WriteWholeFile(PathOf("uiprefs.ini"), "older settings", ReadOnlyAndHidden));
    std::string before = FolderSnapshot(dir);
    HeldFile holder;
    ASSERT_TRUE(HoldFileInAnotherProcess(PathOf("uiprefs.ini"), &holder));
    int result = RunInstallSequence();
    ReleaseHeldFile(&holder);
    CloseInstallLog();

    EXPECT_EQ(0, result);
    std::string text = ReadWholeFile(log);
    EXPECT_NE(std::string::npos, text.find("file FAILED, the install stops: " + dir + "\\uiprefs.ini: Windows error "))
        << text;
    EXPECT_NE(std::string::npos, text.find("install undone: every file is as it was")) << text;
    EXPECT_EQ(std::string::npos, text.find("link ")) << text;
    EXPECT_EQ(before, FolderSnapshot(dir));
}

// An install stopped at a chosen step: by Cancel (the wizard's flag, set from
// the install's pulse once a chosen file is written beside its target), or by
// its process being killed there, in a child of this test program.
static std::string StopStaged;   // the file whose new copy stops the install once written
static int StopAfterSwaps = -1;  // or: the renames after which it stops
static int StopByKilling;

static int FilesRenamedIn()
{
    int renamed = 0;
    for (int i = 0; i < RecordedFileCount(); i++)
        renamed += !FileIsPresent(std::string(RecordedFile(i)) + "~new");
    return renamed;
}

static void StopAtTheChosenStep()
{
    int stop = !InstallCanBeCancelled ? StopAfterSwaps >= 0 && FilesRenamedIn() >= StopAfterSwaps
                                      : !StopStaged.empty() && FileIsPresent(StopStaged + "~new");
    if (stop && StopByKilling)
        TerminateProcess(GetCurrentProcess(), 9);
    if (stop)
        InstallCancelled = 1;
}

// Run only as the child that a test below starts: the install of the folders
// it names, killed at its step.
TEST_F(InstallSequence, ChildKilledAtAChosenStep)
{
    char folders[3 * MAX_PATH], step[MAX_PATH];
    if (!GetEnvironmentVariableA("LUMABOOK_KILL_FOLDERS", folders, sizeof(folders)))
        GTEST_SKIP() << "only as the child of the stopped-install tests";
    GetEnvironmentVariableA("LUMABOOK_KILL_STEP", step, sizeof(step));
    sscanf(folders, "%259[^|]|%259[^|]|%259[^|]", InstallDir, WindowsDir, SetupDir);
    StopByKilling = 1;
    StopAfterSwaps = step[0] == '#' ? atoi(step + 1) : -1;
    StopStaged = step[0] == '#' ? "" : std::string(InstallDir) + "\\" + step;
    InstallPulse = StopAtTheChosenStep;
    RunInstallSequence();
    ADD_FAILURE() << "the install was not stopped at " << step;
}

class StoppedInstall : public InstallSequence {
protected:
    std::string shared;

    // An earlier installation of every file, recognisable, with its
    // attributes, the shared settings in the Windows directory and a new copy
    // of them beside the setup program; the folder and that file as they are.
    std::string PlaceEarlierProduct()
    {
        for (const std::string &name : ProductFileNames())
            EXPECT_TRUE(WriteWholeFile(dir + "\\" + name, "earlier " + name, ExpectedAttributes(name)));
        shared = windowsDir + "SharedSet2.bin";
        EXPECT_TRUE(WriteWholeFile(shared, "earlier shared settings", ReadOnlyAndHidden));
        EXPECT_TRUE(WriteWholeFile(setupDir + "SharedSet2.bin", "new shared settings", 0));
        return Snapshot();
    }

    std::string Snapshot() { return FolderSnapshot(dir) + ReadWholeFile(shared); }

    // The child installs, and is killed at the step; this process then settles
    // what it left, as the next run of the setup program does.
    void KillAt(const std::string &step)
    {
        std::string folders = dir + "|" + windowsDir + "|" + setupDir;
        SetEnvironmentVariableA("LUMABOOK_KILL_FOLDERS", folders.c_str());
        SetEnvironmentVariableA("LUMABOOK_KILL_STEP", step.c_str());
        char self[MAX_PATH];
        GetModuleFileNameA(0, self, sizeof(self));
        std::string command = std::string("\"") + self + "\" --gtest_filter=InstallSequence.ChildKilledAtAChosenStep";
        STARTUPINFOA startup = { sizeof(startup) };
        PROCESS_INFORMATION child;
        ASSERT_TRUE(CreateProcessA(0, &command[0], 0, 0, FALSE, 0, 0, 0, &startup, &child));
        WaitForSingleObject(child.hProcess, INFINITE);
        DWORD code = 0;
        GetExitCodeProcess(child.hProcess, &code);
        CloseHandle(child.hProcess);
        CloseHandle(child.hThread);
        SetEnvironmentVariableA("LUMABOOK_KILL_FOLDERS", 0);
        EXPECT_EQ(9u, code) << "the child was not killed at " << step;
        EXPECT_TRUE(SettleStoppedInstall(dir.c_str()));
    }
};

// Cancel after the first, a middle and the last file, the main program held
// when its new copy comes to take its name, and a reinstall whose drive fills
// once it has begun: every file of the earlier installation, the
// shared settings and the caches as they were; nothing beside them.
TEST_F(StoppedInstall, CancelledOrFailedLeavesTheEarlierProductExactlyAsItWas)
{
    std::string before = PlaceEarlierProduct();
    InstallPulse = StopAtTheChosenStep;
    for (const char *name : { "syllables.dic", "UserGuide.chm", "Lumabook.exe" }) {
        StopStaged = dir + "\\" + name;
        EXPECT_EQ(0, RunInstallSequence()) << name;
        EXPECT_EQ(before, Snapshot()) << "cancelled after " << name;
    }
    InstallPulse = 0;
    StopStaged = "";
    for (int windows9x : { 0, 1 }) {
        HeldFile held;   // the last file to take its name, held: all the others are put back
        ASSERT_TRUE(HoldFileInAnotherProcess(PathOf("Lumabook.exe"), &held));
        ASSERT_TRUE(ImitateWindows9x(windows9x));
        EXPECT_EQ(0, RunInstallSequence());
        ImitateWindows9x(0);
        ReleaseHeldFile(&held);
        EXPECT_EQ(before, Snapshot()) << "the main program held, on Windows " << (windows9x ? "95" : "NT");
    }
    if (GetFileAttributesA("X:\\") != INVALID_FILE_ATTRIBUTES) {
        dir = "X:\\StoppedInstall";
        CreateDirectoryA(dir.c_str(), 0);
        lstrcpyA(InstallDir, dir.c_str());
        before = PlaceEarlierProduct();
        EXPECT_EQ(0, RunInstallSequence());
        EXPECT_EQ(before, Snapshot()) << "the drive filled";
        for (const std::string &name : ProductFileNames()) {
            SetFileAttributesA((dir + "\\" + name).c_str(), FILE_ATTRIBUTE_NORMAL);
            DeleteFileA((dir + "\\" + name).c_str());
        }
    }
}

// Killed while the new files are written, the install is undone at the next
// run; killed while they take their names (after the first, and after the
// 60th), it is completed, every new file having been on the disk before.
TEST_F(StoppedInstall, KilledIsSettledAtTheNextRunNeverAMix)
{
    std::string before = PlaceEarlierProduct();
    for (const char *step : { "syllables.dic", "UserGuide.chm", "Lumabook.exe" }) {
        KillAt(step);
        EXPECT_EQ(before, Snapshot()) << "killed after writing " << step;
    }
    for (const char *step : { "#1", "#60" }) {
        KillAt(step);
        EXPECT_EQ("", CompareWithProduct(dir, { "uiprefs.ini" })) << "killed after renames " << step;
        EXPECT_EQ("new shared settings", ReadWholeFile(shared));
        PlaceEarlierProduct();
    }
}

// The log's disk fills after the claim of success: the claim goes with the line
// that did not fit, and the last line says why the log ends. Causes without a
// Windows error are named in words.
TEST(InstallLog, CutShortItNeverEndsInAClaimOfSuccess)
{
    if (GetFileAttributesA("X:\\") == INVALID_FILE_ATTRIBUTES)
        GTEST_SKIP() << "no small drive X: (the tests run without root)";
    const char path[] = "X:\\cut_short.log";
    ASSERT_TRUE(OpenInstallLog(path));
    LogFailure(ErrorPayloadEntryDamaged, "file failed: a");   // the log takes its page of the disk
    LogFailure(ERROR_SUCCESS, "file failed: b");
    ASSERT_TRUE(FillDiskWithFile("X:\\cut_short_filler.bin"));
    LogInstallResult(1);
    LogLine("%s", std::string(5000, 'x').c_str());   // more than the log's page still holds
    LogLine("exit code: 0");
    EXPECT_FALSE(CloseInstallLog());
    DeleteFileA("X:\\cut_short_filler.bin");
    std::string text = ReadWholeFile(path);
    DeleteFileA(path);
    EXPECT_EQ("file failed: a: the setup program's copy of this file is missing or damaged; download the setup "
              "program again\r\nfile failed: b: no cause was reported\r\n"
              "log cut short here, the lines after this one are lost: Windows error 112 (",
              text.substr(0, text.find('(') + 1));
    EXPECT_EQ("\r\n", text.substr(text.size() - 2));
}

static void RemoveLinkGroup(const std::string &group)
{
    for (const char *link : { "\\Lumabook Writer.lnk", "\\Lumabook UnInstall.lnk", "\\蓝桥墨文本编辑.lnk",
                              "\\蓝桥墨文本编辑卸载.lnk" })
        DeleteFileA((group + link).c_str());
    RemoveDirectoryA(group.c_str());
}

// A Chinese system whose ANSI code page is reported by the stand-ins below.
static UINT StandInCodePage;
static UINT WINAPI StandInGetACP()
{
    return StandInCodePage;
}
static BOOL WINAPI StandInGetCPInfo(UINT, LPCPINFO info)
{
    ZeroMemory(info, sizeof(*info));
    info->MaxCharSize = StandInCodePage == CP_UTF8 ? 4 : 2;
    return TRUE;
}
static LANGID WINAPI SimplifiedChineseSystem()
{
    return MAKELANGID(LANG_CHINESE, SUBLANG_CHINESE_SIMPLIFIED);
}

// A simplified Chinese system set to UTF-8 (code page 65001, four bytes a
// character) passes the probe, yet GB2312 names would show there as
// replacement characters: its links get the ASCII names. On 936 they are
// GB2312; Wine writes such names only when it runs on 936 itself, so that
// case runs under LANG=zh_CN.UTF-8 (ctest runs this test there too).
TEST_F(InstallSequence, LinkNamesAreGb2312OnlyWhereTheAnsiCodePageIs936)
{
    const UINT systemCodePage = GetACP();
    struct { UINT codePage; const char *group; const char *otherGroup; } systems[] = {
        { CP_UTF8, "Lumabook Writer", "蓝桥墨文本编辑" },
        { 936, "蓝桥墨文本编辑", "Lumabook Writer" },
    };
    void *getACP = ReplaceImport("kernel32.dll", "GetACP", (void *)StandInGetACP);
    void *getCPInfo = ReplaceImport("kernel32.dll", "GetCPInfo", (void *)StandInGetCPInfo);
    void *getLanguage = ReplaceImport("kernel32.dll", "GetSystemDefaultLangID", (void *)SimplifiedChineseSystem);
    ASSERT_TRUE(getACP && getCPInfo && getLanguage);
    char programs[MAX_PATH] = "";
    SHGetSpecialFolderPathA(0, programs, CSIDL_PROGRAMS, FALSE);
    for (const auto &system : systems) {
        if (system.codePage == 936 && systemCodePage != 936)
            continue;
        SCOPED_TRACE(system.codePage);
        StandInCodePage = system.codePage;
        SystemChineseVariant = ProbeSystemChineseVariant();
        EXPECT_EQ(1, SystemChineseVariant) << "the probe takes it for a simplified Chinese system";
        std::string group = std::string(programs) + "\\" + system.group;
        std::string otherGroup = std::string(programs) + "\\" + system.otherGroup;
        RemoveLinkGroup(group);
        RemoveLinkGroup(otherGroup);
        EXPECT_EQ(1, RunInstallSequence());
        EXPECT_TRUE(FileIsPresent(group + "\\" + system.group + ".lnk")) << group;
        EXPECT_FALSE(FileIsPresent(otherGroup)) << otherGroup;
        RemoveLinkGroup(group);
    }
    ReplaceImport("kernel32.dll", "GetACP", getACP);
    ReplaceImport("kernel32.dll", "GetCPInfo", getCPInfo);
    ReplaceImport("kernel32.dll", "GetSystemDefaultLangID", getLanguage);
}
