// The names screen readers read: a control's window text set to the caption the
// program draws for it. The painters never read these texts back; they draw
// from their own tables and bytes.
#include "wizard/control_names.h"
#include "glyphtext/owner_drawn.h"
#include "glyphtext/mixed_text.h"
#include "startup/shared_state.h"

const UINT GbCodePage = 936;      // GB2312, the captions' own bytes
const UINT Big5CodePage = 950;
const char MnemonicMark = '&';
const int MnemonicTextBytes = 256;

static int IsTwoByteLead(unsigned char c)
{
    return c >= 0x80;
}

static int IsLetterOrDigit(unsigned char c)
{
    return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9');
}

static unsigned char UpperCase(unsigned char c)
{
    return c >= 'a' && c <= 'z' ? (unsigned char)(c - 'a' + 'A') : c;
}

// The single-byte words of a mixed caption. The two-byte characters cut it into
// runs; a run with a letter or digit in it is kept without its outer blanks, the
// runs one blank apart. "同意/安装 Agree/Install" gives "Agree/Install",
// "正确(OK)" gives "(OK)", "安装程序" nothing.
static void EnglishAloneOf(const char *caption, char *name, int capacity)
{
    const unsigned char *p = (const unsigned char *)caption;
    int used = 0;
    while (*p) {
        if (IsTwoByteLead(*p)) {
            p += p[1] ? 2 : 1;
            continue;
        }
        const unsigned char *end = p;
        int hasWord = 0;
        for (; *end && !IsTwoByteLead(*end); end++)
            hasWord |= IsLetterOrDigit(*end);
        const unsigned char *start = p;
        p = end;
        if (!hasWord)
            continue;
        while (*start == ' ')
            start++;
        while (end[-1] == ' ')
            end--;
        if (used > 0 && used < capacity - 1)
            name[used++] = ' ';
        for (; start < end && used < capacity - 1; start++)
            name[used++] = (char)*start;
    }
    name[used] = 0;
}

// Through UTF-16: a character Big5 lacks (most simplified ones) comes out as
// the default character, and then the caption has no Big5 form.
static int Big5NameOf(const char *caption, char *name, int capacity)
{
    WCHAR wide[ControlNameBytes];
    int units = MultiByteToWideChar(GbCodePage, 0, caption, -1, wide, ControlNameBytes);
    if (units <= 0)
        return 0;
    BOOL usedDefault = FALSE;
    int bytes = WideCharToMultiByte(Big5CodePage, 0, wide, units, name, capacity, 0, &usedDefault);
    return bytes > 0 && !usedDefault;
}

void AnsiNameOf(const char *caption, UINT codePage, char *name, int capacity)
{
    if (codePage == GbCodePage) {
        CopyMixedText(name, caption, capacity - 1);
        return;
    }
    if (codePage == Big5CodePage && Big5NameOf(caption, name, capacity))
        return;
    EnglishAloneOf(caption, name, capacity);
}

// GB2312 becomes UTF-16 through code page 936 where the system has that code
// page (a Western NT may lack it), else the name is the English alone.
static void WideNameOf(const char *caption, WCHAR *wide, int units)
{
    char source[ControlNameBytes];
    int hasGb = IsValidCodePage(GbCodePage);
    if (hasGb)
        CopyMixedText(source, caption, units - 1);   // a byte gives at most one unit
    else
        EnglishAloneOf(caption, source, units);
    if (!MultiByteToWideChar(hasGb ? GbCodePage : CP_ACP, 0, source, -1, wide, units))
        wide[0] = 0;
}

// Windows NT keeps every window and item text in UTF-16 and passes an ANSI
// text through the system's code page, which turns GB2312 bytes into other
// characters: the name is made UTF-16 here and given with the wide message.
// Windows 95, 98 and Me keep the ANSI bytes, which a screen reader reads in the
// system's code page: the name is what that code page can show.
static LRESULT SendNameMessage(HWND control, UINT message, WPARAM wParam, const char *name)
{
    if (IsNtPlatform) {
        WCHAR wide[ControlNameBytes];
        WideNameOf(name, wide, ControlNameBytes);
        return SendMessageW(control, message, wParam, (LPARAM)wide);
    }
    char ansi[ControlNameBytes];
    AnsiNameOf(name, GetACP(), ansi, ControlNameBytes);
    return SendMessageA(control, message, wParam, (LPARAM)ansi);
}

// The letter after a single '&' in the control's text; 0 when it marks none.
// The mark and the letter are ASCII, which every code page gives back as is.
static unsigned char KeptMnemonic(HWND control)
{
    char text[MnemonicTextBytes];
    if (!GetWindowTextA(control, text, sizeof(text)))
        return 0;
    for (const char *p = text; *p; p = CharNextA(p)) {
        if (*p != MnemonicMark)
            continue;
        if (p[1] != MnemonicMark)
            return (unsigned char)p[1];
        p++;   // "&&" is a plain ampersand
    }
    return 0;
}

// A button shows '&' as a mnemonic mark, so the caption's own ampersands are
// doubled and the kept mnemonic marks its letter's first single-byte occurrence.
static void MarkedName(const char *caption, unsigned char mnemonic, char *name, int capacity)
{
    const unsigned char *p = (const unsigned char *)caption;
    int used = 0;
    while (*p && used < capacity - 3) {
        if (IsTwoByteLead(*p) && p[1]) {
            name[used++] = (char)*p++;
            name[used++] = (char)*p++;
            continue;
        }
        if (*p == MnemonicMark || (mnemonic && UpperCase(*p) == UpperCase(mnemonic))) {
            name[used++] = MnemonicMark;
            if (*p != MnemonicMark)
                mnemonic = 0;
        }
        name[used++] = (char)*p++;
    }
    name[used] = 0;
}

void NameControl(HWND control, const char *caption)
{
    if (!control || !caption)
        return;
    char name[ControlNameBytes];
    MarkedName(caption, KeptMnemonic(control), name, ControlNameBytes);
    SendNameMessage(control, WM_SETTEXT, 0, name);
}

void NameOwnerDrawnControls(HWND dialog, const int *ids, int count)
{
    for (int i = 0; i < count; i++)
        NameControl(GetDlgItem(dialog, ids[i]), OwnerButtonCaption(ids[i]));
}

// Through an ANSI window procedure NT would also hand the name to a reader in
// the system's code page, so on NT a named control is subclassed with the wide
// call; other systems have only the ANSI one.
LONG_PTR SubclassNamedControl(HWND control, WNDPROC procedure)
{
    if (IsNtPlatform)
        return SetWindowLongPtrW(control, GWLP_WNDPROC, (LONG_PTR)procedure);
    return SetWindowLongPtrA(control, GWLP_WNDPROC, (LONG_PTR)procedure);
}

LRESULT AddNamedItem(HWND list, UINT message, WPARAM wParam, const char *caption)
{
    return SendNameMessage(list, message, wParam, caption);
}
