// The outline of the refrain picture: where its sky and meadow layers fade out. At rest the
// picture ends in a soft, uneven line above Pip's speech bubble and leaves a soft-edged gap at
// the right where Pip stands, so that he and his bubble are seen whole over it.
#pragma once

// The choreography rests both layers with their top edge at this screen row, so screen row r
// shows layer row r - refrainRestingTop.
constexpr double refrainRestingTop = -400;

// How much of the picture shows at the layer point (x, y): 1 inside, 0 outside, and in between
// along the soft edges.
double refrainCoverage(double x, double y);
