// The state that start-up creates and keeps for the whole run.
#include "startup/shared_state.h"

HINSTANCE AppInstance;
int IsNtPlatform;
int IsMajorVersion3;
int SystemChineseVariant;
const char *ProductFolderName;
char SetupDir[PathBufferBytes];
HBITMAP GlyphSheets[GlyphSheetCount];
HDC GlyphDCs[GlyphSheetCount];
HFONT SampleFont;
HICON AppIcon;
HWND WizardWindow;
const int DefaultCommandId = 1001;
