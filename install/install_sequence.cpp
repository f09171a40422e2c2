// The installation itself: one buffer, the progress bar, the word-base question,
// the cache files, the file table, the settings, the shortcuts and the shared
// control-settings file, in that order.
#include "install/install_sequence.h"
#include "install/file_table.h"
#include "install/payload_store.h"
#include "install/install_path.h"
#include "install/edition_record.h"
#include "install/install_log.h"
#include "install/install_record.h"
#include "install/file_replace.h"
#include "shell/settings_file.h"
#include "shell/shortcuts.h"
#include "wizard/message_dialog.h"
#include "wizard/message_texts.h"
#include "startup/shared_state.h"
#include "startup/system_functions.h"
#include "resources/resource_ids.h"
#include <commctrl.h>
#include <shlobj.h>
#include <stdio.h>
#include <stdlib.h>

// Progress positions after the last table row (percent of the default 0-100 range).
const int ProgressFilesWritten = 70;
const int ProgressBeforeSettings = 90;
const int ProgressStartMenuMade = 94;
const int ProgressDesktopLinkMade = 97;
const int ProgressComplete = 100;

// The stale dictionary caches: each name bare and with every four-digit 0/1 suffix.
static const char *const CacheFileNames[] = { "syllables.dic", "Charlist.dic", "autolearn.dic", "adjustments.dic" };
const int CacheFileNameCount = sizeof(CacheFileNames) / sizeof(CacheFileNames[0]);
const int CacheSuffixDigits = 4;
const int CacheSuffixPasses = 1 << CacheSuffixDigits;
const int CacheSuffixBytes = CacheSuffixDigits + 1;

static const char WordBaseFile[] = "wordbase.dat";
static const char PinyinIndexFile[] = "phrases_pinyin.idx";
// The pinyin index of the current kind of word base starts with a byte with the top bit set.
const int CurrentWordBaseMark = 0x80;

static const char SharedSettingsFormat[] = "%sSharedSet%c.bin";
const char SharedSettingsVariant = '2';

int KeepOldWordBase;
int WordBaseAnswer;
int LinksMissing;
static HWND ProgressBar;
// Rows whose payload entry failed its check: an optional one is left out.
static unsigned char RowLeftOut[FileTableRowLimit];

static void Pulse()
{
    if (InstallPulse)
        InstallPulse();
}

// The thread does not return to its message loop during the install, so the
// bar is repainted by hand at every checkpoint.
static void SetProgressCheckpoint(int position)
{
    SendMessageA(ProgressBar, PBM_SETPOS, (WPARAM)position, 0);
    UpdateWindow(ProgressBar);
    Pulse();
}

static int FileExists(const char *path)
{
    return GetFileAttributesA(path) != INVALID_FILE_ATTRIBUTES;
}

// An index that cannot be opened or read counts as an old kind of word base.
static int PinyinIndexIsCurrentKind()
{
    char path[PathBufferBytes];
    if (!BuildInstallPath(path, PinyinIndexFile))
        return 0;
    FILE *index = fopen(path, "rb");
    if (!index)
        return 0;
    int first = fgetc(index);
    fclose(index);
    return first != EOF && (first & CurrentWordBaseMark) != 0;
}

// Only a word base of the current kind is worth a question; any answer but Yes keeps it.
static void DecideWordBase()
{
    KeepOldWordBase = 0;
    char path[PathBufferBytes];
    if (!BuildInstallPath(path, WordBaseFile) || !FileExists(path))
        return;
    if (PinyinIndexIsCurrentKind()) {
        INT_PTR answer = WordBaseAnswer ? WordBaseAnswer
                                        : ShowMessageDialog(OldWordBaseMessage.Chinese, OldWordBaseMessage.English,
                                                            MessageStyleYesNo, WizardWindow);
        if (answer != IDYES)
            KeepOldWordBase = 1;
    }
    SetCursor(LoadCursorA(0, IDC_WAIT));
}

// Suffix "" for the pass 0000, else the four digits, the last changing fastest.
static void CacheSuffixFor(int pass, char *suffix)
{
    if (pass == 0) {
        suffix[0] = 0;
        return;
    }
    snprintf(suffix, CacheSuffixBytes, "%1d%1d%1d%1d", pass >> 3 & 1, pass >> 2 & 1, pass >> 1 & 1, pass & 1);
}

// The unsuffixed "syllables.dic" and "Charlist.dic" are also rows of the file
// table, which replaces them whole. Deleting them first would only leave the
// product without them when the install stops before their rows.
static int IsFileTableTarget(const char *name)
{
    for (int i = 0; i < FileTableRowCount; i++)
        if (FileTable[i].TargetName && lstrcmpiA(FileTable[i].TargetName, name) == 0)
            return 1;
    return 0;
}

