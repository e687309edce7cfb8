// The list of the sizes the images were drawn at (base/show_images.h names it), written after a
// whole run so that the show's checks can say what size an image put in one's place should have.
#include "art_groups.h"

#include <cstdint>
#include <cstdio>
#include <cstring>
#include <filesystem>

namespace {

uint32_t bigEndian32(const unsigned char* bytes) {
    return uint32_t(bytes[0]) << 24 | uint32_t(bytes[1]) << 16 | uint32_t(bytes[2]) << 8 | uint32_t(bytes[3]);
}

// The width and height a PNG's header states; false when the file is no PNG.
bool pngSize(const std::string& path, uint32_t* width, uint32_t* height) {
    static const unsigned char start[16] = {0x89, 'P', 'N', 'G', '\r', '\n', 0x1A, '\n',
                                            0,    0,   0,   13,  'I',  'H',  'D',  'R'};
    unsigned char header[24];
    FILE* file = fopen(path.c_str(), "rb");
    if (!file) return false;
    size_t got = fread(header, 1, sizeof header, file);
    fclose(file);
    if (got != sizeof header || memcmp(header, start, sizeof start) != 0) return false;
    *width = bigEndian32(header + 16);
    *height = bigEndian32(header + 20);
    return true;
}

}  // namespace

int writeImageSizes(const ArtJob& job) {
    std::string path = (std::filesystem::path(job.outRoot) / generatedImageSizesFileName).string();
    std::string partial = path + ".partial";
    FILE* out = fopen(partial.c_str(), "w");
    bool good = out != nullptr;
    for (const ShowImage& image : showImages()) {
        uint32_t width = 0, height = 0;
        if (good && pngSize((std::filesystem::path(job.outRoot) / image.fileName).string(), &width, &height)) {
            good = fprintf(out, "%s %u %u\n", image.fileName.c_str(), width, height) > 0;
        }
    }
    if (out) good = fclose(out) == 0 && good;
    if (!good || rename(partial.c_str(), path.c_str()) != 0) {
        fprintf(stderr, "demo-art: cannot write %s\n", path.c_str());
        remove(partial.c_str());
        return -1;
    }
    return 0;
}
