// Loading images into GL textures: decoding (no GL needed) and uploading.
#include "render/texture_store.h"

#include <GL/glew.h>
#include <stb/stb_image.h>

#include <algorithm>
#include <cstdlib>

TextureStore* currentTextures = nullptr;

namespace {

const Texture emptyTexture = {"", 0.0f, 0.0f, 0};

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
    glTexImage2D(GL_TEXTURE_2D, 0, components, width, height, 0, components == 4 ? GL_RGBA : GL_RGB,
                 GL_UNSIGNED_BYTE, pixels);
    if (!alignedRows) glPixelStorei(GL_UNPACK_ALIGNMENT, 4);
    return name;
}

}  // namespace

bool decodeTextureImage(const char* fileName, int maxSide, DecodedImage* image) {
    *image = DecodedImage{nullptr, 0, 0, 0};
    int width = 0, height = 0, components = 0;
    if (!stbi_info(fileName, &width, &height, &components)) return false;
    if (width <= 0 || height <= 0 || width > maxSide || height > maxSide) return false;
    unsigned char* pixels = stbi_load(fileName, &width, &height, &components, 0);
    if (!pixels) return false;
    // The header read twice could disagree (the file changed in between): trust neither blindly.
    if (width <= 0 || height <= 0 || width > maxSide || height > maxSide || components < 1 ||
        components > 4) {
        stbi_image_free(pixels);
        return false;
    }
    if (components < 3) pixels = expandGrey(pixels, width, height, &components);
    if (!pixels) return false;
    *image = DecodedImage{pixels, width, height, components};
    return true;
}

void freeDecodedImage(DecodedImage* image) {
    free(image->pixels);  // stb_image allocates with malloc, as expandGrey does
    *image = DecodedImage{nullptr, 0, 0, 0};
}

int TextureStore::load(std::string fileName) {
    for (size_t slot = 0; slot < textures.size(); ++slot) {
        if (textures[slot].fileName == fileName) return int(slot);
    }
    DecodedImage image;
    if (!decodeTextureImage(fileName.c_str(), largestSide(), &image)) return -1;
    GLuint name = upload(image.pixels, image.width, image.height, image.components);
    textures.push_back(Texture{fileName, float(image.width), float(image.height), name});
    freeDecodedImage(&image);
    return int(textures.size()) - 1;
}

void TextureStore::bind(int slot) {
    if (!holds(slot)) return;
    glBindTexture(GL_TEXTURE_2D, textures[size_t(slot)].glName);
    glTexEnvf(GL_TEXTURE_ENV, GL_TEXTURE_ENV_MODE, GL_MODULATE);
}

const Texture& TextureStore::get(int slot) const {
    return holds(slot) ? textures[size_t(slot)] : emptyTexture;
}
