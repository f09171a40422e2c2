// Starting a program and timing it to its visible window: the time the window
// takes to appear, to be painted, the timed setup program's step marks, and
// the working set the program has by then; and the peak working set of a run
// to its end.
#pragma once
#include "startup/startup_steps.h"
#include <windows.h>
#include <string>

struct StartupRun {
    double Visible;                     // s from process creation to the visible window; -1 none
    double Idle;                        // s to the program waiting for input, its window painted
    double StepEnds[StartupStepCount];  // s from process creation to each step's end; -1 not marked
    double PeakWorkingSet;              // bytes, once the window is painted
};

double Seconds();
StartupRun StartToVisibleWindow(const std::string &exe, const char *caption, int readSteps);
// The largest working set the program reaches before it ends; 0 when unknown.
double PeakWorkingSetOfRun(const std::string &exe, const std::string &arguments, DWORD *exitCode);
