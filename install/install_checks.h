// The checks an install passes before it changes anything: that this user may
// write the destination, that its volume has room, and that no file it would
// replace is held by another program.
#pragma once
#include "install/files_in_use.h"
#include "startup/shared_state.h"

enum InstallCheckOutcome { ChecksPassed, ChecksNotWritable, ChecksTooLittleSpace, ChecksFilesInUse };

// What the last checks found, for the message that reports them.
struct InstallCheckFindings {
    char Refused[PathBufferBytes];    // the folder or file this user may not change
    unsigned long NeededMegabytes;
    unsigned long FreeMegabytes;
    const char *HeldFile;             // the first held file's name in the destination
    char HoldingPrograms[HoldingProgramsBytes];   // empty where the system cannot tell
};
extern InstallCheckFindings InstallChecks;

// Checks the destination InstallDir (a full path, short enough) as it is,
// changing nothing; logs what stops the install, with the file or the figures.
int CheckBeforeInstall();
