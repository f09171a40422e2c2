// Reading a dialog template's fields in place, as the resource compiler stored them.
#pragma once
#include <windows.h>
#include <string>

struct TemplateReader {
    const BYTE *p;
    WORD Word() { WORD w = *(const WORD *)p; p += 2; return w; }
    DWORD Dword() { DWORD d = *(const DWORD *)p; p += 4; return d; }
    void Align() { p = (const BYTE *)(((ULONG_PTR)p + 3) & ~(ULONG_PTR)3); }
    // A string, or an ordinal given as "#" and its number (the predefined classes are #128 ...).
    std::wstring SzOrOrd()
    {
        if (*(const WORD *)p == 0xFFFF) {
            p += 2;
            return L"#" + std::to_wstring(Word());
        }
        std::wstring s((const WCHAR *)p);
        p += (s.size() + 1) * 2;
        return s;
    }
};
