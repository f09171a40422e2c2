// The unattended install: the command line answers what the wizard would ask,
// the destination passes the wizard's checks, and the install sequence runs
// with every message going to the log only. No window is made.
#include "startup/unattended_install.h"
#include "startup/exit_codes.h"
#include "wizard/default_destination.h"
#include "wizard/install_start.h"
#include "wizard/message_dialog.h"
#include "install/install_sequence.h"
#include "install/install_log.h"

const UINT GbCodePage = 936;

// The sample line is GB2312 text drawn with the system's own fonts; only a
// system whose ANSI code page is the GB2312 one is sure to show it. Any other
// system, Big5 ones included, gets the product's own bitmap glyphs, which are
// readable everywhere.
static int DefaultDisplayAnswer()
{
    return GetACP() == GbCodePage;
}

static void TakeAnswers(const CommandLine *line)
{
    char proposed[PathBufferBytes];
    SettleSystemWindowsDir(proposed);
    lstrcpynA(InstallDir, line->DestinationGiven ? line->Destination : proposed, PathBufferBytes);
    ForceLanguage = line->Language != NotGiven ? line->Language : 0;
    ChineseDisplayOk = line->DisplayOk != NotGiven ? line->DisplayOk : DefaultDisplayAnswer();
    DesktopIconWanted = !line->NoDesktopIcon;
    WordBaseAnswer = line->ReplaceWordBase ? IDYES : IDNO;
}

int RunUnattendedInstall(const CommandLine *line)
{
    MessagesSuppressed = 1;
    TakeAnswers(line);
    LogInstallAnswers("unattended (/S)");
    if (PrepareDestination() != DestinationReady) {
        LogLine("result: destination refused");
        return ExitDestinationRefused;
    }
    int installed = RunInstallSequence();
    LogLine("result: %s", installed ? "installed" : "install FAILED");
    return installed ? ExitNormal : ExitInstallFailed;
}
