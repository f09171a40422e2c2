// The destination folder chooser: the old-style common open-file dialog with the
// program's own template 168, reduced to a folder list and a drive list.
#include "wizard/folder_chooser.h"
#include "wizard/message_dialog.h"
#include "wizard/message_texts.h"
#include "wizard/control_names.h"
#include "glyphtext/owner_drawn.h"
#include "startup/path_text.h"
#include "startup/shared_state.h"
#include "startup/system_functions.h"
#include "resources/resource_ids.h"
#include <commdlg.h>
#include <stdio.h>

const char FolderChooserCaption[] = "Choose Destination Directory";

// The file name buffer is never read: the chosen folder is the current
// directory when OK is pressed.
const int ChooserFileBufferBytes = 128;
const DWORD ChooserFlags = OFN_HIDEREADONLY | OFN_NOCHANGEDIR | OFN_ENABLEHOOK
                         | OFN_ENABLETEMPLATE | OFN_PATHMUSTEXIST;
static_assert(ChooserFlags == 0x86C, "the chooser's flags");
const INT_PTR ChooserResultChosen = 1;

// The controls the program paints, named with their captions; the lists, OK and
// the folder shown above the list are the common dialog's own.
static const int ChooserCaptionControls[] = { ID_CHOOSER_DIRECTORIES_LABEL, ID_CHOOSER_DRIVES_LABEL, ID_CANCEL_BUTTON };

// The hook runs before the common dialog's own handling; TRUE means handled.
static INT_PTR InitChooser(HWND dialog)
{
    // Cancel is a plain push button in the template (type bits 0), so OR-ing
    // in the owner-draw type turns it into one the program paints.
    HWND cancel = GetDlgItem(dialog, ID_CANCEL_BUTTON);
    SetWindowLongPtrA(cancel, GWL_STYLE, GetWindowLongPtrA(cancel, GWL_STYLE) | BS_OWNERDRAW);
    NameOwnerDrawnControls(dialog, ChooserCaptionControls,
                           sizeof(ChooserCaptionControls) / sizeof(ChooserCaptionControls[0]));
    SetFocus(GetDlgItem(dialog, ID_CHOOSER_FOLDER_LIST));
    return TRUE;
}

static int IsChooserCaptionControl(UINT id)
{
    for (int painted : ChooserCaptionControls)
        if ((int)id == painted)
            return 1;
    return 0;
}

// The lists stay with the common dialog, which draws their folder and drive icons.
static INT_PTR DrawChooserItem(const DRAWITEMSTRUCT *item)
{
    if (!IsChooserCaptionControl(item->CtlID))
        return FALSE;
    DrawOwnerButton(item, 0, 0);
    return TRUE;
}

// A drive picked from the drive list can come back as "z:\"; the folder is
// proposed with the drive letter written the usual way, "Z:".
static void CapitaliseDriveLetter(char *path)
{
    if (path[0] >= 'a' && path[0] <= 'z' && path[1] == ':')
        path[0] = (char)(path[0] - 'a' + 'A');
}

// The old-style dialog makes every folder the user opens (or drive the user
// picks) the current directory, so OK takes the folder open at this moment.
// A current directory that does not fit leaves OK to the common dialog.
static INT_PTR TakeOpenFolder(HWND dialog)
{
    DWORD length = GetCurrentDirectoryA(PathBufferBytes, InstallDir);
    if (length == 0 || length >= (DWORD)PathBufferBytes)
        return FALSE;
    StripTrailingBackslash(InstallDir);     // a drive root "D:\" becomes "D:"
    CapitaliseDriveLetter(InstallDir);
    EndDialog(dialog, ChooserResultChosen);
    return TRUE;
}

UINT_PTR CALLBACK FolderChooserHook(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam)
{
    switch (message) {
    case WM_INITDIALOG:
        return InitChooser(dialog);
    case WM_DRAWITEM:
        return DrawChooserItem((const DRAWITEMSTRUCT *)lParam);
    case WM_COMMAND:
        if (LOWORD(wParam) == ID_CHOOSER_OK_BUTTON)
            return TakeOpenFolder(dialog);
        return FALSE;
    }
    return FALSE;
}

// The structure size is that of the original structure, which every Windows
// accepts (76 bytes in the 32-bit program). No title would make some common
// dialogs show "Open File" instead of the template's caption.
static int RunChooser(HWND wizard)
{
    char fileName[ChooserFileBufferBytes] = "";
    OPENFILENAMEA chooser;
    ZeroMemory(&chooser, sizeof(chooser));
    chooser.lStructSize = OPENFILENAME_SIZE_VERSION_400A;
    chooser.hwndOwner = wizard;
    chooser.hInstance = 0;                  // the template is in the program's own module
    chooser.lpstrFile = fileName;
    chooser.nMaxFile = ChooserFileBufferBytes;
    chooser.lpstrTitle = FolderChooserCaption;
    chooser.Flags = ChooserFlags;
    chooser.lpfnHook = FolderChooserHook;
    chooser.lpTemplateName = MAKEINTRESOURCEA(ID_FOLDER_CHOOSER_DIALOG);
    FindSystemFunctions();
    return DialogGetOpenFileName && DialogGetOpenFileName(&chooser) != 0;
}

// The old-style dialog leaves the current directory wherever the user
// navigated, whatever OFN_NOCHANGEDIR asks, so the chooser puts it back itself.
static int SaveCurrentDirectory(char *saved)
{
    DWORD length = GetCurrentDirectoryA(PathBufferBytes, saved);
    return length != 0 && length < (DWORD)PathBufferBytes;
}

// A folder too long to take the product folder name is refused, not cut short.
static int ProposeChosenFolder(HWND wizard)
{
    char destination[PathBufferBytes];
    int length = snprintf(destination, sizeof(destination), "%s\\%s", InstallDir, ProductFolderName);
    if (length < 0 || length >= PathBufferBytes) {
        ShowMessageDialog(InstallPathTooLongMessage.Chinese, InstallPathTooLongMessage.English,
                          MessageStyleOk, wizard);
        return 0;
    }
    SetDlgItemTextA(wizard, ID_DESTINATION_EDIT, destination);
    return 1;
}

int ChooseDestinationFolder(HWND wizard)
{
    char saved[PathBufferBytes];
    int haveSaved = SaveCurrentDirectory(saved);
    int chosen = RunChooser(wizard);
    if (haveSaved)
        SetCurrentDirectoryA(saved);
    if (!chosen)
        return 0;
    return ProposeChosenFolder(wizard);
}
