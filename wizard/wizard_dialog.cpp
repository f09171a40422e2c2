// The wizard dialog: one modeless dialog whose pages are sets of its controls.
#include "wizard/wizard_dialog.h"
#include "startup/shared_state.h"
#include "resources/resource_ids.h"
#include <stdio.h>

// Kept with a trailing backslash; a Windows directory that cannot be read (or
// would leave no room for the backslash) falls back to the usual one.
static void RecordWindowsDir()
{
    UINT length = GetWindowsDirectoryA(WindowsDir, PathBufferBytes - 1);
    if (length == 0 || length >= (UINT)PathBufferBytes - 1) {
        lstrcpyA(WindowsDir, "C:\\WINDOWS\\");
        return;
    }
    if (WindowsDir[length - 1] != '\\')
        lstrcatA(WindowsDir, "\\");
}

// The proposed destination is the product folder on the Windows drive.
static void ProposeDestination(HWND window)
{
    char destination[PathBufferBytes];
    snprintf(destination, sizeof(destination), "%c:\\%s", WindowsDir[0], ProductFolderName);
    SetDlgItemTextA(window, ID_DESTINATION_EDIT, destination);
}

static void InitWizardDialog(HWND window)
{
    SendMessageA(window, WM_SETICON, ICON_BIG, (LPARAM)AppIcon);
    SendMessageA(window, WM_SETICON, ICON_SMALL, (LPARAM)AppIcon);
    RecordWindowsDir();
    ProposeDestination(window);
    CheckDlgButton(window, ID_DESKTOP_ICON_CHECK, BST_CHECKED);
    HWND back = GetDlgItem(window, ID_BACK_BUTTON);
    ShowWindow(back, SW_HIDE);
    EnableWindow(back, FALSE);
}

// Esc and the close box arrive as Cancel through the standard dialog handling.
static void HandleWizardCommand(int id)
{
    if (id == ID_CANCEL_BUTTON)
        PageState = -1;
}

INT_PTR CALLBACK WizardDialogProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
{
    (void)lParam;
    switch (message) {
    case WM_INITDIALOG:
        InitWizardDialog(window);
        return TRUE;
    case WM_COMMAND:
        HandleWizardCommand(LOWORD(wParam));
        return 0;
    }
    return FALSE;
}
