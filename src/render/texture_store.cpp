// Loading images into GL textures.
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

int TextureStore::load(std::string fileName) {
    for (size_t slot = 0; slot < textures.size(); ++slot) {
        if (textures[slot].fileName == fileName) return int(slot);
    }
    int width = 0, height = 0, components = 0;
    if (!stbi_info(fileName.c_str(), &width, &height, &components)) return -1;
    int limit = largestSide();
    if (width <= 0 || height <= 0 || width > limit || height > limit) return -1;
    unsigned char* pixels = stbi_load(fileName.c_str(), &width, &height, &components, 0);
    if (!pixels) return -1;
    if (components < 3) pixels = expandGrey(pixels, width, height, &components);
    if (!pixels) return -1;
    GLuint name = upload(pixels, width, height, components);
    free(pixels);  // stb_image allocates with malloc, as expandGrey does
    textures.push_back(Texture{fileName, float(width), float(height), name});
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
