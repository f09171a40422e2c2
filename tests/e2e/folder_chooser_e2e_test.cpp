// The wizard's Browse button under Wine: start the program in a folder of its
// own, open the chooser, open a folder or pick a drive, press OK or leave the
// chooser another way, and look at the destination box, the chooser's controls
// and pixels, and the program's current directory.
#include "driver/chooser_driver.h"
#include "support/test_paths.h"
#include <gtest/gtest.h>
#include <stdio.h>
#include <stdlib.h>
#include <algorithm>
#include <map>
#include <set>

static const char WizardCaption[] = "Lumabook Installer";
static const char MessageCaption[] = "Lumabook Install Message";
const int DestinationEditId = 1002;
const int FolderListId = 1121;
const int OkId = 1, CancelId = 2;
const int DirectoriesLabelId = 1008, DrivesLabelId = 1010;

static std::wstring Wide(const std::string &text)
{
    WCHAR wide[MAX_PATH * 2] = L"";
    MultiByteToWideChar(CP_ACP, 0, text.c_str(), -1, wide, MAX_PATH * 2);
    return wide;
}

static std::wstring Lower(std::wstring text)
{
    for (wchar_t &ch : text)
        ch = (wchar_t)towlower(ch);
    return text;
}

class FolderChooser : public ::testing::Test {
protected:
    SetupRun run;
    std::string scratch;
    HWND chooser = 0;

    void SetUp() override
    {
        ZeroMemory(&run, sizeof(run));
        std::string name = std::string("chooser_") + ::testing::UnitTest::GetInstance()->current_test_info()->name();
        scratch = MakeScratchDir(name.c_str());
        ASSERT_TRUE(CreateDirectoryA((scratch + "\\Apps").c_str(), 0));
    }

    void TearDown() override { EndSetup(&run); }

    void StartWizardIn(const std::string &currentDir)
    {
        ASSERT_TRUE(StartSetupIn(&run, SetupExePath(), currentDir)) << currentDir;
        run.wizard = WaitForProcessWindow(run.process.dwProcessId, WizardCaption, DriverTimeoutMs);
        ASSERT_TRUE(run.wizard) << "no wizard window appeared";
    }

    void OpenTheChooser()
    {
        chooser = OpenChooser(&run);
        ASSERT_TRUE(chooser) << "Browse showed no window captioned " << ChooserCaption;
    }

    // A message sent to the wizard is handled only once its thread is back in
    // a message loop, that is after the Browse command has finished.
    void WaitUntilBrowseIsDone()
    {
        ASSERT_TRUE(WaitForWindowGone(chooser, DriverTimeoutMs)) << "the chooser stayed open";
        DWORD_PTR ignored;
        ASSERT_TRUE(SendMessageTimeoutA(run.wizard, WM_NULL, 0, 0, SMTO_ABORTIFHUNG, DriverTimeoutMs, &ignored));
    }

    std::wstring Destination() { return ControlTextW(run.wizard, DestinationEditId); }
    std::wstring CurrentDirectory() { return ProcessCurrentDirectory(run.process.hProcess); }
};

TEST_F(FolderChooser, OkProposesTheOpenedFolderWithTheProductFolderAndPutsTheDirectoryBack)
{
    StartWizardIn(scratch);
    ASSERT_EQ(Lower(Wide(scratch)), Lower(CurrentDirectory()));
    OpenTheChooser();
    EXPECT_FALSE(IsWindowEnabled(run.wizard)) << "the wizard stays usable under the chooser";
    ASSERT_TRUE(OpenChooserFolder(chooser, L"Apps"));
    EXPECT_EQ(Lower(Wide(scratch + "\\Apps")), Lower(CurrentDirectory())) << "the chooser opens folders by changing directory";
    ClickControl(chooser, OkId);
    WaitUntilBrowseIsDone();
    EXPECT_EQ(Wide(scratch) + L"\\Apps\\Lumabook", Destination());
    EXPECT_EQ(Wide(scratch), CurrentDirectory());
    EXPECT_TRUE(IsWindowEnabled(run.wizard));
}

// "Z:\" loses its backslash before "\Lumabook" is appended.
TEST_F(FolderChooser, DriveRootGivesTheProductFolderWithOneBackslash)
{
    StartWizardIn(scratch);
    OpenTheChooser();
    ASSERT_TRUE(PickChooserDrive(chooser, L'z'));
    ClickControl(chooser, OkId);
    WaitUntilBrowseIsDone();
    EXPECT_EQ(L"Z:\\Lumabook", Destination());
    EXPECT_EQ(Wide(scratch), CurrentDirectory());
}

