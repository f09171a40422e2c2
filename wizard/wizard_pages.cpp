// The page switcher: every page is a set of controls on the one wizard dialog.
#include "wizard/wizard_pages.h"
#include "wizard/licence_texts.h"
#include "wizard/wizard_dialog.h"
#include "wizard/control_names.h"
#include "glyphtext/owner_drawn.h"
#include "startup/shared_state.h"
#include "resources/resource_ids.h"

const int PageControlTable[WizardPageCount + 1][PageControlSlots] = {
    { ID_DESKTOP_ICON_CHECK, ID_DESTINATION_EDIT, ID_INSTALL_PATH_LABEL, ID_BROWSE_BUTTON, 0 },
    { ID_SAMPLE_FRAME, ID_DISPLAY_QUESTION_LABEL, ID_SAMPLE_LINE_LABEL, ID_DISPLAY_OK_CHECK, ID_DISPLAY_NO_CHECK, 0 },
    { ID_ENGLISH_LICENCE_CHECK, ID_CHINESE_LICENCE_LIST, ID_ENGLISH_LICENCE_EDIT, 0 },
    { ID_LANGUAGE_LABEL, ID_LANGUAGE_COMBO, 0 },
    { 0 },
};

// What a user starts from: the destination box, the first answer, Next beside
// a licence (whose text would come up all selected), the language list.
const int PageFocusTable[WizardPageCount] = {
    ID_DESTINATION_EDIT, ID_DISPLAY_OK_CHECK, ID_NEXT_BUTTON, ID_LANGUAGE_COMBO,
};

static void ShowPageControls(HWND window, int page)
{
    for (int row = 0; PageControlTable[row][0] != 0; row++)
        for (int slot = 0; PageControlTable[row][slot] != 0; slot++)
            ShowWindow(GetDlgItem(window, PageControlTable[row][slot]), row == page ? SW_SHOW : SW_HIDE);
}

// Row 2 shows both licence controls; the English box decides which one stays.
static void ShowOneLicence(HWND window, int page)
{
    ShowWindow(GetDlgItem(window, ID_CHINESE_LICENCE_LIST), SW_HIDE);
    ShowWindow(GetDlgItem(window, ID_ENGLISH_LICENCE_EDIT), SW_HIDE);
    if (page != PageLicence)
        return;
    int english = IsDlgButtonChecked(window, ID_ENGLISH_LICENCE_CHECK) == BST_CHECKED;
    ShowWindow(GetDlgItem(window, english ? ID_ENGLISH_LICENCE_EDIT : ID_CHINESE_LICENCE_LIST), SW_SHOW);
}

// While installing (99) Back keeps the state the Install command gave it.
static void SettleBackButton(HWND window, int page)
{
    if (PageState < 0 || PageState >= PageInstalling)
        return;
    HWND back = GetDlgItem(window, ID_BACK_BUTTON);
    int wanted = page != PageDestination;
    EnableWindow(back, wanted);
    ShowWindow(back, wanted ? SW_SHOW : SW_HIDE);
}

void ShowWizardPage(HWND window, int page)
{
    // Named before the page shows, so that nobody reads the page's controls
    // beside the last page's name of Next / Agree-Install.
    NameControl(GetDlgItem(window, ID_NEXT_BUTTON), OwnerButtonCaption(ID_NEXT_BUTTON));
    if (page == PageLanguage)
        CreateLanguageList(window);
    ShowPageControls(window, page);
    if (!LicenceTextsLoaded && page == PageLicence) {
        if (!LoadLicenceTexts(window))
            return;
        LicenceTextsLoaded = 1;
    }
    ShowOneLicence(window, page);
    SettleBackButton(window, page);
    // The children too: the caption of Next/Install follows the page.
    RedrawWindow(window, 0, 0, RDW_INVALIDATE | RDW_ERASE | RDW_ALLCHILDREN | RDW_UPDATENOW);
}

void FocusWizardPage(HWND window, int page)
{
    if (page < 0 || page >= WizardPageCount)
        return;
    SendMessageA(window, WM_NEXTDLGCTL, (WPARAM)GetDlgItem(window, PageFocusTable[page]), TRUE);
}
