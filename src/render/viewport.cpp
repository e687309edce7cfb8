// The letterboxed viewport arithmetic.
#include "render/viewport.h"

Viewport letterboxViewport(int width, int height, float designWidth, float designHeight) {
    float designAspect = designWidth / designHeight;
    float k = (float(width) / float(height)) / designAspect;
    float viewportHeight = float(height) * k;
    Viewport viewport;
    viewport.x = 0;
    viewport.y = int((float(height) - viewportHeight) * 0.5f);
    viewport.width = width;
    viewport.height = int(viewportHeight);
    return viewport;
}
