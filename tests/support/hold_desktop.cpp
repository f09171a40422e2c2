// Keeps the test run's Wine desktop open from start to end. Wine closes a
// desktop one second after its last program ends; a test program that starts
// just then meets a desktop being torn down and can die before it prints anything.
// This program is a desktop user that never ends by itself (the run's --stop
// ends it with the wineserver), so the desktop stays up between tests.
// usage: hold_desktop MARKER_PATH   (the marker is written once the desktop is held)
#include <windows.h>
#include <stdio.h>

int main(int argc, char **argv)
{
    if (argc != 2) {
        fprintf(stderr, "usage: hold_desktop MARKER_PATH\n");
        return 2;
    }
    // A window that is never shown: it attaches this process to the desktop
    // without covering anything a test captures.
    HWND window = CreateWindowA("STATIC", "desktop holder", WS_POPUP, 0, 0, 1, 1, 0, 0, GetModuleHandleA(0), 0);
    if (!window) {
        fprintf(stderr, "hold_desktop: no window\n");
        return 1;
    }
    FILE *marker = fopen(argv[1], "w");
    if (marker)
        fclose(marker);
    MSG message;
    while (GetMessageA(&message, 0, 0, 0) > 0)
        DispatchMessageA(&message);
    return 0;
}
