// What an installation left on disk, checked against the product folder the payload was packed from.
// The attributes are restated here from the design's file table, by target name.
#include "support/install_check.h"
#include "support/test_paths.h"
#include <stdio.h>
#include <stdlib.h>
#include <string.h>
#include <algorithm>
#include <zlib.h>

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

// The files (not folders) of a folder, sorted by name.
static std::vector<std::string> FileNamesIn(const std::string &dir)
{
    std::vector<std::string> names;
    WIN32_FIND_DATAA found;
    HANDLE search = FindFirstFileA((dir + "\\*").c_str(), &found);
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

std::vector<std::string> ProductFileNames()
{
    return FileNamesIn(ProductDir());
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

std::string FolderSnapshot(const std::string &dir)
{
    std::string snapshot;
    for (const std::string &name : FileNamesIn(dir)) {
        std::string data = ReadWholeFile(dir + "\\" + name);
        char line[64];
        snprintf(line, sizeof(line), " attributes %lu, %zu bytes, crc %08lx\n",
                 (unsigned long)InstalledAttributes(dir + "\\" + name), data.size(),
                 crc32(0, (const Bytef *)data.data(), (uInt)data.size()));
        snapshot += name + line;
    }
    return snapshot;
}

int FillDiskWithFile(const std::string &fillerPath)
{
    HANDLE filler = CreateFileA(fillerPath.c_str(), GENERIC_WRITE, 0, 0, CREATE_ALWAYS, 0, 0);
    if (filler == INVALID_HANDLE_VALUE)
        return 0;
    static char chunk[4096];
    DWORD written;
    while (WriteFile(filler, chunk, sizeof(chunk), &written, 0) && written == sizeof(chunk))
        ;
    while (WriteFile(filler, chunk, 1, &written, 0) && written == 1)
        ;
    CloseHandle(filler);
    return 1;
}

static BOOL CALLBACK TakeLanguage(HMODULE, LPCSTR, LPCSTR, WORD language, LONG_PTR param)
{
    *(WORD *)param = language;
    return FALSE;
}

// The entry keeps its language, so that it is replaced rather than joined by a second one.
static WORD LanguageOfEntry(int id)
{
    WORD language = MAKELANGID(LANG_NEUTRAL, SUBLANG_NEUTRAL);
    HMODULE setup = LoadSetupAsData();
    if (setup) {
        EnumResourceLanguagesA(setup, "TEXT", MAKEINTRESOURCEA(id), TakeLanguage, (LONG_PTR)&language);
        FreeLibrary(setup);
    }
    return language;
}

std::string CopySetupWithEntry(const std::string &folder, int id, const void *data, DWORD size)
{
    std::string copy = folder + "\\setup.exe";
    WORD language = LanguageOfEntry(id);
    HANDLE update = 0;
    if (!CopyFileA(SetupExePath().c_str(), copy.c_str(), FALSE) || !(update = BeginUpdateResourceA(copy.c_str(), FALSE)))
        return "<no copy of the setup program>";
    int replaced = UpdateResourceA(update, "TEXT", MAKEINTRESOURCEA(id), language, (void *)data, size);
    if (!EndUpdateResourceA(update, !replaced) || !replaced)
        return "<no copy of the setup program>";
    return copy;
}

std::string CompareWithProduct(const std::string &installDir, const std::vector<std::string> &skip)
{
    std::string differences;
    std::vector<std::string> names = ProductFileNames();
    for (const std::string &name : FileNamesIn(installDir))
        if (std::find(skip.begin(), skip.end(), name) == skip.end() && !FileIsPresent(ProductDir() + "\\" + name))
            differences += name + ": not a product file\n";
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
