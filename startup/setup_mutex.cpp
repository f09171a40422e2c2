// One setup at a time, through a named mutex, which every system the program
// runs on has.
#include "startup/setup_mutex.h"

// A name of the local namespace: Windows 95 and NT before Terminal Services know
// no "Global\" prefix (a backslash makes the name invalid there), and on a
// terminal server the local name holds one setup at a time in each session.
static const char SetupMutexName[] = "Lumabook Writer Setup";
// The wizard is a dialog: the dialog manager's class and the template's caption.
static const char WizardClassName[] = "#32770";
static const char WizardCaption[] = "Lumabook Installer";
// The running copy shows its wizard well within this after its start; the
// wait ends at once when that copy ends.
const DWORD RunningWizardWaitMs = 10000;
const DWORD RunningWizardPollMs = 100;

// Never closed: the mutex must stay held until this process ends, and the
// system releases it then, also when the process is ended from outside.
static HANDLE SetupMutex;

int ClaimSetupMutex()
{
    SetLastError(0);
    SetupMutex = CreateMutexA(0, FALSE, SetupMutexName);
    return !(SetupMutex && GetLastError() == ERROR_ALREADY_EXISTS);
}

void ShowRunningSetup()
{
    for (DWORD waited = 0; waited < RunningWizardWaitMs; waited += RunningWizardPollMs) {
        HWND wizard = FindWindowA(WizardClassName, WizardCaption);
        if (wizard) {
            // A message or the folder chooser is what the wizard waits for:
            // that comes to the front, the wizard with it.
            SetForegroundWindow(GetLastActivePopup(wizard));
            return;
        }
        // Signalled or abandoned: the running copy has ended, there is nothing to show.
        if (!SetupMutex || WaitForSingleObject(SetupMutex, RunningWizardPollMs) != WAIT_TIMEOUT)
            return;
    }
}
