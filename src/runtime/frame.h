// One frame of the show: clear, then the scene steps in their fixed order. The live loop and the
// capture tool both draw through this one function; only where the row and t come from differs.
#pragma once

#include "render/types.h"

class DemoWindow;

struct FrameState {
    double row;  // the music clock's row; every track of the frame is evaluated at it
    double t;    // seconds of the display's frame timer, for sways and jitters
};

extern const Colour clearColour;  // opaque black

// Draws the frame into the display's back buffer (it does not present it). Makes no GL call when
// the display has no context.
void renderFrame(DemoWindow* display, const FrameState& frame);
