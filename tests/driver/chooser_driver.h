// Drives the wizard's folder chooser from another process: open it with Browse,
// open a folder or pick a drive the way a double click or a drive choice does,
// read its texts, and read the setup program's current directory.
#pragma once
#include "driver/setup_driver.h"
#include <string>

extern const char ChooserCaption[];

HWND OpenChooser(SetupRun *run);
int WaitForWindowGone(HWND window, int timeoutMs);
std::wstring ControlTextW(HWND dialog, int id);

// The folder list shows subfolders as "[name]"; the drive list shows drives by
// their lower-case letter. Both return once the chooser shows the new folder.
int OpenChooserFolder(HWND chooser, const std::wstring &name);
int PickChooserDrive(HWND chooser, wchar_t driveLetter);

// The current directory a process holds, as the system keeps it in the
// process's parameter block; empty when it cannot be read.
std::wstring ProcessCurrentDirectory(HANDLE process);
