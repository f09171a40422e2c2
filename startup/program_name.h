// The program's own name at the head of its command line.
#pragma once

// The arguments: the command line after the program's name and the blanks
// behind it (an empty text when there are none).
const char *SkipProgramName(const char *commandLine);
