// The wizard dialog (template 101) and its dialog procedure.
#pragma once
#include <windows.h>

INT_PTR CALLBACK WizardDialogProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
