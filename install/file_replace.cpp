// Replacing a file whole: the new contents go into a temporary file beside it,
// which takes the file's name only once it is complete and closed. Until then
// the old file stays as it was, attributes included.
#include "install/file_replace.h"
#include "install/payload_store.h"
#include "startup/shared_state.h"
#include <stdio.h>

static const char TempFileSuffix[] = "~new";
static_assert(sizeof(TempFileSuffix) - 1 == TempFileSuffixLength, "the suffix and its length differ");

// The bits of an old file that its replacement keeps besides those the caller asks for.
const DWORD CarriedAttributes = FILE_ATTRIBUTE_SYSTEM | FILE_ATTRIBUTE_ARCHIVE | FILE_ATTRIBUTE_NOT_CONTENT_INDEXED;

// The temporary file is the target's name with a suffix, in the target's own
// folder, so that taking the target's name is a rename on one volume and never
// a copy. A fixed name rather than GetTempFileNameA: that call creates and
// probes a file of its own, which doubled the cost of a small file under Wine,
// and a name left by a power cut is simply written again by the next install.
static int TempPathBeside(const char *path, char *temp)
{
    int length = snprintf(temp, PathBufferBytes, "%s%s", path, TempFileSuffix);
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

// One write call for the whole block; a full disk shows as a short or failed write.
static int WriteWholeFile(const char *temp, const void *data, unsigned long length, DWORD attributes)
{
    HANDLE file = CreateTempFile(temp, attributes);
    if (file == INVALID_HANDLE_VALUE)
        return 0;
    DWORD written = 0;
    BOOL wrote = length == 0 || WriteFile(file, data, length, &written, 0);
    DWORD error = wrote && written != length ? ERROR_DISK_FULL : GetLastError();
    BOOL closed = CloseHandle(file);
    if (wrote && !closed)
        error = GetLastError();
    SetLastError(error);
    return wrote && written == length && closed;
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

// Returns 1 when the path holds exactly the data, with the attributes asked
// for (read-only, hidden) and the old file's system, archive and indexing bits.
// On 0 the old file, if any, is untouched and no temporary file is left.
int ReplaceFileWhole(const char *path, const void *data, unsigned long length, DWORD addAttributes)
{
    char temp[PathBufferBytes];
    if (!TempPathBeside(path, temp))
        return 0;
    DWORD previous = GetFileAttributesA(path);
    int existed = previous != INVALID_FILE_ATTRIBUTES;
    DWORD attributes = (existed ? previous & CarriedAttributes : 0) | (addAttributes & ReplaceableAttributes);
    if (!WriteWholeFile(temp, data, length, attributes))
        return FailWithoutTemp(temp);
    // A read-only (or hidden) file is not replaced by a rename everywhere.
    if (existed && (previous & ReplaceableAttributes))
        WriteFileAttributes(path, previous & ~ReplaceableAttributes);
    if (!MoveFileExA(temp, path, MOVEFILE_REPLACE_EXISTING)) {
        DWORD error = GetLastError();
        if (existed)
            WriteFileAttributes(path, previous);
        SetLastError(error);
        return FailWithoutTemp(temp);
    }
    return 1;
}
