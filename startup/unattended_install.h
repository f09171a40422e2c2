// The install without a window, with the answers of the command line.
#pragma once
#include "startup/command_line.h"

// Returns the exit code: installed, destination refused or install failed.
int RunUnattendedInstall(const CommandLine *line);
