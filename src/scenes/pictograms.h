// The pictogram (one of 20, placed, scaled and swaying with the characters, at 0.8 opacity) and
// the features image (one of 12, at the top-left corner with a fast jitter); the figures are in
// scenes/placements.h.
#pragma once

#include "render/frame_layers.h"
#include "scenes/frame_state.h"

struct SyncTrack;
struct AvatarShake;

struct PictogramTracks {
    const SyncTrack* pictogram;
    const SyncTrack* x;
    const SyncTrack* y;
    const SyncTrack* scale;
};

void describePictogram(const FrameState& frame, const AvatarShake& shake, const ImageSizes& images,
                       const int* pictograms, const PictogramTracks& tracks, FrameLayers* out);
void describeFeatures(const FrameState& frame, const ImageSizes& images, const int* featureImages,
                      const SyncTrack* features, FrameLayers* out);
// The features image's position, from t alone: its jitter about the design origin.
Vec2 featuresJitter(double t);
