// Finds the program's message dialogs in this process, notes their two lines and
// presses OK. The dialog is modal on the test's thread, so a second thread watches.
#include "support/message_watcher.h"
#include <windows.h>

const char MessageCaption[] = "Lumabook Install Message";
const int ChineseLineId = 1013;
const int EnglishLineId = 1028;
const int OkButtonId = IDOK;
const int WatchIntervalMs = 20;
const int TextBytes = 1024;

static CRITICAL_SECTION SeenLock;
static std::vector<SeenMessage> Seen;

static std::string ControlText(HWND dialog, int id)
{
    HWND control = GetDlgItem(dialog, id);
    if (!control)
        return "<no control " + std::to_string(id) + ">";
    char text[TextBytes] = "";
    GetWindowTextA(control, text, sizeof(text));
    return text;
}

static BOOL CALLBACK CloseMessageDialog(HWND window, LPARAM)
{
    DWORD processId = 0;
    GetWindowThreadProcessId(window, &processId);
    char caption[64] = "";
    GetWindowTextA(window, caption, sizeof(caption));
    if (processId != GetCurrentProcessId() || lstrcmpA(caption, MessageCaption) != 0 || !IsWindowVisible(window))
        return TRUE;
    SeenMessage message = { ControlText(window, ChineseLineId), ControlText(window, EnglishLineId) };
    EnterCriticalSection(&SeenLock);
    Seen.push_back(message);
    LeaveCriticalSection(&SeenLock);
    // Posted, not sent: the dialog's own loop takes the click and closes it.
    PostMessageA(window, WM_COMMAND, MAKEWPARAM(OkButtonId, BN_CLICKED), (LPARAM)GetDlgItem(window, OkButtonId));
    while (IsWindow(window) && IsWindowVisible(window))
        Sleep(WatchIntervalMs);
    return TRUE;
}

static DWORD WINAPI WatchMessages(LPVOID)
{
    for (;;) {
        EnumWindows(CloseMessageDialog, 0);
        Sleep(WatchIntervalMs);
    }
    return 0;
}

void StartMessageWatcher()
{
    InitializeCriticalSection(&SeenLock);
    CloseHandle(CreateThread(0, 0, WatchMessages, 0, 0, 0));
}

std::vector<SeenMessage> TakeSeenMessages()
{
    EnterCriticalSection(&SeenLock);
    std::vector<SeenMessage> taken;
    taken.swap(Seen);
    LeaveCriticalSection(&SeenLock);
    return taken;
}
