// The logo, with the noise track's value as its opacity.
#include "scenes/logo.h"

#include "scenes/layer_writer.h"
#include "sync/sync.h"

void describeLogo(const FrameState& frame, const ImageSizes& images, int logo, const SyncTrack* fadeFgNoise,
                  FrameLayers* out) {
    if (!(frame.row > logoRow) || !imageHeld(images, logo)) return;
    float opacity = evaluateTrack(fadeFgNoise, frame.row);
    Vec2 corner = logoCorner(images[size_t(logo)].width);
    addImageLayer(out, images, logo, stillPlace(corner), Colour{1, 1, 1, opacity});
}
