// Fuzz target: any bytes as a text source, and as the song's events. A source that parses must
// hold tracks whose rows rise, and each track printed back to text must parse to the very same
// keys; its accents, laid over its keys with a few events, must leave rows that still rise.
// Events that parse never go back and stay within their bounds.
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <string>

#include "sync/song_events.h"
#include "sync/track_accents.h"
#include "sync/track_text.h"

namespace {

void require(bool condition) {
    if (!condition) std::abort();
}

bool sameKeys(const SourceTrack& a, const SourceTrack& b) {
    if (a.keys.size() != b.keys.size()) return false;
    for (size_t i = 0; i < a.keys.size(); ++i) {
        if (a.keys[i].row != b.keys[i].row || a.keys[i].kind != b.keys[i].kind ||
            std::memcmp(&a.keys[i].value, &b.keys[i].value, sizeof(float)) != 0) {
            return false;
        }
    }
    return true;
}

const char* const someEvents =
    "0 48 bar\n0 12 beat\n10 4 sing:good\n12 12 beat\n12 0 crash\n16.5 2.5 sing:good\n24 12 beat\n"
    "24 6 kick\n30 1 stutter:evil\n36 12 beat\n48 96 riser\n";

void checkEvents(const std::string& text) {
    SongEventList list = parseSongEvents(text);
    require(list.errors.size() <= static_cast<size_t>(maxSourceErrors) + 1);
    require(list.events.size() <= static_cast<size_t>(maxSongEvents));
    for (size_t i = 1; i < list.events.size(); ++i) require(list.events[i - 1].row <= list.events[i].row);
}

void checkAccents(TrackSource source) {
    applyAccents(&source, parseSongEvents(someEvents).events);
    if (!source.errors.empty()) return;
    for (const SourceTrack& track : source.tracks) {
        require(track.keys.size() <= static_cast<size_t>(maxTrackKeys));
        for (size_t i = 1; i < track.keys.size(); ++i) require(track.keys[i - 1].row < track.keys[i].row);
    }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    std::string text(reinterpret_cast<const char*>(data), size);
    checkEvents(text);
    TrackSource source = parseTrackSource(text);
    require(source.errors.size() <= static_cast<size_t>(maxSourceErrors) + 1);
    if (!source.errors.empty()) return 0;
    for (const SourceTrack& track : source.tracks) {
        for (size_t i = 1; i < track.keys.size(); ++i) require(track.keys[i - 1].row < track.keys[i].row);
        std::string text =
            formatTrackSource(track.name.c_str(), track.keys.data(), static_cast<int32_t>(track.keys.size()));
        TrackSource again = parseTrackSource(text);
        require(again.errors.empty() && again.tracks.size() == 1);
        require(again.tracks[0].name == track.name && sameKeys(again.tracks[0], track));
    }
    checkAccents(source);
    return 0;
}
