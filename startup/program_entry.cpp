// The program's entry point, in place of the compiler's start-up code. That
// code needs msvcrt.dll, which neither the first Windows 95 nor NT 3.51 has, and
// Pentium Pro instructions; the shipping program uses crtdll.dll, the C runtime
// DLL of every Win32 system (the x86_64 build, for which there is no crtdll,
// uses msvcrt.dll the same way). The runtime DLL sets itself up as it is
// loaded, so all that is left here is to call WinMain and to end the process
// through the runtime, which flushes and closes its streams.
#include "startup/program_name.h"
#include <windows.h>
#include <stdlib.h>

int WINAPI WinMain(HINSTANCE instance, HINSTANCE previous, LPSTR commandLine, int showCommand);

// How the starting program asked the window to be shown, as Windows passes it on.
static int ShowCommand()
{
    STARTUPINFOA startup;
    ZeroMemory(&startup, sizeof(startup));
    startup.cb = sizeof(startup);
    GetStartupInfoA(&startup);
    return (startup.dwFlags & STARTF_USESHOWWINDOW) ? startup.wShowWindow : SW_SHOWDEFAULT;
}

extern "C" void ProgramEntry()
{
    LPSTR arguments = (LPSTR)SkipProgramName(GetCommandLineA());
    exit(WinMain(GetModuleHandleA(0), 0, arguments, ShowCommand()));
}
