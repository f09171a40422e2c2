// The wizard tests' shared steps: start the program, walk its pages, answer its messages.
#include "e2e/wizard_e2e_support.h"
#include "support/test_paths.h"
#include "resources/resource_ids.h"

const char WizardCaption[] = "Lumabook Installer";
const char MessageCaption[] = "Lumabook Install Message";

// A control that only its page shows.
static const int PageMarks[] = { ID_DESTINATION_EDIT, ID_DISPLAY_QUESTION_LABEL, ID_ENGLISH_LICENCE_CHECK,
                                 ID_LANGUAGE_COMBO };

void Wizard::StartWizard(const std::string &currentDir)
{
    ASSERT_TRUE(StartSetupIn(&run, SetupExePath(), currentDir));
    run.wizard = WaitForProcessWindow(run.process.dwProcessId, WizardCaption, DriverTimeoutMs);
    ASSERT_TRUE(run.wizard) << "no wizard window appeared";
}

static int ShowsPage(HWND wizard, int page)
{
    for (int p = 0; p < 4; p++)
        if (IsControlShown(wizard, PageMarks[p]) != (p == page))
            return 0;
    return IsControlShown(wizard, ID_BACK_BUTTON) == (page != 0);
}

// A page switch shows and hides one control after the other, so this waits
// for the settled state.
int Wizard::OnPage(int page)
{
    for (int waited = 0; waited < DriverTimeoutMs; waited += 20) {
        if (ShowsPage(run.wizard, page))
            return 1;
        Sleep(20);
    }
    return 0;
}

void Wizard::GoToPage(int page)
{
    for (int p = 1; p <= page; p++) {
        if (p == 2) {
            PressButton(run.wizard, ID_DISPLAY_OK_CHECK);
            ASSERT_TRUE(WaitForCheck(run.wizard, ID_DISPLAY_OK_CHECK, 1));
        }
        ClickControl(run.wizard, ID_NEXT_BUTTON);
        ASSERT_TRUE(WaitForControlShown(run.wizard, PageMarks[p], 1, DriverTimeoutMs)) << "page " << p;
    }
    ASSERT_TRUE(OnPage(page));
}

HWND Wizard::WaitForMessage(int timeoutMs)
{
    return WaitForProcessWindow(run.process.dwProcessId, MessageCaption, timeoutMs);
}

// The message window shows before its texts are all set.
int MessageSays(HWND message, const char *part)
{
    for (int waited = 0; waited < DriverTimeoutMs; waited += 20) {
        if (WindowTexts(message).find(part) != std::string::npos)
            return 1;
        Sleep(20);
    }
    return 0;
}

void Wizard::CloseMessage(HWND message)
{
    PostMessageA(message, WM_COMMAND, MAKEWPARAM(MessageOkId, BN_CLICKED), (LPARAM)GetDlgItem(message, MessageOkId));
    for (int waited = 0; waited < DriverTimeoutMs && IsWindow(message); waited += 20)
        Sleep(20);
    EXPECT_FALSE(IsWindow(message)) << "the message stayed open";
}

DWORD Wizard::ExitCode()
{
    DWORD code = 12345;
    EXPECT_TRUE(WaitForExit(&run, DriverTimeoutMs, &code)) << "the program did not end";
    return code;
}

int Wizard::StillRunning()
{
    DWORD code;
    return !WaitForExit(&run, 0, &code);
}

int WaitForCheck(HWND dialog, int id, int checked)
{
    for (int waited = 0; waited < DriverTimeoutMs; waited += 20) {
        if (IsControlChecked(dialog, id) == checked)
            return 1;
        Sleep(20);
    }
    return 0;
}

int FolderExists(const std::string &path)
{
    DWORD attributes = GetFileAttributesA(path.c_str());
    return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY);
}
