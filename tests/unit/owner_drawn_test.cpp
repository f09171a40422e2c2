// The owner-drawn painters on real device contexts: bevels, the default frame,
// caption positions, focus rectangles, list and combo items, check boxes.
#include "glyphtext/owner_drawn.h"
#include "glyphtext/glyph_font.h"
#include "startup/glyph_sheets.h"
#include "startup/shared_state.h"
#include "wizard/message_dialog.h"
#include "wizard/wizard_dialog.h"
#include "support/dib_canvas.h"
#include "support/test_paths.h"
#include <gtest/gtest.h>
#include <string.h>

const COLORREF White = RGB(255, 255, 255);
const COLORREF Black = RGB(0, 0, 0);
const COLORREF Marker = RGB(10, 200, 30);

static unsigned Sys(int index)
{
    return RgbOf(GetSysColor(index));
}

static unsigned CodeAt(const char *text, int offset)
{
    return (unsigned char)text[offset] << 8 | (unsigned char)text[offset + 1];
}

// The ink of a glyph cell as the sheet holds it.
static int SheetInk(unsigned code, int dx, int dy)
{
    int sheet, x, y;
    LocateGlyph((unsigned short)code, &sheet, &x, &y);
    return GetPixel(GlyphDCs[sheet], x + dx, y + dy) == Black;
}

// The width of the single-byte characters of a string, one at a time.
static int LatinWidth(HDC dc, const char *text)
{
    int width = 0;
    for (const char *p = text; *p; p++) {
        SIZE extent;
        GetTextExtentPointA(dc, p, 1, &extent);
        width += extent.cx;
    }
    return width;
}

class Painters : public ::testing::Test {
protected:
    DibCanvas canvas;

    static void SetUpTestSuite()
    {
        HMODULE setup = LoadSetupAsData();
        ASSERT_TRUE(setup);
        ASSERT_EQ(GlyphsLoaded, LoadGlyphSheets(setup));
        FreeLibrary(setup);
    }

    static void TearDownTestSuite()
    {
        FreeGlyphSheets();
    }

    void SetUp() override
    {
        ASSERT_TRUE(CreateDibCanvas(&canvas, 400, 60));
        FillCanvas(&canvas, Marker);
        SetTextColor(canvas.dc, Black);
        SetBkColor(canvas.dc, White);
        SelectObject(canvas.dc, GetStockObject(SYSTEM_FONT));
        PageState = 0;
        MessageChineseText = 0;
    }

    void TearDown() override
    {
        DestroyDibCanvas(&canvas);
        PageState = 0;
        MessageChineseText = 0;
    }

    DRAWITEMSTRUCT Item(int id, UINT action, UINT state, RECT r, HWND window = 0)
    {
        DRAWITEMSTRUCT item;
        ZeroMemory(&item, sizeof(item));
        item.CtlType = ODT_BUTTON;
        item.CtlID = id;
        item.itemAction = action;
        item.itemState = state;
        item.hwndItem = window;
        item.hDC = canvas.dc;
        item.rcItem = r;
        return item;
    }

    unsigned Px(int x, int y) { return CanvasPixel(&canvas, x, y); }

    // Ink in the context's text colour, the rest of the cell showing the fill.
    void ExpectGlyphAt(unsigned code, int left, int top, unsigned ink, unsigned fill)
    {
        for (int dy = 0; dy < 16; dy++)
            for (int dx = 0; dx < 16; dx++)
                ASSERT_EQ(SheetInk(code, dx, dy) ? ink : fill, Px(left + dx, top + dy))
                    << std::hex << code << " at " << std::dec << left + dx << "," << top + dy;
    }

    int CountNot(unsigned colour, int left, int top, int right, int bottom)
    {
        int n = 0;
        for (int y = top; y < bottom; y++)
            for (int x = left; x < right; x++)
                n += Px(x, y) != colour;
        return n;
    }
};

