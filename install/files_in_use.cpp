// Files held by other programs. Opening a file without sharing fails while
// any other program has it open, on every system, and changes nothing. NT
// keeps no handle open on a running program's image, so there only the
// Restart Manager (Windows Vista and later) sees a running Lumabook.exe
// before its rename fails; on NT 4.0 to XP the install finds it when it
// replaces the file.
#include "install/files_in_use.h"
#include "startup/path_text.h"
#include "startup/shared_state.h"
#include "startup/system_functions.h"
#include <string.h>

const int MostProgramsNamed = 4;
static const char ProgramSeparator[] = ", ";

static int IsHeldWithoutSharing(const char *path)
{
    HANDLE file = CreateFileA(path, GENERIC_READ, 0, 0, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, 0);
    if (file != INVALID_HANDLE_VALUE) {
        CloseHandle(file);
        return 0;
    }
    DWORD error = GetLastError();
    return error == ERROR_SHARING_VIOLATION || error == ERROR_LOCK_VIOLATION;
}

static int HasRestartManager()
{
    return RestartStartSession && RestartRegisterResources && RestartGetList && RestartEndSession;
}

// The processes that use the file, this one left out; their count, or 0 when
// the Restart Manager is missing or fails.
static UINT ListProcessesUsing(const char *path, RM_PROCESS_INFO *processes, UINT capacity)
{
    WCHAR widePath[PathBufferBytes];
    if (!HasRestartManager() || !MultiByteToWideChar(CP_ACP, 0, path, -1, widePath, PathBufferBytes))
        return 0;
    DWORD session;
    WCHAR key[CCH_RM_SESSION_KEY + 1];
    ZeroMemory(key, sizeof(key));
    if (RestartStartSession(&session, 0, key) != ERROR_SUCCESS)
        return 0;
    LPCWSTR files[] = { widePath };
    UINT needed = 0, count = capacity;
    DWORD reasons = 0;
    if (RestartRegisterResources(session, 1, files, 0, 0, 0, 0) != ERROR_SUCCESS ||
        RestartGetList(session, &needed, &count, processes, &reasons) != ERROR_SUCCESS)
        count = 0;
    RestartEndSession(session);
    UINT others = 0;
    for (UINT i = 0; i < count && i < capacity; i++)
        if (processes[i].Process.dwProcessId != GetCurrentProcessId())
            processes[others++] = processes[i];
    return others;
}

int FileIsInUse(const char *path)
{
    if (GetFileAttributesA(path) == INVALID_FILE_ATTRIBUTES)
        return 0;
    if (IsHeldWithoutSharing(path))
        return 1;
    RM_PROCESS_INFO processes[MostProgramsNamed];
    return ListProcessesUsing(path, processes, MostProgramsNamed) > 0;
}

// A program's name in the system's code page, for the message's English line,
// which the system's own font shows.
static void AppendProgramName(const WCHAR *name, char *names, int capacity)
{
    char ansi[CCH_RM_MAX_APP_NAME + 1];
    if (!WideCharToMultiByte(CP_ACP, 0, name, -1, ansi, sizeof(ansi), 0, 0))
        return;
    int used = lstrlenA(names);
    if (used && used + (int)sizeof(ProgramSeparator) < capacity)
        lstrcatA(names, ProgramSeparator);
    used = lstrlenA(names);
    CopyWholeCharacters(names + used, ansi, capacity - used);
}

void NameProgramsHolding(const char *path, char *names, int capacity)
{
    names[0] = 0;
    RM_PROCESS_INFO processes[MostProgramsNamed];
    UINT count = ListProcessesUsing(path, processes, MostProgramsNamed);
    for (UINT i = 0; i < count; i++)
        AppendProgramName(processes[i].strAppName, names, capacity);
}
