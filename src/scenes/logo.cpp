// The logo, with the noise track's value as its opacity.
#include "scenes/logo.h"

#include "render/demo_window.h"
#include "render/texture_store.h"
#include "sync/sync.h"

#include <GL/glew.h>

void renderLogo(const FrameState& frame, DemoWindow* display, int logo, const SyncTrack* fadeFgNoise) {
    if (!(frame.row > logoRow)) return;
    glColor4f(1, 1, 1, evaluateTrack(fadeFgNoise, frame.row));
    if (!currentTextures || !currentTextures->holds(logo)) return;  // nothing to measure or draw
    float width = currentTextures->get(logo).width;
    currentTextures->bind(logo);
    display->drawSprite(logo, Vec2(1, 1), logoCorner(width), 0.0f);
}
