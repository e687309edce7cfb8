// Fuzz target: any bytes as an image file for the texture store's decoding half (the part that
// needs no GL). The bytes are written to one temporary file, rewritten for every input. Checks
// that a decoded image respects the side cap, has 3 or 4 components and that its last pixel byte
// is inside the buffer.
#include <unistd.h>

#include <cstdint>
#include <cstdlib>
#include <cstdio>

#include "render/texture_store.h"
#include "fuzz_input.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const char* inputPath = writeFuzzInput(data, size);
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
