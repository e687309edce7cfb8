// The refrain's layers and its pile of photographs.
#include "scenes/refrain.h"

#include "render/demo_window.h"
#include "scenes/avatars.h"
#include "scenes/placements.h"
#include "sync/sync.h"

#include <GL/glew.h>

#include <cmath>

void renderRefrain(const FrameState& frame, DemoWindow* display, const RefrainImages& images, const SyncTrack* sun,
                   const SyncTrack* foreground, const SyncTrack* background) {
    // The opaque white of the good character's step is still the current colour.
    float sunY = evaluateTrack(sun, frame.row);
    float foregroundY = evaluateTrack(foreground, frame.row);
    float backgroundY = evaluateTrack(background, frame.row);
    const Vec2 unscaled(1, 1);
    display->drawSprite(images.background, unscaled, Vec2(0, backgroundY), 0.0f);
    display->drawSprite(images.sun, unscaled, sunCorner(sunY, frame.t), sunAngleDegrees(frame.t));
    display->drawSprite(images.foreground, unscaled, Vec2(0, foregroundY), 0.0f);
}

Vec2 polaroidOffset(double t, float shakeFactor) {
    double k = double(shakeFactor);
    return Vec2(float(k * polaroidJitterReach.x * std::cos(100 * (1.2 * t)) / 100),
                float(k * polaroidJitterReach.y * std::sin(100 * (0.8 * t)) / 100));
}

// Draws entries trunc(start) .. ceil(end) - 1 in order, the last fading in with the fraction of
// end. From the first credit on, each image sways on its own phase.
void renderPolaroids(const FrameState& frame, const AvatarShake& shake, DemoWindow* display, const int* polaroids,
                     const SyncTrack* polaroidStart, const SyncTrack* polaroidEnd) {
    glColor4f(1, 1, 1, 1);
    float start = evaluateTrack(polaroidStart, frame.row);
    float end = evaluateTrack(polaroidEnd, frame.row);
    Vec2 offset = polaroidOffset(frame.t, shake.shakeFactor);
    if (!(start > -1.0f && start < float(polaroidCount) && end < float(polaroidCount))) return;
    int i = int(start);
    float last = std::ceil(end);
    while (last > float(i)) {
        float alpha = float(i + 1) == last ? end - std::floor(end) : 1.0f;
        glColor4f(1, 1, 1, alpha);
        if (start >= float(creditsFirst)) offset = creditCorner(i, frame.t);
        display->drawSprite(polaroids[i], Vec2(1, 1), offset, 0.0f);
        ++i;
    }
}
