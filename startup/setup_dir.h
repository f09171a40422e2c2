// The folder the running setup program was started from.
#pragma once

int SetupDirFromModulePath(const char *modulePath, char *setupDir, int capacity);
int RecordSetupDir();
