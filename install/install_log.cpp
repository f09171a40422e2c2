// The plain-text install log. Each line is flushed as it is written, so a log
// read while the install runs, or after it was stopped, holds what happened.
#include "install/install_log.h"
#include "install/install_path.h"
#include "install/install_sequence.h"
#include "startup/shared_state.h"
#include <stdarg.h>
#include <stdio.h>
#include <string.h>

const int ErrorTextBytes = 256;
const int SettingsValueBytes = 16;

static FILE *LogFile;

int OpenInstallLog(const char *path)
{
    CloseInstallLog();
    LogFile = fopen(path, "w");   // text mode: lines end with CR LF for Notepad
    return LogFile != 0;
}

void CloseInstallLog()
{
    if (LogFile)
        fclose(LogFile);
    LogFile = 0;
}

static void WriteLine(const char *format, va_list arguments, const char *tail)
{
    vfprintf(LogFile, format, arguments);
    fputs(tail, LogFile);
    fputc('\n', LogFile);
    fflush(LogFile);
}

void LogLine(const char *format, ...)
{
    if (!LogFile)
        return;
    va_list arguments;
    va_start(arguments, format);
    WriteLine(format, arguments, "");
    va_end(arguments);
}

// The system's text of the error, on one line.
static void DescribeError(DWORD error, char *text, int size)
{
    char message[ErrorTextBytes] = "";
    FormatMessageA(FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS, 0, error, 0, message,
                   sizeof(message), 0);
    for (char *p = message; *p; p++)
        if (*p == '\r' || *p == '\n')
            *p = ' ';
    size_t length = strlen(message);
    while (length > 0 && message[length - 1] == ' ')
        message[--length] = 0;
    snprintf(text, size, ": Windows error %lu (%s)", (unsigned long)error, message);
}

void LogFailure(DWORD error, const char *format, ...)
{
    if (!LogFile)
        return;
    char tail[ErrorTextBytes + 48];
    DescribeError(error, tail, sizeof(tail));
    va_list arguments;
    va_start(arguments, format);
    WriteLine(format, arguments, tail);
    va_end(arguments);
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

void LogSettingsFile()
{
    if (!LogFile)
        return;
    char path[PathBufferBytes];
    char font[SettingsValueBytes];
    char language[SettingsValueBytes];
    if (!BuildInstallPath(path, "uiprefs.ini") || GetFileAttributesA(path) == INVALID_FILE_ATTRIBUTES) {
        LogLine("settings FAILED: no uiprefs.ini in %s", InstallDir);
        return;
    }
    GetPrivateProfileStringA("Config", "UseBmpFont", "(missing)", font, sizeof(font), path);
    GetPrivateProfileStringA("Config", "ForceLanguage", "(missing)", language, sizeof(language), path);
    LogLine("settings edited: %s [Config] UseBmpFont=%s ForceLanguage=%s", path, font, language);
}

static const char *const LanguageNames[] = { "EN (English)", "SC (Simplified Chinese)", "TC (Traditional Chinese)" };

void LogInstallAnswers(const char *how)
{
    if (!LogFile)
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
