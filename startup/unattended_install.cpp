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
#include "startup/path_text.h"

const UINT GbCodePage = 936;

// The sample line is GB2312 text drawn with the system's own fonts; only a
// system whose ANSI code page is the GB2312 one is sure to show it. Any other
// system, Big5 ones included, gets the product's own bitmap glyphs, which are
// readable everywhere.
static int DefaultDisplayAnswer()
{
    return GetACP() == GbCodePage;
}

// The folder given with /D=, or the one the wizard proposes.
static void ChooseDestination(const CommandLine *line, char *destination)
{
    char proposed[PathBufferBytes];
    SettleSystemWindowsDir(proposed);
    lstrcpynA(destination, line->DestinationGiven ? line->Destination : proposed, PathBufferBytes);
}

static void TakeAnswers(const CommandLine *line)
{
    ChooseDestination(line, InstallDir);
    ForceLanguage = line->Language != NotGiven ? line->Language : 0;
    ChineseDisplayOk = line->DisplayOk != NotGiven ? line->DisplayOk : DefaultDisplayAnswer();
    DesktopIconWanted = !line->NoDesktopIcon;
    WordBaseAnswer = line->ReplaceWordBase ? IDYES : IDNO;
}

static int FolderExists(const char *path)
{
    DWORD attributes = GetFileAttributesA(path);
    return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY);
}

// The path as Windows will resolve it: "." and ".." gone, "/" read as "\".
static int FullPathOf(const char *path, char *full)
{
    DWORD length = GetFullPathNameA(path, PathBufferBytes, full, 0);
    return length > 0 && length < (DWORD)PathBufferBytes;
}

// The install makes its destination one level deep: an existing folder or one
// whose parent exists is sure to be there once the destination is ready. The
// parent keeps its backslash, which a drive root ("C:\") needs.
static int DestinationWillExist(const char *destination)
{
    if (FolderExists(destination))
        return 1;
    char parent[PathBufferBytes];
    lstrcpyA(parent, destination);
    char *lastBackslash = (char *)FindLastBackslash(parent);
    if (!lastBackslash)
        return 0;
    lastBackslash[1] = 0;
    return FolderExists(parent);
}

int HoldLogForDestination(const CommandLine *line)
{
    if (!line->Silent || line->UsageWanted || line->DestinationTooLong)
        return 0;
    char asked[PathBufferBytes];
    char destination[PathBufferBytes];
    char log[PathBufferBytes];
    char folder[PathBufferBytes];
    ChooseDestination(line, asked);
    if (!FullPathOf(asked, destination) || !FullPathOf(line->LogPath, log))
        return 0;
    lstrcpyA(folder, log);
    char *name = (char *)FindLastBackslash(folder);
    if (!name)
        return 0;
    *name = 0;
    if (FolderExists(folder) || !IsFolderOrInside(folder, destination) || !DestinationWillExist(destination))
        return 0;
    HoldInstallLog(log);
    return 1;
}

// Every refusal before the first change, with its exit code and result line.
// A folder this user may not write is a destination refused like one that
// cannot be made; the log's line above the result names the check.
struct DestinationRefusal {
    int Outcome;
    int ExitCode;
    const char *Result;
};
static const DestinationRefusal DestinationRefusals[] = {
    { DestinationNotFull, ExitDestinationRefused, "destination refused" },
    { DestinationTooLong, ExitDestinationRefused, "destination refused" },
    { DestinationNotCreated, ExitDestinationRefused, "destination refused" },
    { DestinationNotWritable, ExitDestinationRefused, "destination refused (no write access)" },
    { DestinationTooLittleSpace, ExitTooLittleSpace, "refused before any change (not enough free space)" },
    { DestinationFilesInUse, ExitFilesInUse, "refused before any change (a file is in use)" },
};

static int ReportRefusal(int outcome)
{
    for (const DestinationRefusal &refusal : DestinationRefusals)
        if (refusal.Outcome == outcome) {
            LogLine("result: %s", refusal.Result);
            return refusal.ExitCode;
        }
    LogLine("result: destination refused");
    return ExitDestinationRefused;
}

int RunUnattendedInstall(const CommandLine *line)
{
    MessagesSuppressed = 1;
    TakeAnswers(line);
    LogInstallAnswers("unattended (/S)");
    if (line->DestinationTooLong) {
        LogLine("destination refused, too long for the install's file names: the /D= folder of 260 bytes or more");
        LogLine("result: destination refused");
        return ExitDestinationRefused;
    }
    int outcome = PrepareDestination();
    if (outcome != DestinationReady)
        return ReportRefusal(outcome);
    OpenHeldInstallLog();   // a log inside the destination has its folder now
    int installed = RunInstallSequence();
    LogInstallResult(installed);
    if (!installed)
        return ExitInstallFailed;
    return LinksMissing ? ExitLinksMissing : ExitNormal;
}
