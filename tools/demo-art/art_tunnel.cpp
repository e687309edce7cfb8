// The tunnel's three textures, seamless when repeated: each motif is drawn once for every
// neighbouring tile as well, so what leaves one edge comes back at the opposite one.
//
// Size: every ring is one textured square, and the largest rings still whole on a 1280 x 720
// screen are about 700 pixels across; at 1024 texels a side those show at about 1.5 texels a
// pixel, so they stay sharp, and rings partly off screen (up to about 1500 pixels) are
// magnified at most 1.5 times. Nearer rings rush past the camera and are magnified whatever the
// size. Larger textures would cost four times the memory and shimmer more on the far rings,
// which are drawn without mipmaps.
//
// Tone: the textures are light, so the ring colours the tunnel multiplies in come through, and
// of moderate contrast (mid-tone lines on light grounds, no black). The camera flies through
// the middle of the rings, so a ring rushing past shows the middle of its texture over the
// whole screen: every texture keeps its middle open or plain, and the nearest ring passes as
// a faint veil instead of flashing the screen dark or bright.
#include <cmath>

#include "art_canvas.h"
#include "art_groups.h"

namespace {

constexpr int textureSize = 1024;
constexpr double unit = textureSize / 256.0;  // the motifs are laid out on a 256-unit tile

const Rgb line = mixRgb(palette::ink, palette::cream, 0.5);

// Runs the motif nine times, shifted by a whole tile in each direction.
void drawWrapped(cairo_t* cr, void (*motif)(cairo_t* cr)) {
    for (int dy = -1; dy <= 1; ++dy) {
        for (int dx = -1; dx <= 1; ++dx) {
            cairo_save(cr);
            cairo_translate(cr, dx * 256.0, dy * 256.0);
            motif(cr);
            cairo_restore(cr);
        }
    }
}

void strokeLine(cairo_t* cr, double width, double alpha) {
    setRgb(cr, line, alpha);
    cairo_set_line_width(cr, width);
    cairo_stroke(cr);
}

// tunnel1: a light frame with studs along it, open in the middle, so each ring of the tunnel
// is a square outline; faint stitches run along the band.
void frameMotif(cairo_t* cr) {
    const double band = 34;
    cairo_rectangle(cr, 0, 0, 256, 256);
    cairo_rectangle(cr, 256 - band, band, -(256 - 2 * band), 256 - 2 * band);
    setRgb(cr, palette::cream, 0.92);
    cairo_fill(cr);
    cairo_rectangle(cr, band, band, 256 - 2 * band, 256 - 2 * band);
    strokeLine(cr, 4, 0.9);
    cairo_rectangle(cr, 4, 4, 256 - 8, 256 - 8);
    double dashes[] = {5, 5};
    cairo_set_dash(cr, dashes, 2, 0);
    strokeLine(cr, 1.2, 0.45);
    cairo_set_dash(cr, nullptr, 0, 0);
    for (int i = 0; i < 8; ++i) {
        double p = 16 + i * 32;
        circlePath(cr, p, band * 0.5, 7);
        circlePath(cr, p, 256 - band * 0.5, 7);
        circlePath(cr, band * 0.5, p, 7);
        circlePath(cr, 256 - band * 0.5, p, 7);
    }
    setRgb(cr, mixRgb(palette::sun, palette::cream, 0.25));
    cairo_fill_preserve(cr);
    strokeLine(cr, 1.5, 0.7);
    cairo_rectangle(cr, band + 9, band + 9, 256 - 2 * band - 18, 256 - 2 * band - 18);
    setRgb(cr, palette::white, 0.35);
    cairo_set_line_width(cr, 3);
    cairo_stroke(cr);
}

void diamondPath(cairo_t* cr, double cx, double cy, double r) {
    cairo_move_to(cr, cx, cy - r);
    cairo_line_to(cr, cx + r, cy);
    cairo_line_to(cr, cx, cy + r);
    cairo_line_to(cr, cx - r, cy);
    cairo_close_path(cr);
}

// tex6: a chequer of diamonds in two light tones, 4 x 4 to a tile, each with a small diamond
// inside and a dot between them; the middle 2 x 2 cells are left as plain ground.
void diamondMotif(cairo_t* cr) {
    const double cell = 64;
    const Rgb dot = mixRgb(palette::teal, palette::cream, 0.3);
    for (int y = 0; y < 4; ++y) {
        for (int x = 0; x < 4; ++x) {
            bool middle = (x == 1 || x == 2) && (y == 1 || y == 2);
            if (!middle) {
                double cx = (x + 0.5) * cell;
                double cy = (y + 0.5) * cell;
                diamondPath(cr, cx, cy, cell * 0.42);
                setRgb(cr, (x + y) % 2 == 0 ? palette::white : palette::cream, 0.95);
                cairo_fill_preserve(cr);
                strokeLine(cr, 3, 0.85);
                diamondPath(cr, cx, cy, cell * 0.16);
                setRgb(cr,
                       (x + y) % 2 == 0 ? mixRgb(palette::sky, palette::cream, 0.45)
                                        : mixRgb(palette::blush, palette::cream, 0.3),
                       0.9);
                cairo_fill(cr);
            }
            if (x == 2 && y == 2) continue;  // the dot in the very middle
            circlePath(cr, x * cell, y * cell, cell * 0.12);
            setRgb(cr, dot, 0.9);
            cairo_fill_preserve(cr);
            strokeLine(cr, 1.5, 0.6);
        }
    }
}

void petalsPath(cairo_t* cr, double cx, double cy, double r) {
    for (int i = 0; i < 8; ++i) {
        double a = i * M_PI / 4;
        circlePath(cr, cx + std::cos(a) * r * 0.63, cy + std::sin(a) * r * 0.63, r * 0.37);
    }
}

void drawFlower(cairo_t* cr, double cx, double cy, double r) {
    // The petals' outline is stroked at twice its width under their fill, so it runs only
    // around the flower, not across the overlapping petals.
    petalsPath(cr, cx, cy, r);
    strokeLine(cr, 6, 0.85);
    petalsPath(cr, cx, cy, r);
    setRgb(cr, palette::white);
    cairo_fill(cr);
    circlePath(cr, cx, cy, r * 0.34);
    setRgb(cr, mixRgb(palette::coral, palette::cream, 0.25));
    cairo_fill_preserve(cr);
    strokeLine(cr, 3, 0.85);
    circlePath(cr, cx, cy, r * 0.15);
    setRgb(cr, mixRgb(palette::sun, palette::cream, 0.3));
    cairo_fill(cr);
}

// tex9: flowers of eight petals on a faint ground, at the corners and the middles of the
// edges, with dots of pollen between them; the middle of the tile is plain ground.
void flowerMotif(cairo_t* cr) {
    const double places[][2] = {{0, 0}, {128, 0}, {0, 128}};
    for (const auto& place : places) drawFlower(cr, place[0], place[1], 52);
    for (int i = 0; i < 4; ++i) {
        circlePath(cr, 64 + (i % 2) * 128, 64 + (i / 2) * 128, 5);
        setRgb(cr, mixRgb(palette::sun, palette::cream, 0.3), 0.9);
        cairo_fill_preserve(cr);
        strokeLine(cr, 1.5, 0.6);
    }
}

int drawTexture(const ArtJob& job, void (*motif)(cairo_t* cr), double groundAlpha, const char* path) {
    Canvas canvas = makeCanvas(textureSize, textureSize, false);
    setRgb(canvas.cr, palette::cream, groundAlpha);
    cairo_paint(canvas.cr);
    cairo_scale(canvas.cr, unit, unit);
    drawWrapped(canvas.cr, motif);
    int result = writeCanvas(canvas, job.outRoot, path, false);
    freeCanvas(canvas);
    return result;
}

}  // namespace

int drawTunnelImages(const ArtJob& job) {
    if (drawTexture(job, frameMotif, 0.0, "data/tunnel/tunnel1.png") != 0) return -1;
    if (drawTexture(job, diamondMotif, 0.1, "data/tunnel/tex6.png") != 0) return -1;
    return drawTexture(job, flowerMotif, 0.08, "data/tunnel/tex9.png");
}
