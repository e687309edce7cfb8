// The catalogue's slots for the show's images, which it loads in the order and under the file
// names of base/show_images.h.
#include "runtime/asset_catalogue.h"

#include "render/texture_store.h"

namespace {

// The catalogue holds a slot for every image, and its groups are as large as the parts.
static_assert(sizeof(AssetCatalogue) == showImageCount * sizeof(int), "a slot for every image, and no other");
static_assert(goodFaceCount == showImagePartSize(ShowImagePart::goodFaces) &&
                  evilFaceCount == showImagePartSize(ShowImagePart::evilFaces) &&
                  goodLyricCount == showImagePartSize(ShowImagePart::goodLyrics) &&
                  evilLyricCount == showImagePartSize(ShowImagePart::evilLyrics) &&
                  pictogramCount == showImagePartSize(ShowImagePart::pictograms) &&
                  featureCount == showImagePartSize(ShowImagePart::features) &&
                  creditsFirst == showImagePartSize(ShowImagePart::polaroids) &&
                  polaroidCount - creditsFirst == showImagePartSize(ShowImagePart::credits) &&
                  tunnelTextureCount == showImagePartSize(ShowImagePart::tunnelTextures),
              "the scenes' groups are the parts of the show's images");

struct SlotRun {
    int* first;
    int count;
};

// Where the catalogue keeps the slots of a part's images.
SlotRun slotsOf(AssetCatalogue* c, ShowImagePart part) {
    switch (part) {
    case ShowImagePart::goodFaces: return {c->goodAvatars, goodFaceCount};
    case ShowImagePart::evilFaces: return {c->evilAvatars, evilFaceCount};
    case ShowImagePart::goodBubble: return {&c->goodBubble, 1};
    case ShowImagePart::evilBubble: return {&c->evilBubble, 1};
    case ShowImagePart::goodLyrics: return {c->goodLyrics, goodLyricCount};
    case ShowImagePart::evilLyrics: return {c->evilLyrics, evilLyricCount};
    case ShowImagePart::refrainBackground: return {&c->refrainBackground, 1};
    case ShowImagePart::refrainSun: return {&c->refrainSun, 1};
    case ShowImagePart::refrainForeground: return {&c->refrainForeground, 1};
    case ShowImagePart::pictograms: return {c->pictograms, pictogramCount};
    case ShowImagePart::features: return {c->featureImages, featureCount};
    case ShowImagePart::polaroids: return {c->polaroids, creditsFirst};
    case ShowImagePart::credits: return {c->polaroids + creditsFirst, polaroidCount - creditsFirst};
    case ShowImagePart::tunnelTextures: return {c->tunnelTextures, tunnelTextureCount};
    case ShowImagePart::logo: return {&c->logo, 1};
    }
    return {nullptr, 0};
}

}  // namespace

std::vector<CatalogueEntry> catalogueEntries(AssetCatalogue* catalogue) {
    std::vector<CatalogueEntry> entries;
    entries.reserve(catalogueImageCount);
    for (ShowImage& image : showImages()) {
        SlotRun slots = slotsOf(catalogue, image.part);
        if (image.index < slots.count) {  // always, by the checks above
            entries.push_back(CatalogueEntry{std::move(image.fileName), slots.first + image.index});
        }
    }
    return entries;
}

AssetCatalogue loadAssetCatalogue(TextureStore* store) {
    AssetCatalogue catalogue;
    for (CatalogueEntry& entry : catalogueEntries(&catalogue)) *entry.slot = store->load(entry.fileName);
    return catalogue;
}
