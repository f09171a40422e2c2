// Times the install's extraction of the whole payload (the check of every entry
// included) against the bare work it
// cannot avoid (inflate every entry into one buffer, write each with one fwrite),
// and the setup program's start-up against a bare one-dialog program, each pair
// measured in the same run, rounds alternating. Prints medians, ratios and the
// peak working set of this process.
//
// usage: install_benchmark SETUP_EXE BARE_DIALOG_EXE SCRATCH_DIR [ROUNDS]
#include "install/install_sequence.h"
#include "install/payload_store.h"
#include "startup/shared_state.h"
#include <windows.h>
#include <psapi.h>
#include <zlib.h>
#include <stdio.h>
#include <stdlib.h>
#include <algorithm>
#include <string>
#include <vector>

const int DefaultRounds = 5;
const int StartupTimeoutMs = 30000;
static const char WizardCaption[] = "Lumabook Installer";
static const char BareDialogCaption[] = "Bare Dialog";

static double Seconds()
{
    static LARGE_INTEGER frequency;
    if (!frequency.QuadPart)
        QueryPerformanceFrequency(&frequency);
    LARGE_INTEGER now;
    QueryPerformanceCounter(&now);
    return (double)now.QuadPart / (double)frequency.QuadPart;
}

static double Median(std::vector<double> values)
{
    std::sort(values.begin(), values.end());
    return values[values.size() / 2];
}

static void EmptyFolder(const std::string &dir)
{
    WIN32_FIND_DATAA found;
    HANDLE search = FindFirstFileA((dir + "\\*").c_str(), &found);
    if (search == INVALID_HANDLE_VALUE)
        return;
    do {
        if (found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY)
            continue;
        std::string path = dir + "\\" + found.cFileName;
        SetFileAttributesA(path.c_str(), FILE_ATTRIBUTE_NORMAL);
        DeleteFileA(path.c_str());
    } while (FindNextFileA(search, &found));
    FindClose(search);
}

static BOOL CALLBACK CollectEntry(HMODULE, LPCSTR, LPSTR name, LONG_PTR param)
{
    if (IS_INTRESOURCE(name))
        ((std::vector<int> *)param)->push_back((int)(INT_PTR)name);
    return TRUE;
}

// The baseline: every entry inflated into the one buffer and written whole.
// With withAttributes each file is then also made read-only and hidden, the
// attribute work the install does on top, to show what that part costs.
static int BareExtraction(HMODULE module, const std::vector<int> &entries, unsigned char *buffer,
                          const std::string &dir, int withAttributes, unsigned long long *bytes)
{
    *bytes = 0;
    for (int id : entries) {
        HRSRC entry = FindResourceA(module, MAKEINTRESOURCEA(id), "TEXT");
        const Bytef *stream = (const Bytef *)LockResource(LoadResource(module, entry));
        uLongf length = InstallBufferBytes;
        if (uncompress(buffer, &length, stream, SizeofResource(module, entry)) != Z_OK)
            return 0;
        char path[MAX_PATH];
        snprintf(path, sizeof(path), "%s\\%d.bin", dir.c_str(), id);
        FILE *file = fopen(path, "wb");
        if (!file)
            return 0;
        size_t written = fwrite(buffer, 1, length, file);
        fclose(file);
        if (written != length)
            return 0;
        if (withAttributes)
            SetFileAttributesA(path, GetFileAttributesA(path) | FILE_ATTRIBUTE_READONLY | FILE_ATTRIBUTE_HIDDEN);
        *bytes += length;
    }
    return 1;
}

struct WindowSearch {
    DWORD processId;
    const char *caption;
    HWND found;
};

static BOOL CALLBACK MatchWindow(HWND window, LPARAM param)
{
    WindowSearch *search = (WindowSearch *)param;
    DWORD owner = 0;
    GetWindowThreadProcessId(window, &owner);
    char text[128] = "";
    GetWindowTextA(window, text, sizeof(text));
    if (owner != search->processId || !IsWindowVisible(window) || lstrcmpA(text, search->caption) != 0)
        return TRUE;
    search->found = window;
    return FALSE;
}

// From process creation to its window being visible; the program is then cancelled.
static double TimeToVisibleWindow(const std::string &exe, const char *caption)
{
    STARTUPINFOA startup;
    ZeroMemory(&startup, sizeof(startup));
    startup.cb = sizeof(startup);
    PROCESS_INFORMATION process;
    std::string commandLine = "\"" + exe + "\"";
    double start = Seconds();
    if (!CreateProcessA(exe.c_str(), &commandLine[0], 0, 0, FALSE, 0, 0, 0, &startup, &process))
        return -1;
    WindowSearch search = { process.dwProcessId, caption, 0 };
    double shown = -1;
    while (Seconds() - start < StartupTimeoutMs / 1000.0) {
        EnumWindows(MatchWindow, (LPARAM)&search);
        if (search.found) {
            shown = Seconds() - start;
            break;
        }
        Sleep(1);
    }
    if (search.found)
        PostMessageA(search.found, WM_COMMAND, MAKEWPARAM(IDCANCEL, BN_CLICKED), 0);
    if (WaitForSingleObject(process.hProcess, StartupTimeoutMs) != WAIT_OBJECT_0)
        TerminateProcess(process.hProcess, 1);
    CloseHandle(process.hProcess);
    CloseHandle(process.hThread);
    return shown;
}

