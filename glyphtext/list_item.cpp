// Owner-drawn lines of the licence list and items of the language combo box,
// drawn from the program's own bytes that each item's data leads to.
#include "glyphtext/owner_drawn.h"
#include "glyphtext/mixed_text.h"
#include "wizard/language_list.h"

const int ItemTextBytes = 260;
const int ItemTextInset = 2;
const COLORREF ListTextColour = RGB(0, 0, 0);

static void FillComboBackground(HDC dc, const RECT *r, int selected)
{
    SetBkMode(dc, TRANSPARENT);
    SetTextColor(dc, GetSysColor(selected ? COLOR_HIGHLIGHTTEXT : COLOR_WINDOWTEXT));
    COLORREF background = GetSysColor(selected ? COLOR_HIGHLIGHT : COLOR_WINDOW);
    SetBkColor(dc, background);
    HBRUSH brush = CreateSolidBrush(background);
    FillRect(dc, r, brush);
    DeleteObject(brush);
}

static void FillListBackground(HDC dc, const RECT *r)
{
    SetTextColor(dc, ListTextColour);
    SetBkColor(dc, GetSysColor(COLOR_WINDOW));
    FillRect(dc, r, GetSysColorBrush(COLOR_WINDOW));
}

// The controls hold their strings too, but the system may have passed them
// through a code page that changes GB2312 bytes; the item data leads to the
// program's own copy: the language number in the combo box, a pointer to the
// licence line in the list.
static const char *ItemSourceText(int isCombo, ULONG_PTR itemData)
{
    if (isCombo)
        return LanguageTextFor((int)itemData);
    return (const char *)itemData;
}

static int ItemExists(HWND control, int isCombo, UINT itemNumber)
{
    LRESULT count = SendMessageA(control, isCombo ? CB_GETCOUNT : LB_GETCOUNT, 0, 0);
    return count > 0 && itemNumber < (UINT)count;
}

void DrawListItem(int controlId, int isCombo, const DRAWITEMSTRUCT *item, HWND dialog)
{
    RECT r = item->rcItem;
    HDC dc = item->hDC;
    int saved = SaveDC(dc);
    int selected = (item->itemState & ODS_SELECTED) != 0;
    if (isCombo)
        FillComboBackground(dc, &r, selected);
    else
        FillListBackground(dc, &r);
    HWND control = GetDlgItem(dialog, controlId);
    const char *source = ItemSourceText(isCombo, item->itemData);
    if (ItemExists(control, isCombo, item->itemID) && source) {
        char text[ItemTextBytes];
        CopyMixedText(text, source, ItemTextBytes - 1);
        InflateRect(&r, -ItemTextInset, -ItemTextInset);
        DrawMixedText(dc, r.left, r.top, text, selected);
    }
    RestoreDC(dc, saved);
}
