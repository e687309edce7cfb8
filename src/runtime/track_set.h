// The show's 20 animation tracks: their names, in the order they are requested from the sync
// device (which is also the order their files are read), and the handles the scenes keep.
#pragma once

#include "sync/sync.h"

constexpr int trackCount = 20;

// Track names in request order; trackSetFields lists the TrackSet field of each, in the same order.
extern const char* const trackNames[trackCount];

struct TrackSet {
    SyncTrack* fadeBgWhite;
    SyncTrack* fadeFgBlack;
    SyncTrack* fadeFgNoise;
    SyncTrack* avatarGood;
    SyncTrack* avatarEvil;
    SyncTrack* lyricsGood;
    SyncTrack* lyricsEvil;
    SyncTrack* pictogramIndex;
    SyncTrack* pictogramX;
    SyncTrack* pictogramY;
    SyncTrack* pictogramScale;
    SyncTrack* features;
    SyncTrack* refrainBackground;
    SyncTrack* refrainSun;
    SyncTrack* refrainForeground;
    SyncTrack* refrainPolaroidStart;
    SyncTrack* refrainPolaroidEnd;
    SyncTrack* tunnelMove;
    SyncTrack* tunnelVariation;
    SyncTrack* tunnelTexture;
};

extern SyncTrack* TrackSet::*const trackSetFields[trackCount];

// Asks the device for the 20 tracks, in the order of trackNames, each reading its file.
TrackSet requestTrackSet(SyncDevice* device);
