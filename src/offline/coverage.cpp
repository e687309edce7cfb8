// Following the choreography through the show without drawing it.
#include "offline/coverage.h"

#include "base/show_facts.h"
#include "offline/image_problem.h"
#include "runtime/asset_catalogue.h"
#include "runtime/track_set.h"
#include "scenes/placements.h"
#include "scenes/selection.h"
#include "sync/sync.h"

#include <stb/stb_image.h>

#include <cmath>

namespace {

float heightOf(const std::string& fileName) {
    int width = 0, height = 0, components = 0;
    return stbi_info(fileName.c_str(), &width, &height, &components) ? float(height) : 0.0f;
}

struct Marker {
    std::vector<CoverageEntry>* entries;
    double row;
    void mark(int entry) const {
        CoverageEntry& seen = (*entries)[size_t(entry)];
        if (seen.firstRow < 0) seen.firstRow = row;
    }
    void markPick(const SyncTrack* track, const int* group, int count) const {
        int index = 0;
        if (pickEntry(evaluateTrack(track, row), count, &index)) mark(group[index]);
    }
};

void markCharacters(const Marker& m, const TrackSet& t, const AssetCatalogue& c) {
    int index = 0;
    if (pickEntry(evaluateTrack(t.avatarGood, m.row), goodCharacter.faceCount, &index)) {
        m.mark(c.goodAvatars[index]);
        m.mark(c.goodBubble);
        m.markPick(t.lyricsGood, c.goodLyrics, goodCharacter.lyricCount);
    }
    if (pickEntry(evaluateTrack(t.avatarEvil, m.row), evilCharacter.faceCount, &index)) {
        m.mark(c.evilAvatars[index]);
        m.mark(c.evilBubble);
        m.markPick(t.lyricsEvil, c.evilLyrics, evilCharacter.lyricCount);
    }
}

void markRefrain(const Marker& m, const TrackSet& t, const AssetCatalogue& c, const float* heights) {
    float background = evaluateTrack(t.refrainBackground, m.row);
    float foreground = evaluateTrack(t.refrainForeground, m.row);
    float sunCentre = evaluateTrack(t.refrainSun, m.row) + heights[1] * 0.5f;
    const float screenBottom = float(designSpaceHeight);
    // The sun turns, so its corners reach half its diagonal from its centre.
    const float sunReach = heights[1] * 0.7072f;
    if (background < screenBottom && background + heights[0] > 0.0f) m.mark(c.refrainBackground);
    if (sunCentre - sunReach < screenBottom && sunCentre + sunReach > 0.0f) m.mark(c.refrainSun);
    if (foreground < screenBottom && foreground + heights[2] > 0.0f) m.mark(c.refrainForeground);
    float start = evaluateTrack(t.refrainPolaroidStart, m.row);
    float end = evaluateTrack(t.refrainPolaroidEnd, m.row);
    if (!(start > -1.0f && start < float(polaroidCount) && end < float(polaroidCount))) return;
    float last = std::ceil(end);
    for (int i = int(start); last > float(i); ++i) {
        float alpha = float(i + 1) == last ? end - std::floor(end) : 1.0f;
        if (alpha > 0.0f) m.mark(c.polaroids[i]);
    }
}

void markRow(const Marker& m, const TrackSet& t, const AssetCatalogue& c, const float* heights) {
    int texture = 0, variation = 0;
    if (pickEntry(evaluateTrack(t.tunnelTexture, m.row), tunnelTextureCount, &texture) &&
        pickEntry(evaluateTrack(t.tunnelVariation, m.row), tunnelVariationCount, &variation)) {
        m.mark(c.tunnelTextures[texture]);
    }
    markCharacters(m, t, c);
    int index = 0;
    if (pickEntry(evaluateTrack(t.pictogramIndex, m.row), pictogramCount, &index) &&
        evaluateTrack(t.pictogramScale, m.row) > 0.0f) {
        m.mark(c.pictograms[index]);
    }
    m.markPick(t.features, c.featureImages, featureCount);
    markRefrain(m, t, c, heights);
    if (m.row > logoRow && evaluateTrack(t.fadeFgNoise, m.row) > 0.0f) m.mark(c.logo);
}

}  // namespace

std::vector<CoverageEntry> catalogueCoverage(const TrackSet& tracks) {
    // Entry e of the load order holds slot e, as it does when every image loads.
    AssetCatalogue catalogue;
    std::vector<CoverageEntry> entries;
    for (const CatalogueEntry& entry : catalogueEntries(&catalogue)) {
        *entry.slot = int(entries.size());
        entries.push_back(CoverageEntry{entry.fileName, -1.0, ""});
    }
    int64_t budgetUsed = 0;
    for (CoverageEntry& entry : entries) {
        ImageFileSize size{0, 0};
        entry.problem = imageFileProblem(entry.fileName, &size, &budgetUsed);
    }
    const float heights[3] = {heightOf(entries[size_t(catalogue.refrainBackground)].fileName),
                              heightOf(entries[size_t(catalogue.refrainSun)].fileName),
                              heightOf(entries[size_t(catalogue.refrainForeground)].fileName)};
    for (double row = 0.0; row <= rowLimit; row += 0.25) {
        markRow(Marker{&entries, row}, tracks, catalogue, heights);
    }
    return entries;
}
