// The file-system paths of the desktop and of the Start menu's programs folder:
// asked of the shell, or built by hand on Windows 3.x-era systems.
#include "shell/special_folder.h"
#include "startup/path_text.h"
#include "startup/shared_state.h"
#include <shlobj.h>
#include <string.h>

UINT (WINAPI *QueryWindowsDirectory)(LPSTR buffer, UINT capacity) = GetWindowsDirectoryA;
BOOL (WINAPI *QueryUserName)(LPSTR buffer, LPDWORD capacity) = GetUserNameA;

static const char ProfilesFolder[] = "profiles\\";
static const char LegacyProgramsFolder[] = "start menu\\programs";
static const char LegacyDesktopFolder[] = "Desktop";

int GetSpecialFolderPath(char *path, int kind)
{
    if (IsMajorVersion3)
        return BuildLegacyFolderPath(path, kind);
    return GetShellFolderPath(path, kind);
}

int GetShellFolderPath(char *path, int kind)
{
    IMalloc *allocator = 0;
    if (FAILED(SHGetMalloc(&allocator)))
        return 0;
    LPITEMIDLIST items = 0;
    if (FAILED(SHGetSpecialFolderLocation(0, kind, &items))) {
        allocator->Release();
        return 0;
    }
    BOOL found = SHGetPathFromIDListA(items, path);
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
