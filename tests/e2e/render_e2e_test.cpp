// The real wizard drawn on a Wine that has no Chinese, Japanese or Korean font:
// every owner-drawn caption of every page, the Chinese licence lines, the
// language items and a message show the glyph cells of their Chinese text
// exactly where the drawing rules put them, next to their Latin text.
#include "driver/setup_driver.h"
#include "driver/caption_check.h"
#include "support/test_paths.h"
#include "support/unifont_glyphs.h"
#include "resources/resource_ids.h"
#include <gtest/gtest.h>
#include <zlib.h>
#include <stdlib.h>
#include <functional>
#include <string>
#include <vector>

static const char WizardCaption[] = "Lumabook Installer";
static const char MessageCaption[] = "Lumabook Install Message";
const int PollMs = 20;
const int ListItemHeight = 23;      // the wizard's answer to WM_MEASUREITEM
const int ItemTextInset = 2;
const int LicenceBufferBytes = 65536;
const char LicenceLineEnd = 13;
const char LicenceLineFeed = 10;

enum CaptionKind { Centred, LeftAligned, CheckBox };

struct PageCaption {
    int id;
    const char *caption;
    CaptionKind kind;
};

// Shown on every page until Install.
static const PageCaption PanelCaptions[] = {
    { ID_PANEL_FAMILY_LABEL,  "《蓝桥墨》 Zenpo",   Centred },
    { ID_PANEL_EDITION_LABEL, "文本编辑 Lumabook",  Centred },
    { ID_PANEL_SETUP_LABEL,   "安装程序",           Centred },
    { ID_CANCEL_BUTTON,       "取消 Cancel",        Centred },
};

static const PageCaption DestinationPage[] = {
    { ID_INSTALL_PATH_LABEL,  "安装路径： (Install Path)", LeftAligned },
    { ID_BROWSE_BUTTON,       "改变 Browse ....",          Centred },
    { ID_DESKTOP_ICON_CHECK,  "建立桌面图标？  (Place an icon on Desktop)", CheckBox },
    { ID_NEXT_BUTTON,         "下一步 Next",               Centred },
};

static const PageCaption DisplayCheckPage[] = {
    { ID_DISPLAY_QUESTION_LABEL, "以上中文显示正确吗 (Is the Above Chinese Display OK)?", Centred },
    { ID_DISPLAY_OK_CHECK,    "正确(OK)",      CheckBox },
    { ID_DISPLAY_NO_CHECK,    "不正确(NO)",    CheckBox },
    { ID_BACK_BUTTON,         "退一步 Back",   Centred },
    { ID_NEXT_BUTTON,         "下一步 Next",   Centred },
};

static const PageCaption LicencePage[] = {
    { ID_BACK_BUTTON,         "退一步 Back",   Centred },
    { ID_NEXT_BUTTON,         "下一步 Next",   Centred },
};

static const PageCaption LanguagePage[] = {
    { ID_LANGUAGE_LABEL,      "User Interface Language 用户界面语言", Centred },
    { ID_BACK_BUTTON,         "退一步 Back",   Centred },
    { ID_NEXT_BUTTON,         "同意/安装 Agree/Install", Centred },
};

// The language list in the order the wizard fills it while English is the choice.
static const char *const LanguageItems[] = {
    "English 英文",
    "Chinese(Simplified)  中文简体",
    "Chinese(Traditional) 中文繁体",
};

static const char UnansweredChinese[] = "请您回答提问.";

static unsigned Sys(int index)
{
    return GetSysColor(index);
}

