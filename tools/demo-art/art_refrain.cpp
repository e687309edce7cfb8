// The refrain picture in three layers, each taller than the screen so the choreography can
// slide it: a sky with clouds and far hills (opaque), a big smiling sun that turns about its
// centre, and a foreground of meadows with a picnic, trees and a house (transparent above).
#include <cmath>

#include "art_canvas.h"
#include "art_characters.h"
#include "art_groups.h"

namespace {

constexpr int layerWidth = 1280;
constexpr int layerHeight = 1000;

void cloudShape(cairo_t* cr, double x, double y, double scale) {
    const double bumps[][3] = {{-70, 10, 40}, {-25, -20, 55}, {35, -10, 48}, {80, 12, 36}, {0, 18, 42}};
    for (const auto& bump : bumps) circlePath(cr, x + bump[0] * scale, y + bump[1] * scale, bump[2] * scale);
}

void drawCloud(cairo_t* cr, double x, double y, double scale) {
    cloudShape(cr, x, y, scale);
    setRgb(cr, palette::ink);
    cairo_set_line_width(cr, 2 * outlineThin);
    cairo_stroke(cr);
    cloudShape(cr, x, y, scale);
    setRgb(cr, palette::white);
    cairo_fill(cr);
    // A soft shade along the bottom.
    cairo_save(cr);
    cloudShape(cr, x, y, scale);
    cairo_clip(cr);
    cairo_rectangle(cr, x - 150 * scale, y + 20 * scale, 300 * scale, 60 * scale);
    setRgb(cr, palette::sky, 0.25);
    cairo_fill(cr);
    cairo_restore(cr);
}

// A band of hills whose top edge follows a sum of sines, filled down to the bottom.
void hillsPath(cairo_t* cr, double baseY, double height, double phase, double wavelength, double bottom) {
    cairo_move_to(cr, -10, bottom);
    for (int x = -10; x <= layerWidth + 10; x += 8) {
        double y = baseY - height * (0.6 * std::sin(x / wavelength + phase) +
                                     0.4 * std::sin(x / (wavelength * 0.43) + phase * 1.7));
        cairo_line_to(cr, x, y);
    }
    cairo_line_to(cr, layerWidth + 10, bottom);
    cairo_close_path(cr);
}

void drawBird(cairo_t* cr, double x, double y, double size) {
    cairo_move_to(cr, x - size, y - size * 0.4);
    cairo_curve_to(cr, x - size * 0.6, y - size * 0.7, x - size * 0.2, y - size * 0.5, x, y);
    cairo_curve_to(cr, x + size * 0.2, y - size * 0.5, x + size * 0.6, y - size * 0.7, x + size, y - size * 0.4);
    strokeInk(cr, 3.5);
}

void drawBackground(cairo_t* cr) {
    cairo_pattern_t* sky = cairo_pattern_create_linear(0, 0, 0, 760);
    Rgb top = mixRgb(palette::sky, palette::night, 0.25);
    Rgb horizon = mixRgb(palette::cream, palette::sun, 0.35);
    cairo_pattern_add_color_stop_rgb(sky, 0.0, top.r, top.g, top.b);
    cairo_pattern_add_color_stop_rgb(sky, 0.6, palette::sky.r, palette::sky.g, palette::sky.b);
    cairo_pattern_add_color_stop_rgb(sky, 1.0, horizon.r, horizon.g, horizon.b);
    cairo_set_source(cr, sky);
    cairo_paint(cr);
    cairo_pattern_destroy(sky);
    drawCloud(cr, 880, 150, 1.2);
    drawCloud(cr, 1160, 330, 0.8);
    drawCloud(cr, 560, 420, 0.7);
    drawCloud(cr, 300, 90, 0.6);
    drawBird(cr, 700, 260, 16);
    drawBird(cr, 745, 290, 12);
    drawBird(cr, 1010, 480, 14);
    const Rgb far = mixRgb(palette::sky, palette::purple, 0.35);
    const Rgb mid = mixRgb(palette::teal, palette::sky, 0.4);
    hillsPath(cr, 700, 40, 0.4, 160, layerHeight + 10);
    fillOutlined(cr, far, outlineThin);
    hillsPath(cr, 780, 36, 2.1, 120, layerHeight + 10);
    fillOutlined(cr, mid, outlineThin);
    hillsPath(cr, 860, 26, 4.0, 90, layerHeight + 10);
    fillOutlined(cr, mixRgb(mid, palette::grass, 0.5), outlineThin);
}

void drawTree(cairo_t* cr, double x, double groundY, double size) {
    cairo_rectangle(cr, x - size * 0.12, groundY - size * 0.9, size * 0.24, size * 0.9);
    fillOutlined(cr, mixRgb(palette::orange, palette::ink, 0.45), outlineThin);
    circlePath(cr, x - size * 0.35, groundY - size * 1.0, size * 0.42);
    circlePath(cr, x + size * 0.35, groundY - size * 1.05, size * 0.4);
    circlePath(cr, x, groundY - size * 1.45, size * 0.55);
    setRgb(cr, palette::ink);
    cairo_set_line_width(cr, 2 * outlineThin);
    cairo_stroke(cr);
    circlePath(cr, x - size * 0.35, groundY - size * 1.0, size * 0.42);
    circlePath(cr, x + size * 0.35, groundY - size * 1.05, size * 0.4);
    circlePath(cr, x, groundY - size * 1.45, size * 0.55);
    setRgb(cr, mixRgb(palette::grass, palette::teal, 0.45));
    cairo_fill(cr);
}

void drawHouse(cairo_t* cr, double x, double groundY) {
    cairo_rectangle(cr, x - 60, groundY - 80, 120, 82);
    fillOutlined(cr, palette::cream, outlineThin);
    cairo_move_to(cr, x - 76, groundY - 76);
    cairo_line_to(cr, x, groundY - 140);
    cairo_line_to(cr, x + 76, groundY - 76);
    cairo_close_path(cr);
    fillOutlined(cr, palette::coral, outlineThin);
    roundedRectPath(cr, x - 14, groundY - 44, 28, 46, 6);
    fillOutlined(cr, palette::teal, outlineThin);
    cairo_rectangle(cr, x + 24, groundY - 62, 24, 24);
    fillOutlined(cr, palette::sun, outlineThin);
}

void drawFlower(cairo_t* cr, double x, double y, double size, Rgb petals) {
    for (int i = 0; i < 5; ++i) {
        double a = i * 2 * M_PI / 5;
        circlePath(cr, x + std::cos(a) * size * 0.55, y + std::sin(a) * size * 0.55, size * 0.42);
    }
    fillOutlined(cr, petals, 2.5);
    circlePath(cr, x, y, size * 0.35);
    fillOutlined(cr, palette::sun, 2.5);
}

// The picnic blanket: gingham in coral and cream, seen at an angle, with a basket.
void drawPicnic(cairo_t* cr, double x, double y) {
    cairo_save(cr);
    cairo_translate(cr, x, y);
    cairo_scale(cr, 1.0, 0.45);
    cairo_rotate(cr, -0.2);
    cairo_rectangle(cr, -150, -150, 300, 300);
    fillOutlined(cr, palette::cream, outlineWide * 1.6);
    cairo_rectangle(cr, -150, -150, 300, 300);
    cairo_clip(cr);
    for (int i = 0; i < 6; ++i) {
        cairo_rectangle(cr, -150 + i * 50, -150, 25, 300);
        cairo_rectangle(cr, -150, -150 + i * 50, 300, 25);
    }
    setRgb(cr, palette::coral, 0.55);
    cairo_fill(cr);
    cairo_restore(cr);
    roundedRectPath(cr, x + 20, y - 70, 90, 60, 10);
    fillOutlined(cr, palette::orange, outlineThin);
    cairo_new_path(cr);
    cairo_arc(cr, x + 65, y - 70, 34, M_PI, 2 * M_PI);
    strokeInk(cr, 6);
    cairo_move_to(cr, x + 20, y - 48);
    cairo_line_to(cr, x + 110, y - 48);
    strokeInk(cr, 3);
}

void drawForeground(cairo_t* cr) {
    const Rgb nearGrass = mixRgb(palette::grass, palette::teal, 0.3);
    hillsPath(cr, 720, 50, 1.0, 200, layerHeight + 10);
    fillOutlined(cr, palette::grass, outlineWide);
    drawTree(cr, 1120, 700, 90);
    drawTree(cr, 1210, 716, 60);
    drawHouse(cr, 180, 700);
    hillsPath(cr, 860, 40, 3.0, 150, layerHeight + 10);
    fillOutlined(cr, nearGrass, outlineWide);
    drawPicnic(cr, 760, 900);
    const Rgb petals[] = {palette::white, palette::coral, palette::sun, palette::blush};
    for (int i = 0; i < 26; ++i) {
        double x = 40 + std::fmod(i * 211.7, 1200.0);
        double y = 905 + 40 * std::sin(i * 1.7) + (i % 3) * 18;
        if (x > 560 && x < 960) continue;  // the blanket's place
        drawFlower(cr, x, y, 12 + (i % 4) * 3, petals[i % 4]);
    }
}

int drawLayer(const ArtJob& job, void (*draw)(cairo_t* cr), int width, int height, bool opaque,
              const char* path) {
    Canvas canvas = makeCanvas(width, height, opaque);
    draw(canvas.cr);
    int result = writeCanvas(canvas, job.outRoot, path, false);
    freeCanvas(canvas);
    return result;
}

}  // namespace

int drawRefrainImages(const ArtJob& job) {
    if (drawLayer(job, drawBackground, layerWidth, layerHeight, true, "data/refrain/refrain-bg.png") != 0) return -1;
    if (drawLayer(job, drawSunCharacter, sunSize, sunSize, false, "data/refrain/mirekand-o-sol.png") != 0) return -1;
    return drawLayer(job, drawForeground, layerWidth, layerHeight, false, "data/refrain/refrain-foregrund.png");
}
