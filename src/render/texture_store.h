// The texture store: image files decoded with stb_image and uploaded as GL textures, one record
// per image, addressed by slot (the record's index, counted in the order of successful loads).
// Records are only ever appended, so a slot stays valid for the life of the store.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

// Texels [left, right) x [top, bottom) of an image, rows counted from the top.
struct TexelRect {
    int left = 0;
    int top = 0;
    int right = 0;
    int bottom = 0;
};

struct Texture {
    std::string fileName;  // exactly as passed to load; the key of the name lookup
    float width;           // pixels
    float height;
    uint32_t glName;
    // The texels that can show anything: those of non-zero alpha, one texel wider on every side
    // for linear filtering, and reaching the far edge where they touch an edge (the texture
    // repeats, so filtering at one edge reads the other). Empty for a wholly transparent image.
    TexelRect visible;
    // Rows [top, bottom) of the longest run of rows opaque from edge to edge, less a row at each
    // end for filtering: what the image covers for certain. Empty when there is none.
    TexelRect opaque;
};

// The visible rectangle of decoded pixels (RGB images are visible everywhere).
TexelRect visibleTexels(const unsigned char* pixels, int width, int height, int components);
// The opaque band of decoded pixels (an RGB image is opaque everywhere).
TexelRect opaqueRows(const unsigned char* pixels, int width, int height, int components);

// Images larger than this on either side are refused before they are decoded.
constexpr int maxTextureSide = 8192;
// Image files larger than this are refused before they are read.
constexpr int64_t maxImageFileBytes = 64 << 20;
// All the images of a store together, as decoded RGBA, may take this much: several times what a
// show needs (the show's own images take about 120 MB), far below what would strain a machine,
// whatever sizes the files claim.
constexpr int64_t textureBudgetBytes = int64_t(512) << 20;

// Why an image was refused.
enum class ImageRefusal : int32_t { None, Unreadable, NotPng, TooLarge, OverBudget, Undecodable };

// "not a PNG file", "not a PNG, or truncated" and the like; "" for None.
const char* imageRefusalText(ImageRefusal refusal);

// An image decoded into memory, ready to upload: width * height * components bytes, rows top to
// bottom, tightly packed; components is 3 (RGB) or 4 (RGBA).
struct DecodedImage {
    unsigned char* pixels;
    int width;
    int height;
    int components;
    ImageRefusal refusal;  // why the last decode into this record failed; None on success
};

// Decodes the file, which must be a regular file of at most maxImageFileBytes holding a PNG
// image (other formats are refused by their signature, before any decoder sees them). It is
// refused before decoding when either side exceeds maxSide or its RGBA pixels would take more
// than maxDecodedBytes; grey and grey-with-alpha images are expanded to RGB and RGBA. Returns
// false (the image left empty, the reason in `refusal`) when it cannot be used. Needs no GL
// context.
bool decodeTextureImage(const char* fileName, int maxSide, DecodedImage* image,
                        int64_t maxDecodedBytes = textureBudgetBytes);
// Releases the pixels of a decoded image and empties it; an empty image is left as it is.
void freeDecodedImage(DecodedImage* image);

struct TextureStore {
    std::vector<Texture> textures;
    int64_t decodedBytes = 0;                       // RGBA bytes of every image loaded, counted against the budget
    ImageRefusal lastRefusal = ImageRefusal::None;  // why the last load returned -1

    // Decodes the file into a new texture and returns its slot; the existing slot when a record
    // of this exact name is held; -1 when the file is missing, unreadable, no PNG, undecodable,
    // too large, or past what is left of the budget. Needs a current GL context.
    int load(std::string fileName);
    // Binds the slot's texture in the modulate environment; a slot the store does not hold binds
    // nothing.
    void bind(int slot);
    // The slot's record; for a slot the store does not hold, an empty record (size 0, GL name 0).
    const Texture& get(int slot) const;
    bool holds(int slot) const { return slot >= 0 && size_t(slot) < textures.size(); }
};

// Decodes the slot's file again into a new texture that takes the old one's place, for a file
// changed on disk. False, the old texture kept and the reason in lastRefusal, when the new file
// cannot be used. Needs a current GL context.
bool reloadTexture(TextureStore* store, int slot);

// The program's one store while the demo runs; the sprite drawing and the tunnel read it.
extern TextureStore* currentTextures;
