// The bilingual message dialog through which every message reaches the user.
#pragma once
#include <windows.h>

const int MessageStyleOk = 0;
const int MessageStyleYesNo = 4;
const int MessageStyleRetryCancel = 5;   // Retry looks again; Cancel, Esc and the close box give up
const int MessageEnglishBytes = 128;   // the English text is shorter than this

// The dialog being shown (message dialogs are never nested).
extern int MessageStyle;
extern char MessageEnglishText[MessageEnglishBytes];
// The caller's Chinese text, kept while the dialog is open so that its caption
// is painted from the program's own bytes; null while no message is shown.
extern const char *MessageChineseText;

// Set for an unattended install: messages go to the log only, and a question
// is answered No and an offer to retry Cancel, the answers that change nothing.
extern int MessagesSuppressed;

INT_PTR ShowMessageDialog(const char *chineseText, const char *englishText, int style, HWND owner);
// A message of several lines each way (the usage), with one OK button; the
// Chinese lines are split at line feeds and drawn from the caller's bytes.
INT_PTR ShowMessageLines(const char *chineseText, const char *englishText, HWND owner);
extern const char *MessageEnglishLines;   // while such a message is open
INT_PTR CALLBACK MessageDialogProc(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam);
