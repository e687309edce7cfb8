// The refrain picture in three layers: a sky with far hills, a sun that turns about its
// centre, and a foreground of meadows with a picnic, trees and a house (transparent above).
// Each layer is drawn in screen coordinates as it is seen at rest, leaves the gap for Pip and
// ends in the soft lower edge above the bubbles (see art_refrain_edge.h). The gap's
// comic-panel border belongs to the background, drawn in each of its skies, so Pip's panel is
// framed the same with or without the foreground; the foreground's gap takes in the border
// too, and its meadow ends at the border's outer edge.
//
// The background, 1280 x 2200, is three skies one under the other, 740 rows apart, each laid
// out as a whole screen for its own resting place, so the choreography picks the time of day
// by the layer's y alone:
//   day     rows    0 ..  586, at rest at y     0 (blue sky, clouds, birds, green hills);
//   sunset  rows  740 .. 1326, at rest at y  -740 (violet to orange sky, pink cloud streaks);
//   night   rows 1480 .. 2066, at rest at y -1480 (dark sky, stars, a crescent moon, blue hills).
// Each sky has its own bordered gap for Pip and ends in its own soft lower edge (around
// screen row 560 at rest, gone by row 586), and the layer is fully transparent from there down
// to the next sky, so at those three values of y the picture keeps clear of the bubbles and of
// Pip. At y -2200 or above nothing of it is on screen, and from there the night slides down to
// its rest with its lower edge always above the bubbles. Any other move (into the day or the sunset
// from above, or from one sky to another) carries the skies' transparent bands and a sky past
// the bubble row while it runs: it reads as a sweep when it lasts a beat or so, or it is a cut
// (a white flash hides it); a slow slide between two skies would cover the bubbles.
//
// The sun (1280 x 1280, turning about its middle) has no face: a disc with rings, rays and a
// glow, the same at any angle; it reaches 380 pixels from its middle, so turning about (180,
// 200) it stays clear of the meadow's edge and of Pip's bubble. The foreground rests at y -400
// (refrainRestingTop) and hops up by 14 in refrains 2 and 3.
#include <cmath>
#include <iterator>

#include "art_canvas.h"
#include "base/show_facts.h"
#include "art_characters.h"
#include "art_groups.h"
#include "art_refrain_edge.h"
#include "art_shapes.h"

