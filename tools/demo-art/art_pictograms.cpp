// The pictograms, twenty in five rows of four. The first four rows are sign-like icons, 200 x
// 200, one theme a row (music, computers, weather, feelings): a rounded sign in the row's colour
// with a white symbol outlined in ink. The last row holds four opaque backdrops, 1800 x 1000,
// drawn centred on a point that drifts about the middle of the screen (up to 200 pixels across
// and 100 down, sometimes enlarged 1.2 times), so each fills the screen with room to spare: a
// city at night and outer space, and two backings for Pip's corner of the refrain picture, a
// burst of rays over a floor for dusk and night and one for the day. What matters lies in their
// middle 1300 x 760.
#include <cmath>
#include <iterator>
#include <string>

#include "art_canvas.h"
#include "art_characters.h"
#include "art_groups.h"
#include "art_shapes.h"

namespace {

constexpr int pictogramSize = 200;
constexpr double glyphLine = 5.0;
constexpr double cx = 100;
constexpr double cy = 100;
constexpr int iconRows = 4;  // then a row of backdrops
static_assert((iconRows + 1) * pictogramsPerRow == showImagePartSize(ShowImagePart::pictograms), "every pictogram");
constexpr int backdropWidth = 1800;
constexpr int backdropHeight = 1000;

void glyph(cairo_t* cr) { fillOutlined(cr, palette::white, glyphLine); }

void inkFill(cairo_t* cr) {
    setRgb(cr, palette::ink);
    cairo_fill(cr);
}

// Row 1: music.
void drawNotes(cairo_t* cr) {
    ellipsePath(cr, 68, 138, 20, 15);
    ellipsePath(cr, 132, 126, 20, 15);
    glyph(cr);
    cairo_move_to(cr, 86, 138);
    cairo_line_to(cr, 86, 58);
    cairo_line_to(cr, 150, 44);
    cairo_line_to(cr, 150, 126);
    strokeInk(cr, 9);
    cairo_move_to(cr, 86, 58);
    cairo_line_to(cr, 150, 44);
    cairo_line_to(cr, 150, 64);
    cairo_line_to(cr, 86, 78);
    cairo_close_path(cr);
    inkFill(cr);
}

void drawHeadphones(cairo_t* cr) {
    cairo_new_path(cr);
    cairo_arc(cr, cx, 108, 58, M_PI, 2 * M_PI);
    strokeInk(cr, 18);
    cairo_new_path(cr);
    cairo_arc(cr, cx, 108, 58, M_PI, 2 * M_PI);
    setRgb(cr, palette::white);
    cairo_set_line_width(cr, 8);
    cairo_stroke(cr);
    roundedRectPath(cr, 34, 96, 34, 60, 12);
    glyph(cr);
    roundedRectPath(cr, 132, 96, 34, 60, 12);
    glyph(cr);
}

void drawSpeaker(cairo_t* cr) {
    cairo_move_to(cr, 40, 78);
    cairo_line_to(cr, 70, 78);
    cairo_line_to(cr, 106, 46);
    cairo_line_to(cr, 106, 154);
    cairo_line_to(cr, 70, 122);
    cairo_line_to(cr, 40, 122);
    cairo_close_path(cr);
    glyph(cr);
    for (int i = 0; i < 2; ++i) {
        cairo_new_path(cr);
        cairo_arc(cr, 106, cx, 26 + i * 22, -0.9, 0.9);
        strokeInk(cr, 14);
        cairo_new_path(cr);
        cairo_arc(cr, 106, cx, 26 + i * 22, -0.9, 0.9);
        setRgb(cr, palette::white);
        cairo_set_line_width(cr, 5);
        cairo_stroke(cr);
    }
}

void drawMicrophone(cairo_t* cr) {
    cairo_new_path(cr);
    cairo_arc(cr, cx, 96, 40, 0, M_PI);
    strokeInk(cr, 8);
    cairo_move_to(cr, cx, 136);
    cairo_line_to(cr, cx, 160);
    cairo_move_to(cr, 74, 162);
    cairo_line_to(cr, 126, 162);
    strokeInk(cr, 8);
    roundedRectPath(cr, 78, 36, 44, 86, 22);
    glyph(cr);
    for (int i = 0; i < 3; ++i) {
        cairo_move_to(cr, 84, 56 + i * 12);
        cairo_line_to(cr, 116, 56 + i * 12);
    }
    strokeInk(cr, 3);
}

// Row 2: computers.
void drawFloppy(cairo_t* cr) {
    cairo_move_to(cr, 44, 44);
    cairo_line_to(cr, 140, 44);
    cairo_line_to(cr, 156, 60);
    cairo_line_to(cr, 156, 156);
    cairo_line_to(cr, 44, 156);
    cairo_close_path(cr);
    glyph(cr);
    cairo_rectangle(cr, 68, 44, 62, 36);
    setRgb(cr, palette::ink);
    cairo_fill(cr);
    cairo_rectangle(cr, 110, 50, 12, 24);
    setRgb(cr, palette::white);
    cairo_fill(cr);
    roundedRectPath(cr, 62, 104, 76, 44, 6);
    setRgb(cr, palette::teal);
    cairo_fill_preserve(cr);
    strokeInk(cr, 3.5);
}

void drawMonitor(cairo_t* cr) {
    cairo_move_to(cr, 86, 140);
    cairo_line_to(cr, 80, 162);
    cairo_line_to(cr, 120, 162);
    cairo_line_to(cr, 114, 140);
    cairo_close_path(cr);
    glyph(cr);
    roundedRectPath(cr, 36, 44, 128, 98, 12);
    glyph(cr);
    circlePath(cr, 84, 82, 6);
    circlePath(cr, 116, 82, 6);
    inkFill(cr);
    cairo_new_path(cr);
    cairo_arc(cr, cx, 96, 20, 0.3, M_PI - 0.3);
    strokeInk(cr, 5);
}

void drawGamepad(cairo_t* cr) {
    cairo_move_to(cr, 60, 70);
    cairo_line_to(cr, 140, 70);
    cairo_curve_to(cr, 176, 70, 184, 150, 158, 148);
    cairo_curve_to(cr, 140, 146, 132, 124, 118, 124);
    cairo_line_to(cr, 82, 124);
    cairo_curve_to(cr, 68, 124, 60, 146, 42, 148);
    cairo_curve_to(cr, 16, 150, 24, 70, 60, 70);
    cairo_close_path(cr);
    glyph(cr);
    cairo_rectangle(cr, 50, 92, 30, 10);
    cairo_rectangle(cr, 60, 82, 10, 30);
    inkFill(cr);
    circlePath(cr, 132, 90, 7);
    circlePath(cr, 148, 104, 7);
    setRgb(cr, palette::coral);
    cairo_fill_preserve(cr);
    strokeInk(cr, 3);
}

void drawChip(cairo_t* cr) {
    for (int i = 0; i < 4; ++i) {
        double p = 62 + i * 25;
        cairo_move_to(cr, p, 30);
        cairo_line_to(cr, p, 170);
        cairo_move_to(cr, 30, p);
        cairo_line_to(cr, 170, p);
    }
    strokeInk(cr, 9);
    roundedRectPath(cr, 48, 48, 104, 104, 10);
    glyph(cr);
    roundedRectPath(cr, 74, 74, 52, 52, 6);
    setRgb(cr, palette::teal);
    cairo_fill_preserve(cr);
    strokeInk(cr, 3.5);
}

// Row 3: weather.
const CloudBump weatherCloud[] = {{-34, 10, 26}, {-8, -12, 32}, {26, -2, 28}, {40, 16, 20}, {0, 18, 24}};

void drawCloudShape(cairo_t* cr, double x, double y, double scale) {
    drawCloud(cr, weatherCloud, int(std::size(weatherCloud)), x, y, scale, 2 * glyphLine);
}

void drawSunGlyph(cairo_t* cr) {
    for (int i = 0; i < 8; ++i) {
        double a = i * M_PI / 4;
        cairo_move_to(cr, cx + std::cos(a) * 52, cy + std::sin(a) * 52);
        cairo_line_to(cr, cx + std::cos(a) * 74, cy + std::sin(a) * 74);
    }
    strokeInk(cr, 14);
    for (int i = 0; i < 8; ++i) {
        double a = i * M_PI / 4;
        cairo_move_to(cr, cx + std::cos(a) * 52, cy + std::sin(a) * 52);
        cairo_line_to(cr, cx + std::cos(a) * 74, cy + std::sin(a) * 74);
    }
    setRgb(cr, palette::white);
    cairo_set_line_width(cr, 5);
    cairo_stroke(cr);
    circlePath(cr, cx, cy, 38);
    glyph(cr);
}

void drawCloudGlyph(cairo_t* cr) { drawCloudShape(cr, cx - 4, cy + 6, 1.35); }

void drawRainGlyph(cairo_t* cr) {
    for (int i = 0; i < 3; ++i) {
        double x = 66 + i * 32;
        cairo_move_to(cr, x, 128);
        cairo_curve_to(cr, x - 10, 146, x - 8, 156, x, 156);
        cairo_curve_to(cr, x + 8, 156, x + 10, 146, x, 128);
        cairo_close_path(cr);
        glyph(cr);
    }
    drawCloudShape(cr, cx - 2, 80, 1.15);
}

void drawStormGlyph(cairo_t* cr) {
    const double bolt[][2] = {{6, -30}, {-14, 4}, {0, 4}, {-8, 32}, {16, -6}, {2, -6}, {14, -30}};
    polygonPath(cr, bolt, int(std::size(bolt)), 96, 128, 1.4);
    fillOutlined(cr, palette::sun, glyphLine);
    drawCloudShape(cr, cx - 2, 74, 1.1);
}

// Row 4: feelings.
void drawHeartGlyph(cairo_t* cr) {
    heartPath(cr, cx, cy + 4, 124);
    glyph(cr);
}

void drawStarGlyph(cairo_t* cr) {
    for (int i = 0; i < 10; ++i) {
        double a = -M_PI / 2 + i * M_PI / 5;
        double r = i % 2 == 0 ? 70 : 30;
        if (i == 0)
            cairo_move_to(cr, cx + std::cos(a) * r, cy + 6 + std::sin(a) * r);
        else
            cairo_line_to(cr, cx + std::cos(a) * r, cy + 6 + std::sin(a) * r);
    }
    cairo_close_path(cr);
    glyph(cr);
}

void drawSmileyGlyph(cairo_t* cr) {
    circlePath(cr, cx, cy, 64);
    glyph(cr);
    ellipsePath(cr, 78, 84, 8, 12);
    ellipsePath(cr, 122, 84, 8, 12);
    inkFill(cr);
    cairo_new_path(cr);
    cairo_arc(cr, cx, 104, 34, 0.35, M_PI - 0.35);
    strokeInk(cr, 7);
}

void drawCrownGlyph(cairo_t* cr) {
    cairo_move_to(cr, 40, 140);
    cairo_line_to(cr, 34, 62);
    cairo_line_to(cr, 70, 96);
    cairo_line_to(cr, cx, 46);
    cairo_line_to(cr, 130, 96);
    cairo_line_to(cr, 166, 62);
    cairo_line_to(cr, 160, 140);
    cairo_close_path(cr);
    glyph(cr);
    roundedRectPath(cr, 38, 140, 124, 20, 6);
    glyph(cr);
    circlePath(cr, cx, 110, 9);
    setRgb(cr, palette::coral);
    cairo_fill_preserve(cr);
    strokeInk(cr, 3);
}

// Row 5: backdrops. Shared pieces first.

// Stars of random sizes over the picture down to `bottom`.
void scatterStars(cairo_t* cr, SeededRandom& random, int count, double bottom) {
    for (int i = 0; i < count; ++i) {
        double x = randomUnit(random) * backdropWidth;
        double y = randomUnit(random) * bottom;
        double size = 4 + randomUnit(random) * 10;
        if (i % 6 == 0) {
            sparklePath(cr, x, y, size * 2.6);
            fillOutlined(cr, mixRgb(palette::sun, palette::cream, 0.4), 2);
        } else {
            circlePath(cr, x, y, size * 0.32);
            setRgb(cr, palette::cream, 0.55 + 0.45 * randomUnit(random));
            cairo_fill(cr);
        }
    }
}

void softGlow(cairo_t* cr, double x, double y, double radius, Rgb colour, double alpha) {
    cairo_pattern_t* glow = cairo_pattern_create_radial(x, y, 0, x, y, radius);
    cairo_pattern_add_color_stop_rgba(glow, 0.0, colour.r, colour.g, colour.b, alpha);
    cairo_pattern_add_color_stop_rgba(glow, 1.0, colour.r, colour.g, colour.b, 0.0);
    cairo_set_source(cr, glow);
    circlePath(cr, x, y, radius);
    cairo_fill(cr);
    cairo_pattern_destroy(glow);
}

// 5.1, the city at night: one building of the skyline, its windows lit at random.
void drawBuilding(cairo_t* cr, SeededRandom& random, double x, double width, double top, double ground, Rgb wall) {
    cairo_rectangle(cr, x, top, width, ground - top);
    fillOutlined(cr, wall, outlineThin);
    const Rgb lit[] = {palette::sun, mixRgb(palette::sun, palette::cream, 0.5), palette::orange};
    for (double wy = top + 22; wy + 24 < ground; wy += 42) {
        for (double wx = x + 16; wx + 18 < x + width - 8; wx += 32) {
            bool on = randomUnit(random) < 0.45;
            roundedRectPath(cr, wx, wy, 18, 24, 3);
            setRgb(cr, on ? lit[int(randomUnit(random) * 3)] : mixRgb(wall, palette::ink, 0.35));
            cairo_fill(cr);
        }
    }
    if (randomUnit(random) < 0.35) {
        cairo_move_to(cr, x + width * 0.5, top);
        cairo_line_to(cr, x + width * 0.5, top - 50);
        strokeInk(cr, 4);
        circlePath(cr, x + width * 0.5, top - 54, 7);
        fillOutlined(cr, palette::coral, 2);
    }
}

void drawSkylineRow(cairo_t* cr, SeededRandom& random, double ground, double lowest, double tallest, Rgb wall) {
    double x = -30;
    while (x < backdropWidth + 30) {
        double width = 90 + randomUnit(random) * 110;
        double top = ground - lowest - randomUnit(random) * (tallest - lowest);
        drawBuilding(cr, random, x, width, top, ground, mixRgb(wall, palette::purple, randomUnit(random) * 0.4));
        x += width - 6;
    }
}

void drawCityBackdrop(cairo_t* cr) {
    const Rgb sky[] = {mixRgb(palette::night, palette::ink, 0.6), palette::night,
                       mixRgb(palette::purple, palette::coral, 0.3)};
    paintVerticalGradient(cr, 0, 820, sky, 3);
    SeededRandom random{51u};
    scatterStars(cr, random, 140, 560);
    softGlow(cr, 1290, 230, 220, palette::cream, 0.25);
    circlePath(cr, 1290, 230, 84);
    fillOutlined(cr, palette::cream, outlineThin);
    circlePath(cr, 1262, 210, 16);
    circlePath(cr, 1318, 256, 11);
    setRgb(cr, mixRgb(palette::cream, palette::sky, 0.35));
    cairo_fill(cr);
    drawSkylineRow(cr, random, 900, 260, 470, mixRgb(palette::night, palette::sky, 0.25));
    drawSkylineRow(cr, random, 960, 140, 340, mixRgb(palette::night, palette::ink, 0.2));
    cairo_rectangle(cr, -10, 940, backdropWidth + 20, 80);
    fillOutlined(cr, mixRgb(palette::ink, palette::night, 0.5), outlineThin);
}

// 5.2, outer space: a nebula, stars, a ringed planet, a cratered one and a small moon.
// Half of a planet's ring (the back half from pi to 2 pi, the front from 0 to pi), seen at a
// slant: an ink band with a coloured line along it.
void ringHalf(cairo_t* cr, double r, double from, double to, Rgb colour) {
    for (int pass = 0; pass < 2; ++pass) {
        cairo_new_path(cr);
        cairo_save(cr);
        cairo_scale(cr, 1.0, 0.3);
        cairo_arc(cr, 0, 0, r * 1.75, from, to);
        cairo_restore(cr);
        if (pass == 0) {
            strokeInk(cr, 26);
        } else {
            setRgb(cr, colour);
            cairo_set_line_width(cr, 14);
            cairo_stroke(cr);
        }
    }
}

void drawRingedPlanet(cairo_t* cr, double x, double y, double r) {
    cairo_save(cr);
    cairo_translate(cr, x, y);
    cairo_rotate(cr, -0.35);
    ringHalf(cr, r, M_PI, 2 * M_PI, mixRgb(palette::sun, palette::orange, 0.6));
    circlePath(cr, 0, 0, r);
    setRgb(cr, palette::orange);
    cairo_fill_preserve(cr);
    cairo_save(cr);
    cairo_clip(cr);
    for (int i = -2; i <= 2; ++i) cairo_rectangle(cr, -r, i * r * 0.36 - r * 0.08, 2 * r, r * 0.16);
    setRgb(cr, palette::coral, 0.7);
    cairo_fill(cr);
    cairo_restore(cr);
    circlePath(cr, 0, 0, r);
    strokeInk(cr, outlineWide);
    ringHalf(cr, r, 0, M_PI, palette::sun);
    cairo_restore(cr);
}

void drawCrateredPlanet(cairo_t* cr, double x, double y, double r, Rgb colour) {
    circlePath(cr, x, y, r);
    fillOutlined(cr, colour, outlineWide);
    const double craters[][3] = {{-0.35, -0.3, 0.2}, {0.3, 0.1, 0.26}, {-0.15, 0.45, 0.14}, {0.4, -0.45, 0.1}};
    for (const auto& crater : craters) {
        circlePath(cr, x + crater[0] * r, y + crater[1] * r, crater[2] * r);
        fillOutlined(cr, mixRgb(colour, palette::ink, 0.25), outlineThin);
    }
}

void drawSpaceBackdrop(cairo_t* cr) {
    const Rgb sky[] = {mixRgb(palette::ink, palette::night, 0.4), mixRgb(palette::night, palette::ink, 0.3),
                       mixRgb(palette::ink, palette::purple, 0.3)};
    paintVerticalGradient(cr, 0, backdropHeight, sky, 3);
    softGlow(cr, 760, 420, 520, palette::purple, 0.55);
    softGlow(cr, 980, 560, 360, palette::coral, 0.35);
    softGlow(cr, 560, 360, 300, palette::teal, 0.3);
    softGlow(cr, 1180, 360, 260, palette::blush, 0.2);
    SeededRandom random{52u};
    scatterStars(cr, random, 230, backdropHeight);
    drawRingedPlanet(cr, 1260, 360, 140);
    drawCrateredPlanet(cr, 470, 690, 100, palette::teal);
    drawCrateredPlanet(cr, 640, 250, 38, palette::blush);
    cairo_move_to(cr, 880, 760);
    cairo_line_to(cr, 1080, 700);
    setRgb(cr, palette::cream, 0.5);
    cairo_set_line_width(cr, 6);
    cairo_stroke(cr);
    sparklePath(cr, 1090, 697, 40);
    fillOutlined(cr, palette::cream, 2.5);
}

// 5.3 and 5.4, the backings of Pip's corner of the refrain picture (they show through it and
// under the bubbles, below the sky's lower edge): a burst of rays about where Pip stands, over a
// floor, one for dusk and night and one for the day. Drawn centred on the screen, image point
// (x, y) lies at screen (x - 260, y - 140): Pip stands about (1340, 560), the floor begins
// under the sky's edge at 700.
struct PanelColours {
    Rgb inner;
    Rgb outer;
    Rgb floor;
};

void drawPanelBurst(cairo_t* cr, const PanelColours& colours) {
    const double cx = 1340, cy = 560, floorTop = 700;
    cairo_pattern_t* glow = cairo_pattern_create_radial(cx, cy, 40, cx, cy, 1300);
    cairo_pattern_add_color_stop_rgb(glow, 0, colours.inner.r, colours.inner.g, colours.inner.b);
    cairo_pattern_add_color_stop_rgb(glow, 1, colours.outer.r, colours.outer.g, colours.outer.b);
    cairo_set_source(cr, glow);
    cairo_paint(cr);
    cairo_pattern_destroy(glow);
    const int rays = 28;
    for (int i = 0; i < rays; i += 2) {
        double a0 = i * 2 * M_PI / rays, a1 = (i + 1) * 2 * M_PI / rays;
        cairo_move_to(cr, cx, cy);
        cairo_line_to(cr, cx + 2400 * std::cos(a0), cy + 2400 * std::sin(a0));
        cairo_line_to(cr, cx + 2400 * std::cos(a1), cy + 2400 * std::sin(a1));
        cairo_close_path(cr);
    }
    setRgb(cr, palette::white, 0.12);
    cairo_fill(cr);
    cairo_rectangle(cr, -10, floorTop, backdropWidth + 20, backdropHeight - floorTop + 10);
    fillOutlined(cr, colours.floor, outlineThin);
    SeededRandom random{77u};
    for (int i = 0; i < 90; ++i) {
        circlePath(cr, randomUnit(random) * backdropWidth, floorTop + 30 + randomUnit(random) * 260, 4);
    }
    setRgb(cr, palette::white, 0.18);
    cairo_fill(cr);
}

void drawDuskPanel(cairo_t* cr) {
    drawPanelBurst(cr, {mixRgb(palette::purple, palette::coral, 0.35), mixRgb(palette::night, palette::purple, 0.3),
                        mixRgb(palette::purple, palette::night, 0.6)});
}

void drawDayPanel(cairo_t* cr) {
    drawPanelBurst(
        cr, {mixRgb(palette::cream, palette::sun, 0.4), palette::sky, mixRgb(palette::grass, palette::teal, 0.3)});
}

void (*const backdrops[pictogramsPerRow])(cairo_t* cr) = {drawCityBackdrop, drawSpaceBackdrop, drawDuskPanel,
                                                          drawDayPanel};

struct PictogramRow {
    Rgb colour;
    void (*glyphs[pictogramsPerRow])(cairo_t* cr);
};

const PictogramRow pictogramRows[iconRows] = {
    {palette::coral, {drawNotes, drawHeadphones, drawSpeaker, drawMicrophone}},
    {palette::teal, {drawFloppy, drawMonitor, drawGamepad, drawChip}},
    {palette::sky, {drawSunGlyph, drawCloudGlyph, drawRainGlyph, drawStormGlyph}},
    {palette::orange, {drawHeartGlyph, drawStarGlyph, drawSmileyGlyph, drawCrownGlyph}},
};

void drawSign(cairo_t* cr, Rgb colour) {
    roundedRectPath(cr, 12, 14, 180, 180, 40);
    setRgb(cr, palette::ink, 0.25);
    cairo_fill(cr);
    roundedRectPath(cr, 8, 8, 180, 180, 40);
    fillOutlined(cr, colour, outlineWide);
    roundedRectPath(cr, 18, 18, 160, 160, 32);
    setRgb(cr, palette::white, 0.35);
    cairo_set_line_width(cr, 3);
    cairo_stroke(cr);
}

}  // namespace

