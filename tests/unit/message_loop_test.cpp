// The message loop's Enter rule and its stop on a negative page state, on a
// real dialog of this thread.
#include "startup/message_loop.h"
#include "startup/shared_state.h"
#include <gtest/gtest.h>
#include <vector>

const UINT RecordMarker = WM_APP + 1;
// A loop that never sees its command is ended after this long and the test fails.
const DWORD LoopTimeLimitMs = 10000;
static std::vector<int> Commands;
static int StopOnCommand;
static int MarkerSeen;

static INT_PTR CALLBACK RecordingDialogProc(HWND, UINT message, WPARAM wParam, LPARAM)
{
    if (message == WM_INITDIALOG)
        return TRUE;
    // Only clicks count; a check box with BS_NOTIFY also reports its focus.
    if (message == WM_COMMAND && HIWORD(wParam) == BN_CLICKED) {
        Commands.push_back(LOWORD(wParam));
        if (LOWORD(wParam) == StopOnCommand)
            PageState = -1;
        return TRUE;
    }
    if (message == RecordMarker) {
        MarkerSeen = 1;
        return TRUE;
    }
    return FALSE;
}

static HANDLE LoopFinished;
static DWORD LoopThreadId;
static volatile LONG LoopTimedOut;

// Ends the loop from outside with a quit message when it runs past its limit,
// so that a fault fails the test clearly instead of hanging it.
static DWORD WINAPI LoopWatchdog(void *)
{
    if (WaitForSingleObject(LoopFinished, LoopTimeLimitMs) == WAIT_TIMEOUT) {
        InterlockedExchange(&LoopTimedOut, 1);
        PostThreadMessageA(LoopThreadId, WM_QUIT, 0, 0);
    }
    return 0;
}

static void RunMessageLoopWithLimit()
{
    LoopFinished = CreateEventA(0, TRUE, FALSE, 0);
    LoopThreadId = GetCurrentThreadId();
    LoopTimedOut = 0;
    HANDLE watchdog = CreateThread(0, 0, LoopWatchdog, 0, 0, 0);
    RunMessageLoop();
    SetEvent(LoopFinished);
    WaitForSingleObject(watchdog, INFINITE);
    CloseHandle(watchdog);
    CloseHandle(LoopFinished);
    EXPECT_EQ(0, LoopTimedOut) << "the message loop did not end within " << LoopTimeLimitMs << " ms";
}

class EnterRule : public ::testing::Test {
protected:
    void SetUp() override
    {
        Commands.clear();
        MarkerSeen = 0;
        PageState = 0;
        WizardWindow = CreateDialogParamA(GetModuleHandleA(0), MAKEINTRESOURCEA(200), 0, RecordingDialogProc, 0);
        ASSERT_TRUE(WizardWindow);
        SetForegroundWindow(WizardWindow);
    }
    void TearDown() override
    {
        DestroyWindow(WizardWindow);
        WizardWindow = 0;
    }

    void PressEnterOn(int controlId, int stopOn)
    {
        HWND control = GetDlgItem(WizardWindow, controlId);
        SetFocus(control);
        ASSERT_EQ(control, GetFocus());
        // A radio button taking the focus reports a click of its own, as on
        // Windows (Wine 10 does too, Wine 8 did not): only what Enter does counts.
        Commands.clear();
        StopOnCommand = stopOn;
        PostMessageA(control, WM_KEYDOWN, VK_RETURN, 1);
        RunMessageLoopWithLimit();
        ASSERT_LT(PageState, 0) << "the loop ended without the expected command";
        DrainQueue();
    }

    // Whatever the loop left behind, dispatched as the dialog would get it.
    void DrainQueue()
    {
        MSG message;
        while (PeekMessageA(&message, 0, 0, 0, PM_REMOVE))
            if (!IsDialogMessageA(WizardWindow, &message))
                DispatchMessageA(&message);
    }
};

// The dialog manager still sees the key (it turns Enter into IDOK), and the
// loop posts Next.
TEST_F(EnterRule, EnterOnACheckBoxPostsNextAndReachesTheDialogManager)
{
    PressEnterOn(1004, 1001);
    EXPECT_EQ((std::vector<int>{ IDOK, 1001 }), Commands);
    EXPECT_EQ(BST_UNCHECKED, IsDlgButtonChecked(WizardWindow, 1004));
}

// Every check box, radio button and three-state style: the key acts as Next
// and still reaches the dialog manager.
TEST_F(EnterRule, EnterOnEveryToggleStyleActsAsNext)
{
    struct { int id; LONG style; } toggles[] = {
        { 1010, BS_CHECKBOX }, { 1004, BS_AUTOCHECKBOX }, { 1011, BS_RADIOBUTTON },
        { 1012, BS_3STATE }, { 1013, BS_AUTO3STATE }, { 1005, BS_AUTORADIOBUTTON },
    };
    for (const auto &toggle : toggles) {
        ASSERT_EQ(toggle.style, GetWindowLongA(GetDlgItem(WizardWindow, toggle.id), GWL_STYLE) & 0xF) << toggle.id;
        Commands.clear();
        PageState = 0;
        PressEnterOn(toggle.id, 1001);
        EXPECT_EQ((std::vector<int>{ IDOK, 1001 }), Commands) << "style " << toggle.style;
    }
}

TEST_F(EnterRule, EnterInAnEditBoxActsAsNext)
{
    PressEnterOn(1002, 1001);
    EXPECT_EQ((std::vector<int>{ IDOK, 1001 }), Commands);
}

// An owner-drawn push button gets its own command and the key goes no further.
TEST_F(EnterRule, EnterOnAFocusedPushButtonPostsItsIdOnly)
{
    PressEnterOn(3, 3);
    EXPECT_EQ((std::vector<int>{ 3 }), Commands);
}

TEST_F(EnterRule, EnterOnAPlainPushButtonPostsItsIdOnly)
{
    PressEnterOn(1020, 1020);
    EXPECT_EQ((std::vector<int>{ 1020 }), Commands);
}

TEST_F(EnterRule, OtherKeysAreLeftToTheDialog)
{
    MSG key = { GetDlgItem(WizardWindow, 1004), WM_KEYDOWN, VK_SPACE, 1, 0, { 0, 0 } };
    EXPECT_EQ(0, TranslateEnterKey(&key));
    MSG enterUp = { GetDlgItem(WizardWindow, 1004), WM_KEYUP, VK_RETURN, 1, 0, { 0, 0 } };
    EXPECT_EQ(0, TranslateEnterKey(&enterUp));
    DrainQueue();
    EXPECT_TRUE(Commands.empty());
}

TEST_F(EnterRule, NegativePageStateEndsTheLoopBeforeTheNextMessage)
{
    StopOnCommand = 2;
    PostMessageA(WizardWindow, WM_COMMAND, 2, 0);
    PostMessageA(WizardWindow, RecordMarker, 0, 0);
    RunMessageLoopWithLimit();
    EXPECT_EQ(-1, PageState);
    EXPECT_EQ(0, MarkerSeen);
    MSG left;
    EXPECT_TRUE(PeekMessageA(&left, WizardWindow, RecordMarker, RecordMarker, PM_NOREMOVE));
}
