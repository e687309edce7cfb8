// Pictograms and features.
#include "scenes/pictograms.h"

#include "render/demo_window.h"
#include "render/texture_store.h"
#include "scenes/avatars.h"
#include "scenes/selection.h"
#include "sync/sync.h"

#include <GL/glew.h>

#include <cmath>

void renderPictogram(const FrameState& frame, const AvatarShake& shake, DemoWindow* display,
                     const TextureStore* store, const int* pictograms, const PictogramTracks& tracks) {
    glColor4f(1, 1, 1, 0.8f);
    float which = evaluateTrack(tracks.pictogram, frame.row);
    float scale = evaluateTrack(tracks.scale, frame.row);
    int index = 0;
    if (!pickEntry(which, 20, &index)) return;
    const Texture& texture = store->get(pictograms[index]);
    // Centred by the unscaled size: a scale above 1 grows the image to the right and downward.
    float y = evaluateTrack(tracks.y, frame.row) - texture.height * 0.5f;
    float x = evaluateTrack(tracks.x, frame.row) - texture.width * 0.5f;
    Vec2 position = shake.pictogramWobble + Vec2(x, y);
    display->drawSprite(pictograms[index], Vec2(scale, scale), position, 0.0f);
}

Vec2 featuresJitter(double t) {
    return Vec2(float(6 * std::cos(100 * (1.2 * t))), float(4 * std::sin(100 * (0.8 * t))));
}

void renderFeatures(const FrameState& frame, DemoWindow* display, const int* featureImages,
                    const SyncTrack* features) {
    glColor4f(1, 1, 1, 1);
    Vec2 jitter = featuresJitter(frame.t);
    float which = evaluateTrack(features, frame.row);
    int index = 0;
    if (!pickEntry(which, 12, &index)) return;
    display->drawSprite(featureImages[index], Vec2(1, 1), jitter, 0.0f);
}