namespace {

int drawIcon(const ArtJob& job, int row, int column) {
    Canvas canvas = makeCanvas(pictogramSize, pictogramSize, false);
    drawSign(canvas.cr, pictogramRows[row].colour);
    cairo_save(canvas.cr);
    // The symbols are drawn for a 200 box centred on (100, 100); the sign is 180 wide and
    // centred on (98, 98), so they are scaled and moved onto it.
    cairo_translate(canvas.cr, 98, 98);
    cairo_scale(canvas.cr, 0.82, 0.82);
    cairo_translate(canvas.cr, -cx, -cy);
    pictogramRows[row].glyphs[column](canvas.cr);
    cairo_restore(canvas.cr);
    std::string name = showImageFileName(ShowImagePart::pictograms, row * pictogramsPerRow + column);
    int result = writeCanvas(canvas, job.outRoot, name, false);
    freeCanvas(canvas);
    return result;
}

int drawBackdrop(const ArtJob& job, int column) {
    Canvas canvas = makeCanvas(backdropWidth, backdropHeight, true);
    backdrops[column](canvas.cr);
    std::string name = showImageFileName(ShowImagePart::pictograms, iconRows * pictogramsPerRow + column);
    int result = writeCanvas(canvas, job.outRoot, name, false);
    freeCanvas(canvas);
    return result;
}

}  // namespace

int drawPictogramImages(const ArtJob& job) {
    for (int row = 0; row < iconRows; ++row) {
        for (int column = 0; column < pictogramsPerRow; ++column) {
            if (drawIcon(job, row, column) != 0) return -1;
        }
    }
    for (int column = 0; column < pictogramsPerRow; ++column) {
        if (drawBackdrop(job, column) != 0) return -1;
    }
    return 0;
}
