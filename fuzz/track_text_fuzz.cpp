// Fuzz target: any bytes as a text source. A source that parses must hold tracks whose rows
// rise, and each track printed back to text must parse to the very same keys.
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <string>

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

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    TrackSource source = parseTrackSource(std::string(reinterpret_cast<const char*>(data), size));
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
    return 0;
}
