// Loading the show folder for the lint.
#include "offline/lint_show.h"

#include "base/show_facts.h"
#include "sync/sync.h"

namespace {

void markTexts(LintShow* show) {
    const AssetCatalogue& c = show->catalogue;
    show->isText.assign(show->fileNames.size(), false);
    auto mark = [show](int entry) { show->isText[size_t(entry)] = true; };
    for (int entry : c.goodLyrics) mark(entry);
    for (int entry : c.evilLyrics) mark(entry);
    for (int entry : c.featureImages) mark(entry);
    for (int i = creditsFirst; i < polaroidCount; ++i) mark(c.polaroids[i]);
    mark(c.logo);
}

}  // namespace

bool loadLintShow(const MusicalGrid& grid, LintShow* show) {
    show->grid = grid;
    show->lastRow = int(rowLimit);
    show->device = createSyncDevice();
    if (!show->device) return false;
    show->tracks = requestTrackSet(show->device);
    for (int i = 0; i < trackCount; ++i) {
        if (!(show->tracks.*trackSetFields[i])) return false;
    }
    for (const CatalogueEntry& entry : catalogueEntries(&show->catalogue)) {
        *entry.slot = int(show->fileNames.size());
        show->fileNames.push_back(entry.fileName);
        show->images.push_back(readImageAlpha(entry.fileName));
        const ImageAlpha& image = show->images.back();
        show->sizes.push_back(ImageSize{float(image.width), float(image.height), image.loaded});
    }
    markTexts(show);
    return true;
}

void closeLintShow(LintShow* show) {
    destroySyncDevice(show->device);
    show->device = nullptr;
    show->tracks = TrackSet{};
}
