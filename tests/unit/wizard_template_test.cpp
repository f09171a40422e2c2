// The wizard's dialog template as the resource compiler stored it in the built
// program: every control with its id, class, style, rectangle and visibility.
#include "resources/resource_ids.h"
#include "wizard/wizard_dialog.h"
#include "wizard/late_controls.h"
#include "support/test_paths.h"
#include "support/template_reader.h"
#include <gtest/gtest.h>
#include <commctrl.h>
#include <string>
#include <vector>

struct TemplateControl {
    int id;
    std::string kind;   // class name, or "#128" ... for the predefined classes
    DWORD style, exStyle;
    short x, y, cx, cy;
    std::wstring text;
};

static std::string Narrow(const std::wstring &s)
{
    return std::string(s.begin(), s.end());
}

static std::vector<TemplateControl> controls;

class WizardTemplate : public ::testing::Test {
protected:
    static DWORD style;
    static short x, y, cx, cy;
    static std::wstring caption, font;
    static WORD pointSize;
    static std::vector<BYTE> bytes;      // the template as stored
    static size_t pointSizeOffset;

    static void SetUpTestSuite()
    {
        HMODULE setup = LoadSetupAsData();
        ASSERT_TRUE(setup);
        HRSRC found = FindResourceA(setup, MAKEINTRESOURCEA(ID_WIZARD_DIALOG), (LPCSTR)RT_DIALOG);
        ASSERT_TRUE(found);
        const BYTE *stored = (const BYTE *)LockResource(LoadResource(setup, found));
        bytes.assign(stored, stored + SizeofResource(setup, found));
        TemplateReader r = { stored };
        ASSERT_EQ(1, r.Word());
        ASSERT_EQ(0xFFFF, r.Word());     // an extended template
        r.Dword();                        // help id
        r.Dword();                        // extended style
        style = r.Dword();
        WORD count = r.Word();
        x = r.Word(); y = r.Word(); cx = r.Word(); cy = r.Word();
        r.SzOrOrd();                      // menu
        r.SzOrOrd();                      // class
        caption = r.SzOrOrd();
        pointSizeOffset = r.p - stored;
        pointSize = r.Word();
        r.Word(); r.Word();               // weight, italic and character set
        font = r.SzOrOrd();
        for (int i = 0; i < count; i++) {
            r.Align();
            TemplateControl c;
            r.Dword();
            c.exStyle = r.Dword();
            c.style = r.Dword();
            c.x = r.Word(); c.y = r.Word(); c.cx = r.Word(); c.cy = r.Word();
            c.id = (int)r.Dword();
            c.kind = Narrow(r.SzOrOrd());
            c.text = r.SzOrOrd();
            r.p += r.Word();              // creation data
            controls.push_back(c);
        }
        FreeLibrary(setup);
    }
};

DWORD WizardTemplate::style;
short WizardTemplate::x, WizardTemplate::y, WizardTemplate::cx, WizardTemplate::cy;
std::wstring WizardTemplate::caption, WizardTemplate::font;
WORD WizardTemplate::pointSize;
std::vector<BYTE> WizardTemplate::bytes;
size_t WizardTemplate::pointSizeOffset;

TEST_F(WizardTemplate, DialogFrame)
{
    EXPECT_EQ(L"Lumabook Installer", caption);
    EXPECT_EQ(L"MS Sans Serif", font);
    EXPECT_EQ(8, pointSize);
    EXPECT_EQ(30, x); EXPECT_EQ(14, y); EXPECT_EQ(445, cx); EXPECT_EQ(210, cy);
    const DWORD frame = WS_POPUP | WS_VISIBLE | WS_CAPTION | WS_SYSMENU | DS_MODALFRAME | DS_3DLOOK;
    EXPECT_EQ(frame, style & frame);
}

// Predefined classes may be stored by atom or by name; both name the same class.
static const char Button[] = "BUTTON", Edit[] = "EDIT", Static[] = "STATIC", ListBox[] = "LISTBOX", ComboBox[] = "COMBOBOX";

