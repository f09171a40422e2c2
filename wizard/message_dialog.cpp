// The bilingual message dialog through which every message reaches the user:
// a glyph-drawn Chinese line above an English line, sized to the two texts.
#include "wizard/message_dialog.h"
#include "wizard/control_names.h"
#include "glyphtext/mixed_text.h"
#include "glyphtext/owner_drawn.h"
#include "startup/shared_state.h"
#include "resources/resource_ids.h"
#include "install/install_log.h"
#include <string.h>

int MessageStyle;
char MessageEnglishText[MessageEnglishBytes];
const char *MessageChineseText;
int MessagesSuppressed;
const char *MessageEnglishLines;

const int DefaultButtonWidth = 82;
const int DefaultButtonHeight = 12;
const int ShortChineseBytes = 81;   // a Chinese text shorter than this gets room beside it

static int Larger(int a, int b)
{
    return a > b ? a : b;
}

struct MessageLayout {
    int chineseWidth, textHeight;   // th is always 16
    int chineseBlockHeight;         // th for every message but the usage
    int englishWidth, englishHeight;
    int englishBoxHeight;           // 2 x eh for one line, the lines and one more for several
    int buttonWidth, buttonHeight;
    int firstButton, secondButton;
};

static const int MessageButtons[] = { ID_OK_BUTTON, ID_CANCEL_BUTTON, ID_YES_BUTTON, ID_NO_BUTTON, ID_RETRY_BUTTON };
const int MessageButtonCount = sizeof(MessageButtons) / sizeof(MessageButtons[0]);

static int IsMessageCommand(int id)
{
    for (int i = 0; i < MessageButtonCount; i++)
        if (MessageButtons[i] == id)
            return 1;
    return 0;
}

// The buttons of each style with two: the first one left.
struct ButtonPair {
    int Style;
    int First, Second;
};
static const ButtonPair ButtonPairs[] = {
    { MessageStyleYesNo, ID_YES_BUTTON, ID_NO_BUTTON },
    { MessageStyleRetryCancel, ID_RETRY_BUTTON, ID_CANCEL_BUTTON },
};
static const ButtonPair OkButtons = { MessageStyleOk, ID_OK_BUTTON, ID_CANCEL_BUTTON };

static const ButtonPair *ButtonsOfStyle(int style)
{
    for (const ButtonPair &pair : ButtonPairs)
        if (pair.Style == style)
            return &pair;
    return &OkButtons;
}

// The English text of several lines in the static control's own font, as the
// control shows it without wrapping: its block, with one line of room below
// like the single line has.
static void MeasureEnglishLines(HWND englishLine, MessageLayout *layout)
{
    HDC dc = GetDC(englishLine);
    HGDIOBJ previous = SelectObject(dc, (HFONT)SendMessageA(englishLine, WM_GETFONT, 0, 0));
    RECT block = { 0, 0, 0, 0 };
    TEXTMETRICA metrics;
    if (DrawTextA(dc, MessageEnglishLines, -1, &block, DT_CALCRECT | DT_NOPREFIX | DT_EXPANDTABS) &&
        GetTextMetricsA(dc, &metrics)) {
        layout->englishWidth = block.right;
        layout->englishHeight = metrics.tmHeight;
        layout->englishBoxHeight = block.bottom + metrics.tmHeight;
    }
    SelectObject(dc, previous);
    ReleaseDC(englishLine, dc);
}

// The dialog's own context with no font selected, as both texts are measured.
static void MeasureTexts(HWND dialog, const char *chinese, MessageLayout *layout)
{
    HDC dc = GetDC(dialog);
    int severalLines = strchr(chinese, '\n') != 0;
    SIZE extent = severalLines ? MeasureMixedLines(dc, chinese) : MeasureMixedText(dc, chinese);
    layout->chineseWidth = extent.cx;
    layout->textHeight = GlyphTextHeight;
    layout->chineseBlockHeight = extent.cy;
    layout->englishWidth = 0;
    layout->englishHeight = 0;
    SIZE english;
    int length = lstrlenA(MessageEnglishText);
    if (length > 0 && GetTextExtentPointA(dc, MessageEnglishText, length, &english)) {
        layout->englishWidth = english.cx;
        layout->englishHeight = english.cy;
    }
    layout->englishBoxHeight = 2 * layout->englishHeight;
    ReleaseDC(dialog, dc);
    if (MessageEnglishLines)
        MeasureEnglishLines(GetDlgItem(dialog, ID_MESSAGE_ENGLISH_TEXT), layout);
}