// Bevel rings 1 and 2: light upper-left, dark lower-right; the outer ring of
// an ordinary button has only its bottom and right edges, in the dark colour.
TEST_F(Painters, FramedButtonHasTwoBevelRingsAndADarkOuterBottomRight)
{
    const RECT r = { 10, 5, 110, 35 };
    DRAWITEMSTRUCT item = Item(3, ODA_DRAWENTIRE, 0, r);
    DrawOwnerButton(&item, MessageChineseText, DefaultCommandId);
    const int l = 10, t = 5, rr = 110, b = 35, mx = 30, my = 12;
    for (int i = 1; i <= 2; i++) {
        EXPECT_EQ(Sys(COLOR_BTNHIGHLIGHT), Px(l + i, my)) << "left of ring " << i;
        EXPECT_EQ(Sys(COLOR_BTNHIGHLIGHT), Px(mx, t + i)) << "top of ring " << i;
        EXPECT_EQ(Sys(COLOR_BTNSHADOW), Px(rr - i - 1, my)) << "right of ring " << i;
        EXPECT_EQ(Sys(COLOR_BTNSHADOW), Px(mx, b - i - 1)) << "bottom of ring " << i;
    }
    EXPECT_EQ(Sys(COLOR_BTNSHADOW), Px(rr - 1, my));
    EXPECT_EQ(Sys(COLOR_BTNSHADOW), Px(mx, b - 1));
    EXPECT_EQ(Sys(COLOR_BTNFACE), Px(l, my));
    EXPECT_EQ(Sys(COLOR_BTNFACE), Px(mx, t));
    EXPECT_EQ(Sys(COLOR_BTNFACE), Px(l + 3, my));   // inside the rings
    EXPECT_EQ(RgbOf(Marker), Px(l - 1, my));    // nothing outside the item
}

TEST_F(Painters, PressedButtonSwapsBevelColoursAndShiftsCaptionTwoRightOneDown)
{
    const char *caption = "是 Yes";
    const RECT r = { 10, 5, 110, 35 };
    int w = 16 + LatinWidth(canvas.dc, " Yes");
    int x = 10 + (100 - w) / 2, y = 5 + (30 - 16) / 2;

    DRAWITEMSTRUCT item = Item(6, ODA_DRAWENTIRE, 0, r);
    DrawOwnerButton(&item, MessageChineseText, DefaultCommandId);
    ExpectGlyphAt(CodeAt(caption, 0), x, y, 0, Sys(COLOR_BTNFACE));

    item = Item(6, ODA_SELECT, ODS_SELECTED, r);
    DrawOwnerButton(&item, MessageChineseText, DefaultCommandId);
    ExpectGlyphAt(CodeAt(caption, 0), x + 2, y + 1, 0, Sys(COLOR_BTNFACE));
    EXPECT_EQ(Sys(COLOR_BTNSHADOW), Px(11, 12));
    EXPECT_EQ(Sys(COLOR_BTNSHADOW), Px(30, 6));
    EXPECT_EQ(Sys(COLOR_BTNHIGHLIGHT), Px(108, 12));
    EXPECT_EQ(Sys(COLOR_BTNHIGHLIGHT), Px(30, 33));
    EXPECT_EQ(Sys(COLOR_BTNHIGHLIGHT), Px(109, 12));   // the outer ring too

    item = Item(6, ODA_SELECT, 0, r);
    DrawOwnerButton(&item, MessageChineseText, DefaultCommandId);
    ExpectGlyphAt(CodeAt(caption, 0), x, y, 0, Sys(COLOR_BTNFACE));
    EXPECT_EQ(Sys(COLOR_BTNHIGHLIGHT), Px(11, 12));
}

