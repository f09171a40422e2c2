// Replacing a file whole: the new contents go into a temporary file beside it,
// which takes the file's name only once it is complete, flushed and closed.
// Until then the old file stays as it was, attributes included.
#include "install/file_replace.h"
#include "install/payload_store.h"
#include "startup/path_text.h"
#include "startup/shared_state.h"
#include <stdio.h>

static const char TempFilePrefix[] = "lb~";

// The temporary file lies in the target's own folder, so that taking the
// target's name is a rename on one volume and never a copy.
static int MakeTempFileBeside(const char *path, char *temp)
{
    char folder[PathBufferBytes];
    lstrcpynA(folder, path, PathBufferBytes);
    char *last = (char *)FindLastBackslash(folder);
    if (!last)
        return 0;
    last[1] = 0;    // "X:\" stays the root, not the drive's current folder
    return GetTempFileNameA(folder, TempFilePrefix, 0, temp) != 0;
}

// The stream may hold the tail of the data until it is emptied, so a full disk
// can show up only there. The flush is checked by itself because some runtimes'
// fclose does not report a flush that failed inside it.
static int WriteWholeFile(const char *path, const void *data, unsigned long length)
{
    FILE *file = fopen(path, "wb");
    if (!file)
        return 0;
    size_t written = length ? fwrite(data, 1, length, file) : 0;
    int flushed = fflush(file) == 0;
    int closed = fclose(file) == 0;
    return written == length && flushed && closed;
}

// Returns 1 when the path holds exactly the data. On 0 the old file, if any,
// is untouched and no temporary file is left. The new file keeps the old one's
// attribute bits other than read-only and hidden, which the caller decides.
int ReplaceFileWhole(const char *path, const void *data, unsigned long length)
{
    char temp[PathBufferBytes];
    if (!MakeTempFileBeside(path, temp))
        return 0;
    if (!WriteWholeFile(temp, data, length)) {
        DeleteFileA(temp);
        return 0;
    }
    DWORD previous = GetFileAttributesA(path);
    // A read-only (or hidden) file is not replaced by a rename everywhere.
    ClearFileAttributes(path, 1, 1);
    if (!MoveFileExA(temp, path, MOVEFILE_REPLACE_EXISTING)) {
        if (previous != INVALID_FILE_ATTRIBUTES)
            WriteFileAttributes(path, previous);
        DeleteFileA(temp);
        return 0;
    }
    if (previous != INVALID_FILE_ATTRIBUTES)
        WriteFileAttributes(path, previous & ~(DWORD)(FILE_ATTRIBUTE_READONLY | FILE_ATTRIBUTE_HIDDEN));
    return 1;
}
