// The polaroids' photos: small scenes drawn from the same shapes and palette as the rest of
// the show, with a seeded random generator of our own for the details (deterministic).
#include "art_photos.h"

#include <cmath>
#include <cstdint>
#include <iterator>

#include "art_canvas.h"
#include "art_characters.h"
#include "art_shapes.h"

namespace {

// A small xorshift generator: the same seed gives the same details on every machine.
struct Random {
    uint32_t state;
};

double nextUnit(Random& random) {
    random.state ^= random.state << 13;
    random.state ^= random.state >> 17;
    random.state ^= random.state << 5;
    return double(random.state) / 4294967296.0;
}

void verticalGradient(cairo_t* cr, double size, Rgb top, Rgb bottom) {
    cairo_pattern_t* gradient = cairo_pattern_create_linear(0, 0, 0, size);
    cairo_pattern_add_color_stop_rgb(gradient, 0, top.r, top.g, top.b);
    cairo_pattern_add_color_stop_rgb(gradient, 1, bottom.r, bottom.g, bottom.b);
    cairo_set_source(cr, gradient);
    cairo_paint(cr);
    cairo_pattern_destroy(gradient);
}

void hillBand(cairo_t* cr, double size, double base, double height, double phase, Rgb colour) {
    cairo_move_to(cr, -5, size + 5);
    for (double x = -5; x <= size + 5; x += 4) {
        cairo_line_to(cr, x, base - height * std::sin(x / size * 5.0 + phase));
    }
    cairo_line_to(cr, size + 5, size + 5);
    cairo_close_path(cr);
    fillOutlined(cr, colour, 2.5);
}

// Three bumps, in units of the middle one's radius.
const CloudBump smallCloudBumps[] = {{-1, 0, 0.8}, {0, -0.4, 1}, {1, 0, 0.75}};

void smallCloud(cairo_t* cr, double x, double y, double r) {
    drawCloud(cr, smallCloudBumps, int(std::size(smallCloudBumps)), x, y, r, 5);
}

void sunDisc(cairo_t* cr, double x, double y, double r, Rgb colour) {
    circlePath(cr, x, y, r * 1.5);
    setRgb(cr, colour, 0.25);
    cairo_fill(cr);
    circlePath(cr, x, y, r);
    fillOutlined(cr, colour, 2.5);
}

void seaBand(cairo_t* cr, double size, double top, Rgb water, Rgb glint) {
    cairo_rectangle(cr, -5, top, size + 10, size);
    fillOutlined(cr, water, 2.5);
    for (int i = 0; i < 6; ++i) {
        double y = top + 10 + i * (size - top) / 6.0;
        double x = size * 0.5 + (i % 2 == 0 ? -1 : 1) * 10.0;
        cairo_move_to(cr, x - 10 - i * 6, y);
        cairo_line_to(cr, x + 10 + i * 6, y);
    }
    setRgb(cr, glint);
    cairo_set_line_width(cr, 3);
    cairo_stroke(cr);
}

struct Landscape {
    Rgb skyTop;
    Rgb skyBottom;
    Rgb sun;
    double sunX;
    double sunY;
    bool sea;
    Rgb land;
};

void drawLandscape(cairo_t* cr, double size, const Landscape& look, Random& random) {
    verticalGradient(cr, size, look.skyTop, look.skyBottom);
    sunDisc(cr, size * look.sunX, size * look.sunY, size * 0.13, look.sun);
    for (int i = 0; i < 2; ++i)
        smallCloud(cr, size * (0.2 + 0.6 * nextUnit(random)), size * (0.15 + 0.2 * nextUnit(random)), size * 0.06);
    if (look.sea) {
        seaBand(cr, size, size * 0.62, mixRgb(palette::sky, palette::teal, 0.4), palette::cream);
        return;
    }
    hillBand(cr, size, size * 0.66, size * 0.05, nextUnit(random) * 6, mixRgb(look.land, palette::sky, 0.4));
    hillBand(cr, size, size * 0.8, size * 0.05, nextUnit(random) * 6, look.land);
}

void drawStarsOver(cairo_t* cr, double size, Random& random, int count) {
    for (int i = 0; i < count; ++i) {
        double x = nextUnit(random) * size;
        double y = nextUnit(random) * size * 0.75;
        double s = 4 + nextUnit(random) * 8;
        if (i % 5 == 0) {
            sparklePath(cr, x, y, s * 1.8);
            setRgb(cr, palette::sun);
        } else {
            circlePath(cr, x, y, s * 0.3);
            setRgb(cr, palette::cream);
        }
        cairo_fill(cr);
    }
}

void drawMoon(cairo_t* cr, double x, double y, double r, bool face) {
    circlePath(cr, x, y, r);
    fillOutlined(cr, palette::cream, 3);
    circlePath(cr, x - r * 0.35, y + r * 0.35, r * 0.18);
    circlePath(cr, x + r * 0.4, y - r * 0.1, r * 0.12);
    setRgb(cr, mixRgb(palette::cream, palette::sky, 0.35));
    cairo_fill(cr);
    if (!face) return;
    cairo_new_path(cr);
    cairo_arc(cr, x - r * 0.3, y - r * 0.15, r * 0.14, M_PI + 0.3, 2 * M_PI - 0.3);
    cairo_new_sub_path(cr);
    cairo_arc(cr, x + r * 0.25, y - r * 0.15, r * 0.14, M_PI + 0.3, 2 * M_PI - 0.3);
    cairo_new_sub_path(cr);
    cairo_arc(cr, x, y + r * 0.15, r * 0.3, 0.4, M_PI - 0.4);
    strokeInk(cr, 4);
}

void drawSkyline(cairo_t* cr, double size, Random& random) {
    double x = -4;
    while (x < size) {
        double w = size * (0.1 + 0.1 * nextUnit(random));
        double h = size * (0.25 + 0.4 * nextUnit(random));
        cairo_rectangle(cr, x, size - h, w, h + 5);
        fillOutlined(cr, mixRgb(palette::night, palette::purple, nextUnit(random) * 0.6), 2.5);
        for (double wy = size - h + 10; wy < size - 10; wy += 16) {
            for (double wx = x + 6; wx < x + w - 10; wx += 14) {
                if (nextUnit(random) < 0.55) continue;
                cairo_rectangle(cr, wx, wy, 7, 9);
            }
        }
        setRgb(cr, palette::sun);
        cairo_fill(cr);
        x += w;
    }
}

void drawFlowerHead(cairo_t* cr, double x, double y, double r, Rgb petals) {
    for (int i = 0; i < 6; ++i) {
        double a = i * M_PI / 3;
        ellipsePath(cr, x + std::cos(a) * r * 0.6, y + std::sin(a) * r * 0.6, r * 0.5, r * 0.5);
    }
    fillOutlined(cr, petals, 2.5);
    circlePath(cr, x, y, r * 0.4);
    fillOutlined(cr, palette::sun, 2.5);
}

void drawFlowerField(cairo_t* cr, double size, Random& random) {
    verticalGradient(cr, size, palette::sky, mixRgb(palette::cream, palette::sky, 0.5));
    hillBand(cr, size, size * 0.55, size * 0.03, 1.0, palette::grass);
    const Rgb colours[] = {palette::coral, palette::white, palette::blush, palette::orange};
    for (int i = 0; i < 7; ++i) {
        double x = size * (0.1 + 0.8 * nextUnit(random));
        double y = size * (0.6 + 0.3 * nextUnit(random));
        cairo_move_to(cr, x, y);
        cairo_line_to(cr, x, size + 4);
        setRgb(cr, mixRgb(palette::grass, palette::ink, 0.4));
        cairo_set_line_width(cr, 4);
        cairo_stroke(cr);
        drawFlowerHead(cr, x, y, size * (0.06 + 0.04 * nextUnit(random)), colours[i % 4]);
    }
}

void drawRain(cairo_t* cr, double size, Random& random) {
    verticalGradient(cr, size, mixRgb(palette::sky, palette::ink, 0.45), mixRgb(palette::sky, palette::cream, 0.3));
    hillBand(cr, size, size * 0.82, size * 0.03, 2.0, mixRgb(palette::grass, palette::ink, 0.25));
    for (int i = 0; i < 40; ++i) {
        double x = nextUnit(random) * size;
        double y = size * 0.25 + nextUnit(random) * size * 0.7;
        cairo_move_to(cr, x, y);
        cairo_line_to(cr, x - 4, y + 12);
    }
    setRgb(cr, palette::cream, 0.8);
    cairo_set_line_width(cr, 3);
    cairo_stroke(cr);
    smallCloud(cr, size * 0.35, size * 0.2, size * 0.12);
    smallCloud(cr, size * 0.72, size * 0.15, size * 0.1);
}

void drawTunnelView(cairo_t* cr, double size, bool late) {
    const Rgb colours[] = {palette::teal, palette::purple, palette::coral, palette::sun};
    setRgb(cr, late ? palette::night : palette::ink);
    cairo_paint(cr);
    for (int i = 0; i < 9; ++i) {
        double half = size * 0.7 * std::pow(0.72, i);
        cairo_save(cr);
        cairo_translate(cr, size * 0.5, size * 0.5);
        cairo_rotate(cr, i * 0.18);
        roundedRectPath(cr, -half, -half, 2 * half, 2 * half, half * 0.2);
        cairo_restore(cr);
        Rgb colour = colours[i % 4];
        if (late) colour = mixRgb(colour, palette::night, 0.45);
        fillOutlined(cr, colour, 3);
    }
}

void drawPicnicPhoto(cairo_t* cr, double size) {
    setRgb(cr, palette::cream);
    cairo_paint(cr);
    for (int i = 0; i < 8; ++i) {
        cairo_rectangle(cr, i * size / 8, 0, size / 16, size);
        cairo_rectangle(cr, 0, i * size / 8, size, size / 16);
    }
    setRgb(cr, palette::coral, 0.5);
    cairo_fill(cr);
    circlePath(cr, size * 0.35, size * 0.45, size * 0.18);
    fillOutlined(cr, palette::white, 3);
    circlePath(cr, size * 0.35, size * 0.45, size * 0.1);
    fillOutlined(cr, palette::sun, 2.5);
    ellipsePath(cr, size * 0.7, size * 0.65, size * 0.12, size * 0.12);
    fillOutlined(cr, palette::coral, 3);
    cairo_move_to(cr, size * 0.7, size * 0.53);
    cairo_line_to(cr, size * 0.74, size * 0.46);
    strokeInk(cr, 4);
}

void drawMosaic(cairo_t* cr, double size, Random& random) {
    const Rgb colours[] = {palette::coral, palette::teal, palette::sun, palette::purple, palette::sky, palette::orange};
    int cells = 8;
    double cell = size / cells;
    for (int y = 0; y < cells; ++y) {
        for (int x = 0; x < cells; ++x) {
            cairo_rectangle(cr, x * cell, y * cell, cell, cell);
            setRgb(cr, colours[int(nextUnit(random) * 6) % 6]);
            cairo_fill(cr);
        }
    }
    for (int i = 1; i < cells; ++i) {
        cairo_move_to(cr, i * cell, 0);
        cairo_line_to(cr, i * cell, size);
        cairo_move_to(cr, 0, i * cell);
        cairo_line_to(cr, size, i * cell);
    }
    strokeInk(cr, 2);
}

void drawWaves(cairo_t* cr, double size) {
    verticalGradient(cr, size, mixRgb(palette::sky, palette::cream, 0.4), palette::sky);
    for (int row = 0; row < 6; ++row) {
        double base = size * 0.3 + row * size * 0.13;
        cairo_move_to(cr, -5, size + 5);
        for (double x = -5; x <= size + 5; x += 3) {
            cairo_line_to(cr, x, base - 8 * std::sin(x / size * 12 + row * 1.3));
        }
        cairo_line_to(cr, size + 5, size + 5);
        cairo_close_path(cr);
        fillOutlined(cr, mixRgb(palette::teal, palette::night, row * 0.1), 2.5);
    }
}

void drawCharacter(cairo_t* cr, double x, double y, double scale, bool villain, int look, const ArtFonts& fonts) {
    cairo_save(cr);
    cairo_translate(cr, x, y);
    cairo_scale(cr, scale, scale);
    if (villain)
        drawGlitch(cr, look, fonts);
    else
        drawPip(cr, pipFaces[look], fonts);
    cairo_restore(cr);
}

void drawPortrait(cairo_t* cr, double size, PhotoScene scene, const ArtFonts& fonts) {
    switch (scene) {
    case PhotoScene::pipSelfie:
        verticalGradient(cr, size, palette::sky, palette::cream);
        sunDisc(cr, size * 0.8, size * 0.2, size * 0.15, palette::sun);
        drawCharacter(cr, size * 0.08, size * 0.12, size / 390.0, false, 6, fonts);
        break;
    case PhotoScene::villain:
        verticalGradient(cr, size, palette::night, palette::purple);
        drawCharacter(cr, size * 0.05, size * 0.05, size / 300.0, true, 0, fonts);
        break;
    case PhotoScene::photobomb:
        verticalGradient(cr, size, palette::sky, palette::cream);
        drawCharacter(cr, size * 0.22, size * 0.18, size / 420.0, false, 2, fonts);
        drawCharacter(cr, -size * 0.28, size * 0.3, size / 330.0, true, 1, fonts);
        break;
    case PhotoScene::friends:
    case PhotoScene::gang:
        verticalGradient(cr, size, palette::sky, mixRgb(palette::cream, palette::sun, 0.3));
        if (scene == PhotoScene::gang) sunDisc(cr, size * 0.5, size * 0.18, size * 0.13, palette::sun);
        drawCharacter(cr, -size * 0.04, size * 0.32, size / 500.0, true, 1, fonts);
        drawCharacter(cr, size * 0.42, size * 0.26, size / 520.0, false, 6, fonts);
        break;
    case PhotoScene::dancing:
        verticalGradient(cr, size, palette::purple, palette::coral);
        drawCharacter(cr, size * 0.1, size * 0.1, size / 400.0, false, 5, fonts);
        break;
    default: break;
    }
}

}  // namespace

