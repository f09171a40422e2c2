// The installation itself: the payload files in their order, the settings and the shortcuts.
#pragma once

int RunInstallSequence();
