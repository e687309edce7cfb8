// The logo, centred at the top near the end of the show, fading in and out with the noise layer.
#pragma once

#include "scenes/frame_state.h"
#include "scenes/placements.h"

class DemoWindow;
struct SyncTrack;

void renderLogo(const FrameState& frame, DemoWindow* display, int logo, const SyncTrack* fadeFgNoise);
