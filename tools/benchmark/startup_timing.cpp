// Starting a program and timing it to its visible window. The program starts
// suspended, so that the timed setup program's step table exists before its
// first instruction; every program is started the same way, so the times
// compare.
#include "tools/benchmark/startup_timing.h"
#include "tools/benchmark/startup_step_table.h"
#include "driver/setup_driver.h"
#include <psapi.h>

const DWORD StartupTimeoutMs = 30000;
const DWORD RunTimeoutMs = 300000;
const DWORD PollMs = 1;
// Between one program's end and the next one's start: the window system is
// still taking the last one's windows down for a while after it has ended.
const DWORD SettleMs = 300;

static double TicksPerSecond()
{
    static LARGE_INTEGER frequency;
    if (!frequency.QuadPart)
        QueryPerformanceFrequency(&frequency);
    return (double)frequency.QuadPart;
}

static LONGLONG Ticks()
{
    LARGE_INTEGER now;
    QueryPerformanceCounter(&now);
    return now.QuadPart;
}

double Seconds()
{
    return (double)Ticks() / TicksPerSecond();
}

static double SecondsSince(LONGLONG start, LONGLONG now)
{
    return (double)(now - start) / TicksPerSecond();
}

static HWND WaitForVisibleWindow(DWORD processId, const char *caption, LONGLONG start)
{
    // Polled every millisecond, not at the test driver's pace: the time the
    // window is found is the time measured.
    while (SecondsSince(start, Ticks()) < StartupTimeoutMs / 1000.0) {
        HWND found = FindProcessWindow(processId, caption);
        if (found)
            return found;
        Sleep(PollMs);
    }
    return 0;
}

static double PeakWorkingSetOf(HANDLE process)
{
    PROCESS_MEMORY_COUNTERS counters;
    ZeroMemory(&counters, sizeof(counters));
    counters.cb = sizeof(counters);
    if (!GetProcessMemoryInfo(process, &counters, sizeof(counters)))
        return 0;
    return (double)counters.PeakWorkingSetSize;
}

// A table of zeros, named for the process; 0 when it cannot be made.
static StartupStepTable *MakeStepTable(DWORD processId, HANDLE *mapping)
{
    char name[64];
    StartupStepTableName(processId, name, sizeof(name));
    *mapping = CreateFileMappingA(INVALID_HANDLE_VALUE, 0, PAGE_READWRITE, 0, sizeof(StartupStepTable), name);
    if (!*mapping)
        return 0;
    return (StartupStepTable *)MapViewOfFile(*mapping, FILE_MAP_WRITE, 0, 0, sizeof(StartupStepTable));
}

// The table is polled in shared memory: asking the window system instead, as
// often, would load the wineserver that the program under test waits on too.
static int WaitForMark(const volatile StartupStepTable *table, StartupStep step, LONGLONG start)
{
    while (!table->Ticks[step] && SecondsSince(start, Ticks()) < StartupTimeoutMs / 1000.0)
        Sleep(PollMs);
    return table->Ticks[step] != 0;
}

static void ReadStepEnds(const StartupStepTable *table, LONGLONG start, StartupRun *run)
{
    for (int step = 0; step < StartupStepCount; step++)
        run->StepEnds[step] = table->Ticks[step] ? SecondsSince(start, table->Ticks[step]) : -1;
}

static int StartSuspended(const std::string &exe, const std::string &arguments, PROCESS_INFORMATION *process)
{
    STARTUPINFOA startup;
    ZeroMemory(&startup, sizeof(startup));
    startup.cb = sizeof(startup);
    std::string commandLine = "\"" + exe + "\"" + (arguments.empty() ? "" : " " + arguments);
    return CreateProcessA(exe.c_str(), &commandLine[0], 0, 0, FALSE, CREATE_SUSPENDED, 0, 0, &startup, process);
}

static void EndProcess(PROCESS_INFORMATION *process)
{
    if (WaitForSingleObject(process->hProcess, StartupTimeoutMs) != WAIT_OBJECT_0)
        TerminateProcess(process->hProcess, 1);
    CloseHandle(process->hProcess);
    CloseHandle(process->hThread);
}

// From process creation to the window being visible; for a program that marks
// its steps, to its window being painted, and the time of every step. The
// working set is read then, and the program is cancelled.
StartupRun StartToVisibleWindow(const std::string &exe, const char *caption, int marksSteps)
{
    StartupRun run;
    run.Visible = run.Painted = -1;
    run.PeakWorkingSet = 0;
    for (int step = 0; step < StartupStepCount; step++)
        run.StepEnds[step] = -1;
    PROCESS_INFORMATION process;
    Sleep(SettleMs);
    LONGLONG start = Ticks();
    if (!StartSuspended(exe, "", &process))
        return run;
    HANDLE mapping = 0;
    StartupStepTable *table = marksSteps ? MakeStepTable(process.dwProcessId, &mapping) : 0;
    ResumeThread(process.hThread);
    HWND window = WaitForVisibleWindow(process.dwProcessId, caption, start);
    if (window) {
        run.Visible = SecondsSince(start, Ticks());
        if (table && WaitForMark(table, StepFirstPaint, start))
            run.Painted = SecondsSince(start, table->Ticks[StepFirstPaint]);
        run.PeakWorkingSet = PeakWorkingSetOf(process.hProcess);
        PostMessageA(window, WM_COMMAND, MAKEWPARAM(IDCANCEL, BN_CLICKED), 0);
    }
    EndProcess(&process);
    if (table) {
        ReadStepEnds(table, start, &run);
        UnmapViewOfFile(table);
    }
    if (mapping)
        CloseHandle(mapping);
    return run;
}

// The counters are read while the program runs: not every system keeps them
// once it has ended.
double PeakWorkingSetOfRun(const std::string &exe, const std::string &arguments, DWORD *exitCode)
{
    PROCESS_INFORMATION process;
    *exitCode = (DWORD)-1;
    if (!StartSuspended(exe, arguments, &process))
        return 0;
    ResumeThread(process.hThread);
    double peak = 0;
    LONGLONG start = Ticks();
    DWORD waited;
    do {
        waited = WaitForSingleObject(process.hProcess, PollMs);
        double now = PeakWorkingSetOf(process.hProcess);
        if (now > peak)
            peak = now;
    } while (waited == WAIT_TIMEOUT && SecondsSince(start, Ticks()) < RunTimeoutMs / 1000.0);
    GetExitCodeProcess(process.hProcess, exitCode);
    EndProcess(&process);
    return peak;
}