// The Chinese licence as the program carries it, split into its list lines.
static std::vector<std::string> LicenceLinesOfTheResource()
{
    std::vector<std::string> lines;
    HMODULE setup = LoadSetupAsData();
    if (!setup)
        return lines;
    HRSRC entry = FindResourceA(setup, MAKEINTRESOURCEA(ID_CHINESE_LICENCE_TEXT), "TEXT");
    std::vector<unsigned char> text(LicenceBufferBytes);
    uLongf length = text.size();
    if (entry) {
        const Bytef *stream = (const Bytef *)LockResource(LoadResource(setup, entry));
        if (uncompress(text.data(), &length, stream, SizeofResource(setup, entry)) != Z_OK)
            length = 0;
    }
    FreeLibrary(setup);
    std::string line;
    for (uLongf i = 0; i < length; i++) {
        if (text[i] != (unsigned char)LicenceLineEnd) {
            line += (char)text[i];
            continue;
        }
        lines.push_back(line);
        line.clear();
        if (i + 1 < length && text[i + 1] == (unsigned char)LicenceLineFeed)
            i++;
    }
    return lines;
}

static int HasTwoByteCharacter(const std::string &text)
{
    for (char c : text)
        if (c & 0x80)
            return 1;
    return 0;
}

// The LANG the run has, for the names of its pictures.
static std::string PictureName(const char *name)
{
    const char *lang = getenv("LANG");
    if (!lang || !*lang || std::string(lang) == "C")
        return std::string(name) + ".png";
    return std::string(name) + "." + lang + ".png";
}

class WizardRendering : public ::testing::Test {
protected:
    static HFONT wizardFont, messageFont;
    SetupRun run;

    static void SetUpTestSuite()
    {
        ASSERT_TRUE(LoadUnifont());
        wizardFont = DialogFontOfTemplate(ID_WIZARD_DIALOG);
        messageFont = DialogFontOfTemplate(ID_MESSAGE_DIALOG);
        ASSERT_TRUE(wizardFont && messageFont) << "cannot make the dialogs' fonts";
    }

    static void TearDownTestSuite()
    {
        DeleteObject(wizardFont);
        DeleteObject(messageFont);
    }

    void SetUp() override
    {
        ZeroMemory(&run, sizeof(run));
        ASSERT_TRUE(StartSetup(&run, SetupExePath()));
        run.wizard = WaitForProcessWindow(run.process.dwProcessId, WizardCaption, DriverTimeoutMs);
        ASSERT_TRUE(run.wizard) << "no wizard window appeared";
    }

    void TearDown() override
    {
        if (run.wizard)
            ClickControl(run.wizard, ID_CANCEL_BUTTON);
        DWORD code;
        WaitForExit(&run, DriverTimeoutMs, &code);
        EndSetup(&run);
    }

    int WaitUntilShown(int id)
    {
        for (int waited = 0; waited < DriverTimeoutMs; waited += PollMs) {
            if (IsControlShown(run.wizard, id))
                return 1;
            Sleep(PollMs);
        }
        return 0;
    }

    // Checks or clears a box the way a click leaves it, then tells the wizard.
    void SetCheckBox(int id, int checked)
    {
        DWORD_PTR ignored;
        SendMessageTimeoutA(GetDlgItem(run.wizard, id), BM_SETCHECK, checked ? BST_CHECKED : BST_UNCHECKED, 0,
                            SMTO_ABORTIFHUNG, DriverTimeoutMs, &ignored);
        ClickControl(run.wizard, id);
    }

    void Next(int shownOnTheNextPage)
    {
        ClickControl(run.wizard, ID_NEXT_BUTTON);
        ASSERT_TRUE(WaitUntilShown(shownOnTheNextPage)) << "control " << shownOnTheNextPage << " did not appear";
    }

    void GoToLicencePage()
    {
        Next(ID_DISPLAY_QUESTION_LABEL);
        SetCheckBox(ID_DISPLAY_OK_CHECK, 1);
        Next(ID_ENGLISH_LICENCE_CHECK);
    }

