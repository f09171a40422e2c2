// The Install command of the wizard's last page.
#pragma once
#include <windows.h>

const int MinimumInstallMs = 5000;   // the final message never comes earlier

// The longest name the install writes or deletes in the destination folder.
int LongestInstallNameLength();
// 1 when the destination, a backslash and that name fit a 260-byte path.
int DestinationFitsInstallNames(const char *destination);

// What the checks of the destination InstallDir found; a refused one is left
// as it was. The wizard's Install and the unattended install share them.
enum DestinationOutcome {
    DestinationReady, DestinationNotFull, DestinationTooLong, DestinationNotCreated,
    DestinationNotWritable, DestinationTooLittleSpace, DestinationFilesInUse,
};
// Refuses a destination that is not a full path (a drive or a server and share)
// or is too long for the install's names, then one that fails the checks
// before the install (write access, free space, files in use); uses an
// existing folder as it is, or creates a new one (one level) with its "doc"
// subfolder.
int PrepareDestination();

void StartInstall(HWND window);
