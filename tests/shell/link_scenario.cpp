// Runs one shortcut scenario with the real link operations and reports what the
// user would see: each operation's result and every message dialog it raised.
// The links stay on disk for the checking script (tests/shell/test_shortcuts.py).
//
//   link_scenario OUT_DIR SCENARIO [VARIANT]
//
// OUT_DIR is a Windows path; the install folder is OUT_DIR\install. Except in the
// "shell" scenario the folders are the hand-built ones of a Windows directory
// OUT_DIR\windows: OUT_DIR\windows\start menu\programs and OUT_DIR\windows\Desktop.
// VARIANT (0, 1, 2) picks the English, GB2312 or Big5 names.
#include "shell/shortcuts.h"
#include "shell/special_folder.h"
#include "install/edition_record.h"
#include "install/install_log.h"
#include "startup/shared_state.h"
#include "startup/system_functions.h"
#include "support/message_watcher.h"
#include <shlobj.h>
#include <stdio.h>
#include <stdlib.h>
#include <string.h>
#include <string>

const int LongestDesktopName = 94;
const int GroupFolderLeavingNoRoom = 245;

static std::string OutDir;
static std::string TestWindowsDir;
static int WindowsDirFails;

static UINT WINAPI TestWindowsDirectory(LPSTR buffer, UINT capacity)
{
    if (WindowsDirFails || TestWindowsDir.size() >= capacity)
        return 0;
    strcpy(buffer, TestWindowsDir.c_str());
    return (UINT)TestWindowsDir.size();
}

static void MakeFile(const std::string &path)
{
    FILE *file = fopen(path.c_str(), "wb");
    if (file) {
        fputs("MZ", file);
        fclose(file);
    }
}

static void MakeFolders(const std::string &path)
{
    for (size_t at = path.find('\\', 3); at != std::string::npos; at = path.find('\\', at + 1))
        CreateDirectoryA(path.substr(0, at).c_str(), 0);
    CreateDirectoryA(path.c_str(), 0);
}

static std::string Hex(const std::string &bytes)
{
    std::string hex;
    char pair[3];
    for (unsigned char c : bytes) {
        snprintf(pair, sizeof(pair), "%02x", c);
        hex += pair;
    }
    return hex;
}

// One line per result, then one per message raised since the last report.
static void Report(const char *operation, int result)
{
    printf("result %s %d\n", operation, result);
    for (const SeenMessage &message : TakeSeenMessages())
        printf("message %s|%s\n", Hex(message.chinese).c_str(), message.english.c_str());
    fflush(stdout);
}

static std::string Programs() { return TestWindowsDir + "\\start menu\\programs"; }

// COM without the shell's link object, as on Windows NT 3.51.
static HRESULT WINAPI NoLinkObject(REFCLSID, LPUNKNOWN, DWORD, REFIID, LPVOID *object)
{
    *object = 0;
    return REGDB_E_CLASSNOTREG;
}

static void UseInstallDir(const std::string &dir)
{
    MakeFolders(dir);
    lstrcpynA(InstallDir, dir.c_str(), PathBufferBytes);
    MakeFile(dir + "\\" + EditionRecord.MainProgramFile);
    MakeFile(dir + "\\" + EditionRecord.UninstallerFile);
}

static int StartMenuEntry(const EditionNames *names, const char *groupName)
{
    LinkEntry entries[] = {
        { names->MainLinkName, EditionRecord.MainProgramFile },
        { names->UninstallerLinkName, EditionRecord.UninstallerFile },
        { 0, 0 },
    };
    return CreateStartMenuEntry(groupName, entries, CSIDL_PROGRAMS);
}

