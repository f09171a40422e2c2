// The wizard's controls that its template does not hold: each is made when a
// later page or the install first needs it, as the template would have made it.
#pragma once
#include <windows.h>

// Makes control `id` of the late controls (hidden) unless the dialog has it
// already; returns it, or 0 when it is none of them or cannot be made.
HWND CreateLateControl(HWND dialog, int id);
// The install's progress bar, with the common controls it needs; 0 without them.
HWND CreateProgressBar(HWND wizard);
