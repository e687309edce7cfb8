// Offscreen drawing fixtures.
#include "support/gl_fixtures.h"

#include <stb/stb_image.h>
#include <stb/stb_image_write.h>

#include <algorithm>
#include <cstdlib>

std::vector<uint8_t> solidImage(int width, int height, int components, Rgba colour) {
    const int channels[4] = {colour.r, colour.g, colour.b, colour.a};
    std::vector<uint8_t> pixels(size_t(width) * size_t(height) * size_t(components));
    for (size_t i = 0; i < pixels.size(); ++i) pixels[i] = uint8_t(channels[i % size_t(components)]);
    return pixels;
}

bool writePng(const std::string& path, int width, int height, int components, const std::vector<uint8_t>& pixels) {
    return stbi_write_png(path.c_str(), width, height, components, pixels.data(), width * components) != 0;
}

bool OffscreenView::open(int width, int height) {
    if (!window.openOffscreen(width, height)) return false;
    currentTextures = &store;
    window.enableBlending();
    return true;
}

OffscreenView::~OffscreenView() {
    window.close();
    currentTextures = nullptr;
}

void OffscreenView::read() {
    frame.assign(size_t(window.width) * size_t(window.height) * 4, 0);
    window.readPixels(frame.data());
}

Rgba OffscreenView::at(int x, int yFromTop) const {
    size_t row = size_t(window.height - 1 - yFromTop);
    const uint8_t* p = &frame[(row * size_t(window.width) + size_t(x)) * 4];
    return Rgba{p[0], p[1], p[2], p[3]};
}

bool near(Rgba a, Rgba b, int tolerance) {
    return std::abs(a.r - b.r) <= tolerance && std::abs(a.g - b.g) <= tolerance && std::abs(a.b - b.b) <= tolerance;
}

std::string describe(Rgba c) {
    return "(" + std::to_string(c.r) + ", " + std::to_string(c.g) + ", " + std::to_string(c.b) + ", " +
           std::to_string(c.a) + ")";
}

Picture loadPicture(const std::string& path) {
    Picture picture;
    int components = 0;
    unsigned char* pixels = stbi_load(path.c_str(), &picture.width, &picture.height, &components, 3);
    if (pixels) {
        picture.rgb.assign(pixels, pixels + size_t(picture.width) * size_t(picture.height) * 3);
        stbi_image_free(pixels);
    }
    return picture;
}

int largestDifference(const Picture& a, const Picture& b, int top) {
    if (a.width != b.width || a.height != b.height || a.rgb.empty()) return 256;
    int largest = 0;
    for (size_t i = size_t(top) * size_t(a.width) * 3; i < a.rgb.size(); ++i) {
        largest = std::max(largest, std::abs(int(a.rgb[i]) - int(b.rgb[i])));
    }
    return largest;
}
