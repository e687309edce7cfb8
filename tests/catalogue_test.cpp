// The asset catalogue: the 145 file names in their load order, the slots they land in, and a
// missing image shifting the later slots.
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

TEST(AssetCatalogue, NamesTheImagesInTheirLoadOrder) {
    AssetCatalogue catalogue;
    std::vector<CatalogueEntry> entries = catalogueEntries(&catalogue);
    ASSERT_EQ(entries.size(), 145u);
    struct Spot { size_t index; const char* name; int* slot; };
    const Spot spots[] = {
        {0, "data/avatars/annoyed.png", &catalogue.goodAvatars[0]},
        {9, "data/avatars/silly.png", &catalogue.goodAvatars[9]},
        {10, "data/avatars/evil_00.png", &catalogue.evilAvatars[0]},
        {14, "data/avatars/evil_04.png", &catalogue.evilAvatars[4]},
        {15, "data/good_lyrics/bg-taleboble.png", &catalogue.goodBubble},
        {16, "data/evil_lyrics/bg-taleboble.png", &catalogue.evilBubble},
        {17, "data/good_lyrics/01.png", &catalogue.goodLyrics[0]},
        {25, "data/good_lyrics/09.png", &catalogue.goodLyrics[8]},
        {26, "data/good_lyrics/10.png", &catalogue.goodLyrics[9]},
        {48, "data/good_lyrics/32.png", &catalogue.goodLyrics[31]},
        {49, "data/evil_lyrics/01.png", &catalogue.evilLyrics[0]},
        {66, "data/evil_lyrics/18.png", &catalogue.evilLyrics[17]},
        {67, "data/refrain/refrain-bg.png", &catalogue.refrainBackground},
        {68, "data/refrain/mirekand-o-sol.png", &catalogue.refrainSun},
        {69, "data/refrain/refrain-foregrund.png", &catalogue.refrainForeground},
        {70, "data/pictograms/1.1.png", &catalogue.pictograms[0]},
        {74, "data/pictograms/2.1.png", &catalogue.pictograms[4]},
        {89, "data/pictograms/5.4.png", &catalogue.pictograms[19]},
        {90, "data/features/1.png", &catalogue.featureImages[0]},
        {101, "data/features/12.png", &catalogue.featureImages[11]},
        {102, "data/refrain/polaroids/omkvaed1.1.png", &catalogue.polaroids[0]},
        {107, "data/refrain/polaroids/omkvaed2.1.png", &catalogue.polaroids[5]},
        {116, "data/refrain/polaroids/omkvaed2.10.png", &catalogue.polaroids[14]},
        {134, "data/refrain/polaroids/omkvaed3.14.png", &catalogue.polaroids[32]},
        {135, "data/credits/credit1.1.png", &catalogue.polaroids[33]},
        {140, "data/credits/credit1.6.png", &catalogue.polaroids[38]},
        {141, "data/tunnel/tunnel1.png", &catalogue.tunnelTextures[0]},
        {142, "data/tunnel/tex6.png", &catalogue.tunnelTextures[1]},
        {143, "data/tunnel/tex9.png", &catalogue.tunnelTextures[2]},
        {144, "data/zemlogo.png", &catalogue.logo},
    };
    for (const Spot& spot : spots) {
        EXPECT_EQ(entries[spot.index].fileName, spot.name) << spot.index;
        EXPECT_EQ(entries[spot.index].slot, spot.slot) << spot.index;
    }
    for (const CatalogueEntry& entry : entries) {
        EXPECT_EQ(entry.fileName.find("/00.png"), std::string::npos) << "the lyrics count from 01";
    }
}

TEST(AssetCatalogue, LoadsEveryImageIntoSlotsZeroTo144) {
    ShowFolder show;
    OffscreenView view;
    ASSERT_TRUE(view.open(128, 72));
    AssetCatalogue catalogue = loadAssetCatalogue(&view.store);
    std::vector<int> slots = allSlots(&catalogue);
    for (int i = 0; i < 145; ++i) EXPECT_EQ(slots[size_t(i)], i);
    EXPECT_EQ(catalogue.logo, 144);
}

TEST(AssetCatalogue, AMissingImageLeavesMinusOneAndShiftsTheRest) {
    ShowFolder show;
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
