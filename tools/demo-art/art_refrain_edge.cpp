// The outline of the refrain picture. Positions are on the screen: the soft lower edge stays
// above Pip's bubble (drawn from about y 596 with its sway), and the gap, the quarter of the
// screen right of x 874 and below y 216, holds the whole rectangle of Pip's image (drawn at
// (910, 250), 340 x 430, with a sway of 6 and 4 pixels) inside its border.
#include "art_refrain_edge.h"

#include <cmath>

#include "art_canvas.h"
#include "base/show_facts.h"

namespace {

constexpr double feather = 10;  // half the width of the soft edges
constexpr double gapLeft = 874;
constexpr double gapTop = 216;
constexpr double gapCorner = 48;   // the radius of the gap's rounded top-left corner
constexpr double beyond = 100;     // the gap runs this far past the screen's right and bottom
constexpr double lightStroke = 7;  // the border's light stroke, inside the gap's edge
static_assert(borderInside >= lightStroke + 2, "room for a thin ink line inside the light stroke");
// Hopped up, the foreground's gap still reaches past the screen's bottom with its lower corners,
// and its left edge stays on a pixel boundary, where the meadow meets the border's ink seamlessly.
static_assert(beyond - foregroundHop >= gapCorner + foregroundGapGrow, "the gap's lower corners stay off screen");
static_assert(gapLeft - foregroundGapGrow == static_cast<int>(gapLeft - foregroundGapGrow) &&
                  foregroundHop == static_cast<int>(foregroundHop),
              "the meadow's cut edge lies on a pixel boundary");

// 0 at `from` and beyond it, 1 at `to` and beyond it, smooth in between (either way round).
double smoothStep(double from, double to, double value) {
    double t = std::fmin(1.0, std::fmax(0.0, (value - from) / (to - from)));
    return t * t * (3 - 2 * t);
}

// The lower edge: an uneven line around y 560 that never comes below y 576.
constexpr double lowerEdgeMiddle = 560;
constexpr double lowerEdgeRipple = 8 + 5 + 3;
static_assert(lowerEdgeMiddle + lowerEdgeRipple + feather <= lowerEdgeBottom, "the soft edge ends in time");
double lowerEdgeY(double x) {
    return lowerEdgeMiddle + 8 * std::sin(x / 47 + 0.6) + 5 * std::sin(x / 19 + 2.3) + 3 * std::sin(x / 8.3 + 1.1);
}

// The top edge of the foreground, in its layer's rows.
double topEdgeY(double x) { return 34 + 8 * std::sin(x / 37 + 1.3) + 5 * std::sin(x / 13 + 0.2); }

// The gap's outline moved outward by `grow` pixels (inward when negative).
void gapPath(cairo_t* cr, double grow) {
    double left = gapLeft - grow;
    double top = gapTop - grow;
    double right = designSpaceWidth + beyond;
    double bottom = designSpaceHeight + beyond;
    roundedRectPath(cr, left, top, right - left, bottom - top, gapCorner + grow);
}

}  // namespace

void cutPipGap(cairo_t* cr, double grow) {
    cairo_save(cr);
    cairo_set_operator(cr, CAIRO_OPERATOR_CLEAR);
    gapPath(cr, grow);
    cairo_fill(cr);
    cairo_restore(cr);
}

void drawPipPanelBorder(cairo_t* cr) {
    cairo_save(cr);
    gapPath(cr, (borderOutside - borderInside) * 0.5);
    strokeInk(cr, borderOutside + borderInside);
    gapPath(cr, -lightStroke * 0.5);
    setRgb(cr, palette::cream);
    cairo_set_line_width(cr, lightStroke);
    cairo_stroke(cr);
    cairo_restore(cr);
}

// The lower edge is cut crisp (a pixel and a half of smoothing): a softer one reads as a smear.
double lowerEdgeCoverage(double x, double y) { return smoothStep(lowerEdgeY(x) + 1.5, lowerEdgeY(x) - 1.5, y); }

double topEdgeCoverage(double x, double y) {
    return smoothStep(topEdgeY(x) - 2 * feather, topEdgeY(x) + 2 * feather, y);
}
