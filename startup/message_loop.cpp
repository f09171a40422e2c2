// The program's one message loop. All wizard push buttons are owner-drawn, so the
// dialog manager would not click them on Enter; the loop does it instead.
#include "startup/message_loop.h"
#include "startup/shared_state.h"
#include "startup/startup_steps.h"

const int ClassNameBytes = 100;

// Check boxes, radio buttons and three-state boxes: Enter on them acts as Next.
static int IsToggleButtonStyle(LONG_PTR style)
{
    switch (style & 0xFF) {
    case BS_CHECKBOX: case BS_AUTOCHECKBOX: case BS_RADIOBUTTON:
    case BS_3STATE: case BS_AUTO3STATE: case BS_AUTORADIOBUTTON:
        return 1;
    }
    return 0;
}

static int IsPushButton(HWND window)
{
    char className[ClassNameBytes];
    if (!GetClassNameA(window, className, ClassNameBytes))
        return 0;
    return lstrcmpiA(className, "button") == 0 && !IsToggleButtonStyle(GetWindowLongPtrA(window, GWL_STYLE));
}

int EnterCommandFor(HWND focus)
{
    return focus && IsPushButton(focus) ? GetDlgCtrlID(focus) : DefaultCommandId;
}

// Returns 1 when the key message is used up. Enter on a focused push button
// clicks that button; anywhere else it clicks Next, and the key still goes on
// to the dialog manager so that edit boxes and lists see it as usual.
int TranslateEnterKey(const MSG *message)
{
    if (message->message != WM_KEYDOWN || message->wParam != VK_RETURN)
        return 0;
    HWND focus = GetFocus();
    if (focus && IsPushButton(focus)) {
        PostMessageA(WizardWindow, WM_COMMAND, (WPARAM)GetDlgCtrlID(focus), 0);
        return 1;
    }
    PostMessageA(WizardWindow, WM_COMMAND, (WPARAM)DefaultCommandId, 0);
    return 0;
}

// PageState is tested before every fetch, so the loop ends as soon as a
// handler has set it negative.
void RunMessageLoop()
{
    MSG message;
    while (PageState >= 0) {
        MarkStartupStep(StepFirstPaint);
        if (GetMessageA(&message, 0, 0, 0) <= 0)
            break;
        if (TranslateEnterKey(&message))
            continue;
        if (IsDialogMessageA(WizardWindow, &message))
            continue;
        TranslateMessage(&message);
        DispatchMessageA(&message);
    }
}
