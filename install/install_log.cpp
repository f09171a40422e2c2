// The plain-text install log. Each line goes to the disk in one write as it is
// logged, so a log read while the install runs, or after it was stopped, holds
// what happened. A line that cannot be written whole (a full disk, a share gone)
// ends the log: the part of it that reached the disk is cut off again, and so
// is a claim of success before it, so that a log cut short never ends in a
// claim of success; a last line then says why it ends there.
// The install itself goes on; the caller learns of the loss when it closes.
#include "install/install_log.h"
#include "install/install_sequence.h"
#include "install/payload_store.h"
#include "startup/shared_state.h"
#include <stdarg.h>
#include <stdio.h>
#include <stdlib.h>
#include <string.h>

const int ErrorTextBytes = 256;
const int CauseTextBytes = ErrorTextBytes + 48;
const DWORD NoClaim = 0xFFFFFFFF;
// Windows keeps error codes with this bit set for programs' own causes.
const DWORD OwnErrorBit = 0x20000000;
// Codes at and above this are HRESULTs, shown in hex as Windows documents them.
const DWORD HresultErrorBit = 0x80000000;

static const char LineEnd[] = "\r\n";   // the log is a text file for Notepad

// Causes that Windows has no error for, in the program's own words.
struct OwnError {
    DWORD Code;
    const char *Text;
};
static const OwnError OwnErrors[] = {
    { ErrorPayloadEntryDamaged,
      "the setup program's copy of this file is missing or damaged; download the setup program again" },
};
static const int OwnErrorCount = sizeof(OwnErrors) / sizeof(OwnErrors[0]);

enum LogState { LogNotAsked, LogHeld, LogOpen, LogBroken };

static int State = LogNotAsked;
static HANDLE File = INVALID_HANDLE_VALUE;
static DWORD LogLength;                 // bytes of whole lines, in the file or held
static DWORD LastLineStart;
static DWORD ClaimStart = NoClaim;      // where the claim of success begins
static char HeldPath[PathBufferBytes];
static char *HeldLines;

static void ForgetHeldLines()
{
    free(HeldLines);
    HeldLines = 0;
}

static void StartLog(int state)
{
    State = state;
    LogLength = LastLineStart = 0;
    ClaimStart = NoClaim;
}

// Others may read the log while the install writes it, but nobody else writes.
static int CreateLogFile(const char *path)
{
    File = CreateFileA(path, GENERIC_WRITE, FILE_SHARE_READ, 0, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, 0);
    return File != INVALID_HANDLE_VALUE;
}

int OpenInstallLog(const char *path)
{
    CloseInstallLog();
    if (!CreateLogFile(path))
        return 0;
    StartLog(LogOpen);
    return 1;
}

void HoldInstallLog(const char *path)
{
    CloseInstallLog();
    lstrcpynA(HeldPath, path, PathBufferBytes);
    StartLog(LogHeld);
}

// The system's text of the error on one line, or the program's own words.
static void DescribeError(DWORD error, char *text, int size)
{
    if (error == ERROR_SUCCESS) {
        snprintf(text, size, ": %s", "no cause was reported");
        return;
    }
    if (error & OwnErrorBit && !(error & HresultErrorBit)) {
        for (int i = 0; i < OwnErrorCount; i++)
            if (OwnErrors[i].Code == error) {
                snprintf(text, size, ": %s", OwnErrors[i].Text);
                return;
            }
    }
    char message[ErrorTextBytes] = "";
    FormatMessageA(FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS, 0, error, 0, message,
                   sizeof(message), 0);
    for (char *p = message; *p; p++)
        if (*p == '\r' || *p == '\n')
            *p = ' ';
    size_t length = strlen(message);
    while (length > 0 && message[length - 1] == ' ')
        message[--length] = 0;
    snprintf(text, size, (error & HresultErrorBit) ? ": Windows error 0x%08lX (%s)" : ": Windows error %lu (%s)",
             (unsigned long)error, message);
}

// Back to a length that ends a whole line; what was written past it is gone.
static void CutLogAt(DWORD length)
{
    LONG high = 0;
    if (SetFilePointer(File, (LONG)length, &high, FILE_BEGIN) != INVALID_SET_FILE_POINTER)
        SetEndOfFile(File);
    LogLength = length;
}

static int WriteWhole(const char *bytes, DWORD length)
{
    DWORD written = 0;
    BOOL wrote = WriteFile(File, bytes, length, &written, 0);
    if (wrote && written != length)
        SetLastError(ERROR_DISK_FULL);
    return wrote && written == length;
}

// The line that could not be written, and a claim of success before it, are
// cut off; the last line says why the log ends, when even that fits.
static void BreakLog(DWORD lineStart, DWORD error)
{
    DWORD cut = ClaimStart < lineStart ? ClaimStart : lineStart;
    CutLogAt(cut);
    State = LogBroken;
    char note[CauseTextBytes + 64];
    DescribeError(error, note + sprintf(note, "log cut short here, the lines after this one are lost"),
                  CauseTextBytes);
    lstrcatA(note, LineEnd);
    if (!WriteWhole(note, (DWORD)strlen(note)))
        CutLogAt(cut);
}

// Appends a block of whole lines, to the file or to the lines held.
static void AddToLog(const char *bytes, DWORD length)
{
    LastLineStart = LogLength;
    if (State == LogHeld) {
        char *larger = (char *)realloc(HeldLines, LogLength + length);
        if (!larger) {
            ForgetHeldLines();
            State = LogBroken;
            return;
        }
        HeldLines = larger;
        memcpy(HeldLines + LogLength, bytes, length);
        LogLength += length;
        return;
    }
    if (!WriteWhole(bytes, length)) {
        BreakLog(LastLineStart, GetLastError());
        return;
    }
    LogLength += length;
}

