// Paths of files in the install directory: the directory, a backslash, the name.
#include "install/install_path.h"
#include "startup/shared_state.h"
#include <string.h>

// Gives 0 and an empty path when the directory and the name together do not
// fit a 260-byte path buffer, rather than writing past it or cutting the name;
// the Windows error then says the name is too long, as Windows itself would.
int BuildInstallPath(char *path, const char *name)
{
    size_t dirLength = strlen(InstallDir);
    size_t nameLength = strlen(name);
    if (dirLength + 1 + nameLength >= (size_t)PathBufferBytes) {
        path[0] = 0;
        SetLastError(ERROR_FILENAME_EXCED_RANGE);
        return 0;
    }
    memcpy(path, InstallDir, dirLength);
    path[dirLength] = '\\';
    memcpy(path + dirLength + 1, name, nameLength + 1);
    return 1;
}
