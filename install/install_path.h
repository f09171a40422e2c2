// Paths of files in the install directory.
#pragma once

int BuildInstallPath(char *path, const char *name);
