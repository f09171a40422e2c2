// The program's exit codes, the one channel a deployment tool reads besides the log.
#pragma once

const int ExitNormal = 0;               // installed, or the wizard or the usage ended
const int ExitStartupFailed = 1;        // the glyph data is missing or damaged
const int ExitBadCommandLine = 2;       // an argument was refused; nothing was installed
const int ExitDestinationRefused = 3;   // the destination is too long, not writable by this user, or cannot be created
const int ExitInstallFailed = 4;        // the install sequence stopped (a file or the settings could not be written)
const int ExitLogIncomplete = 5;        // as 0, but the log could not be written to its end
const int ExitTooLittleSpace = 6;       // the destination's volume has too little room; nothing was changed
const int ExitAnotherSetupRunning = 7;  // another copy of the setup program is running; nothing was done
const int ExitLinksMissing = 8;         // installed, but the Start-menu entry or the wanted desktop link was not made
const int ExitFilesInUse = 9;           // a file the install would replace is held by a program; nothing was changed
