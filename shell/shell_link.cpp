// One shell link file (".lnk") written by the shell's own link object.
#include "shell/shortcuts.h"
#include "startup/path_text.h"
#include "startup/shared_state.h"
#include "startup/system_functions.h"
#include "install/install_log.h"
#include <shlobj.h>
#include <string.h>

const int DriveRootLength = 3;   // "C:\"

// The target's folder: the target cut at its last backslash, found by whole
// characters (a Big5 trail byte can be 0x5C). A folder that is a drive root
// keeps its backslash, or "C:" would mean the drive's current folder.
static int TargetFolder(const char *target, char *folder)
{
    lstrcpynA(folder, target, PathBufferBytes);
    char *cut = (char *)FindLastBackslash(folder);
    if (!cut)
        return 0;
    if (cut - folder == DriveRootLength - 1 && folder[1] == ':')
        cut++;
    *cut = 0;
    return 1;
}

static HRESULT SaveLink(IShellLinkA *link, const char *linkPath)
{
    IPersistFile *file = 0;
    HRESULT result = link->QueryInterface(IID_IPersistFile, (void **)&file);
    if (FAILED(result))
        return result;
    WCHAR widePath[PathBufferBytes];
    if (MultiByteToWideChar(CP_ACP, 0, linkPath, -1, widePath, PathBufferBytes) == 0)
        result = E_FAIL;    // the path does not fit 260 wide characters
    else
        result = file->Save(widePath, TRUE);
    file->Release();
    return result;
}

// Every system the program runs on has COM; without it there are no links.
static int ComFound()
{
    return ComInitialize && ComCreateInstance && ComUninitialize;
}

// Windows NT 3.51 has COM but no shell link object: its class is not
// registered. Asked once per operation, with COM set up around the question.
int ShellLinkObjectAvailable()
{
    if (!ComFound() || FAILED(ComInitialize(0)))
        return 0;
    IShellLinkA *link = 0;
    HRESULT result = ComCreateInstance(CLSID_ShellLink, 0, CLSCTX_INPROC_SERVER, IID_IShellLinkA, (void **)&link);
    if (SUCCEEDED(result))
        link->Release();
    ComUninitialize();
    return SUCCEEDED(result);
}

// The link object's calls come in a fixed order: path, description, icon,
// working folder, then save. COM is set up around this one link only.
int CreateShellLink(const char *target, const char *linkPath, const char *description)
{
    if (strlen(target) >= (size_t)PathBufferBytes || strlen(linkPath) >= (size_t)PathBufferBytes)
        return 0;
    HRESULT result = ComFound() ? ComInitialize(0) : E_NOTIMPL;
    if (FAILED(result)) {
        LogLinkResult(linkPath, target, 0, result);
        return 0;
    }
    result = E_FAIL;
    IShellLinkA *link = 0;
    if (SUCCEEDED(ComCreateInstance(CLSID_ShellLink, 0, CLSCTX_INPROC_SERVER, IID_IShellLinkA, (void **)&link))) {
        result = link->SetPath(target);
        if (SUCCEEDED(result)) {
            link->SetDescription(description);
            link->SetIconLocation(target, 0);
            char folder[PathBufferBytes];
            if (TargetFolder(target, folder))
                link->SetWorkingDirectory(folder);
            result = SaveLink(link, linkPath);
        }
        link->Release();
    }
    ComUninitialize();
    LogLinkResult(linkPath, target, SUCCEEDED(result), result);
    return SUCCEEDED(result) ? 1 : 0;
}
