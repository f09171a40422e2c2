// A Program Manager group through DDE. Every Windows from 3.1 on answers the
// service "PROGMAN" with the topic "PROGMAN": Program Manager itself, and the
// shells after it (Explorer, Wine's too), which turn the group into a folder
// of the Start menu. Each command is one execute transaction; the group's
// name and the items' names are the links' names, in the system's code page.
#include "shell/program_manager_group.h"
#include "install/install_log.h"
#include "startup/shared_state.h"
#include <windows.h>
#include <ddeml.h>
#include <stdio.h>

static const char ProgramManagerService[] = "PROGMAN";
// Program Manager makes a group's file and window for a command: seconds on a
// slow disk, so the answer is waited for long.
const DWORD CommandTimeoutMs = 30000;
const int CommandBytes = 3 * PathBufferBytes + 64;

// A client that only executes commands is sent no transactions of its own.
static HDDEDATA CALLBACK IgnoreTransactions(UINT, UINT, HCONV, HSZ, HSZ, HDDEDATA, ULONG_PTR, ULONG_PTR)
{
    return 0;
}

// Program Manager reads the arguments between double quotes, so that a name
// with a comma or a bracket stays one argument; a name holding a double quote
// cannot be passed at all.
static int HoldsQuote(const char *text)
{
    for (const char *p = text; *p; p = CharNextA(p))
        if (*p == '"')
            return 1;
    return 0;
}

static int Execute(DWORD instance, HCONV conversation, const char *command)
{
    DWORD result = 0;
    HDDEDATA answer = DdeClientTransaction((LPBYTE)command, (DWORD)lstrlenA(command) + 1, conversation, 0, 0,
                                           XTYP_EXECUTE, CommandTimeoutMs, &result);
    if (!answer) {
        LogLine("link FAILED: Program Manager refused %s: DDE error 0x%04X", command, DdeGetLastError(instance));
        return 0;
    }
    LogLine("link made: Program Manager took %s", command);
    return 1;
}

// The item runs the target in the install directory, with the target's first
// icon and the install directory as its working folder, as a link would.
static int AddItem(DWORD instance, HCONV conversation, const LinkEntry *entry)
{
    char target[PathBufferBytes];
    char command[CommandBytes];
    int length = snprintf(target, sizeof(target), "%s\\%s", InstallDir, entry->file);
    if (length < 0 || length >= (int)sizeof(target) || HoldsQuote(entry->name) || HoldsQuote(target)) {
        LogLine("link FAILED: %s\\%s: no Program Manager item can hold this path", InstallDir, entry->file);
        return 0;
    }
    snprintf(command, sizeof(command), "[AddItem(\"%s\",\"%s\",\"%s\",0,-1,-1,\"%s\")]", target, entry->name,
             target, InstallDir);
    return Execute(instance, conversation, command);
}

static int SendGroupCommands(DWORD instance, HCONV conversation, const char *groupName, const LinkEntry *entries)
{
    char command[CommandBytes];
    if (HoldsQuote(groupName) || (size_t)lstrlenA(groupName) >= (size_t)PathBufferBytes) {
        LogLine("link FAILED: no Program Manager group can have the name %s", groupName);
        return 0;
    }
    // Without a group name the items go into the group Program Manager has open.
    snprintf(command, sizeof(command), "[CreateGroup(\"%s\")]", groupName);
    if (groupName[0] && !Execute(instance, conversation, command))
        return 0;
    int allAdded = 1;
    for (const LinkEntry *entry = entries; entry->name; entry++)
        allAdded = AddItem(instance, conversation, entry) && allAdded;
    return allAdded;
}

int CreateProgramManagerGroup(const char *groupName, const LinkEntry *entries)
{
    if (!groupName)
        groupName = "";
    DWORD instance = 0;
    if (DdeInitializeA(&instance, IgnoreTransactions, APPCMD_CLIENTONLY, 0) != DMLERR_NO_ERROR) {
        LogLine("link FAILED: DDE cannot be used, no Program Manager group made: %s", groupName);
        return 0;
    }
    int made = 0;
    HSZ service = DdeCreateStringHandleA(instance, ProgramManagerService, CP_WINANSI);
    HCONV conversation = service ? DdeConnect(instance, service, service, 0) : 0;
    if (!conversation)
        LogLine("link FAILED: Program Manager does not answer (DDE error 0x%04X), no group made: %s",
                DdeGetLastError(instance), groupName);
    else
        made = SendGroupCommands(instance, conversation, groupName, entries);
    if (conversation)
        DdeDisconnect(conversation);
    if (service)
        DdeFreeStringHandle(instance, service);
    DdeUninitialize(instance);
    return made;
}
