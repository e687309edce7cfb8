// Compiling the show's choreography source: the show's track names, then the song's events.
#include "runtime/show_source.h"

#include <algorithm>
#include <cctype>
#include <cstring>
#include <vector>

#include "runtime/track_set.h"
#include "sync/track_accents.h"

namespace {

bool isShowTrack(const std::string& name) {
    for (const char* known : trackNames) {
        if (name == known) return true;
    }
    return false;
}

bool sameLetter(char a, char b) {
    return std::tolower(static_cast<unsigned char>(a)) == std::tolower(static_cast<unsigned char>(b));
}

// Characters to change, add or remove to turn one text into the other, letters' case aside.
size_t editDistance(const std::string& a, const std::string& b) {
    std::vector<size_t> row(b.size() + 1);
    for (size_t j = 0; j <= b.size(); ++j) row[j] = j;
    for (size_t i = 1; i <= a.size(); ++i) {
        size_t diagonal = row[0];
        row[0] = i;
        for (size_t j = 1; j <= b.size(); ++j) {
            size_t above = row[j];
            row[j] = std::min({row[j] + 1, row[j - 1] + 1, diagonal + (sameLetter(a[i - 1], b[j - 1]) ? 0 : 1)});
            diagonal = above;
        }
    }
    return row[b.size()];
}

void checkShowTrackNames(TrackSource* source) {
    for (const SourceTrack& track : source->tracks) {
        if (isShowTrack(track.name)) continue;
        source->errors.push_back(SourceError{track.line, "the show has no track " + quotedWord(track.name) +
                                                             "; did you mean '" + nearestTrackName(track.name) +
                                                             "'? ('demo-tracks build --help' lists the 20)"});
    }
    std::string missing;
    int missingCount = 0;
    for (const char* name : trackNames) {
        bool written = false;
        for (const SourceTrack& track : source->tracks) written = written || track.name == name;
        if (written) continue;
        missing += std::string(missingCount == 0 ? "" : ", ") + name;
        missingCount += 1;
    }
    if (missingCount == 0) return;
    source->warnings.push_back(SourceError{0, "the source leaves out " + std::to_string(missingCount) +
                                                  " of the show's " + std::to_string(trackCount) +
                                                  " tracks, which the demo sees as 0 at every row: " + missing});
}

}  // namespace

const char* nearestTrackName(const std::string& name) {
    // A long name costs no more than the longest track name's length to compare.
    std::string cut = name.substr(0, 64);
    const char* nearest = trackNames[0];
    size_t best = editDistance(cut, nearest);
    for (const char* known : trackNames) {
        size_t distance = editDistance(cut, known);
        if (distance < best) best = distance, nearest = known;
    }
    return nearest;
}

TrackSource compileShowSource(const std::string& text) {
    TrackSource source = parseTrackSource(text);
    checkShowTrackNames(&source);
    if (source.errors.empty()) readEventsAndApplyAccents(&source);
    return source;
}
