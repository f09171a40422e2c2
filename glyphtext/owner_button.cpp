// Owner-drawn push buttons and labels of the wizard, the message dialog and the
// folder chooser: face, bevel frame, caption from the caption table, focus.
#include "glyphtext/owner_drawn.h"
#include "glyphtext/mixed_text.h"
#include "startup/shared_state.h"
#include <string.h>

enum CaptionSource {
    FixedCaption,       // the table's caption
    PageCaption,        // the table's caption before the last page, the second one from it on
    MessageCaption,     // the message dialog's Chinese text
    SampleCaption,      // the table's caption through the system's own font
    NoPainting,         // the control is never painted
    WindowTextCaption   // the control's window text
};

enum CaptionPlacement { Centred, LeftAligned };
const int NoFrame = 0;
const int Framed = 1;

struct ButtonCaption {
    int Id;
    CaptionSource Source;
    const char *Caption;
    const char *LastPageCaption;
    CaptionPlacement Placement;
    int Frame;
};

// Keyed by id alone: an id names the same caption in all three dialogs.
static const ButtonCaption ButtonCaptions[] = {
    { 1,    FixedCaption,  "确认 OK",        0, Centred,     Framed },
    { 2,    FixedCaption,  "取消 Cancel",    0, Centred,     Framed },
    { 3,    FixedCaption,  "退一步 Back",    0, Centred,     Framed },
    { 4,    FixedCaption,  "重试 Retry",     0, Centred,     Framed },
    { 6,    FixedCaption,  "是 Yes",         0, Centred,     Framed },
    { 7,    FixedCaption,  "否 No",          0, Centred,     Framed },
    { 1001, PageCaption,   "下一步 Next", "同意/安装 Agree/Install", Centred, Framed },
    { 1003, FixedCaption,  "改变 Browse ....", 0, Centred,   Framed },
    { 1006, FixedCaption,  "安装路径： (Install Path)", 0, LeftAligned, NoFrame },
    { 1008, FixedCaption,  "路径 (Directories):", 0, LeftAligned, NoFrame },
    { 1009, FixedCaption,  "《蓝桥墨》 Zenpo", 0, Centred,   NoFrame },
    { 1010, FixedCaption,  "磁盘 (Drives):", 0, LeftAligned, NoFrame },
    { 1011, FixedCaption,  "文本编辑 Lumabook", 0, Centred,  NoFrame },
    { 1012, FixedCaption,  "安装程序",        0, Centred,     NoFrame },
    { 1013, MessageCaption, 0,               0, Centred,     NoFrame },
    { 1017, FixedCaption,  "以上中文显示正确吗 (Is the Above Chinese Display OK)?", 0, Centred, NoFrame },
    { 1018, SampleCaption, "日出江花红胜火",  0, Centred,     NoFrame },
    { 1020, NoPainting,    0,                0, Centred,     NoFrame },
    { 1021, FixedCaption,  "",               0, LeftAligned, NoFrame },
    { 1030, FixedCaption,  "User Interface Language 用户界面语言", 0, Centred, NoFrame },
};
const int ButtonCaptionCount = sizeof(ButtonCaptions) / sizeof(ButtonCaptions[0]);

static const ButtonCaption OtherButton = { 0, WindowTextCaption, 0, 0, Centred, Framed };

const int FirstInstallPage = 3;         // 1001 reads "Agree/Install" from the language page on
const int CaptionBufferBytes = 128;
const int WindowCaptionBytes = 79;      // a caption from a window text is cut to this
const int BevelRings = 2;
const int PressedShiftX = 2;
const int PressedShiftY = 1;
const int FocusInsetXDivisor = 10;
const int FocusInsetYDivisor = 8;

static const ButtonCaption *CaptionFor(int id)
{
    for (int i = 0; i < ButtonCaptionCount; i++)
        if (ButtonCaptions[i].Id == id)
            return &ButtonCaptions[i];
    return &OtherButton;
}

// The caption the table gives a control for the current page: null where the
// caption is not the table's (the message, a window text) or nothing is drawn.
const char *OwnerButtonCaption(int id)
{
    const ButtonCaption *entry = CaptionFor(id);
    switch (entry->Source) {
    case PageCaption:
        return PageState < FirstInstallPage ? entry->Caption : entry->LastPageCaption;
    case FixedCaption:
    case SampleCaption:
        return entry->Caption;
    default:
        return 0;
    }
}

// Window texts of other controls hold plain ASCII; the cut still respects
// two-byte characters, so a lone lead byte never pairs with the zero.
static void ReadWindowCaption(HWND control, char *caption)
{
    char text[CaptionBufferBytes];
    GetWindowTextA(control, text, sizeof(text));
    CopyMixedText(caption, text, WindowCaptionBytes);
}

// The message's caption comes from the bytes the dialog keeps, never from the
// control: its text is the message's name for screen readers, which the system
// keeps in UTF-16 and gives back through the code page, or in English alone.
static void CaptionText(const ButtonCaption *entry, HWND control, const char *messageText, char *caption)
{
    switch (entry->Source) {
    case MessageCaption:
        CopyMixedText(caption, messageText ? messageText : "", WindowCaptionBytes);
        break;
    case WindowTextCaption:
        ReadWindowCaption(control, caption);
        break;
    default:
        CopyMixedText(caption, OwnerButtonCaption(entry->Id), CaptionBufferBytes - 1);
        break;
    }
}

