// One frame as a list of layers in drawing order: the tunnel's rings under everything, then each
// image and full-screen layer with its place, scale, angle, colour and program. The scenes write
// the list without drawing; the renderer draws it and the show's lint reads the very same list.
#pragma once

#include "render/types.h"

#include <cstddef>
#include <vector>

// What a layer is drawn with: an image in the modulate environment, the noise program over the
// whole output, or a flat white or black quad over the whole output.
enum class LayerKind { Image, Static, White, Black };

struct Layer {
    LayerKind kind = LayerKind::Image;
    int slot = -1;              // Image: the texture slot drawn
    Vec2 corner;                // Image: top-left corner before turning, design space
    Vec2 restCorner;            // Image: the corner without its sway
    SwayReach reach = {0, 0};   // Image: how far the sway takes the corner from rest
    float scale = 1.0f;         // Image: both sides' factor on the pixel size
    float angleDegrees = 0.0f;  // Image: clockwise on screen about the image's centre
    // The colour as handed to GL (Image, White, Black); the pipeline clamps it to 0..1.
    Colour colour = {1, 1, 1, 1};
    float noiseTime = 0.0f;   // Static: the program's "time"
    float noiseAlpha = 0.0f;  // Static: the program's "alpha", the track's value as it stands
};

// The tunnel's rings: each a place and turn in the 3-D projection with one to three centred
// squares of the tunnel's texture, each square in its own colour.
constexpr int tunnelMostRings = 20;
constexpr int tunnelMostSquaresARing = 3;

struct TunnelSquare {
    Colour colour;
    float halfSize;
};

struct TunnelRing {
    Vec3 at;
    float angleDegrees;  // about the view axis
    int squareCount;
    TunnelSquare squares[tunnelMostSquaresARing];
};

struct TunnelLayer {
    int slot = -1;       // the texture, or -1 when no tunnel is drawn
    int variation = -1;  // the design of its rings, 0..2, when it is drawn
    Vec2 shift;          // the whole tube's offset, so the view looks down its winding path
    int ringCount = 0;   // farthest first
    TunnelRing rings[tunnelMostRings];
};

struct FrameLayers {
    TunnelLayer tunnel;
    std::vector<Layer> layers;  // over the tunnel, in drawing order
};

// The most layers a frame holds over the tunnel: a list reserved to it never grows while drawing.
constexpr int frameMostLayers = 64;

// What the scenes know of an image: its pixel size, and whether it is there to draw. Indexed by
// slot; a slot past the end is an image that is not there.
struct ImageSize {
    float width = 0.0f;
    float height = 0.0f;
    bool held = false;
};
using ImageSizes = std::vector<ImageSize>;

inline bool imageHeld(const ImageSizes& images, int slot) {
    return slot >= 0 && size_t(slot) < images.size() && images[size_t(slot)].held;
}
