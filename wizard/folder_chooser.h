// The destination folder chooser behind the wizard's Browse button.
#pragma once
#include <windows.h>

// The template's own caption, passed as the title too: with no title some
// common dialogs (Wine's) replace it with "Open File".
extern const char FolderChooserCaption[];

// Runs the chooser; on OK puts the chosen folder with the product folder name
// appended into the wizard's destination box and returns 1, else changes nothing.
int ChooseDestinationFolder(HWND wizard);
UINT_PTR CALLBACK FolderChooserHook(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam);
