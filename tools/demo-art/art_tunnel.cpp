// The tunnel's three textures, 256 x 256 and seamless when repeated: each motif is drawn once
// for every neighbouring tile as well, so what leaves one edge comes back at the opposite one.
// They are light, so the ring colours the tunnel multiplies in come through.
#include <cmath>

#include "art_canvas.h"
#include "art_groups.h"

namespace {

constexpr int textureSize = 256;

// Runs the motif nine times, shifted by a whole tile in each direction.
void drawWrapped(cairo_t* cr, void (*motif)(cairo_t* cr)) {
    for (int dy = -1; dy <= 1; ++dy) {
        for (int dx = -1; dx <= 1; ++dx) {
            cairo_save(cr);
            cairo_translate(cr, dx * textureSize, dy * textureSize);
            motif(cr);
            cairo_restore(cr);
        }
    }
}

// tunnel1: a bright frame with studs along it, open in the middle, so each ring of the tunnel
// is a square outline.
void frameMotif(cairo_t* cr) {
    double band = 34;
    cairo_rectangle(cr, 0, 0, textureSize, textureSize);
    cairo_rectangle(cr, textureSize - band, band, -(textureSize - 2 * band), textureSize - 2 * band);
    setRgb(cr, palette::white, 0.92);
    cairo_fill(cr);
    cairo_rectangle(cr, band, band, textureSize - 2 * band, textureSize - 2 * band);
    setRgb(cr, palette::ink, 0.9);
    cairo_set_line_width(cr, 6);
    cairo_stroke(cr);
    for (int i = 0; i < 8; ++i) {
        double p = 16 + i * 32;
        circlePath(cr, p, band * 0.5, 7);
        circlePath(cr, p, textureSize - band * 0.5, 7);
        circlePath(cr, band * 0.5, p, 7);
        circlePath(cr, textureSize - band * 0.5, p, 7);
    }
    setRgb(cr, palette::sun);
    cairo_fill(cr);
    cairo_rectangle(cr, band + 10, band + 10, textureSize - 2 * band - 20, textureSize - 2 * band - 20);
    setRgb(cr, palette::white, 0.35);
    cairo_set_line_width(cr, 4);
    cairo_stroke(cr);
}

// tex6: a chequer of rounded diamonds in two tones, 4 x 4 to a tile.
void diamondMotif(cairo_t* cr) {
    double cell = textureSize / 4.0;
    for (int y = 0; y < 4; ++y) {
        for (int x = 0; x < 4; ++x) {
            double cx = (x + 0.5) * cell;
            double cy = (y + 0.5) * cell;
            double r = cell * 0.42;
            cairo_move_to(cr, cx, cy - r);
            cairo_line_to(cr, cx + r, cy);
            cairo_line_to(cr, cx, cy + r);
            cairo_line_to(cr, cx - r, cy);
            cairo_close_path(cr);
            setRgb(cr, (x + y) % 2 == 0 ? palette::white : palette::cream, 0.95);
            cairo_fill_preserve(cr);
            setRgb(cr, palette::ink, 0.8);
            cairo_set_line_width(cr, 4);
            cairo_stroke(cr);
            circlePath(cr, x * cell, y * cell, cell * 0.12);
            setRgb(cr, palette::teal, 0.9);
            cairo_fill(cr);
        }
    }
}

// tex9: flowers of eight petals on a faint ground, offset every other row.
void flowerMotif(cairo_t* cr) {
    double cell = textureSize / 2.0;
    for (int y = 0; y < 2; ++y) {
        for (int x = 0; x < 2; ++x) {
            double cx = (x + (y % 2 == 0 ? 0.5 : 0.0)) * cell;
            double cy = (y + 0.5) * cell;
            for (int i = 0; i < 8; ++i) {
                double a = i * M_PI / 4;
                ellipsePath(cr, cx + std::cos(a) * cell * 0.26, cy + std::sin(a) * cell * 0.26, cell * 0.15, cell * 0.15);
            }
            setRgb(cr, palette::white, 0.95);
            cairo_fill_preserve(cr);
            setRgb(cr, palette::ink, 0.85);
            cairo_set_line_width(cr, 3.5);
            cairo_stroke(cr);
            circlePath(cr, cx, cy, cell * 0.14);
            setRgb(cr, palette::coral);
            cairo_fill_preserve(cr);
            setRgb(cr, palette::ink, 0.85);
            cairo_stroke(cr);
        }
    }
}

int drawTexture(const ArtJob& job, void (*motif)(cairo_t* cr), double groundAlpha, const char* path) {
    Canvas canvas = makeCanvas(textureSize, textureSize, false);
    setRgb(canvas.cr, palette::cream, groundAlpha);
    cairo_paint(canvas.cr);
    drawWrapped(canvas.cr, motif);
    int result = writeCanvas(canvas, job.outRoot, path, false);
    freeCanvas(canvas);
    return result;
}

}  // namespace

int drawTunnelImages(const ArtJob& job) {
    if (drawTexture(job, frameMotif, 0.0, "data/tunnel/tunnel1.png") != 0) return -1;
    if (drawTexture(job, diamondMotif, 0.35, "data/tunnel/tex6.png") != 0) return -1;
    return drawTexture(job, flowerMotif, 0.25, "data/tunnel/tex9.png");
}
