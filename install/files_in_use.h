// Files of an earlier installation that another program holds open, found
// before the install changes anything.
#pragma once

const int HoldingProgramsBytes = 96;   // the programs' names, for one line of a message

// 1 when another program holds the file so that the install could not replace
// it now: open without sharing (every system), or, where the Restart Manager
// answers (Windows Vista and later), in use by any other process, a running
// program's own image included, which NT lets others read.
int FileIsInUse(const char *path);
// The names of the programs that hold the file, separated by ", " and cut by
// whole characters; empty where the system cannot tell (before Windows Vista).
void NameProgramsHolding(const char *path, char *names, int capacity);
