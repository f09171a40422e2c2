// The Install command: checks and creates the destination folder, hands the
// collected answers to the install sequence, and reports its result no earlier
// than the minimum time after Install was pressed. The program ends after it.
#include "wizard/install_start.h"
#include "wizard/wizard_pages.h"
#include "wizard/message_dialog.h"
#include "wizard/message_texts.h"
#include "wizard/late_controls.h"
#include "install/install_sequence.h"
#include "install/install_checks.h"
#include "install/install_record.h"
#include "wizard/answering_window.h"
#include "install/file_table.h"
#include "install/install_log.h"
#include "install/file_replace.h"
#include "startup/path_text.h"
#include "startup/destination_text.h"
#include "startup/shared_state.h"
#include "resources/resource_ids.h"
#include <stdio.h>
#include <string.h>

static const char DocFolderName[] = "doc";

// Names the install touches beyond the file table: the cache files it deletes
// (the longest suffix of each), the settings file it rewrites, the "doc" folder.
static const char *const OtherInstallNames[] = {
    "syllables.dic1111",
    "Charlist.dic1111",
    "autolearn.dic1111",
    "adjustments.dic1111",
    "uiprefs.ini",
    DocFolderName,
};
static const int OtherInstallNameCount = sizeof(OtherInstallNames) / sizeof(OtherInstallNames[0]);

// Every file is first written under its name with the temporary suffix.
int LongestInstallNameLength()
{
    size_t longest = 0;
    for (int i = 0; i < FileTableRowCount; i++)
        if (FileTable[i].TargetName && strlen(FileTable[i].TargetName) > longest)
            longest = strlen(FileTable[i].TargetName);
    for (int i = 0; i < OtherInstallNameCount; i++)
        if (strlen(OtherInstallNames[i]) > longest)
            longest = strlen(OtherInstallNames[i]);
    return (int)longest + TempFileSuffixLength;
}

int DestinationFitsInstallNames(const char *destination)
{
    return strlen(destination) + 1 + LongestInstallNameLength() < (size_t)PathBufferBytes;
}

static void ShowWizardMessage(const MessageText &text)
{
    ShowMessageDialog(text.Chinese, text.English, MessageStyleOk, WizardWindow);
}

static void ReportFolderNotCreated()
{
    char english[PathBufferBytes];
    snprintf(english, sizeof(english), DestinationFolderEnglishFormat, CannotCreateFolderText);
    ShowMessageDialog(DestinationFolderChinese, english, MessageStyleOk, WizardWindow);
}

// A folder that exists becomes the current directory and is used as it is; a
// new one is created one level deep, with its "doc" subfolder.
static int SettleDestinationFolder()
{
    DestinationFolderMade = 0;
    if (SetCurrentDirectoryA(InstallDir))
        return 1;
    if (!CreateDirectoryA(InstallDir, 0))
        return 0;
    DestinationFolderMade = 1;
    char doc[PathBufferBytes];
    lstrcpynA(doc, InstallDir, PathBufferBytes);
    if (AppendBackslash(doc, PathBufferBytes) && strlen(doc) + strlen(DocFolderName) < (size_t)PathBufferBytes) {
        lstrcatA(doc, DocFolderName);
        CreateDirectoryA(doc, 0);
    }
    return 1;
}

// What stops the install in the checks before the first change.
static int DestinationOutcomeOf(int checked)
{
    switch (checked) {
    case ChecksNotWritable: return DestinationNotWritable;
    case ChecksTooLittleSpace: return DestinationTooLittleSpace;
    case ChecksFilesInUse: return DestinationFilesInUse;
    }
    return DestinationReady;
}

// The destination is refused before anything is made on the disk.
int PrepareDestination()
{
    if (!IsFullPath(InstallDir)) {
        LogLine("destination refused, not a full path: %s", InstallDir);
        return DestinationNotFull;
    }
    if (!DestinationFitsInstallNames(InstallDir)) {
        LogLine("destination refused, too long for the install's file names: %s", InstallDir);
        return DestinationTooLong;
    }
    SettleStoppedInstall(InstallDir);   // an earlier install cut short there, before its files are looked at
    int checked = CheckBeforeInstall();
    if (checked != ChecksPassed)
        return DestinationOutcomeOf(checked);
    if (!SettleDestinationFolder()) {
        LogFailure(GetLastError(), "destination refused, the folder cannot be created: %s", InstallDir);
        return DestinationNotCreated;
    }
    LogLine("destination ready: %s", InstallDir);
    return DestinationReady;
}

// The field is cleaned and refused as /D= is; the user sees what is installed into.
static int AcceptTypedDestination(HWND window)
{
    GetDlgItemTextA(window, ID_DESTINATION_EDIT, InstallDir, PathBufferBytes);
    int cleaned = CleanDestinationText(InstallDir);
    if (cleaned == DestinationTextClean) {
        SetDlgItemTextA(window, ID_DESTINATION_EDIT, InstallDir);
        return 1;
    }
    LogLine("destination refused, %s: %s",
            cleaned == DestinationTextNameEnd ? "a folder name ends in a blank or a dot" : "not a full path", InstallDir);
    ShowWizardMessage(cleaned == DestinationTextNameEnd ? FolderNameEndMessage : InstallPathNotFullMessage);
    return 0;
}

