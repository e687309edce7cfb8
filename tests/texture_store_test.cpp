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
    for (const char* name : {"a.png", "b.png"}) {
        ASSERT_TRUE(writePng(dir.file(name), 512, 256, 4, solidImage(512, 256, 4, Rgba{1, 2, 3, 4})));
    }
    EXPECT_EQ(view.store.load(dir.file("a.png")), 0);
    EXPECT_EQ(view.store.load(dir.file("missing.png")), -1);
    EXPECT_EQ(view.store.load(dir.file("b.png")), 1);
    EXPECT_EQ(view.store.get(1).width, 512.0f);
    EXPECT_EQ(view.store.get(1).height, 256.0f);

    // The same name again: the first slot, without touching the file (it is gone now).
    ASSERT_EQ(std::remove(dir.file("a.png").c_str()), 0);
    EXPECT_EQ(view.store.load(dir.file("a.png")), 0);
    EXPECT_EQ(view.store.textures.size(), 2u);

    // A slot the store does not hold reads as an empty record.
    EXPECT_EQ(view.store.get(-1).width, 0.0f);
    EXPECT_EQ(view.store.get(2).glName, 0u);
}

TEST(TextureStore, UploadsEveryComponentCountAndOddWidthsExactly) {
    TempDir dir;
    OffscreenView view;
    ASSERT_TRUE(view.open(64, 36));
    struct Case {
        int components, width, height;
    };
    // Odd widths: rows that are no multiple of 4 bytes.
    const Case cases[] = {{4, 6, 3}, {3, 5, 3}, {2, 5, 3}, {1, 3, 5}};
    for (const Case& c : cases) {
        std::string name = dir.file("image" + std::to_string(c.components) + ".png");
        std::vector<uint8_t> pixels = patternImage(c.width, c.height, c.components);
        ASSERT_TRUE(writePng(name, c.width, c.height, c.components, pixels));
        int slot = view.store.load(name);
        ASSERT_GE(slot, 0) << name;
        EXPECT_EQ(textureRgba(view.store, slot), expectedRgba(pixels, c.components)) << name;
    }
}

TEST(TextureStore, RefusesWhatIsNoRegularPngOrPastItsLimitsAndSaysWhy) {
    TempDir dir;
    OffscreenView view;
    ASSERT_TRUE(view.open(64, 36));
    ASSERT_TRUE(writePng(dir.file("good.png"), 256, 256, 3, patternImage(256, 256, 3)));
    std::vector<unsigned char> good = readBytes(dir.file("good.png"));
    auto refusal = [&](const std::string& name) {
        EXPECT_EQ(view.store.load(dir.file(name)), -1) << name;
        return view.store.lastRefusal;
    };

    ASSERT_EQ(mkfifo(dir.file("fifo.png").c_str(), 0600), 0);
    EXPECT_EQ(refusal("fifo.png"), ImageRefusal::Unreadable) << "not waited on";
    writeBytes(dir.file("empty.png"), {});
    EXPECT_EQ(refusal("empty.png"), ImageRefusal::NotPng);
    for (size_t cut : {size_t(20), good.size() / 2}) {
        writeBytes(dir.file("cut.png"), std::vector<unsigned char>(good.begin(), good.begin() + long(cut)));
        EXPECT_EQ(refusal("cut.png"), ImageRefusal::Undecodable) << "cut at " << cut;
    }
    // A header that claims sides one past the cap is refused before anything is decoded.
    std::vector<unsigned char> huge = good;
    for (size_t at : {size_t(16), size_t(20)}) {  // the width and the height, big-endian
        huge[at + 2] = uint8_t((maxTextureSide + 1) >> 8);
        huge[at + 3] = uint8_t(maxTextureSide + 1);
    }
    writeBytes(dir.file("huge.png"), huge);
    EXPECT_EQ(refusal("huge.png"), ImageRefusal::TooLarge);

    // What a file claims is weighed against the budget before it is decoded: 256x256 as RGBA
    // takes 256 KiB.
    view.store.decodedBytes = textureBudgetBytes - 256 * 1024 + 1;
    EXPECT_EQ(refusal("good.png"), ImageRefusal::OverBudget);
    EXPECT_TRUE(view.store.textures.empty());
    view.store.decodedBytes = textureBudgetBytes - 256 * 1024;
    EXPECT_EQ(view.store.load(dir.file("good.png")), 0) << "the store still works, up to its budget exactly";
    EXPECT_EQ(view.store.decodedBytes, textureBudgetBytes);
}

