// Functions that the oldest systems the program runs on lack, looked up by name
// at start-up: a static import of any of them would keep the loader from
// starting the program at all on those systems.
#include "startup/system_functions.h"

HRESULT (WINAPI *ShellGetMalloc)(IMalloc **allocator);
HRESULT (WINAPI *ShellGetSpecialFolderLocation)(HWND owner, int folder, LPITEMIDLIST *items);
BOOL (WINAPI *ShellGetPathFromIDList)(LPCITEMIDLIST items, LPSTR path);

struct SystemFunction {
    const char *Module;
    const char *Name;
    FARPROC *Pointer;
};

static const SystemFunction SystemFunctions[] = {
    { "shell32.dll", "SHGetMalloc", (FARPROC *)&ShellGetMalloc },
    { "shell32.dll", "SHGetSpecialFolderLocation", (FARPROC *)&ShellGetSpecialFolderLocation },
    { "shell32.dll", "SHGetPathFromIDListA", (FARPROC *)&ShellGetPathFromIDList },
};
const int SystemFunctionCount = sizeof(SystemFunctions) / sizeof(SystemFunctions[0]);

// The modules stay loaded for the whole run, as static imports would.
void FindSystemFunctions()
{
    for (int i = 0; i < SystemFunctionCount; i++) {
        HMODULE module = LoadLibraryA(SystemFunctions[i].Module);
        *SystemFunctions[i].Pointer = module ? GetProcAddress(module, SystemFunctions[i].Name) : 0;
    }
}
