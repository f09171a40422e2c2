// The real wizard's pages under Wine: Next and Back through the four pages, the
// display question and its answers, the licence page, the language list, the
// ways out, and the Enter key.
#include "e2e/wizard_e2e_support.h"
#include "support/test_paths.h"
#include "resources/resource_ids.h"
#include <zlib.h>
#include <algorithm>
#include <vector>

TEST_F(Wizard, NextAndBackWalkThePagesAndKeepTheAnswerOnlyOnBack)
{
    StartWizard();
    ASSERT_TRUE(OnPage(0));
    ClickControl(run.wizard, ID_NEXT_BUTTON);
    ASSERT_TRUE(WaitForControlShown(run.wizard, ID_DISPLAY_QUESTION_LABEL, 1, DriverTimeoutMs));
    EXPECT_TRUE(OnPage(1));
    EXPECT_TRUE(IsControlShown(run.wizard, ID_SAMPLE_LINE_LABEL));
    EXPECT_TRUE(IsControlShown(run.wizard, ID_BACK_BUTTON));
    EXPECT_TRUE(IsControlEnabled(run.wizard, ID_BACK_BUTTON));

    // The answers exclude each other, whichever comes second. The box clicked
    // shows its check before the wizard clears the other one.
    const int answers[] = { ID_DISPLAY_OK_CHECK, ID_DISPLAY_NO_CHECK, ID_DISPLAY_OK_CHECK, ID_DISPLAY_NO_CHECK };
    for (int i = 0; i < 4; i++) {
        int other = answers[i] == ID_DISPLAY_OK_CHECK ? ID_DISPLAY_NO_CHECK : ID_DISPLAY_OK_CHECK;
        PressButton(run.wizard, answers[i]);
        ASSERT_TRUE(WaitForCheck(run.wizard, answers[i], 1)) << "answer " << i;
        EXPECT_TRUE(WaitForCheck(run.wizard, other, 0)) << "both answers checked after answer " << i;
    }
    EXPECT_TRUE(IsControlChecked(run.wizard, ID_DISPLAY_NO_CHECK));

    ClickControl(run.wizard, ID_NEXT_BUTTON);
    ASSERT_TRUE(WaitForControlShown(run.wizard, ID_ENGLISH_LICENCE_CHECK, 1, DriverTimeoutMs));
    EXPECT_TRUE(OnPage(2));

    ClickControl(run.wizard, ID_BACK_BUTTON);
    ASSERT_TRUE(WaitForControlShown(run.wizard, ID_DISPLAY_QUESTION_LABEL, 1, DriverTimeoutMs));
    EXPECT_TRUE(OnPage(1));
    EXPECT_TRUE(IsControlChecked(run.wizard, ID_DISPLAY_NO_CHECK)) << "Back from the licence lost the answer";

    ClickControl(run.wizard, ID_BACK_BUTTON);
    ASSERT_TRUE(WaitForControlShown(run.wizard, ID_DESTINATION_EDIT, 1, DriverTimeoutMs));
    EXPECT_TRUE(OnPage(0));
    EXPECT_FALSE(IsControlShown(run.wizard, ID_BACK_BUTTON));
    EXPECT_FALSE(IsControlEnabled(run.wizard, ID_BACK_BUTTON));

    ClickControl(run.wizard, ID_NEXT_BUTTON);
    ASSERT_TRUE(WaitForControlShown(run.wizard, ID_DISPLAY_QUESTION_LABEL, 1, DriverTimeoutMs));
    EXPECT_FALSE(IsControlChecked(run.wizard, ID_DISPLAY_OK_CHECK));
    EXPECT_FALSE(IsControlChecked(run.wizard, ID_DISPLAY_NO_CHECK)) << "the question was not asked afresh";
}

TEST_F(Wizard, NextWithoutAnAnswerAsksForOneAndStays)
{
    StartWizard();
    GoToPage(1);
    ClickControl(run.wizard, ID_NEXT_BUTTON);
    HWND message = WaitForMessage();
    ASSERT_TRUE(message) << "no message appeared";
    EXPECT_TRUE(MessageSays(message, "Please select a choice.")) << WindowTexts(message);
    CloseMessage(message);
    EXPECT_TRUE(OnPage(1));
    EXPECT_TRUE(StillRunning());

    // Unchecking the only answer leaves none, so the question is asked again.
    PressButton(run.wizard, ID_DISPLAY_OK_CHECK);
    ASSERT_TRUE(WaitForCheck(run.wizard, ID_DISPLAY_OK_CHECK, 1));
    PressButton(run.wizard, ID_DISPLAY_OK_CHECK);
    ASSERT_TRUE(WaitForCheck(run.wizard, ID_DISPLAY_OK_CHECK, 0));
    ClickControl(run.wizard, ID_NEXT_BUTTON);
    message = WaitForMessage();
    ASSERT_TRUE(message) << "no message after the answer was taken back";
    CloseMessage(message);
    EXPECT_TRUE(OnPage(1));
}