TEST(TextureStore, TakesImagesOfTheLargestSideExactlyAndRefusesOneMore) {
    TempDir dir;
    OffscreenView view;
    ASSERT_TRUE(view.open(64, 36));
    GLint glLimit = 0;
    glGetIntegerv(GL_MAX_TEXTURE_SIZE, &glLimit);
    ASSERT_GE(glLimit, maxTextureSide + 1) << "the store's own cap is the limit here, not GL's";
    for (int side : {maxTextureSide, maxTextureSide + 1}) {
        for (bool wide : {true, false}) {
            int width = wide ? side : 1, height = wide ? 1 : side;
            std::string name = dir.file(std::to_string(width) + "x" + std::to_string(height) + ".png");
            ASSERT_TRUE(writePng(name, width, height, 4, solidImage(width, height, 4, Rgba{9, 8, 7, 255})));
            int slot = view.store.load(name);
            if (side == maxTextureSide) {
                ASSERT_GE(slot, 0) << name;
                EXPECT_EQ(view.store.get(slot).width, float(width));
                EXPECT_EQ(view.store.get(slot).height, float(height));
            } else {
                EXPECT_EQ(slot, -1) << name;
                EXPECT_EQ(view.store.lastRefusal, ImageRefusal::TooLarge) << name;
            }
        }
    }
}

namespace {

// Rows [top, bottom) of the image's opaque band as "top-bottom", "" when it has none.
std::string band(const TexelRect& rect, int width) {
    if (rect.top >= rect.bottom) return "";
    EXPECT_EQ(rect.left, 0);
    EXPECT_EQ(rect.right, width);
    return std::to_string(rect.top) + "-" + std::to_string(rect.bottom);
}

// A 4 x 10 RGBA image, opaque from row `from` to row `to` (exclusive) and transparent elsewhere,
// with one pixel of `dent` at alpha 254.
std::vector<uint8_t> rowsImage(int from, int to, int dent = -1) {
    std::vector<uint8_t> pixels = solidImage(4, 10, 4, Rgba{50, 60, 70, 0});
    for (int y = from; y < to; ++y) {
        for (int x = 0; x < 4; ++x) pixels[size_t(y * 4 + x) * 4 + 3] = 255;
    }
    if (dent >= 0) pixels[size_t(dent * 4 + 2) * 4 + 3] = 254;
    return pixels;
}

}  // namespace

TEST(TextureStore, TheOpaqueBandLeavesOutTheRowsFilteringBlendsWithTransparentOnes) {
    // Opaque rows 2 to 7 between transparent ones: rows 2 and 7 are blended with their
    // transparent neighbours when filtered, so only rows 3 to 6 cover for certain.
    EXPECT_EQ(band(opaqueRows(rowsImage(2, 8).data(), 4, 10, 4), 4), "3-7");
    // The longest run of opaque rows counts, and one pixel short of opaque breaks a run.
    EXPECT_EQ(band(opaqueRows(rowsImage(1, 9, 5).data(), 4, 10, 4), 4), "2-4");
    EXPECT_EQ(band(opaqueRows(rowsImage(1, 9, 4).data(), 4, 10, 4), 4), "6-8");
    // Three opaque rows leave one; two leave none.
    EXPECT_EQ(band(opaqueRows(rowsImage(4, 7).data(), 4, 10, 4), 4), "5-6");
    EXPECT_EQ(band(opaqueRows(rowsImage(4, 6).data(), 4, 10, 4), 4), "");
    EXPECT_EQ(band(opaqueRows(rowsImage(0, 10).data(), 4, 10, 4), 4), "1-9");
    EXPECT_EQ(band(opaqueRows(rowsImage(0, 0).data(), 4, 10, 4), 4), "");
    EXPECT_EQ(band(opaqueRows(solidImage(4, 10, 3, Rgba{1, 2, 3, 0}).data(), 4, 10, 3), 4), "0-10");

    // The store keeps the band of each image it loads.
    TempDir dir;
    OffscreenView view;
    ASSERT_TRUE(view.open(64, 36));
    ASSERT_TRUE(writePng(dir.file("edges.png"), 4, 10, 4, rowsImage(2, 8)));
    int slot = view.store.load(dir.file("edges.png"));
    ASSERT_GE(slot, 0);
    EXPECT_EQ(band(view.store.get(slot).opaque, 4), "3-7");
}
