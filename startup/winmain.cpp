// The entry point: probes the system, loads the glyph sheets, creates the
// wizard and runs the message loop until the wizard ends the program.
#include "startup/shared_state.h"
#include "startup/system_probe.h"
#include "startup/setup_dir.h"
#include "startup/glyph_sheets.h"
#include "startup/message_loop.h"
#include "glyphtext/mixed_text.h"
#include "install/edition_record.h"
#include "wizard/wizard_dialog.h"
#include "wizard/message_dialog.h"
#include "wizard/message_texts.h"
#include "resources/resource_ids.h"
#include <commctrl.h>

const int ExitNormal = 0;
const int ExitStartupFailed = 1;

static void CleanUpStartup()
{
    FreeGlyphSheets();
    if (SampleFont) {
        DeleteObject(SampleFont);
        SampleFont = 0;
    }
}

// A sheet that cannot be created leaves the program unable to show any
// caption, so it ends with the failure exit code like missing glyph data.
static int LoadGlyphsOrReport()
{
    int result = LoadGlyphSheets(AppInstance);
    if (result == GlyphMemoryShort)
        ShowMessageDialog(MemoryShortMessage.Chinese, MemoryShortMessage.English, MessageStyleOk, WizardWindow);
    return result == GlyphsLoaded;
}

static int CreateWizard()
{
    InitCommonControls();   // registers the progress bar class the template names
    PageState = 0;
    AppIcon = LoadIconA(AppInstance, MAKEINTRESOURCEA(ID_WINDOW_ICON));
    WizardWindow = CreateDialogParamA(AppInstance, MAKEINTRESOURCEA(ID_WIZARD_DIALOG), 0, WizardDialogProc, 0);
    return WizardWindow != 0;
}

int WINAPI WinMain(HINSTANCE instance, HINSTANCE previous, LPSTR commandLine, int showCommand)
{
    (void)previous; (void)commandLine; (void)showCommand;
    SetCursor(LoadCursorA(0, (LPCSTR)IDC_WAIT));
    ProbeWindowsVersion();
    SystemChineseVariant = ProbeSystemChineseVariant();
    ForceLanguage = 0;      // the system's language does not preselect the wizard's
    AppInstance = instance;
    CreateSampleFont();
    ProductFolderName = EditionRecord.InstallFolderName;
    RecordSetupDir();
    if (!LoadGlyphsOrReport()) {
        CleanUpStartup();
        return ExitStartupFailed;
    }
    if (!CreateWizard()) {
        CleanUpStartup();
        return ExitStartupFailed;
    }
    RunMessageLoop();
    DestroyWindow(WizardWindow);
    WizardWindow = 0;
    CleanUpStartup();
    return ExitNormal;
}
