// Tells the test harness that this test program got as far as its own code:
// it creates the file named by LUMABOOK_REACHED_MARKER while the program's
// static objects are made, before main. A program that Wine lost during its
// start-up never writes it, and only such a start is tried again (tests/wine_run.sh).
#include <windows.h>
#include <stdlib.h>

static int WriteReachedMarker()
{
    const char *path = getenv("LUMABOOK_REACHED_MARKER");
    if (!path || !*path)
        return 0;
    HANDLE marker = CreateFileA(path, GENERIC_WRITE, 0, 0, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, 0);
    if (marker == INVALID_HANDLE_VALUE)
        return 0;
    CloseHandle(marker);
    return 1;
}

static int ReachedMarkerWritten = WriteReachedMarker();
