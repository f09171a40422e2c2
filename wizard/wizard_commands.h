// The wizard's commands: Next/Install by page, Back, Cancel, Browse and the check boxes.
#pragma once
#include <windows.h>

void HandleWizardCommand(HWND window, int id);
