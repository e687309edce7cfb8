// Loading images into GL textures: decoding (no GL needed) and uploading.
#include "render/texture_store.h"

#include "base/regular_file.h"

#include <GL/glew.h>
#include <stb/stb_image.h>

#include <algorithm>
#include <cerrno>
#include <cstdlib>
#include <cstring>

TextureStore* currentTextures = nullptr;

namespace {

const Texture emptyTexture = {"", 0.0f, 0.0f, 0, TexelRect{}, TexelRect{}};

int largestSide() {
    GLint glLimit = 0;
    glGetIntegerv(GL_MAX_TEXTURE_SIZE, &glLimit);
    return glLimit > 0 ? std::min(int(glLimit), maxTextureSide) : maxTextureSide;
}

// Grey and grey-with-alpha images become RGB and RGBA, so that every upload names a format
// that matches the bytes handed over. Returns the new pixels (the old ones are freed) or null.
unsigned char* expandGrey(unsigned char* pixels, int width, int height, int* components) {
    int from = *components;
    int to = from + 2;
    size_t count = size_t(width) * size_t(height);
    unsigned char* expanded = static_cast<unsigned char*>(malloc(count * size_t(to)));
    if (expanded) {
        for (size_t i = 0; i < count; ++i) {
            unsigned char grey = pixels[i * size_t(from)];
            expanded[i * size_t(to)] = expanded[i * size_t(to) + 1] = expanded[i * size_t(to) + 2] = grey;
            if (to == 4) expanded[i * 4 + 3] = pixels[i * 2 + 1];
        }
        *components = to;
    }
    stbi_image_free(pixels);
    return expanded;
}

GLuint upload(const unsigned char* pixels, int width, int height, int components) {
    GLuint name = 0;
    glGenTextures(1, &name);
    glBindTexture(GL_TEXTURE_2D, name);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MAG_FILTER, GL_LINEAR);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MIN_FILTER, GL_LINEAR);
    glTexParameterf(GL_TEXTURE_2D, GL_TEXTURE_WRAP_S, GL_REPEAT);
    glTexParameterf(GL_TEXTURE_2D, GL_TEXTURE_WRAP_T, GL_REPEAT);
    // Rows are tightly packed; an RGB row of odd width is not a multiple of four bytes.
    bool alignedRows = (size_t(width) * size_t(components)) % 4 == 0;
    if (!alignedRows) glPixelStorei(GL_UNPACK_ALIGNMENT, 1);
    // The internal format named as the pixels' own (a count of components is desktop GL only).
    GLenum format = components == 4 ? GL_RGBA : GL_RGB;
    glTexImage2D(GL_TEXTURE_2D, 0, GLint(format), width, height, 0, format, GL_UNSIGNED_BYTE, pixels);
    if (!alignedRows) glPixelStorei(GL_UNPACK_ALIGNMENT, 4);
    return name;
}

}  // namespace

const char* imageRefusalText(ImageRefusal refusal) {
    switch (refusal) {
    case ImageRefusal::None: return "";
    case ImageRefusal::Unreadable: return "cannot be read as a regular file";
    case ImageRefusal::NotPng: return "not a PNG file";
    case ImageRefusal::TooLarge: return "too large";
    case ImageRefusal::OverBudget: return "out of the image memory budget";
    case ImageRefusal::Undecodable: return "not a PNG, or truncated";
    }
    return "";
}

namespace {

bool refuse(DecodedImage* image, ImageRefusal why) {
    image->refusal = why;
    return false;
}

bool hasPngSignature(const std::string& bytes) {
    static const char signature[8] = {'\x89', 'P', 'N', 'G', '\r', '\n', '\x1a', '\n'};
    return bytes.size() >= 8 && bytes.compare(0, 8, signature, 8) == 0;
}

// Every chunk's stated length fits in what follows it in the file. The decoder grows its buffer
// for the image data to what a chunk claims before reading it, so a few bytes claiming a 2 GB
// chunk would have it allocate that much.
bool pngChunksFit(const std::string& bytes) {
    size_t at = 8;
    while (at + 12 <= bytes.size()) {
        const unsigned char* chunk = reinterpret_cast<const unsigned char*>(bytes.data() + at);
        uint64_t length = uint64_t(chunk[0]) << 24 | uint64_t(chunk[1]) << 16 | uint64_t(chunk[2]) << 8 | chunk[3];
        if (length > bytes.size() - at - 12) return false;
        if (std::memcmp(chunk + 4, "IEND", 4) == 0) return true;
        at += size_t(length) + 12;
    }
    return false;
}

}  // namespace

