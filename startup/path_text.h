// Path texts in the system's ANSI code page, walked by whole characters: on
// Chinese, Japanese and Korean code pages a trail byte can be 0x5C (Big5 功 is
// A5 5C), so a byte-by-byte scan would take half a character for a backslash.
#pragma once

const char *FindLastBackslash(const char *path);   // null when the path holds none
int EndsWithBackslash(const char *path);
void StripTrailingBackslash(char *path);           // removes one trailing backslash
int AppendBackslash(char *path, int capacity);     // when missing; 0 when it does not fit
int IsFullPath(const char *path);                  // names its drive, or its server and share
int IsShareRoot(const char *path);                 // "\\server\share" with no folder below, backslash or not
// The root of a full path's volume with its backslash (C:\ or \\server\share\); 0 when none fits.
int VolumeRootOf(const char *path, char *root, int capacity);
// 1 when path is folder itself or lies inside it, compared by whole characters
// and without regard to case; both are full paths in the same form.
int IsFolderOrInside(const char *path, const char *folder);
// Copies as much of a text as fits capacity with its zero, never half a
// character of the system's code page; returns the bytes copied.
int CopyWholeCharacters(char *destination, const char *source, int capacity);
