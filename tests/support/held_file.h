// A file held open without sharing by a second process, as a running program holds its files.
#pragma once
#include <windows.h>
#include <string>

struct HeldFile {
    PROCESS_INFORMATION process;
    HANDLE input;   // closing it lets the holder end
};

int HoldFileInAnotherProcess(const std::string &path, HeldFile *held);
void ReleaseHeldFile(HeldFile *held);
