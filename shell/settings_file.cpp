// The installed product's settings file "uiprefs.ini": the wizard's display answer
// and interface language, written into its "[Config]" section in place.
#include "shell/settings_file.h"
#include "install/payload_store.h"
#include "startup/shared_state.h"
#include <io.h>
#include <stdio.h>
#include <stdlib.h>
#include <string.h>
#include <sys/stat.h>

const int SettingsLineBytes = 256;     // one read takes at most 255 characters
const int SettingsValueBytes = 16;

static const char SettingsFileFormat[] = "%s\\uiprefs.ini";
static const char ConfigHeader[] = "[Config]";
static const char ConfigHeaderBlock[] = "\n\n[Config]\n\n";
static const char FontKey[] = "UseBmpFont=";
static const char LanguageKey[] = "ForceLanguage=";

// The key lines of the file, each found anywhere in a line and given its new value.
struct SettingsKey {
    const char *key;
    char value[SettingsValueBytes];
    int written;
};

// Reads the old value's width: the characters from the value's start to the line end.
static long OldValueWidth(FILE *file, long valuePosition)
{
    fseek(file, valuePosition, SEEK_SET);
    long width = 0;
    int c;
    while ((c = fgetc(file)) != EOF && c != '\n')
        width++;
    return width;
}

// A value of another width than the new one: the rest of the file moves so that
// the next line stays as it was. The file is a few kilobytes of text.
static void ReplaceValueAndMoveTail(FILE *file, long valuePosition, long oldWidth, const char *value)
{
    fseek(file, valuePosition + oldWidth, SEEK_SET);
    size_t capacity = 4096, length = 0;
    char *tail = (char *)malloc(capacity);
    size_t got;
    while (tail && (got = fread(tail + length, 1, capacity - length, file)) > 0) {
        length += got;
        if (length == capacity) {
            char *larger = (char *)realloc(tail, capacity * 2);
            if (!larger) {
                free(tail);
                tail = 0;
                break;
            }
            tail = larger;
            capacity *= 2;
        }
    }
    if (!tail)
        return;     // out of memory: the line keeps its old value
    fseek(file, valuePosition, SEEK_SET);
    fputs(value, file);
    fwrite(tail, 1, length, file);
    fflush(file);
    _chsize(_fileno(file), ftell(file));    // a wider old value leaves the file shorter
    free(tail);
}

// Writes the key's new value where its old value stands, then leaves the stream
// at the start of the next line. The old value runs to the line end; the usual
// one-character value is overwritten in place and the file keeps its length.
static void RewriteKeyValue(FILE *file, long valuePosition, const char *value)
{
    long oldWidth = OldValueWidth(file, valuePosition);
    if (oldWidth == (long)strlen(value)) {
        fseek(file, valuePosition, SEEK_SET);
        fputs(value, file);
    } else {
        ReplaceValueAndMoveTail(file, valuePosition, oldWidth, value);
    }
    fseek(file, valuePosition + (long)strlen(value), SEEK_SET);
    int c;
    while ((c = fgetc(file)) != EOF && c != '\n')
        ;
    fseek(file, 0, SEEK_CUR);   // the stream may switch between reading and writing
}

// Scans the file line by line (a longer line in pieces of 255 characters) and
// gives every key found its new value. Returns 1 when the scan reached the end
// of the file, 0 when it stopped at both keys or at a read error.
static int ScanSettings(FILE *file, SettingsKey *keys, int keyCount, int *headerSeen)
{
    char line[SettingsLineBytes];
    for (;;) {
        long lineStart = ftell(file);
        line[0] = 0;
        if (!fgets(line, sizeof(line), file))
            return !ferror(file);
        if (strstr(line, ConfigHeader))
            *headerSeen = 1;
        for (int i = 0; i < keyCount; i++) {
            const char *found = strstr(line, keys[i].key);
            if (!found)
                continue;
            long valuePosition = lineStart + (long)(found - line) + (long)strlen(keys[i].key);
            RewriteKeyValue(file, valuePosition, keys[i].value);
            keys[i].written = 1;
            break;  // the rest of this line has been passed over
        }
        int allWritten = 1;
        for (int i = 0; i < keyCount; i++)
            allWritten &= keys[i].written;
        if (allWritten)
            return 0;
        if (feof(file))
            return 1;
    }
}

// Appends what the scan did not find: the header, then each missing key line.
static void AppendMissing(FILE *file, const SettingsKey *keys, int keyCount, int headerSeen)
{
    fseek(file, 0, SEEK_END);
    if (!headerSeen)
        fputs(ConfigHeaderBlock, file);
    for (int i = 0; i < keyCount; i++)
        if (!keys[i].written)
            fprintf(file, "\n%s%s\n", keys[i].key, keys[i].value);
}

int UpdateSettingsFile()
{
    char path[PathBufferBytes];
    int length = snprintf(path, sizeof(path), SettingsFileFormat, InstallDir);
    if (length < 0 || length >= (int)sizeof(path))
        return 1;   // no such file can exist

    ClearFileAttributes(path, 1, 1);
    _chmod(path, _S_IREAD | _S_IWRITE);

    FILE *file = fopen(path, "r+");
    if (file) {
        SettingsKey keys[2] = { { FontKey, "", 0 }, { LanguageKey, "", 0 } };
        snprintf(keys[0].value, SettingsValueBytes, "%c", ChineseDisplayOk ? '0' : '1');
        snprintf(keys[1].value, SettingsValueBytes, "%d", ForceLanguage);
        int headerSeen = 0;
        // When the scan stopped early (both keys found, or a read error) nothing
        // is appended: a header written there would land amid the lines that follow.
        if (ScanSettings(file, keys, 2, &headerSeen))
            AppendMissing(file, keys, 2, headerSeen);
        fclose(file);
    }

    _chmod(path, _S_IREAD);
    AddFileAttributes(path, 1, 1);
    return 1;
}
