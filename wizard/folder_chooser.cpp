// The destination folder chooser (not built yet: Browse changes nothing).
#include "wizard/folder_chooser.h"

int ChooseDestinationFolder(HWND wizard)
{
    (void)wizard;
    return 0;
}

UINT_PTR CALLBACK FolderChooserHook(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam)
{
    (void)dialog; (void)message; (void)wParam; (void)lParam;
    return FALSE;
}
