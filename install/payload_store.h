// The payload store: "TEXT" resources that each hold one zlib stream.
#pragma once
#include <windows.h>

const unsigned long InstallBufferBytes = 48 * 1024 * 1024;
// The error an entry gives that is missing or does not inflate: a cause of the
// program's own (bit 29 set, as Windows keeps such codes for programs).
const DWORD ErrorPayloadEntryDamaged = 0x20000001;

int PayloadEntryIsIntact(HMODULE module, int resourceId);
// The bytes the entry inflates to, as recorded when it was packed; 0 when it has no record.
unsigned long PayloadEntryInflatedBytes(HMODULE module, int resourceId);
// Called between the slices of an inflation, at every row of the file table
// and between the install's other steps, so that whoever runs the install can
// keep a window answering on this one thread; null when nothing needs it.
extern void (*InstallPulse)();
const unsigned long InflateSliceBytes = 2 * 1024 * 1024;
// On failure the Windows error is ERROR_NOT_ENOUGH_MEMORY or ErrorPayloadEntryDamaged.
int InflatePayloadEntry(HMODULE module, int resourceId, unsigned char *buffer, unsigned long *length);
int ExtractPayloadFile(int resourceId, const char *targetName, unsigned char *buffer,
                       unsigned long capacity, int makeReadOnly, int makeHidden);
int WriteInstallFile(const char *targetName, const unsigned char *data, unsigned long length,
                     int makeReadOnly, int makeHidden);
void KeepInstallFile(const char *targetName);
// The attributes an installed file is given and an earlier one is cleared of.
const DWORD ReplaceableAttributes = FILE_ATTRIBUTE_READONLY | FILE_ATTRIBUTE_HIDDEN;
int ClearFileAttributes(const char *path, int clearReadOnly, int clearHidden);
int DeleteFileForced(const char *path);
void AddFileAttributes(const char *path, int makeReadOnly, int makeHidden);
BOOL WriteFileAttributes(const char *path, DWORD attributes);
int IsFolder(const char *path);   // an existing folder, not a file
