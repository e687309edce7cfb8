// The texture store: image files decoded with stb_image and uploaded as GL textures, one record
// per image, addressed by slot (the record's index, counted in the order of successful loads).
// Records are only ever appended, so a slot stays valid for the life of the store.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

struct Texture {
    std::string fileName;  // exactly as passed to load; the key of the name lookup
    float width;           // pixels
    float height;
    uint32_t glName;
};

// Images larger than this on either side are refused before they are decoded.
constexpr int maxTextureSide = 8192;

// An image decoded into memory, ready to upload: width * height * components bytes, rows top to
// bottom, tightly packed; components is 3 (RGB) or 4 (RGBA).
struct DecodedImage {
    unsigned char* pixels;
    int width;
    int height;
    int components;
};

// Decodes the file, refusing it before decoding when either side exceeds maxSide; grey and
// grey-with-alpha images are expanded to RGB and RGBA. Returns false (the image left empty) when
// the file is missing, unreadable, undecodable or too large. Needs no GL context.
bool decodeTextureImage(const char* fileName, int maxSide, DecodedImage* image);
// Releases the pixels of a decoded image and empties it; an empty image is left as it is.
void freeDecodedImage(DecodedImage* image);

struct TextureStore {
    std::vector<Texture> textures;

    // Decodes the file into a new texture and returns its slot; the existing slot when a record
    // of this exact name is held; -1 when the file is missing, unreadable, undecodable or too
    // large. Needs a current GL context.
    int load(std::string fileName);
    // Binds the slot's texture in the modulate environment; a slot the store does not hold binds
    // nothing.
    void bind(int slot);
    // The slot's record; for a slot the store does not hold, an empty record (size 0, GL name 0).
    const Texture& get(int slot) const;
    bool holds(int slot) const { return slot >= 0 && size_t(slot) < textures.size(); }
};

// The program's one store while the demo runs; the sprite drawing and the tunnel read it.
extern TextureStore* currentTextures;
