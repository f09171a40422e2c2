// The steps of start-up, marked where each one ends. The setup program's marks
// do nothing; the benchmark's timed build of the same sources records the time
// of each, so that the benchmark can tell where start-up spends its time.
#pragma once

enum StartupStep {
    StepEntryReached,       // process creation, loader, imports, runtime: up to the entry point
    StepWaitCursor,         // the wait cursor: the program's first call into the window system
    StepVersionProbe,       // the Windows version, the code page and the system language
    StepSampleFont,         // the sample line's font
    StepCommandLine,        // the setup folder, the command line and the log it asks for
    StepGlyphInflate,       // the glyph resource inflated
    StepGlyphSheets,        // the four glyph sheets and their memory DCs
    StepWizardControls,     // the wizard dialog and its controls created from the template
    StepWizardInit,         // the wizard's own initialisation (WM_INITDIALOG)
    StepWizardShown,        // the dialog shown, back from its creation
    StepFirstPaint,         // the message loop until nothing of the wizard is left to paint
    StartupStepCount
};

// Called at the end of each step. The message loop calls it with
// StepFirstPaint before it fetches each message: the timed build takes the
// first moment at which no window of the program waits to be painted.
void MarkStartupStep(StartupStep step);
