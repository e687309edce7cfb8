// One frame of the show: the scene steps in their fixed order write the frame's layers, and the
// renderer draws them after a clear. The live loop, the capture tool, the preview and the lint
// all follow frames through here; only where the row and t come from differs.
#pragma once

#include "render/draw_layers.h"
#include "render/frame_layers.h"
#include "render/types.h"
#include "runtime/asset_catalogue.h"
#include "runtime/show.h"
#include "runtime/track_set.h"
#include "scenes/frame_state.h"
#include "scenes/tunnel.h"

class DemoWindow;

extern const Colour clearColour;  // opaque black

// The frame at a row and frame time: the scene steps' layers in drawing order. Moves the tunnel's
// phases on as showing the frame does.
void describeFrame(const TrackSet& tracks, const AssetCatalogue& catalogue, const ImageSizes& images,
                   const FrameState& frame, TunnelState* tunnel, FrameLayers* out);

// Clears the display's back buffer and draws the frame into it (it does not present it). Makes no
// GL call when the display has no context.
void renderFrame(DemoWindow* display, const FrameState& frame, Show* show, LayerDrawing how = LayerDrawing::SkipHidden);
