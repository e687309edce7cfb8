// The letterboxed viewport: the full output width at the design aspect, centred vertically.
#pragma once

struct Viewport {
    int x;
    int y;
    int width;
    int height;
};

// Worked out in single precision in a fixed order, each coordinate truncated toward zero, so
// that odd sizes land on the same pixel every time (1440x900 gives an offset of 44, not 45).
Viewport letterboxViewport(int width, int height, float designWidth, float designHeight);
