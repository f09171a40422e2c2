// Functions that the oldest systems the program runs on lack. They are found by
// name once, at start-up, so that the program still loads where they are
// missing; a missing one stays null and its caller takes that system's way.
#pragma once
#include <windows.h>
#include <shlobj.h>

// The shell's folder functions: Windows 95 and NT 4.0 have them, NT 3.51 does not.
extern HRESULT (WINAPI *ShellGetMalloc)(IMalloc **allocator);
extern HRESULT (WINAPI *ShellGetSpecialFolderLocation)(HWND owner, int folder, LPITEMIDLIST *items);
extern BOOL (WINAPI *ShellGetPathFromIDList)(LPCITEMIDLIST items, LPSTR path);

void FindSystemFunctions();
