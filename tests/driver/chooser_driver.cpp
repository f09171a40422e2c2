// Drives the wizard's folder chooser from another process. List and combo texts
// are read with the wide messages: across processes the ANSI ones return only
// the first character.
#include "driver/chooser_driver.h"
#include <winternl.h>
#include <stddef.h>

const char ChooserCaption[] = "Choose Destination Directory";
const int ChooserPollMs = 20;
const int BrowseCommandId = 1003;
const int CurrentFolderId = 1088;
const int FolderListId = 1121;
const int DriveComboId = 1137;

HWND OpenChooser(SetupRun *run)
{
    ClickControl(run->wizard, BrowseCommandId);
    return WaitForProcessWindow(run->process.dwProcessId, ChooserCaption, DriverTimeoutMs);
}

int WaitForWindowGone(HWND window, int timeoutMs)
{
    for (int waited = 0; waited < timeoutMs; waited += ChooserPollMs) {
        if (!IsWindow(window) || !IsWindowVisible(window))
            return 1;
        Sleep(ChooserPollMs);
    }
    return 0;
}

static LRESULT SendW(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
{
    DWORD_PTR result = 0;
    if (!SendMessageTimeoutW(window, message, wParam, lParam, SMTO_ABORTIFHUNG, DriverTimeoutMs, &result))
        return -1;
    return (LRESULT)result;
}

std::wstring ControlTextW(HWND dialog, int id)
{
    WCHAR text[1024] = L"";
    SendW(GetDlgItem(dialog, id), WM_GETTEXT, sizeof(text) / sizeof(text[0]), (LPARAM)text);
    return text;
}

static int WaitForCurrentFolderChange(HWND chooser, const std::wstring &before)
{
    for (int waited = 0; waited < DriverTimeoutMs; waited += ChooserPollMs) {
        if (ControlTextW(chooser, CurrentFolderId) != before)
            return 1;
        Sleep(ChooserPollMs);
    }
    return 0;
}

// What a double click on the line does: the dialog opens the selected folder.
int OpenChooserFolder(HWND chooser, const std::wstring &name)
{
    HWND list = GetDlgItem(chooser, FolderListId);
    std::wstring line = L"[" + name + L"]";
    LRESULT index = SendW(list, LB_FINDSTRINGEXACT, (WPARAM)-1, (LPARAM)line.c_str());
    if (index < 0)
        return 0;
    std::wstring before = ControlTextW(chooser, CurrentFolderId);
    SendW(list, LB_SETCURSEL, (WPARAM)index, 0);
    PostMessageW(chooser, WM_COMMAND, MAKEWPARAM(FolderListId, LBN_DBLCLK), (LPARAM)list);
    return WaitForCurrentFolderChange(chooser, before);
}

// Drive lines read "[-z-]" or "z: ..."; the letter is the first letter in the line.
static wchar_t DriveLetterOf(const WCHAR *text)
{
    for (const WCHAR *p = text; *p; p++)
        if (iswalpha(*p))
            return (wchar_t)towlower(*p);
    return 0;
}

int PickChooserDrive(HWND chooser, wchar_t driveLetter)
{
    HWND combo = GetDlgItem(chooser, DriveComboId);
    LRESULT count = SendW(combo, CB_GETCOUNT, 0, 0);
    for (LRESULT i = 0; i < count; i++) {
        WCHAR text[256] = L"";
        if (SendW(combo, CB_GETLBTEXTLEN, (WPARAM)i, 0) >= (LRESULT)(sizeof(text) / sizeof(text[0])))
            continue;
        SendW(combo, CB_GETLBTEXT, (WPARAM)i, (LPARAM)text);
        if (DriveLetterOf(text) != towlower(driveLetter))
            continue;
        std::wstring before = ControlTextW(chooser, CurrentFolderId);
        SendW(combo, CB_SETCURSEL, (WPARAM)i, 0);
        PostMessageW(chooser, WM_COMMAND, MAKEWPARAM(DriveComboId, CBN_SELCHANGE), (LPARAM)combo);
        return WaitForCurrentFolderChange(chooser, before);
    }
    return 0;
}

// The head of the process parameters up to the current directory, laid out with
// pointer-sized handles so that it matches the reading program's own width.
struct ProcessParametersHead {
    ULONG MaximumLength, Length, Flags, DebugFlags;
    HANDLE ConsoleHandle;
    ULONG ConsoleFlags;
    HANDLE StandardInput, StandardOutput, StandardError;
    UNICODE_STRING CurrentDirectoryPath;
    HANDLE CurrentDirectoryHandle;
};

typedef NTSTATUS (NTAPI *QueryProcessFunction)(HANDLE, PROCESSINFOCLASS, PVOID, ULONG, PULONG);

static int ReadRemote(HANDLE process, const void *address, void *buffer, size_t bytes)
{
    SIZE_T read = 0;
    return ReadProcessMemory(process, address, buffer, bytes, &read) && read == bytes;
}

std::wstring ProcessCurrentDirectory(HANDLE process)
{
    QueryProcessFunction query = (QueryProcessFunction)(void *)GetProcAddress(
        GetModuleHandleA("ntdll.dll"), "NtQueryInformationProcess");
    PROCESS_BASIC_INFORMATION basic;
    ULONG length = 0;
    if (!query || query(process, ProcessBasicInformation, &basic, sizeof(basic), &length) != 0)
        return std::wstring();
    const BYTE *peb = (const BYTE *)basic.PebBaseAddress;
    void *parametersAddress = 0;
    ProcessParametersHead parameters;
    if (!ReadRemote(process, peb + offsetof(PEB, ProcessParameters), &parametersAddress, sizeof(parametersAddress))
        || !ReadRemote(process, parametersAddress, &parameters, sizeof(parameters)))
        return std::wstring();
    std::wstring path(parameters.CurrentDirectoryPath.Length / sizeof(WCHAR), L'\0');
    if (!path.empty() && !ReadRemote(process, parameters.CurrentDirectoryPath.Buffer, &path[0],
                                     parameters.CurrentDirectoryPath.Length))
        return std::wstring();
    // The system keeps it with a trailing backslash; a drive root keeps its own.
    if (path.size() > 3 && path.back() == L'\\')
        path.pop_back();
    return path;
}
