// Browse on a Traditional Chinese system (code page 950, run with
// LANG=zh_TW.UTF-8): a folder named 功, whose Big5 code A5 5C ends in the byte
// of a backslash, is proposed whole.
#include "driver/chooser_driver.h"
#include "support/test_paths.h"
#include <gtest/gtest.h>

const UINT Big5CodePage = 950;
const int DestinationEditId = 1002;
const int OkId = 1;

class FolderChooserBig5 : public ::testing::Test {
protected:
    SetupRun run;
    void SetUp() override { ZeroMemory(&run, sizeof(run)); }
    void TearDown() override { EndSetup(&run); }
};

TEST_F(FolderChooserBig5, FolderEndingInA5_5CIsProposedWhole)
{
    ASSERT_EQ(Big5CodePage, GetACP()) << "run this test with LANG=zh_TW.UTF-8";
    std::string scratch = MakeScratchDir("chooser_big5");
    WCHAR wideScratch[MAX_PATH];
    ASSERT_TRUE(MultiByteToWideChar(CP_ACP, 0, scratch.c_str(), -1, wideScratch, MAX_PATH));
    const std::wstring folder = std::wstring(wideScratch) + L"\\\u529F";     // 功
    ASSERT_TRUE(CreateDirectoryW(folder.c_str(), 0));

    ASSERT_TRUE(StartSetupIn(&run, SetupExePath(), scratch));
    run.wizard = WaitForProcessWindow(run.process.dwProcessId, "Lumabook Installer", DriverTimeoutMs);
    ASSERT_TRUE(run.wizard);
    HWND chooser = OpenChooser(&run);
    ASSERT_TRUE(chooser);
    ASSERT_TRUE(OpenChooserFolder(chooser, L"\u529F"));
    ClickControl(chooser, OkId);
    ASSERT_TRUE(WaitForWindowGone(chooser, DriverTimeoutMs));
    DWORD_PTR ignored;
    ASSERT_TRUE(SendMessageTimeoutA(run.wizard, WM_NULL, 0, 0, SMTO_ABORTIFHUNG, DriverTimeoutMs, &ignored));
    EXPECT_EQ(folder + L"\\Lumabook", ControlTextW(run.wizard, DestinationEditId));
}