    // The last capture's mismatches count when the wait for them runs out.
    void CaptureWhenDrawn(HWND window, Capture *capture, const char *pictureName, const CaptureCheck &check)
    {
        std::string failures;
        ::CaptureWhenDrawn(window, capture, check, &failures);
        if (pictureName && !capture->pixels.empty())
            SaveCapture(*capture, ArtifactPath(PictureName(pictureName).c_str()));
        EXPECT_TRUE(failures.empty()) << failures;
    }

    // Buttons and labels: the face colour, the colours the button's context
    // comes with, the dialog's font.
    static CaptionLook ButtonLook(HFONT font)
    {
        CaptionLook look = { Sys(COLOR_BTNFACE), Sys(COLOR_WINDOWTEXT), Sys(COLOR_BTNFACE), 0, font };
        return look;
    }

    // Check boxes paint in a fresh context: default colours and the system font.
    static CaptionLook CheckBoxLook()
    {
        CaptionLook look = { Sys(COLOR_BTNFACE), RGB(0, 0, 0), RGB(255, 255, 255), 0, (HFONT)GetStockObject(SYSTEM_FONT) };
        return look;
    }

    static CaptionLook ItemLook(int selected, HFONT font)
    {
        COLORREF back = Sys(selected ? COLOR_HIGHLIGHT : COLOR_WINDOW);
        CaptionLook look = { back, Sys(selected ? COLOR_HIGHLIGHTTEXT : COLOR_WINDOWTEXT), back, selected, font };
        return look;
    }

    // A button or label caption: centred (l + (w - width) / 2) or at the left
    // edge, and halfway down (t + (h - 16) / 2), in the control's client area.
    // A check box caption stands one box width right of its box, 3 pixels
    // below the top of the face, which reaches 2 pixels past the client area.
    void CheckCaption(std::string *failures, HWND window, const Capture &capture, const PageCaption &expected,
                      HFONT font)
    {
        RECT area = ClientAreaInCapture(window, GetDlgItem(window, expected.id));
        int w = area.right - area.left, h = area.bottom - area.top;
        int x, y;
        CaptionLook look = expected.kind == CheckBox ? CheckBoxLook() : ButtonLook(font);
        if (expected.kind == CheckBox) {
            const int faceMargin = 2, captionDrop = 3;
            int faceLeft = -faceMargin, faceTop = -faceMargin, faceHeight = h + 2 * faceMargin;
            int boxLeft = faceLeft + faceHeight / 4 - faceHeight / 8;
            int boxRight = faceLeft + faceHeight - faceHeight / 4 - faceHeight / 7;
            x = area.left + 2 * boxRight - boxLeft;
            y = area.top + faceTop + captionDrop;
        } else {
            int width = ExpectedCaptionWidth(font, expected.caption);
            x = area.left + (expected.kind == Centred ? (w - width) / 2 : 0);
            y = area.top + (h - GlyphCellSize) / 2;
        }
        char name[32];
        wsprintfA(name, "caption_%d", expected.id);
        std::string failure;
        if (!CaptionShownAt(capture, area, x, y, expected.caption, look, name, &failure))
            *failures += failure + "\n";
    }

    template <size_t N>
    void CheckCaptions(std::string *failures, const Capture &capture, const PageCaption (&captions)[N])
    {
        for (const PageCaption &expected : PanelCaptions)
            CheckCaption(failures, run.wizard, capture, expected, wizardFont);
        for (const PageCaption &expected : captions)
            CheckCaption(failures, run.wizard, capture, expected, wizardFont);
    }

    // One item of a list or combo box whose items stand 23 pixels apart from
    // the top of area: its text 2 pixels in from the item's left and top edges.
    void CheckItem(std::string *failures, const Capture &capture, const RECT &area, int itemTop, const char *text,
                   int selected, const char *name)
    {
        std::string failure;
        if (!CaptionShownAt(capture, area, area.left + ItemTextInset, itemTop + ItemTextInset, text,
                            ItemLook(selected, wizardFont), name, &failure))
            *failures += failure + "\n";
    }

