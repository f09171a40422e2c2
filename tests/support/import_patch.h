// Lets a test stand in for a system function that the program's code calls, by
// pointing the test program's own import slot for it somewhere else.
#pragma once

// Returns the function the slot held before, or 0 when the program imports no
// such function from that library.
void *ReplaceImport(const char *library, const char *function, void *replacement);

// Windows NT where Wine running as root is more lenient, in this process: IsNtPlatform
// set, MoveFileExA
// refuses to rename over a read-only file and CreateFileA to open one for
// writing (ERROR_ACCESS_DENIED), and to recreate a hidden or system file without
// those attributes. A fault may be planted in the last file opened for writing:
enum FileFault {
    NoFileFault,
    CloseFails,                  // its CloseHandle closes it but fails (ERROR_NETNAME_DELETED)
    WriteShortButReportsWhole,   // each WriteFile leaves out the last byte and reports success
};
// With on 0 the real functions come back. 1 when all is in place.
int ImitateWindows(int on, FileFault fault = NoFileFault);

// Windows 95, 98 and ME as the program meets them, with the rules above:
// IsNtPlatform clear, MoveFileExA a stub failing with ERROR_CALL_NOT_IMPLEMENTED,
// CreateFileA refusing FILE_SHARE_DELETE. A failing step plants a fault: that call
// of FlushFileBuffers and MoveFileA, counted together from 1, fails (ERROR_WRITE_FAULT).
// With on 0 Wine's own answer, NT, comes back, and the rules above stay as
// ImitateWindows left them. 1 when all is in place.
int ImitateWindows9x(int on, int failingStep = 0);