namespace {

// The outdoor scenes: a sky, a sun and hills or water, each with its own light.
bool drawDaytimePhoto(cairo_t* cr, PhotoScene scene, double size, Random& random) {
    const Rgb dusk = mixRgb(palette::coral, palette::purple, 0.4);
    const Rgb greenTeal = mixRgb(palette::grass, palette::teal, 0.4);
    switch (scene) {
    case PhotoScene::meadow:
        drawLandscape(cr, size, {palette::sky, palette::cream, palette::sun, 0.75, 0.25, false, palette::grass},
                      random);
        return true;
    case PhotoScene::hills:
        drawLandscape(
            cr, size,
            {mixRgb(palette::sky, palette::teal, 0.3), palette::cream, palette::sun, 0.2, 0.3, false, greenTeal},
            random);
        return true;
    case PhotoScene::beach:
        drawLandscape(cr, size, {palette::sky, palette::cream, palette::sun, 0.7, 0.3, true, palette::grass}, random);
        hillBand(cr, size, size * 0.9, size * 0.03, 0.5, mixRgb(palette::sun, palette::cream, 0.5));
        return true;
    case PhotoScene::lake:
        drawLandscape(cr, size, {palette::sky, palette::cream, palette::sun, 0.3, 0.3, true, palette::grass}, random);
        hillBand(cr, size, size * 0.62, size * 0.06, 2.5, greenTeal);
        return true;
    case PhotoScene::sunset:
        drawLandscape(cr, size, {dusk, palette::sun, palette::orange, 0.5, 0.58, true, palette::grass}, random);
        return true;
    case PhotoScene::goldenHour:
        drawLandscape(cr, size,
                      {palette::orange, palette::cream, palette::sun, 0.3, 0.5, false,
                       mixRgb(palette::grass, palette::orange, 0.3)},
                      random);
        return true;
    case PhotoScene::sunrise:
        drawLandscape(cr, size,
                      {palette::purple, palette::blush, palette::sun, 0.6, 0.62, false,
                       mixRgb(palette::grass, palette::purple, 0.3)},
                      random);
        return true;
    default: return false;
    }
}

void drawRingedPlanet(cairo_t* cr, double size) {
    circlePath(cr, size * 0.4, size * 0.55, size * 0.2);
    fillOutlined(cr, palette::teal, 3);
    ellipsePath(cr, size * 0.4, size * 0.55, size * 0.34, size * 0.07);
    strokeInk(cr, 9);
    ellipsePath(cr, size * 0.4, size * 0.55, size * 0.34, size * 0.07);
    setRgb(cr, palette::sun);
    cairo_set_line_width(cr, 4);
    cairo_stroke(cr);
}

// The night scenes: stars, and a moon, a city or a planet.
bool drawNightPhoto(cairo_t* cr, PhotoScene scene, double size, Random& random) {
    if (scene != PhotoScene::night && scene != PhotoScene::moon && scene != PhotoScene::stars &&
        scene != PhotoScene::city && scene != PhotoScene::space) {
        return false;
    }
    verticalGradient(cr, size, palette::ink, palette::night);
    drawStarsOver(cr, size, random, scene == PhotoScene::stars ? 40 : 18);
    if (scene == PhotoScene::moon) drawMoon(cr, size * 0.65, size * 0.3, size * 0.25, true);
    if (scene == PhotoScene::night) {
        drawMoon(cr, size * 0.65, size * 0.3, size * 0.12, false);
        hillBand(cr, size, size * 0.85, size * 0.04, 1.0, mixRgb(palette::grass, palette::night, 0.7));
    }
    if (scene == PhotoScene::city) drawSkyline(cr, size, random);
    if (scene == PhotoScene::space) drawRingedPlanet(cr, size);
    return true;
}

void drawSunPortrait(cairo_t* cr, double size) {
    verticalGradient(cr, size, palette::sky, palette::cream);
    cairo_save(cr);
    cairo_translate(cr, size * 0.5, size * 0.55);
    cairo_scale(cr, size / 700.0, size / 700.0);
    cairo_translate(cr, -sunSize * 0.5, -sunSize * 0.5);
    drawSunCharacter(cr);
    cairo_restore(cr);
}

// Everything else: close-ups, patterns and the characters' portraits.
void drawOtherPhoto(cairo_t* cr, PhotoScene scene, double size, unsigned seed, Random& random, const ArtFonts& fonts) {
    switch (scene) {
    case PhotoScene::sunFace: drawSunPortrait(cr, size); break;
    case PhotoScene::flowers: drawFlowerField(cr, size, random); break;
    case PhotoScene::rain: drawRain(cr, size, random); break;
    case PhotoScene::tunnel: drawTunnelView(cr, size, seed % 2 == 1); break;
    case PhotoScene::picnic: drawPicnicPhoto(cr, size); break;
    case PhotoScene::mosaic: drawMosaic(cr, size, random); break;
    case PhotoScene::waves: drawWaves(cr, size); break;
    default: drawPortrait(cr, size, scene, fonts); break;
    }
}

}  // namespace

void drawPhoto(cairo_t* cr, PhotoScene scene, double size, unsigned seed, const ArtFonts& fonts) {
    Random random{seed * 2654435761u + 12345u};
    cairo_save(cr);
    cairo_rectangle(cr, 0, 0, size, size);
    cairo_clip(cr);
    if (!drawDaytimePhoto(cr, scene, size, random) && !drawNightPhoto(cr, scene, size, random)) {
        drawOtherPhoto(cr, scene, size, seed, random, fonts);
    }
    cairo_restore(cr);
}
