// The command line's usage in the message dialog.
#pragma once

// Shows the usage; a reason (the refused argument) is put above it, in English
// with a Chinese line saying so.
void ShowUsageMessage(const char *reason);