bool decodeTextureImage(const char* fileName, int maxSide, DecodedImage* image, int64_t maxDecodedBytes) {
    *image = DecodedImage{nullptr, 0, 0, 0, ImageRefusal::None};
    std::string bytes;
    if (readRegularFile(fileName, maxImageFileBytes, &bytes) != 0) {
        return refuse(image, errno == EFBIG ? ImageRefusal::TooLarge : ImageRefusal::Unreadable);
    }
    // Only PNG is decoded: the decoder's other formats are not needed, and some of them loop on
    // damaged data or leave pixels unset.
    if (!hasPngSignature(bytes)) return refuse(image, ImageRefusal::NotPng);
    if (!pngChunksFit(bytes)) return refuse(image, ImageRefusal::Undecodable);
    const stbi_uc* data = reinterpret_cast<const stbi_uc*>(bytes.data());
    int length = int(bytes.size());
    int width = 0, height = 0, components = 0;
    if (!stbi_info_from_memory(data, length, &width, &height, &components)) {
        return refuse(image, ImageRefusal::Undecodable);
    }
    if (width <= 0 || height <= 0 || width > maxSide || height > maxSide) return refuse(image, ImageRefusal::TooLarge);
    if (int64_t(width) * int64_t(height) * 4 > maxDecodedBytes) return refuse(image, ImageRefusal::OverBudget);
    unsigned char* pixels = stbi_load_from_memory(data, length, &width, &height, &components, 0);
    if (!pixels) return refuse(image, ImageRefusal::Undecodable);
    // The header read twice could disagree (the file changed in between): trust neither blindly.
    if (width <= 0 || height <= 0 || width > maxSide || height > maxSide || components < 1 || components > 4) {
        stbi_image_free(pixels);
        return refuse(image, ImageRefusal::Undecodable);
    }
    if (components < 3) pixels = expandGrey(pixels, width, height, &components);
    if (!pixels) return refuse(image, ImageRefusal::OverBudget);
    *image = DecodedImage{pixels, width, height, components, ImageRefusal::None};
    return true;
}

void freeDecodedImage(DecodedImage* image) {
    free(image->pixels);  // stb_image allocates with malloc, as expandGrey does
    *image = DecodedImage{nullptr, 0, 0, 0, ImageRefusal::None};
}

TexelRect visibleTexels(const unsigned char* pixels, int width, int height, int components) {
    if (components != 4) return TexelRect{0, 0, width, height};
    TexelRect seen{width, height, 0, 0};
    for (int y = 0; y < height; ++y) {
        const unsigned char* alpha = pixels + size_t(y) * size_t(width) * 4 + 3;
        for (int x = 0; x < width; ++x, alpha += 4) {
            if (*alpha == 0) continue;
            seen.left = std::min(seen.left, x);
            seen.right = std::max(seen.right, x + 1);
            seen.top = std::min(seen.top, y);
            seen.bottom = std::max(seen.bottom, y + 1);
        }
    }
    if (seen.left >= seen.right) return TexelRect{};
    TexelRect grown{seen.left - 1, seen.top - 1, seen.right + 1, seen.bottom + 1};
    // Touching an edge, filtering wraps to the other side: the rectangle then spans the image.
    if (grown.left < 0 || grown.right > width) grown.left = 0, grown.right = width;
    if (grown.top < 0 || grown.bottom > height) grown.top = 0, grown.bottom = height;
    return grown;
}

TexelRect opaqueRows(const unsigned char* pixels, int width, int height, int components) {
    if (components != 4) return TexelRect{0, 0, width, height};
    int bestTop = 0, bestBottom = 0, runTop = 0;
    for (int y = 0; y <= height; ++y) {
        bool opaque = y < height;
        for (int x = 0; opaque && x < width; ++x)
            opaque = pixels[(size_t(y) * size_t(width) + size_t(x)) * 4 + 3] == 255;
        if (opaque) continue;
        if (y - runTop > bestBottom - bestTop) bestTop = runTop, bestBottom = y;
        runTop = y + 1;
    }
    if (bestBottom - bestTop <= 2) return TexelRect{};
    return TexelRect{0, bestTop + 1, width, bestBottom - 1};
}

int TextureStore::load(std::string fileName) {
    for (size_t slot = 0; slot < textures.size(); ++slot) {
        if (textures[slot].fileName == fileName) return int(slot);
    }
    DecodedImage image;
    if (!decodeTextureImage(fileName.c_str(), largestSide(), &image, textureBudgetBytes - decodedBytes)) {
        lastRefusal = image.refusal;
        return -1;
    }
    GLuint name = upload(image.pixels, image.width, image.height, image.components);
    textures.push_back(Texture{fileName, float(image.width), float(image.height), name,
                               visibleTexels(image.pixels, image.width, image.height, image.components),
                               opaqueRows(image.pixels, image.width, image.height, image.components)});
    decodedBytes += int64_t(image.width) * int64_t(image.height) * 4;
    lastRefusal = ImageRefusal::None;
    freeDecodedImage(&image);
    return int(textures.size()) - 1;
}

void TextureStore::bind(int slot) {
    if (!holds(slot)) return;
    glBindTexture(GL_TEXTURE_2D, textures[size_t(slot)].glName);
    glTexEnvi(GL_TEXTURE_ENV, GL_TEXTURE_ENV_MODE, GL_MODULATE);  // the integer form: browsers take only it
}

const Texture& TextureStore::get(int slot) const { return holds(slot) ? textures[size_t(slot)] : emptyTexture; }

bool reloadTexture(TextureStore* store, int slot) {
    if (!store->holds(slot)) return false;
    Texture& texture = store->textures[size_t(slot)];
    int64_t oldBytes = int64_t(texture.width) * int64_t(texture.height) * 4;
    DecodedImage image;
    if (!decodeTextureImage(texture.fileName.c_str(), largestSide(), &image,
                            textureBudgetBytes - store->decodedBytes + oldBytes)) {
        store->lastRefusal = image.refusal;
        return false;
    }
    GLuint name = upload(image.pixels, image.width, image.height, image.components);
    glDeleteTextures(1, &texture.glName);
    texture = Texture{texture.fileName,
                      float(image.width),
                      float(image.height),
                      name,
                      visibleTexels(image.pixels, image.width, image.height, image.components),
                      opaqueRows(image.pixels, image.width, image.height, image.components)};
    store->decodedBytes += int64_t(image.width) * int64_t(image.height) * 4 - oldBytes;
    store->lastRefusal = ImageRefusal::None;
    freeDecodedImage(&image);
    return true;
}
