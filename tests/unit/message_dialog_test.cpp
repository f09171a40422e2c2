// The message dialog shown for real: a timer inside its modal loop looks at
// the window, captures it, and closes it the way a user would.
#include "wizard/message_dialog.h"
#include "wizard/message_texts.h"
#include "glyphtext/glyph_font.h"
#include "startup/glyph_sheets.h"
#include "startup/shared_state.h"
#include "resources/resource_ids.h"
#include "support/dib_canvas.h"
#include "support/png_writer.h"
#include "support/test_paths.h"
#include <gtest/gtest.h>
#include <stdio.h>
#include <string.h>
#include <string>
#include <vector>

const char MessageCaption[] = "Lumabook Install Message";

enum CloseBy { CloseByOk, CloseByYes, CloseByEscape, CloseByCloseBox };

// What the timer saw of the open dialog, in pixels; rects of controls are in
// the dialog's client coordinates.
struct SeenDialog {
    int found;
    RECT window, client;
    RECT control[8];          // 1, 2, 4, 6, 7 by id; [0] 1013, [3] 1028
    int focusId;              // the button the dialog opened on
    int visible[8];
    int buttonWidth, buttonHeight;   // the template's 73 x 18 units in pixels
    int englishWidth, englishHeight, latinWidth;
    int latinWidthInLabel;    // measured in the label's font, as its caption is drawn
    char englishShown[256];
    DibCanvas picture;
    POINT clientOrigin;       // of the client area within the picture
};

static SeenDialog Seen;
static CloseBy HowToClose;
static const char *LatinPart = "";    // the single-byte characters of the Chinese text
static const char *ReplacedLabelText; // given to 1013 before the capture, when set

static int Slot(int id)
{
    return id == ID_MESSAGE_CHINESE_LABEL ? 0 : id == ID_MESSAGE_ENGLISH_TEXT ? 3 : id;
}

static void RecordControl(HWND dialog, int id)
{
    HWND control = GetDlgItem(dialog, id);
    RECT r;
    GetWindowRect(control, &r);
    MapWindowPoints(0, dialog, (POINT *)&r, 2);
    Seen.control[Slot(id)] = r;
    Seen.visible[Slot(id)] = IsWindowVisible(control);
}

static void MeasureLikeTheDialog(HWND dialog)
{
    HDC dc = GetDC(dialog);
    SIZE extent = { 0, 0 };
    int length = lstrlenA(MessageEnglishText);
    if (length)
        GetTextExtentPointA(dc, MessageEnglishText, length, &extent);
    Seen.englishWidth = extent.cx;
    Seen.englishHeight = extent.cy;
    Seen.latinWidth = 0;
    for (const char *p = LatinPart; *p; p++) {
        GetTextExtentPointA(dc, p, 1, &extent);
        Seen.latinWidth += extent.cx;
    }
    ReleaseDC(dialog, dc);

    HWND label = GetDlgItem(dialog, ID_MESSAGE_CHINESE_LABEL);
    dc = GetDC(label);
    HGDIOBJ previous = SelectObject(dc, (HFONT)SendMessageA(label, WM_GETFONT, 0, 0));
    Seen.latinWidthInLabel = 0;
    for (const char *p = LatinPart; *p; p++) {
        GetTextExtentPointA(dc, p, 1, &extent);
        Seen.latinWidthInLabel += extent.cx;
    }
    SelectObject(dc, previous);
    ReleaseDC(label, dc);
}

static void CaptureDialog(HWND dialog)
{
    RedrawWindow(dialog, 0, 0, RDW_INVALIDATE | RDW_ERASE | RDW_FRAME | RDW_ALLCHILDREN | RDW_UPDATENOW);
    int width = Seen.window.right - Seen.window.left, height = Seen.window.bottom - Seen.window.top;
    if (!CreateDibCanvas(&Seen.picture, width, height))
        return;
    HDC screen = GetWindowDC(dialog);
    BitBlt(Seen.picture.dc, 0, 0, width, height, screen, 0, 0, SRCCOPY);
    ReleaseDC(dialog, screen);
    POINT origin = { 0, 0 };
    ClientToScreen(dialog, &origin);
    Seen.clientOrigin.x = origin.x - Seen.window.left;
    Seen.clientOrigin.y = origin.y - Seen.window.top;
}

