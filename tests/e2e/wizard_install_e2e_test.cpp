// The real wizard's Install under Wine: the destination folder checks (full
// paths only, drive or server and share), the
// final message no earlier than five seconds after Install, the pointer brought
// to the wizard, and the program's end.
#include "e2e/wizard_e2e_support.h"
#include "support/test_paths.h"
#include "resources/resource_ids.h"
#include <commctrl.h>

const DWORD MinimumInstallMs = 5000;
const char SuccessEnglish[] = "Congratulations! Installation Success!";

class WizardInstall : public Wizard {
protected:
    // Starts the wizard with this destination and walks to the language page.
    void ReadyToInstall(const std::string &destination, const std::string &currentDir = std::string())
    {
        StartWizard(currentDir);
        SetControlText(run.wizard, ID_DESTINATION_EDIT, destination);
        GoToPage(3);
    }

    // A refused destination: its message, then page 3 as before, still usable.
    void ExpectRefused(const char *englishPart)
    {
        ClickControl(run.wizard, ID_NEXT_BUTTON);
        HWND message = WaitForMessage();
        ASSERT_TRUE(message) << "no message appeared";
        EXPECT_TRUE(MessageSays(message, englishPart)) << WindowTexts(message);
        CloseMessage(message);
        EXPECT_TRUE(OnPage(3));
        EXPECT_TRUE(IsControlShown(run.wizard, ID_NEXT_BUTTON));
        EXPECT_TRUE(IsControlShown(run.wizard, ID_CANCEL_BUTTON));
        ClickControl(run.wizard, ID_BACK_BUTTON);
        EXPECT_TRUE(WaitForControlShown(run.wizard, ID_ENGLISH_LICENCE_CHECK, 1, DriverTimeoutMs)) << "Back is dead";
        ClickControl(run.wizard, ID_CANCEL_BUTTON);
        EXPECT_EQ(0u, ExitCode());
    }

    HWND finalMessage = 0;

    // Install through to the final message, by a click or by Enter; returns
    // the milliseconds from the press to the message.
    DWORD InstallToFinalMessage(int byEnter = 0)
    {
        DWORD pressed = GetTickCount();
        if (byEnter)
            EXPECT_TRUE(PressKey(run.wizard, VK_RETURN));
        else
            ClickControl(run.wizard, ID_NEXT_BUTTON);
        finalMessage = WaitForMessage(DriverTimeoutMs + MinimumInstallMs);
        DWORD elapsed = GetTickCount() - pressed;
        EXPECT_TRUE(finalMessage) << "no final message";
        if (!finalMessage)
            return elapsed;
        EXPECT_TRUE(MessageSays(finalMessage, SuccessEnglish)) << WindowTexts(finalMessage);
        EXPECT_FALSE(IsControlShown(run.wizard, ID_NEXT_BUTTON));
        EXPECT_FALSE(IsControlShown(run.wizard, ID_BACK_BUTTON));
        EXPECT_FALSE(IsControlShown(run.wizard, ID_CANCEL_BUTTON));
        EXPECT_TRUE(IsControlShown(run.wizard, ID_PROGRESS_BAR)) << "the install showed no progress bar";
        DWORD_PTR position = 0;
        SendMessageTimeoutA(GetDlgItem(run.wizard, ID_PROGRESS_BAR), PBM_GETPOS, 0, 0, SMTO_ABORTIFHUNG,
                            DriverTimeoutMs, &position);
        EXPECT_EQ(100u, position) << "the progress bar did not reach its end";
        return elapsed;
    }

    void CloseFinalMessage(int byEnter = 0)
    {
        if (finalMessage && byEnter)
            EXPECT_TRUE(PressKey(finalMessage, VK_RETURN));
        else if (finalMessage)
            CloseMessage(finalMessage);
        EXPECT_EQ(0u, ExitCode());
    }
};

// A person who only presses Enter (and Space for the display answer) gets from
// the first page to Install and through the final message: every page starts
// with the focus where Enter goes on. A new folder is made with its "doc"
// folder; the final message comes never earlier than five seconds after Install.
// The folder is typed with a trailing blank, which goes as /D= drops it.
TEST_F(WizardInstall, EnterAloneInstallsIntoANewFolderWithItsDocFolder)
{
    std::string destination = MakeScratchDir("new_folder") + "\\Lumabook";
    StartWizard();
    SetControlText(run.wizard, ID_DESTINATION_EDIT, destination + " ");
    ASSERT_TRUE(WaitForFocus(run.wizard, ID_DESTINATION_EDIT));
    ASSERT_TRUE(PressKey(run.wizard, VK_RETURN));
    ASSERT_TRUE(WaitForControlShown(run.wizard, ID_DISPLAY_QUESTION_LABEL, 1, DriverTimeoutMs));
    ASSERT_TRUE(WaitForFocus(run.wizard, ID_DISPLAY_OK_CHECK)) << "the first answer has no focus";
    ASSERT_TRUE(PressKey(run.wizard, VK_SPACE));
    ASSERT_TRUE(WaitForCheck(run.wizard, ID_DISPLAY_OK_CHECK, 1));
    ASSERT_TRUE(PressKey(run.wizard, VK_RETURN));
    ASSERT_TRUE(WaitForControlShown(run.wizard, ID_ENGLISH_LICENCE_CHECK, 1, DriverTimeoutMs));
    ASSERT_TRUE(WaitForFocus(run.wizard, ID_NEXT_BUTTON)) << "Enter on the licence page would not go on";
    ASSERT_TRUE(PressKey(run.wizard, VK_RETURN));
    ASSERT_TRUE(WaitForControlShown(run.wizard, ID_LANGUAGE_COMBO, 1, DriverTimeoutMs)) << "Enter went back";
    ASSERT_TRUE(WaitForFocus(run.wizard, ID_LANGUAGE_COMBO));

    DWORD elapsed = InstallToFinalMessage(1);
    EXPECT_GE(elapsed, MinimumInstallMs) << "the final message came too early";
    EXPECT_TRUE(FolderExists(destination));
    EXPECT_TRUE(FolderExists(destination + "\\doc"));
    EXPECT_NE(INVALID_FILE_ATTRIBUTES, GetFileAttributesA((destination + "\\Lumabook.exe").c_str()));
    CloseFinalMessage(1);
}

