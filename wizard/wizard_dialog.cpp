// The wizard dialog: one modeless dialog whose pages are sets of its controls.
// Its procedure dispatches each message to a named handler.
#include "wizard/wizard_dialog.h"
#include "wizard/wizard_commands.h"
#include "wizard/default_destination.h"
#include "wizard/language_list.h"
#include "wizard/licence_texts.h"
#include "wizard/wizard_pages.h"
#include "wizard/control_names.h"
#include "wizard/late_controls.h"
#include "glyphtext/owner_drawn.h"
#include "glyphtext/mixed_text.h"
#include "startup/message_loop.h"
#include "startup/shared_state.h"
#include "startup/startup_steps.h"
#include "resources/resource_ids.h"

const int ListItemHeight = 23;
const int ListItemWidth = 1024;

// The wizard's check boxes are painted by the glyph painters; they keep the
// standard button procedure to pass everything else on to.
static const int SubclassedCheckBoxes[] = { ID_DESKTOP_ICON_CHECK, ID_DISPLAY_OK_CHECK, ID_DISPLAY_NO_CHECK };

// The owner-drawn controls a person reads or presses, named with their captions.
// Unnamed: the panel's blank cell, the label never shown, the icon, the divider
// and the frame around the sample line, which show no text.
static const int NamedOwnerDrawnControls[] = {
    ID_NEXT_BUTTON, ID_BACK_BUTTON, ID_CANCEL_BUTTON, ID_BROWSE_BUTTON, ID_INSTALL_PATH_LABEL,
    ID_PANEL_FAMILY_LABEL, ID_PANEL_EDITION_LABEL, ID_PANEL_SETUP_LABEL, ID_DISPLAY_QUESTION_LABEL,
    ID_SAMPLE_LINE_LABEL, ID_LANGUAGE_LABEL,
};

// The push buttons that wear a frame; the black one goes to whichever Enter presses.
static const int FramedPushButtons[] = { ID_NEXT_BUTTON, ID_BACK_BUTTON, ID_CANCEL_BUTTON, ID_BROWSE_BUTTON };

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
        LRESULT item = AddNamedItem(combo, CB_INSERTSTRING, position, LanguageList[i].Text);
        if (item >= 0)
            SendMessageA(combo, CB_SETITEMDATA, (WPARAM)item, (LPARAM)LanguageList[i].Language);
    }
    SendMessageA(combo, CB_SETCURSEL, 0, 0);
    // The selection field is as tall as the items: the answer to its own
    // WM_MEASUREITEM (item -1) is not honoured by every system, and a field
    // sized to the dialog font would cut the glyphs drawn 2 pixels into it.
    SendMessageA(combo, CB_SETITEMHEIGHT, (WPARAM)-1, ListItemHeight);
}

// The panel icon's window text is its resource number (0xFFFF, 105), which a
// reader would read out as characters; only the default handling empties it,
// as the static control's own would look for an icon named by the new text.
static void NameWizardControls(HWND window)
{
    NameOwnerDrawnControls(window, NamedOwnerDrawnControls,
                           sizeof(NamedOwnerDrawnControls) / sizeof(NamedOwnerDrawnControls[0]));
    for (int id : SubclassedCheckBoxes)
        NameControl(GetDlgItem(window, id), CheckBoxCaption(id));
    DefWindowProcA(GetDlgItem(window, ID_PANEL_ICON_CONTROL), WM_SETTEXT, 0, (LPARAM)"");
}

static void SubclassCheckBoxes(HWND window)
{
    for (int id : SubclassedCheckBoxes) {
        LONG_PTR previous = SubclassNamedControl(GetDlgItem(window, id), CheckBoxProc);
        if (previous && (WNDPROC)previous != CheckBoxProc)
            PreviousButtonProc = (WNDPROC)previous;
    }
}

// With small dialog units (a CJK system font) the combo box's selection field,
// as tall as its items, reaches into the caption below it. The caption moves
// down until its glyph cells, centred in the label, are clear of the field.
static void KeepLanguageCaptionClear(HWND window)
{
    HWND label = GetDlgItem(window, ID_LANGUAGE_LABEL);
    RECT field, caption;
    GetWindowRect(GetDlgItem(window, ID_LANGUAGE_COMBO), &field);
    GetWindowRect(label, &caption);
    MapWindowPoints(0, window, (POINT *)&field, 2);
    MapWindowPoints(0, window, (POINT *)&caption, 2);
    int glyphTop = caption.top + (caption.bottom - caption.top - GlyphTextHeight) / 2;
    if (glyphTop >= field.bottom)
        return;
    MoveWindow(label, caption.left, caption.top + field.bottom - glyphTop, caption.right - caption.left,
               caption.bottom - caption.top, FALSE);
}

void CreateLanguageList(HWND window)
{
    if (GetDlgItem(window, ID_LANGUAGE_COMBO) || !CreateLateControl(window, ID_LANGUAGE_COMBO))
        return;
    FillLanguageCombo(window);
    KeepLanguageCaptionClear(window);
}

// Returns FALSE: the focus is set here.
static INT_PTR InitWizardDialog(HWND window)
{
    MarkStartupStep(StepWizardControls);
    SendMessageA(window, WM_SETICON, ICON_BIG, (LPARAM)AppIcon);
    SendMessageA(window, WM_SETICON, ICON_SMALL, (LPARAM)AppIcon);
    ProposeDestination(window);
    CheckDlgButton(window, ID_DESKTOP_ICON_CHECK, BST_CHECKED);
    HWND back = GetDlgItem(window, ID_BACK_BUTTON);
    ShowWindow(back, SW_HIDE);
    EnableWindow(back, FALSE);
    NameWizardControls(window);
    SubclassCheckBoxes(window);
    FocusWizardPage(window, PageDestination);
    MarkStartupStep(StepWizardInit);
    return FALSE;
}

static int IsListControl(UINT id)
{
    return id == ID_CHINESE_LICENCE_LIST || id == ID_LANGUAGE_COMBO;
}

static int ItemExists(HWND control, int isCombo, UINT itemNumber)
{
    LRESULT count = SendMessageA(control, isCombo ? CB_GETCOUNT : LB_GETCOUNT, 0, 0);
    return count > 0 && itemNumber < (UINT)count;
}

// The controls hold their strings too, but the system may have passed them
// through a code page that changes GB2312 bytes; the item data leads to the
// program's own copy: the language number in the combo box, a pointer to the
// licence line in the list.
const char *WizardListItemText(HWND window, const DRAWITEMSTRUCT *item, int isCombo)
{
    if (!ItemExists(GetDlgItem(window, item->CtlID), isCombo, item->itemID))
        return 0;
    if (isCombo)
        return LanguageTextFor((int)item->itemData);
    return (const char *)item->itemData;
}

static void HandleDrawItem(HWND window, const DRAWITEMSTRUCT *item)
{
    if (IsListControl(item->CtlID)) {
        int isCombo = item->CtlID == ID_LANGUAGE_COMBO ? ListIsComboBox : ListIsListBox;
        DrawListItem(item, isCombo, WizardListItemText(window, item, isCombo));
        return;
    }
    DrawOwnerButton(item, 0, EnterCommandFor(GetFocus()));
    // The focus came to a push button or left one: Enter now presses another
    // button, so every frame is drawn again once the focus has settled.
    if (item->itemAction == ODA_FOCUS)
        for (int id : FramedPushButtons)
            InvalidateRect(GetDlgItem(window, id), 0, FALSE);
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
        return InitWizardDialog(window);
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
