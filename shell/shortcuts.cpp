// The product's shortcuts: the Start-menu group with its links, and the desktop link.
#include "shell/shortcuts.h"
#include "shell/special_folder.h"
#include "startup/shared_state.h"
#include "wizard/message_dialog.h"
#include "wizard/message_texts.h"
#include <shlobj.h>
#include <stdio.h>
#include <string.h>

const int DesktopLinkPartBytes = 100;   // "\<name>.lnk" with its terminator
const int FolderMessageBytes = PathBufferBytes + 32;

static void ShowStartMenuFailure()
{
    ShowMessageDialog(StartMenuFailureMessage.Chinese, StartMenuFailureMessage.English,
                      MessageStyleOk, WizardWindow);
}

static void ShowFolderFailure(const char *folder)
{
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

static int CreateEntryLink(const char *folder, const LinkEntry *entry)
{
    char linkPath[PathBufferBytes];
    char target[PathBufferBytes];
    if (!JoinPath(linkPath, folder, entry->name, ".lnk") || !JoinPath(target, InstallDir, entry->file, ""))
        return 0;
    return CreateShellLink(target, linkPath, entry->name);
}

// The group folder inside the special folder, created when nothing stands there.
// A file standing there is left alone: the links into it then fail.
static int PrepareGroupFolder(char *folder, const char *groupName)
{
    char groupFolder[PathBufferBytes];
    if (!JoinPath(groupFolder, folder, groupName, "")) {
        ShowStartMenuFailure();
        return 0;
    }
    if (GetFileAttributesA(groupFolder) == INVALID_FILE_ATTRIBUTES && !CreateDirectoryA(groupFolder, 0)) {
        ShowFolderFailure(groupFolder);
        return 0;
    }
    lstrcpyA(folder, groupFolder);
    return 1;
}

// The last link decides the result: an earlier failure alone is not reported.
int CreateStartMenuEntry(const char *groupName, const LinkEntry *entries, int kind)
{
    char folder[PathBufferBytes];
    if (!GetSpecialFolderPath(folder, kind)) {
        ShowStartMenuFailure();
        return 0;
    }
    if (groupName && groupName[0] && !PrepareGroupFolder(folder, groupName))
        return 0;
    int lastResult = 1;
    for (const LinkEntry *entry = entries; entry->name; entry++)
        lastResult = CreateEntryLink(folder, entry);
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
    if (!JoinPath(target, InstallDir, file, ""))
        return 0;
    if (!GetSpecialFolderPath(folder, CSIDL_DESKTOP))
        return 0;
    if (strlen(name) + sizeof("\\.lnk") > (size_t)DesktopLinkPartBytes)
        return 0;
    if (!JoinPath(linkPath, folder, name, ".lnk"))
        return 0;
    return CreateShellLink(target, linkPath, name);
}
