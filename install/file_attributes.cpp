// Clearing the read-only and hidden attributes, and deleting files that carry them.
#include "install/payload_store.h"

// SetFileAttributesA wants FILE_ATTRIBUTE_NORMAL, not 0, for a file without attributes.
BOOL WriteFileAttributes(const char *path, DWORD attributes)
{
    return SetFileAttributesA(path, attributes ? attributes : FILE_ATTRIBUTE_NORMAL);
}

// Every attribute bit other than read-only and hidden is written back as read.
int ClearFileAttributes(const char *path, int clearReadOnly, int clearHidden)
{
    DWORD attributes = GetFileAttributesA(path);
    if (attributes == INVALID_FILE_ATTRIBUTES)
        return 0;
    DWORD cleared = attributes;
    if (clearReadOnly)
        cleared &= ~FILE_ATTRIBUTE_READONLY;
    if (clearHidden)
        cleared &= ~FILE_ATTRIBUTE_HIDDEN;
    if (cleared == attributes)
        return 0;
    WriteFileAttributes(path, cleared);
    return 1;
}

int DeleteFileForced(const char *path)
{
    ClearFileAttributes(path, 1, 1);
    return DeleteFileA(path) ? 0 : -1;
}

// Adds read-only and hidden as asked, keeping every other bit; the result is
// not checked, a file whose attributes cannot be set still counts as written.
void AddFileAttributes(const char *path, int makeReadOnly, int makeHidden)
{
    DWORD attributes = GetFileAttributesA(path);
    if (attributes == INVALID_FILE_ATTRIBUTES)
        return;
    if (makeReadOnly)
        attributes |= FILE_ATTRIBUTE_READONLY;
    if (makeHidden)
        attributes |= FILE_ATTRIBUTE_HIDDEN;
    WriteFileAttributes(path, attributes);
}

int IsFolder(const char *path)
{
    DWORD attributes = GetFileAttributesA(path);
    return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY);
}
