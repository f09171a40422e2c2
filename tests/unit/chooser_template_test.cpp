// The folder chooser's dialog template as the resource compiler stored it in the
// built program: a plain (not extended) template whose controls carry the ids
// the old-style open-file dialog looks for, the file-related ones hidden.
#include "support/test_paths.h"
#include "support/template_reader.h"
#include <gtest/gtest.h>
#include <string>
#include <vector>

struct ChooserControl {
    int id;
    std::wstring kind;  // class name, or "#128" ... for the predefined classes
    DWORD style;
    short x, y, cx, cy;
    std::wstring text;
};

class ChooserTemplate : public ::testing::Test {
protected:
    static DWORD style;
    static WORD firstWord, secondWord;
    static short x, y, cx, cy;
    static std::wstring caption, font;
    static WORD pointSize;
    static std::vector<ChooserControl> controls;

    static void SetUpTestSuite()
    {
        HMODULE setup = LoadSetupAsData();
        ASSERT_TRUE(setup);
        HRSRC found = FindResourceA(setup, MAKEINTRESOURCEA(168), (LPCSTR)RT_DIALOG);
        ASSERT_TRUE(found) << "no dialog template 168";
        TemplateReader r = { (const BYTE *)LockResource(LoadResource(setup, found)) };
        style = r.Dword();
        firstWord = (WORD)style;
        secondWord = (WORD)(style >> 16);
        r.Dword();                        // extended style
        WORD count = r.Word();
        x = r.Word(); y = r.Word(); cx = r.Word(); cy = r.Word();
        r.SzOrOrd();                      // menu
        r.SzOrOrd();                      // class
        caption = r.SzOrOrd();
        if (style & DS_SETFONT) {
            pointSize = r.Word();
            font = r.SzOrOrd();
        }
        for (int i = 0; i < count; i++) {
            r.Align();
            ChooserControl c;
            c.style = r.Dword();
            r.Dword();                    // extended style
            c.x = r.Word(); c.y = r.Word(); c.cx = r.Word(); c.cy = r.Word();
            c.id = r.Word();
            c.kind = r.SzOrOrd();
            c.text = r.SzOrOrd();
            r.p += r.Word();              // creation data
            controls.push_back(c);
        }
        FreeLibrary(setup);
    }
};

DWORD ChooserTemplate::style;
WORD ChooserTemplate::firstWord, ChooserTemplate::secondWord;
short ChooserTemplate::x, ChooserTemplate::y, ChooserTemplate::cx, ChooserTemplate::cy;
std::wstring ChooserTemplate::caption, ChooserTemplate::font;
WORD ChooserTemplate::pointSize;
std::vector<ChooserControl> ChooserTemplate::controls;

// An extended template starts with the words 1, 0xFFFF; the common dialog's
// old style takes the plain form.
TEST_F(ChooserTemplate, PlainDialogWithItsCaptionFontAndFrame)
{
    EXPECT_FALSE(firstWord == 1 && secondWord == 0xFFFF) << "an extended template";
    EXPECT_EQ(L"Choose Destination Directory", caption);
    EXPECT_EQ(L"Helv", font);
    EXPECT_EQ(8, pointSize);
    EXPECT_EQ(36, x); EXPECT_EQ(24, y); EXPECT_EQ(258, cx); EXPECT_EQ(182, cy);
    const DWORD frame = WS_POPUP | WS_CAPTION | WS_SYSMENU | DS_MODALFRAME | DS_3DLOOK;
    EXPECT_EQ(frame, style & (frame | WS_CHILD | WS_VISIBLE));
}

static std::wstring ClassOf(const std::wstring &kind)
{
    static const wchar_t *atoms[] = { L"BUTTON", L"EDIT", L"STATIC", L"LISTBOX", L"SCROLLBAR", L"COMBOBOX" };
    if (kind.size() > 1 && kind[0] == L'#') {
        int atom = _wtoi(kind.c_str() + 1);
        if (atom >= 0x80 && atom <= 0x85)
            return atoms[atom - 0x80];
    }
    std::wstring upper = kind;
    for (wchar_t &ch : upper)
        ch = (wchar_t)towupper(ch);
    return upper;
}

