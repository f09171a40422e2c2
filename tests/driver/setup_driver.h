// Drives the real setup program from another process: start it, find its
// windows, read and operate its controls, press keys, capture its pixels.
#pragma once
#include <windows.h>
#include <functional>
#include <string>
#include <vector>

struct SetupRun {
    PROCESS_INFORMATION process;
    HWND wizard;
};

const int DriverTimeoutMs = 20000;

int StartSetup(SetupRun *run, const std::string &exePath);
// Starts the program with the given folder as its current directory.
int StartSetupIn(SetupRun *run, const std::string &exePath, const std::string &currentDir);
// Starts it with the given arguments after its own quoted path (an empty folder keeps the current one).
int StartSetupWith(SetupRun *run, const std::string &exePath, const std::string &currentDir,
                   const std::string &arguments);
// The visible window of that process with that caption (any caption when null), or 0.
HWND FindProcessWindow(DWORD processId, const char *caption);
HWND WaitForProcessWindow(DWORD processId, const char *caption, int timeoutMs);
int ProcessHasWindow(DWORD processId);
int WaitForExit(SetupRun *run, int timeoutMs, DWORD *exitCode);
// Waits for the end of a run that should show nothing, noting whether a visible
// window of the process was ever there.
int WaitForExitWithoutWindow(SetupRun *run, int timeoutMs, DWORD *exitCode, int *windowSeen);
void EndSetup(SetupRun *run);

int IsControlShown(HWND dialog, int id);
int IsControlEnabled(HWND dialog, int id);
int IsControlChecked(HWND dialog, int id);
std::string ControlText(HWND dialog, int id);
HWND FocusedWindowOf(HWND window);

void ClickControl(HWND dialog, int id);
int FocusControl(HWND dialog, int id);
// Waits until control id of dialog has the keyboard focus.
int WaitForFocus(HWND dialog, int id);
// Brings window's top-level window to the foreground, as a person's click
// would; 0 when it would not come to the front.
int BringToFront(HWND window);
// Waits until window is the foreground window, which another process put there.
int WaitForForeground(HWND window, int timeoutMs);
// Brings window's top-level window to the foreground and presses key; 0 when
// the window would not come to the front.
int PressKey(HWND window, WPARAM key);

struct Capture {
    int width, height;
    std::vector<unsigned> pixels;   // 0x00RRGGBB, top row first
};

int CaptureWindow(HWND window, Capture *capture);
// A window's paint waits until its program's queue is empty, and under Wine its
// pixels reach the display only when the program next waits for a message: on
// a busy machine a capture can come before them. The window is captured again
// until check adds nothing to failures (a line per thing not drawn), for at
// most DriverTimeoutMs; 0 with the last capture's failures otherwise.
typedef std::function<void(const Capture &, std::string *)> CaptureCheck;
int CaptureWhenDrawn(HWND window, Capture *capture, const CaptureCheck &check, std::string *failures);
// A check that each control's text is drawn: dark pixels inside it in the capture.
CaptureCheck ControlsDrawn(HWND dialog, std::vector<int> ids);
int SaveCapture(const Capture &capture, const std::string &path);

// Asks a window for WM_NULL again and again from a thread of its own, as
// Windows does before it calls a window "not responding" (after 5 s without
// an answer), and keeps the longest wait for an answer.
struct AnswerWatch {
    HWND window;
    HANDLE thread;
    volatile LONG stop;
    volatile LONG longestMs;
    volatile LONG asked;
};
int StartAnswerWatch(AnswerWatch *watch, HWND window);
void StopAnswerWatch(AnswerWatch *watch);

// Clicks a button as the user would (it toggles an auto check box and notifies the dialog).
void PressButton(HWND dialog, int id);
void SetControlText(HWND dialog, int id, const std::string &text);
int WaitForControlShown(HWND dialog, int id, int shown, int timeoutMs);

// List box (isCombo 0) and combo box (1) items, read across processes with the wide messages.
int ListItemCount(HWND dialog, int id, int isCombo);
std::wstring ListItemText(HWND dialog, int id, int isCombo, int index);
LONG_PTR ListItemData(HWND dialog, int id, int isCombo, int index);
int ListSelection(HWND dialog, int id, int isCombo);

// Every text of a window and of its children, one after the other.
std::string WindowTexts(HWND window);
