// The three full-output layers: the noise layer drawn by the noise program, and the white and
// black fades, each with an opacity that follows its track.
#pragma once

#include "render/frame_layers.h"
#include "scenes/frame_state.h"

struct SyncTrack;

void describeNoiseOverlay(const FrameState& frame, const SyncTrack* fadeFgNoise, FrameLayers* out);
void describeWhiteFade(const FrameState& frame, const SyncTrack* fadeBgWhite, FrameLayers* out);
void describeBlackFade(const FrameState& frame, const SyncTrack* fadeFgBlack, FrameLayers* out);
