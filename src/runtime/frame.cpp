// The frame sequence: each step draws over everything before it.
#include "runtime/frame.h"

#include "render/demo_window.h"

const Colour clearColour = {0.0f, 0.0f, 0.0f, 1.0f};

void renderFrame(DemoWindow* display, const FrameState&, Show*) {
    if (!display->hasContext()) return;
    display->clear(clearColour);
}