static int Accepting()
{
    return State == LogHeld || State == LogOpen;
}

static void AddLine(const char *format, va_list arguments, const char *tail)
{
    va_list measuring;
    va_copy(measuring, arguments);
    int measured = vsnprintf(0, 0, format, measuring);
    va_end(measuring);
    size_t length = measured > 0 ? (size_t)measured : 0;
    char *line = (char *)malloc(length + strlen(tail) + sizeof(LineEnd));
    if (!line) {
        State = LogBroken;
        return;
    }
    vsnprintf(line, length + 1, format, arguments);
    lstrcatA(line, tail);
    lstrcatA(line, LineEnd);
    AddToLog(line, (DWORD)strlen(line));
    free(line);
}

void LogLine(const char *format, ...)
{
    if (!Accepting())
        return;
    va_list arguments;
    va_start(arguments, format);
    AddLine(format, arguments, "");
    va_end(arguments);
}

void LogFailure(DWORD error, const char *format, ...)
{
    if (!Accepting())
        return;
    char tail[CauseTextBytes];
    DescribeError(error, tail, sizeof(tail));
    va_list arguments;
    va_start(arguments, format);
    AddLine(format, arguments, tail);
    va_end(arguments);
}

// The result line names the links that are missing, as the exit code tells.
static const char *const MissingLinksTexts[] = {
    "",
    " without the Start-menu entry",
    " without the desktop link",
    " without the Start-menu entry and the desktop link",
};

void LogInstallResult(int installed)
{
    if (installed && ClaimStart == NoClaim)
        ClaimStart = LogLength;
    int missing = LinksMissing & (StartMenuEntryMissing | DesktopLinkMissing);
    if (installed)
        LogLine("result: installed%s", MissingLinksTexts[missing]);
    else
        LogLine("result: install FAILED");
}

// Every folder of the path is made that is missing; the caller holds a log
// only where these folders lie inside the destination it has just made.
static void MakeFoldersOf(const char *path)
{
    char folder[PathBufferBytes];
    lstrcpynA(folder, path, PathBufferBytes);
    for (char *p = folder; *p; p = CharNextA(p)) {
        if (*p != '\\' || p == folder)
            continue;
        *p = 0;
        CreateDirectoryA(folder, 0);
        *p = '\\';
    }
}

int OpenHeldInstallLog()
{
    if (State != LogHeld)
        return State != LogBroken;
    MakeFoldersOf(HeldPath);
    if (!CreateLogFile(HeldPath)) {
        ForgetHeldLines();
        State = LogBroken;
        return 0;
    }
    State = LogOpen;
    DWORD held = LogLength;
    LogLength = 0;
    AddToLog(HeldLines, held);
    ForgetHeldLines();
    return State == LogOpen;
}

// 1 while every line asked for has reached the log (or no log is asked for).
static int InstallLogIsWhole()
{
    return State == LogNotAsked || State == LogOpen;
}

// A write the system only took into its cache can still fail on the way to
// the disk (a share gone): the flush tells, and the last line goes too.
int CloseInstallLog()
{
    if (State == LogOpen && !FlushFileBuffers(File))
        BreakLog(LastLineStart, GetLastError());
    int whole = InstallLogIsWhole();
    if (File != INVALID_HANDLE_VALUE)
        CloseHandle(File);
    File = INVALID_HANDLE_VALUE;
    ForgetHeldLines();
    State = LogNotAsked;
    return whole;
}

void LogFileResult(const char *name, int written, DWORD error, int required)
{
    if (written)
        LogLine("file written: %s", name);
    else if (required)
        LogFailure(error, "file FAILED, the install stops: %s", name);
    else
        LogFailure(error, "file failed, optional, the install goes on: %s", name);
}

void LogFileKept(const char *name)
{
    LogLine("file kept (the existing word base stays): %s", name);
}

void LogLinkResult(const char *linkPath, const char *target, int made, HRESULT result)
{
    if (made)
        LogLine("link made: %s -> %s", linkPath, target);
    else
        LogFailure((DWORD)result, "link FAILED: %s -> %s", linkPath, target);
}

void LogSettingsReadBack(const char *font, const char *language, int asWritten)
{
    if (asWritten)
        LogLine("settings edited: %s\\uiprefs.ini [Config] UseBmpFont=%s ForceLanguage=%s", InstallDir, font, language);
    else
        LogLine("settings FAILED, the install stops: %s\\uiprefs.ini reads back [Config] UseBmpFont=%s "
                "ForceLanguage=%s, not the values written there",
                InstallDir, font, language);
}

static const char *const LanguageNames[] = { "EN (English)", "SC (Simplified Chinese)", "TC (Traditional Chinese)" };

void LogInstallAnswers(const char *how)
{
    if (!Accepting())
        return;
    int language = ForceLanguage >= 0 && ForceLanguage <= 2 ? ForceLanguage : 0;
    LogLine("install %s", how);
    LogLine("answer destination: %s", InstallDir);
    LogLine("answer interface language: %s", LanguageNames[language]);
    LogLine("answer Chinese displays correctly: %s", ChineseDisplayOk ? "yes (1)" : "no (0)");
    LogLine("answer desktop link: %s", DesktopIconWanted ? "yes" : "no");
    LogLine("answer existing word base of the current kind: %s",
            WordBaseAnswer == IDYES ? "replace" : WordBaseAnswer == IDNO ? "keep" : "ask");
}
