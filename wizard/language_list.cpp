// The interface languages offered on the wizard's last page, in list order.
#include "wizard/language_list.h"

const LanguageEntry LanguageList[] = {
    { 0, "English 英文" },
    { 1, "Chinese(Simplified)  中文简体" },     // two blanks before the Chinese
    { 2, "Chinese(Traditional) 中文繁体" },
};
const int LanguageListCount = sizeof(LanguageList) / sizeof(LanguageList[0]);

const char *LanguageTextFor(int language)
{
    for (int i = 0; i < LanguageListCount; i++)
        if (LanguageList[i].Language == language)
            return LanguageList[i].Text;
    return 0;
}
