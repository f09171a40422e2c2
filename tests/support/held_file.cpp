// A file held open without sharing by a second process (tests/support/hold_file.cpp).
#include "support/held_file.h"
#include "support/test_paths.h"
#include <gtest/gtest.h>
#include <stdlib.h>

int HoldFileInAnotherProcess(const std::string &path, HeldFile *held)
{
    ZeroMemory(held, sizeof(*held));
    const char *holder = getenv("LUMABOOK_HOLD_FILE");
    if (!holder)
        return 0;
    SECURITY_ATTRIBUTES inherit = { sizeof(inherit), 0, TRUE };
    HANDLE childInput, childOutput, ourOutput;
    if (!CreatePipe(&childInput, &held->input, &inherit, 0) || !CreatePipe(&ourOutput, &childOutput, &inherit, 0))
        return 0;
    SetHandleInformation(held->input, HANDLE_FLAG_INHERIT, 0);
    SetHandleInformation(ourOutput, HANDLE_FLAG_INHERIT, 0);
    STARTUPINFOA startup;
    ZeroMemory(&startup, sizeof(startup));
    startup.cb = sizeof(startup);
    startup.dwFlags = STARTF_USESTDHANDLES;
    startup.hStdInput = childInput;
    startup.hStdOutput = childOutput;
    startup.hStdError = GetStdHandle(STD_ERROR_HANDLE);
    std::string exe = WindowsPathOf(holder);
    std::string commandLine = "\"" + exe + "\" \"" + path + "\"";
    BOOL started = CreateProcessA(exe.c_str(), &commandLine[0], 0, 0, TRUE, 0, 0, 0, &startup, &held->process);
    CloseHandle(childInput);
    CloseHandle(childOutput);
    char reply[8] = "";
    DWORD got = 0;
    if (started)
        ReadFile(ourOutput, reply, 4, &got, 0);    // "held" once the file is open
    CloseHandle(ourOutput);
    return started && got == 4 && memcmp(reply, "held", 4) == 0;
}

void ReleaseHeldFile(HeldFile *held)
{
    CloseHandle(held->input);
    if (held->process.hProcess) {
        WaitForSingleObject(held->process.hProcess, 10000);
        CloseHandle(held->process.hProcess);
        CloseHandle(held->process.hThread);
    }
    ZeroMemory(held, sizeof(*held));
}