namespace {

constexpr int layerWidth = designSpaceWidth;
constexpr int foregroundHeight = 1000;
constexpr int skyPitch = 740;  // the rows from one sky of the background to the next
constexpr int skyCount = 3;
constexpr int backgroundHeight = 2200;
static_assert(skyPitch >= designSpaceHeight && lowerEdgeBottom < skyPitch, "each sky is a screen of its own");
static_assert((skyCount - 1) * skyPitch + designSpaceHeight <= backgroundHeight, "the last sky fills a screen");
constexpr double groundBottom = designSpaceHeight + 80;  // hills and meadows reach below the screen

const CloudBump skyCloud[] = {{-70, 10, 40}, {-25, -20, 55}, {35, -10, 48}, {80, 12, 36}, {0, 18, 42}};

void drawSkyCloud(cairo_t* cr, double x, double y, double scale) {
    drawCloud(cr, skyCloud, int(std::size(skyCloud)), x, y, scale, 2 * outlineThin);
    // A soft shade along the bottom.
    cairo_save(cr);
    cloudPath(cr, skyCloud, int(std::size(skyCloud)), x, y, scale);
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
    cairo_move_to(cr, -10, groundBottom);
    for (int x = -10; x <= layerWidth + 10; x += 8) cairo_line_to(cr, x, hillTopY(hill, x));
    cairo_line_to(cr, layerWidth + 10, groundBottom);
    cairo_close_path(cr);
}

void drawBird(cairo_t* cr, double x, double y, double size) {
    cairo_move_to(cr, x - size, y - size * 0.4);
    cairo_curve_to(cr, x - size * 0.6, y - size * 0.7, x - size * 0.2, y - size * 0.5, x, y);
    cairo_curve_to(cr, x + size * 0.2, y - size * 0.5, x + size * 0.6, y - size * 0.7, x + size, y - size * 0.4);
    strokeInk(cr, 3.5);
}

// The far hills of a sky, three bands rising toward the right, in its own colours.
void drawFarHills(cairo_t* cr, Rgb far, Rgb mid, Rgb near) {
    hillsPath(cr, HillProfile{468, 110, 22, 0.4, 160});
    fillOutlined(cr, far, outlineThin);
    hillsPath(cr, HillProfile{500, 80, 20, 2.1, 120});
    fillOutlined(cr, mid, outlineThin);
    hillsPath(cr, HillProfile{530, 40, 14, 4.0, 90});
    fillOutlined(cr, near, outlineThin);
}

void drawDaySky(cairo_t* cr) {
    const Rgb sky[] = {mixRgb(palette::sky, palette::night, 0.25), palette::sky, palette::sky,
                       mixRgb(palette::cream, palette::sun, 0.35)};
    paintVerticalGradient(cr, 0, 470, sky, 4);
    drawSkyCloud(cr, 1090, 96, 1.0);
    drawSkyCloud(cr, 640, 64, 0.7);
    drawSkyCloud(cr, 760, 250, 0.45);
    drawBird(cr, 700, 150, 16);
    drawBird(cr, 745, 176, 12);
    drawBird(cr, 960, 196, 13);
    const Rgb mid = mixRgb(palette::teal, palette::sky, 0.4);
    drawFarHills(cr, mixRgb(palette::sky, palette::purple, 0.35), mid, mixRgb(mid, palette::grass, 0.5));
}

// A long thin cloud lit from below by the setting sun.
void drawStreak(cairo_t* cr, double x, double y, double length) {
    roundedRectPath(cr, x - length * 0.5, y - 11, length, 22, 11);
    fillOutlined(cr, mixRgb(palette::blush, palette::cream, 0.35), outlineThin);
    roundedRectPath(cr, x - length * 0.3, y - 27, length * 0.45, 18, 9);
    fillOutlined(cr, mixRgb(palette::blush, palette::cream, 0.55), outlineThin);
}

void drawSunsetSky(cairo_t* cr) {
    const Rgb sky[] = {mixRgb(palette::night, palette::purple, 0.5), palette::purple,
                       mixRgb(palette::coral, palette::purple, 0.25), palette::orange,
                       mixRgb(palette::sun, palette::cream, 0.3)};
    paintVerticalGradient(cr, 0, 480, sky, 5);
    drawStreak(cr, 700, 120, 260);
    drawStreak(cr, 1080, 80, 320);
    drawStreak(cr, 760, 300, 180);
    drawBird(cr, 640, 230, 14);
    drawBird(cr, 690, 250, 10);
    const Rgb far = mixRgb(palette::purple, palette::coral, 0.35);
    const Rgb mid = mixRgb(palette::purple, palette::night, 0.2);
    drawFarHills(cr, far, mid, mixRgb(mid, palette::teal, 0.3));
}

void drawCrescentMoon(cairo_t* cr, double x, double y, double r) {
    cairo_pattern_t* glow = cairo_pattern_create_radial(x, y, r, x, y, r * 2.2);
    cairo_pattern_add_color_stop_rgba(glow, 0.0, palette::cream.r, palette::cream.g, palette::cream.b, 0.25);
    cairo_pattern_add_color_stop_rgba(glow, 1.0, palette::cream.r, palette::cream.g, palette::cream.b, 0.0);
    cairo_set_source(cr, glow);
    circlePath(cr, x, y, r * 2.2);
    cairo_fill(cr);
    cairo_pattern_destroy(glow);
    cairo_new_sub_path(cr);
    cairo_arc(cr, x, y, r, -2.2, 2.2);
    cairo_arc_negative(cr, x - r * 0.55, y, r * 0.82, 1.75, -1.75);
    cairo_close_path(cr);
    fillOutlined(cr, mixRgb(palette::cream, palette::sun, 0.25), outlineThin);
}

// Stars over the whole sky above the hills, away from the moon: dots, and every fifth a sparkle.
void drawStars(cairo_t* cr, double moonX, double moonY) {
    SeededRandom random{20240607u};
    for (int i = 0; i < 90; ++i) {
        double x = randomUnit(random) * layerWidth;
        double y = randomUnit(random) * 420;
        double size = 5 + randomUnit(random) * 9;
        if (std::hypot(x - moonX, y - moonY) < 120) continue;
        if (i % 5 == 0) {
            sparklePath(cr, x, y, size * 2.4);
            fillOutlined(cr, mixRgb(palette::sun, palette::cream, 0.4), 2);
        } else {
            circlePath(cr, x, y, size * 0.3);
            setRgb(cr, palette::cream, 0.6 + 0.4 * randomUnit(random));
            cairo_fill(cr);
        }
    }
}

void drawNightSky(cairo_t* cr) {
    const Rgb sky[] = {mixRgb(palette::night, palette::ink, 0.6), palette::night,
                       mixRgb(palette::night, palette::purple, 0.7)};
    paintVerticalGradient(cr, 0, 500, sky, 3);
    drawStars(cr, 1070, 110);
    drawCrescentMoon(cr, 1070, 110, 56);
    const Rgb far = mixRgb(palette::night, palette::sky, 0.3);
    const Rgb mid = mixRgb(palette::night, palette::teal, 0.25);
    drawFarHills(cr, far, mid, mixRgb(palette::night, palette::grass, 0.3));
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
    cairo_move_to(cr, -10, groundBottom);
    for (int x = -10; x <= layerWidth + 10; x += 8) cairo_line_to(cr, x, meadowTopY(x));
    cairo_line_to(cr, layerWidth + 10, groundBottom);
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

double foregroundCoverage(double x, double y) {
    return std::fmin(lowerEdgeCoverage(x, y + refrainRestingTop), topEdgeCoverage(x, y));
}

double backgroundCoverage(double x, double y) { return lowerEdgeCoverage(x, std::fmod(y, skyPitch)); }

int drawBackground(const ArtJob& job) {
    void (*const skies[skyCount])(cairo_t * cr) = {drawDaySky, drawSunsetSky, drawNightSky};
    Canvas canvas = makeCanvas(layerWidth, backgroundHeight, false);
    for (int k = 0; k < skyCount; ++k) {
        cairo_save(canvas.cr);
        cairo_translate(canvas.cr, 0, k * skyPitch);
        cairo_rectangle(canvas.cr, 0, 0, layerWidth, skyPitch);
        cairo_clip(canvas.cr);
        skies[k](canvas.cr);
        cutPipGap(canvas.cr, 0);
        drawPipPanelBorder(canvas.cr);
        cairo_restore(canvas.cr);
    }
    fadeCanvas(canvas, backgroundCoverage);
    int result = writeCanvas(canvas, job.outRoot, showImageFileName(ShowImagePart::refrainBackground, 0), false);
    freeCanvas(canvas);
    return result;
}

int drawForegroundLayer(const ArtJob& job) {
    Canvas canvas = makeCanvas(layerWidth, foregroundHeight, false);
    cairo_save(canvas.cr);
    cairo_translate(canvas.cr, 0, -refrainRestingTop);
    drawForeground(canvas.cr);
    cutPipGap(canvas.cr, foregroundGapGrow);
    cairo_restore(canvas.cr);
    fadeCanvas(canvas, foregroundCoverage);
    int result = writeCanvas(canvas, job.outRoot, showImageFileName(ShowImagePart::refrainForeground, 0), false);
    freeCanvas(canvas);
    return result;
}

// The turning sun, drawn about the middle of its image.
constexpr int sunImageSize = 1280;
constexpr double sunMiddle = sunImageSize * 0.5;
constexpr double sunDisc = 223;  // the disc's radius; the glow ends at 380

void drawSunGlow(cairo_t* cr) {
    cairo_pattern_t* glow = cairo_pattern_create_radial(sunMiddle, sunMiddle, sunDisc, sunMiddle, sunMiddle, 380);
    cairo_pattern_add_color_stop_rgba(glow, 0.0, palette::sun.r, palette::sun.g, palette::sun.b, 0.5);
    cairo_pattern_add_color_stop_rgba(glow, 1.0, palette::sun.r, palette::sun.g, palette::sun.b, 0.0);
    cairo_set_source(cr, glow);
    circlePath(cr, sunMiddle, sunMiddle, 380);
    cairo_fill(cr);
    cairo_pattern_destroy(glow);
}

// Sixteen rays, long orange ones between short yellow ones.
void drawSunRays(cairo_t* cr) {
    for (int i = 0; i < 16; ++i) {
        double a = i * M_PI / 8;
        double reach = i % 2 == 0 ? 362 : 312;
        double half = i % 2 == 0 ? 0.15 : 0.12;
        cairo_move_to(cr, sunMiddle + std::cos(a - half) * 210, sunMiddle + std::sin(a - half) * 210);
        cairo_line_to(cr, sunMiddle + std::cos(a) * reach, sunMiddle + std::sin(a) * reach);
        cairo_line_to(cr, sunMiddle + std::cos(a + half) * 210, sunMiddle + std::sin(a + half) * 210);
        cairo_close_path(cr);
        fillOutlined(cr, i % 2 == 0 ? palette::orange : palette::sun, outlineWide);
    }
}

// A star of eight points about the sun's middle, between two radii.
void sunStarPath(cairo_t* cr, double inner, double outer) {
    for (int i = 0; i < 16; ++i) {
        double a = i * M_PI / 8;
        double r = i % 2 == 0 ? outer : inner;
        if (i == 0)
            cairo_move_to(cr, sunMiddle + r * std::cos(a), sunMiddle + r * std::sin(a));
        else
            cairo_line_to(cr, sunMiddle + r * std::cos(a), sunMiddle + r * std::sin(a));
    }
    cairo_close_path(cr);
}

// The disc: light in the middle, a ring of orange, a ring of cream dots and a soft star about
// the middle, all centred, so the sun looks the same at any angle.
void drawSunDisc(cairo_t* cr) {
    cairo_pattern_t* disc = cairo_pattern_create_radial(sunMiddle, sunMiddle, 0, sunMiddle, sunMiddle, sunDisc);
    Rgb light = mixRgb(palette::sun, palette::cream, 0.6);
    cairo_pattern_add_color_stop_rgb(disc, 0.0, light.r, light.g, light.b);
    cairo_pattern_add_color_stop_rgb(disc, 0.6, palette::sun.r, palette::sun.g, palette::sun.b);
    cairo_pattern_add_color_stop_rgb(disc, 1.0, palette::sun.r, palette::sun.g * 0.9, palette::sun.b);
    circlePath(cr, sunMiddle, sunMiddle, sunDisc);
    cairo_set_source(cr, disc);
    cairo_fill_preserve(cr);
    cairo_pattern_destroy(disc);
    strokeInk(cr, outlineWide + 3);
    cairo_set_fill_rule(cr, CAIRO_FILL_RULE_EVEN_ODD);
    circlePath(cr, sunMiddle, sunMiddle, 168);
    circlePath(cr, sunMiddle, sunMiddle, 146);
    fillOutlined(cr, palette::orange, outlineThin);
    cairo_set_fill_rule(cr, CAIRO_FILL_RULE_WINDING);
    for (int i = 0; i < 16; ++i) {
        double a = (i + 0.5) * M_PI / 8;
        circlePath(cr, sunMiddle + std::cos(a) * 195, sunMiddle + std::sin(a) * 195, 9);
    }
    fillOutlined(cr, palette::cream, 2.5);
    sunStarPath(cr, 62, 108);
    setRgb(cr, palette::orange, 0.45);
    cairo_fill(cr);
    circlePath(cr, sunMiddle, sunMiddle, 40);
    setRgb(cr, palette::cream, 0.8);
    cairo_fill(cr);
}

int drawSun(const ArtJob& job) {
    Canvas canvas = makeCanvas(sunImageSize, sunImageSize, false);
    drawSunGlow(canvas.cr);
    drawSunRays(canvas.cr);
    drawSunDisc(canvas.cr);
    int result = writeCanvas(canvas, job.outRoot, showImageFileName(ShowImagePart::refrainSun, 0), false);
    freeCanvas(canvas);
    return result;
}

}  // namespace

int drawRefrainImages(const ArtJob& job) {
    if (drawBackground(job) != 0) return -1;
    if (drawSun(job) != 0) return -1;
    return drawForegroundLayer(job);
}
