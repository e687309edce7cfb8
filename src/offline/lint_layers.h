// A frame as the lint follows it without drawing: what renderFrame draws at a row, step by step
// in its order, each image with where it lies in the design space and at what opacity, and the
// full-screen layers with theirs. Selections, placements and sways are the scenes' own; the frame
// time is the row's song time, as a capture draws it.
#pragma once

#include "render/types.h"
#include "scenes/placements.h"

#include <vector>

struct LintShow;
struct ImageAlpha;

enum class LayerKind { Image, Static, White, Black };

struct FrameLayer {
    LayerKind kind = LayerKind::Image;
    int entry = -1;            // Image: the catalogue entry drawn
    Vec2 corner;               // Image: top-left corner before turning, design space
    Vec2 restCorner;           // Image: the corner without its sway
    SwayReach reach = {0, 0};  // Image: how far the sway takes the corner from rest
    float scale = 1.0f;
    float angleDegrees = 0.0f;  // clockwise about the image's centre
    float opacity = 0.0f;       // the colour's alpha, or the full-screen layer's, 0..1 as drawn
};

struct FrameLayers {
    int tunnelEntry = -1;            // the tunnel texture drawn under everything, or -1
    int tunnelVariation = -1;        // the design of its rings, 0..2, when it is drawn
    std::vector<FrameLayer> layers;  // over the tunnel, in drawing order
};

// Follows the frame at a row. Images that are not loaded are left out, as drawing leaves them out.
FrameLayers followFrame(const LintShow& show, double row);

// Where an image layer puts a design-space point in its image's pixels (turning included).
Vec2 imagePixelAt(const FrameLayer& layer, const ImageAlpha& image, Vec2 point);
// The opacity an image layer lays over a design-space point: its opacity times the texel's alpha.
float layerAlphaAt(const FrameLayer& layer, const ImageAlpha& image, Vec2 point);
// The design-space box, corners included, that an image layer's painted pixels can reach in this
// frame; empty (right < left) when none.
struct DesignBox {
    float left, top, right, bottom;
};
DesignBox paintedBox(const FrameLayer& layer, const ImageAlpha& image);

// True when the layer may put anything visible on the screen: some opacity and, for an image,
// painted pixels that reach the screen (or a placement too far out of range to tell).
bool layerShows(const FrameLayer& layer, const LintShow& show);
