// The installation itself: one buffer, the progress bar, the word-base question,
// the cache files, the file table, the settings, the shortcuts and the shared
// control-settings file, in that order.
#include "install/install_sequence.h"
#include "install/file_table.h"
#include "install/payload_store.h"
#include "install/install_path.h"
#include "install/edition_record.h"
#include "install/install_log.h"
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

// The table opens with the checkpoint that was set before the word-base
// question; the walk starts behind it so the bar gets that position only once.
int ExtractFileTable(unsigned char *buffer)
{
    for (int i = 1; i < FileTableRowCount; i++) {
        const FileTableRow &row = FileTable[i];
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
        int written = ExtractPayloadFile(row.ResourceId, row.TargetName, buffer, InstallBufferBytes,
                                         (row.Attributes & ReadOnly) != 0, (row.Attributes & Hidden) != 0);
        LogFileResult(row.TargetName, written, written ? ERROR_SUCCESS : GetLastError(), row.Failure == Required);
        if (!written && row.Failure == Required)
            return 0;
        Pulse();
    }
    return 1;
}

// The product reads its language and font choice from the settings file, so a
// failed edit stops the install like a required file: the log tells which
// cause, and a second run (with the product closed) completes it.
static int RecordSettings()
{
    if (!UpdateSettingsFile()) {
        LogFailure(GetLastError(), "settings FAILED, the install stops: %s\\uiprefs.ini not edited", InstallDir);
        return 0;
    }
    char font[SettingsValueBytes];
    char language[SettingsValueBytes];
    int asWritten = ReadBackSettings(font, language);
    LogSettingsReadBack(font, language, asWritten);
    return asWritten;
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

// The source is read whole and then replaces the older copy whole, so that a
// copy that fails leaves the older one as it was. The Windows error of the
// failing step stays for the log.
static int ReplaceWithCopyOf(const char *source, const char *destination)
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
        whole = ReplaceFileWhole(destination, data, size, 0);
    else
        SetLastError(error);
    free(data);
    return whole;
}

// Passed on only when shipped beside the setup program; a read-only or hidden
// older copy must not block it. A path that would not fit is left alone, and so
// is a copy that may be the source itself (a setup program run from the Windows
// directory): replacing the destination there would touch the only copy.
static void CopySharedSettings()
{
    char source[PathBufferBytes];
    char destination[PathBufferBytes];
    int sourceLength = snprintf(source, sizeof(source), SharedSettingsFormat, SetupDir, SharedSettingsVariant);
    if (sourceLength < 0 || sourceLength >= (int)sizeof(source) || !FileExists(source))
        return;
    int destinationLength = snprintf(destination, sizeof(destination), SharedSettingsFormat, WindowsDir,
                                     SharedSettingsVariant);
    if (destinationLength < 0 || destinationLength >= (int)sizeof(destination)) {
        LogLine("shared settings not copied, the path is longer than 259 bytes: %s", WindowsDir);
        return;
    }
    if (FileExists(destination) && MayBeSameFile(source, destination)) {
        LogLine("shared settings kept, they may be the setup program's own copy: %s", destination);
        return;
    }
    if (ReplaceWithCopyOf(source, destination))
        LogLine("shared settings copied: %s -> %s", source, destination);
    else
        LogFailure(GetLastError(), "shared settings FAILED, any older copy stays: %s -> %s", source, destination);
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
    DeleteCacheFiles();
    if (!ExtractFileTable(buffer))
        return 0;
    SetProgressCheckpoint(ProgressFilesWritten);
    SetProgressCheckpoint(ProgressBeforeSettings);
    if (!RecordSettings())
        return 0;
    CreateShortcuts();
    SetProgressCheckpoint(ProgressDesktopLinkMade);
    SetProgressCheckpoint(ProgressComplete);
    CopySharedSettings();
    return 1;
}

int RunInstallSequence()
{
    LinksMissing = 0;
    unsigned char *buffer = (unsigned char *)malloc(InstallBufferBytes);
    if (!buffer) {
        ShowMessageDialog(MemoryShortMessage.Chinese, MemoryShortMessage.English, MessageStyleOk, WizardWindow);
        return 0;
    }
    int installed = InstallWithBuffer(buffer);
    free(buffer);
    return installed;
}
