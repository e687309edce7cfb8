// The clouds and the polygon outlines shared by several images.
#include "art_shapes.h"

#include "art_canvas.h"

void cloudPath(cairo_t* cr, const CloudBump* bumps, int bumpCount, double x, double y, double scale) {
    for (int i = 0; i < bumpCount; ++i) {
        circlePath(cr, x + bumps[i].dx * scale, y + bumps[i].dy * scale, bumps[i].radius * scale);
    }
}

void drawCloud(cairo_t* cr, const CloudBump* bumps, int bumpCount, double x, double y, double scale, double lineWidth) {
    cloudPath(cr, bumps, bumpCount, x, y, scale);
    setRgb(cr, palette::ink);
    cairo_set_line_width(cr, lineWidth);
    cairo_stroke(cr);
    cloudPath(cr, bumps, bumpCount, x, y, scale);
    setRgb(cr, palette::white);
    cairo_fill(cr);
}

void polygonPath(cairo_t* cr, const double (*points)[2], int pointCount, double x, double y, double scale) {
    for (int i = 0; i < pointCount; ++i) {
        if (i == 0)
            cairo_move_to(cr, x + points[i][0] * scale, y + points[i][1] * scale);
        else
            cairo_line_to(cr, x + points[i][0] * scale, y + points[i][1] * scale);
    }
    cairo_close_path(cr);
}
