// The program's one message loop, which also turns the Enter key into button commands.
#pragma once
#include <windows.h>

int TranslateEnterKey(const MSG *message);
void RunMessageLoop();
