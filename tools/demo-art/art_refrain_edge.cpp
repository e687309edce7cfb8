// The outline of the refrain picture. Positions are worked out on the screen with the layers at
// rest: the soft lower edge stays above Pip's bubble (drawn from about y 596 with its sway), and
// the gap holds the whole rectangle of Pip's image (drawn at (910, 250), 340 x 430, with a sway
// of 6 and 4 pixels).
#include "art_refrain_edge.h"

#include <cmath>

namespace {

constexpr double feather = 10;  // half the width of each soft edge

// 0 at `from` and beyond it, 1 at `to` and beyond it, smooth in between (either way round).
double smoothStep(double from, double to, double value) {
    double t = std::fmin(1.0, std::fmax(0.0, (value - from) / (to - from)));
    return t * t * (3 - 2 * t);
}

// The lower edge: an uneven line around y 560 that never comes below y 576.
double lowerEdgeY(double x) {
    return 560 + 8 * std::sin(x / 47 + 0.6) + 5 * std::sin(x / 19 + 2.3) + 3 * std::sin(x / 8.3 + 1.1);
}

// The gap for Pip: the quarter of the screen right of x 874 and below y 216, its corner
// rounded, its border rippled. Returns the signed distance from the gap's border, negative
// inside the gap.
double distanceFromPipGap(double x, double y) {
    const double radius = 40;
    const double left = 874 + radius;
    const double top = 216 + radius;
    double dx = left - x;
    double dy = top - y;
    double outside = dx > 0 && dy > 0 ? std::hypot(dx, dy) : dx > 0 ? dx : dy > 0 ? dy : -std::fmin(-dx, -dy);
    double along = x + y;
    return outside - radius + 5 * std::sin(along / 23 + 0.4) + 3 * std::sin(along / 9.7 + 2.0);
}

// The top of each layer, off screen at rest, may show while the picture slides: it fades in
// over a rippled band instead of a ruled line.
double topEdgeY(double x) { return 34 + 8 * std::sin(x / 37 + 1.3) + 5 * std::sin(x / 13 + 0.2); }

}  // namespace

double refrainCoverage(double x, double y) {
    double screenY = y + refrainRestingTop;
    double below = smoothStep(lowerEdgeY(x) + feather, lowerEdgeY(x) - feather, screenY);
    double gap = smoothStep(-feather, feather, distanceFromPipGap(x, screenY));
    double top = smoothStep(topEdgeY(x) - 2 * feather, topEdgeY(x) + 2 * feather, y);
    return std::fmin(below, std::fmin(gap, top));
}
