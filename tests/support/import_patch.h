// Lets a test stand in for a system function that the program's code calls, by
// pointing the test program's own import slot for it somewhere else.
#pragma once

// Returns the function the slot held before, or 0 when the program imports no
// such function from that library.
void *ReplaceImport(const char *library, const char *function, void *replacement);

// Windows 95, 98 and ME as the program meets them, in this process: IsNtPlatform
// clear, MoveFileExA a stub failing with ERROR_CALL_NOT_IMPLEMENTED, CreateFileA
// refusing FILE_SHARE_DELETE. A failing step plants a fault: that call of
// FlushFileBuffers and MoveFileA, counted together from 1, fails (ERROR_WRITE_FAULT).
// With on 0 the real functions and Wine's own answer, NT, come back. 1 when all is in place.
int ImitateWindows9x(int on, int failingStep = 0);
