// The command line of an unattended install: the switches, their values, and
// the reason a line is refused. Arguments are walked by whole characters, since
// a folder name in a double-byte code page can hold a trail byte 0x5C.
#include "startup/command_line.h"
#include "startup/path_text.h"
#include <stdio.h>
#include <string.h>

const int ArgumentBytes = 2 * PathBufferBytes;   // room to tell that a value is too long

static const char DestinationSwitch[] = "/D=";
static const char LanguageSwitch[] = "/LANG=";
static const char DisplaySwitch[] = "/DISPLAYOK=";
static const char LogSwitch[] = "/LOG=";

struct LanguageName {
    const char *Name;
    int Language;
};
static const LanguageName LanguageNames[] = {
    { "EN", 0 },
    { "SC", 1 },
    { "TC", 2 },
};
static const int LanguageNameCount = sizeof(LanguageNames) / sizeof(LanguageNames[0]);

static int IsBlank(char c)
{
    return c == ' ' || c == '\t';
}

static const char *SkipBlanks(const char *p)
{
    while (IsBlank(*p))
        p++;
    return p;
}

static int HasPrefix(const char *argument, const char *prefix)
{
    return _strnicmp(argument, prefix, strlen(prefix)) == 0;
}

// Only the first reason is kept: it is the one the administrator fixes first.
static void Refuse(CommandLine *line, const char *format, const char *argument)
{
    if (!line->Reason[0])
        snprintf(line->Reason, CommandLineReasonBytes, format, argument);
}

// One argument: a blank ends it except inside quotes, and the quotes are
// dropped. Returns where the scan stopped, or 0 when the argument is too long.
static const char *ReadArgument(const char *p, char *argument)
{
    int length = 0;
    int quoted = 0;
    while (*p && (quoted || !IsBlank(*p))) {
        const char *next = CharNextA(p);
        if (*p == '"') {
            quoted = !quoted;
        } else {
            int bytes = (int)(next - p);
            if (length + bytes >= ArgumentBytes)
                return 0;
            memcpy(argument + length, p, bytes);
            length += bytes;
        }
        p = next;
    }
    argument[length] = 0;
    return p;
}

// The rest of the line after /D=, without trailing blanks and without the
// quotes around it ("/D=C:\My Folder" or /D="C:\My Folder"); 0 when it does not fit.
static int ReadDestinationValue(const char *p, int switchQuoted, char *value)
{
    int length = 0;
    int lastKept = 0;
    for (; *p; p = CharNextA(p)) {
        int bytes = (int)(CharNextA(p) - p);
        if (length + bytes >= ArgumentBytes)
            return 0;
        memcpy(value + length, p, bytes);
        length += bytes;
        if (!IsBlank(*p))
            lastKept = length;
    }
    value[lastKept] = 0;
    size_t valueLength = strlen(value);
    if (switchQuoted && valueLength >= 1 && value[valueLength - 1] == '"') {
        value[valueLength - 1] = 0;
    } else if (valueLength >= 2 && value[0] == '"' && value[valueLength - 1] == '"') {
        memmove(value, value + 1, valueLength - 2);
        value[valueLength - 2] = 0;
    }
    return 1;
}

static void ReadDestination(const char *rest, int switchQuoted, CommandLine *line)
{
    char value[ArgumentBytes];
    if (!ReadDestinationValue(rest, switchQuoted, value) || strlen(value) >= (size_t)PathBufferBytes) {
        Refuse(line, "%s", "/D=: the folder is longer than 259 characters");
        return;
    }
    // Held to the wizard's own check; with its backslash gone a drive root
    // ("C:\") is no longer a full path and is refused too.
    StripTrailingBackslash(value);
    if (!value[0] || strchr(value, '"') || !IsFullPath(value)) {
        Refuse(line, "/D=%s: not a full folder path such as C:\\Lumabook", value);
        return;
    }
    line->DestinationGiven = 1;
    lstrcpynA(line->Destination, value, PathBufferBytes);
}

