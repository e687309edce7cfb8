// The outline of the refrain picture, worked out on the screen: a soft, uneven lower edge above
// Pip's speech bubble, and a gap at the right where Pip stands, framed like the next panel of a
// comic strip, so that he and his bubble are seen whole under the picture and whatever is drawn
// under the gap reads as a second panel.
#pragma once

#include <cairo.h>

// The choreography rests the foreground with its top edge at this screen row, so screen row r
// shows its layer row r - refrainRestingTop; in refrains 2 and 3 it hops up by foregroundHop.
constexpr double refrainRestingTop = -400;
constexpr double foregroundHop = 14;

// The panel border is drawn on the foreground, over the edge of the gap: from borderOutside
// pixels outside the gap to borderInside pixels inside it. The background's own gap is larger
// by backgroundGapGrow, so its cut edge lies under the border both with the foreground at rest
// and with it hopped up (the edge is then foregroundHop - backgroundGapGrow inside the gap).
constexpr double borderOutside = 10;
constexpr double borderInside = 10;
constexpr double backgroundGapGrow = 7;
static_assert(backgroundGapGrow + 1 < borderOutside && foregroundHop - backgroundGapGrow + 1 < borderInside,
              "the background's cut edge must stay under the panel border");

// Clears the gap for Pip, grown outward by `grow` pixels, out of a layer drawn in screen
// coordinates; the cut is sharp (anti-aliased over a pixel).
void cutPipGap(cairo_t* cr, double grow);

// Draws the panel border along the gap in screen coordinates: a wide ink line outside, then a
// light stroke and a thin ink line inside, like the gutter between two comic panels.
void drawPipPanelBorder(cairo_t* cr);

// How much of a layer shows at the screen point (x, y) along the soft lower edge: 1 above it,
// 0 below it. The edge's line never comes below y 576, and its softness is gone by
// lowerEdgeBottom: nothing of the picture shows from there down.
constexpr double lowerEdgeBottom = 586;
double lowerEdgeCoverage(double x, double y);

// How much of the foreground shows at its layer point (x, y) along its soft top edge (off
// screen at rest, it may show while the picture slides).
double topEdgeCoverage(double x, double y);
