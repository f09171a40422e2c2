// The folder the running setup program was started from, kept with its trailing
// backslash so that file names can be appended directly.
#include "startup/setup_dir.h"
#include "startup/path_text.h"
#include "startup/shared_state.h"
#include <string.h>

static const char FallbackSetupDir[] = "A:\\";

// Cuts the module path right after its last backslash, found by whole characters
// (on a Big5 system 功 is A5 5C); a path without one
// (or an empty one) gives the fallback "A:\".
int SetupDirFromModulePath(const char *modulePath, char *setupDir, int capacity)
{
    const char *lastBackslash = FindLastBackslash(modulePath);
    if (lastBackslash == 0) {
        lstrcpynA(setupDir, FallbackSetupDir, capacity);
        return 0;
    }
    int length = (int)(lastBackslash - modulePath) + 1;
    if (length >= capacity)
        length = capacity - 1;
    memcpy(setupDir, modulePath, length);
    setupDir[length] = 0;
    return 1;
}

int RecordSetupDir()
{
    char modulePath[PathBufferBytes];
    DWORD length = GetModuleFileNameA(0, modulePath, sizeof(modulePath));
    if (length >= sizeof(modulePath))
        length = 0;     // truncated: no trustworthy folder
    modulePath[length] = 0;
    return SetupDirFromModulePath(modulePath, SetupDir, sizeof(SetupDir));
}
