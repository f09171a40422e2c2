// The bilingual message dialog through which every message reaches the user:
// a glyph-drawn Chinese line above an English line, sized to the two texts.
#include "wizard/message_dialog.h"
#include "glyphtext/mixed_text.h"
#include "glyphtext/owner_drawn.h"
#include "startup/shared_state.h"
#include "resources/resource_ids.h"

int MessageStyle;
char MessageEnglishText[MessageEnglishBytes];
const char *MessageChineseText;

const int DefaultButtonWidth = 82;
const int DefaultButtonHeight = 12;
const int ShortChineseBytes = 81;   // a Chinese text shorter than this gets room beside it

static int Larger(int a, int b)
{
    return a > b ? a : b;
}

struct MessageLayout {
    int chineseWidth, textHeight;   // th is always 16
    int englishWidth, englishHeight;
    int buttonWidth, buttonHeight;
    int firstButton, secondButton;
};

static int IsMessageCommand(int id)
{
    return id == ID_OK_BUTTON || id == ID_CANCEL_BUTTON || id == ID_YES_BUTTON || id == ID_NO_BUTTON;
}

// The dialog's own context with no font selected, as both texts are measured.
static void MeasureTexts(HWND dialog, const char *chinese, MessageLayout *layout)
{
    HDC dc = GetDC(dialog);
    SIZE extent = MeasureMixedText(dc, chinese);
    layout->chineseWidth = extent.cx;
    layout->textHeight = extent.cy;
    layout->englishWidth = 0;
    layout->englishHeight = 0;
    SIZE english;
    int length = lstrlenA(MessageEnglishText);
    if (length > 0 && GetTextExtentPointA(dc, MessageEnglishText, length, &english)) {
        layout->englishWidth = english.cx;
        layout->englishHeight = english.cy;
    }
    ReleaseDC(dialog, dc);
}

static void ChooseButtons(HWND dialog, MessageLayout *layout)
{
    layout->firstButton = MessageStyle == MessageStyleYesNo ? ID_YES_BUTTON : ID_OK_BUTTON;
    layout->secondButton = MessageStyle == MessageStyleYesNo ? ID_NO_BUTTON : ID_CANCEL_BUTTON;
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
    int H = 3 * (th + bh) + 2 * layout.englishHeight;
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

    // The control still carries the text; its caption is painted from the kept bytes.
    HWND chineseLabel = GetDlgItem(dialog, ID_MESSAGE_CHINESE_LABEL);
    SetWindowTextA(chineseLabel, chinese);
    MoveWindow(chineseLabel, client.left, (2 * th) / 3, client.right, 3 * th, TRUE);

    HWND englishLine = GetDlgItem(dialog, ID_MESSAGE_ENGLISH_TEXT);
    if (MessageEnglishText[0]) {
        SetWindowTextA(englishLine, MessageEnglishText);
        MoveWindow(englishLine, client.left, 3 * th + (2 * th) / 3 + 5, client.right, 2 * layout.englishHeight, TRUE);
    } else {
        ShowWindow(englishLine, SW_HIDE);
    }
}

// The answer Enter gives: the button that has the focus, else the one the
// dialog opens on (No for a question: the answer that keeps the user's data).
static int EnterAnswer(HWND dialog)
{
    HWND focus = GetFocus();
    int id = focus && GetParent(focus) == dialog ? GetDlgCtrlID(focus) : 0;
    if (IsMessageCommand(id) && IsWindowVisible(focus))
        return id;
    return MessageStyle == MessageStyleYesNo ? ID_NO_BUTTON : ID_OK_BUTTON;
}

static void DrawMessageItem(HWND dialog, const DRAWITEMSTRUCT *item)
{
    DrawOwnerButton(item, MessageChineseText, EnterAnswer(dialog));
    // The black frame follows the focus from one answer to the other.
    if (item->itemAction == ODA_FOCUS) {
        InvalidateRect(GetDlgItem(dialog, ID_YES_BUTTON), 0, FALSE);
        InvalidateRect(GetDlgItem(dialog, ID_NO_BUTTON), 0, FALSE);
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

// The English text is cut to fit its buffer; the Chinese text is handed over
// as it is and kept only while the dialog is open.
INT_PTR ShowMessageDialog(const char *chineseText, const char *englishText, int style, HWND owner)
{
    MessageStyle = style;
    CopyMixedText(MessageEnglishText, englishText ? englishText : "", MessageEnglishBytes - 1);
    const char *chinese = chineseText ? chineseText : "";
    INT_PTR result = DialogBoxParamA(AppInstance, MAKEINTRESOURCEA(ID_MESSAGE_DIALOG), owner,
                                     MessageDialogProc, (LPARAM)chinese);
    MessageChineseText = 0;
    return result;
}