// After a folder was opened, Cancel, Esc and the close box each leave the
// destination and the current directory as they were.
TEST_F(FolderChooser, CancelEscAndCloseBoxChangeNothing)
{
    StartWizardIn(scratch);
    const std::wstring before = Destination();
    ASSERT_EQ(L"C:\\Lumabook", before);
    const char *ways[] = { "Cancel", "Esc", "close box" };
    for (int way = 0; way < 3; way++) {
        SCOPED_TRACE(ways[way]);
        OpenTheChooser();
        ASSERT_TRUE(OpenChooserFolder(chooser, L"Apps"));
        if (way == 0)
            ClickControl(chooser, CancelId);
        else if (way == 1)
            PressKey(chooser, VK_ESCAPE);
        else
            PostMessageA(chooser, WM_SYSCOMMAND, SC_CLOSE, 0);
        WaitUntilBrowseIsDone();
        EXPECT_EQ(before, Destination());
        EXPECT_EQ(Wide(scratch), CurrentDirectory());
        EXPECT_TRUE(IsWindowEnabled(run.wizard));
    }
}

// A folder whose path leaves no room for "\Lumabook" in 260 bytes is refused
// with the path-too-long message; one that just fits is proposed whole.
TEST_F(FolderChooser, FolderTooLongForTheProductFolderIsRefusedNotCut)
{
    const size_t suffix = strlen("\\Lumabook");
    const size_t longest = MAX_PATH - 1 - suffix;      // 250 characters still fit
    std::string fits = scratch + "\\" + std::string(longest - scratch.size() - 1, 'f');
    std::string tooLong = scratch + "\\" + std::string(longest + 1 - scratch.size() - 1, 't');
    ASSERT_EQ(longest, fits.size());
    ASSERT_TRUE(CreateDirectoryW((L"\\\\?\\" + Wide(fits)).c_str(), 0));
    ASSERT_TRUE(CreateDirectoryW((L"\\\\?\\" + Wide(tooLong)).c_str(), 0));

    StartWizardIn(fits);
    OpenTheChooser();
    ClickControl(chooser, OkId);
    WaitUntilBrowseIsDone();
    EXPECT_EQ(Wide(fits) + L"\\Lumabook", Destination());
    EndSetup(&run);

    StartWizardIn(tooLong);
    const std::wstring before = Destination();
    OpenTheChooser();
    ClickControl(chooser, OkId);
    HWND message = WaitForProcessWindow(run.process.dwProcessId, MessageCaption, DriverTimeoutMs);
    ASSERT_TRUE(message) << "no message about the long path";
    EXPECT_EQ(before, Destination());
    ClickControl(message, OkId);
    ASSERT_TRUE(WaitForWindowGone(message, DriverTimeoutMs));
    WaitUntilBrowseIsDone();
    EXPECT_EQ(before, Destination());
}

// ---- What the chooser shows ----

// 16 rows of a 16 x 16 Unifont glyph, leftmost pixel in the high bit.
typedef std::vector<unsigned> GlyphRows;

static std::map<unsigned, GlyphRows> ReadUnifont(const std::set<unsigned> &codePoints)
{
    std::map<unsigned, GlyphRows> glyphs;
    FILE *hex = fopen(UnifontHexPath().c_str(), "r");
    if (!hex) {
        ADD_FAILURE() << "cannot read " << UnifontHexPath();
        return glyphs;
    }
    char line[256];
    while (fgets(line, sizeof(line), hex)) {
        unsigned code = (unsigned)strtoul(line, 0, 16);
        const char *bits = strchr(line, ':');
        if (!bits || !codePoints.count(code) || strlen(bits + 1) < 64)
            continue;
        GlyphRows rows;
        for (int row = 0; row < 16; row++) {
            char word[5] = { bits[1 + row * 4], bits[2 + row * 4], bits[3 + row * 4], bits[4 + row * 4], 0 };
            rows.push_back((unsigned)strtoul(word, 0, 16));
        }
        glyphs[code] = rows;
    }
    fclose(hex);
    return glyphs;
}

