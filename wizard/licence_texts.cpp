// The licence texts, inflated from the payload store on the first display of the
// licence page. The Chinese lines are painted from the program's own copy of
// them (each list item's data points at its line), never read back from the
// list, whose copy passes through the system's code page.
#include "wizard/licence_texts.h"
#include "wizard/message_dialog.h"
#include "wizard/message_texts.h"
#include "wizard/control_names.h"
#include "install/payload_store.h"
#include "startup/shared_state.h"
#include "resources/resource_ids.h"
#include <stdlib.h>
#include <string.h>

const char CarriageReturn = 13;
const char LineFeed = 10;

int LicenceTextsLoaded;

// The program's own copy of the Chinese licence, cut into lines; kept for the
// whole run because the list items point into it.
static char *LicenceLineBytes;

int SplitLicenceLines(char *text, unsigned long length, const char **lines, int maxLines)
{
    int count = 0;
    unsigned long start = 0;
    for (unsigned long i = 0; i < length && count < maxLines; i++) {
        if (text[i] != CarriageReturn)
            continue;
        text[i] = 0;
        lines[count++] = text + start;
        if (i + 1 < length && text[i + 1] == LineFeed)
            i++;
        start = i + 1;
    }
    return count;
}

void FreeLicenceLines()
{
    free(LicenceLineBytes);
    LicenceLineBytes = 0;
}

// A text inflates into buffer with room left for the zero byte stored after it.
static int InflateLicence(int resourceId, unsigned char *buffer, unsigned long *length)
{
    *length = LicenceBufferBytes - 1;
    if (!InflatePayloadEntry(AppInstance, resourceId, buffer, length))
        return 0;
    buffer[*length] = 0;
    return 1;
}

// The list is emptied first, so a second attempt after a failed one adds no line twice.
static int FillChineseLicence(HWND window, const unsigned char *inflated, unsigned long length)
{
    HWND list = GetDlgItem(window, ID_CHINESE_LICENCE_LIST);
    SendMessageA(list, LB_RESETCONTENT, 0, 0);
    FreeLicenceLines();
    LicenceLineBytes = (char *)malloc(length + 1);
    if (!LicenceLineBytes)
        return 0;
    memcpy(LicenceLineBytes, inflated, length + 1);
    static const char *lines[LicenceLineLimit];
    int count = SplitLicenceLines(LicenceLineBytes, length, lines, LicenceLineLimit);
    for (int i = 0; i < count; i++) {
        LRESULT item = AddNamedItem(list, LB_ADDSTRING, 0, lines[i]);
        if (item >= 0)
            SendMessageA(list, LB_SETITEMDATA, (WPARAM)item, (LPARAM)lines[i]);
    }
    return 1;
}

static void ReportMemoryShort()
{
    ShowMessageDialog(MemoryShortMessage.Chinese, MemoryShortMessage.English, MessageStyleOk, WizardWindow);
}

int LoadLicenceTexts(HWND window)
{
    unsigned char *buffer = (unsigned char *)malloc(LicenceBufferBytes);
    if (!buffer) {
        ReportMemoryShort();
        return 0;
    }
    unsigned long length;
    int loaded = InflateLicence(ID_CHINESE_LICENCE_TEXT, buffer, &length);
    if (loaded && !FillChineseLicence(window, buffer, length)) {
        ReportMemoryShort();
        loaded = 0;
    }
    if (loaded)
        loaded = InflateLicence(ID_ENGLISH_LICENCE_TEXT, buffer, &length);
    if (loaded)
        SetDlgItemTextA(window, ID_ENGLISH_LICENCE_EDIT, (const char *)buffer);
    free(buffer);
    return loaded;
}
