// Turns one payload entry into one file of the install directory.
#include "install/payload_store.h"
#include "install/install_path.h"
#include "startup/shared_state.h"
#include <stdio.h>

// Nothing touches the disk unless the entry inflated completely.
int ExtractPayloadFile(int resourceId, const char *targetName, unsigned char *buffer,
                       unsigned long capacity, int makeReadOnly, int makeHidden)
{
    unsigned long length = capacity;
    if (!InflatePayloadEntry(AppInstance, resourceId, buffer, &length))
        return 0;
    return WriteInstallFile(targetName, buffer, length, makeReadOnly, makeHidden);
}

// A read-only or hidden file from an earlier installation is made writable
// first; that change is not undone when the write then fails.
int WriteInstallFile(const char *targetName, const unsigned char *data, unsigned long length,
                     int makeReadOnly, int makeHidden)
{
    char path[PathBufferBytes];
    if (!BuildInstallPath(path, targetName))
        return 0;
    ClearFileAttributes(path, 1, 1);
    FILE *file = fopen(path, "wb");
    if (!file)
        return 0;
    size_t written = fwrite(data, 1, length, file);
    // The stream may hold the tail of the data until it is emptied, so a full
    // disk can show up only there. The flush is checked by itself because some
    // runtimes' fclose does not report a flush that failed inside it.
    int flushed = fflush(file) == 0;
    int closed = fclose(file) == 0;
    if (written != length || !flushed || !closed)
        return 0;
    if (makeReadOnly || makeHidden)
        AddFileAttributes(path, makeReadOnly, makeHidden);
    return 1;
}
