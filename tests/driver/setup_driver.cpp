// Drives the real setup program from another process. Clicks are posted, not
// sent: a sent click would block until its handler and any dialog it opens return.
#include "driver/setup_driver.h"
#include "support/png_writer.h"
#include <stdio.h>

const int PollMs = 20;
const int CapturePollMs = 100;   // each capture makes the program repaint the window
const int StartAttempts = 3;

int StartSetup(SetupRun *run, const std::string &exePath)
{
    return StartSetupIn(run, exePath, std::string());
}

int StartSetupIn(SetupRun *run, const std::string &exePath, const std::string &currentDir)
{
    return StartSetupWith(run, exePath, currentDir, std::string());
}

int StartSetupWith(SetupRun *run, const std::string &exePath, const std::string &currentDir,
                   const std::string &arguments)
{
    ZeroMemory(run, sizeof(*run));
    STARTUPINFOA startup;
    ZeroMemory(&startup, sizeof(startup));
    startup.cb = sizeof(startup);
    // Unquoted unless the path holds a blank, as a batch file or a deployment
    // tool often starts the program: its name is then read up to the first blank.
    std::string commandLine = exePath.find(' ') == std::string::npos ? exePath : "\"" + exePath + "\"";
    if (!arguments.empty())
        commandLine += " " + arguments;
    const char *directory = currentDir.empty() ? 0 : currentDir.c_str();
    // Under a heavy load Wine now and then loses a new process while it sets
    // the process up, and CreateProcess fails: the program never ran a line,
    // so it is started again, as tests/wine_run.sh does, and each time said so.
    for (int attempt = 1; attempt <= StartAttempts; attempt++) {
        if (CreateProcessA(exePath.c_str(), &commandLine[0], 0, 0, FALSE, 0, 0, directory, &startup, &run->process))
            return 1;
        fprintf(stderr, "setup_driver: %s did not start (Windows error %lu)%s\n", exePath.c_str(),
                GetLastError(), attempt < StartAttempts ? "; starting it again" : "");
    }
    return 0;
}

struct WindowSearch {
    DWORD processId;
    const char *caption;
    HWND found;
};

static BOOL CALLBACK MatchWindow(HWND window, LPARAM param)
{
    WindowSearch *search = (WindowSearch *)param;
    DWORD owner = 0;
    GetWindowThreadProcessId(window, &owner);
    if (owner != search->processId || !IsWindowVisible(window))
        return TRUE;
    char text[256] = "";
    GetWindowTextA(window, text, sizeof(text));
    if (search->caption && lstrcmpA(text, search->caption) != 0)
        return TRUE;
    search->found = window;
    return FALSE;
}

HWND FindProcessWindow(DWORD processId, const char *caption)
{
    WindowSearch search = { processId, caption, 0 };
    EnumWindows(MatchWindow, (LPARAM)&search);
    return search.found;
}

// Windows of other tests' setup programs share the caption, so the search
// only looks at windows of this process.
HWND WaitForProcessWindow(DWORD processId, const char *caption, int timeoutMs)
{
    for (int waited = 0; waited < timeoutMs; waited += PollMs) {
        HWND window = FindProcessWindow(processId, caption);
        if (window)
            return window;
        Sleep(PollMs);
    }
    return 0;
}

int ProcessHasWindow(DWORD processId)
{
    return FindProcessWindow(processId, 0) != 0;
}

int WaitForExit(SetupRun *run, int timeoutMs, DWORD *exitCode)
{
    if (WaitForSingleObject(run->process.hProcess, timeoutMs) != WAIT_OBJECT_0)
        return 0;
    GetExitCodeProcess(run->process.hProcess, exitCode);
    return 1;
}

// Every poll until the end looks for a visible window of the process, so a
// window shown even briefly is seen unless it lived less than one poll.
int WaitForExitWithoutWindow(SetupRun *run, int timeoutMs, DWORD *exitCode, int *windowSeen)
{
    *windowSeen = 0;
    for (int waited = 0; waited < timeoutMs; waited += PollMs) {
        if (ProcessHasWindow(run->process.dwProcessId))
            *windowSeen = 1;
        if (WaitForSingleObject(run->process.hProcess, PollMs) == WAIT_OBJECT_0) {
            GetExitCodeProcess(run->process.hProcess, exitCode);
            return 1;
        }
    }
    return 0;
}