static void ReportTooLittleSpace()
{
    char chinese[MessageEnglishBytes * 2];
    char english[MessageEnglishBytes];
    snprintf(chinese, sizeof(chinese), TooLittleSpaceChineseFormat, InstallChecks.NeededMegabytes,
             InstallChecks.FreeMegabytes);
    snprintf(english, sizeof(english), TooLittleSpaceEnglishFormat, InstallChecks.NeededMegabytes,
             InstallChecks.FreeMegabytes);
    ShowMessageDialog(chinese, english, MessageStyleOk, WizardWindow);
}

// The programs that hold the file come last, where a cut to the English
// line's length takes only some of their names.
static int AskToRetryHeldFile()
{
    char chinese[MessageEnglishBytes * 2];
    char english[MessageEnglishBytes * 2];
    snprintf(chinese, sizeof(chinese), FileInUseChineseFormat, InstallChecks.HeldFile);
    int length = snprintf(english, sizeof(english), FileInUseEnglishFormat, InstallChecks.HeldFile);
    if (InstallChecks.HoldingPrograms[0] && length > 0 && length < (int)sizeof(english))
        snprintf(english + length, sizeof(english) - length, HeldByEnglishFormat, InstallChecks.HoldingPrograms);
    return ShowMessageDialog(chinese, english, MessageStyleRetryCancel, WizardWindow) == IDRETRY;
}

static void ReportRefusal(int outcome)
{
    switch (outcome) {
    case DestinationNotFull: ShowWizardMessage(InstallPathNotFullMessage); break;
    case DestinationTooLong: ShowWizardMessage(InstallPathTooLongMessage); break;
    case DestinationNotCreated: ReportFolderNotCreated(); break;
    case DestinationNotWritable: ShowWizardMessage(NotWritableMessage); break;
    case DestinationTooLittleSpace: ReportTooLittleSpace(); break;
    }
}

// A file held by a running program is looked for again as often as the user
// asks; nothing is closed for the user.
static int AcceptDestination()
{
    int outcome = PrepareDestination();
    while (outcome == DestinationFilesInUse && AskToRetryHeldFile())
        outcome = PrepareDestination();
    ReportRefusal(outcome);
    return outcome == DestinationReady;
}

static void RecordAnswers(HWND window)
{
    DesktopIconWanted = IsDlgButtonChecked(window, ID_DESKTOP_ICON_CHECK) == BST_CHECKED;
    HWND combo = GetDlgItem(window, ID_LANGUAGE_COMBO);
    LRESULT selected = SendMessageA(combo, CB_GETCURSEL, 0, 0);
    if (selected != CB_ERR)
        ForceLanguage = (int)SendMessageA(combo, CB_GETITEMDATA, (WPARAM)selected, 0);
}

// Nothing of the wizard can start a second install while this one runs;
// Cancel stays, to stop it while its new files are written.
static void HideWizardButtons(HWND window)
{
    static const int buttons[] = { ID_NEXT_BUTTON, ID_BACK_BUTTON };
    for (int id : buttons) {
        ShowWindow(GetDlgItem(window, id), SW_HIDE);
        UpdateWindow(window);
    }
}

// The wait cursor shows only where the pointer is, so a pointer outside is
// brought to the middle of the wizard.
static void ShowWaitCursor(HWND window)
{
    SetCursor(LoadCursorA(0, (LPCSTR)IDC_WAIT));
    RECT rect;
    POINT pointer;
    if (!GetWindowRect(window, &rect) || !GetCursorPos(&pointer) || PtInRect(&rect, pointer))
        return;
    SetCursorPos(rect.left + (rect.right - rect.left) / 2, rect.top + (rect.bottom - rect.top) / 2);
}

void StartInstall(HWND window)
{
    ShowWizardPage(window, PageLanguage);
    PageState = PageInstalling;
    if (!AcceptTypedDestination(window) || !AcceptDestination()) {
        PageState = PageLanguage;
        return;
    }
    RecordAnswers(window);
    LogInstallAnswers("through the wizard");
    HideWizardButtons(window);
    CreateProgressBar(window);
    DWORD startTicks = GetTickCount();
    ShowWaitCursor(window);
    BeginAnswering(window);
    int installed = RunInstallSequence();
    ShowWindow(GetDlgItem(window, ID_CANCEL_BUTTON), SW_HIDE);
    if (InstallCancelled) {
        LogLine("result: install cancelled");
        EndAnswering();
        ShowWizardMessage(InstallCancelledMessage);
        PageState = PageEnd;
        return;
    }
    LogInstallResult(installed);
    WaitAnswering(startTicks, MinimumInstallMs);
    EndAnswering();
    ShowWizardMessage(installed ? InstallSuccessMessage : InstallFailureMessage);
    PageState = PageEnd;
}
