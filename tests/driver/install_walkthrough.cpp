// Installs the product the way a user would: starts the setup program, goes
// through the wizard with the proposed answers (saving a picture of every
// page and of the final message), presses OK, and reports what is on disk.
// The display question has no proposed answer; "不正确(NO)" is given, since the
// run's Wine has no Chinese font.
//
// usage: install_walkthrough SETUP_EXE SCREENSHOT_DIR
#include "driver/setup_driver.h"
#include "driver/wizard_walk.h"
#include "support/test_paths.h"
#include "resources/resource_ids.h"
#include <shlobj.h>
#include <stdio.h>
#include <string>
#include <vector>

static const char WizardCaption[] = "Lumabook Installer";
static const char SuccessText[] = "Congratulations! Installation Success!";
const int MessageOk = 1;
const int SettingsTailLines = 6;

static void CountFolder(const std::string &dir, int *files, unsigned long long *bytes)
{
    WIN32_FIND_DATAA found;
    HANDLE search = FindFirstFileA((dir + "\\*").c_str(), &found);
    if (search == INVALID_HANDLE_VALUE)
        return;
    do {
        if (found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY)
            continue;
        (*files)++;
        *bytes += (unsigned long long)found.nFileSizeHigh << 32 | found.nFileSizeLow;
    } while (FindNextFileA(search, &found));
    FindClose(search);
}

static void PrintSettingsTail(const std::string &path)
{
    FILE *file = fopen(path.c_str(), "rb");
    if (!file) {
        printf("  (no settings file)\n");
        return;
    }
    std::vector<std::string> lines;
    char line[1024];
    while (fgets(line, sizeof(line), file)) {
        std::string text = line;
        while (!text.empty() && (text.back() == '\n' || text.back() == '\r'))
            text.pop_back();
        lines.push_back(text);
    }
    fclose(file);
    size_t first = lines.size() > (size_t)SettingsTailLines ? lines.size() - SettingsTailLines : 0;
    for (size_t i = first; i < lines.size(); i++)
        printf("  | %s\n", lines[i].c_str());
}

static void PrintLinks(const std::string &dir)
{
    WIN32_FIND_DATAA found;
    HANDLE search = FindFirstFileA((dir + "\\*.lnk").c_str(), &found);
    if (search == INVALID_HANDLE_VALUE)
        return;
    do
        printf("  %s\\%s\n", dir.c_str(), found.cFileName);
    while (FindNextFileA(search, &found));
    FindClose(search);
}

static std::string SpecialFolder(int kind)
{
    char path[MAX_PATH] = "";
    SHGetSpecialFolderPathA(0, path, kind, FALSE);
    return path;
}

static void SaveMessagePicture(HWND message, const std::string &dir)
{
    Capture capture;
    std::string failures;
    CaptureWhenDrawn(message, &capture, ControlsDrawn(message, { ID_OK_BUTTON }), &failures);
    if (!capture.pixels.empty())
        SaveCapture(capture, dir + "\\final_message.png");
}

int main(int argc, char **argv)
{
    if (argc != 3) {
        fprintf(stderr, "usage: install_walkthrough SETUP_EXE SCREENSHOT_DIR\n");
        return 2;
    }
    std::string exe = WindowsPathOf(argv[1]);
    std::string screenshots = WindowsPathOf(argv[2]);
    SetupRun run;
    if (!StartSetup(&run, exe)) {
        fprintf(stderr, "install_walkthrough: cannot start %s\n", exe.c_str());
        return 1;
    }
    run.wizard = WaitForProcessWindow(run.process.dwProcessId, WizardCaption, DriverTimeoutMs);
    if (!run.wizard) {
        fprintf(stderr, "install_walkthrough: no wizard window appeared\n");
        EndSetup(&run);
        return 1;
    }
    std::string destination = ControlText(run.wizard, ID_DESTINATION_EDIT);
    WizardAnswers answers = DefaultAnswers();
    answers.displayOk = 0;
    std::string failure;
    if (!WalkWizardToInstall(&run, answers, screenshots, &failure)) {
        fprintf(stderr, "install_walkthrough: %s\n", failure.c_str());
        EndSetup(&run);
        return 1;
    }
    printf("Installing into %s ...\n", destination.c_str());
    std::string texts;
    HWND message = WaitForMessageWindow(&run, InstallTimeoutMs, &texts);
    if (!message) {
        fprintf(stderr, "install_walkthrough: no final message appeared\n");
        EndSetup(&run);
        return 1;
    }
    SaveMessagePicture(message, screenshots);
    AnswerMessageWindow(message, MessageOk);
    DWORD code = 1;
    WaitForExit(&run, DriverTimeoutMs, &code);
    EndSetup(&run);

    int succeeded = texts.find(SuccessText) != std::string::npos;
    printf("Final message: %s\n", succeeded ? SuccessText : "installation failed");
    int files = 0;
    unsigned long long bytes = 0;
    CountFolder(destination, &files, &bytes);
    printf("Installed into %s: %d files, %llu bytes\n", destination.c_str(), files, bytes);
    printf("Tail of %s\\uiprefs.ini:\n", destination.c_str());
    PrintSettingsTail(destination + "\\uiprefs.ini");
    printf("Shortcuts:\n");
    PrintLinks(SpecialFolder(CSIDL_PROGRAMS) + "\\Lumabook Writer");
    PrintLinks(SpecialFolder(CSIDL_DESKTOPDIRECTORY));
    printf("Setup program exit code: %lu\n", (unsigned long)code);
    return succeeded && code == 0 ? 0 : 1;
}