void EndSetup(SetupRun *run)
{
    if (!run->process.hProcess)
        return;
    if (WaitForSingleObject(run->process.hProcess, 0) != WAIT_OBJECT_0) {
        TerminateProcess(run->process.hProcess, 99);
        WaitForSingleObject(run->process.hProcess, DriverTimeoutMs);
    }
    CloseHandle(run->process.hProcess);
    CloseHandle(run->process.hThread);
    ZeroMemory(run, sizeof(*run));
}

int IsControlShown(HWND dialog, int id)
{
    return IsWindowVisible(GetDlgItem(dialog, id)) != 0;
}

int IsControlEnabled(HWND dialog, int id)
{
    return IsWindowEnabled(GetDlgItem(dialog, id)) != 0;
}

int IsControlChecked(HWND dialog, int id)
{
    DWORD_PTR state = 0;
    SendMessageTimeoutA(GetDlgItem(dialog, id), BM_GETCHECK, 0, 0, SMTO_ABORTIFHUNG, DriverTimeoutMs, &state);
    return state == BST_CHECKED;
}

std::string ControlText(HWND dialog, int id)
{
    char text[1024] = "";
    DWORD_PTR length = 0;
    SendMessageTimeoutA(GetDlgItem(dialog, id), WM_GETTEXT, sizeof(text), (LPARAM)text,
                        SMTO_ABORTIFHUNG, DriverTimeoutMs, &length);
    return text;
}

HWND FocusedWindowOf(HWND window)
{
    GUITHREADINFO info;
    ZeroMemory(&info, sizeof(info));
    info.cbSize = sizeof(info);
    if (!GetGUIThreadInfo(GetWindowThreadProcessId(window, 0), &info))
        return 0;
    return info.hwndFocus;
}

void ClickControl(HWND dialog, int id)
{
    PostMessageA(dialog, WM_COMMAND, MAKEWPARAM(id, BN_CLICKED), (LPARAM)GetDlgItem(dialog, id));
}

int WaitForFocus(HWND dialog, int id)
{
    HWND control = GetDlgItem(dialog, id);
    for (int waited = 0; waited < DriverTimeoutMs; waited += PollMs) {
        if (FocusedWindowOf(dialog) == control)
            return 1;
        Sleep(PollMs);
    }
    return 0;
}

// The dialog manager of the program's own thread moves the focus.
int FocusControl(HWND dialog, int id)
{
    PostMessageA(dialog, WM_NEXTDLGCTL, (WPARAM)GetDlgItem(dialog, id), TRUE);
    return WaitForFocus(dialog, id);
}

int WaitForForeground(HWND window, int timeoutMs)
{
    for (int waited = 0; waited < timeoutMs; waited += PollMs) {
        if (GetForegroundWindow() == window)
            return 1;
        Sleep(PollMs);
    }
    return 0;
}

// The program's window in front, as a person's click would put it: keys
// then reach its thread through the system's input queue.
int BringToFront(HWND window)
{
    HWND top = GetAncestor(window, GA_ROOT);
    for (int waited = 0; waited < DriverTimeoutMs; waited += PollMs) {
        if (GetForegroundWindow() == top)
            return 1;
        SetForegroundWindow(top);
        Sleep(PollMs);
    }
    return 0;
}

// A key press as a person makes it: through the system's input queue, so the
// focus window, the key state and a modal dialog's own loop all take part.
int PressKey(HWND window, WPARAM key)
{
    if (!BringToFront(window))
        return 0;
    INPUT press[2];
    ZeroMemory(press, sizeof(press));
    for (INPUT &input : press) {
        input.type = INPUT_KEYBOARD;
        input.ki.wVk = (WORD)key;
        input.ki.wScan = (WORD)MapVirtualKeyA((UINT)key, 0);
    }
    press[1].ki.dwFlags = KEYEVENTF_KEYUP;
    return SendInput(2, press, sizeof(INPUT)) == 2;
}

