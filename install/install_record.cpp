// The install's record: a small text file in the destination, rewritten whole
// (and flushed) at each phase, and a note in this user's temporary folder that
// names it, so that the next run finds it before it knows its destination.
//
//   Lumabook Writer setup record
//   phase swapping
//   flushed 1
//   folder C:\Lumabook
//   file 1 C:\Lumabook\syllables.dic
//
// Staging (new files beside the old ones) is undone by removing the new
// files; swapping is completed when every new file was flushed before it
// began, else undone; a committed install only has its old files to remove.
#include "install/install_record.h"
#include "install/file_replace.h"
#include "install/payload_store.h"
#include "install/install_log.h"
#include "startup/path_text.h"
#include "startup/shared_state.h"
#include <stdio.h>
#include <stdlib.h>
#include <string.h>

static const char RecordName[] = "LbSetup.rec";
static const char NoteName[] = "LbSetupPending.txt";
static const char RecordHeader[] = "Lumabook Writer setup record";
static const char *const PhaseNames[] = { "staging", "swapping", "committed" };
static const char DocFolderName[] = "doc";
const int RecordedFileLimit = 128;
const int RecordTextBytes = RecordedFileLimit * (PathBufferBytes + 8) + 4 * PathBufferBytes;

struct RecordedFileEntry {
    char Path[PathBufferBytes];
    int Existed;
};

int DestinationFolderMade;
static RecordedFileEntry Entries[RecordedFileLimit];
static int EntryCount;
static char RecordFolder[PathBufferBytes];
static int FoldersMade;

static int PathIn(const char *folder, const char *name, char *path)
{
    int length = snprintf(path, PathBufferBytes, EndsWithBackslash(folder) ? "%s%s" : "%s\\%s", folder, name);
    return length > 0 && length < PathBufferBytes;
}

static int NotePath(char *path)
{
    char temp[PathBufferBytes];
    DWORD length = GetTempPathA(PathBufferBytes, temp);
    return length > 0 && length < (DWORD)PathBufferBytes && PathIn(temp, NoteName, path);
}

void BeginInstallRecord()
{
    EntryCount = 0;
    lstrcpynA(RecordFolder, InstallDir, PathBufferBytes);
    FoldersMade = DestinationFolderMade;
}

int AddRecordedFile(const char *path)
{
    if (EntryCount == RecordedFileLimit)
        return 0;
    lstrcpynA(Entries[EntryCount].Path, path, PathBufferBytes);
    Entries[EntryCount].Existed = GetFileAttributesA(path) != INVALID_FILE_ATTRIBUTES;
    EntryCount++;
    return 1;
}

int RecordedFileCount()
{
    return EntryCount;
}

const char *RecordedFile(int index)
{
    return Entries[index].Path;
}

int RecordedFileExisted(int index)
{
    return Entries[index].Existed;
}

static int AppendLine(char *text, int *used, const char *format, const char *a, const char *b = "")
{
    int length = snprintf(text + *used, RecordTextBytes - *used, format, a, b);
    if (length < 0 || length >= RecordTextBytes - *used)
        return 0;
    *used += length;
    return 1;
}

// The note names the record; both are written whole, the record first. The
// record is flushed where old files could be lost (a reinstall): a fresh
// install cut off by a power failure leaves at worst new files beside no old
// ones, which the next install writes again. The note only helps the next run
// find the record before it knows its destination, and is written once.
int WriteInstallRecord(InstallPhase phase, int newFilesFlushed)
{
    char *text = (char *)malloc(RecordTextBytes);
    char record[PathBufferBytes], note[PathBufferBytes];
    if (!text || !PathIn(RecordFolder, RecordName, record)) {
        free(text);
        return 0;
    }
    int used = 0;
    int whole = AppendLine(text, &used, "%s\r\nphase %s\r\n", RecordHeader, PhaseNames[phase]) &&
                AppendLine(text, &used, "flushed %s\r\n", newFilesFlushed ? "1" : "0") &&
                (!FoldersMade || AppendLine(text, &used, "folder %s\r\n", RecordFolder));
    for (int i = 0; whole && i < EntryCount; i++)
        whole = AppendLine(text, &used, "file %s %s\r\n", Entries[i].Existed ? "1" : "0", Entries[i].Path);
    whole = whole && ReplaceFileWhole(record, text, used, FILE_ATTRIBUTE_HIDDEN, newFilesFlushed);
    if (whole && phase == PhaseStaging && NotePath(note))
        ReplaceFileWhole(note, record, lstrlenA(record), 0, 0);
    free(text);
    return whole;
}

// Folders the install made go when nothing else is in them (a log asked for
// inside the destination keeps it).
static void RemoveMadeFolders()
{
    if (!FoldersMade)
        return;
    char doc[PathBufferBytes];
    if (PathIn(RecordFolder, DocFolderName, doc))
        RemoveDirectoryA(doc);
    RemoveDirectoryA(RecordFolder);
}

