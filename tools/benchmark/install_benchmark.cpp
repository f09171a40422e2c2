// Times the install's extraction of the whole payload (the check of every entry
// included) against the bare work it cannot avoid (inflate every entry into
// one buffer, write each with one fwrite), with the install's attribute work
// and its flush to the disk each added to the bare work alone; and the setup
// program's start-up against a bare one-dialog program of the same image
// size. Each pair is measured in the same run, rounds alternating. The timed
// build of the setup program tells where start-up spends its time, step by
// step. Prints medians, ratios and peak working sets: of the setup program at
// its painted wizard and through an unattended install, and of this process.
//
// usage: install_benchmark SETUP_EXE SETUP_TIMED_EXE BARE_DIALOG_EXE SCRATCH_DIR [ROUNDS]
#include "install/install_sequence.h"
#include "install/payload_store.h"
#include "startup/shared_state.h"
#include "startup/system_probe.h"
#include "tools/benchmark/startup_timing.h"
#include <windows.h>
#include <psapi.h>
#include <io.h>
#include <zlib.h>
#include <stdio.h>
#include <stdlib.h>
#include <algorithm>
#include <string>
#include <vector>

const int DefaultRounds = 5;
const double MiB = 1024.0 * 1024.0;
static const char WizardCaption[] = "Lumabook Installer";
static const char BareDialogCaption[] = "Bare Dialog";

// What each start-up step covers, in the order the program takes them.
static const char *const StartupStepNames[StartupStepCount] = {
    "process creation to the entry point",
    "wait cursor (window system set up)",
    "version probe",
    "sample font",
    "setup folder and command line",
    "glyph inflate",
    "glyph sheets and their DCs",
    "wizard dialog and its controls",
    "wizard initialisation",
    "wizard shown",
    "first paint",
};

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

// What the bare extraction does besides inflating and writing: nothing, or one
// of the install's own steps on top, to show what that step alone costs.
enum BareExtra { BareOnly, BareAttributes, BareFlush, BareExtraCount };

// The data of a written file on the disk before the file is closed, as the
// install flushes each file before it takes its name.
static int FlushToDisk(FILE *file)
{
    return fflush(file) == 0 && FlushFileBuffers((HANDLE)_get_osfhandle(_fileno(file)));
}

// The baseline: every entry inflated into the one buffer and written whole,
// with the extra step asked for: each file then made read-only and hidden, or
// flushed to the disk before it is closed.
static int BareExtraction(HMODULE module, const std::vector<int> &entries, unsigned char *buffer,
                          const std::string &dir, BareExtra extra, unsigned long long *bytes)
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
        int flushed = extra != BareFlush || FlushToDisk(file);
        fclose(file);
        if (written != length || !flushed)
            return 0;
        if (extra == BareAttributes)
            SetFileAttributesA(path, GetFileAttributesA(path) | FILE_ATTRIBUTE_READONLY | FILE_ATTRIBUTE_HIDDEN);
        *bytes += length;
    }
    return 1;
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