// Cancel, Esc and the close box end the program from every page, writing nothing.
TEST_F(Wizard, EveryWayOutEndsThePageWithoutWriting)
{
    std::string destination = MakeScratchDir("ways_out") + "\\Lumabook";
    const char *ways[] = { "Cancel", "Esc", "close box" };
    for (int page = 0; page < 4; page++)
        for (int way = 0; way < 3; way++) {
            SCOPED_TRACE(std::string(ways[way]) + " on page " + std::to_string(page));
            StartWizard();
            SetControlText(run.wizard, ID_DESTINATION_EDIT, destination);
            GoToPage(page);
            if (way == 0)
                ClickControl(run.wizard, ID_CANCEL_BUTTON);
            else if (way == 1) {
                ASSERT_TRUE(FocusControl(run.wizard, ID_NEXT_BUTTON));
                PressKey(run.wizard, VK_ESCAPE);
            } else
                PostMessageA(run.wizard, WM_SYSCOMMAND, SC_CLOSE, 0);
            EXPECT_EQ(0u, ExitCode());
            EXPECT_FALSE(FolderExists(destination));
            EndSetup(&run);
        }
}

// The Chinese licence as stored in the program, inflated here on its own.
static std::vector<std::string> ChineseLicenceLines()
{
    HMODULE setup = LoadSetupAsData();
    HRSRC entry = FindResourceA(setup, MAKEINTRESOURCEA(ID_CHINESE_LICENCE_TEXT), "TEXT");
    EXPECT_TRUE(entry);
    std::vector<std::string> lines;
    if (!entry)
        return lines;
    std::vector<unsigned char> text(65536);
    uLongf length = text.size();
    EXPECT_EQ(Z_OK, uncompress(text.data(), &length, (const Bytef *)LockResource(LoadResource(setup, entry)),
                               SizeofResource(setup, entry)));
    std::string line;
    for (uLongf i = 0; i < length && lines.size() < 500; i++) {
        if (text[i] == '\r') {
            lines.push_back(line);
            line.clear();
            if (i + 1 < length && text[i + 1] == '\n')
                i++;
        } else
            line += (char)text[i];
    }
    FreeLibrary(setup);
    return lines;
}

// The program's GB2312 bytes as the characters they are, whatever this system's code page.
static std::wstring Wide(const std::string &gb2312)
{
    std::wstring wide(gb2312.size() + 1, L'\0');
    int n = MultiByteToWideChar(936, 0, gb2312.c_str(), -1, &wide[0], (int)wide.size());
    wide.resize(n > 0 ? n - 1 : 0);
    return wide;
}

// A list item's data points at the program's own copy of its line.
static std::string LineAtItemData(const SetupRun &run, LONG_PTR address, size_t length)
{
    std::string bytes(length + 1, '?');
    SIZE_T read = 0;
    if (!ReadProcessMemory(run.process.hProcess, (LPCVOID)address, &bytes[0], bytes.size(), &read))
        return "(unreadable)";
    return bytes;
}

// The page switch shows both licence controls before it hides one, so the
// test waits for the settled state: exactly the wanted one shown.
static int WaitForLicence(HWND wizard, int english)
{
    for (int waited = 0; waited < DriverTimeoutMs; waited += 20) {
        if (IsControlShown(wizard, ID_ENGLISH_LICENCE_EDIT) == english
            && IsControlShown(wizard, ID_CHINESE_LICENCE_LIST) == !english)
            return 1;
        Sleep(20);
    }
    return 0;
}

