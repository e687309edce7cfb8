// Full-output layers, with the value as the track gives it: the fixed-function pipeline clamps a
// colour's alpha, the noise program its own.
#include "scenes/fades.h"

#include "sync/sync.h"

namespace {

void addFullScreen(FrameLayers* out, LayerKind kind, float grey, float alpha) {
    Layer layer;
    layer.kind = kind;
    layer.colour = Colour{grey, grey, grey, alpha};
    out->layers.push_back(layer);
}

}  // namespace

void describeNoiseOverlay(const FrameState& frame, const SyncTrack* fadeFgNoise, FrameLayers* out) {
    Layer layer;
    layer.kind = LayerKind::Static;
    layer.noiseTime = float(frame.t);
    layer.noiseAlpha = evaluateTrack(fadeFgNoise, frame.row);
    out->layers.push_back(layer);
}

void describeWhiteFade(const FrameState& frame, const SyncTrack* fadeBgWhite, FrameLayers* out) {
    addFullScreen(out, LayerKind::White, 1.0f, evaluateTrack(fadeBgWhite, frame.row));
}

void describeBlackFade(const FrameState& frame, const SyncTrack* fadeFgBlack, FrameLayers* out) {
    addFullScreen(out, LayerKind::Black, 0.0f, evaluateTrack(fadeFgBlack, frame.row));
}
