// One setup at a time: a second copy started while one runs, by a double click
// too many or by a deployment tool, never runs a second install into the same folder.
#pragma once
#include <windows.h>

// Makes or opens the setup's named mutex and keeps it until the process ends.
// Returns 0 when another copy holds it already, else 1 (also when no mutex
// could be made at all: that alone does not stop the setup).
int ClaimSetupMutex();
// Brings the running copy's wizard, or the message or chooser in front of it,
// to the foreground. The running copy may still be starting up, so its window
// is looked for a while, until that copy ends.
void ShowRunningSetup();
