// The installation itself: the payload files in their order, the settings and the shortcuts.
#pragma once

extern int KeepOldWordBase;    // set when the user keeps the existing word base
// The answer to the word-base question given in advance (IDYES replaces, IDNO
// keeps); 0 asks the user.
extern int WordBaseAnswer;

// The links an install that returned 1 could not make, as bits: the product
// is installed, but a deployment tool must learn that its links are not.
const int StartMenuEntryMissing = 1;   // a link of the Start-menu group, or the group itself
const int DesktopLinkMissing = 2;      // the desktop link, when it was wanted
extern int LinksMissing;

// Set by whoever runs the install to stop it (the wizard's Cancel); it is
// read between two files while InstallCanBeCancelled is 1, until the files
// begin to change names, after which the install completes.
extern int InstallCancelled;
extern int InstallCanBeCancelled;

// 1 when every required file was written and the settings hold the answers;
// 0 when the buffer was not available, a required file failed, the settings
// file or a file could not take its place, or the install was cancelled:
// every file is then as it was before (the shortcuts are not made).
int RunInstallSequence();
// The check of every entry the file table will write, before the disk changes;
// 0 when a required entry is damaged.
int CheckFileTableEntries();
// The file table step alone (rows and checkpoints), into the caller's install
// buffer: every new file written beside the old ones, then all renamed in.
int ExtractFileTable(unsigned char *buffer);
