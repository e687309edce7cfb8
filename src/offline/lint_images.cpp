// Reading an image's alpha into cells for the lint.
#include "offline/lint_images.h"

#include "render/texture_store.h"

#include <algorithm>
#include <cmath>

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

// How deep the outer band is along a side of `length` pixels: edgeBandFraction of it, at least one.
int edgeBandDepth(int length) { return std::max(1, int(std::ceil(double(length) * edgeBandFraction))); }

// Sums of alpha over the whole image and over its outer band, and the band's pixel count.
struct AlphaTotals {
    uint64_t all = 0;
    uint64_t edge = 0;
    uint64_t edgePixels = 0;
};

void measure(const DecodedImage& decoded, ImageAlpha* image) {
    image->cellsAcross = (decoded.width + alphaCellSide - 1) / alphaCellSide;
    image->cellsDown = (decoded.height + alphaCellSide - 1) / alphaCellSide;
    std::vector<uint32_t> sums(size_t(image->cellsAcross) * size_t(image->cellsDown), 0);
    std::vector<uint32_t> counts(sums.size(), 0);
    size_t components = size_t(decoded.components);
    int bandX = edgeBandDepth(decoded.width), bandY = edgeBandDepth(decoded.height);
    AlphaTotals totals;
    for (int y = 0; y < decoded.height; ++y) {
        const unsigned char* row = decoded.pixels + size_t(y) * size_t(decoded.width) * components;
        size_t cellRow = size_t(y / alphaCellSide) * size_t(image->cellsAcross);
        bool edgeRow = y < bandY || y >= decoded.height - bandY;
        for (int x = 0; x < decoded.width; ++x) {
            unsigned alpha = components == 4 ? row[size_t(x) * 4 + 3] : 255u;
            size_t cell = cellRow + size_t(x / alphaCellSide);
            sums[cell] += alpha;
            counts[cell] += 1;
            totals.all += alpha;
            if (edgeRow || x < bandX || x >= decoded.width - bandX) {
                totals.edge += alpha;
                totals.edgePixels += 1;
            }
            if (alpha > 0) include(&image->painted, x, y);
            if (alpha >= 128) include(&image->opaque, x, y);
        }
    }
    image->cells.resize(sums.size());
    for (size_t i = 0; i < sums.size(); ++i) image->cells[i] = uint8_t(sums[i] / counts[i]);
    double pixels = double(decoded.width) * double(decoded.height);
    if (pixels > 0) image->meanAlpha = double(totals.all) / 255.0 / pixels;
    if (totals.edgePixels > 0) image->edgeAlpha = double(totals.edge) / 255.0 / double(totals.edgePixels);
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
