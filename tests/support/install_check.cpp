// What an installation left on disk, checked against the product folder the payload was packed from.
// The attributes are restated here from the design's file table, by target name.
#include "support/install_check.h"
#include "support/test_paths.h"
#include <stdio.h>
#include <stdlib.h>
#include <string.h>
#include <algorithm>

// Written hidden but writable.
static const char *const HiddenOnlyFiles[] = { "charorder.dic" };
// The user word base: writable and visible.
static const char *const PlainFiles[] = { "wordbase.dat", "phrases_shape.idx", "phrases_pinyin.idx",
                                          "phrases_initials.idx" };
// Read-only and visible: besides these, every help page and every demo_*.PNG (and DEMO1.PNG).
static const char *const ReadOnlyOnlyFiles[] = {
    "dupcodes.dic", "keypad_chords.bmp", "keypad_layout.bmp", "UserGuide.chm", "LbUnInstall.exe",
    "agreement_en.txt", "agreement_cn.txt", "welcome.bmp", "KeyboardTrainer.exe", "Lumabook.exe",
};

static int IsIn(const std::string &name, const char *const *names, size_t count)
{
    for (size_t i = 0; i < count; i++)
        if (lstrcmpiA(name.c_str(), names[i]) == 0)
            return 1;
    return 0;
}

static int EndsWithNoCase(const std::string &name, const char *tail)
{
    size_t length = strlen(tail);
    return name.size() >= length && lstrcmpiA(name.c_str() + name.size() - length, tail) == 0;
}

DWORD ExpectedAttributes(const std::string &name)
{
    if (IsIn(name, HiddenOnlyFiles, sizeof(HiddenOnlyFiles) / sizeof(HiddenOnlyFiles[0])))
        return FILE_ATTRIBUTE_HIDDEN;
    if (IsIn(name, PlainFiles, sizeof(PlainFiles) / sizeof(PlainFiles[0])))
        return 0;
    if (IsIn(name, ReadOnlyOnlyFiles, sizeof(ReadOnlyOnlyFiles) / sizeof(ReadOnlyOnlyFiles[0])))
        return FILE_ATTRIBUTE_READONLY;
    if (EndsWithNoCase(name, ".htm"))
        return FILE_ATTRIBUTE_READONLY;
    if (_strnicmp(name.c_str(), "demo", 4) == 0 && EndsWithNoCase(name, ".png"))
        return FILE_ATTRIBUTE_READONLY;
    return ReadOnlyAndHidden;
}

std::string ProductDir()
{
    const char *dir = getenv("LUMABOOK_PRODUCT_DIR");
    return dir ? WindowsPathOf(dir) : std::string();
}

std::vector<std::string> ProductFileNames()
{
    std::vector<std::string> names;
    WIN32_FIND_DATAA found;
    HANDLE search = FindFirstFileA((ProductDir() + "\\*").c_str(), &found);
    if (search == INVALID_HANDLE_VALUE)
        return names;
    do {
        if (!(found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY))
            names.push_back(found.cFileName);
    } while (FindNextFileA(search, &found));
    FindClose(search);
    std::sort(names.begin(), names.end());
    return names;
}

std::string ReadWholeFile(const std::string &path)
{
    FILE *file = fopen(path.c_str(), "rb");
    if (!file)
        return "<missing>";
    std::string data;
    char chunk[65536];
    size_t n;
    while ((n = fread(chunk, 1, sizeof(chunk), file)) > 0)
        data.append(chunk, n);
    fclose(file);
    return data;
}

int WriteWholeFile(const std::string &path, const std::string &data, DWORD attributes)
{
    SetFileAttributesA(path.c_str(), FILE_ATTRIBUTE_NORMAL);
    FILE *file = fopen(path.c_str(), "wb");
    if (!file)
        return 0;
    size_t written = fwrite(data.data(), 1, data.size(), file);
    int closed = fclose(file) == 0;
    if (attributes)
        SetFileAttributesA(path.c_str(), attributes);
    return written == data.size() && closed;
}

DWORD InstalledAttributes(const std::string &path)
{
    DWORD attributes = GetFileAttributesA(path.c_str());
    if (attributes == INVALID_FILE_ATTRIBUTES)
        return attributes;
    return attributes & ReadOnlyAndHidden;
}

int FileIsPresent(const std::string &path)
{
    return GetFileAttributesA(path.c_str()) != INVALID_FILE_ATTRIBUTES;
}

int CountFiles(const std::string &dir, unsigned long long *bytes)
{
    int count = 0;
    *bytes = 0;
    WIN32_FIND_DATAA found;
    HANDLE search = FindFirstFileA((dir + "\\*").c_str(), &found);
    if (search == INVALID_HANDLE_VALUE)
        return 0;
    do {
        if (found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY)
            continue;
        count++;
        *bytes += (unsigned long long)found.nFileSizeHigh << 32 | found.nFileSizeLow;
    } while (FindNextFileA(search, &found));
    FindClose(search);
    return count;
}

std::string CompareWithProduct(const std::string &installDir, const std::vector<std::string> &skip)
{
    std::string differences;
    std::vector<std::string> names = ProductFileNames();
    if ((int)names.size() != ProductFileCount)
        differences += "the product folder " + ProductDir() + " does not hold 106 files\n";
    for (const std::string &name : names) {
        if (std::find(skip.begin(), skip.end(), name) != skip.end())
            continue;
        std::string installed = installDir + "\\" + name;
        if (!FileIsPresent(installed)) {
            differences += name + ": missing\n";
            continue;
        }
        if (ReadWholeFile(installed) != ReadWholeFile(ProductDir() + "\\" + name))
            differences += name + ": contents differ from the product file\n";
        char attributes[64];
        snprintf(attributes, sizeof(attributes), ": attributes %lu, expected %lu\n",
                 (unsigned long)InstalledAttributes(installed), (unsigned long)ExpectedAttributes(name));
        if (InstalledAttributes(installed) != ExpectedAttributes(name))
            differences += name + attributes;
    }
    return differences;
}
