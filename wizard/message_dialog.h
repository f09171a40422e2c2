// The bilingual message dialog through which every message reaches the user.
#pragma once
#include <windows.h>

const int MessageStyleOk = 0;
const int MessageStyleYesNo = 4;

INT_PTR ShowMessageDialog(const char *chineseText, const char *englishText, int style, HWND owner);
