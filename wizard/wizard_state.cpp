// The answers the wizard collects, read by the install sequence and the settings file.
#include "startup/shared_state.h"

int PageState;
int ForceLanguage;
int ChineseDisplayOk;
int DesktopIconWanted;
char InstallDir[PathBufferBytes];
char WindowsDir[PathBufferBytes];
