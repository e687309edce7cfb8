// The asset catalogue loaded from a show folder: the slots its images land in, and a missing
// image shifting the later slots; and the show opened and closed in such a folder.
#include "runtime/asset_catalogue.h"
#include "runtime/frame.h"
#include "runtime/show.h"
#include "support/audio_fixtures.h"
#include "support/gl_fixtures.h"

#include <GL/glew.h>
#include <gtest/gtest.h>

#include <cstdio>
#include <set>
#include <sys/stat.h>
#include <unistd.h>

namespace {

// Runs the test body inside a show folder holding a tiny image at every catalogue path.
struct ShowFolder {
    TempDir dir;
    std::string previous;
    ShowFolder() {
        char cwd[4096];
        previous = getcwd(cwd, sizeof cwd) ? cwd : "/";
        AssetCatalogue scratch;
        for (const CatalogueEntry& entry : catalogueEntries(&scratch)) {
            std::string path = dir.file(entry.fileName);
            std::string folder = path.substr(0, path.rfind('/'));
            runMkdir(folder);
            writePng(path, 4, 2, 4, solidImage(4, 2, 4, Rgba{200, 100, 50, 255}));
        }
        EXPECT_EQ(chdir(dir.path.c_str()), 0);
    }
    ~ShowFolder() { EXPECT_EQ(chdir(previous.c_str()), 0); }
    static void runMkdir(const std::string& folder) {
        for (size_t at = 1; at != std::string::npos; at = folder.find('/', at + 1)) {
            mkdir(folder.substr(0, at).c_str(), 0755);
        }
        mkdir(folder.c_str(), 0755);
    }
};

std::vector<int> allSlots(AssetCatalogue* catalogue) {
    std::vector<int> slots;
    for (const CatalogueEntry& entry : catalogueEntries(catalogue)) slots.push_back(*entry.slot);
    return slots;
}

}  // namespace

TEST(AssetCatalogue, LoadsEveryImageInOrderAndAMissingOneShiftsTheRest) {
    ShowFolder show;
    {
        OffscreenView view;
        ASSERT_TRUE(view.open(128, 72));
        AssetCatalogue catalogue = loadAssetCatalogue(&view.store);
        std::vector<int> slots = allSlots(&catalogue);
        for (int i = 0; i < 145; ++i) EXPECT_EQ(slots[size_t(i)], i);
        EXPECT_EQ(view.store.get(catalogue.logo).fileName, "data/zemlogo.png");
        EXPECT_EQ(view.store.get(catalogue.goodLyrics[9]).fileName, "data/good_lyrics/10.png")
            << "lyrics count from 01";
    }
    ASSERT_EQ(std::remove("data/features/3.png"), 0);
    OffscreenView view;
    ASSERT_TRUE(view.open(128, 72));
    AssetCatalogue catalogue = loadAssetCatalogue(&view.store);
    EXPECT_EQ(catalogue.featureImages[1], 91);
    EXPECT_EQ(catalogue.featureImages[2], -1);
    EXPECT_EQ(catalogue.featureImages[3], 92);
    EXPECT_EQ(catalogue.logo, 143);
    EXPECT_EQ(view.store.textures.size(), 144u);
    // Drawing every entry, the hole included, reads nothing outside the store.
    for (int slot : allSlots(&catalogue)) view.window.drawSprite(slot, Vec2(1, 1), Vec2(0, 0), 0.0f);
}

TEST(AssetCatalogue, HoldsTheShowsImagesEachUnderOneNameInOrder) {
    std::vector<ShowImage> images = showImages();
    AssetCatalogue catalogue;
    std::vector<CatalogueEntry> entries = catalogueEntries(&catalogue);
    ASSERT_EQ(images.size(), size_t(showImageCount));
    ASSERT_EQ(entries.size(), images.size());
    std::set<std::string> names;
    for (size_t i = 0; i < images.size(); ++i) {
        const ShowImage& image = images[i];
        EXPECT_EQ(entries[i].fileName, image.fileName) << i;
        EXPECT_EQ(image.fileName.rfind("data/", 0), 0u) << image.fileName;
        EXPECT_EQ(image.fileName.substr(image.fileName.size() - 4), ".png") << image.fileName;
        EXPECT_EQ(showImageFileName(image.part, image.index), image.fileName);
        bool follows = i > 0 && images[i - 1].part == image.part;
        EXPECT_EQ(image.index, follows ? images[i - 1].index + 1 : 0) << image.fileName << ": parts run in order";
        names.insert(image.fileName);
    }
    EXPECT_EQ(names.size(), images.size()) << "no two images share a file";
    for (int at = 0; at <= showImagePartCount; ++at) {
        ShowImagePart part = ShowImagePart(at);
        EXPECT_EQ(showImageFileName(part, -1), "");
        EXPECT_EQ(showImageFileName(part, showImagePartSize(part)), "") << "past the part's end";
    }
}

// The one way a program opens the show: the store published as the program's, every image's size
// taken in by slot, the tracks asked for, blending on; closing it leaves nothing published. A
// display without a GL context opens the tracks alone, every image a hole.
TEST(Show, OpensFromItsFolderForTheDisplayAndClosesAgain) {
    ShowFolder folder;
    DemoWindow display;
    ASSERT_TRUE(display.openOffscreen(128, 72));
    Show show;
    ASSERT_TRUE(openShow(&display, &show));
    EXPECT_EQ(currentTextures, show.textures);
    ASSERT_EQ(show.images.size(), 145u);
    EXPECT_EQ(show.images[size_t(show.catalogue.logo)].width, 4.0f);
    EXPECT_TRUE(show.images[size_t(show.catalogue.logo)].held);
    for (int i = 0; i < trackCount; ++i) EXPECT_NE(show.tracks.*trackSetFields[i], nullptr) << trackNames[i];
    EXPECT_TRUE(glIsEnabled(GL_BLEND));
    size_t reserved = show.layers.layers.capacity();
    EXPECT_GE(reserved, size_t(frameMostLayers));
    // Tracks without files hold 0 everywhere, so every group shows its first image: nothing grows.
    renderFrame(&display, FrameState{100.0, 0.0}, &show);
    EXPECT_EQ(show.layers.layers.capacity(), reserved);
    closeShow(&show);
    EXPECT_EQ(currentTextures, nullptr);
    EXPECT_EQ(show.textures, nullptr);
    EXPECT_EQ(show.device, nullptr);
    display.close();

    DemoWindow closed;
    ASSERT_TRUE(openShow(&closed, &show));
    EXPECT_TRUE(show.images.empty());
    EXPECT_EQ(show.catalogue.logo, -1);
    EXPECT_NE(show.tracks.fadeBgWhite, nullptr);
    closeShow(&show);
}
