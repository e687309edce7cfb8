// The rows of a grid of frames at fps = num / den frames a second: frame n lies at row
// n x 24 x den / num. Captures draw on such a grid, and the tunnel's phases are those its frames
// leave.
#pragma once

#include <cstdint>

double frameGridRow(int64_t frame, int64_t fpsNum, int64_t fpsDen);
// The first frame whose row is at or after the given row.
int64_t firstFrameAtOrAfter(double row, int64_t fpsNum, int64_t fpsDen);
