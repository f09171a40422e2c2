// Owner-drawn push buttons and labels (not drawn yet: only the face colour).
#include "glyphtext/owner_drawn.h"

void DrawOwnerButton(const DRAWITEMSTRUCT *item)
{
    if (item->CtlType == ODT_BUTTON)
        FillRect(item->hDC, &item->rcItem, GetSysColorBrush(COLOR_BTNFACE));
}
