// Following a frame through the layers renderFrame draws, without drawing.
#include "offline/lint_layers.h"

#include "base/show_facts.h"
#include "offline/lint_show.h"
#include "runtime/frame.h"

#include <algorithm>
#include <cmath>

namespace {

constexpr double degreesToRadians = 3.14159265358979323846 / 180.0;

// The fixed-function pipeline clamps a colour's alpha to 0..1.
float clampedOpacity(float value) { return value > 0.0f ? std::min(value, 1.0f) : 0.0f; }

// The static's shader follows its track up to 1 and fades out again above it, gone at 2, where
// the logo (whose colour alpha clamps at 1) shows fully with no static over it.
float staticOpacity(float value) { return value > 1.0f ? std::max(2.0f - value, 0.0f) : clampedOpacity(value); }

Vec2 turned(Vec2 v, double radians) {
    double c = std::cos(radians), s = std::sin(radians);
    return Vec2(float(v.x * c - v.y * s), float(v.x * s + v.y * c));
}

}  // namespace

FrameLayers followFrame(const LintShow& show, double row) {
    FrameLayers layers;
    TunnelState phases;  // the lint reads which tunnel is shown, not where its rings lie
    describeFrame(show.tracks, show.catalogue, show.sizes, FrameState{row, row / rowsPerSecond}, &phases, &layers);
    return layers;
}

float layerOpacity(const Layer& layer) {
    return layer.kind == LayerKind::Static ? staticOpacity(layer.noiseAlpha) : clampedOpacity(layer.colour.a);
}

Vec2 imagePixelAt(const Layer& layer, const ImageAlpha& image, Vec2 point) {
    float scale = layer.scale;
    Vec2 half(float(image.width) * scale * 0.5f, float(image.height) * scale * 0.5f);
    Vec2 fromCentre(point.x - (layer.corner.x + half.x), point.y - (layer.corner.y + half.y));
    // The sprite is turned clockwise on screen (y down) by its angle: turn the point back.
    Vec2 local = layer.angleDegrees == 0.0f ? fromCentre : turned(fromCentre, -layer.angleDegrees * degreesToRadians);
    if (scale == 0.0f) return Vec2(-1, -1);
    return Vec2((local.x + half.x) / scale, (local.y + half.y) / scale);
}

float layerAlphaAt(const Layer& layer, const ImageAlpha& image, Vec2 point) {
    Vec2 pixel = imagePixelAt(layer, image, point);
    return layerOpacity(layer) * cellAlpha(image, pixel.x, pixel.y);
}

DesignBox paintedBox(const Layer& layer, const ImageAlpha& image) {
    // A negative scale mirrors the image about its centre; a scale of 0 leaves nothing to see.
    if (image.painted.empty() || layer.scale == 0.0f) return DesignBox{0, 0, -1, -1};
    float scale = layer.scale;
    Vec2 half(float(image.width) * scale * 0.5f, float(image.height) * scale * 0.5f);
    Vec2 centre(layer.corner.x + half.x, layer.corner.y + half.y);
    const PixelBox& p = image.painted;
    DesignBox box = {1e30f, 1e30f, -1e30f, -1e30f};
    for (Vec2 pixel : {Vec2(float(p.left), float(p.top)), Vec2(float(p.right), float(p.top)),
                       Vec2(float(p.left), float(p.bottom)), Vec2(float(p.right), float(p.bottom))}) {
        Vec2 local(pixel.x * scale - half.x, pixel.y * scale - half.y);
        Vec2 onScreen = turned(local, layer.angleDegrees * degreesToRadians);
        box.left = std::min(box.left, centre.x + onScreen.x);
        box.right = std::max(box.right, centre.x + onScreen.x);
        box.top = std::min(box.top, centre.y + onScreen.y);
        box.bottom = std::max(box.bottom, centre.y + onScreen.y);
    }
    return box;
}

bool layerShows(const Layer& layer, const LintShow& show) {
    if (!(layerOpacity(layer) > 0.0f)) return false;
    if (layer.kind != LayerKind::Image) return true;
    DesignBox box = paintedBox(layer, show.images[size_t(layer.slot)]);
    // A placement that is not a finite number cannot be followed: count it as showing.
    if (!std::isfinite(box.left + box.right + box.top + box.bottom)) return true;
    return box.right > 0.0f && box.left < float(designSpaceWidth) && box.bottom > 0.0f &&
           box.top < float(designSpaceHeight);
}
