// Lets a test stand in for a system function that the program's code calls.
// The program and the code under test are linked into one module, so every call
// goes through that module's import address table; swapping one slot reroutes it.
#include "support/import_patch.h"
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
