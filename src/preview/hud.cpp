// The heads-up display's text.
#include "preview/hud.h"

#include "base/number_words.h"
#include "base/show_facts.h"
#include "render/draw_text.h"
#include "scenes/selection.h"

#include <cstdio>

namespace {

struct ImageGroup {
    const char* name;
    SyncTrack* TrackSet::*track;
    int* entries;
    int count;
};

// The entry of a group the track picks at the row, with the file it was loaded from.
std::string groupLine(const ImageGroup& group, const TrackSet& tracks, AssetCatalogue* catalogue, double row) {
    int index = 0;
    if (!pickEntry(evaluateTrack(tracks.*group.track, row), group.count, &index)) {
        return std::string(group.name) + ": none";
    }
    std::string file;
    for (const CatalogueEntry& entry : catalogueEntries(catalogue)) {
        if (entry.slot == &group.entries[index]) file = entry.fileName;
    }
    return std::string(group.name) + ": " + std::to_string(index) + " " + file;
}

}  // namespace

std::string hudStatusLine(const Transport& transport, const MusicalGrid& grid, double framesPerSecond) {
    std::string line = formatNumber("row %.2f", transport.row);
    std::string barBeat = barBeatText(grid, transport.row);
    if (!barBeat.empty()) line += "  " + barBeat;
    line += formatNumber("  %.3f s", transport.row / rowsPerSecond) + formatNumber("  %.1f fps", framesPerSecond);
    if (transport.paused) line += "  paused";
    if (transport.looping) {
        line += "  loop " + barBeatText(grid, transport.loopStart) + "-" + barBeatText(grid, transport.loopEnd);
    }
    return line;
}

std::vector<std::string> hudTrackLines(const TrackSet& tracks, AssetCatalogue* catalogue, double row) {
    std::vector<std::string> lines;
    for (int i = 0; i < trackCount; ++i) {
        char text[96];
        std::snprintf(text, sizeof text, "%-24s %10.3f", trackNames[i], evaluateTrack(tracks.*trackSetFields[i], row));
        lines.push_back(text);
    }
    const ImageGroup groups[] = {
        {"good face", &TrackSet::avatarGood, catalogue->goodAvatars, goodFaceCount},
        {"good lyric", &TrackSet::lyricsGood, catalogue->goodLyrics, goodLyricCount},
        {"evil face", &TrackSet::avatarEvil, catalogue->evilAvatars, evilFaceCount},
        {"evil lyric", &TrackSet::lyricsEvil, catalogue->evilLyrics, evilLyricCount},
        {"pictogram", &TrackSet::pictogramIndex, catalogue->pictograms, pictogramCount},
        {"feature", &TrackSet::features, catalogue->featureImages, featureCount},
        {"tunnel texture", &TrackSet::tunnelTexture, catalogue->tunnelTextures, tunnelTextureCount},
    };
    for (const ImageGroup& group : groups) lines.push_back(groupLine(group, tracks, catalogue, row));
    lines.push_back(formatNumber("photographs from %.2f", evaluateTrack(tracks.refrainPolaroidStart, row)) +
                    formatNumber(" to %.2f", evaluateTrack(tracks.refrainPolaroidEnd, row)));
    return lines;
}

void drawHudLines(DemoWindow* display, const std::vector<std::string>& lines, bool alert) {
    const Colour alertRed = {1.0f, 0.45f, 0.4f, 1.0f};
    const Colour white = {1.0f, 1.0f, 1.0f, 1.0f};
    drawTextPanel(display, lines, alert ? alertRed : white);
}
