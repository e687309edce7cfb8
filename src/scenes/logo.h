// The logo, centred at the top near the end of the show, fading in and out with the noise layer.
#pragma once

#include "render/frame_layers.h"
#include "scenes/frame_state.h"
#include "scenes/placements.h"

struct SyncTrack;

void describeLogo(const FrameState& frame, const ImageSizes& images, int logo, const SyncTrack* fadeFgNoise,
                  FrameLayers* out);
