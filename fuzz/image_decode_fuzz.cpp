// Fuzz target: any bytes as an image file for the texture store's decoding half (the part that
// needs no GL). The bytes are written to one temporary file, rewritten for every input. Checks
// that a decoded image respects the side cap, has 3 or 4 components and that its last pixel byte
// is inside the buffer.
#include <unistd.h>

#include <cstdint>
#include <cstdlib>
#include <cstdio>

#include "render/texture_store.h"

namespace {

void require(bool condition) {
    if (!condition) std::abort();
}

// The temporary file, made once per process and removed from the directory at once; inputs are
// reached through /proc/self/fd so nothing is left behind however the run ends.
int inputDescriptor = -1;
char inputPath[64] = "";

void writeInput(const uint8_t* data, size_t size) {
    if (inputDescriptor < 0) {
        char pattern[] = "/tmp/image_decode_fuzz.XXXXXX";
        inputDescriptor = mkstemp(pattern);
        require(inputDescriptor >= 0);
        unlink(pattern);
        std::snprintf(inputPath, sizeof inputPath, "/proc/self/fd/%d", inputDescriptor);
    }
    require(ftruncate(inputDescriptor, 0) == 0);
    size_t written = 0;
    while (written < size) {
        ssize_t done = pwrite(inputDescriptor, data + written, size - written, off_t(written));
        require(done > 0);
        written += size_t(done);
    }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    writeInput(data, size);
    DecodedImage image;
    if (!decodeTextureImage(inputPath, maxTextureSide, &image)) {
        require(image.pixels == nullptr);
        return 0;
    }
    require(image.pixels != nullptr);
    require(image.width > 0 && image.width <= maxTextureSide);
    require(image.height > 0 && image.height <= maxTextureSide);
    require(image.components == 3 || image.components == 4);
    size_t bytes = size_t(image.width) * size_t(image.height) * size_t(image.components);
    volatile unsigned char last = image.pixels[bytes - 1];
    (void)last;
    freeDecodedImage(&image);
    require(image.pixels == nullptr);
    return 0;
}
