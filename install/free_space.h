// The room on the destination's volume: what the install will write there,
// and what the volume has free for this user.
#pragma once
#include <windows.h>

// The free bytes of the volume that folder (an existing folder) lies on, as
// far as this user may use them, and its cluster size. 0 when the system
// cannot tell.
int QueryFreeSpace(const char *folder, ULONGLONG *freeBytes, DWORD *clusterBytes);
// Whole clusters for each file the install may write: every row of the file
// table (the word-base question comes later, so its rows count as written),
// new beside old, as the old files stay until the new ones are complete, and
// a margin for the settings file, the log and the folder entries.
ULONGLONG InstallBytesNeeded(DWORD clusterBytes);
// Bytes as the user reads them, in whole MB: the need rounded up, the free space down.
unsigned long MegabytesUp(ULONGLONG bytes);
unsigned long MegabytesDown(ULONGLONG bytes);