TEST_F(Wizard, LicencePageShowsEnglishFirstThenTheChineseLines)
{
    std::vector<std::string> lines = ChineseLicenceLines();
    ASSERT_GT(lines.size(), 10u);
    StartWizard();
    GoToPage(2);
    EXPECT_TRUE(IsControlChecked(run.wizard, ID_ENGLISH_LICENCE_CHECK));
    ASSERT_TRUE(WaitForLicence(run.wizard, 1)) << "the English licence is not shown alone";
    EXPECT_GT(ControlText(run.wizard, ID_ENGLISH_LICENCE_EDIT).size(), 200u);

    PressButton(run.wizard, ID_ENGLISH_LICENCE_CHECK);
    ASSERT_TRUE(WaitForLicence(run.wizard, 0)) << "the Chinese licence is not shown alone";
    ASSERT_EQ((int)lines.size(), ListItemCount(run.wizard, ID_CHINESE_LICENCE_LIST, 0));
    for (int i : { 0, 1, (int)lines.size() / 2, (int)lines.size() - 1 }) {
        SCOPED_TRACE("line " + std::to_string(i));
        EXPECT_EQ(Wide(lines[i]), ListItemText(run.wizard, ID_CHINESE_LICENCE_LIST, 0, i));
        std::string own = LineAtItemData(run, ListItemData(run.wizard, ID_CHINESE_LICENCE_LIST, 0, i), lines[i].size());
        EXPECT_EQ(lines[i] + '\0', own);
    }

    // Back and forth again: the lines are loaded once, not added twice.
    ClickControl(run.wizard, ID_BACK_BUTTON);
    ASSERT_TRUE(WaitForControlShown(run.wizard, ID_DISPLAY_QUESTION_LABEL, 1, DriverTimeoutMs));
    ClickControl(run.wizard, ID_NEXT_BUTTON);
    EXPECT_TRUE(WaitForLicence(run.wizard, 1)) << "Next from page 1 shows English first";
    EXPECT_EQ((int)lines.size(), ListItemCount(run.wizard, ID_CHINESE_LICENCE_LIST, 0));
}

TEST_F(Wizard, LanguageListOffersThreeLanguagesEnglishSelected)
{
    StartWizard();
    GoToPage(3);
    const char *texts[] = { "English 英文", "Chinese(Simplified)  中文简体", "Chinese(Traditional) 中文繁体" };
    ASSERT_EQ(3, ListItemCount(run.wizard, ID_LANGUAGE_COMBO, 1));
    for (int i = 0; i < 3; i++) {
        EXPECT_EQ(i, ListItemData(run.wizard, ID_LANGUAGE_COMBO, 1, i));
        EXPECT_EQ(Wide(texts[i]), ListItemText(run.wizard, ID_LANGUAGE_COMBO, 1, i));
    }
    EXPECT_EQ(0, ListSelection(run.wizard, ID_LANGUAGE_COMBO, 1));
    EXPECT_TRUE(IsControlShown(run.wizard, ID_LANGUAGE_LABEL));
    EXPECT_TRUE(IsControlShown(run.wizard, ID_BACK_BUTTON));
}

TEST_F(Wizard, EnterInTheEditBoxActsAsNextAndOnBackGoesBack)
{
    StartWizard();
    ASSERT_TRUE(FocusControl(run.wizard, ID_DESTINATION_EDIT));
    PressKey(run.wizard, VK_RETURN);
    ASSERT_TRUE(WaitForControlShown(run.wizard, ID_DISPLAY_QUESTION_LABEL, 1, DriverTimeoutMs));
    EXPECT_TRUE(OnPage(1));

    ASSERT_TRUE(FocusControl(run.wizard, ID_BACK_BUTTON));
    PressKey(run.wizard, VK_RETURN);
    ASSERT_TRUE(WaitForControlShown(run.wizard, ID_DESTINATION_EDIT, 1, DriverTimeoutMs));
    EXPECT_TRUE(OnPage(0));
    EXPECT_TRUE(StillRunning());
}

// The English box loses the focus when the page switch hides it; that must not
// bring the licence page back over the language page.
TEST_F(Wizard, EnterOnTheEnglishBoxGoesOnToTheLanguagePage)
{
    StartWizard();
    GoToPage(2);
    ASSERT_TRUE(FocusControl(run.wizard, ID_ENGLISH_LICENCE_CHECK));
    PressKey(run.wizard, VK_RETURN);
    ASSERT_TRUE(WaitForControlShown(run.wizard, ID_LANGUAGE_COMBO, 1, DriverTimeoutMs));
    EXPECT_TRUE(OnPage(3));
    EXPECT_FALSE(IsControlShown(run.wizard, ID_ENGLISH_LICENCE_EDIT));
    EXPECT_FALSE(IsControlShown(run.wizard, ID_CHINESE_LICENCE_LIST));
}

