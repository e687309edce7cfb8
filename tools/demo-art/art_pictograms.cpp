// The pictograms: twenty sign-like icons, 200 x 200, in five rows of four, one theme a row
// (music, computers, weather, feelings, trouble). Each is a rounded sign in its row's colour
// with a white symbol outlined in ink.
#include <cmath>
#include <string>

#include "art_canvas.h"
#include "art_characters.h"
#include "art_groups.h"

namespace {

constexpr int pictogramSize = 200;
constexpr double glyphLine = 5.0;
constexpr double cx = 100;
constexpr double cy = 100;

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
void cloudPath(cairo_t* cr, double x, double y, double scale) {
    const double bumps[][3] = {{-34, 10, 26}, {-8, -12, 32}, {26, -2, 28}, {40, 16, 20}, {0, 18, 24}};
    for (const auto& bump : bumps) circlePath(cr, x + bump[0] * scale, y + bump[1] * scale, bump[2] * scale);
}

void drawCloudShape(cairo_t* cr, double x, double y, double scale) {
    cloudPath(cr, x, y, scale);
    setRgb(cr, palette::ink);
    cairo_set_line_width(cr, 2 * glyphLine);
    cairo_stroke(cr);
    cloudPath(cr, x, y, scale);
    setRgb(cr, palette::white);
    cairo_fill(cr);
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

void lightningBolt(cairo_t* cr, double x, double y, double s) {
    const double bolt[][2] = {{6, -30}, {-14, 4}, {0, 4}, {-8, 32}, {16, -6}, {2, -6}, {14, -30}};
    for (int i = 0; i < 7; ++i) {
        if (i == 0)
            cairo_move_to(cr, x + bolt[i][0] * s, y + bolt[i][1] * s);
        else
            cairo_line_to(cr, x + bolt[i][0] * s, y + bolt[i][1] * s);
    }
    cairo_close_path(cr);
}

void drawStormGlyph(cairo_t* cr) {
    lightningBolt(cr, 96, 128, 1.4);
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

// Row 5: trouble.
void drawSkullGlyph(cairo_t* cr) {
    cairo_move_to(cr, 52, 96);
    cairo_curve_to(cr, 52, 36, 148, 36, 148, 96);
    cairo_curve_to(cr, 148, 118, 136, 124, 128, 128);
    cairo_line_to(cr, 128, 156);
    cairo_line_to(cr, 72, 156);
    cairo_line_to(cr, 72, 128);
    cairo_curve_to(cr, 64, 124, 52, 118, 52, 96);
    cairo_close_path(cr);
    glyph(cr);
    circlePath(cr, 78, 98, 15);
    circlePath(cr, 122, 98, 15);
    cairo_move_to(cr, cx, 114);
    cairo_line_to(cr, 92, 128);
    cairo_line_to(cr, 108, 128);
    cairo_close_path(cr);
    inkFill(cr);
    for (int i = 0; i < 3; ++i) {
        cairo_move_to(cr, 86 + i * 14, 140);
        cairo_line_to(cr, 86 + i * 14, 156);
    }
    strokeInk(cr, 3.5);
}

void drawBombGlyph(cairo_t* cr) {
    cairo_move_to(cr, 118, 64);
    cairo_curve_to(cr, 130, 40, 146, 44, 150, 36);
    strokeInk(cr, 6);
    sparklePath(cr, 154, 32, 36);
    fillOutlined(cr, palette::sun, 3.5);
    cairo_rectangle(cr, 104, 58, 24, 20);
    glyph(cr);
    circlePath(cr, 92, 114, 50);
    setRgb(cr, palette::ink);
    cairo_fill(cr);
    cairo_new_path(cr);
    cairo_arc(cr, 92, 114, 34, M_PI * 1.1, M_PI * 1.4);
    setRgb(cr, palette::white);
    cairo_set_line_width(cr, 7);
    cairo_stroke(cr);
}

void drawWarningGlyph(cairo_t* cr) {
    cairo_move_to(cr, cx, 36);
    cairo_line_to(cr, 168, 156);
    cairo_line_to(cr, 32, 156);
    cairo_close_path(cr);
    fillOutlined(cr, palette::sun, glyphLine + 2);
    roundedRectPath(cr, 92, 72, 16, 52, 7);
    circlePath(cr, cx, 140, 9);
    inkFill(cr);
}

void drawBugGlyph(cairo_t* cr) {
    for (int i = 0; i < 3; ++i) {
        double y = 96 + i * 24;
        cairo_move_to(cr, 44, y - 10 + i * 6);
        cairo_line_to(cr, 156, y - 10 + i * 6);
    }
    cairo_move_to(cr, 88, 56);
    cairo_line_to(cr, 70, 34);
    cairo_move_to(cr, 112, 56);
    cairo_line_to(cr, 130, 34);
    strokeInk(cr, 6);
    circlePath(cr, cx, 66, 20);
    glyph(cr);
    ellipsePath(cr, cx, 114, 40, 50);
    glyph(cr);
    cairo_move_to(cr, cx, 68);
    cairo_line_to(cr, cx, 162);
    strokeInk(cr, 4);
    circlePath(cr, 84, 104, 7);
    circlePath(cr, 116, 130, 7);
    circlePath(cr, 114, 96, 5);
    setRgb(cr, palette::purple);
    cairo_fill(cr);
}

struct PictogramRow {
    Rgb colour;
    void (*glyphs[4])(cairo_t* cr);
};

const PictogramRow pictogramRows[5] = {
    {palette::coral, {drawNotes, drawHeadphones, drawSpeaker, drawMicrophone}},
    {palette::teal, {drawFloppy, drawMonitor, drawGamepad, drawChip}},
    {palette::sky, {drawSunGlyph, drawCloudGlyph, drawRainGlyph, drawStormGlyph}},
    {palette::orange, {drawHeartGlyph, drawStarGlyph, drawSmileyGlyph, drawCrownGlyph}},
    {palette::purple, {drawSkullGlyph, drawBombGlyph, drawWarningGlyph, drawBugGlyph}},
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

int drawPictogramImages(const ArtJob& job) {
    for (int row = 0; row < 5; ++row) {
        for (int column = 0; column < 4; ++column) {
            Canvas canvas = makeCanvas(pictogramSize, pictogramSize, false);
            drawSign(canvas.cr, pictogramRows[row].colour);
            cairo_save(canvas.cr);
            // The symbols are drawn for a 200 box centred on (100, 100); the sign is 180 wide
            // and centred on (98, 98), so they are scaled and moved onto it.
            cairo_translate(canvas.cr, 98, 98);
            cairo_scale(canvas.cr, 0.82, 0.82);
            cairo_translate(canvas.cr, -cx, -cy);
            pictogramRows[row].glyphs[column](canvas.cr);
            cairo_restore(canvas.cr);
            std::string name = "data/pictograms/" + std::to_string(row + 1) + "." + std::to_string(column + 1) + ".png";
            int result = writeCanvas(canvas, job.outRoot, name, false);
            freeCanvas(canvas);
            if (result != 0) return result;
        }
    }
    return 0;
}