static void Inspect(HWND dialog)
{
    Seen.found = 1;
    GetWindowRect(dialog, &Seen.window);
    GetClientRect(dialog, &Seen.client);
    const int ids[] = { 1, 2, 4, 6, 7, ID_MESSAGE_CHINESE_LABEL, ID_MESSAGE_ENGLISH_TEXT };
    Seen.focusId = GetDlgCtrlID(GetFocus());
    for (int id : ids)
        RecordControl(dialog, id);
    RECT units = { 0, 0, 73, 18 };
    MapDialogRect(dialog, &units);
    Seen.buttonWidth = units.right;
    Seen.buttonHeight = units.bottom;
    MeasureLikeTheDialog(dialog);
    GetDlgItemTextA(dialog, ID_MESSAGE_ENGLISH_TEXT, Seen.englishShown, sizeof(Seen.englishShown));
    if (ReplacedLabelText)
        SetDlgItemTextA(dialog, ID_MESSAGE_CHINESE_LABEL, ReplacedLabelText);
    CaptureDialog(dialog);
}

static void Close(HWND dialog)
{
    switch (HowToClose) {
    case CloseByOk:
        PostMessageA(dialog, WM_COMMAND, MAKEWPARAM(1, BN_CLICKED), (LPARAM)GetDlgItem(dialog, 1));
        break;
    case CloseByYes:
        PostMessageA(dialog, WM_COMMAND, MAKEWPARAM(6, BN_CLICKED), (LPARAM)GetDlgItem(dialog, 6));
        break;
    case CloseByEscape:
        PostMessageA(dialog, WM_KEYDOWN, VK_ESCAPE, 0);
        PostMessageA(dialog, WM_KEYUP, VK_ESCAPE, 0);
        break;
    case CloseByCloseBox:
        PostMessageA(dialog, WM_SYSCOMMAND, SC_CLOSE, 0);
        break;
    }
}

static VOID CALLBACK OnTimer(HWND, UINT, UINT_PTR timer, DWORD)
{
    KillTimer(0, timer);
    HWND dialog = FindWindowA("#32770", MessageCaption);
    if (!dialog) {
        SetTimer(0, 0, 10, OnTimer);
        return;
    }
    Inspect(dialog);
    Close(dialog);
}

// Shows one message; the timer inspects and closes it from inside its loop.
static INT_PTR ShowAndInspect(const char *chinese, const char *english, int style, CloseBy close)
{
    ZeroMemory(&Seen, sizeof(Seen));
    HowToClose = close;
    SetTimer(0, 0, 10, OnTimer);
    return ShowMessageDialog(chinese, english, style, 0);
}

static int Width(const RECT &r) { return r.right - r.left; }
static int Height(const RECT &r) { return r.bottom - r.top; }

// The glyph of a code as the sheet holds it.
static int SheetInk(unsigned code, int dx, int dy)
{
    int sheet, x, y;
    LocateGlyph((unsigned short)code, &sheet, &x, &y);
    return GetPixel(GlyphDCs[sheet], x + dx, y + dy) == RGB(0, 0, 0);
}

// Every ink pixel of the cell in one colour, every other pixel the face colour.
static int GlyphShownAt(unsigned code, int clientX, int clientY)
{
    unsigned face = RgbOf(GetSysColor(COLOR_BTNFACE));
    int ink = -1;
    for (int dy = 0; dy < 16; dy++)
        for (int dx = 0; dx < 16; dx++) {
            unsigned pixel = CanvasPixel(&Seen.picture, Seen.clientOrigin.x + clientX + dx,
                                         Seen.clientOrigin.y + clientY + dy);
            if (!SheetInk(code, dx, dy)) {
                if (pixel != face)
                    return 0;
            } else if (ink < 0) {
                ink = (int)pixel;
            } else if ((unsigned)ink != pixel || pixel == face) {
                return 0;
            }
        }
    return 1;
}

