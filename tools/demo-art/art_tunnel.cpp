// The tunnel's three textures. Each ring of the tunnel is one to three squares carrying a whole
// texture, spinning and blended over the rings behind it, so each texture is one round motif,
// a wheel, centred in the square: its outer part fades to fully transparent well inside the
// square's sides and corners, so no square edge is ever seen, and its middle is left empty, so
// the nearest ring, which the camera flies through and which covers the screen with the
// texture's middle, passes as a ring rushing by instead of a smear.
//
// Colour: the tunnel multiplies every ring by a colour of its own (near rings dark and nearly
// opaque, far rings bright and faint), so the wheels are saturated and bold, each in its own
// palette (hot magenta and orange, electric blue and cyan, green and violet), with thick ink
// outlines and large shapes that still read when a ring is small and far; far rings are drawn
// without mipmaps, so fine lines would only shimmer.
//
// Size: the largest rings still whole on a 1280 x 720 screen are about 700 pixels across, so
// 1024 texels a side keeps them sharp.
#include <cmath>

#include "art_canvas.h"
#include "art_groups.h"

namespace {

constexpr int textureSize = 1024;
constexpr double centre = textureSize * 0.5;
constexpr double fadeInner = 400;  // the wheel is whole within this radius
constexpr double fadeOuter = 440;  // and fully transparent beyond this one (72 texels from a side)
constexpr double inkWidth = 10;

// The vivid colours of the wheels; they stand apart from the show's softer palette on purpose,
// as the tunnel's ring colours darken and tint them.
constexpr Rgb magenta{1.00, 0.12, 0.58};
constexpr Rgb hotOrange{1.00, 0.45, 0.05};
constexpr Rgb lemon{1.00, 0.88, 0.15};
constexpr Rgb electricBlue{0.10, 0.33, 1.00};
constexpr Rgb cyan{0.10, 0.90, 1.00};
constexpr Rgb deepBlue{0.12, 0.10, 0.62};
constexpr Rgb leafGreen{0.25, 0.85, 0.25};
constexpr Rgb violet{0.58, 0.22, 0.95};
constexpr Rgb lilac{0.84, 0.66, 1.00};

double smoothStep(double from, double to, double value) {
    double t = std::fmin(1.0, std::fmax(0.0, (value - from) / (to - from)));
    return t * t * (3 - 2 * t);
}

double wheelCoverage(double x, double y) {
    return smoothStep(fadeOuter, fadeInner, std::hypot(x - centre, y - centre));
}

// The band between two radii about the centre (filled with the even-odd rule).
void annulusPath(cairo_t* cr, double inner, double outer) {
    circlePath(cr, centre, centre, outer);
    circlePath(cr, centre, centre, inner);
}

void fillBand(cairo_t* cr, double inner, double outer, Rgb colour) {
    cairo_set_fill_rule(cr, CAIRO_FILL_RULE_EVEN_ODD);
    annulusPath(cr, inner, outer);
    fillOutlined(cr, colour, inkWidth);
    cairo_set_fill_rule(cr, CAIRO_FILL_RULE_WINDING);
}

// A star of `points` points about the centre, tips at `outer`, valleys at `inner`.
void starPath(cairo_t* cr, int points, double inner, double outer, double turn) {
    for (int i = 0; i < 2 * points; ++i) {
        double a = turn + i * M_PI / points;
        double r = i % 2 == 0 ? outer : inner;
        double x = centre + std::cos(a) * r;
        double y = centre + std::sin(a) * r;
        if (i == 0)
            cairo_move_to(cr, x, y);
        else
            cairo_line_to(cr, x, y);
    }
    cairo_close_path(cr);
}

// The star with a round hole of radius `hole` in its middle.
void fillStarRing(cairo_t* cr, int points, double inner, double outer, double turn, double hole, Rgb colour) {
    cairo_set_fill_rule(cr, CAIRO_FILL_RULE_EVEN_ODD);
    starPath(cr, points, inner, outer, turn);
    circlePath(cr, centre, centre, hole);
    fillOutlined(cr, colour, inkWidth);
    cairo_set_fill_rule(cr, CAIRO_FILL_RULE_WINDING);
}

// A piece of the band between two radii and two angles.
void sectorPath(cairo_t* cr, double inner, double outer, double from, double to) {
    cairo_new_sub_path(cr);
    cairo_arc(cr, centre, centre, outer, from, to);
    cairo_arc_negative(cr, centre, centre, inner, to, from);
    cairo_close_path(cr);
}

// tunnel1: a sunburst in hot magenta and orange: a twelve-pointed star with a lemon dot in
// each point, around a band of orange and lemon segments.
void drawSunburst(cairo_t* cr) {
    fillStarRing(cr, 12, 300, 405, 0, 290, magenta);
    for (int i = 0; i < 12; ++i) {
        double a = i * M_PI / 6;
        circlePath(cr, centre + std::cos(a) * 340, centre + std::sin(a) * 340, 20);
    }
    fillOutlined(cr, lemon, 6);
    for (int i = 0; i < 24; ++i) {
        double from = i * M_PI / 12;
        sectorPath(cr, 230, 300, from, from + M_PI / 12);
        fillOutlined(cr, i % 2 == 0 ? hotOrange : lemon, 6);
    }
    fillBand(cr, 200, 230, magenta);
}

// tex6: a cog in electric blue and cyan: sixteen saw teeth around a cyan band set with white
// diamonds, and a deep blue rim inside.
void drawCog(cairo_t* cr) {
    fillStarRing(cr, 16, 320, 405, M_PI / 16, 310, electricBlue);
    fillBand(cr, 240, 320, cyan);
    for (int i = 0; i < 16; ++i) {
        double a = i * M_PI / 8;
        double x = centre + std::cos(a) * 280;
        double y = centre + std::sin(a) * 280;
        double along[2] = {std::cos(a) * 30, std::sin(a) * 30};
        double across[2] = {-std::sin(a) * 17, std::cos(a) * 17};
        cairo_move_to(cr, x + along[0], y + along[1]);
        cairo_line_to(cr, x + across[0], y + across[1]);
        cairo_line_to(cr, x - along[0], y - along[1]);
        cairo_line_to(cr, x - across[0], y - across[1]);
        cairo_close_path(cr);
    }
    fillOutlined(cr, palette::white, 5);
    fillBand(cr, 205, 240, deepBlue);
    for (int i = 0; i < 8; ++i) {
        double from = i * M_PI / 4 + 0.12;
        sectorPath(cr, 216, 229, from, from + M_PI / 4 - 0.24);
    }
    setRgb(cr, cyan);
    cairo_fill(cr);
}

// A petal or a leaf pointing away from the centre at angle a, its middle at radius r.
void petalPath(cairo_t* cr, double a, double r, double length, double width) {
    cairo_save(cr);
    cairo_translate(cr, centre + std::cos(a) * r, centre + std::sin(a) * r);
    cairo_rotate(cr, a);
    cairo_move_to(cr, -length, 0);
    cairo_curve_to(cr, -length * 0.4, -width, length * 0.4, -width, length, 0);
    cairo_curve_to(cr, length * 0.4, width, -length * 0.4, width, -length, 0);
    cairo_close_path(cr);
    cairo_restore(cr);
}

// tex9: a wreath in green and violet: ten violet petals with green leaves between them,
// around a green band dotted with lilac.
void drawWreath(cairo_t* cr) {
    for (int i = 0; i < 10; ++i) {
        petalPath(cr, (i + 0.5) * M_PI / 5, 335, 62, 36);
        fillOutlined(cr, leafGreen, 7);
    }
    for (int i = 0; i < 10; ++i) {
        double a = i * M_PI / 5;
        ellipsePath(cr, centre + std::cos(a) * 320, centre + std::sin(a) * 320, 72, 72);
        fillOutlined(cr, violet, inkWidth);
        circlePath(cr, centre + std::cos(a) * 320, centre + std::sin(a) * 320, 34);
        fillOutlined(cr, lilac, 6);
    }
    fillBand(cr, 205, 250, leafGreen);
    for (int i = 0; i < 20; ++i) {
        double a = (i + 0.5) * M_PI / 10;
        circlePath(cr, centre + std::cos(a) * 227.5, centre + std::sin(a) * 227.5, 9);
    }
    setRgb(cr, lilac);
    cairo_fill(cr);
}

int drawTexture(const ArtJob& job, void (*wheel)(cairo_t* cr), int index) {
    Canvas canvas = makeCanvas(textureSize, textureSize, false);
    wheel(canvas.cr);
    fadeCanvas(canvas, wheelCoverage);
    int result = writeCanvas(canvas, job.outRoot, showImageFileName(ShowImagePart::tunnelTextures, index), false);
    freeCanvas(canvas);
    return result;
}

}  // namespace

int drawTunnelImages(const ArtJob& job) {
    if (drawTexture(job, drawSunburst, 0) != 0) return -1;
    if (drawTexture(job, drawCog, 1) != 0) return -1;
    return drawTexture(job, drawWreath, 2);
}
