// The two licence texts of page 2: the English one whole in its edit box, the
// Chinese one as list lines.
#pragma once
#include <windows.h>

const unsigned long LicenceBufferBytes = 65536;   // each text inflates below this
const int LicenceLineLimit = 500;

extern int LicenceTextsLoaded;

// Cuts text (zero-terminated after its `length` bytes) into lines in place: each
// carriage return becomes a zero and one line feed right after it is skipped.
// Text after the last carriage return is no line. Stores at most maxLines line
// starts and returns their number.
int SplitLicenceLines(char *text, unsigned long length, const char **lines, int maxLines);

// Fills the Chinese list and the English edit box of the wizard; 0 when the
// buffer cannot be had (after telling the user) or a text does not inflate.
int LoadLicenceTexts(HWND window);
void FreeLicenceLines();
