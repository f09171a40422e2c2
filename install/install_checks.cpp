// The checks before the first change, in the order a user can act on them:
// a folder the user may not write needs another folder (or an administrator),
// so does a volume without room; a file held by a running program needs only
// that program closed, and the wizard offers to look again.
#include "install/install_checks.h"
#include "install/free_space.h"
#include "install/write_access.h"
#include "install/file_table.h"
#include "install/payload_store.h"
#include "install/install_path.h"
#include "install/install_log.h"
#include "startup/path_text.h"
#include "startup/system_functions.h"

InstallCheckFindings InstallChecks;

// The free space is asked of the destination, or of its parent while the
// destination is yet to be made.
static void ExistingFolderOf(const char *destination, char *folder)
{
    lstrcpynA(folder, destination, PathBufferBytes);
    if (IsFolder(folder))
        return;
    char *name = (char *)FindLastBackslash(folder);
    if (name)
        name[1] = 0;
}

static int CheckWriteAccess()
{
    if (MayWriteDestination(InstallDir, InstallChecks.Refused)) {
        LogLine("check: this user may write %s", InstallDir);
        return 1;
    }
    LogLine("check FAILED, this user may not write %s: nothing is changed", InstallChecks.Refused);
    return 0;
}

// A volume that cannot tell its free space passes: the writes decide there.
static int CheckFreeSpace()
{
    char folder[PathBufferBytes];
    ExistingFolderOf(InstallDir, folder);
    ULONGLONG freeBytes;
    DWORD clusterBytes;
    int known = QueryFreeSpace(folder, &freeBytes, &clusterBytes);
    ULONGLONG needed = InstallBytesNeeded(clusterBytes);
    InstallChecks.NeededMegabytes = MegabytesUp(needed);
    InstallChecks.FreeMegabytes = MegabytesDown(freeBytes);
    if (!known) {
        LogLine("check: the free space of %s is not known; the install needs %lu MB", folder,
                InstallChecks.NeededMegabytes);
        return 1;
    }
    if (freeBytes >= needed) {
        LogLine("check: %lu MB needed, %lu MB free on %s", InstallChecks.NeededMegabytes,
                InstallChecks.FreeMegabytes, folder);
        return 1;
    }
    LogLine("check FAILED, not enough free space: the install needs %lu MB, %lu MB are free on %s",
            InstallChecks.NeededMegabytes, InstallChecks.FreeMegabytes, folder);
    return 0;
}

// Every held file is logged; the message names the first and its programs.
static int CheckFilesInUse()
{
    InstallChecks.HeldFile = 0;
    InstallChecks.HoldingPrograms[0] = 0;
    char path[PathBufferBytes];
    for (int i = 0; i < FileTableRowCount; i++) {
        const FileTableRow &row = FileTable[i];
        if (!row.ResourceId || !BuildInstallPath(path, row.TargetName) || !FileIsInUse(path))
            continue;
        char programs[HoldingProgramsBytes];
        NameProgramsHolding(path, programs, HoldingProgramsBytes);
        LogLine("check FAILED, file in use by another program: %s%s%s", path, programs[0] ? ", held by " : "",
                programs);
        if (!InstallChecks.HeldFile) {
            InstallChecks.HeldFile = row.TargetName;
            lstrcpynA(InstallChecks.HoldingPrograms, programs, HoldingProgramsBytes);
        }
    }
    return InstallChecks.HeldFile == 0;
}

int CheckBeforeInstall()
{
    FindSystemFunctions();
    if (!CheckWriteAccess())
        return ChecksNotWritable;
    if (!CheckFreeSpace())
        return ChecksTooLittleSpace;
    if (!CheckFilesInUse())
        return ChecksFilesInUse;
    return ChecksPassed;
}
