// Reading an image's alpha into cells for the lint.
#include "offline/lint_images.h"

#include "render/texture_store.h"

#include <algorithm>

namespace {

void include(PixelBox* box, int x, int y) {
    if (box->empty()) {
        *box = PixelBox{x, y, x + 1, y + 1};
        return;
    }
    box->left = std::min(box->left, x);
    box->top = std::min(box->top, y);
    box->right = std::max(box->right, x + 1);
    box->bottom = std::max(box->bottom, y + 1);
}

void measure(const DecodedImage& decoded, ImageAlpha* image) {
    image->cellsAcross = (decoded.width + alphaCellSide - 1) / alphaCellSide;
    image->cellsDown = (decoded.height + alphaCellSide - 1) / alphaCellSide;
    std::vector<uint32_t> sums(size_t(image->cellsAcross) * size_t(image->cellsDown), 0);
    std::vector<uint32_t> counts(sums.size(), 0);
    size_t components = size_t(decoded.components);
    for (int y = 0; y < decoded.height; ++y) {
        const unsigned char* row = decoded.pixels + size_t(y) * size_t(decoded.width) * components;
        size_t cellRow = size_t(y / alphaCellSide) * size_t(image->cellsAcross);
        for (int x = 0; x < decoded.width; ++x) {
            unsigned alpha = components == 4 ? row[size_t(x) * 4 + 3] : 255u;
            size_t cell = cellRow + size_t(x / alphaCellSide);
            sums[cell] += alpha;
            counts[cell] += 1;
            if (alpha > 0) include(&image->painted, x, y);
            if (alpha >= 128) include(&image->opaque, x, y);
        }
    }
    image->cells.resize(sums.size());
    for (size_t i = 0; i < sums.size(); ++i) image->cells[i] = uint8_t(sums[i] / counts[i]);
}

}  // namespace

ImageAlpha readImageAlpha(const std::string& path) {
    ImageAlpha image;
    DecodedImage decoded;
    if (!decodeTextureImage(path.c_str(), maxTextureSide, &decoded)) return image;
    image.loaded = true;
    image.width = decoded.width;
    image.height = decoded.height;
    measure(decoded, &image);
    freeDecodedImage(&decoded);
    return image;
}

float cellAlpha(const ImageAlpha& image, float x, float y) {
    if (!(x >= 0.0f && y >= 0.0f && x < float(image.width) && y < float(image.height))) return 0.0f;
    int across = std::min(int(x) / alphaCellSide, image.cellsAcross - 1);
    int down = std::min(int(y) / alphaCellSide, image.cellsDown - 1);
    return float(image.cells[size_t(down) * size_t(image.cellsAcross) + size_t(across)]) / 255.0f;
}