static void ChooseButtons(HWND dialog, MessageLayout *layout)
{
    layout->firstButton = ButtonsOfStyle(MessageStyle)->First;
    layout->secondButton = ButtonsOfStyle(MessageStyle)->Second;
    layout->buttonWidth = DefaultButtonWidth;
    layout->buttonHeight = DefaultButtonHeight;
    HWND first = GetDlgItem(dialog, layout->firstButton);
    RECT size;
    if (first && GetClientRect(first, &size)) {
        layout->buttonWidth = size.right;
        layout->buttonHeight = size.bottom;
    }
}

static void PlaceButton(HWND dialog, int id, int x, int y, const MessageLayout *layout)
{
    HWND button = GetDlgItem(dialog, id);
    MoveWindow(button, x, y, layout->buttonWidth, layout->buttonHeight, TRUE);
    ShowWindow(button, SW_SHOW);
}

// Lines of a table read best aligned on the left, the block centred.
static void PlaceEnglishLines(HWND englishLine, int top, int clientWidth, const MessageLayout *layout)
{
    LONG_PTR style = GetWindowLongPtrA(englishLine, GWL_STYLE);
    SetWindowLongPtrA(englishLine, GWL_STYLE, (style & ~(LONG_PTR)SS_TYPEMASK) | SS_LEFT | SS_NOPREFIX);
    SetWindowTextA(englishLine, MessageEnglishLines);
    int width = layout->englishWidth < clientWidth ? layout->englishWidth : clientWidth;
    MoveWindow(englishLine, (clientWidth - width) / 2, top, width, layout->englishBoxHeight, TRUE);
}

// Centred on the screen by the text width W; the window is never narrower
// than its buttons need. Only the buttons of the style are shown.
static void LayOutMessage(HWND dialog, const char *chinese)
{
    MessageLayout layout;
    ChooseButtons(dialog, &layout);
    MeasureTexts(dialog, chinese, &layout);
    int bw = layout.buttonWidth, bh = layout.buttonHeight, th = layout.textHeight;
    int minW = MessageStyle == MessageStyleOk ? 2 * bw : 3 * bw;
    int W = Larger(layout.chineseWidth, layout.englishWidth) + 2 * GetSystemMetrics(SM_CXDLGFRAME);
    if (lstrlenA(chinese) < ShortChineseBytes)
        W += 2 * bh;
    int chineseHeight = layout.chineseBlockHeight + 2 * th;   // a line of room above and below
    int H = 3 * (th + bh) + layout.chineseBlockHeight - th + layout.englishBoxHeight;
    SetWindowPos(dialog, 0, (GetSystemMetrics(SM_CXSCREEN) - W) / 2, (GetSystemMetrics(SM_CYSCREEN) - H) / 2,
                 Larger(W, minW), H + GetSystemMetrics(SM_CYCAPTION), SWP_NOZORDER);
    RECT client;
    GetClientRect(dialog, &client);

    if (MessageStyle == MessageStyleOk) {
        PlaceButton(dialog, ID_OK_BUTTON, (W - bw) / 2, H - 2 * bh, &layout);
    } else {
        int x1 = (W - (7 * bw) / 3) / 2;
        int y = H - (3 * bh) / 2;
        PlaceButton(dialog, layout.firstButton, x1, y, &layout);
        PlaceButton(dialog, layout.secondButton, x1 + (4 * bw) / 3, y, &layout);
    }

    // The label is named with the message, lines and all; its caption is
    // painted from the kept bytes.
    NameOwnerDrawnControls(dialog, MessageButtons, MessageButtonCount);
    HWND chineseLabel = GetDlgItem(dialog, ID_MESSAGE_CHINESE_LABEL);
    NameControl(chineseLabel, chinese);
    MoveWindow(chineseLabel, client.left, (2 * th) / 3, client.right, chineseHeight, TRUE);

    HWND englishLine = GetDlgItem(dialog, ID_MESSAGE_ENGLISH_TEXT);
    int englishTop = chineseHeight + (2 * th) / 3 + 5;
    if (MessageEnglishLines) {
        PlaceEnglishLines(englishLine, englishTop, client.right, &layout);
    } else if (MessageEnglishText[0]) {
        SetWindowTextA(englishLine, MessageEnglishText);
        MoveWindow(englishLine, client.left, englishTop, client.right, layout.englishBoxHeight, TRUE);
    } else {
        ShowWindow(englishLine, SW_HIDE);
    }
}

