// Replacing a file whole: the new contents go into a temporary file beside it,
// which takes the file's name only once it is complete, on the disk and closed.
// Until then the old file stays as it was, attributes included.
#include "install/file_replace.h"
#include "install/payload_store.h"
#include "startup/shared_state.h"
#include <stdio.h>

static const char TempFileSuffix[] = "~new";
// Where the old file waits, on Windows 95, 98 and ME, while the new one takes its name.
static const char AsideFileSuffix[] = "~old";
static_assert(sizeof(TempFileSuffix) - 1 == TempFileSuffixLength, "the suffix and its length differ");
static_assert(sizeof(AsideFileSuffix) - 1 == TempFileSuffixLength, "the suffix and its length differ");
const DWORD WriteSliceBytes = 4 * 1024 * 1024;

// The bits of an old file that its replacement keeps besides those the caller asks for.
const DWORD CarriedAttributes = FILE_ATTRIBUTE_SYSTEM | FILE_ATTRIBUTE_ARCHIVE | FILE_ATTRIBUTE_NOT_CONTENT_INDEXED;

// The temporary and aside files are the target's name with a suffix, in the
// target's own folder, so that taking the target's name is a rename on one
// volume and never a copy. Fixed names rather than GetTempFileNameA: that call
// creates and probes a file of its own, which doubled the cost of a small file
// under Wine, and a name left by a power cut is dealt with by the next install.
static int PathBeside(const char *path, const char *suffix, char *result)
{
    int length = snprintf(result, PathBufferBytes, "%s%s", path, suffix);
    return length >= 0 && length < PathBufferBytes;
}

// The file is created with its final attributes: the handle that creates a
// read-only file may still write it, and no second call is needed afterwards.
// A temporary file left read-only by an earlier run is removed and made anew.
static HANDLE CreateTempFile(const char *temp, DWORD attributes)
{
    DWORD flags = attributes ? attributes : FILE_ATTRIBUTE_NORMAL;
    HANDLE file = CreateFileA(temp, GENERIC_WRITE, 0, 0, CREATE_ALWAYS, flags, 0);
    if (file != INVALID_HANDLE_VALUE)
        return file;
    DeleteFileForced(temp);
    return CreateFileA(temp, GENERIC_WRITE, 0, 0, CREATE_ALWAYS, flags, 0);
}

// The block is written in slices with the install's pulse between them, so
// that a slow disk or a share does not keep a window from answering through
// the largest file; a full disk shows as a short or failed write.
static int WriteInSlices(HANDLE file, const unsigned char *data, unsigned long length, DWORD *error)
{
    unsigned long done = 0;
    while (done < length) {
        DWORD slice = length - done < WriteSliceBytes ? length - done : WriteSliceBytes;
        DWORD written = 0;
        if (!WriteFile(file, data + done, slice, &written, 0)) {
            *error = GetLastError();
            return 0;
        }
        if (written != slice) {
            *error = ERROR_DISK_FULL;
            return 0;
        }
        done += slice;
        if (InstallPulse)
            InstallPulse();
    }
    return 1;
}

// The data is flushed before the file is closed and renamed: a file system
// may put the rename on the disk before the data, and a power cut in between
// would leave the target empty. A flush that fails is a failed write.
static int WriteWholeFile(const char *temp, const void *data, unsigned long length, DWORD attributes, int flush)
{
    HANDLE file = CreateTempFile(temp, attributes);
    if (file == INVALID_HANDLE_VALUE)
        return 0;
    DWORD error = ERROR_SUCCESS;
    int complete = WriteInSlices(file, (const unsigned char *)data, length, &error);
    if (complete && flush && !FlushFileBuffers(file)) {
        complete = 0;
        error = GetLastError();
    }
    BOOL closed = CloseHandle(file);
    if (complete && !closed)
        error = GetLastError();
    SetLastError(error);
    return complete && closed;
}

// The clean-up after a failure keeps the Windows error that caused it, which
// the install's log reports.
static int FailWithoutTemp(const char *temp)
{
    DWORD error = GetLastError();
    DeleteFileForced(temp);
    SetLastError(error);
    return 0;
}

// An aside file is left only by a power cut during a replace on Windows 95, 98
// or ME. Without the target it is the old file, which had not been replaced
// yet, and it is put back; beside the target it is an old copy that would
// block the next rename aside, and it goes, read-only or hidden as it may be.
static void SettleAsideFile(const char *path, const char *aside)
{
    if (GetFileAttributesA(aside) == INVALID_FILE_ATTRIBUTES)
        return;
    if (GetFileAttributesA(path) == INVALID_FILE_ATTRIBUTES)
        MoveFileA(aside, path);
    else
        DeleteFileForced(aside);
}

// The old file is renamed aside, the new one renamed in, and only then is the
// old one deleted, so that at every moment one of them is whole under a name
// the next install knows. When the new one cannot take the name, the old one
// is put back. An aside file that cannot be deleted now goes with the next install.
static int RenameAsideAndIn(const char *temp, const char *path, const char *aside)
{
    if (!MoveFileA(path, aside))
        return 0;
    if (!MoveFileA(temp, path)) {
        DWORD error = GetLastError();
        MoveFileA(aside, path);
        SetLastError(error);
        return 0;
    }
    DeleteFileForced(aside);
    return 1;
}

// The complete new file takes the target's name. NT replaces the old file in
// one call. Windows 95, 98 and ME have MoveFileExA only as a stub that fails
// with ERROR_CALL_NOT_IMPLEMENTED, and MoveFileA never renames over an
// existing file, so there the old file is moved aside first.
static int MoveIntoPlace(const char *temp, const char *path, const char *aside, int existed)
{
    if (IsNtPlatform)
        return MoveFileExA(temp, path, MOVEFILE_REPLACE_EXISTING);
    return existed ? RenameAsideAndIn(temp, path, aside) : MoveFileA(temp, path);
}