// The window is repainted first: paint messages wait until the program's queue
// is empty, so a window that has just appeared may not have drawn everything yet.
int CaptureWindow(HWND window, Capture *capture)
{
    RedrawWindow(window, 0, 0, RDW_INVALIDATE | RDW_ERASE | RDW_FRAME | RDW_ALLCHILDREN | RDW_UPDATENOW);
    RECT rect;
    if (!GetWindowRect(window, &rect))
        return 0;
    capture->width = rect.right - rect.left;
    capture->height = rect.bottom - rect.top;
    BITMAPINFO info;
    ZeroMemory(&info, sizeof(info));
    info.bmiHeader.biSize = sizeof(info.bmiHeader);
    info.bmiHeader.biWidth = capture->width;
    info.bmiHeader.biHeight = -capture->height;
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = 32;
    info.bmiHeader.biCompression = BI_RGB;
    void *bits = 0;
    HDC source = GetWindowDC(window);
    HDC target = CreateCompatibleDC(source);
    HBITMAP bitmap = CreateDIBSection(target, &info, DIB_RGB_COLORS, &bits, 0, 0);
    int ok = source && target && bitmap;
    if (ok) {
        HGDIOBJ previous = SelectObject(target, bitmap);
        ok = BitBlt(target, 0, 0, capture->width, capture->height, source, 0, 0, SRCCOPY);
        GdiFlush();
        const unsigned *pixels = (const unsigned *)bits;
        capture->pixels.assign(pixels, pixels + capture->width * capture->height);
        for (unsigned &p : capture->pixels)
            p &= 0xFFFFFF;
        SelectObject(target, previous);
    }
    if (bitmap)
        DeleteObject(bitmap);
    if (target)
        DeleteDC(target);
    if (source)
        ReleaseDC(window, source);
    return ok;
}

int CaptureWhenDrawn(HWND window, Capture *capture, const CaptureCheck &check, std::string *failures)
{
    *failures = "nothing captured";
    for (int waited = 0; waited < DriverTimeoutMs && !failures->empty(); waited += CapturePollMs) {
        failures->clear();
        if (!CaptureWindow(window, capture))
            *failures = "the window could not be captured";
        else
            check(*capture, failures);
        if (!failures->empty())
            Sleep(CapturePollMs);
    }
    return failures->empty();
}

// Pixels darker than mid-grey inside a control, in a capture of its top-level window.
static int DarkPixelsIn(const Capture &capture, HWND window, HWND control)
{
    RECT windowRect, controlRect;
    if (!GetWindowRect(window, &windowRect) || !GetWindowRect(control, &controlRect))
        return 0;
    int dark = 0;
    for (int y = controlRect.top - windowRect.top; y < controlRect.bottom - windowRect.top; y++)
        for (int x = controlRect.left - windowRect.left; x < controlRect.right - windowRect.left; x++) {
            if (x < 0 || y < 0 || x >= capture.width || y >= capture.height)
                continue;
            unsigned p = capture.pixels[y * capture.width + x];
            dark += ((p >> 16 & 0xFF) + (p >> 8 & 0xFF) + (p & 0xFF)) < 3 * 128;
        }
    return dark;
}

// A few strokes of text are well over 20 dark pixels; an unpainted control has none.
const int DrawnTextDarkPixels = 20;

CaptureCheck ControlsDrawn(HWND dialog, std::vector<int> ids)
{
    return [dialog, ids](const Capture &capture, std::string *failures) {
        for (int id : ids)
            if (DarkPixelsIn(capture, dialog, GetDlgItem(dialog, id)) <= DrawnTextDarkPixels)
                *failures += "control " + std::to_string(id) + " is not drawn\n";
    };
}

int SaveCapture(const Capture &capture, const std::string &path)
{
    return WritePng(path, capture.width, capture.height, capture.pixels);
}

void PressButton(HWND dialog, int id)
{
    PostMessageA(GetDlgItem(dialog, id), BM_CLICK, 0, 0);
}

