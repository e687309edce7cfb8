// The 145 images the show is drawn with, as texture-store slots in named groups, and the one
// fixed order in which they are loaded. An entry whose image failed to load holds -1, and every
// later image then lands one slot lower (the store only appends what loaded).
#pragma once

#include "base/show_images.h"
#include "scenes/placements.h"

#include <string>
#include <vector>

struct TextureStore;

struct AssetCatalogue {
    int goodAvatars[goodFaceCount];
    int evilAvatars[evilFaceCount];
    int goodBubble;
    int evilBubble;
    int goodLyrics[goodLyricCount];
    int evilLyrics[evilLyricCount];
    int refrainBackground;
    int refrainSun;
    int refrainForeground;
    int pictograms[pictogramCount];
    int featureImages[featureCount];
    int polaroids[polaroidCount];  // three sets of photographs (5, 14, 14), then the six credits
    int tunnelTextures[tunnelTextureCount];
    int logo;
};

constexpr int catalogueImageCount = showImageCount;

struct CatalogueEntry {
    std::string fileName;
    int* slot;  // where the entry's slot is kept in the catalogue
};

// The entries in load order.
std::vector<CatalogueEntry> catalogueEntries(AssetCatalogue* catalogue);

// Loads the 145 images in order and keeps each returned slot; results are not checked.
AssetCatalogue loadAssetCatalogue(TextureStore* store);
