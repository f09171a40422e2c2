// The table in which the timed setup program leaves the time of each start-up
// step: a named shared memory that the benchmark makes for one process, named
// after that process, before the process runs.
#pragma once
#include "startup/startup_steps.h"
#include <windows.h>
#include <stdio.h>

struct StartupStepTable {
    LONGLONG Ticks[StartupStepCount];   // QueryPerformanceCounter at each step's end; 0 not reached
};

inline void StartupStepTableName(DWORD processId, char *name, int bytes)
{
    snprintf(name, bytes, "LumabookStartupSteps.%lu", (unsigned long)processId);
}