static std::string ClassName(const std::string &kind)
{
    static const char *atoms[] = { "BUTTON", "EDIT", "STATIC", "LISTBOX", "SCROLLBAR", "COMBOBOX" };
    if (kind.size() > 1 && kind[0] == '#') {
        int atom = atoi(kind.c_str() + 1);
        if (atom >= 0x80 && atom <= 0x85)
            return atoms[atom - 0x80];
    }
    std::string upper = kind;
    for (char &ch : upper)
        ch = (char)toupper((unsigned char)ch);
    return upper;
}
const DWORD OwnerButton = BS_OWNERDRAW | WS_TABSTOP;
const DWORD OwnerLabel = BS_OWNERDRAW | WS_DISABLED;
const DWORD Shown = WS_VISIBLE;
// The style bits the table fixes; the compiler adds WS_CHILD and the dialog keeps the rest.
const DWORD CheckedBits = 0xFFFF | WS_VISIBLE | WS_DISABLED | WS_TABSTOP | WS_BORDER | WS_VSCROLL | WS_HSCROLL;

TEST_F(WizardTemplate, ControlsInTabOrderWithTheirStylesAndRects)
{
    struct { int id; const char *kind; DWORD style; short x, y, cx, cy; } expected[] = {
        { 1002, Edit, ES_AUTOHSCROLL | WS_BORDER | WS_TABSTOP | Shown, 164, 43, 169, 12 },
        { 1010, Button, BS_AUTOCHECKBOX | BS_NOTIFY | WS_TABSTOP, 157, 140, 82, 16 },
        { 1019, ListBox, LBS_OWNERDRAWFIXED | LBS_HASSTRINGS | LBS_NOSEL | LBS_NOTIFY | WS_BORDER | WS_VSCROLL | WS_HSCROLL | WS_TABSTOP, 126, 6, 315, 131 },
        { 1003, Button, OwnerButton | Shown, 335, 42, 76, 16 },
        { 1004, Button, BS_AUTOCHECKBOX | BS_NOTIFY | WS_TABSTOP | Shown, 164, 86, 220, 16 },
        { 1006, Button, OwnerLabel | Shown, 164, 24, 198, 16 },
        { 1014, Edit, ES_MULTILINE | ES_READONLY | WS_BORDER | WS_VSCROLL | WS_TABSTOP, 138, 10, 291, 125 },
        { 3, Button, OwnerButton | Shown, 155, 164, 68, 16 },
        { 1001, Button, OwnerButton | Shown, 231, 164, 106, 16 },
        { 2, Button, OwnerButton | Shown, 345, 164, 68, 16 },
        { 167, Static, SS_CENTER | Shown, 6, 124, 111, 8 },
        { 102, Static, SS_ICON | Shown, 48, 16, 20, 20 },
        { 108, Static, WS_BORDER | Shown, 122, 14, 1, 178 },
        { 169, Static, SS_CENTER | Shown, 6, 136, 111, 8 },
        { 1009, Button, OwnerLabel | Shown, 6, 59, 111, 16 },
        { 1011, Button, OwnerLabel | Shown, 6, 77, 111, 16 },
        { 1012, Button, OwnerLabel | Shown, 6, 95, 111, 16 },
        { 1015, Button, BS_GROUPBOX, 159, 10, 242, 62 },
        { 1017, Button, OwnerLabel, 165, 80, 230, 16 },
        { 1018, Button, OwnerLabel, 174, 22, 210, 27 },
        { 1007, Button, BS_AUTOCHECKBOX | BS_NOTIFY | WS_TABSTOP, 179, 102, 220, 16 },
        { 1008, Button, BS_AUTOCHECKBOX | BS_NOTIFY | WS_TABSTOP, 179, 118, 220, 16 },
        { 1030, Button, OwnerLabel, 155, 80, 230, 16 },
        { 1020, Button, OwnerLabel | Shown, 6, 157, 111, 16 },
        { 172, Static, SS_CENTER | Shown, 14, 199, 79, 8 },
        { 1021, Button, OwnerLabel, 139, 162, 181, 16 },
    };
    ASSERT_EQ(sizeof(expected) / sizeof(expected[0]), controls.size());
    for (size_t i = 0; i < controls.size(); i++) {
        const TemplateControl &c = controls[i];
        const auto &e = expected[i];
        EXPECT_EQ(e.id, c.id) << "control " << i;
        EXPECT_EQ(ClassName(e.kind), ClassName(c.kind)) << e.id;
        EXPECT_EQ(e.style, c.style & CheckedBits) << e.id << std::hex << " style " << c.style;
        EXPECT_EQ(e.x, c.x) << e.id;
        EXPECT_EQ(e.y, c.y) << e.id;
        EXPECT_EQ(e.cx, c.cx) << e.id;
        EXPECT_EQ(e.cy, c.cy) << e.id;
    }
}

