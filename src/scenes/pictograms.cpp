// Pictograms and features.
#include "scenes/pictograms.h"

#include "render/demo_window.h"
#include "render/texture_store.h"
#include "scenes/avatars.h"
#include "scenes/placements.h"
#include "scenes/selection.h"
#include "sync/sync.h"

#include <GL/glew.h>

#include <cmath>

void renderPictogram(const FrameState& frame, const AvatarShake& shake, DemoWindow* display, const TextureStore* store,
                     const int* pictograms, const PictogramTracks& tracks) {
    glColor4f(1, 1, 1, pictogramOpacity);
    float which = evaluateTrack(tracks.pictogram, frame.row);
    float scale = evaluateTrack(tracks.scale, frame.row);
    int index = 0;
    if (!pickEntry(which, pictogramCount, &index)) return;
    const Texture& texture = store->get(pictograms[index]);
    float y = evaluateTrack(tracks.y, frame.row);
    float x = evaluateTrack(tracks.x, frame.row);
    Vec2 position = shake.pictogramWobble + pictogramRestCorner(x, y, texture.width, texture.height);
    display->drawSprite(pictograms[index], Vec2(scale, scale), position, 0.0f);
}

Vec2 featuresJitter(double t) {
    return Vec2(float(featuresJitterReach.x * std::cos(100 * (1.2 * t))),
                float(featuresJitterReach.y * std::sin(100 * (0.8 * t))));
}

void renderFeatures(const FrameState& frame, DemoWindow* display, const int* featureImages, const SyncTrack* features) {
    glColor4f(1, 1, 1, 1);
    Vec2 jitter = featuresJitter(frame.t);
    float which = evaluateTrack(features, frame.row);
    int index = 0;
    if (!pickEntry(which, featureCount, &index)) return;
    display->drawSprite(featureImages[index], Vec2(1, 1), jitter, 0.0f);
}
