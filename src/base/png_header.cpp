// Reading a PNG's stated size from its header.
#include "base/png_header.h"

#include "base/regular_file.h"

#include <cstdio>
#include <cstring>

namespace {

uint32_t bigEndian32(const unsigned char* bytes) {
    return uint32_t(bytes[0]) << 24 | uint32_t(bytes[1]) << 16 | uint32_t(bytes[2]) << 8 | uint32_t(bytes[3]);
}

}  // namespace

bool pngHeaderSize(const std::string& path, uint32_t* width, uint32_t* height) {
    static const unsigned char start[16] = {0x89, 'P', 'N', 'G', '\r', '\n', 0x1A, '\n',
                                            0,    0,   0,   13,  'I',  'H',  'D',  'R'};
    unsigned char header[24];
    FILE* file = openRegularStream(path.c_str(), "rb");
    if (!file) return false;
    size_t got = std::fread(header, 1, sizeof header, file);
    std::fclose(file);
    if (got != sizeof header || std::memcmp(header, start, sizeof start) != 0) return false;
    *width = bigEndian32(header + 16);
    *height = bigEndian32(header + 20);
    return true;
}
