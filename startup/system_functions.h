// Functions found by name rather than imported: those the oldest systems the
// program runs on lack, so that the program still loads where they are missing
// (a missing one stays null and its caller takes that system's way), and those
// of the modules the first page does not need, so that start-up does not wait
// for them to load. The table is looked up once, where a later step first needs
// it: the install's progress bar, its links, Browse.
#pragma once
#include <windows.h>
#include <shlobj.h>
#include <commdlg.h>

// The shell's folder functions: Windows 95 and NT 4.0 have them, NT 3.51 does not.
extern HRESULT (WINAPI *ShellGetMalloc)(IMalloc **allocator);
extern HRESULT (WINAPI *ShellGetSpecialFolderLocation)(HWND owner, int folder, LPITEMIDLIST *items);
extern BOOL (WINAPI *ShellGetPathFromIDList)(LPCITEMIDLIST items, LPSTR path);
// COM, for the shell's link object.
extern HRESULT (WINAPI *ComInitialize)(LPVOID reserved);
extern HRESULT (WINAPI *ComCreateInstance)(REFCLSID type, LPUNKNOWN outer, DWORD context, REFIID requested,
                                           LPVOID *object);
extern void (WINAPI *ComUninitialize)();
// The common dialogs' open-file dialog, the folder chooser's.
extern BOOL (WINAPI *DialogGetOpenFileName)(LPOPENFILENAMEA chooser);
// The common controls' class registration, for the progress bar.
extern void (WINAPI *CommonControlsInitialise)();

// Loads the modules and looks the functions up on the first call only.
void FindSystemFunctions();
