// The wizard's check boxes keep the system's behaviour; their painting is to follow.
#include "glyphtext/owner_drawn.h"

WNDPROC PreviousButtonProc;

void PaintCheckBox(HWND checkBox, HDC dc)
{
    (void)checkBox; (void)dc;
}

LRESULT CALLBACK CheckBoxProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
{
    return CallWindowProcA(PreviousButtonProc, window, message, wParam, lParam);
}
