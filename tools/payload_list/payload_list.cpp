// Lists the payload store of a built setup program: id, target name, compressed
// and inflated size of every "TEXT" entry, and checks that each one inflates
// and matches the checksum made when it was packed.
// usage: payload_list SETUP_EXE [--verify]
#include "install/file_table.h"
#include "install/payload_store.h"
#include <windows.h>
#include <stdio.h>
#include <stdlib.h>
#include <string.h>

const int MaxEntries = 1024;

struct EntryList {
    int ids[MaxEntries];
    int count;
};

static BOOL CALLBACK CollectEntry(HMODULE, LPCSTR, LPSTR name, LONG_PTR param)
{
    EntryList *list = (EntryList *)param;
    if (IS_INTRESOURCE(name) && list->count < MaxEntries)
        list->ids[list->count++] = (int)(ULONG_PTR)name;
    return TRUE;
}

static const char *TargetNameOf(int resourceId)
{
    for (int i = 0; i < FileTableRowCount; i++)
        if (FileTable[i].ResourceId == resourceId)
            return FileTable[i].TargetName;
    return "(not in the file table)";
}

static DWORD CompressedSize(HMODULE module, int resourceId)
{
    HRSRC entry = FindResourceA(module, MAKEINTRESOURCEA(resourceId), "TEXT");
    return entry ? SizeofResource(module, entry) : 0;
}

// Every file table row must have its entry; a missing one fails the check.
static int CountMissingRows(const EntryList &list)
{
    int missing = 0;
    for (int i = 0; i < FileTableRowCount; i++) {
        int id = FileTable[i].ResourceId;
        if (!id)
            continue;
        int found = 0;
        for (int j = 0; j < list.count; j++)
            found |= list.ids[j] == id;
        if (!found) {
            printf("%5d  %-24s  MISSING\n", id, FileTable[i].TargetName);
            missing++;
        }
    }
    return missing;
}

int main(int argc, char **argv)
{
    if (argc < 2 || argc > 3 || (argc == 3 && strcmp(argv[2], "--verify") != 0)) {
        fprintf(stderr, "usage: payload_list SETUP_EXE [--verify]\n"
                        "  lists the payload entries; --verify also fails (exit 1) when an entry\n"
                        "  does not match its checksum or inflate, or a file table row has no entry\n");
        return 2;
    }
    HMODULE module = LoadLibraryExA(argv[1], 0, LOAD_LIBRARY_AS_DATAFILE);
    if (!module) {
        fprintf(stderr, "payload_list: cannot open %s (error %lu)\n", argv[1], GetLastError());
        return 1;
    }
    EntryList list;
    list.count = 0;
    EnumResourceNamesA(module, "TEXT", CollectEntry, (LONG_PTR)&list);
    unsigned char *buffer = (unsigned char *)malloc(InstallBufferBytes);
    if (!buffer) {
        fprintf(stderr, "payload_list: no memory for the %lu-byte install buffer\n", InstallBufferBytes);
        return 1;
    }
    int failed = 0;
    unsigned long long packedTotal = 0, inflatedTotal = 0;
    printf("%5s  %-24s  %10s  %10s\n", "id", "target", "compressed", "inflated");
    for (int i = 0; i < list.count; i++) {
        int id = list.ids[i];
        unsigned long length = InstallBufferBytes;
        DWORD packed = CompressedSize(module, id);
        packedTotal += packed;
        if (!PayloadEntryIsIntact(module, id)) {
            printf("%5d  %-24s  %10lu  %10s\n", id, TargetNameOf(id), packed, "CHECKSUM");
            failed++;
        } else if (InflatePayloadEntry(module, id, buffer, &length)) {
            inflatedTotal += length;
            printf("%5d  %-24s  %10lu  %10lu\n", id, TargetNameOf(id), packed, length);
        } else {
            printf("%5d  %-24s  %10lu  %10s\n", id, TargetNameOf(id), packed, "DAMAGED");
            failed++;
        }
    }
    int missing = CountMissingRows(list);
    printf("%d entries, %llu bytes compressed, %llu bytes inflated; %d damaged, %d missing\n",
           list.count, packedTotal, inflatedTotal, failed, missing);
    free(buffer);
    FreeLibrary(module);
    if (argc == 3 && (failed || missing))
        return 1;
    return 0;
}