static void SavePicture(const char *name)
{
    std::vector<unsigned> pixels(Seen.picture.pixels, Seen.picture.pixels + Seen.picture.width * Seen.picture.height);
    WritePng(ArtifactPath(name), Seen.picture.width, Seen.picture.height, pixels);
}

class MessageDialog : public ::testing::Test {
protected:
    static HMODULE setup;

    static void SetUpTestSuite()
    {
        setup = LoadSetupAsData();
        ASSERT_TRUE(setup);
        ASSERT_EQ(GlyphsLoaded, LoadGlyphSheets(setup));
        AppInstance = setup;
    }

    static void TearDownTestSuite()
    {
        FreeGlyphSheets();
        AppInstance = 0;
        FreeLibrary(setup);
    }

    void SetUp() override
    {
        LatinPart = "";
        ReplacedLabelText = 0;
    }

    void TearDown() override
    {
        if (Seen.picture.dc)
            DestroyDibCanvas(&Seen.picture);
        Seen.picture.dc = 0;
    }

    // The width the text needs: the wider line, the dialog frames, and room
    // for two button heights beside a Chinese text of at most 80 bytes.
    static int TextWidth(int chineseWidth, int chineseBytes)
    {
        int w = (chineseWidth > Seen.englishWidth ? chineseWidth : Seen.englishWidth) +
                2 * GetSystemMetrics(SM_CXDLGFRAME);
        return chineseBytes < 81 ? w + 2 * Seen.buttonHeight : w;
    }

    static int TextHeight()
    {
        return 3 * (16 + Seen.buttonHeight) + 2 * Seen.englishHeight;
    }

    static void ExpectPlacedOnScreen(int W, int H, int minW)
    {
        EXPECT_EQ((GetSystemMetrics(SM_CXSCREEN) - W) / 2, Seen.window.left);
        EXPECT_EQ((GetSystemMetrics(SM_CYSCREEN) - H) / 2, Seen.window.top);
        EXPECT_EQ(W > minW ? W : minW, Width(Seen.window));
        EXPECT_EQ(H + GetSystemMetrics(SM_CYCAPTION), Height(Seen.window));
    }
};

HMODULE MessageDialog::setup;

// Style 0: the Chinese line above the English line and one centred OK button.
TEST_F(MessageDialog, NoticeShowsTwoLinesAndOneCentredOkButton)
{
    const MessageText &m = InstallSuccessMessage;   // "祝贺您：安装顺利完成！", 11 characters
    INT_PTR result = ShowAndInspect(m.Chinese, m.English, MessageStyleOk, CloseByOk);
    ASSERT_TRUE(Seen.found);
    EXPECT_EQ(1, result);
    int bw = Seen.buttonWidth, bh = Seen.buttonHeight;
    int W = TextWidth(11 * 16, 22), H = TextHeight();
    ExpectPlacedOnScreen(W, H, 2 * bw);

    const RECT &ok = Seen.control[1];
    EXPECT_TRUE(Seen.visible[1]);
    EXPECT_EQ((W - bw) / 2, ok.left);
    EXPECT_EQ(H - 2 * bh, ok.top);
    EXPECT_EQ(bw, Width(ok));
    EXPECT_EQ(bh, Height(ok));
    EXPECT_FALSE(Seen.visible[2]);
    EXPECT_FALSE(Seen.visible[6]);
    EXPECT_FALSE(Seen.visible[7]);

    const RECT &chinese = Seen.control[0];
    EXPECT_EQ(0, chinese.left);
    EXPECT_EQ(10, chinese.top);
    EXPECT_EQ(Seen.client.right, Width(chinese));
    EXPECT_EQ(48, Height(chinese));
    const RECT &english = Seen.control[3];
    EXPECT_TRUE(Seen.visible[3]);
    EXPECT_EQ(63, english.top);
    EXPECT_EQ(2 * Seen.englishHeight, Height(english));
    EXPECT_STREQ(m.English, Seen.englishShown);

    int x = (Seen.client.right - 11 * 16) / 2;
    for (int i = 0; i < 11; i++)
        EXPECT_TRUE(GlyphShownAt((unsigned char)m.Chinese[2 * i] << 8 | (unsigned char)m.Chinese[2 * i + 1],
                                 x + 16 * i, 10 + 16)) << "character " << i;
    SavePicture("message_dialog_ok.png");
}