// A name that would not fit the path buffer cannot exist, so it is skipped.
static void DeleteCacheFiles()
{
    char suffix[CacheSuffixBytes];
    char name[PathBufferBytes];
    char path[PathBufferBytes];
    for (int pass = 0; pass < CacheSuffixPasses; pass++) {
        CacheSuffixFor(pass, suffix);
        for (int i = 0; i < CacheFileNameCount; i++) {
            snprintf(name, sizeof(name), "%s%s", CacheFileNames[i], suffix);
            if (!IsFileTableTarget(name) && BuildInstallPath(path, name))
                DeleteFileForced(path);
        }
    }
}

static int RowIsWanted(const FileTableRow &row)
{
    return row.Condition == Always || !KeepOldWordBase;
}

// Checks the stored bytes of every entry the install will write, before the
// first change on the disk, so that a damaged required entry stops the install
// with the disk as it was rather than halfway through the table. A damaged
// optional entry is marked to be left out.
int CheckFileTableEntries()
{
    for (int i = 0; i < FileTableRowCount; i++) {
        const FileTableRow &row = FileTable[i];
        RowLeftOut[i] = 0;
        if (row.ResourceId == 0 || !RowIsWanted(row))
            continue;
        RowLeftOut[i] = !PayloadEntryIsIntact(AppInstance, row.ResourceId);
        if (!RowLeftOut[i])
            continue;
        LogLine(row.Failure == Required ? "payload entry %d damaged, the install stops before any change: %s"
                                        : "payload entry %d damaged, optional, left out: %s",
                row.ResourceId, row.TargetName);
        if (row.Failure == Required)
            return 0;
    }
    return 1;
}

int InstallCancelled;
int InstallCanBeCancelled;
// Where an old file could be lost, each new one is on the disk before any
// name changes; a fresh install has nothing to lose and does not wait.
static int FlushNewFiles;
static char SharedSource[PathBufferBytes];
static char SharedDestination[PathBufferBytes];
static int SharedSettingsWanted;
static const char SettingsFileName[] = "uiprefs.ini";

static int RowIsWritten(int i)
{
    return FileTable[i].ResourceId && RowIsWanted(FileTable[i]) && !RowLeftOut[i];
}

static int AddToRecord(const char *path)
{
    int added = AddRecordedFile(path);
    if (added && RecordedFileExisted(RecordedFileCount() - 1))
        FlushNewFiles = 1;
    return added;
}

// Every file the install will change is in the record before the first of
// them is written.
static int RecordFilesToChange()
{
    BeginInstallRecord();
    FlushNewFiles = 0;
    char path[PathBufferBytes];
    for (int i = 0; i < FileTableRowCount; i++) {
        if (!RowIsWritten(i))
            continue;
        if (!BuildInstallPath(path, FileTable[i].TargetName) || !AddToRecord(path)) {
            LogFileResult(FileTable[i].TargetName, 0, GetLastError(), 1);
            return 0;
        }
    }
    if (SharedSettingsWanted && !AddToRecord(SharedDestination))
        return 0;
    return WriteInstallRecord(PhaseStaging, FlushNewFiles);
}

// The settings file is written with the wizard's answers already in it, so
// that it changes with the other files, all or nothing.
static int StageRow(const FileTableRow &row, unsigned char *buffer)
{
    char path[PathBufferBytes];
    unsigned long length = InstallBufferBytes;
    if (!BuildInstallPath(path, row.TargetName) || !InflatePayloadEntry(AppInstance, row.ResourceId, buffer, &length))
        return 0;
    DWORD attributes = ((row.Attributes & ReadOnly) ? FILE_ATTRIBUTE_READONLY : 0) |
                       ((row.Attributes & Hidden) ? FILE_ATTRIBUTE_HIDDEN : 0);
    if (lstrcmpiA(row.TargetName, SettingsFileName) != 0)
        return StageFileWhole(path, buffer, length, attributes, FlushNewFiles);
    size_t editedLength = 0;
    char *edited = EditedSettingsText((const char *)buffer, length, &editedLength);
    int staged = edited && StageFileWhole(path, edited, editedLength, attributes, FlushNewFiles);
    DWORD error = GetLastError();
    free(edited);
    SetLastError(error);
    return staged;
}