static int IsInk(unsigned pixel)
{
    return ((pixel >> 16 & 0xFF) + (pixel >> 8 & 0xFF) + (pixel & 0xFF)) < 3 * 128;
}

static int CellMatches(const Capture &capture, int left, int top, const GlyphRows &glyph)
{
    for (int dy = 0; dy < 16; dy++)
        for (int dx = 0; dx < 16; dx++) {
            int set = glyph[dy] >> (15 - dx) & 1;
            if (set != IsInk(capture.pixels[(top + dy) * capture.width + left + dx]))
                return 0;
        }
    return 1;
}

// Whether two glyphs stand side by side, cell by cell, somewhere inside the control.
static int ControlShowsGlyphPair(const Capture &capture, HWND window, int id, const GlyphRows &first,
                                 const GlyphRows &second)
{
    RECT windowRect, control;
    GetWindowRect(window, &windowRect);
    GetWindowRect(GetDlgItem(window, id), &control);
    OffsetRect(&control, -windowRect.left, -windowRect.top);
    for (int y = control.top; y + 16 <= control.bottom; y++)
        for (int x = control.left; x + 32 <= control.right; x++)
            if (CellMatches(capture, x, y, first) && CellMatches(capture, x + 16, y, second))
                return 1;
    return 0;
}

static std::set<int> VisibleChildIds(HWND window)
{
    std::set<int> ids;
    for (HWND child = GetWindow(window, GW_CHILD); child; child = GetWindow(child, GW_HWNDNEXT))
        if (IsWindowVisible(child))
            ids.insert(GetDlgCtrlID(child));
    return ids;
}

// tools/update_screenshots.sh copies this picture into docs/screenshots.
static void SaveScreenshot(const Capture &capture)
{
    EXPECT_TRUE(SaveCapture(capture, ArtifactPath("folder_chooser.png")));
}


TEST_F(FolderChooser, ShowsOnlyTheFolderControlsWithTheirCaptionsDrawn)
{
    StartWizardIn(scratch);
    OpenTheChooser();
    std::set<int> expected = { OkId, CancelId, DirectoriesLabelId, DrivesLabelId, 1088, FolderListId, 1137 };
    EXPECT_EQ(expected, VisibleChildIds(chooser));
    EXPECT_EQ(GetDlgItem(chooser, FolderListId), FocusedWindowOf(chooser));
    EXPECT_EQ(BS_OWNERDRAW, GetWindowLongPtrA(GetDlgItem(chooser, CancelId), GWL_STYLE) & BS_TYPEMASK);
    EXPECT_EQ(L"路径 (Directories):", ControlTextW(chooser, DirectoriesLabelId));   // their names, as shown
    EXPECT_EQ(L"磁盘 (Drives):", ControlTextW(chooser, DrivesLabelId));
    EXPECT_EQ(L"取消 Cancel", ControlTextW(chooser, CancelId));

    // 路径 (Directories):, 磁盘 (Drives): and 取消 Cancel
    std::map<unsigned, GlyphRows> glyphs = ReadUnifont({ 0x8DEF, 0x5F84, 0x78C1, 0x76D8, 0x53D6, 0x6D88 });
    ASSERT_EQ(6u, glyphs.size());
    // The common dialog fills its lists after it shows; a window of a test
    // running beside this one may also cover it for a moment.
    Capture capture;
    int directories = 0, drives = 0, cancel = 0;
    std::string failures;
    CaptureWhenDrawn(chooser, &capture, [&](const Capture &seen, std::string *missing) {
        directories = ControlShowsGlyphPair(seen, chooser, DirectoriesLabelId, glyphs[0x8DEF], glyphs[0x5F84]);
        drives = ControlShowsGlyphPair(seen, chooser, DrivesLabelId, glyphs[0x78C1], glyphs[0x76D8]);
        cancel = ControlShowsGlyphPair(seen, chooser, CancelId, glyphs[0x53D6], glyphs[0x6D88]);
        if (!(directories && drives && cancel))
            *missing = "a caption is not drawn";
    }, &failures);
    SaveScreenshot(capture);
    EXPECT_TRUE(directories) << "路径 (Directories): not drawn";
    EXPECT_TRUE(drives) << "磁盘 (Drives): not drawn";
    EXPECT_TRUE(cancel) << "取消 Cancel not drawn";
    ClickControl(chooser, CancelId);
    WaitUntilBrowseIsDone();
}