static int RunScenario(const std::string &scenario, const EditionNames *names)
{
    std::string group = Programs() + "\\" + names->GroupName;
    if (scenario == "names" || scenario == "shell") {
        Report("start-menu", StartMenuEntry(names, names->GroupName));
        Report("desktop", CreateDesktopLink(EditionRecord.MainProgramFile, names->MainLinkName));
    } else if (scenario == "no-link-object") {
        ComCreateInstance = NoLinkObject;
        Report("start-menu", StartMenuEntry(names, names->GroupName));
        Report("desktop", CreateDesktopLink(EditionRecord.MainProgramFile, names->MainLinkName));
    } else if (scenario == "no-group") {
        LinkEntry nullGroup[] = { { "Null Group", EditionRecord.MainProgramFile }, { 0, 0 } };
        LinkEntry emptyGroup[] = { { "Empty Group", EditionRecord.UninstallerFile }, { 0, 0 } };
        LinkEntry none[] = { { 0, 0 } };
        Report("null-group", CreateStartMenuEntry(0, nullGroup, CSIDL_PROGRAMS));
        Report("empty-group", CreateStartMenuEntry("", emptyGroup, CSIDL_PROGRAMS));
        Report("empty-list", CreateStartMenuEntry("", none, CSIDL_PROGRAMS));
    } else if (scenario == "existing-group") {
        MakeFolders(group);
        MakeFile(group + "\\keep.txt");
        Report("start-menu", StartMenuEntry(names, names->GroupName));
    } else if (scenario == "file-as-group") {
        MakeFile(group);
        Report("start-menu", StartMenuEntry(names, names->GroupName));
    } else if (scenario == "group-uncreatable") {
        RemoveDirectoryA(Programs().c_str());     // the group's parent is missing
        Report("start-menu", StartMenuEntry(names, names->GroupName));
    } else if (scenario == "first-fails") {
        MakeFolders(group + "\\" + names->MainLinkName + ".lnk");   // a folder where the link goes
        Report("start-menu", StartMenuEntry(names, names->GroupName));
    } else if (scenario == "last-fails") {
        MakeFolders(group + "\\" + names->UninstallerLinkName + ".lnk");
        Report("start-menu", StartMenuEntry(names, names->GroupName));
    } else if (scenario == "target-forms") {
        // No backslash: no working folder. A Big5 name whose trail byte is 0x5C
        // (許 B3 5C): the working folder is the install folder, cut by whole characters.
        Report("no-backslash", CreateShellLink("Lumabook.exe", (OutDir + "\\no-backslash.lnk").c_str(), "no backslash"));
        std::string big5Target = std::string(InstallDir) + "\\\xB3\x5C\xA5\x69.exe";
        MakeFile(big5Target);
        Report("big5-target", CreateShellLink(big5Target.c_str(), (OutDir + "\\big5-target.lnk").c_str(), "big5"));
        Report("root-target", CreateShellLink("C:\\Lumabook.exe", (OutDir + "\\root-target.lnk").c_str(), "root"));
    } else if (scenario == "no-folders") {
        WindowsDirFails = 1;
        Report("start-menu", StartMenuEntry(names, names->GroupName));
        Report("desktop", CreateDesktopLink(EditionRecord.MainProgramFile, names->MainLinkName));
    } else if (scenario == "too-long") {
        std::string longest(LongestDesktopName, 'd');
        Report("desktop-94", CreateDesktopLink(EditionRecord.MainProgramFile, longest.c_str()));
        Report("desktop-95", CreateDesktopLink(EditionRecord.MainProgramFile, (longest + "e").c_str()));
        // A group folder of 245 bytes leaves no room for the link names: both links fail.
        std::string longGroup(GroupFolderLeavingNoRoom - 1 - Programs().size(), 'g');
        Report("long-group", StartMenuEntry(names, longGroup.c_str()));
        std::string tooLongGroup(PathBufferBytes - Programs().size(), 'g');
        Report("too-long-group", StartMenuEntry(names, tooLongGroup.c_str()));
        // An install folder so deep that the targets do not fit.
        std::string deep = OutDir + "\\install\\" + std::string(PathBufferBytes - OutDir.size() - 20, 'i');
        lstrcpynA(InstallDir, deep.c_str(), PathBufferBytes);
        Report("deep-install", StartMenuEntry(names, names->GroupName));
    } else {
        fprintf(stderr, "link_scenario: no scenario named %s\n", scenario.c_str());
        return 2;
    }
    return 0;
}

// The message dialog's template lives in the setup program: its resources are
// loaded as data, as the program's own module would provide them.
static int UseSetupResources()
{
    const char *hostPath = getenv("LUMABOOK_SETUP_EXE");
    if (!hostPath) {
        fprintf(stderr, "link_scenario: LUMABOOK_SETUP_EXE names no setup program\n");
        return 0;
    }
    std::string path = std::string("Z:") + hostPath;
    for (char &c : path)
        if (c == '/')
            c = '\\';
    AppInstance = LoadLibraryExA(path.c_str(), 0, LOAD_LIBRARY_AS_DATAFILE);
    if (!AppInstance)
        fprintf(stderr, "link_scenario: cannot load %s as data\n", path.c_str());
    return AppInstance != 0;
}

int main(int argc, char **argv)
{
    if (argc < 3) {
        fprintf(stderr, "usage: link_scenario OUT_DIR SCENARIO [VARIANT]\n");
        return 2;
    }
    OutDir = argv[1];
    std::string scenario = argv[2];
    const EditionNames *names = EditionNamesFor(argc > 3 ? atoi(argv[3]) : 0);

    if (!UseSetupResources())
        return 2;
    FindSystemFunctions();
    UseInstallDir(OutDir + "\\install");
    OpenInstallLog((OutDir + "\\scenario.log").c_str());
    if (scenario != "shell" && scenario != "no-link-object") {
        TestWindowsDir = OutDir + "\\windows";
        QueryWindowsDirectory = TestWindowsDirectory;
        IsMajorVersion3 = 1;
        IsNtPlatform = 0;
        MakeFolders(Programs());
        MakeFolders(TestWindowsDir + "\\Desktop");
    }
    StartMessageWatcher();
    int status = RunScenario(scenario, names);
    CloseInstallLog();
    return status;
}
