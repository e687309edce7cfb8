// A frame as the lint follows it without drawing: the layers the scenes write for renderFrame at a
// row, read with the images' alpha. The frame time is the row's song time, as a capture draws it.
#pragma once

#include "render/frame_layers.h"
#include "scenes/placements.h"

#include <vector>

struct LintShow;
struct ImageAlpha;

// Follows the frame at a row: the very layers renderFrame draws, the tunnel's phases aside.
// Images that are not loaded are left out, as drawing leaves them out.
FrameLayers followFrame(const LintShow& show, double row);

// The opacity a layer lays over the picture, 0..1 as drawn: the colour's alpha clamped as the
// pipeline clamps it, or the static's as its program works it out.
float layerOpacity(const Layer& layer);

// Where an image layer puts a design-space point in its image's pixels (turning included).
Vec2 imagePixelAt(const Layer& layer, const ImageAlpha& image, Vec2 point);
// The opacity an image layer lays over a design-space point: its opacity times the texel's alpha.
float layerAlphaAt(const Layer& layer, const ImageAlpha& image, Vec2 point);
// The design-space box, corners included, that an image layer's painted pixels can reach in this
// frame; empty (right < left) when none.
struct DesignBox {
    float left, top, right, bottom;
};
DesignBox paintedBox(const Layer& layer, const ImageAlpha& image);

// True when the layer may put anything visible on the screen: some opacity and, for an image,
// painted pixels that reach the screen (or a placement too far out of range to tell).
bool layerShows(const Layer& layer, const LintShow& show);
