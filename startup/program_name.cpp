// The program's own name at the head of its command line, skipped by whole
// characters like every path the program reads. The name may be quoted or not;
// a deployment tool or a batch file often starts the program unquoted.
#include "startup/program_name.h"
#include <windows.h>

static int IsBlank(char c)
{
    return c == ' ' || c == '\t';
}

// As the C runtime reads a program's name: a quoted name ends at its closing
// quote, an unquoted one at the first blank. A byte of 0x80 or more is part of
// a character and never a blank: the compiler's own start-up code compared
// signed bytes and cut C:\Téléchargements\setup.exe /S after "C:\T".
const char *SkipProgramName(const char *commandLine)
{
    const char *p = commandLine ? commandLine : "";
    if (*p == '"') {
        p = CharNextA(p);
        while (*p && *p != '"')
            p = CharNextA(p);
        if (*p == '"')
            p++;
    } else {
        while (*p && !IsBlank(*p))
            p = CharNextA(p);
    }
    while (IsBlank(*p))
        p++;
    return p;
}
