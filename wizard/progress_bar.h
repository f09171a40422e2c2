// The install's progress bar, control 1026 of the wizard.
#pragma once
#include <windows.h>

// Makes the bar, hidden, where the wizard's page keeps room for it; the install
// shows it. Returns the bar (the one made before, if any), or 0 when the common
// controls cannot be had.
HWND CreateProgressBar(HWND wizard);