static const wchar_t Button[] = L"BUTTON", Edit[] = L"EDIT", Static[] = L"STATIC",
                     ListBox[] = L"LISTBOX", ComboBox[] = L"COMBOBOX";
const DWORD Shown = WS_VISIBLE;
const DWORD OwnerLabel = BS_OWNERDRAW | WS_DISABLED;
// The style bits the table fixes; the compiler adds WS_CHILD.
const DWORD CheckedBits = 0xFFFF | WS_VISIBLE | WS_DISABLED | WS_TABSTOP | WS_GROUP | WS_BORDER | WS_VSCROLL | WS_HSCROLL;

TEST_F(ChooserTemplate, ControlsInOrderWithTheirStylesRectsAndTexts)
{
    struct { int id; const wchar_t *kind; DWORD style; short x, y, cx, cy; const wchar_t *text; } expected[] = {
        { 1090, Static, SS_LEFT, 169, 103, 68, 9, L"File &Name:" },
        { 1152, Edit, ES_AUTOHSCROLL | ES_OEMCONVERT | WS_BORDER | WS_TABSTOP, 168, 99, 68, 12, L"" },
        { 1120, ListBox, 0, 168, 89, 68, 17, L"" },
        { 1088, Static, SS_NOPREFIX | Shown, 13, 23, 92, 9, L"" },
        { 1121, ListBox, LBS_OWNERDRAWFIXED | LBS_HASSTRINGS | LBS_SORT | LBS_NOTIFY | LBS_DISABLENOSCROLL
                         | WS_BORDER | WS_VSCROLL | WS_TABSTOP | Shown, 12, 36, 126, 129, L"" },
        { 1089, Static, SS_LEFT, 167, 91, 68, 9, L"List Files of &Type:" },
        { 1136, ComboBox, 0, 167, 100, 68, 36, L"" },
        { 1091, Static, SS_LEFT, 158, 133, 64, 8, L"Dri&ves:" },
        { 1137, ComboBox, CBS_DROPDOWNLIST | CBS_OWNERDRAWFIXED | CBS_HASSTRINGS | CBS_SORT | CBS_AUTOHSCROLL
                          | WS_BORDER | WS_VSCROLL | WS_TABSTOP | Shown, 158, 142, 77, 68, L"" },
        { 1, Button, BS_DEFPUSHBUTTON | WS_GROUP | WS_TABSTOP | Shown, 160, 36, 76, 16, L"&OK" },
        { 2, Button, BS_PUSHBUTTON | WS_GROUP | WS_TABSTOP | Shown, 160, 64, 76, 16, L"Cancel" },
        { 1038, Button, BS_PUSHBUTTON, 177, 97, 50, 14, L"&Help" },
        { 1040, Button, BS_AUTOCHECKBOX, 179, 88, 50, 12, L"&Read Only" },
        { 1008, Button, OwnerLabel | Shown, 14, 3, 119, 16, L"" },
        { 1010, Button, OwnerLabel | Shown, 158, 124, 77, 16, L"" },
        { 65535, Static, SS_LEFT, 13, 8, 92, 9, L"&Directories:" },
    };
    ASSERT_EQ(sizeof(expected) / sizeof(expected[0]), controls.size());
    for (size_t i = 0; i < controls.size(); i++) {
        const ChooserControl &c = controls[i];
        const auto &e = expected[i];
        EXPECT_EQ(e.id, c.id) << "control " << i;
        EXPECT_EQ(std::wstring(e.kind), ClassOf(c.kind)) << e.id;
        EXPECT_EQ(e.style, c.style & CheckedBits) << e.id << std::hex << " style " << c.style;
        EXPECT_EQ(e.x, c.x) << e.id;
        EXPECT_EQ(e.y, c.y) << e.id;
        EXPECT_EQ(e.cx, c.cx) << e.id;
        EXPECT_EQ(e.cy, c.cy) << e.id;
        EXPECT_EQ(std::wstring(e.text), c.text) << e.id;
    }
}
