// The installed product's settings file "uiprefs.ini": the wizard's display answer
// and interface language, written into its "[Config]" section. The file is read
// whole in binary mode, edited in memory and written whole beside the old one,
// which it replaces only when complete: any failure leaves the old file byte for byte.
#include "shell/settings_file.h"
#include "install/payload_store.h"
#include "install/file_replace.h"
#include "startup/shared_state.h"
#include <stdio.h>
#include <stdlib.h>
#include <string.h>

// A line is examined in pieces of at most 255 characters, a CR LF counting as one.
const size_t SettingsPieceChars = 255;
// The file is a few kilobytes of text; anything near this size is not a settings file.
const long SettingsFileLimit = 16 * 1024 * 1024;

static const char SettingsFileFormat[] = "%s\\uiprefs.ini";
static const char ConfigHeader[] = "[Config]";
static const char ConfigHeaderBlock[] = "\r\n\r\n[Config]\r\n\r\n";
static const char FontKey[] = "UseBmpFont=";
static const char LanguageKey[] = "ForceLanguage=";
const int SettingsKeyCount = 2;

// The key lines of the file, each found anywhere in a line and given its new value.
struct SettingsKey {
    const char *key;
    char value[SettingsValueBytes];
    int written;
};

// A growing block of bytes: the file's new contents.
struct SettingsText {
    char *bytes;
    size_t length;
    size_t capacity;
};

static int AppendBytes(SettingsText *text, const char *bytes, size_t count)
{
    if (text->length + count > text->capacity) {
        size_t capacity = (text->length + count) * 2;
        char *larger = (char *)realloc(text->bytes, capacity);
        if (!larger)
            return 0;
        text->bytes = larger;
        text->capacity = capacity;
    }
    memcpy(text->bytes + text->length, bytes, count);
    text->length += count;
    return 1;
}

static int AppendString(SettingsText *text, const char *string)
{
    return AppendBytes(text, string, strlen(string));
}

// The Windows error of a failure, or the one that says what went wrong where
// the runtime gave none (a runtime call that failed without a system call).
static DWORD ErrorOr(DWORD fallback)
{
    DWORD error = GetLastError();
    return error != ERROR_SUCCESS ? error : fallback;
}

// The whole file, every read checked; 0 when it cannot be opened or read,
// with the Windows error set.
static char *ReadSettingsFile(const char *path, size_t *length)
{
    SetLastError(ERROR_SUCCESS);
    FILE *file = fopen(path, "rb");
    if (!file) {
        SetLastError(ErrorOr(ERROR_OPEN_FAILED));
        return 0;
    }
    long size = -1;
    if (fseek(file, 0, SEEK_END) == 0)
        size = ftell(file);
    char *bytes = size >= 0 && size < SettingsFileLimit ? (char *)malloc((size_t)size + 1) : 0;
    int complete = bytes && fseek(file, 0, SEEK_SET) == 0 && fread(bytes, 1, (size_t)size, file) == (size_t)size &&
                   !ferror(file);
    DWORD error = size >= SettingsFileLimit ? ERROR_FILE_TOO_LARGE
                  : size >= 0 && !bytes        ? ERROR_NOT_ENOUGH_MEMORY
                                               : ErrorOr(ERROR_READ_FAULT);
    fclose(file);
    if (!complete) {
        free(bytes);
        SetLastError(error);
        return 0;
    }
    *length = (size_t)size;
    return bytes;
}

static const char *FindBytes(const char *from, const char *to, const char *what)
{
    size_t whatLength = strlen(what);
    for (const char *p = from; p + whatLength <= to; p++)
        if (memcmp(p, what, whatLength) == 0)
            return p;
    return 0;
}

// The end of the piece that starts at from: after its line feed, or after 255
// characters, whichever comes first.
static const char *PieceEnd(const char *from, const char *end)
{
    const char *p = from;
    for (size_t chars = 0; p < end && chars < SettingsPieceChars; chars++) {
        if (p[0] == '\r' && p + 1 < end && p[1] == '\n')
            p++;
        if (*p++ == '\n')
            break;
    }
    return p;
}

// The old value runs from the key to the line end (CR LF or LF) or the file's end.
static const char *ValueEnd(const char *value, const char *end)
{
    const char *lineFeed = (const char *)memchr(value, '\n', (size_t)(end - value));
    if (!lineFeed)
        return end;
    return lineFeed > value && lineFeed[-1] == '\r' ? lineFeed - 1 : lineFeed;
}

