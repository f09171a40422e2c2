// The Windows directory as the wizard keeps it and the destination it proposes from it.
#pragma once

// What the wizard uses when the system does not tell its Windows directory.
extern const char FallbackWindowsDir[];

// Fills windowsDir (260 bytes) with windowsDirectory and a trailing backslash
// when it lacks one, and destination (260 bytes) with the product folder on the
// same drive ("D:\WINNT" gives "D:\WINNT\" and "D:\Lumabook"). A directory
// that is empty or leaves no room for the backslash gives the fallback and 0.
int SettleWindowsDir(const char *windowsDirectory, const char *productFolder, char *windowsDir, char *destination);
// The same from the system's own Windows directory into WindowsDir, with the
// product folder name of start-up.
void SettleSystemWindowsDir(char *destination);
