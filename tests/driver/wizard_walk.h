// Walks the real setup program's wizard from its first page to Install, and
// reads and answers the messages it shows afterwards.
#pragma once
#include "driver/setup_driver.h"
#include <string>

struct WizardAnswers {
    std::string destination;   // empty keeps the proposed folder
    int desktopIcon;           // the state of "Place an icon on Desktop"
    int displayOk;             // 1 answers "正确(OK)", 0 "不正确(NO)"
    int language;              // item data of the language picked: 0 English, 1 simplified, 2 traditional
};

const int InstallTimeoutMs = 120000;

WizardAnswers DefaultAnswers();
// Each page is captured into screenshotDir (page0.png ... page3.png) when it is not empty.
int WalkWizardToInstall(SetupRun *run, const WizardAnswers &answers, const std::string &screenshotDir,
                        std::string *failure);
// The next window of the program besides the wizard (a question or a message),
// with the texts of it and its controls; 0 when none appears in time.
HWND WaitForMessageWindow(SetupRun *run, int timeoutMs, std::string *texts);
void AnswerMessageWindow(HWND window, int buttonId);
// The keys a person answers a message with.
enum MessageKeys { PressEnter, PressTabThenEnter, PressEsc };
int AnswerMessageByKeys(HWND window, MessageKeys keys);
int WaitUntilWindowGone(HWND window, int timeoutMs);
