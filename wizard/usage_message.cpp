// The command line's usage in the message dialog, below the reason a command
// line was refused when there is one.
#include "wizard/usage_message.h"
#include "wizard/message_dialog.h"
#include "wizard/message_texts.h"
#include <stdio.h>

const int UsageTextBytes = 2048;

void ShowUsageMessage(const char *reason)
{
    if (!reason || !reason[0]) {
        ShowMessageLines(UsageChinese, UsageEnglish, 0);
        return;
    }
    char chinese[UsageTextBytes];
    char english[UsageTextBytes];
    snprintf(chinese, sizeof(chinese), "%s\n\n%s", BadCommandLineChinese, UsageChinese);
    snprintf(english, sizeof(english), "%s\n\n%s", reason, UsageEnglish);
    ShowMessageLines(chinese, english, 0);
}
