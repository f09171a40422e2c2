// The traditional Chinese names of the edition; this unit's literals are Big5 bytes.
#include "install/edition_record.h"

extern const EditionNames TraditionalEditionNames = {
    "藍橋墨文本編輯", "藍橋墨文本編輯", "藍橋墨文本編輯卸載",
};