// A file kept as it is: what an interrupted replace left beside it is settled
// as the next replace of it would, so that nothing stays behind.
void SettleReplaceLeftovers(const char *path)
{
    char temp[PathBufferBytes];
    char aside[PathBufferBytes];
    if (!PathBeside(path, TempFileSuffix, temp) || !PathBeside(path, AsideFileSuffix, aside))
        return;
    SettleAsideFile(path, aside);
    DeleteFileForced(temp);
}

// Returns 1 when the path holds exactly the data, with the attributes asked
// for (read-only, hidden) and the old file's system, archive and indexing bits.
// On 0 the old file, if any, is whole with its attributes and no temporary or
// aside file is left; the Windows error of the failing step stays for the log.
int ReplaceFileWhole(const char *path, const void *data, unsigned long length, DWORD addAttributes, int flush)
{
    char temp[PathBufferBytes];
    char aside[PathBufferBytes];
    if (!PathBeside(path, TempFileSuffix, temp) || !PathBeside(path, AsideFileSuffix, aside))
        return 0;
    SettleAsideFile(path, aside);
    DWORD previous = GetFileAttributesA(path);
    int existed = previous != INVALID_FILE_ATTRIBUTES;
    if (existed && (previous & FILE_ATTRIBUTE_DIRECTORY)) {
        SetLastError(ERROR_ACCESS_DENIED);   // a folder of that name is no file to replace
        return 0;
    }
    DWORD attributes = (existed ? previous & CarriedAttributes : 0) | (addAttributes & ReplaceableAttributes);
    if (!WriteWholeFile(temp, data, length, attributes, flush))
        return FailWithoutTemp(temp);
    // A read-only (or hidden) file is not replaced or renamed by every system.
    if (existed && (previous & ReplaceableAttributes))
        WriteFileAttributes(path, previous & ~ReplaceableAttributes);
    if (!MoveIntoPlace(temp, path, aside, existed)) {
        DWORD error = GetLastError();
        if (existed)
            WriteFileAttributes(path, previous);
        SetLastError(error);
        return FailWithoutTemp(temp);
    }
    return 1;
}

// The install's files change in two steps, each of which can be undone. First
// every new file is written whole beside its target, under the temporary name,
// with the attributes it will carry (a file without an old one straight under
// its name); then, once all are there, each target is renamed aside and its
// new file renamed in. Renames on one volume are quick
// and never copy, and at every moment each name is either the old file, the
// new one, or the old one waiting aside to be put back.
int StageFileWhole(const char *path, const void *data, unsigned long length, DWORD addAttributes, int flush)
{
    char temp[PathBufferBytes];
    if (!PathBeside(path, TempFileSuffix, temp))
        return 0;
    DWORD previous = GetFileAttributesA(path);
    int existed = previous != INVALID_FILE_ATTRIBUTES;
    if (existed && (previous & FILE_ATTRIBUTE_DIRECTORY)) {
        SetLastError(ERROR_ACCESS_DENIED);
        return 0;
    }
    DWORD attributes = (existed ? previous & CarriedAttributes : 0) | (addAttributes & ReplaceableAttributes);
    // A file that was not there has no old contents to keep: it is written
    // under its own name, and removed again if the install is undone.
    // A new copy an earlier run left beside it must not take its place later.
    const char *written = existed ? temp : path;
    if (!existed)
        DeleteFileForced(temp);
    if (!WriteWholeFile(written, data, length, attributes, flush))
        return FailWithoutTemp(written);
    return 1;
}

int HasStagedFile(const char *path)
{
    char temp[PathBufferBytes];
    return PathBeside(path, TempFileSuffix, temp) && GetFileAttributesA(temp) != INVALID_FILE_ATTRIBUTES;
}

// An aside file left by an earlier run that was not settled would block the
// rename aside; the target is whole, so the aside copy goes.
int SwapStagedFile(const char *path)
{
    char temp[PathBufferBytes];
    char aside[PathBufferBytes];
    if (!PathBeside(path, TempFileSuffix, temp) || !PathBeside(path, AsideFileSuffix, aside))
        return 0;
    if (GetFileAttributesA(path) != INVALID_FILE_ATTRIBUTES) {
        DeleteFileForced(aside);
        if (!MoveFileA(path, aside))
            return 0;
    }
    if (MoveFileA(temp, path))
        return 1;
    DWORD error = GetLastError();
    MoveFileA(aside, path);
    SetLastError(error);
    return 0;
}

// Puts the old file back (or removes a new one that had no old one) and
// removes what the install left beside it.
void UndoStagedFile(const char *path, int existed)
{
    char temp[PathBufferBytes];
    char aside[PathBufferBytes];
    if (!PathBeside(path, TempFileSuffix, temp) || !PathBeside(path, AsideFileSuffix, aside))
        return;
    DeleteFileForced(temp);
    if (GetFileAttributesA(aside) != INVALID_FILE_ATTRIBUTES) {
        DeleteFileForced(path);
        MoveFileA(aside, path);
    } else if (!existed) {
        DeleteFileForced(path);
    }
}

// Finishes what a swap began: a new file still waiting takes its place, and
// the old one aside goes.
int CompleteStagedFile(const char *path)
{
    char temp[PathBufferBytes];
    char aside[PathBufferBytes];
    if (!PathBeside(path, TempFileSuffix, temp) || !PathBeside(path, AsideFileSuffix, aside))
        return 0;
    if (GetFileAttributesA(temp) != INVALID_FILE_ATTRIBUTES && !SwapStagedFile(path))
        return 0;
    DeleteFileForced(aside);
    return 1;
}
