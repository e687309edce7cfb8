// The show's track names and the request of all 20 tracks at start-up.
#include "runtime/track_set.h"

const char* const trackNames[trackCount] = {
    "fade:bg_white",           // 1
    "fade:fg_black",           // 2
    "fade:fg_noise",           // 3
    "avatar:good",             // 4
    "avatar:evil",             // 5
    "lyrics:good",             // 6
    "lyrics:evil",             // 7
    "pictogram:pictogram",     // 8
    "pictogram:x",             // 9
    "pictogram:y",             // 10
    "pictogram:scale",         // 11
    "features",                // 12
    "refrain:background",      // 13
    "refrain:sun",             // 14
    "refrain:foreground",      // 15
    "refrain:polaroid_start",  // 16
    "refrain:polaroid_end",    // 17
    "tunnel:move",             // 18
    "tunnel:variation",        // 19
    "tunnel:texture",          // 20
};

SyncTrack* TrackSet::*const trackSetFields[trackCount] = {
    &TrackSet::fadeBgWhite,          &TrackSet::fadeFgBlack,        &TrackSet::fadeFgNoise,
    &TrackSet::avatarGood,           &TrackSet::avatarEvil,         &TrackSet::lyricsGood,
    &TrackSet::lyricsEvil,           &TrackSet::pictogramIndex,     &TrackSet::pictogramX,
    &TrackSet::pictogramY,           &TrackSet::pictogramScale,     &TrackSet::features,
    &TrackSet::refrainBackground,    &TrackSet::refrainSun,         &TrackSet::refrainForeground,
    &TrackSet::refrainPolaroidStart, &TrackSet::refrainPolaroidEnd, &TrackSet::tunnelMove,
    &TrackSet::tunnelVariation,      &TrackSet::tunnelTexture,
};

TrackSet requestTrackSet(SyncDevice* device) {
    TrackSet set{};
    for (int i = 0; i < trackCount; ++i) set.*trackSetFields[i] = getTrack(device, trackNames[i]);
    return set;
}
