// Pictograms and features.
#include "scenes/pictograms.h"

#include "scenes/avatars.h"
#include "scenes/layer_writer.h"
#include "scenes/placements.h"
#include "scenes/selection.h"
#include "sync/sync.h"

#include <cmath>

void describePictogram(const FrameState& frame, const AvatarShake& shake, const ImageSizes& images,
                       const int* pictograms, const PictogramTracks& tracks, FrameLayers* out) {
    float which = evaluateTrack(tracks.pictogram, frame.row);
    float scale = evaluateTrack(tracks.scale, frame.row);
    int index = 0;
    if (!pickEntry(which, pictogramCount, &index)) return;
    int slot = pictograms[index];
    if (!imageHeld(images, slot)) return;
    const ImageSize& size = images[size_t(slot)];
    float y = evaluateTrack(tracks.y, frame.row);
    float x = evaluateTrack(tracks.x, frame.row);
    Vec2 rest = pictogramRestCorner(x, y, size.width, size.height);
    ImageLayerPlace place = {shake.pictogramWobble + rest, rest, pictogramWobbleReach};
    addImageLayer(out, images, slot, place, Colour{1, 1, 1, pictogramOpacity}, scale);
}

Vec2 featuresJitter(double t) {
    return Vec2(float(featuresJitterReach.x * std::cos(100 * (1.2 * t))),
                float(featuresJitterReach.y * std::sin(100 * (0.8 * t))));
}

void describeFeatures(const FrameState& frame, const ImageSizes& images, const int* featureImages,
                      const SyncTrack* features, FrameLayers* out) {
    float which = evaluateTrack(features, frame.row);
    int index = 0;
    if (!pickEntry(which, featureCount, &index)) return;
    ImageLayerPlace place = {featuresJitter(frame.t), Vec2(0, 0), featuresJitterReach};
    addImageLayer(out, images, featureImages[index], place, opaqueWhite);
}
