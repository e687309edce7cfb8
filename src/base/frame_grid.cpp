// Frame numbers and rows of a frame grid.
#include "base/frame_grid.h"

#include "base/show_facts.h"

#include <cmath>

double frameGridRow(int64_t frame, int64_t fpsNum, int64_t fpsDen) {
    return double(frame) * rowsPerSecond * double(fpsDen) / double(fpsNum);
}

int64_t firstFrameAtOrAfter(double row, int64_t fpsNum, int64_t fpsDen) {
    int64_t frame = int64_t(std::ceil(row * double(fpsNum) / (rowsPerSecond * double(fpsDen))));
    while (frame > 0 && frameGridRow(frame - 1, fpsNum, fpsDen) >= row) --frame;
    while (frameGridRow(frame, fpsNum, fpsDen) < row) ++frame;
    return frame < 0 ? 0 : frame;
}
