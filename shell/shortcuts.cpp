// Shell links (not built yet: every link fails).
#include "shell/shortcuts.h"

int CreateShellLink(const char *target, const char *linkPath, const char *description)
{
    (void)target; (void)linkPath; (void)description;
    return 0;
}

int CreateStartMenuEntry(const char *groupName, const LinkEntry *entries, int kind)
{
    (void)groupName; (void)entries; (void)kind;
    return 0;
}

int CreateDesktopLink(const char *file, const char *name)
{
    (void)file; (void)name;
    return 0;
}
