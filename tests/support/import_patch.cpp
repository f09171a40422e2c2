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

enum { MoveFileExSlot, CreateFileSlot, FlushSlot, MoveFileSlot, StandInCount };
static void *RealFunction[StandInCount];   // as the slots held them
static int FailingStep, StepsTaken;

static BOOL WINAPI MoveFileExStubOf9x(LPCSTR, LPCSTR, DWORD)
{
    SetLastError(ERROR_CALL_NOT_IMPLEMENTED);
    return FALSE;
}

static HANDLE WINAPI CreateFileAs9x(LPCSTR path, DWORD access, DWORD share, LPSECURITY_ATTRIBUTES security,
                                    DWORD disposition, DWORD flags, HANDLE model)
{
    if (!(share & FILE_SHARE_DELETE))
        return ((decltype(&CreateFileA))RealFunction[CreateFileSlot])(path, access, share, security, disposition, flags, model);
    SetLastError(ERROR_INVALID_PARAMETER);
    return INVALID_HANDLE_VALUE;
}

static BOOL StepFails()
{
    if (++StepsTaken == FailingStep)
        SetLastError(ERROR_WRITE_FAULT);
    return StepsTaken == FailingStep;
}

static BOOL WINAPI FlushWithFault(HANDLE file)
{
    return !StepFails() && ((decltype(&FlushFileBuffers))RealFunction[FlushSlot])(file);
}

static BOOL WINAPI MoveFileWithFault(LPCSTR from, LPCSTR to)
{
    return !StepFails() && ((decltype(&MoveFileA))RealFunction[MoveFileSlot])(from, to);
}

static const struct { const char *name; void *standIn; } Windows9xStandIns[StandInCount] = {
    { "MoveFileExA", (void *)MoveFileExStubOf9x }, { "CreateFileA", (void *)CreateFileAs9x },
    { "FlushFileBuffers", (void *)FlushWithFault }, { "MoveFileA", (void *)MoveFileWithFault },
};

int ImitateWindows9x(int on, int failingStep)
{
    IsNtPlatform = !on;
    FailingStep = failingStep;
    StepsTaken = 0;
    int inPlace = 1;
    for (int i = 0; i < StandInCount; i++) {
        if (on && !RealFunction[i])
            RealFunction[i] = ReplaceImport("kernel32.dll", Windows9xStandIns[i].name, Windows9xStandIns[i].standIn);
        else if (!on && RealFunction[i] && ReplaceImport("kernel32.dll", Windows9xStandIns[i].name, RealFunction[i]))
            RealFunction[i] = 0;
        inPlace &= !on || RealFunction[i] != 0;
    }
    return inPlace;
}
