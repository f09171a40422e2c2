// Finds a "TEXT" entry of the payload store and inflates it into a caller's
// buffer, or checks its stored bytes against the checksum made when it was packed.
#include "install/payload_store.h"
#include "resources/resource_ids.h"
#include <zlib.h>

static const char PayloadType[] = "TEXT";

// The bytes of one resource as loaded in place; 0 when it is missing.
static const Bytef *LoadEntry(HMODULE module, LPCSTR type, int resourceId, DWORD *size)
{
    HRSRC entry = FindResourceA(module, MAKEINTRESOURCEA(resourceId), type);
    if (!entry)
        return 0;
    HGLOBAL loaded = LoadResource(module, entry);
    *size = SizeofResource(module, entry);
    return loaded ? (const Bytef *)LockResource(loaded) : 0;
}

// The checksum table holds one record per entry: its id and the CRC-32 of
// its stored stream, both little-endian 32-bit words.
struct ChecksumRecord {
    DWORD ResourceId;
    DWORD StreamCrc;
};

// The CRC of the compressed bytes is cheap (about 15 ms for the whole 24 MB
// payload) next to inflating them, so every entry the install will write can
// be checked before the first change on the disk. An entry without a record,
// or a program without the table, counts as damaged.
int PayloadEntryIsIntact(HMODULE module, int resourceId)
{
    DWORD tableSize = 0, streamSize = 0;
    const ChecksumRecord *records =
        (const ChecksumRecord *)LoadEntry(module, RT_RCDATA, ID_PAYLOAD_CHECKSUMS, &tableSize);
    const Bytef *stream = LoadEntry(module, PayloadType, resourceId, &streamSize);
    if (!records || !stream)
        return 0;
    for (DWORD i = 0; i < tableSize / sizeof(ChecksumRecord); i++)
        if (records[i].ResourceId == (DWORD)resourceId)
            return records[i].StreamCrc == crc32(crc32(0, Z_NULL, 0), stream, streamSize);
    return 0;
}

// On entry *length is the buffer's capacity, on success the inflated length.
// The compressed bytes are read in place from the loaded image. A missing
// entry, a damaged stream and one larger than the capacity all give 0 and
// count as damage: the build refuses every file larger than the install buffer.
int InflatePayloadEntry(HMODULE module, int resourceId, unsigned char *buffer, unsigned long *length)
{
    DWORD size = 0;
    const Bytef *stream = LoadEntry(module, PayloadType, resourceId, &size);
    uLongf inflated = *length;
    int result = stream ? uncompress(buffer, &inflated, stream, size) : Z_DATA_ERROR;
    if (result != Z_OK) {
        SetLastError(result == Z_MEM_ERROR ? ERROR_NOT_ENOUGH_MEMORY : ErrorPayloadEntryDamaged);
        return 0;
    }
    *length = inflated;
    return 1;
}
