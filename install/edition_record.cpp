// The edition record of Lumabook Writer; this unit's literals are GB2312 bytes.
#include "install/edition_record.h"

static const EditionNames EnglishEditionNames = {
    "Lumabook Writer", "Lumabook Writer", "Lumabook UnInstall",
};

extern const EditionNames SimplifiedEditionNames = {
    "蓝桥墨文本编辑", "蓝桥墨文本编辑", "蓝桥墨文本编辑卸载",
};

// The file names must stay those of payload rows 109 and 171: the links point at them.
extern const EditionRecordFields EditionRecord = {
    &EnglishEditionNames,
    &SimplifiedEditionNames,
    &TraditionalEditionNames,
    "Lumabook.exe",
    "LbUnInstall.exe",
    "Lumabook",
};

const UINT SimplifiedCodePage = 936;    // GB2312
const UINT TraditionalCodePage = 950;   // Big5

// The system's Chinese variant chooses the script, never the wizard's language.
const EditionNames *EditionNamesFor(int chineseVariant)
{
    if (chineseVariant < 1)
        return EditionRecord.English;
    if (chineseVariant == 1)
        return EditionRecord.Simplified;
    return EditionRecord.Traditional;
}

// The names of the links and their group. Their GB2312 or Big5 bytes read right
// only where the ANSI code page is that very code page: a Chinese system set to
// UTF-8 (65001) passes the multi-byte probe, yet shows either as replacement
// characters, so it gets the ASCII names like every other system.
const EditionNames *LinkNamesFor(int chineseVariant, UINT ansiCodePage)
{
    if (chineseVariant == 1 && ansiCodePage == SimplifiedCodePage)
        return EditionRecord.Simplified;
    if (chineseVariant == 2 && ansiCodePage == TraditionalCodePage)
        return EditionRecord.Traditional;
    return EditionRecord.English;
}
