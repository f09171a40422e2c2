// Turns one payload entry into one file of the install directory.
#include "install/payload_store.h"
#include "install/install_path.h"
#include "install/file_replace.h"
#include "startup/shared_state.h"

// Nothing touches the disk unless the entry inflated completely.
int ExtractPayloadFile(int resourceId, const char *targetName, unsigned char *buffer,
                       unsigned long capacity, int makeReadOnly, int makeHidden)
{
    unsigned long length = capacity;
    if (!InflatePayloadEntry(AppInstance, resourceId, buffer, &length))
        return 0;
    return WriteInstallFile(targetName, buffer, length, makeReadOnly, makeHidden);
}

// The new file replaces the old one only once it is complete: a write that
// fails leaves the old file as it was, attributes included. The new file gets
// the attributes its row asks for; a replaced file without them ends writable
// and visible.
int WriteInstallFile(const char *targetName, const unsigned char *data, unsigned long length,
                     int makeReadOnly, int makeHidden)
{
    char path[PathBufferBytes];
    if (!BuildInstallPath(path, targetName))
        return 0;
    DWORD attributes = (makeReadOnly ? FILE_ATTRIBUTE_READONLY : 0) | (makeHidden ? FILE_ATTRIBUTE_HIDDEN : 0);
    return ReplaceFileWhole(path, data, length, attributes);
}

// A row left out keeps its file as it is; what an earlier run cut short left
// beside it goes, as it would had the row been written.
void KeepInstallFile(const char *targetName)
{
    char path[PathBufferBytes];
    if (BuildInstallPath(path, targetName))
        SettleReplaceLeftovers(path);
}
