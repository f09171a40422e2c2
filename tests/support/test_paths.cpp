// Where the tests find the built setup program, Unifont and their scratch folders.
// ctest passes host (Unix) paths; under Wine the host file system is drive Z:.
#include "support/test_paths.h"
#include <gtest/gtest.h>
#include <stdlib.h>

std::string WindowsPathOf(const char *hostPath)
{
    std::string path = hostPath;
    if (!path.empty() && path[0] == '/')
        path = "Z:" + path;
    for (char &c : path)
        if (c == '/')
            c = '\\';
    return path;
}

static std::string FromEnvironment(const char *name)
{
    const char *value = getenv(name);
    if (!value || !*value) {
        ADD_FAILURE() << name << " is not set; run the tests through ctest";
        return std::string();
    }
    return WindowsPathOf(value);
}

std::string SetupExePath()
{
    return FromEnvironment("LUMABOOK_SETUP_EXE");
}

std::string UnifontHexPath()
{
    return FromEnvironment("LUMABOOK_UNIFONT_HEX");
}

std::string ArtifactPath(const char *name)
{
    std::string dir = FromEnvironment("LUMABOOK_ARTIFACTS");
    CreateDirectoryA(dir.c_str(), 0);
    return dir + "\\" + name;
}

void RemoveTree(const std::string &dir)
{
    WIN32_FIND_DATAA found;
    HANDLE search = FindFirstFileA((dir + "\\*").c_str(), &found);
    if (search != INVALID_HANDLE_VALUE) {
        do {
            std::string name = found.cFileName;
            if (name == "." || name == "..")
                continue;
            std::string path = dir + "\\" + name;
            SetFileAttributesA(path.c_str(), FILE_ATTRIBUTE_NORMAL);
            if (found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY)
                RemoveTree(path);
            else
                DeleteFileA(path.c_str());
        } while (FindNextFileA(search, &found));
        FindClose(search);
    }
    RemoveDirectoryA(dir.c_str());
}

// A fresh, empty folder in the prefix's temporary folder.
std::string MakeScratchDir(const char *name)
{
    char temp[MAX_PATH];
    GetTempPathA(sizeof(temp), temp);
    std::string dir = std::string(temp) + "lumabook_" + name;
    RemoveTree(dir);
    CreateDirectoryA(dir.c_str(), 0);
    return dir;
}

HMODULE LoadSetupAsData()
{
    std::string path = SetupExePath();
    HMODULE module = LoadLibraryExA(path.c_str(), 0, LOAD_LIBRARY_AS_DATAFILE);
    if (!module)
        ADD_FAILURE() << "cannot load " << path << " as data";
    return module;
}
