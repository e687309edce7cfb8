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

bool loadLintShow(const MusicalGrid& grid, const std::string& sourcePath, LintShow* show) {
    show->grid = grid;
    show->sourcePath = sourcePath;
    std::string text;
    if (!sourcePath.empty() && readTextFile(sourcePath.c_str(), &text) == 0) show->source = parseTrackSource(text);
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

std::string behindText(const LintShow& show, const char* trackName, int row) {
    std::string text = std::string("track ") + trackName;
    const SourceTrack* written = nullptr;
    for (const SourceTrack& track : show.source.tracks) {
        if (track.name == trackName) written = &track;
    }
    if (!written || show.sourcePath.empty()) return text;
    int line = written->line;
    const char* what = ", its track line at ";
    for (size_t k = 0; k < written->keys.size() && k < written->keyLines.size(); ++k) {
        if (written->keys[k].row > row) break;
        line = written->keyLines[k];
        what = ", key at ";
    }
    return text + what + show.sourcePath + ":" + std::to_string(line);
}