// Gives every key found its new value, one key per piece, the rest of that line
// kept. Returns the position where the scan stopped (the file's end unless both
// keys were written first), or 0 when memory ran out.
static const char *EditKeys(const char *bytes, const char *end, SettingsKey *keys, int *headerSeen,
                            SettingsText *text)
{
    const char *p = bytes;
    int keysLeft = SettingsKeyCount;
    while (p < end && keysLeft > 0) {
        const char *pieceEnd = PieceEnd(p, end);
        if (FindBytes(p, pieceEnd, ConfigHeader))
            *headerSeen = 1;
        const char *next = pieceEnd;
        for (int i = 0; i < SettingsKeyCount; i++) {
            const char *found = FindBytes(p, pieceEnd, keys[i].key);
            if (!found)
                continue;
            const char *value = found + strlen(keys[i].key);
            next = ValueEnd(value, end);
            if (!AppendBytes(text, p, (size_t)(value - p)) || !AppendString(text, keys[i].value))
                return 0;
            p = next;
            next = PieceEnd(p, end);    // the old line end follows the new value
            keysLeft -= !keys[i].written;
            keys[i].written = 1;
            break;
        }
        if (!AppendBytes(text, p, (size_t)(next - p)))
            return 0;
        p = next;
    }
    return p;
}

// The lines as they come out: the keys given their values; when the scan ran
// to the end, the header and the missing key lines appended. When it stopped
// at both keys nothing is added: a header there would land amid the later lines.
static int EditSettings(const char *bytes, size_t length, SettingsKey *keys, SettingsText *text)
{
    const char *end = bytes + length;
    int headerSeen = 0;
    const char *stopped = EditKeys(bytes, end, keys, &headerSeen, text);
    if (!stopped || !AppendBytes(text, stopped, (size_t)(end - stopped)))
        return 0;
    if (stopped < end)
        return 1;
    if (!headerSeen && !AppendString(text, ConfigHeaderBlock))
        return 0;
    for (int i = 0; i < SettingsKeyCount; i++) {
        if (keys[i].written)
            continue;
        if (!AppendString(text, "\r\n") || !AppendString(text, keys[i].key) ||
            !AppendString(text, keys[i].value) || !AppendString(text, "\r\n"))
            return 0;
    }
    return 1;
}

// The bitmap-font digit is 1 where Chinese did not display correctly.
static void FontValue(char *value)
{
    snprintf(value, SettingsValueBytes, "%c", ChineseDisplayOk ? '0' : '1');
}

static void LanguageValue(char *value)
{
    snprintf(value, SettingsValueBytes, "%d", ForceLanguage);
}

char *EditedSettingsText(const char *bytes, size_t length, size_t *editedLength)
{
    SettingsKey keys[SettingsKeyCount] = { { FontKey, "", 0 }, { LanguageKey, "", 0 } };
    FontValue(keys[0].value);
    LanguageValue(keys[1].value);
    SettingsText text = { 0, 0, 0 };
    if (!EditSettings(bytes, length, keys, &text)) {
        free(text.bytes);
        SetLastError(ERROR_NOT_ENOUGH_MEMORY);
        return 0;
    }
    *editedLength = text.length;
    return text.bytes;
}

static int RewriteSettingsFile(const char *path)
{
    size_t length = 0;
    char *bytes = ReadSettingsFile(path, &length);
    if (!bytes)
        return 0;
    SettingsKey keys[SettingsKeyCount] = { { FontKey, "", 0 }, { LanguageKey, "", 0 } };
    FontValue(keys[0].value);
    LanguageValue(keys[1].value);
    SettingsText text = { 0, 0, 0 };
    int edited = EditSettings(bytes, length, keys, &text);
    int rewritten = edited && ReplaceFileWhole(path, text.bytes, text.length, 0);
    DWORD error = edited ? GetLastError() : ERROR_NOT_ENOUGH_MEMORY;
    free(text.bytes);
    free(bytes);
    SetLastError(error);
    return rewritten;
}

static int SettingsPath(char *path)
{
    int length = snprintf(path, PathBufferBytes, SettingsFileFormat, InstallDir);
    if (length >= 0 && length < PathBufferBytes)
        return 1;
    SetLastError(ERROR_FILENAME_EXCED_RANGE);
    return 0;
}

// A missing file is not created; whatever happened, the file ends read-only and
// hidden. The product reads its language from here, so a failure is reported.
int UpdateSettingsFile()
{
    char path[PathBufferBytes];
    if (!SettingsPath(path))
        return 0;
    int rewritten = RewriteSettingsFile(path);
    DWORD error = GetLastError();
    AddFileAttributes(path, 1, 1);
    SetLastError(rewritten ? ERROR_SUCCESS : error);
    return rewritten;
}

// Read through the system's own profile calls, as the product reads them.
int ReadBackSettings(char *font, char *language)
{
    char path[PathBufferBytes];
    char expectedFont[SettingsValueBytes];
    char expectedLanguage[SettingsValueBytes];
    lstrcpyA(font, "(missing)");
    lstrcpyA(language, "(missing)");
    if (!SettingsPath(path))
        return 0;
    GetPrivateProfileStringA("Config", "UseBmpFont", "(missing)", font, SettingsValueBytes, path);
    GetPrivateProfileStringA("Config", "ForceLanguage", "(missing)", language, SettingsValueBytes, path);
    FontValue(expectedFont);
    LanguageValue(expectedLanguage);
    return strcmp(font, expectedFont) == 0 && strcmp(language, expectedLanguage) == 0;
}