static int TimeExtraction(const std::string &setupExe, const std::string &scratch, int rounds)
{
    std::string bareDir = scratch + "\\bare";
    std::string installDir = scratch + "\\install";
    CreateDirectoryA(bareDir.c_str(), 0);
    CreateDirectoryA(installDir.c_str(), 0);
    HMODULE module = LoadLibraryExA(setupExe.c_str(), 0, LOAD_LIBRARY_AS_DATAFILE);
    if (!module) {
        fprintf(stderr, "install_benchmark: cannot load %s\n", setupExe.c_str());
        return 0;
    }
    AppInstance = module;
    // The install replaces files the NT way or the Windows 95 way by the
    // version the setup program's start-up finds: the same probe here.
    ProbeWindowsVersion();
    lstrcpyA(InstallDir, installDir.c_str());
    std::vector<int> entries;
    EnumResourceNamesA(module, "TEXT", CollectEntry, (LONG_PTR)&entries);
    unsigned char *buffer = (unsigned char *)malloc(InstallBufferBytes);
    if (!buffer) {
        fprintf(stderr, "install_benchmark: no memory for the install buffer\n");
        return 0;
    }

    std::vector<double> bareTimes[BareExtraCount], installTimes, reinstallTimes;
    unsigned long long bytes = 0;
    for (int round = 0; round < rounds; round++) {
        for (int extra = BareOnly; extra < BareExtraCount; extra++) {
            EmptyFolder(bareDir);
            double start = Seconds();
            if (!BareExtraction(module, entries, buffer, bareDir, (BareExtra)extra, &bytes)) {
                fprintf(stderr, "install_benchmark: the bare extraction failed\n");
                return 0;
            }
            bareTimes[extra].push_back(Seconds() - start);
        }
        EmptyFolder(installDir);
        double start = Seconds();
        if (!CheckFileTableEntries() || !ExtractFileTable(buffer)) {
            fprintf(stderr, "install_benchmark: the install's extraction failed\n");
            return 0;
        }
        installTimes.push_back(Seconds() - start);
        // Again over the complete product: every old file has a new one beside
        // it, each flushed before the names change, as a reinstall does.
        start = Seconds();
        if (!CheckFileTableEntries() || !ExtractFileTable(buffer)) {
            fprintf(stderr, "install_benchmark: the reinstall's extraction failed\n");
            return 0;
        }
        reinstallTimes.push_back(Seconds() - start);
    }
    free(buffer);
    EmptyFolder(bareDir);
    EmptyFolder(installDir);
    double bare = Median(bareTimes[BareOnly]), install = Median(installTimes), reinstall = Median(reinstallTimes);
    double attributes = Median(bareTimes[BareAttributes]), flushed = Median(bareTimes[BareFlush]);
    printf("Extraction of %d entries, %llu bytes, median of %d rounds:\n", (int)entries.size(), bytes, rounds);
    printf("  bare uncompress + fwrite  %8.3f s\n", bare);
    printf("  install file table        %8.3f s\n", install);
    printf("  ratio                     %8.3f\n", install / bare);
    printf("  (bare + read-only/hidden attributes %.3f s, ratio %.3f: the attribute work alone)\n",
           attributes, attributes / bare);
    printf("  (bare + flush to the disk %.3f s, ratio %.3f: the flush alone)\n", flushed, flushed / bare);
    printf("  fresh install against the bare work                 %8.3f (goal 1.10)\n", install / bare);
    printf("  reinstall over the product, %.3f s, against the bare work with the flush %8.3f (goal 1.15)\n",
           reinstall, reinstall / flushed);
    return 1;
}

struct StartupSeries {
    std::vector<StartupRun> Runs;
    double Median(double StartupRun::*field) const
    {
        std::vector<double> values;
        for (const StartupRun &run : Runs)
            values.push_back(run.*field);
        return ::Median(values);
    }
    // From the end of the step marked before it, or from process creation.
    double MedianStep(int step) const
    {
        std::vector<double> lengths;
        for (const StartupRun &run : Runs) {
            double previous = 0;
            for (int before = 0; before < step; before++)
                if (run.StepEnds[before] >= 0)
                    previous = run.StepEnds[before];
            if (run.StepEnds[step] >= 0)
                lengths.push_back(run.StepEnds[step] - previous);
        }
        return lengths.empty() ? -1 : ::Median(lengths);
    }
};

static void PrintStartupLine(const char *name, const StartupSeries &series)
{
    printf("  %-30s %7.3f s", name, series.Median(&StartupRun::Visible));
    double painted = series.Median(&StartupRun::Painted);
    if (painted > 0)
        printf("  %7.3f s  %8.1f MiB\n", painted, series.Median(&StartupRun::PeakWorkingSet) / MiB);
    else
        printf("\n");
}

static void PrintRatio(double program, double bare)
{
    if (program > 0 && bare > 0)
        printf("  %7.3f  ", program / bare);
    else
        printf("      n/a  ");
}

