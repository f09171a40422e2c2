// The file-system paths of the desktop and of the Start menu's programs folder.
#pragma once
#include <windows.h>

const int UserNameBytes = 256;

int GetSpecialFolderPath(char *path, int kind);
int GetShellFolderPath(char *path, int kind);
int BuildLegacyFolderPath(char *path, int kind);

// Where the hand-built lookup takes the Windows directory and the user's name
// from: GetWindowsDirectoryA and GetUserNameA, unless a test puts its own here.
extern UINT (WINAPI *QueryWindowsDirectory)(LPSTR buffer, UINT capacity);
extern BOOL (WINAPI *QueryUserName)(LPSTR buffer, LPDWORD capacity);
