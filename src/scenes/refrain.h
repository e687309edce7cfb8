// The refrain: a background, a turning sun and a foreground that slide up and down, and over them
// a run of photographs (and, sharing their list, the credits) that pile up one by one.
#pragma once

#include "render/types.h"
#include "scenes/frame_state.h"
#include "scenes/placements.h"

class DemoWindow;
struct SyncTrack;
struct AvatarShake;

struct RefrainImages {
    int background;
    int sun;
    int foreground;
};

void renderRefrain(const FrameState& frame, DemoWindow* display, const RefrainImages& images, const SyncTrack* sun,
                   const SyncTrack* foreground, const SyncTrack* background);
void renderPolaroids(const FrameState& frame, const AvatarShake& shake, DemoWindow* display, const int* polaroids,
                     const SyncTrack* polaroidStart, const SyncTrack* polaroidEnd);

// The photographs' shared offset: a jitter scaled by the frame's shake factor.
Vec2 polaroidOffset(double t, float shakeFactor);