// The table opens with the checkpoint that was set before the word-base
// question; the walk starts behind it so the bar gets that position only once.
// Cancel stops the walk between two files.
static int StageFileTable(unsigned char *buffer)
{
    for (int i = 1; i < FileTableRowCount; i++) {
        const FileTableRow &row = FileTable[i];
        if (InstallCancelled)
            return 0;
        if (row.ResourceId == 0) {
            SetProgressCheckpoint(row.ProgressPosition);
            continue;
        }
        if (!RowIsWanted(row)) {
            KeepInstallFile(row.TargetName);
            LogFileKept(row.TargetName);
            continue;
        }
        if (RowLeftOut[i])
            continue;   // its damage is in the log already
        int written = StageRow(row, buffer);
        LogFileResult(row.TargetName, written, written ? ERROR_SUCCESS : GetLastError(), row.Failure == Required);
        if (!written && row.Failure == Required)
            return 0;
        Pulse();
    }
    return !InstallCancelled;
}

// From here on the install completes: the record says so before the first
// name changes, and again once the last has. A rename that fails (a file a
// program opened meanwhile) undoes them all.
static int SwapStagedFiles()
{
    InstallCanBeCancelled = 0;
    Pulse();
    if (!WriteInstallRecord(PhaseSwapping, FlushNewFiles)) {
        LogFailure(GetLastError(), "the install's record cannot be written, the install stops: %s", InstallDir);
        return 0;
    }
    for (int i = 0; i < RecordedFileCount(); i++) {
        const char *path = RecordedFile(i);
        if (HasStagedFile(path) && !SwapStagedFile(path)) {
            LogFailure(GetLastError(), "file FAILED, the install stops: %s", path);
            return 0;
        }
        Pulse();
    }
    return WriteInstallRecord(PhaseCommitted, FlushNewFiles);
}

// Whatever stops the install before its files are all in place puts every
// file back as it was and removes the folders it made.
static int UndoInstall()
{
    UndoRecordedFiles();
    LogLine("install undone: every file is as it was before the install");
    return 0;
}

// The stale caches go only once the install is sure to complete.
static int CommitInstall()
{
    DeleteCacheFiles();
    return CompleteRecordedFiles();
}

// Read through the system's own profile calls, as the product reads them.
static void LogSettings()
{
    char font[SettingsValueBytes];
    char language[SettingsValueBytes];
    int asWritten = ReadBackSettings(font, language);
    LogSettingsReadBack(font, language, asWritten);
}

// The names follow the system's script, never the language picked in the wizard.
static void CreateShortcuts()
{
    FindSystemFunctions();      // the shell and COM, loaded only now
    const EditionNames *names = LinkNamesFor(SystemChineseVariant, GetACP());
    LinkEntry entries[] = {
        { names->MainLinkName, EditionRecord.MainProgramFile },
        { names->UninstallerLinkName, EditionRecord.UninstallerFile },
        { 0, 0 },
    };
    Pulse();
    CreateStartMenuEntry(names->GroupName, entries, CSIDL_PROGRAMS);
    if (!StartMenuEntryWhole)
        LinksMissing |= StartMenuEntryMissing;
    SetProgressCheckpoint(ProgressStartMenuMade);
    if (DesktopIconWanted && !CreateDesktopLink(EditionRecord.MainProgramFile, names->MainLinkName))
        LinksMissing |= DesktopLinkMissing;
}

// Opens a file only to learn which file it is. NT is asked to share every
// access, deletion included. Windows 95, 98 and ME refuse a CreateFileA that
// names FILE_SHARE_DELETE; they are asked for read access, which the copy needs anyway.
static HANDLE OpenForIdentity(const char *path)
{
    if (IsNtPlatform)
        return CreateFileA(path, 0, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, 0, OPEN_EXISTING, 0, 0);
    return CreateFileA(path, GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, 0, OPEN_EXISTING, 0, 0);
}

// Whether two paths may name one file (also through another spelling of the
// folder). Only two files open at the same time and told apart by volume and
// file index are known to differ: a file that cannot be opened may be the
// other one, and on 9x a file's index holds only while it is open.
static int MayBeSameFile(const char *first, const char *second)
{
    HANDLE a = OpenForIdentity(first);
    HANDLE b = OpenForIdentity(second);
    BY_HANDLE_FILE_INFORMATION aInfo, bInfo;
    int apart = a != INVALID_HANDLE_VALUE && b != INVALID_HANDLE_VALUE && GetFileInformationByHandle(a, &aInfo) &&
                GetFileInformationByHandle(b, &bInfo) &&
                (aInfo.dwVolumeSerialNumber != bInfo.dwVolumeSerialNumber ||
                 aInfo.nFileIndexHigh != bInfo.nFileIndexHigh || aInfo.nFileIndexLow != bInfo.nFileIndexLow);
    if (a != INVALID_HANDLE_VALUE)
        CloseHandle(a);
    if (b != INVALID_HANDLE_VALUE)
        CloseHandle(b);
    return !apart;
}

