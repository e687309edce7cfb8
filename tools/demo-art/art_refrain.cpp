// The refrain picture in three layers, each taller than the screen so the choreography can
// slide it: a sky with clouds and far hills, a big smiling sun that turns about its centre, and
// a foreground of meadows with a picnic, trees and a house (transparent above). Sky and
// meadows fade out along the soft outline of art_refrain_edge.h.
//
// Everything is laid out on the screen as it is seen with the layers at rest. There the sun
// turns about (180, 200) with its disc (radius about 225) clear of the meadows, the house and
// the trees stand on a hill right of it, and the picnic lies on the meadow below it.
#include <cmath>

#include "art_canvas.h"
#include "base/show_facts.h"
#include "art_characters.h"
#include "art_groups.h"
#include "art_refrain_edge.h"

namespace {

constexpr int layerWidth = designSpaceWidth;
constexpr int layerHeight = 1000;
constexpr double screenTop = refrainRestingTop;                   // the layer's first row on screen
constexpr double screenBottom = refrainRestingTop + layerHeight;  // and the row below its last

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

// The profile of a band of hills: a base line that rises toward the right, rippled by two
// sines.
struct HillProfile {
    double base;    // screen y of the band's middle at the left edge
    double rise;    // how much higher it lies at the right edge
    double height;  // the ripple's amplitude
    double phase;
    double wavelength;  // of the longer sine, in pixels over 2 pi
};

double hillTopY(const HillProfile& hill, double x) {
    double t = std::fmin(1.0, std::fmax(0.0, x / layerWidth));
    double ramp = t * t * (3 - 2 * t);
    return hill.base - hill.rise * ramp -
           hill.height * (0.6 * std::sin(x / hill.wavelength + hill.phase) +
                          0.4 * std::sin(x / (hill.wavelength * 0.43) + hill.phase * 1.7));
}

// The band from its top line down past the layer's bottom.
void hillsPath(cairo_t* cr, const HillProfile& hill) {
    cairo_move_to(cr, -10, screenBottom);
    for (int x = -10; x <= layerWidth + 10; x += 8) cairo_line_to(cr, x, hillTopY(hill, x));
    cairo_line_to(cr, layerWidth + 10, screenBottom);
    cairo_close_path(cr);
}

void drawBird(cairo_t* cr, double x, double y, double size) {
    cairo_move_to(cr, x - size, y - size * 0.4);
    cairo_curve_to(cr, x - size * 0.6, y - size * 0.7, x - size * 0.2, y - size * 0.5, x, y);
    cairo_curve_to(cr, x + size * 0.2, y - size * 0.5, x + size * 0.6, y - size * 0.7, x + size, y - size * 0.4);
    strokeInk(cr, 3.5);
}

void drawSky(cairo_t* cr) {
    cairo_pattern_t* sky = cairo_pattern_create_linear(0, screenTop, 0, 470);
    Rgb top = mixRgb(palette::sky, palette::night, 0.25);
    Rgb horizon = mixRgb(palette::cream, palette::sun, 0.35);
    cairo_pattern_add_color_stop_rgb(sky, 0.0, top.r, top.g, top.b);
    cairo_pattern_add_color_stop_rgb(sky, 0.55, palette::sky.r, palette::sky.g, palette::sky.b);
    cairo_pattern_add_color_stop_rgb(sky, 1.0, horizon.r, horizon.g, horizon.b);
    cairo_set_source(cr, sky);
    cairo_paint(cr);
    cairo_pattern_destroy(sky);
}

void drawBackground(cairo_t* cr) {
    drawSky(cr);
    // Clouds off screen at rest pass by while the picture slides.
    drawCloud(cr, 860, -190, 1.1);
    drawCloud(cr, 330, -300, 0.8);
    drawCloud(cr, 1130, -330, 0.6);
    drawCloud(cr, 1090, 96, 1.0);
    drawCloud(cr, 640, 64, 0.7);
    drawBird(cr, 700, 150, 16);
    drawBird(cr, 745, 176, 12);
    drawBird(cr, 960, 196, 13);
    const Rgb far = mixRgb(palette::sky, palette::purple, 0.35);
    const Rgb mid = mixRgb(palette::teal, palette::sky, 0.4);
    hillsPath(cr, HillProfile{468, 110, 22, 0.4, 160});
    fillOutlined(cr, far, outlineThin);
    hillsPath(cr, HillProfile{500, 80, 20, 2.1, 120});
    fillOutlined(cr, mid, outlineThin);
    hillsPath(cr, HillProfile{530, 40, 14, 4.0, 90});
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
    cairo_rectangle(cr, x - 60, groundY - 80, 120, 86);
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

// The picnic blanket: gingham in coral and cream, seen at an angle, with a basket; `scale` 1
// makes a blanket about 350 pixels wide.
void drawPicnic(cairo_t* cr, double x, double y, double scale) {
    cairo_save(cr);
    cairo_translate(cr, x, y);
    cairo_scale(cr, scale, scale);
    cairo_save(cr);
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
    roundedRectPath(cr, 20, -70, 90, 60, 10);
    fillOutlined(cr, palette::orange, outlineThin);
    cairo_new_path(cr);
    cairo_arc(cr, 65, -70, 34, M_PI, 2 * M_PI);
    strokeInk(cr, 6);
    cairo_move_to(cr, 20, -48);
    cairo_line_to(cr, 110, -48);
    strokeInk(cr, 3);
    cairo_restore(cr);
}

// The meadow's top line: low on the left, under the sun, with a round hill in the middle.
const HillProfile meadow{484, 0, 7, 1.0, 60};
double meadowTopY(double x) { return hillTopY(meadow, x) - 80 * std::exp(-std::pow((x - 600) / 210, 2)); }

void drawMeadow(cairo_t* cr) {
    cairo_move_to(cr, -10, screenBottom);
    for (int x = -10; x <= layerWidth + 10; x += 8) cairo_line_to(cr, x, meadowTopY(x));
    cairo_line_to(cr, layerWidth + 10, screenBottom);
    cairo_close_path(cr);
    fillOutlined(cr, palette::grass, outlineWide);
}

void drawForeground(cairo_t* cr) {
    drawMeadow(cr);
    drawTree(cr, 700, meadowTopY(700) + 8, 54);
    drawHouse(cr, 560, meadowTopY(560) + 10);
    drawTree(cr, 780, meadowTopY(780) + 8, 80);
    const Rgb nearGrass = mixRgb(palette::grass, palette::teal, 0.3);
    hillsPath(cr, HillProfile{536, 0, 10, 3.0, 70});
    fillOutlined(cr, nearGrass, outlineWide);
    drawPicnic(cr, 300, 512, 0.62);
    const Rgb petals[] = {palette::white, palette::coral, palette::sun, palette::blush};
    for (int i = 0; i < 18; ++i) {
        double x = 24 + std::fmod(i * 157.3, 840.0);
        double y = 526 + 14 * std::sin(i * 1.7);
        if (x > 150 && x < 440) continue;  // the blanket's place
        drawFlower(cr, x, y, 11 + (i % 4) * 3, petals[i % 4]);
    }
    for (int i = 0; i < 5; ++i) {
        double x = 450 + i * 88 + 20 * std::sin(i * 2.3);
        drawFlower(cr, x, meadowTopY(x) + 34 + 10 * std::cos(i * 1.3), 9 + (i % 3) * 2, petals[(i + 1) % 4]);
    }
}

int drawLayer(const ArtJob& job, void (*draw)(cairo_t* cr), const char* path) {
    Canvas canvas = makeCanvas(layerWidth, layerHeight, false);
    cairo_save(canvas.cr);
    cairo_translate(canvas.cr, 0, -screenTop);
    draw(canvas.cr);
    cairo_restore(canvas.cr);
    fadeCanvas(canvas, refrainCoverage);
    int result = writeCanvas(canvas, job.outRoot, path, false);
    freeCanvas(canvas);
    return result;
}

int drawSun(const ArtJob& job) {
    Canvas canvas = makeCanvas(sunSize, sunSize, false);
    drawSunCharacter(canvas.cr);
    int result = writeCanvas(canvas, job.outRoot, "data/refrain/mirekand-o-sol.png", false);
    freeCanvas(canvas);
    return result;
}

}  // namespace

int drawRefrainImages(const ArtJob& job) {
    if (drawLayer(job, drawBackground, "data/refrain/refrain-bg.png") != 0) return -1;
    if (drawSun(job) != 0) return -1;
    return drawLayer(job, drawForeground, "data/refrain/refrain-foregrund.png");
}