// Mnemonics come from the window texts; the panel icon names its icon resource.
static const TemplateControl *ControlOf(int id)
{
    for (const TemplateControl &c : controls)
        if (c.id == id)
            return &c;
    static TemplateControl none;
    return &none;
}

TEST_F(WizardTemplate, WindowTextsAndExtendedStyles)
{
    EXPECT_EQ(L"&Back", ControlOf(ID_BACK_BUTTON)->text);
    EXPECT_EQ(L"\u5B89\u88C5 Install", ControlOf(ID_NEXT_BUTTON)->text);         // 安装 Install
    EXPECT_EQ(L"\u53D6\u6D88 Cancel", ControlOf(ID_CANCEL_BUTTON)->text);        // 取消 Cancel
    EXPECT_EQ(L"\u6539\u53D8 Browse ....", ControlOf(ID_BROWSE_BUTTON)->text);   // 改变 Browse ....
    EXPECT_EQ(L"English", ControlOf(ID_ENGLISH_LICENCE_CHECK)->text);
    EXPECT_EQ(L"#105", ControlOf(ID_PANEL_ICON_CONTROL)->text);
    EXPECT_EQ((DWORD)(WS_EX_DLGMODALFRAME | WS_EX_CLIENTEDGE), ControlOf(ID_PANEL_ICON_CONTROL)->exStyle);
    EXPECT_EQ((DWORD)(WS_EX_STATICEDGE | WS_EX_CLIENTEDGE), ControlOf(ID_DIVIDER)->exStyle);
}

static HWND CreateHiddenWizard(HMODULE setup, const std::vector<BYTE> &stored)
{
    std::vector<BYTE> copy = stored;
    *(DWORD *)(copy.data() + 12) &= ~WS_VISIBLE;     // the style word of an extended template
    return CreateDialogIndirectParamA(setup, (LPCDLGTEMPLATEA)copy.data(), 0, WizardDialogProc, 0);
}

