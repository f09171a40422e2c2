// The real setup program under Wine: it starts, shows the first page of its
// wizard, ends on Cancel, Esc or the close box, leaves a copy already running
// alone, and refuses to run without its glyph data.
#include "driver/setup_driver.h"
#include "support/test_paths.h"
#include "resources/resource_ids.h"
#include <gtest/gtest.h>
#include <zlib.h>
#include <stdio.h>
#include <string.h>
#include <vector>

static const char WizardCaption[] = "Lumabook Installer";

class SetupProgram : public ::testing::Test {
protected:
    SetupRun run;

    void SetUp() override { ZeroMemory(&run, sizeof(run)); }
    void TearDown() override { EndSetup(&run); }

    void StartWizard(const std::string &exe)
    {
        ASSERT_TRUE(StartSetup(&run, exe)) << exe;
        run.wizard = WaitForProcessWindow(run.process.dwProcessId, WizardCaption, DriverTimeoutMs);
        ASSERT_TRUE(run.wizard) << "no wizard window appeared";
    }

    DWORD ExitCode()
    {
        DWORD code = 12345;
        EXPECT_TRUE(WaitForExit(&run, DriverTimeoutMs, &code)) << "the program did not end";
        return code;
    }

    // Starts a program that should end by itself, and checks it never showed a window.
    DWORD RunWithoutWindow(const std::string &exe, int *sawWindow)
    {
        EXPECT_TRUE(StartSetup(&run, exe));
        *sawWindow = 0;
        DWORD code = 12345;
        for (int waited = 0; waited < DriverTimeoutMs; waited += 10) {
            *sawWindow |= ProcessHasWindow(run.process.dwProcessId);
            if (WaitForExit(&run, 10, &code))
                return code;
        }
        ADD_FAILURE() << "the program did not end";
        return code;
    }
};

TEST_F(SetupProgram, ShowsTheDestinationPageFirst)
{
    StartWizard(SetupExePath());
    EXPECT_TRUE(IsControlShown(run.wizard, ID_DESTINATION_EDIT));
    EXPECT_EQ("C:\\Lumabook", ControlText(run.wizard, ID_DESTINATION_EDIT));
    EXPECT_TRUE(IsControlChecked(run.wizard, ID_DESKTOP_ICON_CHECK));
    EXPECT_TRUE(IsControlShown(run.wizard, ID_NEXT_BUTTON));
    EXPECT_TRUE(IsControlShown(run.wizard, ID_CANCEL_BUTTON));
    EXPECT_FALSE(IsControlShown(run.wizard, ID_BACK_BUTTON));
    EXPECT_FALSE(IsControlEnabled(run.wizard, ID_BACK_BUTTON));
    EXPECT_FALSE(IsControlShown(run.wizard, ID_CHINESE_LICENCE_LIST));
    EXPECT_FALSE(IsControlShown(run.wizard, ID_LANGUAGE_COMBO));
    EXPECT_FALSE(IsControlShown(run.wizard, ID_PROGRESS_BAR));
    EXPECT_EQ("Lumabook Writer", ControlText(run.wizard, ID_PANEL_PRODUCT_LABEL));

    // The panel label and the destination drawn, once the program has painted.
    Capture capture;
    std::string failures;
    EXPECT_TRUE(CaptureWhenDrawn(run.wizard, &capture, ControlsDrawn(run.wizard, { ID_PANEL_PRODUCT_LABEL,
                                 ID_DESTINATION_EDIT }), &failures)) << failures;
    EXPECT_GT(capture.width, 445);
    SaveCapture(capture, ArtifactPath("first_page.png"));
}

TEST_F(SetupProgram, CancelEndsWithExitCodeZero)
{
    StartWizard(SetupExePath());
    ClickControl(run.wizard, ID_CANCEL_BUTTON);
    EXPECT_EQ(0u, ExitCode());
}

TEST_F(SetupProgram, EnterOnTheFocusedCancelButtonEndsTheProgram)
{
    StartWizard(SetupExePath());
    ASSERT_TRUE(FocusControl(run.wizard, ID_CANCEL_BUTTON));
    PressKey(run.wizard, VK_RETURN);
    EXPECT_EQ(0u, ExitCode());
}

TEST_F(SetupProgram, EscEndsTheProgram)
{
    StartWizard(SetupExePath());
    ASSERT_TRUE(FocusControl(run.wizard, ID_DESTINATION_EDIT));
    PressKey(run.wizard, VK_ESCAPE);
    EXPECT_EQ(0u, ExitCode());
}