// The black outer ring with a second black line inside its bottom and right.
TEST_F(Painters, NextButtonCarriesTheBlackDefaultFrame)
{
    const RECT r = { 10, 5, 110, 35 };
    DRAWITEMSTRUCT item = Item(1001, ODA_DRAWENTIRE, 0, r);
    DrawOwnerButton(&item, MessageChineseText, DefaultCommandId);
    const unsigned black = 0;
    EXPECT_EQ(black, Px(10, 20));
    EXPECT_EQ(black, Px(50, 5));
    EXPECT_EQ(black, Px(109, 20));
    EXPECT_EQ(black, Px(50, 34));
    EXPECT_EQ(black, Px(50, 33));    // covers the first ring's bottom
    EXPECT_EQ(black, Px(108, 20));   // and its right edge
    EXPECT_EQ(Sys(COLOR_BTNHIGHLIGHT), Px(11, 20));
    EXPECT_EQ(Sys(COLOR_BTNHIGHLIGHT), Px(50, 6));
    EXPECT_EQ(Sys(COLOR_BTNSHADOW), Px(107, 20));    // the second ring is untouched
    EXPECT_EQ(Sys(COLOR_BTNSHADOW), Px(50, 32));
}

TEST_F(Painters, MessageDialogButtonsHaveNoDefaultFrame)
{
    const int ids[] = { 1, 2, 6, 7 };
    for (int id : ids) {
        FillCanvas(&canvas, Marker);
        const RECT r = { 10, 5, 110, 35 };
        DRAWITEMSTRUCT item = Item(id, ODA_DRAWENTIRE, 0, r);
        DrawOwnerButton(&item, MessageChineseText, DefaultCommandId);
        EXPECT_EQ(Sys(COLOR_BTNFACE), Px(10, 20)) << id;
        EXPECT_EQ(Sys(COLOR_BTNFACE), Px(50, 5)) << id;
        EXPECT_EQ(Sys(COLOR_BTNSHADOW), Px(50, 33)) << id;
    }
}

TEST_F(Painters, NextButtonCaptionFollowsThePage)
{
    const char *next = "下一步 Next";
    const char *install = "同意/安装 Agree/Install";
    const RECT r = { 0, 0, 300, 30 };
    const int y = (30 - 16) / 2;
    int states[] = { 0, 2, 3, 99 };
    for (int state : states) {
        PageState = state;
        FillCanvas(&canvas, Marker);
        DRAWITEMSTRUCT item = Item(1001, ODA_DRAWENTIRE, 0, r);
        DrawOwnerButton(&item, MessageChineseText, DefaultCommandId);
        if (state < 3) {
            int w = 48 + LatinWidth(canvas.dc, " Next");
            ExpectGlyphAt(CodeAt(next, 0), (300 - w) / 2, y, 0, Sys(COLOR_BTNFACE));
        } else {
            int w = 64 + LatinWidth(canvas.dc, "/ Agree/Install");
            ExpectGlyphAt(CodeAt(install, 0), (300 - w) / 2, y, 0, Sys(COLOR_BTNFACE));
        }
    }
}

// A label with no frame: centred by the same formula even when wider than
// the control, so it starts left of the control; a left-aligned label at l.
TEST_F(Painters, WideCaptionIsCentredLeftOfItsControlAndLeftLabelsStartAtTheEdge)
{
    const char *question = "以上中文显示正确吗 (Is the Above Chinese Display OK)?";
    const RECT narrow = { 250, 10, 350, 30 };   // room on the left for the overhang
    int w = 9 * 16 + LatinWidth(canvas.dc, " (Is the Above Chinese Display OK)?");
    ASSERT_GT(w, 100);
    int x = 250 + (100 - w) / 2;
    ASSERT_GE(x, 0) << "the caption must start on the canvas";
    DRAWITEMSTRUCT item = Item(1017, ODA_DRAWENTIRE, 0, narrow);
    DrawOwnerButton(&item, MessageChineseText, DefaultCommandId);
    ExpectGlyphAt(CodeAt(question, 0), x, 12, 0, RgbOf(Marker));   // outside the filled face
    EXPECT_EQ(Sys(COLOR_BTNFACE), Px(251, 11));                          // no frame

    const char *path = "安装路径： (Install Path)";
    const RECT left = { 20, 34, 300, 58 };
    item = Item(1006, ODA_DRAWENTIRE, 0, left);
    DrawOwnerButton(&item, MessageChineseText, DefaultCommandId);
    ExpectGlyphAt(CodeAt(path, 0), 20, 34 + 4, 0, Sys(COLOR_BTNFACE));
}

