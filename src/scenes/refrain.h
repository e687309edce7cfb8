// The refrain: a background, a turning sun and a foreground that slide up and down, and over them
// a run of photographs (and, sharing their list, the credits) that pile up one by one.
#pragma once

#include "render/frame_layers.h"
#include "scenes/frame_state.h"
#include "scenes/placements.h"

struct SyncTrack;
struct AvatarShake;

struct RefrainImages {
    int background;
    int sun;
    int foreground;
};

struct RefrainTracks {
    const SyncTrack* sun;
    const SyncTrack* foreground;
    const SyncTrack* background;
};

struct PolaroidTracks {
    const SyncTrack* start;
    const SyncTrack* end;
};

// Adds the background, the sun and the foreground, in that order.
void describeRefrain(const FrameState& frame, const ImageSizes& images, const RefrainImages& pictures,
                     const RefrainTracks& tracks, FrameLayers* out);
void describePolaroids(const FrameState& frame, const AvatarShake& shake, const ImageSizes& images,
                       const int* polaroids, const PolaroidTracks& tracks, FrameLayers* out);
// The photographs' shared offset: a jitter scaled by the frame's shake factor.
Vec2 polaroidOffset(double t, float shakeFactor);
