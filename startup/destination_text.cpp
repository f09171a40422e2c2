// The destination folder as typed or given. Windows drops a blank or a dot at
// the end of a folder name when it makes the folder, while the paths of the
// files inside keep it, so the folder and its files would part: such a name is
// refused wherever it stands on the path. A "/" is a separator to Windows too.
#include "startup/destination_text.h"
#include "startup/path_text.h"
#include <windows.h>
#include <string.h>

// Blanks, dots, slashes and double quotes are never trail bytes (those are
// 0x40 and above), so the ends of the text can be tested byte by byte.
static int IsBlank(char c)
{
    return c == ' ' || c == '\t';
}

static void TrimBlanks(char *text)
{
    size_t length = strlen(text);
    while (length > 0 && IsBlank(text[length - 1]))
        text[--length] = 0;
    size_t first = 0;
    while (IsBlank(text[first]))
        first++;
    memmove(text, text + first, length - first + 1);
}

static void DropSurroundingQuotes(char *text)
{
    size_t length = strlen(text);
    if (length >= 2 && text[0] == '"' && text[length - 1] == '"') {
        memmove(text, text + 1, length - 2);
        text[length - 2] = 0;
    }
}

// Removed by whole characters: a Big5 name can end in a trail byte 0x5C.
static void StripTrailingBackslashes(char *text)
{
    while (EndsWithBackslash(text))
        StripTrailingBackslash(text);
}

static int IsSeparator(char c)
{
    return c == '\\' || c == '/';
}

// Each name ends at a separator or at the end of the text; the character
// before it is looked at only once the walk has reached the separator.
static int SomeNameEndsInBlankOrDot(const char *folder)
{
    const char *previous = 0;
    for (const char *p = folder;; p = CharNextA(p)) {
        if (!*p || IsSeparator(*p)) {
            if (previous && (*previous == ' ' || *previous == '.'))
                return 1;
            if (!*p)
                return 0;
            previous = 0;
            continue;
        }
        previous = p;
    }
}

int CleanDestinationText(char *folder)
{
    TrimBlanks(folder);
    DropSurroundingQuotes(folder);
    TrimBlanks(folder);
    StripTrailingBackslashes(folder);
    // With its backslash gone a drive root ("C:\") is no longer a full path.
    if (!folder[0] || strchr(folder, '"') || !IsFullPath(folder))
        return DestinationTextNotFull;
    if (IsShareRoot(folder))
        return DestinationTextShareRoot;
    if (SomeNameEndsInBlankOrDot(folder))
        return DestinationTextNameEnd;
    return DestinationTextClean;
}