// A focus notification alone draws only the focus rectangle, inset by a
// tenth of the width and an eighth of the height; the next one takes it away.
TEST_F(Painters, FocusOnlyNotificationDrawsJustTheInsetFocusRectangle)
{
    FillCanvas(&canvas, White);
    const RECT r = { 20, 4, 120, 44 };   // 100 x 40: insets 10 and 5
    DRAWITEMSTRUCT item = Item(2, ODA_FOCUS, ODS_FOCUS, r);
    DrawOwnerButton(&item, MessageChineseText, DefaultCommandId);
    const int fl = 30, ft = 9, fr = 110, fb = 39;
    EXPECT_GT(CountNot(0xFFFFFF, fl, ft, fr, ft + 1), 20);
    EXPECT_GT(CountNot(0xFFFFFF, fl, fb - 1, fr, fb), 20);
    EXPECT_GT(CountNot(0xFFFFFF, fl, ft, fl + 1, fb), 8);
    EXPECT_GT(CountNot(0xFFFFFF, fr - 1, ft, fr, fb), 8);
    EXPECT_EQ(0, CountNot(0xFFFFFF, fl + 1, ft + 1, fr - 1, fb - 1));   // no face, no caption
    EXPECT_EQ(0, CountNot(0xFFFFFF, 0, 0, 400, ft));
    EXPECT_EQ(0, CountNot(0xFFFFFF, 0, fb, 400, 60));
    EXPECT_EQ(0, CountNot(0xFFFFFF, 0, 0, fl, 60));
    EXPECT_EQ(0, CountNot(0xFFFFFF, fr, 0, 400, 60));

    item = Item(2, ODA_FOCUS, 0, r);
    DrawOwnerButton(&item, MessageChineseText, DefaultCommandId);
    EXPECT_EQ(0, CountNot(0xFFFFFF, 0, 0, 400, 60));
}

TEST_F(Painters, PanelBlankLabelIsNeverPainted)
{
    const RECT r = { 10, 5, 110, 35 };
    UINT actions[] = { ODA_DRAWENTIRE, ODA_SELECT, ODA_FOCUS };
    for (UINT action : actions) {
        DRAWITEMSTRUCT item = Item(1020, action, ODS_FOCUS | ODS_SELECTED, r);
        DrawOwnerButton(&item, MessageChineseText, DefaultCommandId);
    }
    EXPECT_EQ(0, CountNot(RgbOf(Marker), 0, 0, 400, 60));
}

// The message caption comes from the bytes the dialog keeps, even when the
// control's own text says something else.
TEST_F(Painters, MessageCaptionIsDrawnFromTheKeptBytesNotTheControlText)
{
    HWND label = CreateWindowA("BUTTON", "XXXXXX", BS_OWNERDRAW, 0, 0, 300, 48, 0, 0, 0, 0);
    ASSERT_TRUE(label);
    const char *question = "请您回答提问.";
    MessageChineseText = question;
    const RECT r = { 0, 0, 300, 48 };
    DRAWITEMSTRUCT item = Item(1013, ODA_DRAWENTIRE, 0, r, label);
    DrawOwnerButton(&item, MessageChineseText, DefaultCommandId);
    int w = 6 * 16 + LatinWidth(canvas.dc, ".");
    for (int i = 0; i < 6; i++)
        ExpectGlyphAt(CodeAt(question, 2 * i), (300 - w) / 2 + 16 * i, 16, 0, Sys(COLOR_BTNFACE));
    DestroyWindow(label);
}

