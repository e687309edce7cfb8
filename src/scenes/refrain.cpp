// The refrain's layers and its pile of photographs.
#include "scenes/refrain.h"

#include "scenes/avatars.h"
#include "scenes/layer_writer.h"
#include "scenes/placements.h"
#include "sync/sync.h"

#include <cmath>

void describeRefrain(const FrameState& frame, const ImageSizes& images, const RefrainImages& pictures,
                     const RefrainTracks& tracks, FrameLayers* out) {
    float sunY = evaluateTrack(tracks.sun, frame.row);
    float foregroundY = evaluateTrack(tracks.foreground, frame.row);
    float backgroundY = evaluateTrack(tracks.background, frame.row);
    addImageLayer(out, images, pictures.background, stillPlace(Vec2(0, backgroundY)), opaqueWhite);
    ImageLayerPlace sun = {sunCorner(sunY, frame.t), Vec2(sunLeft, sunY), sunSwayReach};
    addImageLayer(out, images, pictures.sun, sun, opaqueWhite, 1.0f, sunAngleDegrees(frame.t));
    addImageLayer(out, images, pictures.foreground, stillPlace(Vec2(0, foregroundY)), opaqueWhite);
}

Vec2 polaroidOffset(double t, float shakeFactor) {
    double k = double(shakeFactor);
    return Vec2(float(k * polaroidJitterReach.x * std::cos(100 * (1.2 * t)) / 100),
                float(k * polaroidJitterReach.y * std::sin(100 * (0.8 * t)) / 100));
}

// Adds entries trunc(start) .. ceil(end) - 1 in order, the last fading in with the fraction of
// end. From the first credit on, each image sways on its own phase.
void describePolaroids(const FrameState& frame, const AvatarShake& shake, const ImageSizes& images,
                       const int* polaroids, const PolaroidTracks& tracks, FrameLayers* out) {
    float start = evaluateTrack(tracks.start, frame.row);
    float end = evaluateTrack(tracks.end, frame.row);
    if (!(start > -1.0f && start < float(polaroidCount) && end < float(polaroidCount))) return;
    bool credits = start >= float(creditsFirst);
    double jitterScale = double(shake.shakeFactor) / double(shakeFactorWhileEvil);
    ImageLayerPlace place = {polaroidOffset(frame.t, shake.shakeFactor), Vec2(0, 0),
                             SwayReach{polaroidJitterReach.x * jitterScale, polaroidJitterReach.y * jitterScale}};
    if (credits) place.reach = creditSwayReach;
    float last = std::ceil(end);
    for (int i = int(start); last > float(i); ++i) {
        float alpha = float(i + 1) == last ? end - std::floor(end) : 1.0f;
        if (credits) place.corner = creditCorner(i, frame.t);
        addImageLayer(out, images, polaroids[i], place, Colour{1, 1, 1, alpha});
    }
}