// Each step's share is of the timed build's median time to the painted wizard;
// the bare program marks its entry point, its dialog shown and its first paint.
static void PrintSteps(const StartupSeries &timed, const StartupSeries &bare)
{
    double total = timed.Median(&StartupRun::Painted);
    printf("Start-up of the timed build by step, median of %d rounds:  setup   share    bare\n", (int)timed.Runs.size());
    for (int step = 0; step < StartupStepCount; step++) {
        double length = timed.MedianStep(step), bareLength = bare.MedianStep(step);
        printf("  %-38s", StartupStepNames[step]);
        if (length < 0)
            printf("     not reached");
        else
            printf(" %7.1f ms %5.1f %%", length * 1000, total > 0 ? 100 * length / total : 0);
        if (bareLength >= 0)
            printf(" %7.1f ms", bareLength * 1000);
        printf("\n");
    }
    printf("  %-38s %7.1f ms         %7.1f ms\n", "to the painted window", total * 1000,
           bare.Median(&StartupRun::Painted) * 1000);
}

// Each round starts the bare program, the setup program and its timed build,
// each round in another order, so that none always follows the same one.
static void TimeStartup(const std::string &setupExe, const std::string &timedExe, const std::string &bareExe,
                        int rounds)
{
    StartupSeries bare, setup, timed;
    const int ProgramCount = 3;
    for (int round = 0; round < rounds; round++)
        for (int turn = 0; turn < ProgramCount; turn++)
            switch ((round + turn) % ProgramCount) {
            case 0: bare.Runs.push_back(StartToVisibleWindow(bareExe, BareDialogCaption, 1)); break;
            case 1: setup.Runs.push_back(StartToVisibleWindow(setupExe, WizardCaption, 0)); break;
            case 2: timed.Runs.push_back(StartToVisibleWindow(timedExe, WizardCaption, 1)); break;
            }
    printf("Start-up, median of %d rounds:           visible    painted  peak working set\n", rounds);
    PrintStartupLine("bare one-dialog program", bare);
    PrintStartupLine("setup program", setup);
    PrintStartupLine("setup program, timed build", timed);
    printf("  %-30s", "ratio to the bare program");
    PrintRatio(setup.Median(&StartupRun::Visible), bare.Median(&StartupRun::Visible));
    PrintRatio(timed.Median(&StartupRun::Painted), bare.Median(&StartupRun::Painted));
    printf("\n  (visible: the setup program; painted: its timed build)\n");
    PrintSteps(timed, bare);
}

int main(int argc, char **argv)
{
    if (argc < 5 || argc > 6) {
        fprintf(stderr, "usage: install_benchmark SETUP_EXE SETUP_TIMED_EXE BARE_DIALOG_EXE SCRATCH_DIR [ROUNDS]\n");
        return 2;
    }
    std::string setupExe = WindowsPathOf(argv[1]);
    std::string timedExe = WindowsPathOf(argv[2]);
    std::string bareExe = WindowsPathOf(argv[3]);
    std::string scratch = WindowsPathOf(argv[4]);
    int rounds = argc == 6 ? atoi(argv[5]) : DefaultRounds;
    if (rounds < 1)
        rounds = DefaultRounds;
    CreateDirectoryA(scratch.c_str(), 0);

    if (!TimeExtraction(setupExe, scratch, rounds))
        return 1;
    TimeStartup(setupExe, timedExe, bareExe, rounds);

    std::string unattendedDir = scratch + "\\unattended";
    DWORD exitCode;
    double installPeak = PeakWorkingSetOfRun(setupExe, "/S /D=" + unattendedDir, &exitCode);
    printf("Peak working set of the setup program through an unattended install: %.1f MiB (exit code %lu)\n",
           installPeak / MiB, (unsigned long)exitCode);
    EmptyFolder(unattendedDir);

    PROCESS_MEMORY_COUNTERS counters;
    counters.cb = sizeof(counters);
    GetProcessMemoryInfo(GetCurrentProcess(), &counters, sizeof(counters));
    printf("Peak working set of this process: %.1f MiB\n", counters.PeakWorkingSetSize / MiB);
    return 0;
}
