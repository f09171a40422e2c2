// The installation itself (not built yet: it fails honestly, so the wizard
// reports a failed installation).
#include "install/install_sequence.h"

int RunInstallSequence()
{
    return 0;
}
