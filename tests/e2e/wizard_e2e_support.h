// What the wizard tests share: a started wizard, walking to a page, the message dialog.
#pragma once
#include "driver/setup_driver.h"
#include <gtest/gtest.h>
#include <string>

extern const char WizardCaption[];
extern const char MessageCaption[];
const int MessageOkId = 1;

class Wizard : public ::testing::Test {
protected:
    SetupRun run;

    void SetUp() override { ZeroMemory(&run, sizeof(run)); }
    void TearDown() override { EndSetup(&run); }

    // Starts the program in currentDir (empty: the driver's own).
    void StartWizard(const std::string &currentDir = std::string());
    // Walks from the first page with Next, answering the display question with OK.
    void GoToPage(int page);
    // The page's own controls are shown and the other pages' hidden; Back on pages 1 to 3 only.
    int OnPage(int page);
    HWND WaitForMessage(int timeoutMs = DriverTimeoutMs);
    // Presses the message's OK button and waits until the message is gone.
    void CloseMessage(HWND message);
    DWORD ExitCode();
    int StillRunning();
};

int MessageSays(HWND message, const char *part);
int WaitForCheck(HWND dialog, int id, int checked);
int FolderExists(const std::string &path);
