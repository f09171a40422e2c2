// Where the tests find the built setup program, Unifont and their scratch folders.
#pragma once
#include <string>
#include <windows.h>

std::string WindowsPathOf(const char *hostPath);
std::string SetupExePath();
std::string UnifontHexPath();
std::string ArtifactPath(const char *name);
std::string MakeScratchDir(const char *name);
void RemoveTree(const std::string &dir);        // a folder with everything in it
HMODULE LoadSetupAsData();
