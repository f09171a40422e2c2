// Owner-drawn list lines and combo items (not drawn yet: only the background).
#include "glyphtext/owner_drawn.h"

void DrawListItem(int controlId, int isCombo, const DRAWITEMSTRUCT *item, HWND dialog)
{
    (void)controlId; (void)isCombo; (void)dialog;
    FillRect(item->hDC, &item->rcItem, GetSysColorBrush(COLOR_WINDOW));
}
