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

// The panel border is drawn on the background, in each of its skies, over the edge of the
// gap: from borderOutside pixels outside the gap to borderInside pixels inside it. So Pip's
// panel looks the same whether the foreground is drawn or not. The foreground's own gap is
// larger by foregroundGapGrow, the border's full outer reach: the meadow ends where the border's
// ink begins and covers none of it, at rest and hopped up alike (the hop moves the gap's left
// edge along itself, and its top edge away from the border, into the transparent sky).
constexpr double borderOutside = 10;
constexpr double borderInside = 10;
constexpr double foregroundGapGrow = borderOutside;
static_assert(foregroundGapGrow >= borderOutside, "the foreground must leave the panel border uncovered");
static_assert(foregroundGapGrow < borderOutside + 1, "no strip of the background between the meadow and the border");

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