static std::string WindowsPathOf(const char *path)
{
    std::string result = path;
    if (!result.empty() && result[0] == '/')
        result = "Z:" + result;
    for (char &c : result)
        if (c == '/')
            c = '\\';
    return result;
}

int main(int argc, char **argv)
{
    if (argc < 4 || argc > 5) {
        fprintf(stderr, "usage: install_benchmark SETUP_EXE BARE_DIALOG_EXE SCRATCH_DIR [ROUNDS]\n");
        return 2;
    }
    std::string setupExe = WindowsPathOf(argv[1]);
    std::string bareExe = WindowsPathOf(argv[2]);
    std::string scratch = WindowsPathOf(argv[3]);
    int rounds = argc == 5 ? atoi(argv[4]) : DefaultRounds;
    if (rounds < 1)
        rounds = DefaultRounds;
    std::string bareDir = scratch + "\\bare";
    std::string installDir = scratch + "\\install";
    CreateDirectoryA(scratch.c_str(), 0);
    CreateDirectoryA(bareDir.c_str(), 0);
    CreateDirectoryA(installDir.c_str(), 0);

    HMODULE module = LoadLibraryExA(setupExe.c_str(), 0, LOAD_LIBRARY_AS_DATAFILE);
    if (!module) {
        fprintf(stderr, "install_benchmark: cannot load %s\n", setupExe.c_str());
        return 1;
    }
    AppInstance = module;
    lstrcpyA(InstallDir, installDir.c_str());
    std::vector<int> entries;
    EnumResourceNamesA(module, "TEXT", CollectEntry, (LONG_PTR)&entries);
    unsigned char *buffer = (unsigned char *)malloc(InstallBufferBytes);
    if (!buffer) {
        fprintf(stderr, "install_benchmark: no memory for the install buffer\n");
        return 1;
    }

    std::vector<double> bareTimes, attributeTimes, installTimes;
    unsigned long long bytes = 0;
    for (int round = 0; round < rounds; round++) {
        EmptyFolder(bareDir);
        double start = Seconds();
        if (!BareExtraction(module, entries, buffer, bareDir, 0, &bytes)) {
            fprintf(stderr, "install_benchmark: the bare extraction failed\n");
            return 1;
        }
        bareTimes.push_back(Seconds() - start);
        EmptyFolder(bareDir);
        start = Seconds();
        BareExtraction(module, entries, buffer, bareDir, 1, &bytes);
        attributeTimes.push_back(Seconds() - start);
        EmptyFolder(installDir);
        start = Seconds();
        if (!CheckFileTableEntries() || !ExtractFileTable(buffer)) {
            fprintf(stderr, "install_benchmark: the install's extraction failed\n");
            return 1;
        }
        installTimes.push_back(Seconds() - start);
    }
    free(buffer);
    double bare = Median(bareTimes), install = Median(installTimes);
    printf("Extraction of %d entries, %llu bytes, median of %d rounds:\n", (int)entries.size(), bytes, rounds);
    printf("  bare uncompress + fwrite  %8.3f s\n", bare);
    printf("  install file table        %8.3f s\n", install);
    printf("  ratio                     %8.3f\n", install / bare);
    printf("  (bare + read-only/hidden attributes %.3f s, ratio %.3f: the attribute work alone)\n",
           Median(attributeTimes), Median(attributeTimes) / bare);

    std::vector<double> bareStarts, setupStarts;
    for (int round = 0; round < rounds; round++) {
        bareStarts.push_back(TimeToVisibleWindow(bareExe, BareDialogCaption));
        setupStarts.push_back(TimeToVisibleWindow(setupExe, WizardCaption));
    }
    double bareStart = Median(bareStarts), setupStart = Median(setupStarts);
    printf("Start-up to a visible window, median of %d rounds:\n", rounds);
    printf("  bare one-dialog program   %8.3f s\n", bareStart);
    printf("  setup program's wizard    %8.3f s\n", setupStart);
    if (bareStart > 0 && setupStart > 0)
        printf("  ratio                     %8.3f\n", setupStart / bareStart);
    else
        printf("  ratio                     n/a (a window did not appear)\n");

    PROCESS_MEMORY_COUNTERS counters;
    counters.cb = sizeof(counters);
    GetProcessMemoryInfo(GetCurrentProcess(), &counters, sizeof(counters));
    printf("Peak working set of this process: %.1f MiB\n", counters.PeakWorkingSetSize / (1024.0 * 1024.0));
    EmptyFolder(bareDir);
    EmptyFolder(installDir);
    return 0;
}
