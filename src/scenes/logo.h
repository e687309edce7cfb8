// The logo, centred at the top near the end of the show, fading in and out with the noise layer.
#pragma once

#include "runtime/frame_state.h"

class DemoWindow;
struct SyncTrack;

constexpr double logoRow = 4776.0;  // 199 s into the song

void renderLogo(const FrameState& frame, DemoWindow* display, int logo, const SyncTrack* fadeFgNoise);
