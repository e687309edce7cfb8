// The asset catalogue loaded from a show folder: the slots its images land in, and a missing
// image shifting the later slots.
#include "runtime/asset_catalogue.h"
#include "support/audio_fixtures.h"
#include "support/gl_fixtures.h"

#include <gtest/gtest.h>

#include <cstdio>
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
