// The plain-text log an administrator asks for with /LOG=: what the install was
// told, every file it wrote or could not write, the settings, the links, the result.
#pragma once
#include <windows.h>

// Creates (or empties) the log file; 1 when it is open, else 0 with the
// Windows error. Every other call does nothing while no log is asked for.
int OpenInstallLog(const char *path);
// A log whose folder the install has yet to make: its lines are held in
// memory until OpenHeldInstallLog makes the folders it lacks and opens it.
void HoldInstallLog(const char *path);
// 1 when the held log is open with every line so far, or none was held.
int OpenHeldInstallLog();
// Flushes and closes the log; 1 when it is whole to its last line.
int CloseInstallLog();

void LogLine(const char *format, ...);
// The same line followed by the cause: the Windows error's number and text,
// or the program's own words for an error code of its own.
void LogFailure(DWORD error, const char *format, ...);
// The install's result. A success is a claim the log never ends in unless
// every line after it reached the disk too.
void LogInstallResult(int installed);

// The error is read by the caller right after the failing call.
void LogFileResult(const char *name, int written, DWORD error, int required);
void LogFileKept(const char *name);
void LogLinkResult(const char *linkPath, const char *target, int made, HRESULT result);
// The two settings keys as the product reads them back, and whether they are
// the values written.
void LogSettingsReadBack(const char *font, const char *language, int asWritten);
// The answers the install runs with, from the shared state.
void LogInstallAnswers(const char *how);
