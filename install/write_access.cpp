// The destination's write check. NT keeps an access list on every file and
// folder of an NTFS volume: a standard user may read a folder under Program
// Files but not add to it, which the install would learn only from its first
// failing write. The system's own check, asked with this user's token, tells
// before anything changes. Windows 95, 98 and ME keep no access lists on
// their own disks, and a volume that keeps none (FAT) answers "allowed".
#include "install/write_access.h"
#include "install/file_table.h"
#include "install/payload_store.h"
#include "install/install_path.h"
#include "startup/path_text.h"
#include "startup/shared_state.h"
#include "startup/system_functions.h"
#include <stdlib.h>

enum AccessAnswer { AccessDenied = 0, AccessAllowed = 1, AccessUnknown = 2 };

const SECURITY_INFORMATION AccessListParts = OWNER_SECURITY_INFORMATION | GROUP_SECURITY_INFORMATION |
                                             DACL_SECURITY_INFORMATION;
const DWORD ReadOnlyVolumeFlag = 0x00080000;   // FILE_READ_ONLY_VOLUME, Windows XP on

static int CanAskAccessControl()
{
    return IsNtPlatform && SecurityGetFileSecurity && SecurityOpenProcessToken && SecurityDuplicateToken &&
           SecurityAccessCheck;
}

// AccessCheck wants an impersonation token: this process's, duplicated.
static HANDLE OpenAccessToken()
{
    HANDLE process = 0, token = 0;
    if (!SecurityOpenProcessToken(GetCurrentProcess(), TOKEN_DUPLICATE | TOKEN_QUERY, &process))
        return 0;
    if (!SecurityDuplicateToken(process, SecurityImpersonation, &token))
        token = 0;
    CloseHandle(process);
    return token;
}

static AccessAnswer AskAccess(HANDLE token, const char *path, DWORD wanted)
{
    DWORD needed = 0;
    SecurityGetFileSecurity(path, AccessListParts, 0, 0, &needed);
    if (!needed)
        return AccessUnknown;
    PSECURITY_DESCRIPTOR descriptor = (PSECURITY_DESCRIPTOR)malloc(needed);
    if (!descriptor)
        return AccessUnknown;
    GENERIC_MAPPING mapping = { FILE_GENERIC_READ, FILE_GENERIC_WRITE, FILE_GENERIC_EXECUTE, FILE_ALL_ACCESS };
    unsigned char privileges[sizeof(PRIVILEGE_SET) + 4 * sizeof(LUID_AND_ATTRIBUTES)];
    DWORD privilegesLength = sizeof(privileges), granted = 0;
    BOOL allowed = FALSE;
    AccessAnswer answer = AccessUnknown;
    if (SecurityGetFileSecurity(path, AccessListParts, descriptor, needed, &needed) &&
        SecurityAccessCheck(descriptor, token, wanted, &mapping, (PPRIVILEGE_SET)privileges, &privilegesLength,
                            &granted, &allowed))
        answer = allowed && (granted & wanted) == wanted ? AccessAllowed : AccessDenied;
    free(descriptor);
    return answer;
}

static int IsReadOnlyVolume(const char *path)
{
    char root[PathBufferBytes];
    DWORD serial, nameLength, flags = 0;
    return VolumeRootOf(path, root, PathBufferBytes) &&
           GetVolumeInformationA(root, 0, 0, &serial, &nameLength, &flags, 0, 0) && (flags & ReadOnlyVolumeFlag);
}

// An existing file is replaced by renaming the new one over it: the user needs
// to delete it, through its own access list or the folder's.
static int MayReplaceEarlierFiles(HANDLE token, int mayDeleteChildren, char *refused)
{
    char path[PathBufferBytes];
    for (int i = 0; i < FileTableRowCount; i++) {
        if (!FileTable[i].ResourceId || !BuildInstallPath(path, FileTable[i].TargetName))
            continue;
        if (GetFileAttributesA(path) == INVALID_FILE_ATTRIBUTES || mayDeleteChildren)
            continue;
        if (AskAccess(token, path, DELETE) == AccessDenied) {
            lstrcpynA(refused, path, PathBufferBytes);
            return 0;
        }
    }
    return 1;
}

// A new destination is made in its parent, one level deep; the parent keeps
// its backslash, which a drive root needs.
static int MayWriteWithToken(HANDLE token, const char *destination, char *refused)
{
    if (!IsFolder(destination)) {
        char parent[PathBufferBytes];
        lstrcpynA(parent, destination, PathBufferBytes);
        char *name = (char *)FindLastBackslash(parent);
        if (!name)
            return 1;
        name[1] = 0;
        if (!IsFolder(parent) || AskAccess(token, parent, FILE_ADD_SUBDIRECTORY) != AccessDenied)
            return 1;
        lstrcpynA(refused, parent, PathBufferBytes);
        return 0;
    }
    if (AskAccess(token, destination, FILE_ADD_FILE) == AccessDenied) {
        lstrcpynA(refused, destination, PathBufferBytes);
        return 0;
    }
    int mayDeleteChildren = AskAccess(token, destination, FILE_DELETE_CHILD) == AccessAllowed;
    return MayReplaceEarlierFiles(token, mayDeleteChildren, refused);
}

int MayWriteDestination(const char *destination, char *refused)
{
    refused[0] = 0;
    if (IsReadOnlyVolume(destination)) {
        lstrcpynA(refused, destination, PathBufferBytes);
        return 0;
    }
    if (!CanAskAccessControl())
        return 1;
    HANDLE token = OpenAccessToken();
    if (!token)
        return 1;
    int mayWrite = MayWriteWithToken(token, destination, refused);
    CloseHandle(token);
    return mayWrite;
}
