// The payload store: "TEXT" resources that each hold one zlib stream.
#pragma once
#include <windows.h>

const unsigned long InstallBufferBytes = 48 * 1024 * 1024;

int PayloadEntryIsIntact(HMODULE module, int resourceId);
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
