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

// The character after p when the one at p is the single-byte character c, else null.
static const char *AfterCharacter(const char *p, char c)
{
    if (*p != c)
        return 0;
    const char *next = CharNextA(p);
    return next == p + 1 ? next : 0;
}

// After a drive letter and its colon ("C:"), or null. An ASCII letter is
// never a lead byte, so it is a character of one byte.
static const char *AfterDrive(const char *path)
{
    return IsAsciiLetter(*path) ? AfterCharacter(path + 1, ':') : 0;
}

// A full path names its volume: a drive letter, a colon and a backslash
// ("C:\Lumabook"), or a server and a share ("\\server\share\Lumabook"). Any
// other path is taken from whatever folder the program happens to be in, and
// so are the links made to it. "\\?\" and "\\.\" name no server.
// Where the share's name starts in "\\server\share...", or null when the path
// names no server and share.
static const char *ShareOf(const char *path)
{
    const char *first = AfterCharacter(path, '\\');
    const char *server = first ? AfterCharacter(first, '\\') : 0;
    if (!server)
        return 0;
    const char *serverEnd = PathPartEnd(server);
    if (serverEnd == server || *serverEnd != '\\')
        return 0;
    if (serverEnd - server == 1 && (*server == '?' || *server == '.'))
        return 0;
    const char *share = serverEnd + 1;
    return PathPartEnd(share) > share ? share : 0;
}

int IsFullPath(const char *path)
{
    const char *drive = AfterDrive(path);
    if (drive && AfterCharacter(drive, '\\'))
        return 1;
    return ShareOf(path) != 0;
}

int IsShareRoot(const char *path)
{
    const char *share = ShareOf(path);
    if (!share)
        return 0;
    const char *end = PathPartEnd(share);
    return !*end || (end[1] == 0);
}

// Single-byte characters are compared as the file system compares names,
// without regard to case; a double-byte character must match byte for byte.
static int SameCharacter(const char *a, const char *b, int bytes)
{
    if (bytes > 1)
        return memcmp(a, b, bytes) == 0;
    char upperA = *a, upperB = *b;
    CharUpperBuffA(&upperA, 1);
    CharUpperBuffA(&upperB, 1);
    return upperA == upperB;
}

int IsFolderOrInside(const char *path, const char *folder)
{
    const char *p = path;
    for (const char *f = folder; *f;) {
        const char *nextP = CharNextA(p), *nextF = CharNextA(f);
        if (!*p || nextP - p != nextF - f || !SameCharacter(p, f, (int)(nextF - f)))
            return 0;
        p = nextP;
        f = nextF;
    }
    return *p == 0 || *p == '\\' || EndsWithBackslash(folder);
}

// The root of the volume a full path lies on, with its backslash: "C:\" or
// "\\server\share\". 0 when the path is not full or the root does not fit.
int VolumeRootOf(const char *path, char *root, int capacity)
{
    if (!IsFullPath(path))
        return 0;
    const char *end = AfterDrive(path);
    if (!end) {
        const char *share = PathPartEnd(path + 2) + 1;
        end = PathPartEnd(share);
    }
    int length = (int)(end - path);
    if (length + 2 > capacity)
        return 0;
    memcpy(root, path, length);
    root[length] = '\\';
    root[length + 1] = 0;
    return 1;
}

int CopyWholeCharacters(char *destination, const char *source, int capacity)
{
    const char *end = source;
    while (*end) {
        const char *next = CharNextA(end);
        if (next - source + 1 > capacity)
            break;
        end = next;
    }
    int length = (int)(end - source);
    memcpy(destination, source, length);
    destination[length] = 0;
    return length;
}