// What a screen reader reads: each shown control's window text, wide, from this
// other process. Null: the control's own value (a path, the licence), not a caption.
typedef std::map<int, const wchar_t *> Names;

static void ExpectNames(HWND window, const Names &expected)
{
    std::map<int, std::wstring> seen, wanted;
    for (HWND child = GetWindow(window, GW_CHILD); child; child = GetWindow(child, GW_HWNDNEXT)) {
        WCHAR text[1024] = L"";
        SendMessageTimeoutW(child, WM_GETTEXT, 1024, (LPARAM)text, SMTO_ABORTIFHUNG, DriverTimeoutMs, 0);
        if (IsWindowVisible(child))
            seen[GetDlgCtrlID(child)] = text;
    }
    for (const auto &name : expected)
        wanted[name.first] = name.second ? name.second : seen.count(name.first) ? seen[name.first] : L"(hidden)";
    EXPECT_EQ(wanted, seen);
}

// The icon, the divider and the blank cell are decoration and stay unnamed.
static Names WithPanel(Names page)
{
    page.insert({ { ID_PANEL_PRODUCT_LABEL, L"Lumabook Writer" }, { ID_PANEL_INSTALLER_LABEL, L"Installer" },
        { ID_WEB_ADDRESS_LABEL, L"www.lumabook.example" }, { ID_PANEL_FAMILY_LABEL, L"《蓝桥墨》 Zenpo" },
        { ID_PANEL_EDITION_LABEL, L"文本编辑 Lumabook" }, { ID_PANEL_SETUP_LABEL, L"安装程序" }, { ID_DIVIDER, L"" },
        { ID_CANCEL_BUTTON, L"取消 Cancel" }, { ID_PANEL_ICON_CONTROL, L"" }, { ID_PANEL_BLANK_LABEL, L"" } });
    return page;
}

TEST_F(Wizard, EveryShownControlIsNamedAsTheScreenShowsIt)
{
    const wchar_t *next = L"下一步 Next", *back = L"退一步 &Back";   // Alt+B still presses Back
    StartWizard();
    ASSERT_TRUE(OnPage(0));
    ExpectNames(run.wizard, WithPanel({ { ID_DESTINATION_EDIT, 0 }, { ID_BROWSE_BUTTON, L"改变 Browse ...." },
        { ID_INSTALL_PATH_LABEL, L"安装路径： (Install Path)" }, { ID_NEXT_BUTTON, next },
        { ID_DESKTOP_ICON_CHECK, L"建立桌面图标？  (Place an icon on Desktop)" } }));
    GoToPage(1);
    ExpectNames(run.wizard, WithPanel({ { ID_SAMPLE_FRAME, L"" }, { ID_SAMPLE_LINE_LABEL, L"日出江花红胜火" },
        { ID_DISPLAY_QUESTION_LABEL, L"以上中文显示正确吗 (Is the Above Chinese Display OK)?" },
        { ID_DISPLAY_OK_CHECK, L"正确(OK)" }, { ID_DISPLAY_NO_CHECK, L"不正确(NO)" },
        { ID_BACK_BUTTON, back }, { ID_NEXT_BUTTON, next } }));
    ClickControl(run.wizard, ID_NEXT_BUTTON);
    HWND message = WaitForMessage();
    ASSERT_TRUE(message && MessageSays(message, "Please select a choice.")) << "no message appeared";
    ExpectNames(message, { { ID_OK_BUTTON, L"确认 OK" }, { ID_MESSAGE_CHINESE_LABEL, L"请您回答提问." },
                           { ID_MESSAGE_ENGLISH_TEXT, L"Please select a choice." } });
    CloseMessage(message);
    ClickControl(run.wizard, ID_BACK_BUTTON);
    ASSERT_TRUE(OnPage(0));
    GoToPage(3);
    ExpectNames(run.wizard, WithPanel({ { ID_LANGUAGE_LABEL, L"User Interface Language 用户界面语言" },
        { ID_LANGUAGE_COMBO, L"English 英文" }, { ID_BACK_BUTTON, back }, { ID_NEXT_BUTTON, L"同意/安装 Agree/Install" } }));
    ClickControl(run.wizard, ID_BACK_BUTTON);
    ASSERT_TRUE(OnPage(2));
    ExpectNames(run.wizard, WithPanel({ { ID_ENGLISH_LICENCE_CHECK, L"English" }, { ID_ENGLISH_LICENCE_EDIT, 0 },
                                        { ID_BACK_BUTTON, back }, { ID_NEXT_BUTTON, next } }));
}