    HWND WaitForDroppedList()
    {
        for (int waited = 0; waited < DriverTimeoutMs; waited += PollMs) {
            HWND found = FindProcessWindowOfClass("ComboLBox");
            if (found)
                return found;
            Sleep(PollMs);
        }
        return 0;
    }

    HWND FindProcessWindowOfClass(const char *className)
    {
        for (HWND window = GetTopWindow(0); window; window = GetWindow(window, GW_HWNDNEXT)) {
            DWORD owner = 0;
            GetWindowThreadProcessId(window, &owner);
            char name[64] = "";
            GetClassNameA(window, name, sizeof(name));
            if (owner == run.process.dwProcessId && IsWindowVisible(window) && lstrcmpiA(name, className) == 0)
                return window;
        }
        return 0;
    }
};

HFONT WizardRendering::wizardFont;
HFONT WizardRendering::messageFont;

// The bounding box of the pixels of one colour within area of a capture.
static RECT AreaOfColour(const Capture &capture, const RECT &area, COLORREF colour)
{
    unsigned rgb = (GetRValue(colour) << 16) | (GetGValue(colour) << 8) | GetBValue(colour);
    RECT box = { area.right, area.bottom, area.left, area.top };
    for (int y = area.top; y < area.bottom; y++)
        for (int x = area.left; x < area.right; x++)
            if (capture.pixels[y * capture.width + x] == rgb) {
                box.left = x < box.left ? x : box.left;
                box.top = y < box.top ? y : box.top;
                box.right = x + 1 > box.right ? x + 1 : box.right;
                box.bottom = y + 1 > box.bottom ? y + 1 : box.bottom;
            }
    return box;
}

TEST_F(WizardRendering, DestinationPageDrawsEveryCaptionInGlyphs)
{
    Capture capture;
    ASSERT_TRUE(WaitUntilShown(ID_INSTALL_PATH_LABEL));
    CaptureWhenDrawn(run.wizard, &capture, "page0", [&](const Capture &seen, std::string *failures) {
        CheckCaptions(failures, seen, DestinationPage);
    });
}

TEST_F(WizardRendering, DisplayCheckPageDrawsTheQuestionAndBothAnswers)
{
    Next(ID_DISPLAY_QUESTION_LABEL);
    SetCheckBox(ID_DISPLAY_OK_CHECK, 1);
    Capture capture;
    CaptureWhenDrawn(run.wizard, &capture, "page1", [&](const Capture &seen, std::string *failures) {
        CheckCaptions(failures, seen, DisplayCheckPage);
    });
}

// Unchecking "English" shows the Chinese licence: every line in view is the
// resource's line, drawn from its glyphs 2 pixels into its 23-pixel item.
TEST_F(WizardRendering, LicencePageDrawsTheChineseLinesOfTheResource)
{
    std::vector<std::string> lines = LicenceLinesOfTheResource();
    ASSERT_GT(lines.size(), 10u);
    GoToLicencePage();
    SetCheckBox(ID_ENGLISH_LICENCE_CHECK, 0);
    ASSERT_TRUE(WaitUntilShown(ID_CHINESE_LICENCE_LIST));
    int glyphLines = 0;
    Capture capture;
    CaptureWhenDrawn(run.wizard, &capture, "page2", [&](const Capture &seen, std::string *failures) {
        CheckCaptions(failures, seen, LicencePage);
        RECT list = ClientAreaInCapture(run.wizard, GetDlgItem(run.wizard, ID_CHINESE_LICENCE_LIST));
        glyphLines = 0;
        for (size_t i = 0; i < lines.size(); i++) {
            int itemTop = list.top + (int)i * ListItemHeight;
            if (itemTop + ItemTextInset + GlyphCellSize > list.bottom)
                break;
            char name[32];
            wsprintfA(name, "licence_line_%d", (int)i);
            CheckItem(failures, seen, list, itemTop, lines[i].c_str(), 0, name);
            glyphLines += HasTwoByteCharacter(lines[i]);
        }
    });
    EXPECT_GE(glyphLines, 5) << "too few Chinese lines in view to prove anything";
}

