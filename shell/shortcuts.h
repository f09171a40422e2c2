// Shell links: the Start-menu group with its links, and the desktop link.
#pragma once

// One link of a program group; a list ends with an entry whose name is null.
struct LinkEntry {
    const char *name;   // link file name without ".lnk", also its description
    const char *file;   // target file name in the install directory
};

int CreateShellLink(const char *target, const char *linkPath, const char *description);
int CreateStartMenuEntry(const char *groupName, const LinkEntry *entries, int kind);
int CreateDesktopLink(const char *file, const char *name);