TEST_F(SetupProgram, CloseBoxEndsTheProgram)
{
    StartWizard(SetupExePath());
    PostMessageA(run.wizard, WM_SYSCOMMAND, SC_CLOSE, 0);
    EXPECT_EQ(0u, ExitCode());
}

// Enter on the desktop-icon box acts as Next; it must not end the program or toggle the box.
TEST_F(SetupProgram, EnterOnTheCheckBoxDoesNotEndTheProgram)
{
    StartWizard(SetupExePath());
    ASSERT_TRUE(FocusControl(run.wizard, ID_DESKTOP_ICON_CHECK));
    PressKey(run.wizard, VK_RETURN);
    ASSERT_TRUE(WaitForControlShown(run.wizard, ID_DISPLAY_QUESTION_LABEL, 1, DriverTimeoutMs)) << "Enter was not Next";
    DWORD code;
    EXPECT_FALSE(WaitForExit(&run, 0, &code));
    EXPECT_TRUE(IsControlChecked(run.wizard, ID_DESKTOP_ICON_CHECK));
    ClickControl(run.wizard, ID_CANCEL_BUTTON);
    EXPECT_EQ(0u, ExitCode());
}

// A second copy started while the wizard runs: it must end by itself with
// exit code 7 and never show a window of its own.
static void RunSecondCopy(const std::string &arguments, DWORD *code)
{
    SetupRun second;
    ASSERT_TRUE(StartSetupWith(&second, SetupExePath(), std::string(), arguments));
    int sawWindow = 0;
    EXPECT_TRUE(WaitForExitWithoutWindow(&second, DriverTimeoutMs, code, &sawWindow)) << "the second copy ran on";
    EXPECT_FALSE(sawWindow) << "the second copy showed a window";
    EndSetup(&second);
}

// A double click too many: the running wizard comes to the front, over the
// program the user was in.
TEST_F(SetupProgram, SecondCopyBringsTheRunningWizardToTheFrontAndEnds)
{
    StartWizard(SetupExePath());
    HWND other = CreateWindowExA(0, "STATIC", "another program", WS_POPUP | WS_VISIBLE, 0, 0, 300, 200, 0, 0, 0, 0);
    ASSERT_TRUE(BringToFront(other));
    DWORD code = 12345;
    RunSecondCopy(std::string(), &code);
    EXPECT_EQ(7u, code);
    EXPECT_TRUE(WaitForForeground(run.wizard, DriverTimeoutMs)) << "the running wizard did not come to the front";
    DestroyWindow(other);
}

// A deployment tool's second start: nothing installed, no log (it could be the
// running copy's own file), and the running wizard goes on.
TEST_F(SetupProgram, SecondUnattendedCopyEndsWithExitCodeSevenAndInstallsNothing)
{
    StartWizard(SetupExePath());
    std::string scratch = MakeScratchDir("second_copy");
    DWORD code = 12345;
    RunSecondCopy("/S \"/LOG=" + scratch + "\\setup.log\" /D=" + scratch + "\\Lumabook", &code);
    EXPECT_EQ(7u, code);
    EXPECT_EQ(INVALID_FILE_ATTRIBUTES, GetFileAttributesA((scratch + "\\Lumabook").c_str()));
    EXPECT_EQ(INVALID_FILE_ATTRIBUTES, GetFileAttributesA((scratch + "\\setup.log").c_str()));
    EXPECT_TRUE(IsWindowVisible(run.wizard));
    ClickControl(run.wizard, ID_CANCEL_BUTTON);
    EXPECT_EQ(0u, ExitCode());
}

// A copy of the setup program whose glyph entry holds other data.
static std::string SetupWithGlyphEntry(const char *name, const void *data, DWORD size)
{
    std::string copy = MakeScratchDir(name) + "\\setup.exe";
    EXPECT_TRUE(CopyFileA(SetupExePath().c_str(), copy.c_str(), FALSE));
    HANDLE update = BeginUpdateResourceA(copy.c_str(), FALSE);
    EXPECT_TRUE(update);
    EXPECT_TRUE(UpdateResourceA(update, "TEXT", MAKEINTRESOURCEA(110), MAKELANGID(LANG_NEUTRAL, SUBLANG_NEUTRAL),
                                (void *)data, size));
    EXPECT_TRUE(EndUpdateResourceA(update, FALSE));
    return copy;
}

