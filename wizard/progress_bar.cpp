// The install's progress bar is made when Install is pressed, not with the
// wizard: its class comes from the common controls, and loading them was the
// largest part of start-up that the first page does not need.
#include "wizard/progress_bar.h"
#include "startup/shared_state.h"
#include "startup/system_functions.h"
#include "resources/resource_ids.h"
#include <commctrl.h>

// Below the language page's controls, in dialog units: left, top, right, bottom.
static const RECT ProgressBarUnits = { 139, 183, 139 + 294, 183 + 14 };
// Smooth, with a border, hidden until the install shows it. The dialog manager
// gives each control of a template no-parent-notify, and so does this.
const DWORD ProgressBarStyle = WS_CHILD | WS_BORDER | PBS_SMOOTH;
const DWORD ProgressBarExStyle = WS_EX_NOPARENTNOTIFY;

// The common controls register their classes as they are loaded;
// InitCommonControls makes sure of it where they would not.
static int LoadCommonControls()
{
    FindSystemFunctions();
    if (!CommonControlsInitialise)
        return 0;
    CommonControlsInitialise();
    return 1;
}

// The bar takes the place in the wizard's control order, after the web address
// label, that a template control would have.
HWND CreateProgressBar(HWND wizard)
{
    HWND bar = GetDlgItem(wizard, ID_PROGRESS_BAR);
    if (bar || !LoadCommonControls())
        return bar;
    RECT rect = ProgressBarUnits;
    MapDialogRect(wizard, &rect);
    bar = CreateWindowExA(ProgressBarExStyle, PROGRESS_CLASSA, "", ProgressBarStyle, rect.left, rect.top,
                          rect.right - rect.left, rect.bottom - rect.top, wizard,
                          (HMENU)(INT_PTR)ID_PROGRESS_BAR, AppInstance, 0);
    if (bar)
        SetWindowPos(bar, GetDlgItem(wizard, ID_WEB_ADDRESS_LABEL), 0, 0, 0, 0,
                     SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
    return bar;
}
