// Canvases for the show's images: the shared palette and line widths, making and freeing a
// Cairo image surface, a few common path shapes, and writing a canvas out as a PNG file.
#pragma once

#include <cairo.h>

#include <cstdint>
#include <string>

struct Rgb {
    double r;
    double g;
    double b;
};

// One small palette for every image, so the show reads as one illustration.
namespace palette {
constexpr Rgb ink{0.169, 0.176, 0.259};    // outlines and dark text
constexpr Rgb cream{1.000, 0.973, 0.906};  // paper, bubbles, highlights
constexpr Rgb white{1.0, 1.0, 1.0};
constexpr Rgb sun{1.000, 0.788, 0.235};  // yellow
constexpr Rgb orange{1.000, 0.549, 0.259};
constexpr Rgb coral{1.000, 0.349, 0.392};
constexpr Rgb teal{0.180, 0.769, 0.714};
constexpr Rgb sky{0.373, 0.659, 0.827};
constexpr Rgb grass{0.482, 0.788, 0.314};
constexpr Rgb purple{0.416, 0.298, 0.576};
constexpr Rgb night{0.239, 0.173, 0.369};  // the villain's dark purple, night skies
constexpr Rgb blush{1.000, 0.604, 0.635};
constexpr Rgb skin{1.000, 0.859, 0.690};
}  // namespace palette

// Outline widths, in pixels, for large shapes and for small details.
constexpr double outlineWide = 6.0;
constexpr double outlineThin = 3.5;

struct Canvas {
    cairo_surface_t* surface;
    cairo_t* cr;
    int width;
    int height;
};

// A transparent canvas (ARGB, written as an RGBA PNG) or an opaque one (written as RGB).
Canvas makeCanvas(int width, int height, bool opaque);
void freeCanvas(Canvas& canvas);

// Mixes two colours: amount 0 gives a, 1 gives b.
Rgb mixRgb(Rgb a, Rgb b, double amount);
void setRgb(cairo_t* cr, Rgb colour, double alpha = 1.0);

void roundedRectPath(cairo_t* cr, double x, double y, double w, double h, double radius);
void circlePath(cairo_t* cr, double x, double y, double radius);
void ellipsePath(cairo_t* cr, double x, double y, double rx, double ry);

// Paints the whole clip area with a vertical gradient from y0 to y1 through `count` colours at
// even steps (the first at y0, the last at y1; beyond them the end colours continue).
void paintVerticalGradient(cairo_t* cr, double y0, double y1, const Rgb* colours, int count);

// A small seeded generator for scattered details (stars, windows): the same seed gives the same
// picture on every machine.
struct SeededRandom {
    uint32_t state;  // never 0
};
// The next value in [0, 1).
double randomUnit(SeededRandom& random);

// Fills the current path with the colour and strokes it in ink; the path is consumed.
void fillOutlined(cairo_t* cr, Rgb fill, double lineWidth);
// Strokes the current path in ink with round caps and joins; the path is consumed.
void strokeInk(cairo_t* cr, double lineWidth);

// Multiplies the opacity of every pixel of a transparent canvas by coverage(x, y) of its
// centre, a value from 0 (the pixel becomes fully transparent) to 1 (unchanged): soft edges
// and windows cut into a picture.
void fadeCanvas(Canvas& canvas, double (*coverage)(double x, double y));

// Writes the canvas to outRoot/relativePath, making folders as needed. With cropTrailing the
// fully transparent columns at the right and rows at the bottom are left out (the top-left
// corner stays where it is). Returns 0, or -1 after printing what went wrong.
int writeCanvas(const Canvas& canvas, const std::string& outRoot, const std::string& relativePath, bool cropTrailing);
