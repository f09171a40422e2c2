// Lets a test stand in for a system function that the program's code calls.
// The program and the code under test are linked into one module, so every call
// goes through that module's import address table; swapping one slot reroutes it.
#include "support/import_patch.h"
#include "startup/shared_state.h"
#include <windows.h>
#include <string.h>

static IMAGE_IMPORT_DESCRIPTOR *ImportsOf(BYTE *base)
{
    IMAGE_NT_HEADERS *headers = (IMAGE_NT_HEADERS *)(base + ((IMAGE_DOS_HEADER *)base)->e_lfanew);
    IMAGE_DATA_DIRECTORY directory = headers->OptionalHeader.DataDirectory[IMAGE_DIRECTORY_ENTRY_IMPORT];
    return directory.Size ? (IMAGE_IMPORT_DESCRIPTOR *)(base + directory.VirtualAddress) : 0;
}

static void **FindSlot(BYTE *base, IMAGE_IMPORT_DESCRIPTOR *library, const char *function)
{
    IMAGE_THUNK_DATA *names = (IMAGE_THUNK_DATA *)(base + library->OriginalFirstThunk);
    IMAGE_THUNK_DATA *slots = (IMAGE_THUNK_DATA *)(base + library->FirstThunk);
    for (; names->u1.AddressOfData; names++, slots++) {
        if (IMAGE_SNAP_BY_ORDINAL(names->u1.Ordinal))
            continue;
        IMAGE_IMPORT_BY_NAME *name = (IMAGE_IMPORT_BY_NAME *)(base + names->u1.AddressOfData);
        if (strcmp((const char *)name->Name, function) == 0)
            return (void **)&slots->u1.Function;
    }
    return 0;
}

void *ReplaceImport(const char *library, const char *function, void *replacement)
{
    BYTE *base = (BYTE *)GetModuleHandleA(0);
    IMAGE_IMPORT_DESCRIPTOR *imports = ImportsOf(base);
    for (; imports && imports->Name; imports++) {
        if (lstrcmpiA((const char *)(base + imports->Name), library) != 0)
            continue;
        void **slot = FindSlot(base, imports, function);
        if (!slot)
            continue;
        DWORD protection;
        if (!VirtualProtect(slot, sizeof(*slot), PAGE_READWRITE, &protection))
            return 0;
        void *previous = *slot;
        *slot = replacement;
        VirtualProtect(slot, sizeof(*slot), protection, &protection);
        return previous;
    }
    return 0;
}

enum { MoveFileExSlot, CreateFileSlot, FlushSlot, MoveFileSlot, WriteFileSlot, CloseHandleSlot, StandInCount };
static void *RealFunction[StandInCount];   // as the slots held them
static int WindowsRules, Windows9x, FailingStep, StepsTaken;
static FileFault Fault;
static HANDLE FileWritten;                  // the last file the code opened for writing
#define REAL(slot, function) ((decltype(&function))RealFunction[slot])

static int IsReadOnly(LPCSTR path)
{
    DWORD attributes = GetFileAttributesA(path);
    return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_READONLY);
}

static BOOL Refuse(DWORD error)
{
    SetLastError(error);
    return FALSE;
}

// Windows does not rename over a read-only file; Wine, running as root, does.
static BOOL WINAPI MoveFileExAsWindows(LPCSTR from, LPCSTR to, DWORD flags)
{
    if (Windows9x)
        return Refuse(ERROR_CALL_NOT_IMPLEMENTED);   // the stub of Windows 95, 98 and ME
    if ((flags & MOVEFILE_REPLACE_EXISTING) && IsReadOnly(to))
        return Refuse(ERROR_ACCESS_DENIED);
    return REAL(MoveFileExSlot, MoveFileExA)(from, to, flags);
}

