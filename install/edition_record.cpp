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

// The system's Chinese variant chooses the script, never the wizard's language.
const EditionNames *EditionNamesFor(int chineseVariant)
{
    if (chineseVariant < 1)
        return EditionRecord.English;
    if (chineseVariant == 1)
        return EditionRecord.Simplified;
    return EditionRecord.Traditional;
}
