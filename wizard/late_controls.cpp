// The wizard's controls that only later steps show are made when first needed,
// not with the dialog: the last page's language list and the install's
// progress bar were a fifth of the wizard's start-up under Wine 8, the list for
// its owner-drawn drop-down and the bar for the common controls it loads.
// Each is made as the dialog manager makes a template's control: its rectangle
// in dialog units, its border, no-parent-notify, the dialog's font, and its
// place in the control order, which is the tab order.
#include "wizard/late_controls.h"
#include "startup/shared_state.h"
#include "startup/system_functions.h"
#include "resources/resource_ids.h"
#include <commctrl.h>

struct LateControl {
    int Id;
    const char *ClassName;
    DWORD Style;                        // made hidden; WS_CHILD is added
    short X, Y, Width, Height;          // dialog units, as in a template row
    int After;                          // the control it follows in the control order
};

static const LateControl LateControls[] = {
    { ID_LANGUAGE_COMBO, "ComboBox", CBS_DROPDOWNLIST | CBS_OWNERDRAWFIXED | CBS_HASSTRINGS | CBS_AUTOHSCROLL
      | WS_BORDER | WS_VSCROLL | WS_TABSTOP, 170, 62, 228, 136, ID_LANGUAGE_LABEL },
    { ID_PROGRESS_BAR, PROGRESS_CLASSA, WS_BORDER | PBS_SMOOTH, 139, 183, 294, 14, ID_WEB_ADDRESS_LABEL },
};
const int LateControlCount = sizeof(LateControls) / sizeof(LateControls[0]);

static const LateControl *LateControlOf(int id)
{
    for (int i = 0; i < LateControlCount; i++)
        if (LateControls[i].Id == id)
            return &LateControls[i];
    return 0;
}

// MapDialogRect converts each field alone, as the dialog manager converts a
// template row's position and size: the size is not right minus left.
static RECT PixelsOf(HWND dialog, const LateControl *row)
{
    RECT placement = { row->X, row->Y, row->Width, row->Height };
    MapDialogRect(dialog, &placement);
    return placement;
}

// The dialog manager of Windows 95, NT 4.0 and later gives a template control's
// border the sunken look: its WS_BORDER becomes WS_EX_CLIENTEDGE; NT 3.51's
// keeps the flat border. A late control's border follows what the dialog
// manager did with the Chinese licence list, whose template row has a border.
static void TakeTheDialogsBorder(HWND dialog, DWORD *style, DWORD *exStyle)
{
    HWND bordered = GetDlgItem(dialog, ID_CHINESE_LICENCE_LIST);
    int sunken = (GetWindowLongA(bordered, GWL_EXSTYLE) & WS_EX_CLIENTEDGE)
                 && !(GetWindowLongA(bordered, GWL_STYLE) & WS_BORDER);
    if (!sunken || !(*style & WS_BORDER))
        return;
    *style &= ~WS_BORDER;
    *exStyle |= WS_EX_CLIENTEDGE;
}

HWND CreateLateControl(HWND dialog, int id)
{
    HWND control = GetDlgItem(dialog, id);
    const LateControl *row = LateControlOf(id);
    if (control || !row)
        return control;
    RECT placement = PixelsOf(dialog, row);
    DWORD style = row->Style | WS_CHILD;
    DWORD exStyle = WS_EX_NOPARENTNOTIFY;
    TakeTheDialogsBorder(dialog, &style, &exStyle);
    control = CreateWindowExA(exStyle, row->ClassName, "", style, placement.left,
                              placement.top, placement.right, placement.bottom, dialog, (HMENU)(INT_PTR)id,
                              AppInstance, 0);
    if (!control)
        return 0;
    SendMessageA(control, WM_SETFONT, (WPARAM)SendMessageA(dialog, WM_GETFONT, 0, 0), FALSE);
    HWND after = GetDlgItem(dialog, row->After);
    if (after)      // a null one would mean the top of the order
        SetWindowPos(control, after, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
    return control;
}

// The common controls register their classes as they are loaded;
// InitCommonControls makes sure of it where they would not.
HWND CreateProgressBar(HWND wizard)
{
    FindSystemFunctions();
    if (!CommonControlsInitialise)
        return 0;
    CommonControlsInitialise();
    return CreateLateControl(wizard, ID_PROGRESS_BAR);
}
