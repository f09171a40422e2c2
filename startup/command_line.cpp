// The command line of an unattended install: the switches, their values, and
// the reason a line is refused. Arguments are walked by whole characters, since
// a folder name in a double-byte code page can hold a trail byte 0x5C.
#include "startup/command_line.h"
#include "startup/path_text.h"
#include "startup/destination_text.h"
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
// The reason comes first, so a long argument after it cannot push it out; the
// argument is cut by whole characters, never through a double-byte one.
static void Refuse(CommandLine *line, const char *reason, const char *argument = 0)
{
    if (line->Reason[0])
        return;
    lstrcpynA(line->Reason, reason, CommandLineReasonBytes);
    if (!argument || !argument[0])
        return;
    size_t length = strlen(line->Reason);
    if (length + 2 < (size_t)CommandLineReasonBytes) {
        lstrcpyA(line->Reason + length, ": ");
        length += 2;
    }
    for (const char *p = argument; *p;) {
        const char *next = CharNextA(p);
        size_t bytes = (size_t)(next - p);
        if (length + bytes >= (size_t)CommandLineReasonBytes)
            break;
        memcpy(line->Reason + length, p, bytes);
        length += bytes;
        p = next;
    }
    line->Reason[length] = 0;
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

// Every switch, for telling one that follows /D= from the folder's own text.
// A flag ends where its name ends; a value switch's name ends with its "=".
struct SwitchName {
    const char *Name;
    int TakesValue;
};
static const SwitchName KnownSwitches[] = {
    { "/S", 0 },
    { "/?", 0 },
    { "/NOICON", 0 },
    { "/REPLACEWORDBASE", 0 },
    { DestinationSwitch, 1 },
    { LanguageSwitch, 1 },
    { DisplaySwitch, 1 },
    { LogSwitch, 1 },
};
static const int KnownSwitchCount = sizeof(KnownSwitches) / sizeof(KnownSwitches[0]);

// The switch that starts at p, or null.
static const char *SwitchAt(const char *p)
{
    for (int i = 0; i < KnownSwitchCount; i++) {
        const SwitchName &known = KnownSwitches[i];
        size_t length = strlen(known.Name);
        if (HasPrefix(p, known.Name) && (known.TakesValue || !p[length] || IsBlank(p[length]) || p[length] == '"'))
            return known.Name;
    }
    return 0;
}

// A folder name holds no "/" (Windows reads it as a backslash), so a blank and
// then a known switch, quoted or not, is a switch given after /D=, and a second
// "/D=" anywhere is the switch given twice. Returns where such a switch starts
// (its quote included), or null when the rest of the line is only the folder.
static const char *SwitchAfterFolder(const char *rest)
{
    for (const char *p = rest; *p; p = CharNextA(p)) {
        if (*p == '/' && HasPrefix(p, DestinationSwitch))
            return p;
        if (!IsBlank(*p))
            continue;
        const char *next = SkipBlanks(p);
        if (SwitchAt(*next == '"' ? next + 1 : next))
            return next;
    }
    return 0;
}

// Blanks and double quotes are never trail bytes (those are 0x40 and above),
// so the end of a value can be tested byte by byte.
static void TrimTrailingBlanks(char *value)
{
    size_t length = strlen(value);
    while (length > 0 && IsBlank(value[length - 1]))
        value[--length] = 0;
}

// The rest of the line after /D=: when the whole switch was quoted ("/D=C:\My
// Folder "), the blanks after its closing quote and that quote go; the quotes
// around the folder alone (/D="C:\My Folder ") and the blanks are the
// destination cleaning's, shared with the wizard. 0 when it does not fit.
static int ReadDestinationValue(const char *p, int switchQuoted, char *value)
{
    if (strlen(p) >= (size_t)ArgumentBytes)
        return 0;
    lstrcpynA(value, p, ArgumentBytes);
    TrimTrailingBlanks(value);
    size_t length = strlen(value);
    if (switchQuoted && length >= 1 && value[length - 1] == '"')
        value[length - 1] = 0;
    return 1;
}

// Why a destination the cleaning refused is refused, for the administrator.
static const char *DestinationRefusal(int outcome)
{
    switch (outcome) {
    case DestinationTextShareRoot:
        return "/D=: the root of a share; give a folder in it, such as \\\\server\\share\\Lumabook";
    case DestinationTextNameEnd:
        return "/D=: a folder name cannot end in a blank or a dot";
    default:
        return "/D=: not a full folder path such as C:\\Lumabook";
    }
}

// Returns where the arguments go on: the line's end, or a switch that follows
// the folder, which refuses the line but is still read, so that a /LOG= there
// names the log the reason goes to.
static const char *ReadDestination(const char *rest, int switchQuoted, CommandLine *line)
{
    const char *following = SwitchAfterFolder(rest);
    if (following) {
        const char *name = SwitchAt(*following == '"' ? following + 1 : following);
        if (name == DestinationSwitch)
            Refuse(line, "/D= given twice: give /D= once, last on the line");
        else
            Refuse(line, "/D= must come last, as its folder takes the rest of the line; after it", name);
        return following;
    }
    const char *end = rest + strlen(rest);
    char value[ArgumentBytes];
    // Too long for a path is too long for the install's names: the destination
    // is refused as the install refuses one of 240 bytes, not the command line.
    if (!ReadDestinationValue(rest, switchQuoted, value) || strlen(value) >= (size_t)PathBufferBytes) {
        if (!line->DestinationGiven)
            line->DestinationGiven = line->DestinationTooLong = 1;
        return end;
    }
    int outcome = CleanDestinationText(value);
    if (outcome != DestinationTextClean) {
        Refuse(line, DestinationRefusal(outcome), value);
    } else if (!line->DestinationGiven) {
        line->DestinationGiven = 1;
        lstrcpynA(line->Destination, value, PathBufferBytes);
    }
    return end;
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

// A path that ends in a separator names a folder: the log would be no file at
// all, and one held for a new destination would be lost after the install.
static const char *LogPathRefusal(const char *value, const CommandLine *line)
{
    if (line->LogPath[0])
        return "give /LOG= once";
    if (!value[0])
        return "/LOG=: give a file path";
    if (strlen(value) >= (size_t)PathBufferBytes)
        return "/LOG=: the path is longer than 259 bytes";
    if (EndsWithBackslash(value) || value[strlen(value) - 1] == '/')
        return "/LOG=: the path names a folder; give a file path";
    return 0;
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
            Refuse(line, "give /LANG= once, as EN, SC or TC", argument);
    } else if (HasPrefix(argument, DisplaySwitch)) {
        value = argument + strlen(DisplaySwitch);
        if (line->DisplayOk != NotGiven || !ReadDisplayAnswer(value, line))
            Refuse(line, "give /DISPLAYOK= once, as 1 or 0", argument);
    } else if (HasPrefix(argument, LogSwitch)) {
        value = argument + strlen(LogSwitch);
        const char *refusal = LogPathRefusal(value, line);
        if (refusal)
            Refuse(line, refusal, argument);
        else
            lstrcpynA(line->LogPath, value, PathBufferBytes);
    } else {
        Refuse(line, "unknown argument", argument);
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
            p = ReadDestination(p + switchQuoted + strlen(DestinationSwitch), switchQuoted, line);
            continue;
        }
        p = ReadArgument(p, argument);
        if (!p) {
            Refuse(line, "an argument is longer than a path can be");
            break;
        }
        ReadSwitch(argument, line);
        p = SkipBlanks(p);
    }
    if (!line->Silent && AnswersGiven(line))
        Refuse(line, "/D=, /LANG=, /DISPLAYOK=, /NOICON and /REPLACEWORDBASE need /S");
    return line->Reason[0] == 0;
}