// Style 4: Yes left of No, the gap a third of a button width; only Yes is 6.
TEST_F(MessageDialog, QuestionPlacesYesLeftOfNoAThirdOfAButtonApart)
{
    const MessageText &m = OldWordBaseMessage;
    LatinPart = "()?";
    INT_PTR result = ShowAndInspect(m.Chinese, m.English, MessageStyleYesNo, CloseByYes);
    ASSERT_TRUE(Seen.found);
    EXPECT_EQ(6, result);
    int bw = Seen.buttonWidth, bh = Seen.buttonHeight;
    int bytes = (int)strlen(m.Chinese);
    int W = TextWidth((bytes - 3) / 2 * 16 + Seen.latinWidth, bytes), H = TextHeight();
    ExpectPlacedOnScreen(W, H, 3 * bw);

    const RECT &yes = Seen.control[6], &no = Seen.control[7];
    int x1 = (W - (7 * bw) / 3) / 2;
    EXPECT_TRUE(Seen.visible[6]);
    EXPECT_TRUE(Seen.visible[7]);
    EXPECT_FALSE(Seen.visible[1]);
    EXPECT_FALSE(Seen.visible[2]);
    EXPECT_EQ(x1, yes.left);
    EXPECT_EQ(x1 + (4 * bw) / 3, no.left);
    EXPECT_EQ(H - (3 * bh) / 2, yes.top);
    EXPECT_EQ(yes.top, no.top);
    EXPECT_EQ(bw, Width(no));
    EXPECT_NEAR(bw / 3, no.left - yes.right, 1);
    SavePicture("message_dialog_yes_no.png");
}

// Style 5, the offer to look again for a held file: Retry left of Cancel as
// Yes of No, the dialog opening on Retry; Esc gives Cancel.
TEST_F(MessageDialog, RetryOfferPlacesRetryLeftOfCancelAndOpensOnRetry)
{
    char chinese[128];
    snprintf(chinese, sizeof(chinese), FileInUseChineseFormat, "Lumabook.exe");
    INT_PTR result = ShowAndInspect(chinese, "Lumabook.exe is in use.", MessageStyleRetryCancel, CloseByEscape);
    ASSERT_TRUE(Seen.found);
    EXPECT_EQ(IDCANCEL, result);
    EXPECT_EQ(IDRETRY, Seen.focusId);
    const RECT &retry = Seen.control[4], &cancel = Seen.control[2];
    EXPECT_TRUE(Seen.visible[4]);
    EXPECT_TRUE(Seen.visible[2]);
    EXPECT_FALSE(Seen.visible[1] || Seen.visible[6] || Seen.visible[7]);
    EXPECT_EQ(TextHeight() - (3 * Seen.buttonHeight) / 2, cancel.top);
    EXPECT_NEAR(Seen.buttonWidth / 3, cancel.left - retry.right, 1);
    SavePicture("message_dialog_retry_cancel.png");
}

