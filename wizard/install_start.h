// The Install command of the wizard's last page.
#pragma once
#include <windows.h>

const int MinimumInstallMs = 5000;   // the final message never comes earlier

// The longest name the install writes or deletes in the destination folder.
int LongestInstallNameLength();
// 1 when the destination, a backslash and that name fit a 260-byte path.
int DestinationFitsInstallNames(const char *destination);

void StartInstall(HWND window);
