// The install without a window, with the answers of the command line.
#pragma once
#include "startup/command_line.h"

// Returns the exit code: installed, destination refused or install failed.
int RunUnattendedInstall(const CommandLine *line);
// For a log whose folder does not exist yet but lies in the destination (the
// destination itself or a folder inside it) and the destination can be made:
// holds its lines until the destination is ready and returns 1. 0 when the log
// cannot come with the destination, or no install will run.
int HoldLogForDestination(const CommandLine *line);
