// The Start-menu entry where the shell's link object is missing (Windows NT
// 3.51): a Program Manager group, made through Program Manager's DDE commands.
#pragma once
#include "shell/shortcuts.h"

// Creates (or opens) the group and adds one item per entry, the target being
// the entry's file in the install directory; 1 when Program Manager took every
// command, else 0 with the cause in the log. Shows no message.
int CreateProgramManagerGroup(const char *groupName, const LinkEntry *entries);
