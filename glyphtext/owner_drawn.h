// The owner-drawn controls: buttons and labels, list lines and combo items, and
// the wizard's check boxes, every caption drawn from the program's own bytes.
#pragma once
#include <windows.h>

// The licence list (1019) and the language combo box (1031) are told apart by a flag.
const int ListIsListBox = 0;
const int ListIsComboBox = 1;

// FillRect's brush for a system colour: the colour's index plus one, which
// FillRect takes on every Win32 system, so that painting needs no function the
// oldest systems might lack (GetSysColorBrush).
inline HBRUSH SystemColourFill(int colourIndex)
{
    return (HBRUSH)(INT_PTR)(colourIndex + 1);
}

// messageText is the message dialog's Chinese text, drawn in its label 1013
// (null: that label's window text). defaultId names the button that Enter
// would press, which wears the black default frame (0: none does).
void DrawOwnerButton(const DRAWITEMSTRUCT *item, const char *messageText, int defaultId);
// text is the program's own copy of the item's caption (the dialog finds it
// from the item data); null draws the item's background alone.
void DrawListItem(const DRAWITEMSTRUCT *item, int isCombo, const char *text);
void PaintCheckBox(HWND checkBox, HDC dc);

// The captions the painters draw from their own tables, which the dialogs also
// give their controls as names: null for a control whose caption is not in the
// tables (the message, a window text) or that shows none. The caption of 1001
// follows PageState.
const char *OwnerButtonCaption(int id);
const char *CheckBoxCaption(int id);
LRESULT CALLBACK CheckBoxProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);

extern WNDPROC PreviousButtonProc;
