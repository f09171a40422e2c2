// The bilingual message dialog through which every message reaches the user.
// Until the self-sizing glyph-drawn dialog exists, the system's message box
// carries both lines; the Chinese line needs Chinese system support there.
#include "wizard/message_dialog.h"
#include <stdio.h>

const int MessageEnglishBytes = 128;

INT_PTR ShowMessageDialog(const char *chineseText, const char *englishText, int style, HWND owner)
{
    char text[2 * MessageEnglishBytes + 256];
    snprintf(text, sizeof(text), "%s\n\n%.127s", chineseText, englishText ? englishText : "");
    UINT buttons = style == MessageStyleOk ? MB_OK : style == MessageStyleYesNo ? MB_YESNO : MB_OKCANCEL;
    return MessageBoxA(owner, text, "Lumabook Install Message", buttons);
}
