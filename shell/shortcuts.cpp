// The product's shortcuts: the Start-menu group with its links, and the desktop link.
#include "shell/shortcuts.h"
#include "shell/special_folder.h"
#include "shell/program_manager_group.h"
#include "startup/shared_state.h"
#include "install/install_log.h"
#include "wizard/message_dialog.h"
#include "wizard/message_texts.h"
#include <shlobj.h>
#include <stdio.h>
#include <string.h>

const int DesktopLinkPartBytes = 100;   // "\<name>.lnk" with its terminator
const int FolderMessageBytes = PathBufferBytes + 32;

int StartMenuEntryWhole;

static void ShowStartMenuFailure()
{
    ShowMessageDialog(StartMenuFailureMessage.Chinese, StartMenuFailureMessage.English,
                      MessageStyleOk, WizardWindow);
}

// The message names no folder in English, so the log line does.
static void ShowFolderFailure(const char *folder, DWORD error)
{
    LogFailure(error, "link FAILED, the group folder cannot be created: %s", folder);
    char chinese[FolderMessageBytes];
    snprintf(chinese, sizeof(chinese), GroupFolderChineseFormat, folder);
    ShowMessageDialog(chinese, CannotCreateFolderText, MessageStyleOk, WizardWindow);
}

// Formats "<first>\<second><suffix>" into a 260-byte path; 0 when it would not fit.
static int JoinPath(char *path, const char *first, const char *second, const char *suffix)
{
    int length = snprintf(path, PathBufferBytes, "%s\\%s%s", first, second, suffix);
    return length >= 0 && length < PathBufferBytes;
}

static void LogPathTooLong(const char *folder, const char *name, const char *suffix)
{
    LogLine("link FAILED: %s\\%s%s: the path is longer than 259 bytes", folder, name, suffix);
}

static int CreateEntryLink(const char *folder, const LinkEntry *entry)
{
    char linkPath[PathBufferBytes];
    char target[PathBufferBytes];
    if (!JoinPath(linkPath, folder, entry->name, ".lnk")) {
        LogPathTooLong(folder, entry->name, ".lnk");
        return 0;
    }
    if (!JoinPath(target, InstallDir, entry->file, "")) {
        LogPathTooLong(InstallDir, entry->file, "");
        return 0;
    }
    return CreateShellLink(target, linkPath, entry->name);
}

// The group folder inside the special folder, created when nothing stands there.
// A file standing there is left alone: the links into it then fail.
static int PrepareGroupFolder(char *folder, const char *groupName)
{
    char groupFolder[PathBufferBytes];
    if (!JoinPath(groupFolder, folder, groupName, "")) {
        LogPathTooLong(folder, groupName, "");
        ShowStartMenuFailure();
        return 0;
    }
    if (GetFileAttributesA(groupFolder) == INVALID_FILE_ATTRIBUTES && !CreateDirectoryA(groupFolder, 0)) {
        ShowFolderFailure(groupFolder, GetLastError());
        return 0;
    }
    lstrcpyA(folder, groupFolder);
    return 1;
}

// The last link decides the result: an earlier failure alone is not reported
// to the user, but it leaves the entry not whole.
int CreateStartMenuEntry(const char *groupName, const LinkEntry *entries, int kind)
{
    StartMenuEntryWhole = 0;
    if (!ShellLinkObjectAvailable()) {
        StartMenuEntryWhole = CreateProgramManagerGroup(groupName, entries);
        if (!StartMenuEntryWhole)
            ShowStartMenuFailure();
        return StartMenuEntryWhole;
    }
    char folder[PathBufferBytes];
    if (!GetSpecialFolderPath(folder, kind)) {
        LogLine("link FAILED: the Start menu's programs folder was not found, no link made");
        ShowStartMenuFailure();
        return 0;
    }
    if (groupName && groupName[0] && !PrepareGroupFolder(folder, groupName))
        return 0;
    int lastResult = 1;
    int allMade = 1;
    for (const LinkEntry *entry = entries; entry->name; entry++) {
        lastResult = CreateEntryLink(folder, entry);
        allMade = allMade && lastResult;
    }
    StartMenuEntryWhole = allMade;
    if (!lastResult) {
        ShowStartMenuFailure();
        return 0;
    }
    return 1;
}

// The desktop link reports nothing: a missing desktop is no reason to bother the user.
int CreateDesktopLink(const char *file, const char *name)
{
    char target[PathBufferBytes];
    char folder[PathBufferBytes];
    char linkPath[PathBufferBytes];
    if (!ShellLinkObjectAvailable()) {
        LogLine("link not made: %s.lnk on the desktop: this system has no shell link object, and Program Manager "
                "has no desktop", name);
        return 0;
    }
    if (!JoinPath(target, InstallDir, file, "")) {
        LogPathTooLong(InstallDir, file, "");
        return 0;
    }
    if (!GetSpecialFolderPath(folder, CSIDL_DESKTOP)) {
        LogLine("link FAILED: the desktop folder was not found, no desktop link made: %s.lnk", name);
        return 0;
    }
    if (strlen(name) + sizeof("\\.lnk") > (size_t)DesktopLinkPartBytes) {
        LogLine("link FAILED: %s\\%s.lnk: the name is longer than a desktop link's 94 bytes", folder, name);
        return 0;
    }
    if (!JoinPath(linkPath, folder, name, ".lnk")) {
        LogPathTooLong(folder, name, ".lnk");
        return 0;
    }
    return CreateShellLink(target, linkPath, name);
}
