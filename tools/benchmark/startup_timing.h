// Starting a program and timing it to its visible window, and, for a program
// that marks its start-up steps (the timed setup program, the bare dialog),
// to its painted window, step by step; with the working set the program has
// by then. And the peak working set of a run to its end.
#pragma once
#include "startup/startup_steps.h"
#include <windows.h>
#include <string>

struct StartupRun {
    double Visible;                     // s from process creation to the visible window; -1 none
    double Painted;                     // s to the window and its controls painted; -1 not marked
    double StepEnds[StartupStepCount];  // s from process creation to each step's end; -1 not marked
    double PeakWorkingSet;              // bytes, once the window is painted (visible, without marks)
};

double Seconds();
StartupRun StartToVisibleWindow(const std::string &exe, const char *caption, int marksSteps);
// The largest working set the program reaches before it ends; 0 when unknown.
double PeakWorkingSetOfRun(const std::string &exe, const std::string &arguments, DWORD *exitCode);
