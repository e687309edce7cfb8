// The texture store with real PNG files written by the tests, uploaded into a real GL context.
#include "support/audio_fixtures.h"
#include "support/gl_fixtures.h"

#include <GL/glew.h>
#include <gtest/gtest.h>

#include <cstdio>
#include <sys/stat.h>

namespace {

// The texture's level 0 as RGBA bytes.
std::vector<uint8_t> textureRgba(const TextureStore& store, int slot) {
    const Texture& texture = store.get(slot);
    std::vector<uint8_t> pixels(size_t(texture.width) * size_t(texture.height) * 4);
    glBindTexture(GL_TEXTURE_2D, texture.glName);
    glPixelStorei(GL_PACK_ALIGNMENT, 1);
    glGetTexImage(GL_TEXTURE_2D, 0, GL_RGBA, GL_UNSIGNED_BYTE, pixels.data());
    return pixels;
}

GLint internalFormat(const TextureStore& store, int slot) {
    glBindTexture(GL_TEXTURE_2D, store.get(slot).glName);
    GLint format = 0;
    glGetTexLevelParameteriv(GL_TEXTURE_2D, 0, GL_TEXTURE_INTERNAL_FORMAT, &format);
    return format;
}

// An image whose every pixel differs: channel c of pixel i is (i * 7 + c * 50) % 256.
std::vector<uint8_t> patternImage(int width, int height, int components) {
    std::vector<uint8_t> pixels(size_t(width) * size_t(height) * size_t(components));
    for (size_t i = 0; i < pixels.size(); ++i) {
        pixels[i] = uint8_t((i / size_t(components) * 7 + (i % size_t(components)) * 50) % 256);
    }
    return pixels;
}

// What GL holds for that image once it is RGB(A): grey replicated, alpha 255 when absent.
std::vector<uint8_t> expectedRgba(const std::vector<uint8_t>& pixels, int components) {
    std::vector<uint8_t> rgba;
    for (size_t i = 0; i < pixels.size(); i += size_t(components)) {
        bool grey = components < 3;
        rgba.push_back(pixels[i]);
        rgba.push_back(grey ? pixels[i] : pixels[i + 1]);
        rgba.push_back(grey ? pixels[i] : pixels[i + 2]);
        rgba.push_back(components == 4 ? pixels[i + 3] : components == 2 ? pixels[i + 1] : 255);
    }
    return rgba;
}

}  // namespace

TEST(TextureStore, HandsOutSlotsInLoadOrderAndFailuresUseNone) {
    TempDir dir;
    OffscreenView view;
    ASSERT_TRUE(view.open(64, 36));
    for (const char* name : {"a.png", "b.png", "c.png"}) {
        ASSERT_TRUE(writePng(dir.file(name), 512, 256, 4, solidImage(512, 256, 4, Rgba{1, 2, 3, 4})));
    }
    EXPECT_EQ(view.store.load(dir.file("a.png")), 0);
    EXPECT_EQ(view.store.load(dir.file("missing.png")), -1);
    EXPECT_EQ(view.store.load(dir.file("b.png")), 1);
    EXPECT_EQ(view.store.load(dir.path + "/./c.png"), 2) << "another text for a file is another name";
    EXPECT_EQ(view.store.load(dir.file("c.png")), 3);
    EXPECT_EQ(view.store.get(1).width, 512.0f);
    EXPECT_EQ(view.store.get(1).height, 256.0f);
    EXPECT_EQ(view.store.get(1).fileName, dir.file("b.png"));

    // The same name again: the first slot, without touching the file (it is gone now).
    ASSERT_EQ(std::remove(dir.file("a.png").c_str()), 0);
    EXPECT_EQ(view.store.load(dir.file("a.png")), 0);
    EXPECT_EQ(view.store.textures.size(), 4u);

    // A slot the store does not hold reads as an empty record.
    EXPECT_EQ(view.store.get(-1).width, 0.0f);
    EXPECT_EQ(view.store.get(4).glName, 0u);
}

