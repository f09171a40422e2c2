// The installed product's settings file (the edit is not built yet).
#include "shell/settings_file.h"

int UpdateSettingsFile()
{
    return 1;
}
