// The list of the sizes the images were drawn at (base/show_images.h names it), written after a
// whole run so that the show's checks can say what size an image put in one's place should have.
#include "art_groups.h"
#include "base/png_header.h"

#include <cstdint>
#include <cstdio>
#include <cstring>
#include <filesystem>

namespace {}  // namespace

int writeImageSizes(const ArtJob& job) {
    std::string path = (std::filesystem::path(job.outRoot) / generatedImageSizesFileName).string();
    std::string partial = path + ".partial";
    FILE* out = fopen(partial.c_str(), "w");
    bool good = out != nullptr;
    for (const ShowImage& image : showImages()) {
        uint32_t width = 0, height = 0;
        if (good && pngHeaderSize((std::filesystem::path(job.outRoot) / image.fileName).string(), &width, &height)) {
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
