// Functions found by name rather than imported. A static import of a function
// the oldest systems lack would keep the loader from starting the program on
// them at all; a static import of the shell, COM, the common dialogs or the
// common controls would have start-up load them (under Wine 8 that was a
// third of start-up) for a first page that uses none of them.
#include "startup/system_functions.h"

HRESULT (WINAPI *ShellGetMalloc)(IMalloc **allocator);
HRESULT (WINAPI *ShellGetSpecialFolderLocation)(HWND owner, int folder, LPITEMIDLIST *items);
BOOL (WINAPI *ShellGetPathFromIDList)(LPCITEMIDLIST items, LPSTR path);
HRESULT (WINAPI *ComInitialize)(LPVOID reserved);
HRESULT (WINAPI *ComCreateInstance)(REFCLSID type, LPUNKNOWN outer, DWORD context, REFIID requested, LPVOID *object);
void (WINAPI *ComUninitialize)();
BOOL (WINAPI *DialogGetOpenFileName)(LPOPENFILENAMEA chooser);
void (WINAPI *CommonControlsInitialise)();
BOOL (WINAPI *DiskGetFreeSpaceEx)(LPCSTR folder, PULARGE_INTEGER freeToCaller, PULARGE_INTEGER total,
                                  PULARGE_INTEGER freeOnVolume);
DWORD (WINAPI *RestartStartSession)(DWORD *session, DWORD flags, WCHAR *key);
DWORD (WINAPI *RestartRegisterResources)(DWORD session, UINT fileCount, LPCWSTR *files, UINT processCount,
                                         RM_UNIQUE_PROCESS *processes, UINT serviceCount, LPCWSTR *services);
DWORD (WINAPI *RestartGetList)(DWORD session, UINT *needed, UINT *count, RM_PROCESS_INFO *processes,
                               LPDWORD rebootReasons);
DWORD (WINAPI *RestartEndSession)(DWORD session);
BOOL (WINAPI *SecurityGetFileSecurity)(LPCSTR path, SECURITY_INFORMATION wanted, PSECURITY_DESCRIPTOR buffer,
                                       DWORD capacity, LPDWORD needed);
BOOL (WINAPI *SecurityOpenProcessToken)(HANDLE process, DWORD access, PHANDLE token);
BOOL (WINAPI *SecurityDuplicateToken)(HANDLE token, SECURITY_IMPERSONATION_LEVEL level, PHANDLE duplicate);
BOOL (WINAPI *SecurityAccessCheck)(PSECURITY_DESCRIPTOR descriptor, HANDLE token, DWORD desired,
                                   PGENERIC_MAPPING mapping, PPRIVILEGE_SET privileges, LPDWORD privilegesLength,
                                   LPDWORD granted, LPBOOL allowed);

struct SystemFunction {
    const char *Module;
    const char *Name;
    FARPROC *Pointer;
};

// Below the shell's folder functions, modules that every system the program runs
// on has: ole32.dll (32-bit OLE 2) since NT 3.5 and Windows 95, comdlg32.dll
// since NT 3.1, comctl32.dll since NT 3.51 and Windows 95, kernel32.dll and
// advapi32.dll always. rstrtmgr.dll comes with Windows Vista; where it is
// missing, its functions stay null.
static const SystemFunction SystemFunctions[] = {
    { "shell32.dll", "SHGetMalloc", (FARPROC *)&ShellGetMalloc },
    { "shell32.dll", "SHGetSpecialFolderLocation", (FARPROC *)&ShellGetSpecialFolderLocation },
    { "shell32.dll", "SHGetPathFromIDListA", (FARPROC *)&ShellGetPathFromIDList },
    { "ole32.dll", "CoInitialize", (FARPROC *)&ComInitialize },
    { "ole32.dll", "CoCreateInstance", (FARPROC *)&ComCreateInstance },
    { "ole32.dll", "CoUninitialize", (FARPROC *)&ComUninitialize },
    { "comdlg32.dll", "GetOpenFileNameA", (FARPROC *)&DialogGetOpenFileName },
    { "comctl32.dll", "InitCommonControls", (FARPROC *)&CommonControlsInitialise },
    { "kernel32.dll", "GetDiskFreeSpaceExA", (FARPROC *)&DiskGetFreeSpaceEx },
    { "rstrtmgr.dll", "RmStartSession", (FARPROC *)&RestartStartSession },
    { "rstrtmgr.dll", "RmRegisterResources", (FARPROC *)&RestartRegisterResources },
    { "rstrtmgr.dll", "RmGetList", (FARPROC *)&RestartGetList },
    { "rstrtmgr.dll", "RmEndSession", (FARPROC *)&RestartEndSession },
    { "advapi32.dll", "GetFileSecurityA", (FARPROC *)&SecurityGetFileSecurity },
    { "advapi32.dll", "OpenProcessToken", (FARPROC *)&SecurityOpenProcessToken },
    { "advapi32.dll", "DuplicateToken", (FARPROC *)&SecurityDuplicateToken },
    { "advapi32.dll", "AccessCheck", (FARPROC *)&SecurityAccessCheck },
};
const int SystemFunctionCount = sizeof(SystemFunctions) / sizeof(SystemFunctions[0]);

static int SystemFunctionsFound;

// The modules stay loaded for the rest of the run, as static imports would.
void FindSystemFunctions()
{
    if (SystemFunctionsFound)
        return;
    SystemFunctionsFound = 1;
    for (int i = 0; i < SystemFunctionCount; i++) {
        HMODULE module = LoadLibraryA(SystemFunctions[i].Module);
        *SystemFunctions[i].Pointer = module ? GetProcAddress(module, SystemFunctions[i].Name) : 0;
    }
}