// 40 characters are 80 bytes: the 79-byte cut keeps 39 whole characters and
// never leaves a lone lead byte to be drawn with the terminating zero.
TEST_F(Painters, MessageCaptionCutAt79BytesKeepsWholeCharacters)
{
    char text[81];
    for (int i = 0; i < 40; i++) {
        text[2 * i] = (char)0xD6;
        text[2 * i + 1] = (char)0xD0;   // 中
    }
    text[80] = 0;
    DestroyDibCanvas(&canvas);
    ASSERT_TRUE(CreateDibCanvas(&canvas, 700, 48));
    FillCanvas(&canvas, Marker);
    MessageChineseText = text;
    const RECT r = { 0, 0, 700, 48 };
    DRAWITEMSTRUCT item = Item(1013, ODA_DRAWENTIRE, 0, r);
    DrawOwnerButton(&item, MessageChineseText, DefaultCommandId);
    int x = (700 - 39 * 16) / 2;
    ExpectGlyphAt(0xD6D0, x, 16, 0, Sys(COLOR_BTNFACE));
    ExpectGlyphAt(0xD6D0, x + 38 * 16, 16, 0, Sys(COLOR_BTNFACE));
    EXPECT_EQ(0, CountNot(Sys(COLOR_BTNFACE), x + 39 * 16, 0, 700, 48));
    EXPECT_EQ(0, CountNot(Sys(COLOR_BTNFACE), 0, 0, x, 48));
}

// A parent window holding the licence list and the language combo box, filled
// the way the wizard fills them: strings for the controls, item data for us.
class ListPainters : public Painters {
protected:
    HWND parent, list, combo;
    const char *lines[3] = { "第一行 first", "第二行 second", "第三行 third" };

    void SetUp() override
    {
        Painters::SetUp();
        parent = CreateWindowA("STATIC", "", WS_POPUP, 0, 0, 400, 300, 0, 0, 0, 0);
        list = CreateWindowA("LISTBOX", "", WS_CHILD | LBS_HASSTRINGS | LBS_OWNERDRAWFIXED, 0, 0, 300, 100,
                             parent, (HMENU)(INT_PTR)1019, 0, 0);
        combo = CreateWindowA("COMBOBOX", "", WS_CHILD | CBS_DROPDOWNLIST | CBS_HASSTRINGS | CBS_OWNERDRAWFIXED,
                              0, 120, 300, 100, parent, (HMENU)(INT_PTR)1031, 0, 0);
        ASSERT_TRUE(list && combo);
        for (int i = 0; i < 3; i++) {
            SendMessageA(list, LB_ADDSTRING, 0, (LPARAM)"not drawn");
            SendMessageA(list, LB_SETITEMDATA, i, (LPARAM)lines[i]);
            SendMessageA(combo, CB_ADDSTRING, 0, (LPARAM)"not drawn");
            SendMessageA(combo, CB_SETITEMDATA, i, i);
        }
    }

    void TearDown() override
    {
        DestroyWindow(parent);
        Painters::TearDown();
    }

    // As the wizard draws its items: with the text it finds for the item.
    void DrawWizardListItem(const DRAWITEMSTRUCT &item, int isCombo)
    {
        DrawListItem(&item, isCombo, WizardListItemText(parent, &item, isCombo));
    }

    DRAWITEMSTRUCT ListItem(int id, UINT number, ULONG_PTR data, UINT state, RECT r)
    {
        DRAWITEMSTRUCT item = Item(id, ODA_DRAWENTIRE, state, r);
        item.CtlType = id == 1031 ? ODT_COMBOBOX : ODT_LISTBOX;
        item.itemID = number;
        item.itemData = data;
        item.hwndItem = id == 1031 ? combo : list;
        return item;
    }
};

// Selection colours, glyphs ORed onto the selection: the ink becomes the
// selection colour OR the selection-text colour, the cell background vanishes.
TEST_F(ListPainters, SelectedLanguageItemUsesSelectionColoursWithGlyphsOred)
{
    const char *traditional = "Chinese(Traditional) 中文繁体";
    const RECT r = { 5, 10, 305, 33 };
    DRAWITEMSTRUCT item = ListItem(1031, 2, 2, ODS_SELECTED, r);
    DrawWizardListItem(item, ListIsComboBox);
    int x = 5 + 2 + LatinWidth(canvas.dc, "Chinese(Traditional) ");
    unsigned selection = Sys(COLOR_HIGHLIGHT);
    ExpectGlyphAt(CodeAt(traditional, 21), x, 12, selection | Sys(COLOR_HIGHLIGHTTEXT), selection);
    ExpectGlyphAt(CodeAt(traditional, 27), x + 48, 12, selection | Sys(COLOR_HIGHLIGHTTEXT), selection);
    EXPECT_EQ(selection, Px(5, 10));
    EXPECT_EQ(selection, Px(304, 32));
    EXPECT_EQ(RgbOf(Marker), Px(5, 33));
}

