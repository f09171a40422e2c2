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

// The end of the path part that starts at part: its next backslash or the end.
static const char *PathPartEnd(const char *part)
{
    while (*part && *part != '\\')
        part = CharNextA(part);
    return part;
}

static int IsAsciiLetter(char c)
{
    return (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z');
}

// A full path names its volume: a drive letter, a colon and a backslash
// ("C:\Lumabook"), or a server and a share ("\\server\share\Lumabook"). Any
// other path is taken from whatever folder the program happens to be in, and
// so are the links made to it. "\\?\" and "\\.\" name no server.
int IsFullPath(const char *path)
{
    if (IsAsciiLetter(path[0]) && path[1] == ':' && path[2] == '\\')
        return 1;
    if (path[0] != '\\' || path[1] != '\\')
        return 0;
    const char *server = path + 2;
    const char *serverEnd = PathPartEnd(server);
    if (serverEnd == server || *serverEnd != '\\')
        return 0;
    if (serverEnd - server == 1 && (*server == '?' || *server == '.'))
        return 0;
    const char *share = serverEnd + 1;
    return PathPartEnd(share) > share;
}