TEST(TextureStore, DecodesOnlyRegularPngFilesWithinTheBudget) {
    TempDir dir;
    DecodedImage image;
    // Formats the decoder also knows are refused by their signature: a Radiance file with cut-off
    // run-length data made it loop for ever, and a PNM header without pixels gave uninitialised
    // memory.
    const std::string hdr("#?RADIANCE\nFORMAT=32-bit_rle_rgbe\n\n-Y 1 +X 16\n\x02\x02\x00\x10\x82", 51);
    writeBytes(dir.file("hdr.png"), std::vector<unsigned char>(hdr.begin(), hdr.end()));
    const std::string pnm = "P6\n1024 256\n255\n";
    writeBytes(dir.file("pnm.png"), std::vector<unsigned char>(pnm.begin(), pnm.end()));
    for (const char* name : {"hdr.png", "pnm.png"}) {
        EXPECT_FALSE(decodeTextureImage(dir.file(name).c_str(), maxTextureSide, &image)) << name;
        EXPECT_EQ(image.refusal, ImageRefusal::NotPng) << name;
        EXPECT_EQ(image.pixels, nullptr);
    }
    ASSERT_EQ(mkfifo(dir.file("fifo.png").c_str(), 0600), 0);
    EXPECT_FALSE(decodeTextureImage(dir.file("fifo.png").c_str(), maxTextureSide, &image)) << "not waited on";
    EXPECT_EQ(image.refusal, ImageRefusal::Unreadable);
    EXPECT_FALSE(decodeTextureImage(dir.path.c_str(), maxTextureSide, &image));
    EXPECT_EQ(image.refusal, ImageRefusal::Unreadable) << "a folder";

    // What a file claims is weighed before it is decoded: a 256x256 RGBA image takes 256 KiB.
    ASSERT_TRUE(writePng(dir.file("a.png"), 256, 256, 3, solidImage(256, 256, 3, Rgba{9, 9, 9, 255})));
    EXPECT_FALSE(decodeTextureImage(dir.file("a.png").c_str(), maxTextureSide, &image, 256 * 1024 - 1));
    EXPECT_EQ(image.refusal, ImageRefusal::OverBudget);
    ASSERT_TRUE(decodeTextureImage(dir.file("a.png").c_str(), maxTextureSide, &image, 256 * 1024));
    EXPECT_EQ(image.refusal, ImageRefusal::None);
    freeDecodedImage(&image);

    // The store counts what it holds against its budget and says why it refused a file.
    OffscreenView view;
    ASSERT_TRUE(view.open(64, 36));
    view.store.decodedBytes = textureBudgetBytes - 256 * 1024 + 1;
    EXPECT_EQ(view.store.load(dir.file("a.png")), -1);
    EXPECT_EQ(view.store.lastRefusal, ImageRefusal::OverBudget);
    view.store.decodedBytes = 0;
    EXPECT_EQ(view.store.load(dir.file("a.png")), 0);
    EXPECT_EQ(view.store.decodedBytes, 256 * 1024);
}

TEST(TextureStore, UploadsEveryComponentCountAndOddWidthsExactly) {
    TempDir dir;
    OffscreenView view;
    ASSERT_TRUE(view.open(64, 36));
    struct Case {
        int components, width, height;
        GLint format;
    };
    // The internal format is the bare component count after grey images are made colour.
    const Case cases[] = {{4, 6, 3, 4}, {3, 5, 3, 3}, {3, 7, 2, 3}, {2, 5, 3, 4}, {1, 3, 5, 3}};
    for (const Case& c : cases) {
        std::string name = dir.file("image" + std::to_string(c.components) + "x" + std::to_string(c.width) + ".png");
        std::vector<uint8_t> pixels = patternImage(c.width, c.height, c.components);
        ASSERT_TRUE(writePng(name, c.width, c.height, c.components, pixels));
        int slot = view.store.load(name);
        ASSERT_GE(slot, 0) << name;
        EXPECT_EQ(internalFormat(view.store, slot), c.format) << name;
        EXPECT_EQ(textureRgba(view.store, slot), expectedRgba(pixels, c.components)) << name;
    }
}

TEST(TextureStore, RefusesDamagedAndOversizedImages) {
    TempDir dir;
    OffscreenView view;
    ASSERT_TRUE(view.open(64, 36));
    ASSERT_TRUE(writePng(dir.file("good.png"), 40, 30, 4, patternImage(40, 30, 4)));
    std::vector<unsigned char> good = readBytes(dir.file("good.png"));

    writeBytes(dir.file("empty.png"), {});
    EXPECT_EQ(view.store.load(dir.file("empty.png")), -1);
    for (size_t cut : {size_t(8), size_t(20), size_t(33), good.size() / 2, good.size() - 13}) {
        writeBytes(dir.file("cut.png"), std::vector<unsigned char>(good.begin(), good.begin() + long(cut)));
        EXPECT_EQ(view.store.load(dir.file("cut.png")), -1) << "cut at " << cut;
    }
    std::vector<unsigned char> garbage(500);
    for (size_t i = 0; i < garbage.size(); ++i) garbage[i] = static_cast<unsigned char>(i * 131 + 7);
    writeBytes(dir.file("garbage.png"), garbage);
    EXPECT_EQ(view.store.load(dir.file("garbage.png")), -1);

    // A header that claims 100000 x 100000 pixels is refused before anything is decoded.
    std::vector<unsigned char> huge = good;
    const unsigned char side[4] = {0x00, 0x01, 0x86, 0xA0};  // 100000, big-endian
    std::copy(side, side + 4, huge.begin() + 16);
    std::copy(side, side + 4, huge.begin() + 20);
    writeBytes(dir.file("huge.png"), huge);
    EXPECT_EQ(view.store.load(dir.file("huge.png")), -1);

    EXPECT_TRUE(view.store.textures.empty());
    EXPECT_EQ(view.store.load(dir.file("good.png")), 0) << "the store still works";
}
