// The owner-drawn controls: buttons and labels, list lines and combo items, and
// the wizard's check boxes, every caption drawn from the program's own bytes.
#pragma once
#include <windows.h>

// The licence list (1019) and the language combo box (1031) are told apart by a flag.
const int ListIsListBox = 0;
const int ListIsComboBox = 1;

void DrawOwnerButton(const DRAWITEMSTRUCT *item);
// A licence line is drawn from the text its item data points at (the program's
// own copy of the line); a language item from the language list entry whose
// language number is its item data.
void DrawListItem(int controlId, int isCombo, const DRAWITEMSTRUCT *item, HWND dialog);
void PaintCheckBox(HWND checkBox, HDC dc);
LRESULT CALLBACK CheckBoxProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);

extern WNDPROC PreviousButtonProc;