static void Line(HDC dc, int x, int y)
{
    LineTo(dc, x, y);
}

// Two bevel rings, then the outer ring: black for the default button, else
// only its bottom and right edges in the lower-right colour.
static void DrawFrame(HDC dc, const RECT *r, int isDefault, int pressed)
{
    COLORREF light = GetSysColor(pressed ? COLOR_BTNSHADOW : COLOR_BTNHIGHLIGHT);
    COLORREF dark = GetSysColor(pressed ? COLOR_BTNHIGHLIGHT : COLOR_BTNSHADOW);
    HPEN upperLeft = CreatePen(PS_SOLID, 1, light);
    HPEN lowerRight = CreatePen(PS_SOLID, 1, dark);
    HGDIOBJ previous = SelectObject(dc, upperLeft);
    int l = r->left, t = r->top, rr = r->right, b = r->bottom;
    for (int i = 1; i <= BevelRings; i++) {
        SelectObject(dc, upperLeft);
        MoveToEx(dc, l + i, b - i - 1, 0);
        Line(dc, l + i, t + i);
        Line(dc, rr - i - 1, t + i);
        SelectObject(dc, lowerRight);
        Line(dc, rr - i - 1, b - i - 1);
        Line(dc, l + i, b - i - 1);
    }
    if (isDefault) {
        SelectObject(dc, GetStockObject(BLACK_PEN));
        MoveToEx(dc, l, b - 1, 0);
        Line(dc, l, t);
        Line(dc, rr - 1, t);
        Line(dc, rr - 1, b - 1);
        Line(dc, l, b - 1);
        MoveToEx(dc, l + 1, b - 2, 0);
        Line(dc, rr - 2, b - 2);
        Line(dc, rr - 2, t + 1);
    } else {
        SelectObject(dc, lowerRight);
        MoveToEx(dc, l + 1, b - 1, 0);
        Line(dc, rr - 1, b - 1);
        Line(dc, rr - 1, t);
    }
    SelectObject(dc, previous);
    DeleteObject(upperLeft);
    DeleteObject(lowerRight);
}

static void DrawCaption(HDC dc, const RECT *r, const ButtonCaption *entry, const char *caption, int pressed)
{
    SIZE extent = MeasureMixedText(dc, caption);
    int x = entry->Placement == LeftAligned ? r->left : r->left + (r->right - r->left - extent.cx) / 2;
    int y = r->top + (r->bottom - r->top - GlyphTextHeight) / 2;
    if (pressed) {
        x += PressedShiftX;
        y += PressedShiftY;
    }
    if (entry->Source != SampleCaption) {
        DrawMixedText(dc, x, y, caption, 0);
        return;
    }
    if (!SampleFont)
        return;
    HGDIOBJ previousFont = SelectObject(dc, SampleFont);
    DrawSystemChineseText(dc, x, y, caption, lstrlenA(caption));
    SelectObject(dc, previousFont);
}

// A message of several lines (the usage) is drawn from the dialog's own bytes
// as one block centred in the label, its lines aligned on the left.
static int IsMessageOfLines(const ButtonCaption *entry, const char *messageText)
{
    return entry->Source == MessageCaption && messageText && strchr(messageText, '\n');
}

static void DrawMessageLines(HDC dc, const RECT *r, const char *messageText)
{
    SIZE extent = MeasureMixedLines(dc, messageText);
    int x = r->left + (r->right - r->left - extent.cx) / 2;
    int y = r->top + (r->bottom - r->top - extent.cy) / 2;
    DrawMixedLines(dc, x, y, messageText);
}

static void DrawFocus(HDC dc, const RECT *item)
{
    RECT focus = *item;
    int insetX = (item->right - item->left) / FocusInsetXDivisor;
    int insetY = (item->bottom - item->top) / FocusInsetYDivisor;
    InflateRect(&focus, -insetX, -insetY);
    DrawFocusRect(dc, &focus);
}

void DrawOwnerButton(const DRAWITEMSTRUCT *item, const char *messageText, int defaultId)
{
    if (item->CtlType != ODT_BUTTON)
        return;
    const ButtonCaption *entry = CaptionFor(item->CtlID);
    if (entry->Source == NoPainting)
        return;
    HDC dc = item->hDC;
    if (item->itemAction & (ODA_DRAWENTIRE | ODA_SELECT)) {
        int pressed = (item->itemState & ODS_SELECTED) != 0;
        char caption[CaptionBufferBytes];
        CaptionText(entry, item->hwndItem, messageText, caption);
        FillRect(dc, &item->rcItem, SystemColourFill(COLOR_BTNFACE));
        if (entry->Frame)
            DrawFrame(dc, &item->rcItem, (int)item->CtlID == defaultId, pressed);
        if (IsMessageOfLines(entry, messageText))
            DrawMessageLines(dc, &item->rcItem, messageText);
        else
            DrawCaption(dc, &item->rcItem, entry, caption, pressed);
        if (item->itemState & ODS_FOCUS)
            DrawFocus(dc, &item->rcItem);
        return;
    }
    // A focus notification alone: the focus rectangle is drawn inverted, so
    // drawing it again when the focus leaves takes it away again.
    if (item->itemAction & ODA_FOCUS)
        DrawFocus(dc, &item->rcItem);
}
