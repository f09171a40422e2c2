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
#include <restartmanager.h>

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

// The free space of a volume beyond 2 GB and within the user's quota: Windows
// 95 OSR2 and NT 4.0 have it, the first Windows 95 and NT 3.51 do not.
extern BOOL (WINAPI *DiskGetFreeSpaceEx)(LPCSTR folder, PULARGE_INTEGER freeToCaller, PULARGE_INTEGER total,
                                         PULARGE_INTEGER freeOnVolume);
// The Restart Manager, which names the programs that hold a file: Windows Vista and later.
extern DWORD (WINAPI *RestartStartSession)(DWORD *session, DWORD flags, WCHAR *key);
extern DWORD (WINAPI *RestartRegisterResources)(DWORD session, UINT fileCount, LPCWSTR *files, UINT processCount,
                                                RM_UNIQUE_PROCESS *processes, UINT serviceCount, LPCWSTR *services);
extern DWORD (WINAPI *RestartGetList)(DWORD session, UINT *needed, UINT *count, RM_PROCESS_INFO *processes,
                                      LPDWORD rebootReasons);
extern DWORD (WINAPI *RestartEndSession)(DWORD session);
// The access check of a file's security, NT only (Windows 95, 98 and ME export stubs or nothing).
extern BOOL (WINAPI *SecurityGetFileSecurity)(LPCSTR path, SECURITY_INFORMATION wanted, PSECURITY_DESCRIPTOR buffer,
                                              DWORD capacity, LPDWORD needed);
extern BOOL (WINAPI *SecurityOpenProcessToken)(HANDLE process, DWORD access, PHANDLE token);
extern BOOL (WINAPI *SecurityDuplicateToken)(HANDLE token, SECURITY_IMPERSONATION_LEVEL level, PHANDLE duplicate);
extern BOOL (WINAPI *SecurityAccessCheck)(PSECURITY_DESCRIPTOR descriptor, HANDLE token, DWORD desired,
                                          PGENERIC_MAPPING mapping, PPRIVILEGE_SET privileges, LPDWORD privilegesLength,
                                          LPDWORD granted, LPBOOL allowed);

// Loads the modules and looks the functions up on the first call only.
void FindSystemFunctions();
