// The file-system paths of the desktop and of the Start menu's programs folder.
#pragma once

int GetSpecialFolderPath(char *path, int kind);
int GetShellFolderPath(char *path, int kind);
int BuildLegacyFolderPath(char *path, int kind);
