// The Windows directory as the wizard keeps it, with its trailing backslash found
// by whole characters, and the proposed destination on the Windows drive.
#include "wizard/default_destination.h"
#include "startup/path_text.h"
#include "startup/shared_state.h"
#include <stdio.h>
#include <string.h>

const char FallbackWindowsDir[] = "C:\\WINDOWS\\";

static void ProposeDestinationFrom(const char *windowsDir, const char *productFolder, char *destination)
{
    snprintf(destination, PathBufferBytes, "%c:\\%s", windowsDir[0], productFolder);
}

int SettleWindowsDir(const char *windowsDirectory, const char *productFolder, char *windowsDir, char *destination)
{
    int usable = windowsDirectory != 0 && windowsDirectory[0] != 0
                 && strlen(windowsDirectory) < (size_t)PathBufferBytes;
    if (usable) {
        lstrcpynA(windowsDir, windowsDirectory, PathBufferBytes);
        usable = AppendBackslash(windowsDir, PathBufferBytes);
    }
    if (!usable)
        lstrcpyA(windowsDir, FallbackWindowsDir);
    ProposeDestinationFrom(windowsDir, productFolder, destination);
    return usable;
}

void SettleSystemWindowsDir(char *destination)
{
    char systemDir[PathBufferBytes] = "";
    UINT length = GetWindowsDirectoryA(systemDir, PathBufferBytes);
    if (length >= (UINT)PathBufferBytes)
        systemDir[0] = 0;   // too long for the buffer: the fallback is used
    SettleWindowsDir(systemDir, ProductFolderName, WindowsDir, destination);
}