// Esc and the close box go through the dialog manager's Cancel: 2, also when
// no Cancel button is shown, so a question closed that way counts as No.
TEST_F(MessageDialog, EscapeAndCloseBoxAnswerTwo)
{
    const MessageText &m = OldWordBaseMessage;
    EXPECT_EQ(2, ShowAndInspect(m.Chinese, m.English, MessageStyleYesNo, CloseByEscape));
    EXPECT_TRUE(Seen.found);
    EXPECT_EQ(2, ShowAndInspect(m.Chinese, m.English, MessageStyleYesNo, CloseByCloseBox));
    EXPECT_EQ(2, ShowAndInspect(NoAnswerMessage.Chinese, NoAnswerMessage.English, MessageStyleOk, CloseByCloseBox));
}

// 40 characters (80 bytes) still get two button heights of room; 81 bytes do not.
TEST_F(MessageDialog, ChineseTextOf80BytesGetsExtraWidthAnd81DoesNot)
{
    std::string eighty;
    for (int i = 0; i < 40; i++)
        eighty += "中";
    ASSERT_EQ(80u, eighty.size());
    ShowAndInspect(eighty.c_str(), "x", MessageStyleOk, CloseByOk);
    ASSERT_TRUE(Seen.found);
    EXPECT_EQ(TextWidth(640, 80), Width(Seen.window));
    EXPECT_EQ(640 + 2 * GetSystemMetrics(SM_CXDLGFRAME) + 2 * Seen.buttonHeight, Width(Seen.window));

    std::string eightyOne = eighty + "A";
    LatinPart = "A";
    ShowAndInspect(eightyOne.c_str(), "x", MessageStyleOk, CloseByOk);
    ASSERT_TRUE(Seen.found);
    EXPECT_EQ(640 + Seen.latinWidth + 2 * GetSystemMetrics(SM_CXDLGFRAME), Width(Seen.window));
}

TEST_F(MessageDialog, MessageWithoutEnglishIsTwoEnglishHeightsLowerAndHidesThatLine)
{
    ShowAndInspect(NoAnswerMessage.Chinese, NoAnswerMessage.English, MessageStyleOk, CloseByOk);
    ASSERT_TRUE(Seen.found);
    int withEnglish = Height(Seen.window), englishHeight = Seen.englishHeight;
    ASSERT_GT(englishHeight, 0);
    EXPECT_TRUE(Seen.visible[3]);

    LatinPart = ".";
    ShowAndInspect(NoAnswerMessage.Chinese, 0, MessageStyleOk, CloseByOk);
    ASSERT_TRUE(Seen.found);
    EXPECT_EQ(withEnglish - 2 * englishHeight, Height(Seen.window));
    EXPECT_FALSE(Seen.visible[3]);
    EXPECT_STREQ("", MessageEnglishText);
    // Seven characters alone are narrower than the buttons: the window takes
    // the width of two buttons, and its OK button lies wholly inside it.
    ASSERT_LT(TextWidth(6 * 16 + Seen.latinWidth, 13), 2 * Seen.buttonWidth);
    EXPECT_EQ(2 * Seen.buttonWidth, Width(Seen.window));
    EXPECT_LE(Seen.control[1].right, Seen.client.right);
}

// The control's text may come back changed through the system's code page;
// the caption is painted from the message's own bytes all the same.
TEST_F(MessageDialog, ChineseLineIsPaintedFromTheMessageBytesNotTheControlText)
{
    const MessageText &m = NoAnswerMessage;   // "请您回答提问." : six characters and a full stop
    LatinPart = ".";
    ReplacedLabelText = "??????.";
    ShowAndInspect(m.Chinese, m.English, MessageStyleOk, CloseByOk);
    ASSERT_TRUE(Seen.found);
    int x = (Seen.client.right - (6 * 16 + Seen.latinWidthInLabel)) / 2;
    for (int i = 0; i < 6; i++)
        EXPECT_TRUE(GlyphShownAt((unsigned char)m.Chinese[2 * i] << 8 | (unsigned char)m.Chinese[2 * i + 1],
                                 x + 16 * i, 26)) << "character " << i;
}