// The language page: the caption, Agree/Install; the chosen language in the
// closed combo box in selection colours with its glyphs ORed; then the
// dropped list with the chosen item selected and the other two plain.
TEST_F(WizardRendering, LanguagePageDrawsItsCaptionsAndTheLanguageItems)
{
    GoToLicencePage();
    Next(ID_LANGUAGE_LABEL);
    ASSERT_TRUE(FocusControl(run.wizard, ID_LANGUAGE_COMBO));
    // The closed box shows its item selected only while it has the focus; a
    // window of a test running beside this one can take it away for a moment.
    Capture capture;
    CaptureWhenDrawn(run.wizard, &capture, "page3", [&](const Capture &seen, std::string *failures) {
        CheckCaptions(failures, seen, LanguagePage);
        RECT combo = ClientAreaInCapture(run.wizard, GetDlgItem(run.wizard, ID_LANGUAGE_COMBO));
        RECT chosen = AreaOfColour(seen, combo, Sys(COLOR_HIGHLIGHT));
        if (chosen.left >= chosen.right) {
            *failures += "the closed combo box shows no selected item\n";
            FocusControl(run.wizard, ID_LANGUAGE_COMBO);
            return;
        }
        CheckItem(failures, seen, chosen, chosen.top, LanguageItems[0], 1, "closed_combo_item");
    });

    SetCursorPos(0, 0);     // a pointer over the dropped list would move its selection
    PostMessageA(GetDlgItem(run.wizard, ID_LANGUAGE_COMBO), CB_SHOWDROPDOWN, TRUE, 0);
    HWND dropped = WaitForDroppedList();
    ASSERT_TRUE(dropped) << "the language list did not drop down";
    Capture listCapture;
    CaptureWhenDrawn(dropped, &listCapture, "page3_languages", [&](const Capture &seen, std::string *failures) {
        RECT items = ClientAreaInCapture(dropped, dropped);
        for (int i = 0; i < 3; i++) {
            char name[32];
            wsprintfA(name, "language_item_%d", i);
            CheckItem(failures, seen, items, items.top + i * ListItemHeight, LanguageItems[i], i == 0, name);
        }
    });
    PostMessageA(GetDlgItem(run.wizard, ID_LANGUAGE_COMBO), CB_SHOWDROPDOWN, FALSE, 0);
}

// Next on the display check page without an answer: the message's Chinese line
// centred in its label, and the OK button's caption, in glyphs.
TEST_F(WizardRendering, UnansweredQuestionMessageDrawsItsChineseLine)
{
    Next(ID_DISPLAY_QUESTION_LABEL);
    ClickControl(run.wizard, ID_NEXT_BUTTON);
    HWND message = WaitForProcessWindow(run.process.dwProcessId, MessageCaption, DriverTimeoutMs);
    ASSERT_TRUE(message) << "no message appeared";
    const PageCaption chineseLine = { ID_MESSAGE_CHINESE_LABEL, UnansweredChinese, Centred };
    const PageCaption okButton = { ID_OK_BUTTON, "确认 OK", Centred };
    Capture capture;
    CaptureWhenDrawn(message, &capture, "message", [&](const Capture &seen, std::string *failures) {
        CheckCaption(failures, message, seen, chineseLine, messageFont);
        CheckCaption(failures, message, seen, okButton, messageFont);
    });
    ClickControl(message, ID_OK_BUTTON);
    for (int waited = 0; waited < DriverTimeoutMs && IsWindowVisible(message); waited += PollMs)
        Sleep(PollMs);
    EXPECT_FALSE(IsWindowVisible(message));
    EXPECT_TRUE(IsControlShown(run.wizard, ID_DISPLAY_QUESTION_LABEL));
}