void EndInstallRecord()
{
    char record[PathBufferBytes], note[PathBufferBytes];
    if (PathIn(RecordFolder, RecordName, record)) {
        SettleReplaceLeftovers(record);   // what a rewrite cut short left beside it
        DeleteFileForced(record);
    }
    if (NotePath(note))
        DeleteFileForced(note);
    EntryCount = 0;
}

void UndoRecordedFiles()
{
    for (int i = EntryCount - 1; i >= 0; i--)
        UndoStagedFile(Entries[i].Path, Entries[i].Existed);
    EndInstallRecord();
    RemoveMadeFolders();
}

int CompleteRecordedFiles()
{
    int complete = 1;
    for (int i = 0; i < EntryCount; i++)
        if (!CompleteStagedFile(Entries[i].Path)) {
            LogFailure(GetLastError(), "file FAILED to complete: %s", Entries[i].Path);
            complete = 0;
        }
    if (complete)
        EndInstallRecord();
    return complete;
}

// One line of the record, its end cut off; 0 at the end of the text.
static char *NextLine(char **text)
{
    if (!**text)
        return 0;
    char *line = *text;
    char *end = strchr(line, '\n');
    *text = end ? end + 1 : line + strlen(line);
    if (end)
        *end = 0;
    size_t length = strlen(line);
    if (length && line[length - 1] == '\r')
        line[length - 1] = 0;
    return line;
}

// A record that is not whole (its header missing) names nothing to settle.
static int ReadRecord(const char *path, int *phase, int *flushed)
{
    HANDLE file = CreateFileA(path, GENERIC_READ, FILE_SHARE_READ, 0, OPEN_EXISTING, 0, 0);
    if (file == INVALID_HANDLE_VALUE)
        return 0;
    char *text = (char *)malloc(RecordTextBytes + 1);
    DWORD read = 0;
    int ok = text && ReadFile(file, text, RecordTextBytes, &read, 0);
    CloseHandle(file);
    if (!ok) {
        free(text);
        return 0;
    }
    text[read] = 0;
    char *cursor = text, *line = NextLine(&cursor);
    ok = line && strcmp(line, RecordHeader) == 0;
    EntryCount = 0;
    FoldersMade = 0;
    *phase = -1;
    while (ok && (line = NextLine(&cursor))) {
        for (int p = PhaseStaging; p <= PhaseCommitted; p++)
            if (strncmp(line, "phase ", 6) == 0 && strcmp(line + 6, PhaseNames[p]) == 0)
                *phase = p;
        if (strncmp(line, "flushed ", 8) == 0)
            *flushed = line[8] == '1';
        if (strncmp(line, "folder ", 7) == 0)
            FoldersMade = 1;
        if (strncmp(line, "file ", 5) == 0 && line[5] && line[6] == ' ' && EntryCount < RecordedFileLimit) {
            Entries[EntryCount].Existed = line[5] == '1';
            lstrcpynA(Entries[EntryCount++].Path, line + 7, PathBufferBytes);
        }
    }
    free(text);
    return ok && *phase >= 0;
}

static int SettleRecordIn(const char *folder)
{
    char record[PathBufferBytes];
    int phase, flushed = 0;
    lstrcpynA(RecordFolder, folder, PathBufferBytes);
    if (!PathIn(folder, RecordName, record) || GetFileAttributesA(record) == INVALID_FILE_ATTRIBUTES)
        return 1;
    if (!ReadRecord(record, &phase, &flushed)) {
        LogLine("an earlier install's record cannot be read, it is left as it is: %s", record);
        return 0;
    }
    if (phase == PhaseStaging || (phase == PhaseSwapping && !flushed)) {
        UndoRecordedFiles();
        LogLine("an earlier install that stopped was undone: %s", folder);
        return 1;
    }
    int completed = CompleteRecordedFiles();
    LogLine(completed ? "an earlier install that stopped was completed: %s"
                      : "an earlier install that stopped could not be completed: %s", folder);
    return completed;
}

static void FolderOfNote(char *folder)
{
    folder[0] = 0;
    char note[PathBufferBytes];
    if (!NotePath(note))
        return;
    HANDLE file = CreateFileA(note, GENERIC_READ, FILE_SHARE_READ, 0, OPEN_EXISTING, 0, 0);
    if (file == INVALID_HANDLE_VALUE)
        return;
    DWORD read = 0;
    if (ReadFile(file, folder, PathBufferBytes - 1, &read, 0))
        folder[read] = 0;
    CloseHandle(file);
    char *name = (char *)FindLastBackslash(folder);
    if (name)
        *name = 0;
    else
        folder[0] = 0;
}

int SettleStoppedInstall(const char *folder)
{
    char noted[PathBufferBytes];
    FolderOfNote(noted);
    int settled = !noted[0] || SettleRecordIn(noted);
    char note[PathBufferBytes];
    if (noted[0] && settled && NotePath(note))
        DeleteFileForced(note);   // its record is settled, or was gone
    if (folder && folder[0] && lstrcmpiA(folder, noted) != 0)
        settled = SettleRecordIn(folder) && settled;
    return settled;
}
