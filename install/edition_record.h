// The edition record: the names under which this edition shows up on the user's system.
#pragma once
#include <windows.h>

// The three names that come in one script each (ASCII, GB2312 or Big5 bytes).
struct EditionNames {
    const char *GroupName;
    const char *MainLinkName;
    const char *UninstallerLinkName;
};

struct EditionRecordFields {
    const EditionNames *English;
    const EditionNames *Simplified;
    const EditionNames *Traditional;
    const char *MainProgramFile;
    const char *UninstallerFile;
    const char *InstallFolderName;
};

extern const EditionRecordFields EditionRecord;
extern const EditionNames SimplifiedEditionNames;
extern const EditionNames TraditionalEditionNames;

const EditionNames *EditionNamesFor(int chineseVariant);
const EditionNames *LinkNamesFor(int chineseVariant, UINT ansiCodePage);
