// What start-up learns about the system: the Windows version and its Chinese support.
#include "startup/system_probe.h"
#include "startup/shared_state.h"

const DWORD VersionInfoBytes = 148;      // the size of OSVERSIONINFOA on every Windows
const DWORD NtPlatformId = 2;
const WORD ChineseLanguage = 4;
const WORD PrimaryLanguageMask = 0x3FF;
const WORD TraditionalSubLanguageBit = 0x400;

// Sets IsNtPlatform and IsMajorVersion3; both stay 0 when the query fails.
int ProbeWindowsVersion()
{
    OSVERSIONINFOA version;
    ZeroMemory(&version, sizeof(version));
    version.dwOSVersionInfoSize = VersionInfoBytes;
    if (!GetVersionExA(&version))
        return 0;
    IsNtPlatform = version.dwPlatformId == NtPlatformId;
    IsMajorVersion3 = version.dwMajorVersion == 3;
    return 1;
}

int IsMultiByteAnsiCodePage()
{
    CPINFO info;
    if (!GetCPInfo(CP_ACP, &info))
        return 0;
    return info.MaxCharSize > 1;
}

// Bit 10 is the low bit of the sub-language: Taiwan, Hong Kong and Macau have it
// set (traditional), the PRC and Singapore have it clear (simplified).
int ChineseVariantOf(int multiByteAnsiCodePage, LANGID systemLanguage)
{
    if (!multiByteAnsiCodePage || (systemLanguage & PrimaryLanguageMask) != ChineseLanguage)
        return 0;
    return (systemLanguage & TraditionalSubLanguageBit) ? 2 : 1;
}

int ProbeSystemChineseVariant()
{
    return ChineseVariantOf(IsMultiByteAnsiCodePage(), GetSystemDefaultLangID());
}