void SetControlText(HWND dialog, int id, const std::string &text)
{
    DWORD_PTR result = 0;
    SendMessageTimeoutA(GetDlgItem(dialog, id), WM_SETTEXT, 0, (LPARAM)text.c_str(), SMTO_ABORTIFHUNG,
                        DriverTimeoutMs, &result);
}

int WaitForControlShown(HWND dialog, int id, int shown, int timeoutMs)
{
    for (int waited = 0; waited < timeoutMs; waited += PollMs) {
        if (IsControlShown(dialog, id) == shown)
            return 1;
        Sleep(PollMs);
    }
    return 0;
}

static LRESULT SendWide(HWND control, UINT message, WPARAM wParam, LPARAM lParam)
{
    DWORD_PTR result = (DWORD_PTR)-1;
    if (!SendMessageTimeoutW(control, message, wParam, lParam, SMTO_ABORTIFHUNG, DriverTimeoutMs, &result))
        return -1;
    return (LRESULT)result;
}

int ListItemCount(HWND dialog, int id, int isCombo)
{
    return (int)SendWide(GetDlgItem(dialog, id), isCombo ? CB_GETCOUNT : LB_GETCOUNT, 0, 0);
}

std::wstring ListItemText(HWND dialog, int id, int isCombo, int index)
{
    HWND control = GetDlgItem(dialog, id);
    LRESULT length = SendWide(control, isCombo ? CB_GETLBTEXTLEN : LB_GETTEXTLEN, (WPARAM)index, 0);
    if (length < 0)
        return std::wstring();
    std::wstring text((size_t)length + 1, L'\0');
    SendWide(control, isCombo ? CB_GETLBTEXT : LB_GETTEXT, (WPARAM)index, (LPARAM)&text[0]);
    text.resize(wcslen(text.c_str()));
    return text;
}

LONG_PTR ListItemData(HWND dialog, int id, int isCombo, int index)
{
    return (LONG_PTR)SendWide(GetDlgItem(dialog, id), isCombo ? CB_GETITEMDATA : LB_GETITEMDATA, (WPARAM)index, 0);
}

int ListSelection(HWND dialog, int id, int isCombo)
{
    return (int)SendWide(GetDlgItem(dialog, id), isCombo ? CB_GETCURSEL : LB_GETCURSEL, 0, 0);
}

static BOOL CALLBACK AppendChildText(HWND child, LPARAM param)
{
    char text[1024] = "";
    DWORD_PTR length = 0;
    SendMessageTimeoutA(child, WM_GETTEXT, sizeof(text), (LPARAM)text, SMTO_ABORTIFHUNG, DriverTimeoutMs, &length);
    *(std::string *)param += std::string(text) + "\n";
    return TRUE;
}

std::string WindowTexts(HWND window)
{
    std::string texts;
    AppendChildText(window, (LPARAM)&texts);
    EnumChildWindows(window, AppendChildText, (LPARAM)&texts);
    return texts;
}

const UINT UnansweredMs = 6000;   // longer than Windows waits before it ghosts a window

static DWORD WINAPI WatchAnswers(LPVOID parameter)
{
    AnswerWatch *watch = (AnswerWatch *)parameter;
    for (DWORD_PTR result; !watch->stop && IsWindow(watch->window); watch->asked++) {
        DWORD asked = GetTickCount();
        SendMessageTimeoutA(watch->window, WM_NULL, 0, 0, SMTO_NORMAL, UnansweredMs, &result);
        LONG waited = (LONG)(GetTickCount() - asked);
        watch->longestMs = waited > watch->longestMs ? waited : watch->longestMs;
        Sleep(10);   // the pace of the questions, not a wait for anything
    }
    return 0;
}

int StartAnswerWatch(AnswerWatch *watch, HWND window)
{
    *watch = AnswerWatch{ window, 0, 0, 0, 0 };
    watch->thread = CreateThread(0, 0, WatchAnswers, watch, 0, 0);
    return watch->thread != 0;
}

void StopAnswerWatch(AnswerWatch *watch)
{
    if (!watch->thread)
        return;
    watch->stop = 1;
    WaitForSingleObject(watch->thread, INFINITE);
    CloseHandle(watch->thread);
    watch->thread = 0;
}