// The source is read whole and written whole beside the older copy, which it
// replaces with the product's files, all or nothing. The Windows error of the
// failing step stays for the log.
static int StageCopyOf(const char *source, const char *destination)
{
    HANDLE file = CreateFileA(source, GENERIC_READ, FILE_SHARE_READ, 0, OPEN_EXISTING, 0, 0);
    if (file == INVALID_HANDLE_VALUE)
        return 0;
    DWORD size = GetFileSize(file, 0);
    void *data = size != INVALID_FILE_SIZE ? malloc(size ? size : 1) : 0;
    DWORD read = 0;
    int whole = data && ReadFile(file, data, size, &read, 0) && read == size;
    DWORD error = !whole && data ? GetLastError() : ERROR_NOT_ENOUGH_MEMORY;
    CloseHandle(file);
    if (whole)
        whole = StageFileWhole(destination, data, size, 0, FlushNewFiles);
    else
        SetLastError(error);
    free(data);
    return whole;
}

// Passed on only when shipped beside the setup program; a read-only or hidden
// older copy must not block it. A path that would not fit is left alone, and so
// is a copy that may be the source itself (a setup program run from the Windows
// directory): replacing the destination there would touch the only copy.
static void ChooseSharedSettings()
{
    SharedSettingsWanted = 0;
    int sourceLength = snprintf(SharedSource, sizeof(SharedSource), SharedSettingsFormat, SetupDir,
                                SharedSettingsVariant);
    if (sourceLength < 0 || sourceLength >= (int)sizeof(SharedSource) || !FileExists(SharedSource))
        return;
    int destinationLength = snprintf(SharedDestination, sizeof(SharedDestination), SharedSettingsFormat, WindowsDir,
                                     SharedSettingsVariant);
    if (destinationLength < 0 || destinationLength >= (int)sizeof(SharedDestination)) {
        LogLine("shared settings not copied, the path is longer than 259 bytes: %s", WindowsDir);
        return;
    }
    if (FileExists(SharedDestination) && MayBeSameFile(SharedSource, SharedDestination)) {
        LogLine("shared settings kept, they may be the setup program's own copy: %s", SharedDestination);
        return;
    }
    SharedSettingsWanted = 1;
}

// An optional step: a copy that fails leaves the older one and the install goes on.
static void StageSharedSettings()
{
    if (SharedSettingsWanted && !StageCopyOf(SharedSource, SharedDestination)) {
        LogFailure(GetLastError(), "shared settings FAILED, any older copy stays: %s -> %s", SharedSource,
                   SharedDestination);
        SharedSettingsWanted = 0;
    }
}

int ExtractFileTable(unsigned char *buffer)
{
    if (!RecordFilesToChange())
        return 0;
    int staged = StageFileTable(buffer);
    if (staged)
        StageSharedSettings();
    if (!staged || InstallCancelled || !SwapStagedFiles())
        return UndoInstall();
    return CommitInstall();
}

// Everything after the buffer was taken; the caller releases it whatever this returns.
static int InstallWithBuffer(unsigned char *buffer)
{
    ProgressBar = GetDlgItem(WizardWindow, ID_PROGRESS_BAR);
    ShowWindow(ProgressBar, SW_SHOW);
    SetProgressCheckpoint(FileTable[0].ProgressPosition);
    DecideWordBase();
    if (!CheckFileTableEntries())
        return 0;
    Pulse();
    ChooseSharedSettings();
    if (!ExtractFileTable(buffer))
        return 0;
    SetProgressCheckpoint(ProgressFilesWritten);
    SetProgressCheckpoint(ProgressBeforeSettings);
    LogSettings();
    CreateShortcuts();
    SetProgressCheckpoint(ProgressDesktopLinkMade);
    SetProgressCheckpoint(ProgressComplete);
    if (SharedSettingsWanted)
        LogLine("shared settings copied: %s -> %s", SharedSource, SharedDestination);
    return 1;
}

int RunInstallSequence()
{
    LinksMissing = 0;
    InstallCancelled = 0;
    InstallCanBeCancelled = 1;
    unsigned char *buffer = (unsigned char *)malloc(InstallBufferBytes);
    if (!buffer) {
        ShowMessageDialog(MemoryShortMessage.Chinese, MemoryShortMessage.English, MessageStyleOk, WizardWindow);
        return 0;
    }
    int installed = InstallWithBuffer(buffer);
    InstallCanBeCancelled = 0;
    free(buffer);
    return installed;
}
