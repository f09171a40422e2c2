// The wizard's check boxes keep the system's behaviour; their window procedure
// is replaced so that the box is system-drawn and the caption program-drawn.
#include "glyphtext/owner_drawn.h"
#include "glyphtext/mixed_text.h"

WNDPROC PreviousButtonProc;

struct CheckBoxCaptionRow {
    int Id;
    const char *Caption;
};

static const CheckBoxCaptionRow CheckBoxCaptions[] = {
    { 1004, "建立桌面图标？  (Place an icon on Desktop)" },
    { 1007, "正确(OK)" },
    { 1008, "不正确(NO)" },
};
const int CheckBoxCaptionCount = sizeof(CheckBoxCaptions) / sizeof(CheckBoxCaptions[0]);

const int CheckCaptionBytes = 128;
const int WindowCheckCaptionBytes = 126;   // a caption from a window text is cut to this
const int FaceMargin = 2;                  // the face is filled 2 pixels past the client area
const int CaptionDrop = 3;
const int FocusMargin = 1;

const char *CheckBoxCaption(int id)
{
    for (int i = 0; i < CheckBoxCaptionCount; i++)
        if (CheckBoxCaptions[i].Id == id)
            return CheckBoxCaptions[i].Caption;
    return 0;
}

// The boxes of the table are named with their captions, and those names are
// never read back: the system may give them back through another code page.
static void CheckBoxCaptionText(HWND checkBox, char *caption)
{
    const char *own = CheckBoxCaption(GetDlgCtrlID(checkBox));
    if (own) {
        CopyMixedText(caption, own, CheckCaptionBytes - 1);
        return;
    }
    char text[CheckCaptionBytes];
    GetWindowTextA(checkBox, text, sizeof(text));
    CopyMixedText(caption, text, WindowCheckCaptionBytes);
}

// The box is a square at the left of the face, shrunk to the size the system
// draws its check boxes and radio buttons at.
static UINT BoxRect(HWND checkBox, const RECT *face, RECT *box)
{
    int h = face->bottom - face->top;
    SetRect(box, face->left, face->top, face->left + h, face->bottom);
    LONG style = GetWindowLongA(checkBox, GWL_STYLE) & 0xFF;
    if (style == BS_CHECKBOX || style == BS_AUTOCHECKBOX) {
        InflateRect(box, -(h / 4), -(h / 4));
        box->top -= 1;
        box->left -= h / 8;
        box->right -= h / 7;
        box->bottom -= 3;
        return DFCS_BUTTONCHECK;
    }
    InflateRect(box, -(h / 12), -(h / 12));
    box->left -= 1;
    box->top += 1;
    box->right -= h / 5;
    box->bottom -= 2;
    return style == BS_RADIOBUTTON || style == BS_AUTORADIOBUTTON ? DFCS_BUTTONRADIO : DFCS_BUTTONCHECK;
}

void PaintCheckBox(HWND checkBox, HDC dc)
{
    int checked = SendMessageA(checkBox, BM_GETCHECK, 0, 0) == BST_CHECKED;
    RECT face;
    GetClientRect(checkBox, &face);
    InflateRect(&face, FaceMargin, FaceMargin);
    FillRect(dc, &face, SystemColourFill(COLOR_BTNFACE));

    RECT box;
    UINT state = BoxRect(checkBox, &face, &box);
    if (checked)
        state |= DFCS_CHECKED;
    if (!IsWindowEnabled(checkBox))
        state |= DFCS_INACTIVE;
    DrawFrameControl(dc, &box, DFC_BUTTON, state);

    char caption[CheckCaptionBytes];
    CheckBoxCaptionText(checkBox, caption);
    SIZE extent = MeasureMixedText(dc, caption);
    int x = 2 * box.right - box.left;
    int y = face.top + CaptionDrop;
    DrawMixedText(dc, x, y, caption, 0);

    if (GetFocus() == checkBox) {
        RECT text = { x, y, x + extent.cx + 2, y + GlyphTextHeight + 1 };
        InflateRect(&text, FocusMargin, FocusMargin);
        DrawFocusRect(dc, &text);
    }
}

// Messages after which the system button draws its own look straight onto the
// screen (check state, pressed state, focus, enabling): the whole control is
// painted again the program's way, so a toggle by the space bar keeps the
// caption as a mouse click does.
static int ChangesLook(UINT message)
{
    switch (message) {
    case BM_SETCHECK:
    case BM_SETSTATE:
    case WM_SETFOCUS:
    case WM_KILLFOCUS:
    case WM_ENABLE:
    case WM_KEYDOWN:
    case WM_KEYUP:
    case WM_LBUTTONUP:
    case WM_CAPTURECHANGED:
    case WM_SETTEXT:
        return 1;
    }
    return 0;
}

static void RepaintNow(HWND window)
{
    InvalidateRect(window, 0, TRUE);
    UpdateWindow(window);
}

LRESULT CALLBACK CheckBoxProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
{
    if (message == WM_PAINT) {
        PAINTSTRUCT paint;
        HDC dc = BeginPaint(window, &paint);
        PaintCheckBox(window, dc);
        EndPaint(window, &paint);
        return 0;
    }
    if (message == WM_LBUTTONDOWN)
        InvalidateRect(window, 0, TRUE);
    // A box subclassed with the wide call (on NT, so that it gives its name in
    // UTF-16) gets its messages wide and passes them on wide.
    LRESULT result = IsWindowUnicode(window) ? CallWindowProcW(PreviousButtonProc, window, message, wParam, lParam)
                                             : CallWindowProcA(PreviousButtonProc, window, message, wParam, lParam);
    if (ChangesLook(message) && IsWindowVisible(window))
        RepaintNow(window);
    return result;
}
