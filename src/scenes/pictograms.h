// The pictogram (one of 20, placed, scaled and swaying with the characters, at 0.8 opacity) and
// the features image (one of 12, at the top-left corner with a fast jitter); the figures are in
// scenes/placements.h.
#pragma once

#include "render/types.h"
#include "scenes/frame_state.h"

class DemoWindow;
struct SyncTrack;
struct TextureStore;
struct AvatarShake;

struct PictogramTracks {
    const SyncTrack* pictogram;
    const SyncTrack* x;
    const SyncTrack* y;
    const SyncTrack* scale;
};

void renderPictogram(const FrameState& frame, const AvatarShake& shake, DemoWindow* display, const TextureStore* store,
                     const int* pictograms, const PictogramTracks& tracks);
void renderFeatures(const FrameState& frame, DemoWindow* display, const int* featureImages, const SyncTrack* features);

// The features image's position, from t alone: its jitter about the design origin.
Vec2 featuresJitter(double t);