// Windows opens no read-only file for writing, and recreates a hidden or system
// file only when asked for those attributes again; Wine running as root does
// both. Windows 95, 98 and ME know no FILE_SHARE_DELETE.
static HANDLE WINAPI CreateFileAsWindows(LPCSTR path, DWORD access, DWORD share, LPSECURITY_ATTRIBUTES security,
                                         DWORD disposition, DWORD flags, HANDLE model)
{
    DWORD existing = GetFileAttributesA(path);
    int overwrites = disposition == CREATE_ALWAYS || disposition == TRUNCATE_EXISTING;
    const DWORD kept = FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_SYSTEM;
    if (existing != INVALID_FILE_ATTRIBUTES && !(existing & FILE_ATTRIBUTE_DIRECTORY) &&
        (((existing & FILE_ATTRIBUTE_READONLY) && (overwrites || (access & GENERIC_WRITE))) ||
         (overwrites && (existing & kept & ~flags))))
        return Refuse(ERROR_ACCESS_DENIED), INVALID_HANDLE_VALUE;
    if (Windows9x && (share & FILE_SHARE_DELETE))
        return Refuse(ERROR_INVALID_PARAMETER), INVALID_HANDLE_VALUE;
    HANDLE file = REAL(CreateFileSlot, CreateFileA)(path, access, share, security, disposition, flags, model);
    if (access & GENERIC_WRITE)
        FileWritten = file;
    return file;
}

static BOOL StepFails()
{
    if (++StepsTaken == FailingStep)
        SetLastError(ERROR_WRITE_FAULT);
    return StepsTaken == FailingStep;
}

static BOOL WINAPI FlushWithFault(HANDLE file)
{
    return !StepFails() && REAL(FlushSlot, FlushFileBuffers)(file);
}

static BOOL WINAPI MoveFileWithFault(LPCSTR from, LPCSTR to)
{
    return !StepFails() && REAL(MoveFileSlot, MoveFileA)(from, to);
}

// A pipe or a network redirector may take fewer bytes than asked and still
// report success; the last byte is left out.
static BOOL WINAPI WriteFileWithFault(HANDLE file, LPCVOID data, DWORD length, LPDWORD written, LPOVERLAPPED overlapped)
{
    if (Fault == WriteShortButReportsWhole && file == FileWritten && length > 0)
        length--;
    return REAL(WriteFileSlot, WriteFile)(file, data, length, written, overlapped);
}

// A close on a share whose server went away: the handle is gone, the data may not be there.
static BOOL WINAPI CloseHandleWithFault(HANDLE handle)
{
    BOOL closed = REAL(CloseHandleSlot, CloseHandle)(handle);
    if (Fault != CloseFails || handle != FileWritten)
        return closed;
    FileWritten = 0;
    return Refuse(ERROR_NETNAME_DELETED);
}

static const struct { const char *name; void *standIn; } StandIns[StandInCount] = {
    { "MoveFileExA", (void *)MoveFileExAsWindows }, { "CreateFileA", (void *)CreateFileAsWindows },
    { "FlushFileBuffers", (void *)FlushWithFault }, { "MoveFileA", (void *)MoveFileWithFault },
    { "WriteFile", (void *)WriteFileWithFault }, { "CloseHandle", (void *)CloseHandleWithFault },
};

// The stand-ins are in place while Windows or Windows 95, 98 and ME is imitated.
static int PlaceStandIns()
{
    int on = WindowsRules || Windows9x;
    int inPlace = 1;
    for (int i = 0; i < StandInCount; i++) {
        if (on && !RealFunction[i])
            RealFunction[i] = ReplaceImport("kernel32.dll", StandIns[i].name, StandIns[i].standIn);
        else if (!on && RealFunction[i] && ReplaceImport("kernel32.dll", StandIns[i].name, RealFunction[i]))
            RealFunction[i] = 0;
        inPlace &= !on || RealFunction[i] != 0;
    }
    return inPlace;
}

int ImitateWindows(int on, FileFault fault)
{
    IsNtPlatform = 1;   // Wine's own answer, and the Windows imitated
    WindowsRules = on;
    Fault = on ? fault : NoFileFault;
    FileWritten = 0;
    return PlaceStandIns();
}

int ImitateWindows9x(int on, int failingStep)
{
    IsNtPlatform = !on;
    Windows9x = on;
    FailingStep = failingStep;
    StepsTaken = 0;
    return PlaceStandIns();
}
