// Replacing a file whole, so that a failure never leaves it empty or cut.
#pragma once
#include <windows.h>

// The new contents are written under the file's name with a suffix of this
// many characters before they take the file's place; where the old file is
// moved aside first, its name gets a suffix of the same length.
const int TempFileSuffixLength = 4;

// addAttributes: read-only and hidden, as the new file should carry them.
// flush 0 leaves the new contents in the system's cache: for a file whose
// loss in a power cut costs nothing.
int ReplaceFileWhole(const char *path, const void *data, unsigned long length, DWORD addAttributes, int flush = 1);
// The two steps of the install's change, each of which can be undone: the new
// contents written whole beside the file (flushed where an old file could be
// lost), then the old file renamed aside and the new one renamed in.
int StageFileWhole(const char *path, const void *data, unsigned long length, DWORD addAttributes, int flush);
int HasStagedFile(const char *path);
int SwapStagedFile(const char *path);
// existed: whether the file was there before the install began.
void UndoStagedFile(const char *path, int existed);
int CompleteStagedFile(const char *path);
// Puts back or removes what an interrupted replace left beside a file that is kept.
void SettleReplaceLeftovers(const char *path);