// The language list and the progress bar are no controls of the template: the
// language page and Install make them, hidden, where these template rows would
// put them (the dialog manager converts each field alone: x and width in
// quarters of the base unit, y and height in eighths), with the dialog's font,
// in the same control order.
TEST_F(WizardTemplate, LateControlsAreMadeWhereTheirTemplateRowsWouldBe)
{
    struct { int id; const char *kind; DWORD style; short x, y, cx, cy; int before, after; HWND (*make)(HWND); } rows[] = {
        { 1031, ComboBox, CBS_DROPDOWNLIST | CBS_OWNERDRAWFIXED | CBS_HASSTRINGS | CBS_AUTOHSCROLL | WS_BORDER | WS_VSCROLL | WS_TABSTOP,
          170, 62, 228, 136, ID_LANGUAGE_LABEL, ID_PANEL_BLANK_LABEL,
          [](HWND wizard) { CreateLanguageList(wizard); return GetDlgItem(wizard, ID_LANGUAGE_COMBO); } },
        { 1026, PROGRESS_CLASSA, WS_BORDER | PBS_SMOOTH, 139, 183, 294, 14, ID_WEB_ADDRESS_LABEL, ID_UNUSED_LABEL,
          CreateProgressBar },
    };
    HMODULE setup = LoadSetupAsData();
    ASSERT_TRUE(setup);
    HWND wizard = CreateHiddenWizard(setup, bytes);
    ASSERT_TRUE(wizard);
    RECT base = { 0, 0, 4, 8 };
    MapDialogRect(wizard, &base);
    for (const auto &row : rows) {
        EXPECT_EQ(0, ControlOf(row.id)->id) << row.id << " is in the template";
        EXPECT_FALSE(GetDlgItem(wizard, row.id)) << row.id << " was made with the dialog";
        HWND control = row.make(wizard);
        ASSERT_TRUE(control) << row.id;
        EXPECT_EQ(control, row.make(wizard)) << row.id << ": a second call made a second control";
        EXPECT_EQ(control, GetDlgItem(wizard, row.id));
        char kind[64] = "";
        GetClassNameA(control, kind, sizeof(kind));
        EXPECT_EQ(ClassName(row.kind), ClassName(kind)) << row.id;
        // The border looks as the dialog manager made the licence list's (sunken
        // here, where the style bit becomes an extended one); a combo box hands
        // its scroll bar on to its list.
        DWORD style = (DWORD)GetWindowLongA(control, GWL_STYLE);
        DWORD kept = ~(DWORD)(WS_BORDER | (row.id == ID_LANGUAGE_COMBO ? WS_VSCROLL : 0));
        EXPECT_EQ((row.style | WS_CHILD) & kept, style & (CheckedBits | WS_CHILD) & kept) << row.id;
        EXPECT_EQ(GetWindowLongA(GetDlgItem(wizard, ID_CHINESE_LICENCE_LIST), GWL_STYLE) & WS_BORDER,
                  (LONG)(style & WS_BORDER)) << row.id;
        RECT rect;
        GetWindowRect(control, &rect);
        MapWindowPoints(0, wizard, (POINT *)&rect, 2);
        EXPECT_EQ(MulDiv(row.x, base.right, 4), rect.left) << row.id;
        EXPECT_EQ(MulDiv(row.y, base.bottom, 8), rect.top) << row.id;
        EXPECT_EQ(MulDiv(row.cx, base.right, 4), rect.right - rect.left) << row.id;
        if (row.id != ID_LANGUAGE_COMBO)   // a combo box is as tall as its selection field
            EXPECT_EQ(MulDiv(row.cy, base.bottom, 8), rect.bottom - rect.top) << row.id;
        EXPECT_EQ(SendMessageA(wizard, WM_GETFONT, 0, 0), SendMessageA(control, WM_GETFONT, 0, 0)) << row.id;
        EXPECT_EQ(control, GetWindow(GetDlgItem(wizard, row.before), GW_HWNDNEXT)) << row.id;
        EXPECT_EQ(GetDlgItem(wizard, row.after), GetWindow(control, GW_HWNDNEXT)) << row.id;
    }
    EXPECT_EQ(3, SendDlgItemMessageA(wizard, ID_LANGUAGE_COMBO, CB_GETCOUNT, 0, 0)) << "the list was not filled";
    RECT barLeft, labelLeft;
    GetWindowRect(GetDlgItem(wizard, ID_PROGRESS_BAR), &barLeft);
    GetWindowRect(GetDlgItem(wizard, ID_UNUSED_LABEL), &labelLeft);
    EXPECT_EQ(labelLeft.left, barLeft.left) << "the template's control at the same x lies elsewhere";
    DestroyWindow(wizard);
    FreeLibrary(setup);
}

// The language caption's glyph cells (16 pixels, centred in the label) lie
// below the combo box's selection field, which the wizard makes as tall as its
// items: at the template's dialog units, and at the smaller ones a smaller
// system font gives (about 1.4 pixels a vertical unit).
TEST_F(WizardTemplate, LanguageCaptionIsClearOfTheSelectionFieldAlsoAtSmallDialogUnits)
{
    const int GlyphHeight = 16;
    HMODULE setup = LoadSetupAsData();
    ASSERT_TRUE(setup);
    double smallestUnit = 100;
    for (WORD points : { pointSize, (WORD)(pointSize - 1), (WORD)(pointSize - 2), (WORD)(pointSize - 3) }) {
        std::vector<BYTE> copy = bytes;
        *(WORD *)(copy.data() + pointSizeOffset) = points;
        HWND wizard = CreateHiddenWizard(setup, copy);
        ASSERT_TRUE(wizard) << points << " points";
        CreateLanguageList(wizard);
        RECT unit = { 0, 0, 0, 100 };
        MapDialogRect(wizard, &unit);
        smallestUnit = unit.bottom / 100.0 < smallestUnit ? unit.bottom / 100.0 : smallestUnit;
        RECT field, label;
        GetWindowRect(GetDlgItem(wizard, ID_LANGUAGE_COMBO), &field);
        GetWindowRect(GetDlgItem(wizard, ID_LANGUAGE_LABEL), &label);
        int glyphTop = label.top + (label.bottom - label.top - GlyphHeight) / 2;
        EXPECT_GE(glyphTop, field.bottom) << points << " points, " << unit.bottom / 100.0 << " pixels a unit";
        EXPECT_LE(glyphTop + GlyphHeight, label.bottom) << points << " points";
        DestroyWindow(wizard);
    }
    EXPECT_LE(smallestUnit, 1.45) << "no font size gave units as small as a CJK system font's";
    FreeLibrary(setup);
}
