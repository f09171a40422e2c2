// What start-up learns about the system: the Windows version and its Chinese support.
#pragma once
#include <windows.h>

int ProbeWindowsVersion();
int IsMultiByteAnsiCodePage();
int ChineseVariantOf(int multiByteAnsiCodePage, LANGID systemLanguage);
int ProbeSystemChineseVariant();
