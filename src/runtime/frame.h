// One frame of the show: clear, then the scene steps in their fixed order. The live loop and the
// capture tool both draw through this one function; only where the row and t come from differs.
#pragma once

#include "render/shader_program.h"
#include "render/types.h"
#include "runtime/asset_catalogue.h"
#include "runtime/track_set.h"
#include "scenes/frame_state.h"
#include "scenes/tunnel.h"

class DemoWindow;

// Everything the scenes draw with: resolved once at start-up, read while frames are drawn. The
// tunnel's phases are the one thing a frame changes.
struct Show {
    TrackSet tracks;
    ShaderProgram shader;
    AssetCatalogue catalogue;
    TunnelState tunnel;
};

extern const Colour clearColour;  // opaque black

// Draws the frame into the display's back buffer (it does not present it). Makes no GL call when
// the display has no context.
void renderFrame(DemoWindow* display, const FrameState& frame, Show* show);
