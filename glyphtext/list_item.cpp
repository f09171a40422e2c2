// Owner-drawn lines of the licence list and items of the language combo box,
// drawn from the program's own bytes that the dialog hands over.
#include "glyphtext/owner_drawn.h"
#include "glyphtext/mixed_text.h"

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
    FillRect(dc, r, SystemColourFill(COLOR_WINDOW));
}

void DrawListItem(const DRAWITEMSTRUCT *item, int isCombo, const char *text)
{
    RECT r = item->rcItem;
    HDC dc = item->hDC;
    int saved = SaveDC(dc);
    int selected = (item->itemState & ODS_SELECTED) != 0;
    if (isCombo)
        FillComboBackground(dc, &r, selected);
    else
        FillListBackground(dc, &r);
    if (text) {
        char caption[ItemTextBytes];
        CopyMixedText(caption, text, ItemTextBytes - 1);
        InflateRect(&r, -ItemTextInset, -ItemTextInset);
        DrawMixedText(dc, r.left, r.top, caption, selected);
    }
    RestoreDC(dc, saved);
}
