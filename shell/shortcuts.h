// Shell links: the Start-menu group with its links, and the desktop link.
#pragma once

// One link of a program group; a list ends with an entry whose name is null.
struct LinkEntry {
    const char *name;   // link file name without ".lnk", also its description
    const char *file;   // target file name in the install directory
};

int CreateShellLink(const char *target, const char *linkPath, const char *description);
// 0 where the shell's link object cannot be created (Windows NT 3.51): the
// Start-menu entry is then a Program Manager group and no desktop link is made.
int ShellLinkObjectAvailable();
int CreateStartMenuEntry(const char *groupName, const LinkEntry *entries, int kind);
// After CreateStartMenuEntry: 1 when every link of the list was made, also the
// ones whose failure alone is not reported to the user.
extern int StartMenuEntryWhole;
int CreateDesktopLink(const char *file, const char *name);
