// Windows XP and later call a window that has read no message for 5 seconds
// "not responding": they put a frozen ghost over it and offer to end the
// program, which would kill the install halfway. The install therefore calls
// a pulse at every row, between the slices of a large entry and between its
// other steps, and the pulse reads the wizard's messages. Input is dropped,
// not queued: a key pressed during the install must not reach the last page
// once it ends, and Enter would otherwise press Install again. A click on the
// caption or the close box is no such input: the window can be moved, and
// the close box's Cancel is ignored while the install runs.
#include "wizard/answering_window.h"
#include "install/payload_store.h"
#include "install/install_sequence.h"

static HWND AnsweringWizard;
static int QuitRead;
static WPARAM QuitCode;

static int IsUserInput(UINT message)
{
    return (message >= WM_KEYFIRST && message <= WM_KEYLAST) || (message >= WM_MOUSEFIRST && message <= WM_MOUSELAST);
}

// Its Cancel button takes clicks while the install can still be cancelled.
static int IsCancelButton(HWND window)
{
    return InstallCanBeCancelled && window == GetDlgItem(AnsweringWizard, IDCANCEL) && IsWindowVisible(window);
}

static int IsWizardWindow(HWND window)
{
    return window && (window == AnsweringWizard || IsChild(AnsweringWizard, window));
}

// Cancel goes once the files begin to change names: the install then completes.
static void HideCancelOnceTooLate()
{
    HWND cancel = GetDlgItem(AnsweringWizard, IDCANCEL);
    if (!InstallCanBeCancelled && IsWindowVisible(cancel))
        ShowWindow(cancel, SW_HIDE);
}

void ReadWizardMessages()
{
    HideCancelOnceTooLate();
    MSG message;
    while (PeekMessageA(&message, 0, 0, 0, PM_REMOVE)) {
        if (message.message == WM_QUIT) {
            QuitRead = 1;
            QuitCode = message.wParam;
            continue;
        }
        if (message.message == WM_KEYDOWN && message.wParam == VK_ESCAPE && IsWizardWindow(message.hwnd)) {
            SendMessageA(AnsweringWizard, WM_COMMAND, IDCANCEL, 0);
            continue;
        }
        if (IsUserInput(message.message) && IsWizardWindow(message.hwnd) && !IsCancelButton(message.hwnd))
            continue;
        TranslateMessage(&message);
        DispatchMessageA(&message);
    }
}

void BeginAnswering(HWND wizard)
{
    AnsweringWizard = wizard;
    QuitRead = 0;
    InstallPulse = ReadWizardMessages;
}

// The wait sleeps until a message comes or the time is up, so it neither
// spins the processor nor ends later than the first tick past the minimum.
void WaitAnswering(DWORD startTicks, DWORD minimumMs)
{
    for (DWORD waited; (waited = GetTickCount() - startTicks) < minimumMs;) {
        MsgWaitForMultipleObjects(0, 0, FALSE, minimumMs - waited, QS_ALLINPUT);
        ReadWizardMessages();
    }
}

void EndAnswering()
{
    InstallPulse = 0;
    AnsweringWizard = 0;
    if (QuitRead)
        PostQuitMessage((int)QuitCode);
}