// An existing folder is used as it is (no "doc" folder is made in it); the
// pointer, outside the wizard, is brought to its middle.
TEST_F(WizardInstall, ExistingFolderGetsNoDocFolderAndThePointerComesToTheWizard)
{
    std::string destination = MakeScratchDir("existing_folder");
    ReadyToInstall(destination);
    RECT rect;
    ASSERT_TRUE(GetWindowRect(run.wizard, &rect));
    SetCursorPos(rect.right + 40, rect.bottom + 40);
    InstallToFinalMessage();
    POINT pointer;
    ASSERT_TRUE(GetCursorPos(&pointer));
    EXPECT_EQ(rect.left + (rect.right - rect.left) / 2, pointer.x);
    EXPECT_EQ(rect.top + (rect.bottom - rect.top) / 2, pointer.y);
    EXPECT_FALSE(FolderExists(destination + "\\doc")) << "a doc folder was made in an existing folder";
    EXPECT_NE(INVALID_FILE_ATTRIBUTES, GetFileAttributesA((destination + "\\Lumabook.exe").c_str()))
        << "the product was not installed into the existing folder";
    CloseFinalMessage();
}

TEST_F(WizardInstall, FolderWithoutParentIsRefused)
{
    std::string parent = MakeScratchDir("no_parent") + "\\missing";
    ReadyToInstall(parent + "\\Lumabook");
    ExpectRefused("Cannot create folder! Please check folder path.");
    EXPECT_FALSE(FolderExists(parent));
}

// The destination, a backslash and "chars_by_frequency.txt~new" (26 bytes, the
// longest name the install writes, while it is written) must fit 259 bytes:
// 232 is the most.
TEST_F(WizardInstall, DestinationTooLongForTheInstallNamesIsRefused)
{
    std::string scratch = MakeScratchDir("long_path");
    std::string destination = scratch + "\\" + std::string(233 - scratch.size() - 1, 'L');
    ASSERT_EQ(233u, destination.size());
    ReadyToInstall(destination);
    ExpectRefused("Install path is too long.");
    EXPECT_FALSE(FolderExists(destination));
}

// A destination without its drive would be made inside whatever folder the
// program was started from, and its links would break elsewhere: refused.
TEST_F(WizardInstall, DestinationThatIsNotAFullPathIsRefused)
{
    std::string started = MakeScratchDir("relative_destination");
    ReadyToInstall("Lumabook", started);
    ExpectRefused("The install folder must be a full path, such as C:\\Lumabook.");
    EXPECT_FALSE(FolderExists(started + "\\Lumabook"));
}

// Windows would make "Luma " as "Luma" while the files inside kept the blank.
TEST_F(WizardInstall, FolderNameEndingInABlankAlongThePathIsRefused)
{
    std::string scratch = MakeScratchDir("blank_name");
    ReadyToInstall(scratch + "\\Luma \\book");
    ExpectRefused("A folder name in the install path cannot end in a blank or a dot.");
    EXPECT_FALSE(FolderExists(scratch + "\\Luma"));
}

// A server and share name a folder as fully as a drive does. Wine serves
// \\server\share from its prefix's dosdevices\unc folder, so the share is a
// folder made there.
TEST_F(WizardInstall, DestinationOnAServerShareIsAccepted)
{
    char prefix[MAX_PATH] = "";
    if (!GetEnvironmentVariableA("WINEPREFIX", prefix, sizeof(prefix)))
        GTEST_SKIP() << "no WINEPREFIX to find the unc folder in";
    std::string unc = "Z:" + std::string(prefix) + "/dosdevices/unc";
    for (char &c : unc)
        c = c == '/' ? '\\' : c;
    std::string share = unc + "\\lumabook-server\\share";
    CreateDirectoryA(unc.c_str(), 0);
    CreateDirectoryA((unc + "\\lumabook-server").c_str(), 0);
    CreateDirectoryA(share.c_str(), 0);
    RemoveTree(share + "\\Lumabook");
    ReadyToInstall("\\\\lumabook-server\\share\\Lumabook");
    InstallToFinalMessage();
    EXPECT_TRUE(FolderExists(share + "\\Lumabook\\doc"));
    EXPECT_NE(INVALID_FILE_ATTRIBUTES, GetFileAttributesA((share + "\\Lumabook\\Lumabook.exe").c_str()));
    CloseFinalMessage();
    RemoveTree(share + "\\Lumabook");
}
