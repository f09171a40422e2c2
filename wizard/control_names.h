// The names screen readers read: every control a person reads or operates
// carries the caption the program draws for it as its window text, in a form
// the system gives back as the screen shows it.
#pragma once
#include <windows.h>

const int ControlNameBytes = 2048;   // the longest message, the usage, fits

// Gives control the mixed caption as its window text; a keyboard mnemonic its
// text already marks (the template's "&Back") is kept on the same letter. A
// null caption leaves the control unnamed.
void NameControl(HWND control, const char *caption);
// Names each control of dialog in ids with the caption its painter draws
// (DrawOwnerButton's table; 1001 as for the current page).
void NameOwnerDrawnControls(HWND dialog, const int *ids, int count);
// Sends a list or combo box message that adds an item (LB_ADDSTRING,
// CB_INSERTSTRING) with the mixed caption as the item's text; returns the
// message's result, the item's index or an error.
LRESULT AddNamedItem(HWND list, UINT message, WPARAM wParam, const char *caption);
// Replaces a named control's window procedure, which must pass messages on
// with CallWindowProcW when IsWindowUnicode says so; returns the previous one.
LONG_PTR SubclassNamedControl(HWND control, WNDPROC procedure);

// The name for a system whose window texts are ANSI in codePage: the caption
// itself on 936, its Big5 form on 950 when every character has one, else its
// English alone. Always zero-terminated within capacity.
void AnsiNameOf(const char *caption, UINT codePage, char *name, int capacity);
