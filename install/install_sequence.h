// The installation itself: the payload files in their order, the settings and the shortcuts.
#pragma once

extern int KeepOldWordBase;    // set when the user keeps the existing word base
// The answer to the word-base question given in advance (IDYES replaces, IDNO
// keeps); 0 asks the user.
extern int WordBaseAnswer;

// 1 when every required file was written and the settings hold the answers;
// 0 when the buffer was not available, a required file failed or the settings
// edit did (the shortcuts are then not made).
int RunInstallSequence();
// The check of every entry the file table will write, before the disk changes;
// 0 when a required entry is damaged.
int CheckFileTableEntries();
// The file table step alone (rows and checkpoints), into the caller's install buffer.
int ExtractFileTable(unsigned char *buffer);