TEST_F(MessageDialog, OverlongEnglishTextIsCutToItsBuffer)
{
    std::string english(200, 'e');
    english[126] = 'L';
    english[127] = 'X';
    ShowAndInspect(NoAnswerMessage.Chinese, english.c_str(), MessageStyleOk, CloseByOk);
    ASSERT_TRUE(Seen.found);
    EXPECT_EQ(127u, strlen(MessageEnglishText));
    EXPECT_EQ(english.substr(0, 127), std::string(Seen.englishShown));
}

// Counts copies from a missing glyph sheet: the import of BitBlt in this
// program is pointed at a counter that passes every call on.
typedef BOOL(WINAPI *BitBltFunction)(HDC, int, int, int, int, HDC, int, int, DWORD);
static BitBltFunction RealBitBlt;
static int NullSourceCopies;

static BOOL WINAPI CountingBitBlt(HDC dc, int x, int y, int w, int h, HDC source, int sx, int sy, DWORD rop)
{
    if (!source)
        NullSourceCopies++;
    return RealBitBlt(dc, x, y, w, h, source, sx, sy, rop);
}

static void **ImportSlot(const char *dll, const char *function)
{
    BYTE *base = (BYTE *)GetModuleHandleA(0);
    IMAGE_NT_HEADERS *nt = (IMAGE_NT_HEADERS *)(base + ((IMAGE_DOS_HEADER *)base)->e_lfanew);
    IMAGE_DATA_DIRECTORY imports = nt->OptionalHeader.DataDirectory[IMAGE_DIRECTORY_ENTRY_IMPORT];
    for (IMAGE_IMPORT_DESCRIPTOR *d = (IMAGE_IMPORT_DESCRIPTOR *)(base + imports.VirtualAddress); d->Name; d++) {
        if (lstrcmpiA((const char *)base + d->Name, dll))
            continue;
        IMAGE_THUNK_DATA *names = (IMAGE_THUNK_DATA *)(base + d->OriginalFirstThunk);
        IMAGE_THUNK_DATA *slots = (IMAGE_THUNK_DATA *)(base + d->FirstThunk);
        for (; names->u1.AddressOfData; names++, slots++) {
            if (IMAGE_SNAP_BY_ORDINAL(names->u1.Ordinal))
                continue;
            IMAGE_IMPORT_BY_NAME *byName = (IMAGE_IMPORT_BY_NAME *)(base + names->u1.AddressOfData);
            if (!strcmp((const char *)byName->Name, function))
                return (void **)&slots->u1.Function;
        }
    }
    return 0;
}

static void SetImport(void **slot, void *function)
{
    DWORD previous;
    VirtualProtect(slot, sizeof(*slot), PAGE_READWRITE, &previous);
    *slot = function;
    VirtualProtect(slot, sizeof(*slot), previous, &previous);
}

// The out-of-memory message comes before the glyph sheets exist: the dialog
// still opens with its English line, and nothing is copied from a missing sheet.
TEST_F(MessageDialog, OpensWithItsEnglishLineBeforeTheGlyphSheetsExist)
{
    void **slot = ImportSlot("gdi32.dll", "BitBlt");
    ASSERT_TRUE(slot);
    HDC sheets[GlyphSheetCount];
    memcpy(sheets, GlyphDCs, sizeof(sheets));
    memset(GlyphDCs, 0, sizeof(GlyphDCs));
    RealBitBlt = (BitBltFunction)*slot;
    NullSourceCopies = 0;
    SetImport(slot, (void *)CountingBitBlt);

    const MessageText &m = MemoryShortMessage;
    INT_PTR result = ShowAndInspect(m.Chinese, m.English, MessageStyleOk, CloseByOk);

    SetImport(slot, (void *)RealBitBlt);
    memcpy(GlyphDCs, sheets, sizeof(sheets));
    ASSERT_TRUE(Seen.found);
    EXPECT_EQ(1, result);
    EXPECT_EQ(0, NullSourceCopies);
    EXPECT_TRUE(Seen.visible[3]);
    EXPECT_STREQ(m.English, Seen.englishShown);
    EXPECT_TRUE(Seen.visible[1]);
}
