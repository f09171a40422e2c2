// Path texts in the system's ANSI code page, walked by whole characters with
// CharNextA, which knows the code page's lead bytes.
#include "startup/path_text.h"
#include <windows.h>
#include <string.h>

const char *FindLastBackslash(const char *path)
{
    const char *last = 0;
    for (const char *p = path; *p; p = CharNextA(p))
        if (*p == '\\')
            last = p;
    return last;
}

int EndsWithBackslash(const char *path)
{
    const char *last = FindLastBackslash(path);
    return last != 0 && last[1] == 0;
}

void StripTrailingBackslash(char *path)
{
    if (EndsWithBackslash(path))
        path[strlen(path) - 1] = 0;
}

int AppendBackslash(char *path, int capacity)
{
    if (EndsWithBackslash(path))
        return 1;
    size_t length = strlen(path);
    if (length + 2 > (size_t)capacity)
        return 0;
    path[length] = '\\';
    path[length + 1] = 0;
    return 1;
}
