// The destination folder as the user typed it in the wizard or gave it with
// /D=: one cleaning and one set of refusals for both.
#pragma once

enum DestinationTextOutcome {
    DestinationTextClean,        // a full path to a folder, cleaned in place
    DestinationTextNotFull,      // empty, a quote inside, no drive or share, or a drive root
    DestinationTextShareRoot,    // a share with no folder in it ("\\server\share")
    DestinationTextNameEnd,      // a folder name along the path ends in a blank or a dot
};

// Drops the blanks at either end, then the quotes around the folder and the
// blanks inside them, then every trailing backslash; then checks what is left.
// The text only shrinks, so any buffer holding it is large enough.
int CleanDestinationText(char *folder);
