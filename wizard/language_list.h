// The interface languages offered on the wizard's last page.
#pragma once

struct LanguageEntry {
    int Language;       // the combo item's data and the value of ForceLanguage
    const char *Text;   // mixed ASCII/GB2312 caption
};

extern const LanguageEntry LanguageList[];
extern const int LanguageListCount;

const char *LanguageTextFor(int language);   // null for a number not in the list
