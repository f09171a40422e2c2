// The entry point: probes the system, reads the command line, leaves a setup
// already running alone, loads the glyph sheets, and then runs the wizard's message loop until the wizard ends the
// program, or the unattended install, or shows the command line's usage.
#include "startup/shared_state.h"
#include "startup/system_probe.h"
#include "startup/setup_dir.h"
#include "startup/glyph_sheets.h"
#include "startup/message_loop.h"
#include "startup/command_line.h"
#include "startup/program_name.h"
#include "startup/unattended_install.h"
#include "startup/setup_mutex.h"
#include "startup/exit_codes.h"
#include "install/install_record.h"
#include "startup/startup_steps.h"
#include "install/install_log.h"
#include "glyphtext/mixed_text.h"
#include "install/edition_record.h"
#include "wizard/wizard_dialog.h"
#include "wizard/message_dialog.h"
#include "wizard/message_texts.h"
#include "wizard/usage_message.h"
#include "resources/resource_ids.h"
#include "resources/setup_version.h"

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
    PageState = 0;
    AppIcon = LoadIconA(AppInstance, MAKEINTRESOURCEA(ID_WINDOW_ICON));
    WizardWindow = CreateDialogParamA(AppInstance, MAKEINTRESOURCEA(ID_WIZARD_DIALOG), 0, WizardDialogProc, 0);
    MarkStartupStep(StepWizardShown);
    if (!WizardWindow)
        return 0;
    // The dialog and all its controls are painted here in one pass, rather
    // than one paint message per control fetched by the loop: under Wine 8
    // that took a tenth off the first paint.
    RedrawWindow(WizardWindow, 0, 0, RDW_UPDATENOW | RDW_ALLCHILDREN);
    return 1;
}

static int RunWizard()
{
    if (!CreateWizard())
        return ExitStartupFailed;
    RunMessageLoop();
    DestroyWindow(WizardWindow);
    WizardWindow = 0;
    return ExitNormal;
}

// Opens the log the arguments ask for, which names the setup program first.
// A log inside a destination yet to be made holds its lines until then. A log
// that cannot be made refuses the command line: the administrator asked for
// the only report there is. The first reason found stands: a log that cannot
// be made only becomes the reason of a line that was understood.
static int OpenLogAsked(const char *arguments, CommandLine *line, int understood)
{
    if (line->LogPath[0] && !OpenInstallLog(line->LogPath) && !(understood && HoldLogForDestination(line))) {
        if (understood)
            lstrcpynA(line->Reason, "/LOG=: the log file cannot be created", CommandLineReasonBytes);
        return 0;
    }
    LogLine("%s setup %s", SETUP_PRODUCT_NAME, SETUP_VERSION_TEXT);
    // Logs gathered from PCs of several code pages onto one server are read in
    // the code page of the PC that wrote them, so each log names it.
    LogLine("text in code page %u (the ANSI code page of this PC)", GetACP());
    LogLine("command line: %s", arguments);
    if (!understood)
        LogLine("command line refused: %s", line->Reason);
    return understood;
}

// Only a run that would install takes the mutex: the usage and a refused
// command line change nothing, beside a running setup too.
static int WouldInstall(const CommandLine *line, int understood)
{
    return understood && !line->UsageWanted;
}

// A second copy ends before it opens its log, which may be the very file the
// running copy writes; with the wizard, it shows the running copy's instead.
static int EndSecondCopy(const CommandLine *line)
{
    if (!line->Silent)
        ShowRunningSetup();
    return ExitAnotherSetupRunning;
}

// A refused command line changes nothing on the disk; with /S it shows nothing
// either, so it does not wait for the glyphs.
static int RunAsAsked(const CommandLine *line, int understood)
{
    if (!understood && line->Silent)
        return ExitBadCommandLine;
    if (line->Silent && !line->UsageWanted)
        MessagesSuppressed = 1;     // from here on, not even a memory message
    if (!LoadGlyphsOrReport())
        return ExitStartupFailed;
    if (!understood) {
        ShowUsageMessage(line->Reason);
        return ExitBadCommandLine;
    }
    if (line->UsageWanted) {
        ShowUsageMessage(0);
        return ExitNormal;
    }
    // An install this user's last run left cut short (killed, or its power
    // lost) is completed or undone before anything else.
    SettleStoppedInstall(0);
    if (line->Silent)
        return RunUnattendedInstall(line);
    return RunWizard();
}

// A whole log ends with the exit code; a log cut short takes no more lines.
// One that could not be written to its end turns a 0 into the code that says
// so; a failure's own code stands.
static int EndInstallLog(int exitCode)
{
    LogLine("exit code: %d", exitCode);
    if (!CloseInstallLog() && exitCode == ExitNormal)
        exitCode = ExitLogIncomplete;
    return exitCode;
}

// The arguments are read from the program's own command line rather than from
// whatever start-up code passed them, so that the program's name is skipped by
// whole characters whoever starts the program.
int WINAPI WinMain(HINSTANCE instance, HINSTANCE previous, LPSTR commandLine, int showCommand)
{
    (void)previous; (void)commandLine; (void)showCommand;
    MarkStartupStep(StepEntryReached);
    SetCursor(LoadCursorA(0, (LPCSTR)IDC_WAIT));
    MarkStartupStep(StepWaitCursor);
    ProbeWindowsVersion();
    SystemChineseVariant = ProbeSystemChineseVariant();
    ForceLanguage = 0;      // the system's language does not preselect the wizard's
    MarkStartupStep(StepVersionProbe);
    AppInstance = instance;
    CreateSampleFont();
    MarkStartupStep(StepSampleFont);
    ProductFolderName = EditionRecord.InstallFolderName;
    RecordSetupDir();
    CommandLine line;
    const char *arguments = SkipProgramName(GetCommandLineA());
    int understood = ParseCommandLine(arguments, &line);
    if (WouldInstall(&line, understood) && !ClaimSetupMutex()) {
        CleanUpStartup();
        return EndSecondCopy(&line);
    }
    understood = OpenLogAsked(arguments, &line, understood);
    MarkStartupStep(StepCommandLine);
    int exitCode = RunAsAsked(&line, understood);
    CleanUpStartup();
    return EndInstallLog(exitCode);
}