// Wine's resource updater cannot delete an entry, so the copy's resource
// directory is edited instead: the glyph entry's id 110 becomes 109, which
// keeps the id list sorted for the lookup's binary search but hides 110.
static int HideGlyphEntry(std::vector<unsigned char> &image)
{
    IMAGE_DOS_HEADER *dos = (IMAGE_DOS_HEADER *)image.data();
    IMAGE_NT_HEADERS *nt = (IMAGE_NT_HEADERS *)(image.data() + dos->e_lfanew);
    DWORD rsrcRva = nt->OptionalHeader.DataDirectory[IMAGE_DIRECTORY_ENTRY_RESOURCE].VirtualAddress;
    IMAGE_SECTION_HEADER *section = IMAGE_FIRST_SECTION(nt);
    DWORD base = 0;
    for (int i = 0; i < nt->FileHeader.NumberOfSections; i++, section++)
        if (rsrcRva >= section->VirtualAddress && rsrcRva < section->VirtualAddress + section->Misc.VirtualSize)
            base = section->PointerToRawData + (rsrcRva - section->VirtualAddress);
    if (!base)
        return 0;
    IMAGE_RESOURCE_DIRECTORY *root = (IMAGE_RESOURCE_DIRECTORY *)(image.data() + base);
    IMAGE_RESOURCE_DIRECTORY_ENTRY *types = (IMAGE_RESOURCE_DIRECTORY_ENTRY *)(root + 1);
    for (int t = 0; t < root->NumberOfNamedEntries; t++) {
        IMAGE_RESOURCE_DIR_STRING_U *name = (IMAGE_RESOURCE_DIR_STRING_U *)(image.data() + base + types[t].NameOffset);
        if (name->Length != 4 || memcmp(name->NameString, L"TEXT", 8) != 0)
            continue;
        IMAGE_RESOURCE_DIRECTORY *ids = (IMAGE_RESOURCE_DIRECTORY *)(image.data() + base + types[t].OffsetToDirectory);
        IMAGE_RESOURCE_DIRECTORY_ENTRY *entries = (IMAGE_RESOURCE_DIRECTORY_ENTRY *)(ids + 1);
        for (int e = ids->NumberOfNamedEntries; e < ids->NumberOfNamedEntries + ids->NumberOfIdEntries; e++)
            if (entries[e].Id == 110) {
                entries[e].Id = 109;
                return 1;
            }
    }
    return 0;
}

static std::string SetupWithoutGlyphEntry()
{
    std::string copy = MakeScratchDir("no_glyphs") + "\\setup.exe";
    FILE *in = fopen(SetupExePath().c_str(), "rb");
    EXPECT_TRUE(in);
    std::vector<unsigned char> image;
    unsigned char chunk[65536];
    size_t n;
    while (in && (n = fread(chunk, 1, sizeof(chunk), in)) > 0)
        image.insert(image.end(), chunk, chunk + n);
    if (in)
        fclose(in);
    EXPECT_TRUE(HideGlyphEntry(image));
    FILE *out = fopen(copy.c_str(), "wb");
    EXPECT_TRUE(out);
    if (out) {
        fwrite(image.data(), 1, image.size(), out);
        fclose(out);
    }
    HMODULE module = LoadLibraryExA(copy.c_str(), 0, LOAD_LIBRARY_AS_DATAFILE);
    EXPECT_FALSE(FindResourceA(module, MAKEINTRESOURCEA(110), "TEXT")) << "the entry is still found";
    EXPECT_TRUE(FindResourceA(module, MAKEINTRESOURCEA(106), "TEXT")) << "the directory was damaged";
    FreeLibrary(module);
    return copy;
}

TEST_F(SetupProgram, MissingGlyphResourceEndsWithExitCodeOneAndNoWindow)
{
    int sawWindow;
    EXPECT_EQ(1u, RunWithoutWindow(SetupWithoutGlyphEntry(), &sawWindow));
    EXPECT_FALSE(sawWindow);
}

TEST_F(SetupProgram, DamagedGlyphResourceEndsWithExitCodeOneAndNoWindow)
{
    const char damaged[] = "\x78\xDA not a deflate stream at all";
    int sawWindow;
    EXPECT_EQ(1u, RunWithoutWindow(SetupWithGlyphEntry("damaged_glyphs", damaged, sizeof(damaged)), &sawWindow));
    EXPECT_FALSE(sawWindow);
}

// A sound stream with too few bytes for the four sheets is damaged data too.
TEST_F(SetupProgram, ShortGlyphResourceEndsWithExitCodeOne)
{
    std::vector<unsigned char> sheets(60416, 0xFF);
    uLongf length = compressBound(sheets.size());
    std::vector<unsigned char> stream(length);
    ASSERT_EQ(Z_OK, compress2(stream.data(), &length, sheets.data(), sheets.size(), 9));
    int sawWindow;
    EXPECT_EQ(1u, RunWithoutWindow(SetupWithGlyphEntry("short_glyphs", stream.data(), length), &sawWindow));
    EXPECT_FALSE(sawWindow);
}
