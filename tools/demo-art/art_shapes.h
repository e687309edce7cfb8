// Shapes drawn in more than one of the show's images, each image giving its own proportions:
// the puffy clouds (of the weather pictograms, the refrain's sky and the photographs) and the
// lightning bolts (of the storm pictogram and Count Glitch's fury).
#pragma once

#include <cairo.h>

// One round bump of a cloud: its centre's offset from the cloud's centre and its radius, all
// multiplied by the cloud's scale.
struct CloudBump {
    double dx;
    double dy;
    double radius;
};

// Adds the cloud's bumps, centred on (x, y), to the path as circles.
void cloudPath(cairo_t* cr, const CloudBump* bumps, int bumpCount, double x, double y, double scale);

// Draws a white cloud with an ink outline: the outline, `lineWidth` wide, is stroked first and
// the fill laid over it, so only its outer half shows and the bumps merge into one shape.
void drawCloud(cairo_t* cr, const CloudBump* bumps, int bumpCount, double x, double y, double scale, double lineWidth);

// Adds the closed polygon through the points, each multiplied by `scale` and moved by (x, y), to
// the path: a lightning bolt's outline.
void polygonPath(cairo_t* cr, const double (*points)[2], int pointCount, double x, double y, double scale);