TEST_F(ListPainters, UnselectedLanguageItemIsAndedOnTheWindowColour)
{
    const char *english = "English 英文";
    const RECT r = { 0, 0, 300, 23 };
    DRAWITEMSTRUCT item = ListItem(1031, 0, 0, 0, r);
    DrawWizardListItem(item, ListIsComboBox);
    ExpectGlyphAt(CodeAt(english, 8), 2 + LatinWidth(canvas.dc, "English "), 2, Sys(COLOR_WINDOWTEXT) & Sys(COLOR_WINDOW),
                  Sys(COLOR_WINDOW));
}

// A licence line: black glyphs ANDed on the window colour, 2 pixels in, from
// the line its item data points at.
TEST_F(ListPainters, LicenceLineIsDrawnFromItsItemDataTwoPixelsIn)
{
    SetTextColor(canvas.dc, RGB(200, 0, 0));   // the list sets its own text colour
    const RECT r = { 10, 20, 310, 43 };
    DRAWITEMSTRUCT item = ListItem(1019, 1, (ULONG_PTR)lines[1], 0, r);
    DrawWizardListItem(item, ListIsListBox);
    ExpectGlyphAt(CodeAt(lines[1], 0), 12, 22, 0, Sys(COLOR_WINDOW));
    ExpectGlyphAt(CodeAt(lines[1], 4), 44, 22, 0, Sys(COLOR_WINDOW));
    EXPECT_EQ(Sys(COLOR_WINDOW), Px(10, 20));
    EXPECT_EQ(Sys(COLOR_WINDOW), Px(11, 21));
    EXPECT_EQ(RgbOf(RGB(200, 0, 0)), RgbOf(GetTextColor(canvas.dc)));   // the context is restored
}

TEST_F(ListPainters, ItemNumberOutsideTheListDrawsOnlyTheBackground)
{
    const RECT r = { 0, 0, 300, 23 };
    UINT numbers[] = { 3, 7, (UINT)-1 };
    for (UINT number : numbers) {
        FillCanvas(&canvas, Marker);
        DRAWITEMSTRUCT item = ListItem(1019, number, (ULONG_PTR)lines[0], 0, r);
        DrawWizardListItem(item, ListIsListBox);
        EXPECT_EQ(0, CountNot(Sys(COLOR_WINDOW), 0, 0, 300, 23)) << number;
        item = ListItem(1031, number, 1, ODS_SELECTED, r);
        DrawWizardListItem(item, ListIsComboBox);
        EXPECT_EQ(0, CountNot(Sys(COLOR_HIGHLIGHT), 0, 0, 300, 23)) << number;
    }
}

class CheckBoxes : public Painters {
protected:
    HWND parent;

    void SetUp() override
    {
        Painters::SetUp();
        parent = CreateWindowA("STATIC", "", WS_POPUP, 0, 0, 400, 300, 0, 0, 0, 0);
        ASSERT_TRUE(parent);
    }

    void TearDown() override
    {
        DestroyWindow(parent);
        Painters::TearDown();
    }

    HWND Make(int id, DWORD style)
    {
        return CreateWindowA("BUTTON", "", WS_CHILD | style, 0, 0, 200, 20, parent, (HMENU)(INT_PTR)id, 0, 0);
    }
};

