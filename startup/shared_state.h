// The process-wide state of the setup program, named once for every subsystem.
// Each variable is defined in the file of the subsystem that owns it.
#pragma once
#include <windows.h>

const int PathBufferBytes = MAX_PATH;   // every path buffer holds 260 bytes
const int GlyphSheetCount = 4;

// Start-up (startup/startup_state.cpp).
extern HINSTANCE AppInstance;
extern int IsNtPlatform;
extern int IsMajorVersion3;
extern int SystemChineseVariant;        // 0 none, 1 simplified, 2 traditional
extern const char *ProductFolderName;
extern char SetupDir[PathBufferBytes];  // ends with a backslash
extern HBITMAP GlyphSheets[GlyphSheetCount];
extern HDC GlyphDCs[GlyphSheetCount];
extern HFONT SampleFont;
extern HICON AppIcon;
extern HWND WizardWindow;
extern const int DefaultCommandId;

// The wizard (wizard/wizard_state.cpp).
extern int PageState;                   // 0-3 pages, 99 installing, negative ends the program
extern int ForceLanguage;               // 0 English, 1 simplified, 2 traditional
extern int ChineseDisplayOk;
extern int DesktopIconWanted;
extern char InstallDir[PathBufferBytes];
extern char WindowsDir[PathBufferBytes];   // ends with a backslash
