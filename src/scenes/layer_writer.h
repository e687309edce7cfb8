// How a scene adds its layers to the frame's list: an image that is not there adds nothing, as
// drawing it would show nothing.
#pragma once

#include "render/frame_layers.h"

constexpr Colour opaqueWhite = {1, 1, 1, 1};

struct ImageLayerPlace {
    Vec2 corner;
    Vec2 restCorner;
    SwayReach reach;
};

inline void addImageLayer(FrameLayers* out, const ImageSizes& images, int slot, const ImageLayerPlace& place,
                          Colour colour, float scale = 1.0f, float angleDegrees = 0.0f) {
    if (!imageHeld(images, slot)) return;
    Layer layer;
    layer.slot = slot;
    layer.corner = place.corner;
    layer.restCorner = place.restCorner;
    layer.reach = place.reach;
    layer.scale = scale;
    layer.angleDegrees = angleDegrees;
    layer.colour = colour;
    out->layers.push_back(layer);
}

// An image that rests where it is drawn.
inline ImageLayerPlace stillPlace(Vec2 corner) { return ImageLayerPlace{corner, corner, SwayReach{0, 0}}; }
