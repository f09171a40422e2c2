// The start-up step marks of the benchmark's timed build of the setup program:
// each records the performance counter in the table the benchmark made for
// this process. Linked in place of the setup program's empty marks; without a
// table (started by anyone else) the program runs as the setup program does.
#include "tools/benchmark/startup_step_table.h"

static StartupStepTable *Table;
static int TableLookedFor;

static StartupStepTable *FindTable()
{
    if (TableLookedFor)
        return Table;
    TableLookedFor = 1;
    char name[64];
    StartupStepTableName(GetCurrentProcessId(), name, sizeof(name));
    HANDLE mapping = OpenFileMappingA(FILE_MAP_WRITE, FALSE, name);
    if (mapping)    // kept open for the whole run, like the view
        Table = (StartupStepTable *)MapViewOfFile(mapping, FILE_MAP_WRITE, 0, 0, sizeof(StartupStepTable));
    return Table;
}

// Paint messages come only when no other message waits, one window at a
// time: the first paint is over once none of the program's windows waits for one.
static int PaintPending()
{
    return (HIWORD(GetQueueStatus(QS_PAINT)) & QS_PAINT) != 0;
}

// The counter is read first, so that finding the table counts in the next step.
void MarkStartupStep(StartupStep step)
{
    LARGE_INTEGER now;
    QueryPerformanceCounter(&now);
    StartupStepTable *table = FindTable();
    if (!table || table->Ticks[step])
        return;
    if (step == StepFirstPaint && PaintPending())
        return;
    table->Ticks[step] = now.QuadPart;
}
