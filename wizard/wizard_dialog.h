// The wizard dialog (template 101) and its dialog procedure.
#pragma once
#include <windows.h>

INT_PTR CALLBACK WizardDialogProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
// Makes the last page's language list, filled and with its caption clear of
// it, the first time that page is shown.
void CreateLanguageList(HWND window);
// The program's own text of a licence line or language item being drawn; null
// for an item number the control does not hold.
const char *WizardListItemText(HWND window, const DRAWITEMSTRUCT *item, int isCombo);