// The answer Enter gives: the button that has the focus, else the one the
// dialog opens on (No for a question: the answer that keeps the user's data;
// Retry where looking again changes nothing).
static int EnterAnswer(HWND dialog)
{
    HWND focus = GetFocus();
    int id = focus && GetParent(focus) == dialog ? GetDlgCtrlID(focus) : 0;
    if (IsMessageCommand(id) && IsWindowVisible(focus))
        return id;
    if (MessageStyle == MessageStyleYesNo)
        return ID_NO_BUTTON;
    return MessageStyle == MessageStyleRetryCancel ? ID_RETRY_BUTTON : ID_OK_BUTTON;
}

static void DrawMessageItem(HWND dialog, const DRAWITEMSTRUCT *item)
{
    DrawOwnerButton(item, MessageChineseText, EnterAnswer(dialog));
    // The black frame follows the focus from one answer to the other.
    if (item->itemAction == ODA_FOCUS) {
        const ButtonPair *buttons = ButtonsOfStyle(MessageStyle);
        InvalidateRect(GetDlgItem(dialog, buttons->First), 0, FALSE);
        InvalidateRect(GetDlgItem(dialog, buttons->Second), 0, FALSE);
    }
}

// Owner-drawn buttons can never be default push buttons, so the dialog manager
// asks the dialog which command Enter stands for; Esc and the close box still
// give Cancel, 2.
INT_PTR CALLBACK MessageDialogProc(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam)
{
    switch (message) {
    case WM_INITDIALOG:
        MessageChineseText = (const char *)lParam;
        LayOutMessage(dialog, MessageChineseText);
        SetFocus(GetDlgItem(dialog, EnterAnswer(dialog)));
        return FALSE;   // the focus is set
    case DM_GETDEFID:
        SetWindowLongPtrA(dialog, DWLP_MSGRESULT, MAKELONG(EnterAnswer(dialog), DC_HASDEFID));
        return TRUE;
    case WM_DRAWITEM:
        DrawMessageItem(dialog, (const DRAWITEMSTRUCT *)lParam);
        return TRUE;
    case WM_COMMAND:
        if (IsMessageCommand(LOWORD(wParam)))
            EndDialog(dialog, LOWORD(wParam));
        return 0;
    }
    return FALSE;
}

// Every line of the English text is a line of the log ("\n" is never a
// trail byte); the blank lines between paragraphs are left out.
static void LogMessage(const char *englishText)
{
    const char *marker = MessagesSuppressed ? " (not shown)" : "";
    const char *line = englishText ? englishText : "";
    int logged = 0;
    while (line) {
        const char *end = strchr(line, '\n');
        int length = end ? (int)(end - line) : (int)strlen(line);
        if (length > 0 || (!end && !logged)) {
            LogLine("message%s: %.*s", marker, length, line);
            logged = 1;
        }
        line = end ? end + 1 : 0;
    }
}

// The English text is cut to fit its buffer; the Chinese text is handed over
// as it is and kept only while the dialog is open.
static INT_PTR ShowLoggedMessage(const char *chineseText, const char *englishText, int style, HWND owner)
{
    if (MessagesSuppressed)
        return style == MessageStyleYesNo ? IDNO : style == MessageStyleRetryCancel ? IDCANCEL : IDOK;
    MessageStyle = style;
    CopyMixedText(MessageEnglishText, englishText ? englishText : "", MessageEnglishBytes - 1);
    const char *chinese = chineseText ? chineseText : "";
    INT_PTR result = DialogBoxParamA(AppInstance, MAKEINTRESOURCEA(ID_MESSAGE_DIALOG), owner,
                                     MessageDialogProc, (LPARAM)chinese);
    MessageChineseText = 0;
    return result;
}

INT_PTR ShowMessageDialog(const char *chineseText, const char *englishText, int style, HWND owner)
{
    LogMessage(englishText);
    return ShowLoggedMessage(chineseText, englishText, style, owner);
}

// The English text is not copied: it is longer than the buffer of one line.
INT_PTR ShowMessageLines(const char *chineseText, const char *englishText, HWND owner)
{
    LogMessage(englishText);
    MessageEnglishLines = englishText;
    INT_PTR result = ShowLoggedMessage(chineseText, "", MessageStyleOk, owner);
    MessageEnglishLines = 0;
    return result;
}
