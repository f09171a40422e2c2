// Lets a test stand in for a system function that the program's code calls, by
// pointing the test program's own import slot for it somewhere else.
#pragma once

// Returns the function the slot held before, or 0 when the program imports no
// such function from that library.
void *ReplaceImport(const char *library, const char *function, void *replacement);
