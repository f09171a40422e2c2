// The wizard dialog: one modeless dialog whose pages are sets of its controls.
// Its procedure dispatches each message to a named handler.
#include "wizard/wizard_dialog.h"
#include "wizard/wizard_commands.h"
#include "wizard/default_destination.h"
#include "wizard/language_list.h"
#include "wizard/licence_texts.h"
#include "glyphtext/owner_drawn.h"
#include "startup/shared_state.h"
#include "resources/resource_ids.h"

const int ListItemHeight = 23;
const int ListItemWidth = 1024;

// The wizard's check boxes are painted by the glyph painters; they keep the
// standard button procedure to pass everything else on to.
static const int SubclassedCheckBoxes[] = { ID_DESKTOP_ICON_CHECK, ID_DISPLAY_OK_CHECK, ID_DISPLAY_NO_CHECK };

static void ProposeDestination(HWND window)
{
    char destination[PathBufferBytes];
    SettleSystemWindowsDir(destination);
    SetDlgItemTextA(window, ID_DESTINATION_EDIT, destination);
}

// The entry of the current language goes first; the others follow in table order.
// The list keeps each entry's language number as its item data.
static void FillLanguageCombo(HWND window)
{
    HWND combo = GetDlgItem(window, ID_LANGUAGE_COMBO);
    for (int i = 0; i < LanguageListCount; i++) {
        WPARAM position = LanguageList[i].Language == ForceLanguage ? 0 : (WPARAM)-1;
        LRESULT item = SendMessageA(combo, CB_INSERTSTRING, position, (LPARAM)LanguageList[i].Text);
        if (item >= 0)
            SendMessageA(combo, CB_SETITEMDATA, (WPARAM)item, (LPARAM)LanguageList[i].Language);
    }
    SendMessageA(combo, CB_SETCURSEL, 0, 0);
    // The selection field is as tall as the items: the answer to its own
    // WM_MEASUREITEM (item -1) is not honoured by every system, and a field
    // sized to the dialog font would cut the glyphs drawn 2 pixels into it.
    SendMessageA(combo, CB_SETITEMHEIGHT, (WPARAM)-1, ListItemHeight);
}

static void SubclassCheckBoxes(HWND window)
{
    for (int id : SubclassedCheckBoxes) {
        LONG_PTR previous = SetWindowLongPtrA(GetDlgItem(window, id), GWLP_WNDPROC, (LONG_PTR)CheckBoxProc);
        if (previous && (WNDPROC)previous != CheckBoxProc)
            PreviousButtonProc = (WNDPROC)previous;
    }
}

static void InitWizardDialog(HWND window)
{
    SendMessageA(window, WM_SETICON, ICON_BIG, (LPARAM)AppIcon);
    SendMessageA(window, WM_SETICON, ICON_SMALL, (LPARAM)AppIcon);
    ProposeDestination(window);
    CheckDlgButton(window, ID_DESKTOP_ICON_CHECK, BST_CHECKED);
    HWND back = GetDlgItem(window, ID_BACK_BUTTON);
    ShowWindow(back, SW_HIDE);
    EnableWindow(back, FALSE);
    FillLanguageCombo(window);
    SubclassCheckBoxes(window);
}

static int IsListControl(UINT id)
{
    return id == ID_CHINESE_LICENCE_LIST || id == ID_LANGUAGE_COMBO;
}

static void HandleDrawItem(HWND window, const DRAWITEMSTRUCT *item)
{
    if (IsListControl(item->CtlID))
        DrawListItem((int)item->CtlID, item->CtlID == ID_LANGUAGE_COMBO ? ListIsComboBox : ListIsListBox,
                     item, window);
    else
        DrawOwnerButton(item);
}

static INT_PTR HandleMeasureItem(MEASUREITEMSTRUCT *item)
{
    if (!IsListControl(item->CtlID))
        return FALSE;
    item->itemHeight = ListItemHeight;
    item->itemWidth = ListItemWidth;
    return TRUE;
}

INT_PTR CALLBACK WizardDialogProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
{
    switch (message) {
    case WM_INITDIALOG:
        InitWizardDialog(window);
        return TRUE;
    case WM_COMMAND:
        HandleWizardCommand(window, LOWORD(wParam));
        return 0;
    case WM_DRAWITEM:
        HandleDrawItem(window, (const DRAWITEMSTRUCT *)lParam);
        return TRUE;
    case WM_MEASUREITEM:
        return HandleMeasureItem((MEASUREITEMSTRUCT *)lParam);
    case WM_NCDESTROY:
        FreeLicenceLines();   // the list that pointed into the lines is gone
        return FALSE;
    }
    return FALSE;
}
