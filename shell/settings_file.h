// The installed product's settings file "uiprefs.ini": the two answers of the wizard.
#pragma once

const int SettingsValueBytes = 16;

#include <stddef.h>

// The settings text with both answers written into it, in a block the caller
// frees; 0 when there is no memory for it.
char *EditedSettingsText(const char *bytes, size_t length, size_t *editedLength);
// 1 when the file was rewritten with both answers, else 0 with the Windows error.
int UpdateSettingsFile();
// The two keys of "[Config]" as the product reads them, each into 16 bytes;
// 1 when they hold the values the edit wrote.
int ReadBackSettings(char *font, char *language);
