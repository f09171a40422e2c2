// The setup program marks its start-up steps for nobody: only the benchmark's
// timed build of the same sources records them (tools/benchmark/startup_steps_timed.cpp).
#include "startup/startup_steps.h"

void MarkStartupStep(StartupStep)
{
}
