// Writes captured pixels as PNG files (8-bit RGB, one IDAT chunk).
#include "support/png_writer.h"
#include <stdio.h>
#include <zlib.h>

static void PutBig32(std::vector<unsigned char> &out, unsigned value)
{
    out.push_back((unsigned char)(value >> 24));
    out.push_back((unsigned char)(value >> 16));
    out.push_back((unsigned char)(value >> 8));
    out.push_back((unsigned char)value);
}

static void PutChunk(std::vector<unsigned char> &out, const char *type, const std::vector<unsigned char> &data)
{
    PutBig32(out, (unsigned)data.size());
    size_t start = out.size();
    out.insert(out.end(), type, type + 4);
    out.insert(out.end(), data.begin(), data.end());
    PutBig32(out, (unsigned)crc32(0, out.data() + start, (uInt)(out.size() - start)));
}

int WritePng(const std::string &path, int width, int height, const std::vector<unsigned> &pixels)
{
    std::vector<unsigned char> raw;
    raw.reserve((size_t)height * (width * 3 + 1));
    for (int y = 0; y < height; y++) {
        raw.push_back(0);   // no filter
        for (int x = 0; x < width; x++) {
            unsigned p = pixels[(size_t)y * width + x];
            raw.push_back((unsigned char)(p >> 16));
            raw.push_back((unsigned char)(p >> 8));
            raw.push_back((unsigned char)p);
        }
    }
    uLongf packedLength = compressBound((uLong)raw.size());
    std::vector<unsigned char> packed(packedLength);
    if (compress2(packed.data(), &packedLength, raw.data(), (uLong)raw.size(), 9) != Z_OK)
        return 0;
    packed.resize(packedLength);

    std::vector<unsigned char> header;
    PutBig32(header, (unsigned)width);
    PutBig32(header, (unsigned)height);
    header.push_back(8);    // bit depth
    header.push_back(2);    // RGB
    header.push_back(0);
    header.push_back(0);
    header.push_back(0);

    static const unsigned char signature[8] = { 0x89, 'P', 'N', 'G', '\r', '\n', 0x1A, '\n' };
    std::vector<unsigned char> file(signature, signature + 8);
    PutChunk(file, "IHDR", header);
    PutChunk(file, "IDAT", packed);
    PutChunk(file, "IEND", std::vector<unsigned char>());

    FILE *out = fopen(path.c_str(), "wb");
    if (!out)
        return 0;
    size_t written = fwrite(file.data(), 1, file.size(), out);
    return fclose(out) == 0 && written == file.size();
}
