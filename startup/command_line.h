// The command line of an unattended install, read at start-up.
#pragma once
#include "startup/shared_state.h"

const int NotGiven = -1;
const int CommandLineReasonBytes = 160;

// What the switches asked for. Without any switch every field keeps its
// "not given" value and the program runs its wizard as always.
struct CommandLine {
    int Silent;                              // /S: no wizard and no message
    int UsageWanted;                         // /?
    int DestinationGiven;
    char Destination[PathBufferBytes];       // /D=, without a trailing backslash
    int DestinationTooLong;                  // /D= of 260 bytes or more, not kept: the destination is refused
    int Language;                            // /LANG=EN|SC|TC as 0, 1, 2, or NotGiven
    int DisplayOk;                           // /DISPLAYOK=1|0, or NotGiven
    int NoDesktopIcon;                       // /NOICON
    int ReplaceWordBase;                     // /REPLACEWORDBASE
    char LogPath[PathBufferBytes];           // /LOG=, empty for no log
    char Reason[CommandLineReasonBytes];     // why the line was refused, then the argument
};

// Reads the arguments (the command line without the program's name). Switches
// are case-insensitive; a value with spaces is quoted, except that /D= takes
// the rest of the line, as it must come last: a switch after it, or a second
// /D=, refuses the line; the folder is cleaned and refused as the wizard's field
// is (startup/destination_text.h).
// Returns 1 when every argument was understood, else 0 with Reason filled; the
// log path is kept in either case when it was read, so the reason can be logged.
int ParseCommandLine(const char *arguments, CommandLine *line);
