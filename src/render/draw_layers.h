// Drawing a frame's layers: the tunnel's rings in the 3-D projection, then each layer in order.
// Which layers are drawn is decided on the list: a layer that cannot change a pixel (no opacity,
// or under a later layer that covers the whole output with opaque pixels) is left out.
#pragma once

#include "render/frame_layers.h"
#include "render/shader_program.h"

class DemoWindow;

// Only what can change a pixel, or every sprite and full-output layer whole, transparent parts
// and opacity 0 included (slower; the same picture, for comparisons).
enum class LayerDrawing { SkipHidden, EveryQuadWhole };

// Draws the layers over what the display's back buffer holds, with the program's store and the
// noise program for the static (left out when the program did not link). Makes no GL call when
// the display has no context.
void drawFrameLayers(DemoWindow* display, const ShaderProgram& noise, const FrameLayers& frame, LayerDrawing how);

// The last layer that covers the whole output opaquely (an unscaled, unturned image of opaque
// rows edge to edge in opaque colour, or a full white or black), or -1 when none does. Nothing
// before it can change a pixel: neither the layers before it nor the tunnel are drawn.
int lastCoveringLayer(const DemoWindow& display, const FrameLayers& frame);
