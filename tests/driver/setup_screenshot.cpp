// Starts the setup program, waits for its wizard, saves a picture of the first
// page and cancels it. usage: setup_screenshot SETUP_EXE OUTPUT_PNG
#include "driver/setup_driver.h"
#include "support/test_paths.h"
#include "resources/resource_ids.h"
#include <stdio.h>

int main(int argc, char **argv)
{
    if (argc != 3) {
        fprintf(stderr, "usage: setup_screenshot SETUP_EXE OUTPUT_PNG\n");
        return 2;
    }
    std::string exe = WindowsPathOf(argv[1]);
    SetupRun run;
    if (!StartSetup(&run, exe)) {
        fprintf(stderr, "setup_screenshot: cannot start %s\n", exe.c_str());
        return 1;
    }
    run.wizard = WaitForProcessWindow(run.process.dwProcessId, "Lumabook Installer", DriverTimeoutMs);
    if (!run.wizard) {
        fprintf(stderr, "setup_screenshot: no wizard window appeared\n");
        EndSetup(&run);
        return 1;
    }
    Capture capture;
    std::string failures;
    int saved = CaptureWhenDrawn(run.wizard, &capture, ControlsDrawn(run.wizard, { ID_PANEL_PRODUCT_LABEL,
                                 ID_DESTINATION_EDIT }), &failures) && SaveCapture(capture, WindowsPathOf(argv[2]));
    ClickControl(run.wizard, ID_CANCEL_BUTTON);
    DWORD code = 1;
    WaitForExit(&run, DriverTimeoutMs, &code);
    EndSetup(&run);
    if (!saved) {
        fprintf(stderr, "setup_screenshot: cannot save %s %s\n", argv[2], failures.c_str());
        return 1;
    }
    return (int)code;
}
