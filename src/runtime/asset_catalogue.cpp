// The catalogue's file names and load order.
#include "runtime/asset_catalogue.h"

#include "render/texture_store.h"

#include <sstream>

namespace {

// "DIR" + two-digit k + ".png": 01.png ... 09.png, 10.png ...
std::string lyricFileName(const char* folder, int k) {
    std::ostringstream name;
    name << folder;
    if (k < 10) name << "0";
    name << k << ".png";
    return name.str();
}

void add(std::vector<CatalogueEntry>* entries, std::string fileName, int* slot) {
    entries->push_back(CatalogueEntry{std::move(fileName), slot});
}

void addPictureGroups(std::vector<CatalogueEntry>* entries, AssetCatalogue* c) {
    static const char* const goodFaces[10] = {"annoyed",    "awww",    "basic",     "happy-thoughtful", "huh",
                                              "open-mouth", "pleased", "sceptical", "shrewd",           "silly"};
    for (int i = 0; i < 10; ++i) add(entries, std::string("data/avatars/") + goodFaces[i] + ".png", &c->goodAvatars[i]);
    for (int i = 0; i < 5; ++i) add(entries, "data/avatars/evil_0" + std::to_string(i) + ".png", &c->evilAvatars[i]);
    add(entries, "data/good_lyrics/bg-taleboble.png", &c->goodBubble);
    add(entries, "data/evil_lyrics/bg-taleboble.png", &c->evilBubble);
    for (int k = 1; k <= 32; ++k) add(entries, lyricFileName("data/good_lyrics/", k), &c->goodLyrics[k - 1]);
    for (int k = 1; k <= 18; ++k) add(entries, lyricFileName("data/evil_lyrics/", k), &c->evilLyrics[k - 1]);
    add(entries, "data/refrain/refrain-bg.png", &c->refrainBackground);
    add(entries, "data/refrain/mirekand-o-sol.png", &c->refrainSun);
    add(entries, "data/refrain/refrain-foregrund.png", &c->refrainForeground);
    for (int i = 0; i < 20; ++i) {
        std::string name = std::to_string(i / 4 + 1) + "." + std::to_string(i % 4 + 1);
        add(entries, "data/pictograms/" + name + ".png", &c->pictograms[i]);
    }
    for (int i = 0; i < 12; ++i) add(entries, "data/features/" + std::to_string(i + 1) + ".png", &c->featureImages[i]);
}

void addRefrainAndTail(std::vector<CatalogueEntry>* entries, AssetCatalogue* c) {
    const int setSizes[3] = {5, 14, 14};
    int entry = 0;
    for (int set = 0; set < 3; ++set) {
        for (int n = 1; n <= setSizes[set]; ++n, ++entry) {
            std::string name = "omkvaed" + std::to_string(set + 1) + "." + std::to_string(n) + ".png";
            add(entries, "data/refrain/polaroids/" + name, &c->polaroids[entry]);
        }
    }
    for (int n = 1; n <= 6; ++n, ++entry) {
        add(entries, "data/credits/credit1." + std::to_string(n) + ".png", &c->polaroids[entry]);
    }
    add(entries, "data/tunnel/tunnel1.png", &c->tunnelTextures[0]);
    add(entries, "data/tunnel/tex6.png", &c->tunnelTextures[1]);
    add(entries, "data/tunnel/tex9.png", &c->tunnelTextures[2]);
    add(entries, "data/zemlogo.png", &c->logo);
}

}  // namespace

std::vector<CatalogueEntry> catalogueEntries(AssetCatalogue* catalogue) {
    std::vector<CatalogueEntry> entries;
    entries.reserve(catalogueImageCount);
    addPictureGroups(&entries, catalogue);
    addRefrainAndTail(&entries, catalogue);
    return entries;
}

AssetCatalogue loadAssetCatalogue(TextureStore* store) {
    AssetCatalogue catalogue;
    for (CatalogueEntry& entry : catalogueEntries(&catalogue)) *entry.slot = store->load(entry.fileName);
    return catalogue;
}