// A 200 x 20 client area grows to 24 pixels high: the box shrinks by 6, then
// moves to (1, 3, 13, 13); the caption starts one box width right of it.
TEST_F(CheckBoxes, CheckBoxGeometryAndCaptionPosition)
{
    HWND box = Make(1007, BS_AUTOCHECKBOX);
    const int h = 24;
    const int bl = -2 + h / 4 - h / 8, bt = -2 + h / 4 - 1, br = -2 + h - h / 4 - h / 7, bb = 22 - h / 4 - 3;
    ASSERT_EQ(1, bl); ASSERT_EQ(3, bt); ASSERT_EQ(13, br); ASSERT_EQ(13, bb);
    const char *ok = "正确(OK)";
    PaintCheckBox(box, canvas.dc);
    ExpectGlyphAt(CodeAt(ok, 0), 2 * br - bl, -2 + 3, 0, Sys(COLOR_BTNFACE));
    ExpectGlyphAt(CodeAt(ok, 2), 2 * br - bl + 16, -2 + 3, 0, Sys(COLOR_BTNFACE));
    EXPECT_EQ(Sys(COLOR_WINDOW), Px((bl + br) / 2, (bt + bb) / 2));   // an empty white box
    EXPECT_EQ(Sys(COLOR_BTNFACE), Px(br + 2, (bt + bb) / 2));
    EXPECT_EQ(Sys(COLOR_BTNFACE), Px(0, 0));
    EXPECT_EQ(Sys(COLOR_BTNFACE), Px(201, 21));   // the face reaches 2 pixels past the client area
    EXPECT_EQ(RgbOf(Marker), Px(202, 22));

    SendMessageA(box, BM_SETCHECK, BST_CHECKED, 0);
    FillCanvas(&canvas, Marker);
    PaintCheckBox(box, canvas.dc);
    EXPECT_GT(CountNot(Sys(COLOR_WINDOW), bl + 3, bt + 3, br - 3, bb - 3), 4);   // the check mark
}

// Other button styles: the box shrinks by h / 12 and the caption follows it.
TEST_F(CheckBoxes, RadioStyleBoxSitsFurtherLeftWithItsCaption)
{
    HWND box = Make(1008, BS_AUTORADIOBUTTON);
    const int h = 24;
    const int bl = -2 + h / 12 - 1, br = -2 + h - h / 12 - h / 5;
    const char *no = "不正确(NO)";
    PaintCheckBox(box, canvas.dc);
    ExpectGlyphAt(CodeAt(no, 0), 2 * br - bl, 1, 0, Sys(COLOR_BTNFACE));
}

TEST_F(CheckBoxes, DisabledCheckBoxHasAnInactiveBoxAndTheSameCaption)
{
    HWND box = Make(1004, BS_AUTOCHECKBOX);
    EnableWindow(box, FALSE);
    const char *desktop = "建立桌面图标？  (Place an icon on Desktop)";
    PaintCheckBox(box, canvas.dc);
    EXPECT_EQ(Sys(COLOR_BTNFACE), Px(7, 8));   // the box's inside takes the inactive face
    ExpectGlyphAt(CodeAt(desktop, 0), 25, 1, 0, Sys(COLOR_BTNFACE));
    ExpectGlyphAt(CodeAt(desktop, 10), 25 + 80, 1, 0, Sys(COLOR_BTNFACE));
}

// A visible check box with the program's procedure, toggled with the space
// bar: it shows its new state with the program's caption at once, before any
// further message is dispatched, and keeps that look afterwards.
class KeyboardToggle : public Painters {
protected:
    HWND parent = 0, box = 0;
    DibCanvas screen = {};

    void SetUp() override
    {
        Painters::SetUp();
        parent = CreateWindowA("STATIC", "", WS_POPUP | WS_VISIBLE, 50, 50, 300, 60, 0, 0, 0, 0);
        box = CreateWindowA("BUTTON", "", WS_CHILD | WS_VISIBLE | WS_TABSTOP | BS_AUTOCHECKBOX, 10, 10, 200, 20,
                            parent, (HMENU)(INT_PTR)1007, 0, 0);
        ASSERT_TRUE(parent && box);
        PreviousButtonProc = (WNDPROC)SetWindowLongPtrA(box, GWLP_WNDPROC, (LONG_PTR)CheckBoxProc);
        SetForegroundWindow(parent);
        SetFocus(box);
        Pump();
    }

