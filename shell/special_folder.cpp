// The file-system paths of the desktop and of the Start menu's programs folder:
// asked of the shell, or built by hand on Windows 3.x-era systems.
#include "shell/special_folder.h"
#include "startup/path_text.h"
#include "startup/shared_state.h"
#include "startup/system_functions.h"
#include <shlobj.h>
#include <string.h>

UINT (WINAPI *QueryWindowsDirectory)(LPSTR buffer, UINT capacity) = GetWindowsDirectoryA;
BOOL (WINAPI *QueryUserName)(LPSTR buffer, LPDWORD capacity) = GetUserNameA;

static const char ProfilesFolder[] = "profiles\\";
static const char LegacyProgramsFolder[] = "start menu\\programs";
static const char LegacyDesktopFolder[] = "Desktop";

static int ShellHasFolderFunctions()
{
    return ShellGetMalloc && ShellGetSpecialFolderLocation && ShellGetPathFromIDList;
}

// NT 3.51 reports major version 3 and its shell has no folder functions; a
// shell without them is treated the same way on any version.
int GetSpecialFolderPath(char *path, int kind)
{
    if (IsMajorVersion3 || !ShellHasFolderFunctions())
        return BuildLegacyFolderPath(path, kind);
    return GetShellFolderPath(path, kind);
}

int GetShellFolderPath(char *path, int kind)
{
    IMalloc *allocator = 0;
    if (FAILED(ShellGetMalloc(&allocator)))
        return 0;
    LPITEMIDLIST items = 0;
    if (FAILED(ShellGetSpecialFolderLocation(0, kind, &items))) {
        allocator->Release();
        return 0;
    }
    BOOL found = ShellGetPathFromIDList(items, path);
    allocator->Free(items);
    allocator->Release();
    return found ? 1 : 0;
}

// Appends text when it fits the 260-byte path, else leaves the path alone and gives 0.
static int AppendToPath(char *path, const char *text)
{
    size_t length = strlen(path);
    size_t added = strlen(text);
    if (length + added >= (size_t)PathBufferBytes)
        return 0;
    memcpy(path + length, text, added + 1);
    return 1;
}

// W\Desktop or W\start menu\programs, with profiles\<user>\ between on the NT platform.
int BuildLegacyFolderPath(char *path, int kind)
{
    UINT length = QueryWindowsDirectory(path, PathBufferBytes);
    char userName[UserNameBytes];
    if (IsNtPlatform) {
        DWORD capacity = sizeof(userName);
        if (!QueryUserName(userName, &capacity))
            return 0;
    }
    if (length == 0 || length >= (UINT)PathBufferBytes)
        return 0;
    if (!AppendBackslash(path, PathBufferBytes))
        return 0;
    if (IsNtPlatform) {
        if (!AppendToPath(path, ProfilesFolder) || !AppendToPath(path, userName) || !AppendToPath(path, "\\"))
            return 0;
    }
    if (kind == CSIDL_PROGRAMS)
        return AppendToPath(path, LegacyProgramsFolder);
    if (kind == CSIDL_DESKTOP)
        return AppendToPath(path, LegacyDesktopFolder);
    return 1;
}