static int ReadLanguage(const char *value, CommandLine *line)
{
    for (int i = 0; i < LanguageNameCount; i++)
        if (lstrcmpiA(value, LanguageNames[i].Name) == 0) {
            line->Language = LanguageNames[i].Language;
            return 1;
        }
    return 0;
}

static int ReadDisplayAnswer(const char *value, CommandLine *line)
{
    if (strcmp(value, "1") != 0 && strcmp(value, "0") != 0)
        return 0;
    line->DisplayOk = value[0] - '0';
    return 1;
}

static int ReadLogPath(const char *value, CommandLine *line)
{
    if (!value[0] || strlen(value) >= (size_t)PathBufferBytes)
        return 0;
    lstrcpynA(line->LogPath, value, PathBufferBytes);
    return 1;
}

// A flag switch given twice is harmless; a value given twice is refused, as
// nobody can tell which one was meant.
static void ReadSwitch(const char *argument, CommandLine *line)
{
    const char *value;
    if (lstrcmpiA(argument, "/S") == 0) {
        line->Silent = 1;
    } else if (lstrcmpA(argument, "/?") == 0) {
        line->UsageWanted = 1;
    } else if (lstrcmpiA(argument, "/NOICON") == 0) {
        line->NoDesktopIcon = 1;
    } else if (lstrcmpiA(argument, "/REPLACEWORDBASE") == 0) {
        line->ReplaceWordBase = 1;
    } else if (HasPrefix(argument, LanguageSwitch)) {
        value = argument + strlen(LanguageSwitch);
        if (line->Language != NotGiven || !ReadLanguage(value, line))
            Refuse(line, "%s: give /LANG= once, as EN, SC or TC", argument);
    } else if (HasPrefix(argument, DisplaySwitch)) {
        value = argument + strlen(DisplaySwitch);
        if (line->DisplayOk != NotGiven || !ReadDisplayAnswer(value, line))
            Refuse(line, "%s: give /DISPLAYOK= once, as 1 or 0", argument);
    } else if (HasPrefix(argument, LogSwitch)) {
        value = argument + strlen(LogSwitch);
        if (line->LogPath[0] || !ReadLogPath(value, line))
            Refuse(line, "%s: give /LOG= once, with a file path", argument);
    } else {
        Refuse(line, "%s: unknown argument", argument);
    }
}

// The wizard asks these questions itself; without /S they would be ignored
// silently, so they are refused instead.
static int AnswersGiven(const CommandLine *line)
{
    return line->DestinationGiven || line->Language != NotGiven || line->DisplayOk != NotGiven ||
           line->NoDesktopIcon || line->ReplaceWordBase;
}

// A refused argument does not end the scan: a /LOG= behind it still names
// the log the reason goes to.
int ParseCommandLine(const char *arguments, CommandLine *line)
{
    ZeroMemory(line, sizeof(*line));
    line->Language = NotGiven;
    line->DisplayOk = NotGiven;
    const char *p = SkipBlanks(arguments ? arguments : "");
    char argument[ArgumentBytes];
    while (*p) {
        int switchQuoted = p[0] == '"' && HasPrefix(p + 1, DestinationSwitch);
        if (switchQuoted || HasPrefix(p, DestinationSwitch)) {
            ReadDestination(p + switchQuoted + strlen(DestinationSwitch), switchQuoted, line);
            break;
        }
        p = ReadArgument(p, argument);
        if (!p) {
            Refuse(line, "%s", "an argument is longer than a path can be");
            break;
        }
        ReadSwitch(argument, line);
        p = SkipBlanks(p);
    }
    if (!line->Silent && AnswersGiven(line))
        Refuse(line, "%s", "/D=, /LANG=, /DISPLAYOK=, /NOICON and /REPLACEWORDBASE need /S");
    return line->Reason[0] == 0;
}
