// Walks the real setup program's wizard from its first page to Install, and
// reads and answers the messages it shows afterwards. Everything is posted or
// sent with a time-out, so a program that stops answering fails the walk.
#include "driver/wizard_walk.h"
#include "resources/resource_ids.h"

const int WalkPollMs = 20;

WizardAnswers DefaultAnswers()
{
    WizardAnswers answers;
    answers.destination = "";
    answers.desktopIcon = 1;
    answers.displayOk = 1;
    answers.language = 0;
    return answers;
}

static int WaitUntilShown(HWND dialog, int id)
{
    for (int waited = 0; waited < DriverTimeoutMs; waited += WalkPollMs) {
        if (IsControlShown(dialog, id))
            return 1;
        Sleep(WalkPollMs);
    }
    return 0;
}

static int SendWithTimeout(HWND window, UINT message, WPARAM wParam, LPARAM lParam, DWORD_PTR *result)
{
    DWORD_PTR ignored;
    return SendMessageTimeoutA(window, message, wParam, lParam, SMTO_ABORTIFHUNG, DriverTimeoutMs,
                               result ? result : &ignored) != 0;
}

// Checks or clears a box the way a click would leave it, then tells the dialog.
static void SetCheckBox(HWND dialog, int id, int checked)
{
    SendWithTimeout(GetDlgItem(dialog, id), BM_SETCHECK, checked ? BST_CHECKED : BST_UNCHECKED, 0, 0);
    ClickControl(dialog, id);
}

// The picture once the page's own control is drawn, or as it is when that takes too long.
static void SavePage(HWND dialog, const std::string &dir, int page, int pageControl)
{
    if (dir.empty())
        return;
    Capture capture;
    std::string failures;
    char name[32];
    wsprintfA(name, "\\page%d.png", page);
    CaptureWhenDrawn(dialog, &capture, ControlsDrawn(dialog, { pageControl }), &failures);
    if (!capture.pixels.empty())
        SaveCapture(capture, dir + name);
}

// The entry of the language list whose item data is the language asked for.
static int SelectLanguage(HWND dialog, int language)
{
    HWND combo = GetDlgItem(dialog, ID_LANGUAGE_COMBO);
    DWORD_PTR count = 0;
    SendWithTimeout(combo, CB_GETCOUNT, 0, 0, &count);
    for (int i = 0; i < (int)count; i++) {
        DWORD_PTR data = 0;
        SendWithTimeout(combo, CB_GETITEMDATA, i, 0, &data);
        if ((int)data == language) {
            SendWithTimeout(combo, CB_SETCURSEL, i, 0, 0);
            return 1;
        }
    }
    return 0;
}

int WalkWizardToInstall(SetupRun *run, const WizardAnswers &answers, const std::string &screenshotDir,
                        std::string *failure)
{
    HWND dialog = run->wizard;
    if (!answers.destination.empty())
        SendWithTimeout(GetDlgItem(dialog, ID_DESTINATION_EDIT), WM_SETTEXT, 0, (LPARAM)answers.destination.c_str(), 0);
    if (IsControlChecked(dialog, ID_DESKTOP_ICON_CHECK) != answers.desktopIcon)
        SetCheckBox(dialog, ID_DESKTOP_ICON_CHECK, answers.desktopIcon);
    SavePage(dialog, screenshotDir, 0, ID_DESTINATION_EDIT);
    ClickControl(dialog, ID_NEXT_BUTTON);
    if (!WaitUntilShown(dialog, ID_DISPLAY_QUESTION_LABEL)) {
        *failure = "the display check page did not appear";
        return 0;
    }
    SetCheckBox(dialog, answers.displayOk ? ID_DISPLAY_OK_CHECK : ID_DISPLAY_NO_CHECK, 1);
    SavePage(dialog, screenshotDir, 1, ID_DISPLAY_QUESTION_LABEL);
    ClickControl(dialog, ID_NEXT_BUTTON);
    if (!WaitUntilShown(dialog, ID_ENGLISH_LICENCE_CHECK)) {
        *failure = "the licence page did not appear";
        return 0;
    }
    SavePage(dialog, screenshotDir, 2, ID_ENGLISH_LICENCE_CHECK);
    ClickControl(dialog, ID_NEXT_BUTTON);
    if (!WaitUntilShown(dialog, ID_LANGUAGE_COMBO)) {
        *failure = "the language page did not appear";
        return 0;
    }
    if (!SelectLanguage(dialog, answers.language)) {
        *failure = "the language list has no such entry";
        return 0;
    }
    SavePage(dialog, screenshotDir, 3, ID_LANGUAGE_COMBO);
    ClickControl(dialog, ID_NEXT_BUTTON);
    return 1;
}

struct MessageSearch {
    DWORD processId;
    HWND wizard;
    HWND found;
};

static BOOL CALLBACK MatchMessageWindow(HWND window, LPARAM param)
{
    MessageSearch *search = (MessageSearch *)param;
    DWORD owner = 0;
    GetWindowThreadProcessId(window, &owner);
    if (owner != search->processId || window == search->wizard || !IsWindowVisible(window))
        return TRUE;
    search->found = window;
    return FALSE;
}

static BOOL CALLBACK CollectControlText(HWND control, LPARAM param)
{
    char text[1024] = "";
    DWORD_PTR length = 0;
    SendMessageTimeoutA(control, WM_GETTEXT, sizeof(text), (LPARAM)text, SMTO_ABORTIFHUNG, DriverTimeoutMs, &length);
    *(std::string *)param += std::string(text) + "\n";
    return TRUE;
}

HWND WaitForMessageWindow(SetupRun *run, int timeoutMs, std::string *texts)
{
    MessageSearch search = { run->process.dwProcessId, run->wizard, 0 };
    for (int waited = 0; waited < timeoutMs && !search.found; waited += WalkPollMs) {
        EnumWindows(MatchMessageWindow, (LPARAM)&search);
        if (!search.found)
            Sleep(WalkPollMs);
    }
    texts->clear();
    if (!search.found)
        return 0;
    // The message's texts are set before it shows; a window of the program
    // other than a message (the wizard of a run without one) has no such label.
    for (int waited = 0; waited < timeoutMs && texts->empty(); waited += WalkPollMs) {
        if (ControlText(search.found, ID_MESSAGE_CHINESE_LABEL).empty()) {
            Sleep(WalkPollMs);
            continue;
        }
        CollectControlText(search.found, (LPARAM)texts);
        EnumChildWindows(search.found, CollectControlText, (LPARAM)texts);
    }
    return search.found;
}

void AnswerMessageWindow(HWND window, int buttonId)
{
    PostMessageA(window, WM_COMMAND, MAKEWPARAM(buttonId, BN_CLICKED), (LPARAM)GetDlgItem(window, buttonId));
}

int AnswerMessageByKeys(HWND window, MessageKeys keys)
{
    if (keys == PressTabThenEnter && !PressKey(window, VK_TAB))
        return 0;
    return PressKey(window, keys == PressEsc ? VK_ESCAPE : VK_RETURN);
}

int WaitUntilWindowGone(HWND window, int timeoutMs)
{
    for (int waited = 0; waited < timeoutMs; waited += WalkPollMs) {
        if (!IsWindow(window) || !IsWindowVisible(window))
            return 1;
        Sleep(WalkPollMs);
    }
    return 0;
}
