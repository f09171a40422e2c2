// The wizard keeps answering while the install runs on the program's one
// thread: it repaints, can be moved and answers the system at once, and takes
// no input, since its pages and buttons have nothing to offer until the end.
#pragma once
#include <windows.h>

// From here on the install's pulse reads the wizard's messages.
void BeginAnswering(HWND wizard);
// Reads every waiting message, dropping keys and clicks meant for the wizard.
void ReadWizardMessages();
// Waits, answering, until minimumMs have passed since startTicks.
void WaitAnswering(DWORD startTicks, DWORD minimumMs);
// The pulse stops; a quit message read on the way is posted again.
void EndAnswering();
