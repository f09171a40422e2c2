// The wizard's commands, by control id; the notification code is not looked at.
#include "wizard/wizard_commands.h"
#include "wizard/wizard_pages.h"
#include "wizard/install_start.h"
#include "wizard/folder_chooser.h"
#include "wizard/message_dialog.h"
#include "wizard/message_texts.h"
#include "install/install_sequence.h"
#include "startup/shared_state.h"
#include "resources/resource_ids.h"

static int IsChecked(HWND window, int id)
{
    return IsDlgButtonChecked(window, id) == BST_CHECKED;
}

// The check boxes draw their own captions; repaint without erasing so they do not flicker.
static void RepaintControl(HWND window, int id)
{
    InvalidateRect(GetDlgItem(window, id), 0, FALSE);
}

static void GoToPage(HWND window, int page)
{
    PageState = page;
    ShowWizardPage(window, page);
    FocusWizardPage(window, page);
}

// Each arrival from the first page asks the display question afresh.
static void NextFromDestination(HWND window)
{
    GoToPage(window, PageDisplayCheck);
    CheckDlgButton(window, ID_DISPLAY_OK_CHECK, BST_UNCHECKED);
    CheckDlgButton(window, ID_DISPLAY_NO_CHECK, BST_UNCHECKED);
}

// The English licence is shown first unless a Chinese interface was chosen.
static void NextFromDisplayCheck(HWND window)
{
    ChineseDisplayOk = IsChecked(window, ID_DISPLAY_OK_CHECK);
    if (!IsChecked(window, ID_DISPLAY_OK_CHECK) && !IsChecked(window, ID_DISPLAY_NO_CHECK)) {
        ShowMessageDialog(NoAnswerMessage.Chinese, NoAnswerMessage.English, MessageStyleOk, window);
        return;
    }
    if (ForceLanguage != 1 && ForceLanguage != 2)
        CheckDlgButton(window, ID_ENGLISH_LICENCE_CHECK, BST_CHECKED);
    GoToPage(window, PageLicence);
}

static void HandleNext(HWND window)
{
    switch (PageState) {
    case PageDestination: NextFromDestination(window); break;
    case PageDisplayCheck: NextFromDisplayCheck(window); break;
    case PageLicence: GoToPage(window, PageLanguage); break;
    case PageLanguage: StartInstall(window); break;
    }
}

static void HandleBack(HWND window)
{
    if (PageState > PageDestination && PageState < WizardPageCount)
        GoToPage(window, PageState - 1);
}

// The two display answers exclude each other; a box that was unchecked leaves both clear.
static void HandleAnswer(HWND window, int id, int otherId)
{
    if (IsChecked(window, id))
        CheckDlgButton(window, otherId, BST_UNCHECKED);
    RepaintControl(window, ID_DISPLAY_OK_CHECK);
    RepaintControl(window, ID_DISPLAY_NO_CHECK);
}

// The English box notifies on focus changes too, and it loses the focus when a
// page switch hides it: only on the licence page does it swap the licence.
static void SwapLicence(HWND window)
{
    if (PageState == PageLicence)
        ShowWizardPage(window, PageLicence);
}

// While the new files are written, Cancel (its button, Esc, the close box)
// asks, and Yes stops the install, which then puts everything back.
static void AskToCancelInstall(HWND window)
{
    if (!InstallCanBeCancelled || InstallCancelled)
        return;
    if (ShowMessageDialog(CancelInstallQuestion.Chinese, CancelInstallQuestion.English, MessageStyleYesNo, window) ==
        IDYES)
        InstallCancelled = 1;
    SetCursor(LoadCursorA(0, (LPCSTR)IDC_WAIT));
}

// Esc and the close box arrive as Cancel through the standard dialog handling.
// While the install runs, the wizard reads its messages to keep answering, and
// no other command of it may act: not a second Install.
void HandleWizardCommand(HWND window, int id)
{
    if (PageState == PageInstalling) {
        if (id == ID_CANCEL_BUTTON)
            AskToCancelInstall(window);
        return;
    }
    switch (id) {
    case ID_NEXT_BUTTON: HandleNext(window); break;
    case ID_BACK_BUTTON: HandleBack(window); break;
    case ID_CANCEL_BUTTON: PageState = PageEnd; break;
    case ID_BROWSE_BUTTON: ChooseDestinationFolder(window); break;
    case ID_DESKTOP_ICON_CHECK: RepaintControl(window, ID_DESKTOP_ICON_CHECK); break;
    case ID_DISPLAY_OK_CHECK: HandleAnswer(window, ID_DISPLAY_OK_CHECK, ID_DISPLAY_NO_CHECK); break;
    case ID_DISPLAY_NO_CHECK: HandleAnswer(window, ID_DISPLAY_NO_CHECK, ID_DISPLAY_OK_CHECK); break;
    case ID_ENGLISH_LICENCE_CHECK: SwapLicence(window); break;
    }
}
