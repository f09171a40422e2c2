// The program's one message loop, which also turns the Enter key into button commands.
#pragma once
#include <windows.h>

int TranslateEnterKey(const MSG *message);
// The command Enter sends while focus has the focus: a push button's own, else Next.
int EnterCommandFor(HWND focus);
void RunMessageLoop();
