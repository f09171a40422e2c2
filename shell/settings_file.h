// The installed product's settings file "uiprefs.ini": the two answers of the wizard.
#pragma once

int UpdateSettingsFile();
