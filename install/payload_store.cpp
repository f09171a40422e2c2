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

// The checksum table holds one record per entry: its id, the CRC-32 of its
// stored stream and the bytes it inflates to, little-endian 32-bit words.
struct ChecksumRecord {
    DWORD ResourceId;
    DWORD StreamCrc;
    DWORD InflatedBytes;
};

// The entry's record in the checksum table, or 0 (also for a program without the table).
static const ChecksumRecord *FindChecksumRecord(HMODULE module, int resourceId)
{
    DWORD tableSize = 0;
    const ChecksumRecord *records =
        (const ChecksumRecord *)LoadEntry(module, RT_RCDATA, ID_PAYLOAD_CHECKSUMS, &tableSize);
    if (!records)
        return 0;
    for (DWORD i = 0; i < tableSize / sizeof(ChecksumRecord); i++)
        if (records[i].ResourceId == (DWORD)resourceId)
            return &records[i];
    return 0;
}

// The CRC of the compressed bytes is cheap (about 15 ms for the whole 24 MB
// payload) next to inflating them, so every entry the install will write can
// be checked before the first change on the disk. An entry without a record,
// or a program without the table, counts as damaged.
int PayloadEntryIsIntact(HMODULE module, int resourceId)
{
    DWORD streamSize = 0;
    const ChecksumRecord *record = FindChecksumRecord(module, resourceId);
    const Bytef *stream = LoadEntry(module, PayloadType, resourceId, &streamSize);
    return record && stream && record->StreamCrc == crc32(crc32(0, Z_NULL, 0), stream, streamSize);
}

unsigned long PayloadEntryInflatedBytes(HMODULE module, int resourceId)
{
    const ChecksumRecord *record = FindChecksumRecord(module, resourceId);
    return record ? record->InflatedBytes : 0;
}

void (*InstallPulse)();

// The stream inflates a slice at a time, the pulse called between slices, so
// that a window can be kept answering through the largest entry too.
static int InflateInSlices(const Bytef *stream, DWORD size, unsigned char *buffer, uLongf *length)
{
    z_stream inflater;
    ZeroMemory(&inflater, sizeof(inflater));
    inflater.next_in = (Bytef *)stream;
    inflater.avail_in = size;
    inflater.next_out = buffer;
    int result = inflateInit(&inflater);
    if (result != Z_OK)
        return result;
    uLongf capacity = *length;
    do {
        uLongf left = capacity - inflater.total_out;
        inflater.avail_out = left < InflateSliceBytes ? left : InflateSliceBytes;
        result = inflate(&inflater, Z_NO_FLUSH);
        if (InstallPulse)
            InstallPulse();
    } while (result == Z_OK);
    *length = inflater.total_out;
    inflateEnd(&inflater);
    // Anything but the stream's end (a stream cut short, damaged, or larger
    // than the capacity) is damage, as uncompress reports it.
    return result == Z_STREAM_END ? Z_OK : result == Z_MEM_ERROR ? Z_MEM_ERROR : Z_DATA_ERROR;
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
    int result = stream ? InflateInSlices(stream, size, buffer, &inflated) : Z_DATA_ERROR;
    if (result != Z_OK) {
        SetLastError(result == Z_MEM_ERROR ? ERROR_NOT_ENOUGH_MEMORY : ErrorPayloadEntryDamaged);
        return 0;
    }
    *length = inflated;
    return 1;
}