    void TearDown() override
    {
        if (screen.dc)
            DestroyDibCanvas(&screen);
        DestroyWindow(parent);
        Painters::TearDown();
    }

    static void Pump()
    {
        MSG message;
        while (PeekMessageA(&message, 0, 0, 0, PM_REMOVE)) {
            TranslateMessage(&message);
            DispatchMessageA(&message);
        }
    }

    // What the screen shows of the check box's client area.
    void Grab()
    {
        if (screen.dc)
            DestroyDibCanvas(&screen);
        ASSERT_TRUE(CreateDibCanvas(&screen, 200, 20));
        HDC window = GetWindowDC(parent);
        BitBlt(screen.dc, 0, 0, 200, 20, window, 10, 10, SRCCOPY);
        ReleaseDC(parent, window);
    }

    int CaptionShown()
    {
        const char *ok = "正确(OK)";
        // Box (1, 3, 13, 13) of a 24-pixel face: the caption at x 25, y 1.
        for (int dy = 0; dy < 16; dy++)
            for (int dx = 0; dx < 16; dx++) {
                unsigned pixel = CanvasPixel(&screen, 25 + dx, 1 + dy);
                if (SheetInk(CodeAt(ok, 0), dx, dy) != (pixel != Sys(COLOR_BTNFACE)))
                    return 0;
            }
        return 1;
    }

    // Every pixel of the client area as the program paints the check box.
    int ProgramLookShown()
    {
        DibCanvas expected;
        if (!CreateDibCanvas(&expected, 200, 20))
            return 0;
        PaintCheckBox(box, expected.dc);
        int same = memcmp(expected.pixels, screen.pixels, 200 * 20 * 4) == 0;
        DestroyDibCanvas(&expected);
        return same;
    }

    int CheckMarkShown()
    {
        int ink = 0;
        for (int y = 6; y < 10; y++)
            for (int x = 4; x < 10; x++)
                ink += CanvasPixel(&screen, x, y) != Sys(COLOR_WINDOW);
        return ink > 2;
    }

    void PressSpace()
    {
        SendMessageA(box, WM_KEYDOWN, VK_SPACE, 0);
        SendMessageA(box, WM_CHAR, ' ', 0);
        SendMessageA(box, WM_KEYUP, VK_SPACE, 0xC0000000);
    }
};

TEST_F(KeyboardToggle, SpaceBarToggleKeepsTheProgramsLook)
{
    ASSERT_EQ(box, GetFocus());
    Grab();
    EXPECT_TRUE(CaptionShown());
    EXPECT_FALSE(CheckMarkShown());

    PressSpace();
    EXPECT_EQ(BST_CHECKED, SendMessageA(box, BM_GETCHECK, 0, 0));
    Grab();
    EXPECT_TRUE(CaptionShown());
    EXPECT_TRUE(CheckMarkShown());
    EXPECT_TRUE(ProgramLookShown());
    Pump();
    Grab();
    EXPECT_TRUE(CaptionShown());
    EXPECT_TRUE(CheckMarkShown());

    PressSpace();
    EXPECT_EQ(BST_UNCHECKED, SendMessageA(box, BM_GETCHECK, 0, 0));
    Grab();
    EXPECT_TRUE(CaptionShown());
    EXPECT_FALSE(CheckMarkShown());
    EXPECT_TRUE(ProgramLookShown());
}

// The wizard sets the answers with BM_SETCHECK: the box shows it at once.
TEST_F(KeyboardToggle, SetCheckFromTheProgramRepaintsTheProgramsLook)
{
    SendMessageA(box, BM_SETCHECK, BST_CHECKED, 0);
    Grab();
    EXPECT_TRUE(CaptionShown());
    EXPECT_TRUE(CheckMarkShown());
    EXPECT_TRUE(ProgramLookShown());
}
