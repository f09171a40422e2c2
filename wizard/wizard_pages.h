// The wizard's pages: which controls each page shows, and the page switcher.
#pragma once
#include <windows.h>

const int WizardPageCount = 4;
const int PageDestination = 0;
const int PageDisplayCheck = 1;
const int PageLicence = 2;
const int PageLanguage = 3;
const int PageInstalling = 99;
const int PageEnd = -1;

// One row per page, each a zero-terminated list of control ids; an empty row ends the table.
const int PageControlSlots = 6;
extern const int PageControlTable[WizardPageCount + 1][PageControlSlots];

// The control each page starts from, by page.
extern const int PageFocusTable[WizardPageCount];

// Shows page `page`; PageState is set by the caller beforehand.
void ShowWizardPage(HWND window, int page);
// Puts the keyboard focus on the page's starting control, so that the focus a
// hidden control gave away never lands on Back, and Enter goes on.
void FocusWizardPage(HWND window, int page);
