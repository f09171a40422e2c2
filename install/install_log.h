// The plain-text log an administrator asks for with /LOG=: what the install was
// told, every file it wrote or could not write, the settings, the links, the result.
#pragma once
#include <windows.h>

// Creates (or empties) the log file; 1 when it is open. Every other call does
// nothing while no log is open.
int OpenInstallLog(const char *path);
void CloseInstallLog();
void LogLine(const char *format, ...);
// The same line followed by the Windows error's number and text.
void LogFailure(DWORD error, const char *format, ...);

// The error is read by the caller right after the failing call.
void LogFileResult(const char *name, int written, DWORD error, int required);
void LogFileKept(const char *name);
void LogLinkResult(const char *linkPath, const char *target, int made, HRESULT result);
// The two settings keys as the product will read them back.
void LogSettingsFile();
// The answers the install runs with, from the shared state.
void LogInstallAnswers(const char *how);
