// The start-up baseline: a program that creates one dialog and shows it, nothing
// more. Cancel (or Esc, or the close box) ends it. It marks its entry point,
// its dialog shown and its first paint as the timed setup program does.
#include "startup/startup_steps.h"
#include <windows.h>

const int DialogWidthUnits = 445;
const int DialogHeightUnits = 210;
static int Running = 1;

static INT_PTR CALLBACK BareDialogProc(HWND window, UINT message, WPARAM wParam, LPARAM)
{
    if (message == WM_COMMAND && LOWORD(wParam) == IDCANCEL) {
        DestroyWindow(window);
        Running = 0;
        return TRUE;
    }
    return message == WM_INITDIALOG;
}

// An in-memory template: a caption and no controls, sized like the wizard.
struct BareTemplate {
    DLGTEMPLATE head;
    WORD menu, windowClass;
    WCHAR title[12];
};

int WINAPI WinMain(HINSTANCE instance, HINSTANCE, LPSTR, int)
{
    MarkStartupStep(StepEntryReached);
    BareTemplate dialog;
    ZeroMemory(&dialog, sizeof(dialog));
    dialog.head.style = WS_POPUP | WS_CAPTION | WS_SYSMENU | WS_VISIBLE | DS_MODALFRAME;
    dialog.head.x = 30;
    dialog.head.y = 14;
    dialog.head.cx = DialogWidthUnits;
    dialog.head.cy = DialogHeightUnits;
    lstrcpyW(dialog.title, L"Bare Dialog");
    HWND window = CreateDialogIndirectParamA(instance, &dialog.head, 0, BareDialogProc, 0);
    if (!window)
        return 1;
    MarkStartupStep(StepWizardShown);
    MSG message;
    while (Running) {
        MarkStartupStep(StepFirstPaint);
        if (GetMessageA(&message, 0, 0, 0) <= 0)
            break;
        if (!IsDialogMessageA(window, &message)) {
            TranslateMessage(&message);
            DispatchMessageA(&message);
        }
    }
    return 0;
}
