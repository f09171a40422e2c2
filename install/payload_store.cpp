// Finds a "TEXT" entry of the payload store and inflates it into a caller's buffer.
#include "install/payload_store.h"
#include <zlib.h>

static const char PayloadType[] = "TEXT";

// On entry *length is the buffer's capacity, on success the inflated length.
// The compressed bytes are read in place from the loaded image. A missing
// entry, a damaged stream and one larger than the capacity all give 0.
int InflatePayloadEntry(HMODULE module, int resourceId, unsigned char *buffer, unsigned long *length)
{
    HRSRC entry = FindResourceA(module, MAKEINTRESOURCEA(resourceId), PayloadType);
    if (!entry)
        return 0;
    HGLOBAL loaded = LoadResource(module, entry);
    const Bytef *stream = loaded ? (const Bytef *)LockResource(loaded) : 0;
    if (!stream)
        return 0;
    uLongf inflated = *length;
    if (uncompress(buffer, &inflated, stream, SizeofResource(module, entry)) != Z_OK)
        return 0;
    *length = inflated;
    return 1;
}
