// Pip, Count Glitch and the sun: the characters drawn with Cairo paths in the show's palette.
#include "art_characters.h"

#include <cmath>
#include <iterator>

#include "art_canvas.h"
#include "art_shapes.h"

// clang-format off
const PipFace pipFaces[pipFaceCount] = {
    // Each face after its name: eyes, lids, gaze x/y, brow lift, brow tilt, mouth, amount,
    // blush, extra, tuft tilt, head lift, head tilt
    // annoyed
    {{EyeKind::open, EyeKind::open}, {0.45, 0.45}, 0.0, 0.3, {-6, -6}, {18, 18},
     MouthKind::frown, 0.6, false, FaceExtra::angerMark, -7, 0, 0},
    // awww, the blink: basic with the eyes shut
    {{EyeKind::shut, EyeKind::shut}, {0, 0}, 0, 0, {0, 0}, {0, 0},
     MouthKind::smile, 0.55, false, FaceExtra::none, 0, 0, 0},
    // basic
    {{EyeKind::open, EyeKind::open}, {0.05, 0.05}, 0, 0, {0, 0}, {0, 0},
     MouthKind::smile, 0.55, false, FaceExtra::none, 0, 0, 0},
    // happy-thoughtful
    {{EyeKind::open, EyeKind::open}, {0.15, 0.15}, 0.65, -0.75, {6, 12},
     {-4, -10}, MouthKind::smile, 0.4, true, FaceExtra::thought, 6, 0, 0},
    // huh
    {{EyeKind::open, EyeKind::open}, {0, 0}, -0.1, 0.0, {18, -2}, {-10, 10},
     MouthKind::smallO, 1.0, false, FaceExtra::question, -9, 0, 0},
    // open-mouth, singing: basic's eyes and brows, the mouth open on "ah", the head bobbing up
    {{EyeKind::open, EyeKind::open}, {0.05, 0.05}, 0, 0, {0, 0}, {0, 0},
     MouthKind::sing, 1.0, false, FaceExtra::none, 8, 6, -3},
    // pleased
    {{EyeKind::happyArc, EyeKind::happyArc}, {0, 0}, 0, 0, {6, 6}, {-6, -6},
     MouthKind::grin, 1.0, true, FaceExtra::sparkles, 10, 0, 0},
    // sceptical
    {{EyeKind::open, EyeKind::open}, {0.5, 0.05}, -0.7, 0.0, {-4, 18}, {14, -12},
     MouthKind::skew, 1.0, false, FaceExtra::none, -4, 0, 0},
    // shrewd
    {{EyeKind::open, EyeKind::open}, {0.55, 0.55}, 0.75, 0.25, {-3, -3}, {14, 14},
     MouthKind::smirk, 1.0, false, FaceExtra::none, -11, 0, 0},
    // silly
    {{EyeKind::happyArc, EyeKind::open}, {0, 0}, -0.55, 0.35, {12, 16}, {-8, -14},
     MouthKind::tongueOut, 1.0, true, FaceExtra::none, 13, 0, 0},
};
// clang-format on

namespace {

constexpr double headX = 170;
constexpr double headY = 178;
constexpr double headRadius = 122;
constexpr double eyeSpacing = 46;
constexpr double eyeY = 182;
constexpr double eyeRx = 22;
constexpr double eyeRy = 28;
constexpr double neckY = 296;  // the point the head turns about: the chin, over the neck
const Rgb mouthDark{0.478, 0.165, 0.227};
const Rgb hairColour = palette::orange;
const Rgb shirtColour = palette::teal;

void drawPipBody(cairo_t* cr) {
    cairo_rectangle(cr, headX - 22, 280, 44, 50);
    fillOutlined(cr, mixRgb(palette::skin, palette::orange, 0.15), outlineThin);
    roundedRectPath(cr, 70, 316, 200, 110, 48);
    fillOutlined(cr, shirtColour, outlineWide);
    // Collar and a star on the shirt.
    cairo_move_to(cr, headX - 30, 318);
    cairo_line_to(cr, headX, 345);
    cairo_line_to(cr, headX + 30, 318);
    strokeInk(cr, outlineThin);
    sparklePath(cr, headX, 378, 46);
    fillOutlined(cr, palette::sun, outlineThin);
}

void drawPipHead(cairo_t* cr) {
    circlePath(cr, headX - headRadius + 2, headY + 8, 24);
    circlePath(cr, headX + headRadius - 2, headY + 8, 24);
    fillOutlined(cr, palette::skin, outlineWide);
    circlePath(cr, headX, headY, headRadius);
    fillOutlined(cr, palette::skin, outlineWide);
}

// A lock of hair springing from the crown and curling to the right, drawn before the hair so
// that its root is hidden; it leans by the face's angle, so it moves as the faces change.
void drawPipTuft(cairo_t* cr, double tilt) {
    cairo_save(cr);
    cairo_translate(cr, headX + 2, headY - 128);
    cairo_rotate(cr, tilt * M_PI / 180.0);
    cairo_move_to(cr, -14, 10);
    cairo_curve_to(cr, -16, -8, -12, -26, 2, -36);
    cairo_curve_to(cr, 10, -40, 20, -38, 24, -30);
    cairo_curve_to(cr, 16, -32, 8, -28, 6, -18);
    cairo_curve_to(cr, 4, -8, 8, 2, 12, 10);
    cairo_close_path(cr);
    cairo_restore(cr);
    fillOutlined(cr, hairColour, outlineThin);
}

void drawPipHair(cairo_t* cr) {
    cairo_new_path(cr);
    cairo_move_to(cr, headX - 112, headY - 30);
    cairo_curve_to(cr, headX - 120, headY - 110, headX - 70, headY - 150, headX - 40, headY - 140);
    cairo_curve_to(cr, headX - 45, headY - 160, headX - 5, headY - 164, headX + 5, headY - 140);
    cairo_curve_to(cr, headX + 20, headY - 164, headX + 60, headY - 158, headX + 55, headY - 135);
    cairo_curve_to(cr, headX + 100, headY - 140, headX + 125, headY - 90, headX + 112, headY - 30);
    // The fringe, a wavy lower edge across the forehead.
    cairo_curve_to(cr, headX + 95, headY - 68, headX + 70, headY - 85, headX + 40, headY - 72);
    cairo_curve_to(cr, headX + 20, headY - 95, headX - 20, headY - 95, headX - 35, headY - 72);
    cairo_curve_to(cr, headX - 65, headY - 90, headX - 100, headY - 68, headX - 112, headY - 30);
    cairo_close_path(cr);
    fillOutlined(cr, hairColour, outlineWide);
    // A highlight streak.
    cairo_move_to(cr, headX - 60, headY - 120);
    cairo_curve_to(cr, headX - 40, headY - 135, headX - 20, headY - 135, headX - 5, headY - 125);
    setRgb(cr, palette::sun);
    cairo_set_line_width(cr, 6);
    cairo_stroke(cr);
}

void drawOpenEye(cairo_t* cr, double x, double lid, double gazeX, double gazeY, bool leftSide) {
    ellipsePath(cr, x, eyeY, eyeRx, eyeRy);
    fillOutlined(cr, palette::white, outlineThin);
    cairo_save(cr);
    ellipsePath(cr, x, eyeY, eyeRx, eyeRy);
    cairo_clip(cr);
    double px = x + gazeX * 9;
    double py = eyeY + gazeY * 12;
    circlePath(cr, px, py, 13);
    setRgb(cr, palette::ink);
    cairo_fill(cr);
    circlePath(cr, px - 4, py - 5, 4.5);
    setRgb(cr, palette::white);
    cairo_fill(cr);
    cairo_restore(cr);
    if (lid <= 0.01) return;
    // The upper lid: skin over the top of the eye, its edge tilted down toward the nose.
    double edge = eyeY - eyeRy + lid * 2 * eyeRy;
    double tilt = leftSide ? 5 : -5;
    cairo_save(cr);
    ellipsePath(cr, x, eyeY, eyeRx + 3, eyeRy + 3);
    cairo_clip(cr);
    cairo_move_to(cr, x - eyeRx - 6, edge - tilt);
    cairo_line_to(cr, x + eyeRx + 6, edge + tilt);
    cairo_line_to(cr, x + eyeRx + 6, eyeY - eyeRy - 6);
    cairo_line_to(cr, x - eyeRx - 6, eyeY - eyeRy - 6);
    cairo_close_path(cr);
    setRgb(cr, mixRgb(palette::skin, palette::orange, 0.1));
    cairo_fill(cr);
    cairo_move_to(cr, x - eyeRx - 6, edge - tilt);
    cairo_line_to(cr, x + eyeRx + 6, edge + tilt);
    strokeInk(cr, 5);
    cairo_restore(cr);
}

// A shut eye: the closed lid as a line sagging across the middle of the eye, with two lashes at
// its outer end.
void drawShutEye(cairo_t* cr, double x, bool leftSide) {
    cairo_new_path(cr);
    cairo_arc(cr, x, eyeY - 14, 26, 0.42, M_PI - 0.42);
    strokeInk(cr, 7);
    double outward = leftSide ? -1 : 1;
    for (int i = 0; i < 2; ++i) {
        double a = M_PI * 0.5 - outward * (1.05 - 0.42 * i);
        double lx = x + 26 * std::cos(a);
        double ly = eyeY - 14 + 26 * std::sin(a);
        cairo_move_to(cr, lx, ly);
        cairo_line_to(cr, lx + outward * (9 - 2 * i), ly + 8 + 3 * i);
    }
    strokeInk(cr, 4);
}

void drawEye(cairo_t* cr, const PipFace& face, int side) {
    double x = headX + (side == 0 ? -eyeSpacing : eyeSpacing);
    switch (face.eyes[side]) {
    case EyeKind::open: drawOpenEye(cr, x, face.lid[side], face.gazeX, face.gazeY, side == 0); break;
    case EyeKind::happyArc:
        cairo_new_path(cr);
        cairo_arc(cr, x, eyeY + 10, 20, M_PI + 0.35, 2 * M_PI - 0.35);
        strokeInk(cr, 7);
        break;
    case EyeKind::shut: drawShutEye(cr, x, side == 0); break;
    }
}

void drawBrow(cairo_t* cr, const PipFace& face, int side) {
    double x = headX + (side == 0 ? -eyeSpacing : eyeSpacing);
    double y = eyeY - 46 - face.browLift[side] * 0.8;
    double angle = face.browTilt[side] * M_PI / 180.0;
    double dx = 25 * std::cos(angle);
    double dy = 25 * std::sin(angle);
    // The inner end is the one toward the nose: right for the left brow, left for the right.
    double innerSign = side == 0 ? 1 : -1;
    double x0 = x - innerSign * dx;
    double y0 = y - dy;
    double x1 = x + innerSign * dx;
    double y1 = y + dy;
    cairo_move_to(cr, x0, y0);
    cairo_curve_to(cr, x0 + (x1 - x0) * 0.3, y0 - 8, x0 + (x1 - x0) * 0.7, y1 - 8, x1, y1);
    strokeInk(cr, 8);
}

void drawTongue(cairo_t* cr, double x, double top, double width, double depth) {
    cairo_move_to(cr, x - width, top);
    cairo_line_to(cr, x - width, top + depth - width);
    cairo_arc_negative(cr, x, top + depth - width, width, M_PI, 0);
    cairo_line_to(cr, x + width, top);
    cairo_close_path(cr);
    fillOutlined(cr, palette::coral, outlineThin);
    cairo_move_to(cr, x, top + 4);
    cairo_line_to(cr, x, top + depth - width * 0.9);
    setRgb(cr, mixRgb(palette::coral, mouthDark, 0.5));
    cairo_set_line_width(cr, 3);
    cairo_stroke(cr);
}

void drawGrinMouth(cairo_t* cr) {
    double top = 240;
    cairo_move_to(cr, headX - 46, top);
    cairo_line_to(cr, headX + 46, top);
    cairo_curve_to(cr, headX + 46, top + 62, headX - 46, top + 62, headX - 46, top);
    cairo_close_path(cr);
    cairo_save(cr);
    cairo_clip_preserve(cr);
    setRgb(cr, mouthDark);
    cairo_fill(cr);
    ellipsePath(cr, headX, top + 48, 28, 16);
    setRgb(cr, palette::coral);
    cairo_fill(cr);
    cairo_rectangle(cr, headX - 50, top - 2, 100, 13);
    setRgb(cr, palette::white);
    cairo_fill(cr);
    cairo_restore(cr);
    cairo_move_to(cr, headX - 46, top);
    cairo_line_to(cr, headX + 46, top);
    cairo_curve_to(cr, headX + 46, top + 62, headX - 46, top + 62, headX - 46, top);
    cairo_close_path(cr);
    strokeInk(cr, 5);
}

void singPath(cairo_t* cr, double x, double top) {
    cairo_move_to(cr, x - 31, top);
    cairo_curve_to(cr, x - 14, top - 7, x + 14, top - 7, x + 31, top);
    cairo_curve_to(cr, x + 34, top + 30, x + 17, top + 47, x, top + 47);
    cairo_curve_to(cr, x - 17, top + 47, x - 34, top + 30, x - 31, top);
    cairo_close_path(cr);
}

// The mouth open on a sung "ah": round below, a gentle arch above, the tongue at its floor.
void drawSingingMouth(cairo_t* cr, double x, double top) {
    singPath(cr, x, top);
    cairo_save(cr);
    cairo_clip_preserve(cr);
    setRgb(cr, mouthDark);
    cairo_fill(cr);
    ellipsePath(cr, x, top + 44, 22, 13);
    setRgb(cr, palette::coral);
    cairo_fill(cr);
    cairo_restore(cr);
    singPath(cr, x, top);
    strokeInk(cr, 5);
}

void drawOpenMouth(cairo_t* cr, double x, double y, double rx, double ry) {
    ellipsePath(cr, x, y, rx, ry);
    cairo_save(cr);
    cairo_clip_preserve(cr);
    setRgb(cr, mouthDark);
    cairo_fill(cr);
    ellipsePath(cr, x, y + ry * 0.75, rx * 0.75, ry * 0.45);
    setRgb(cr, palette::coral);
    cairo_fill(cr);
    cairo_restore(cr);
    ellipsePath(cr, x, y, rx, ry);
    strokeInk(cr, 5);
}

void drawMouth(cairo_t* cr, const PipFace& face) {
    double y = 244;
    double a = face.mouthAmount;
    switch (face.mouth) {
    case MouthKind::smile:
        cairo_move_to(cr, headX - 40, y);
        cairo_curve_to(cr, headX - 20, y + 30 * a, headX + 20, y + 30 * a, headX + 40, y);
        strokeInk(cr, 7);
        break;
    case MouthKind::frown:
        cairo_move_to(cr, headX - 32, y + 16);
        cairo_curve_to(cr, headX - 15, y + 16 - 18 * a, headX + 15, y + 16 - 18 * a, headX + 32, y + 16);
        strokeInk(cr, 7);
        break;
    case MouthKind::grin: drawGrinMouth(cr); break;
    case MouthKind::sing: drawSingingMouth(cr, headX, y - 4); break;
    case MouthKind::smallO: drawOpenMouth(cr, headX + 14, y + 10, 12, 15); break;
    case MouthKind::catW:
        cairo_new_path(cr);
        cairo_arc_negative(cr, headX - 13, y, 13, M_PI, 0.05);
        cairo_new_sub_path(cr);
        cairo_arc_negative(cr, headX + 13, y, 13, M_PI - 0.05, 0);
        strokeInk(cr, 6);
        break;
    case MouthKind::skew:
        cairo_move_to(cr, headX - 34, y + 14);
        cairo_curve_to(cr, headX - 10, y + 12, headX + 14, y + 6, headX + 30, y - 4);
        strokeInk(cr, 7);
        break;
    case MouthKind::smirk:
        cairo_move_to(cr, headX - 36, y + 6);
        cairo_curve_to(cr, headX - 10, y + 16, headX + 20, y + 14, headX + 38, y - 8);
        strokeInk(cr, 7);
        cairo_move_to(cr, headX + 34, y - 14);
        cairo_line_to(cr, headX + 44, y - 2);
        strokeInk(cr, 4);
        break;
    case MouthKind::tongueOut:
        drawTongue(cr, headX + 10, y + 8, 16, 46);
        cairo_move_to(cr, headX - 44, y - 2);
        cairo_curve_to(cr, headX - 20, y + 20, headX + 20, y + 20, headX + 44, y - 2);
        strokeInk(cr, 7);
        break;
    }
}

void drawBlush(cairo_t* cr) {
    ellipsePath(cr, headX - 80, 232, 20, 11);
    ellipsePath(cr, headX + 80, 232, 20, 11);
    setRgb(cr, palette::blush, 0.75);
    cairo_fill(cr);
}

void drawAngerMark(cairo_t* cr, double x, double y) {
    for (int i = 0; i < 4; ++i) {
        cairo_save(cr);
        cairo_translate(cr, x, y);
        cairo_rotate(cr, i * M_PI / 2);
        cairo_move_to(cr, 6, -18);
        cairo_curve_to(cr, 6, -6, 6, -6, 18, -6);
        cairo_restore(cr);
    }
    setRgb(cr, palette::ink);
    cairo_set_line_width(cr, 12);
    cairo_stroke_preserve(cr);
    setRgb(cr, palette::coral);
    cairo_set_line_width(cr, 6);
    cairo_stroke(cr);
}

void drawThought(cairo_t* cr) {
    circlePath(cr, 270, 118, 7);
    fillOutlined(cr, palette::white, outlineThin);
    circlePath(cr, 288, 94, 10);
    fillOutlined(cr, palette::white, outlineThin);
    cairo_new_path(cr);
    double cx = 292;
    double cy = 46;
    const double bumps[][3] = {{-22, 4, 20}, {0, -10, 22}, {22, 2, 20}, {6, 18, 18}, {-12, 16, 17}};
    for (const auto& bump : bumps) circlePath(cr, cx + bump[0], cy + bump[1], bump[2]);
    setRgb(cr, palette::ink);
    cairo_set_line_width(cr, outlineWide);
    cairo_stroke_preserve(cr);
    setRgb(cr, palette::white);
    cairo_fill(cr);
    drawNoteSymbol(cr, cx, cy + 2, 34, palette::teal);
}

void drawExtra(cairo_t* cr, const PipFace& face, const ArtFonts& fonts) {
    switch (face.extra) {
    case FaceExtra::none: break;
    case FaceExtra::angerMark: drawAngerMark(cr, 292, 70); break;
    case FaceExtra::hearts:
        heartPath(cr, 292, 60, 44);
        fillOutlined(cr, palette::coral, outlineThin);
        heartPath(cr, 42, 44, 30);
        fillOutlined(cr, palette::blush, outlineThin);
        break;
    case FaceExtra::thought: drawThought(cr); break;
    case FaceExtra::question:
        useFont(cr, fonts.headline, 96);
        drawOutlinedText(cr, "?", 296, 110, palette::sun, 7);
        break;
    case FaceExtra::sparkles:
        sparklePath(cr, 296, 64, 40);
        fillOutlined(cr, palette::sun, outlineThin);
        sparklePath(cr, 40, 60, 28);
        fillOutlined(cr, palette::sun, outlineThin);
        break;
    }
}

}  // namespace

void drawPip(cairo_t* cr, const PipFace& face, const ArtFonts& fonts) {
    cairo_save(cr);
    drawPipBody(cr);
    cairo_save(cr);
    cairo_translate(cr, headX, neckY - face.headLift);
    cairo_rotate(cr, face.headTilt * M_PI / 180.0);
    cairo_translate(cr, -headX, -neckY);
    drawPipHead(cr);
    drawPipTuft(cr, face.tuftTilt);
    drawPipHair(cr);
    if (face.blush) drawBlush(cr);
    for (int side = 0; side < 2; ++side) {
        drawEye(cr, face, side);
        drawBrow(cr, face, side);
    }
    cairo_move_to(cr, headX - 6, 214);
    cairo_curve_to(cr, headX - 2, 222, headX + 6, 222, headX + 8, 212);
    strokeInk(cr, 4);
    drawMouth(cr, face);
    cairo_restore(cr);
    drawExtra(cr, face, fonts);
    cairo_restore(cr);
}

void drawNoteSymbol(cairo_t* cr, double x, double y, double size, Rgb fill) {
    double s = size / 40.0;
    cairo_save(cr);
    cairo_translate(cr, x, y);
    cairo_scale(cr, s, s);
    ellipsePath(cr, -6, 12, 9, 7);
    cairo_move_to(cr, 1, 12);
    cairo_line_to(cr, 1, -18);
    cairo_curve_to(cr, 8, -10, 16, -8, 14, 2);
    cairo_curve_to(cr, 12, -4, 8, -6, 1, -8);
    cairo_restore(cr);
    setRgb(cr, fill);
    cairo_fill_preserve(cr);
    strokeInk(cr, 3);
}

void heartPath(cairo_t* cr, double x, double y, double size) {
    double s = size / 2.0;
    cairo_new_sub_path(cr);
    cairo_move_to(cr, x, y + s * 0.9);
    cairo_curve_to(cr, x - s * 1.2, y + s * 0.1, x - s * 0.9, y - s * 0.9, x, y - s * 0.35);
    cairo_curve_to(cr, x + s * 0.9, y - s * 0.9, x + s * 1.2, y + s * 0.1, x, y + s * 0.9);
    cairo_close_path(cr);
}

void sparklePath(cairo_t* cr, double x, double y, double size) {
    double r = size / 2.0;
    double w = r * 0.28;
    cairo_new_sub_path(cr);
    cairo_move_to(cr, x, y - r);
    cairo_curve_to(cr, x + w * 0.3, y - w, x + w, y - w * 0.3, x + r, y);
    cairo_curve_to(cr, x + w, y + w * 0.3, x + w * 0.3, y + w, x, y + r);
    cairo_curve_to(cr, x - w * 0.3, y + w, x - w, y + w * 0.3, x - r, y);
    cairo_curve_to(cr, x - w, y - w * 0.3, x - w * 0.3, y - w, x, y - r);
    cairo_close_path(cr);
}

namespace {

constexpr double villainX = 150;
constexpr double villainEyeY = 150;
const Rgb capeRed = mixRgb(palette::coral, palette::night, 0.3);

struct VillainPose {
    double lid;   // 0 open .. 1 shut; below 0 the eyes are squeezed shut with laughter
    double gaze;  // pupils, -1 left .. 1 right
    Rgb eyeColour;
    double pupilHeight;
    double browLift[2];
    double browDrop[2];  // how far the inner end of each brow comes down
    double auraAlpha;
    bool capeFlung;   // the cape spread behind him like a pair of wings
    double headLift;  // pixels the head is raised above the body
};

// Frame 1 is frame 0 singing: the same eyes, brows and cape, the head bobbing up.
const VillainPose villainPoses[glitchFrameCount] = {
    {0.45, 0.8, palette::sun, 11, {0, 14}, {4, -4}, 0.0, true, 0},
    {0.45, 0.8, palette::sun, 11, {0, 14}, {4, -4}, 0.0, true, 6},
    {-1.0, 0.0, palette::sun, 11, {14, 14}, {6, 6}, 0.15, false, 0},
    {0.2, 0.0, palette::coral, 6, {-2, -2}, {18, 18}, 0.45, false, 0},
    {0.15, 0.0, mixRgb(palette::coral, palette::sun, 0.35), 5, {-4, -4}, {22, 22}, 0.8, false, 0},
};

void drawAura(cairo_t* cr, double alpha) {
    if (alpha <= 0) return;
    cairo_pattern_t* glow = cairo_pattern_create_radial(villainX, 160, 40, villainX, 160, 160);
    cairo_pattern_add_color_stop_rgba(glow, 0.0, palette::coral.r, palette::coral.g, palette::coral.b, alpha);
    cairo_pattern_add_color_stop_rgba(glow, 0.6, palette::coral.r, palette::coral.g, palette::coral.b, alpha * 0.6);
    cairo_pattern_add_color_stop_rgba(glow, 1.0, palette::coral.r, palette::coral.g, palette::coral.b, 0.0);
    cairo_set_source(cr, glow);
    cairo_rectangle(cr, 0, 0, glitchWidth, glitchHeight);
    cairo_fill(cr);
    cairo_pattern_destroy(glow);
}

void mirroredPath(cairo_t* cr, const double (*points)[2], int count, bool mirror) {
    cairo_new_sub_path(cr);
    for (int i = 0; i < count; ++i) {
        double x = mirror ? 2 * villainX - points[i][0] : points[i][0];
        if (i == 0)
            cairo_move_to(cr, x, points[i][1]);
        else
            cairo_line_to(cr, x, points[i][1]);
    }
    cairo_close_path(cr);
}

// Both halves of a shape given by its left half, drawn mirrored about his middle for the right.
void fillMirrored(cairo_t* cr, void (*leftHalf)(cairo_t*), Rgb fill) {
    for (int side = 0; side < 2; ++side) {
        cairo_save(cr);
        if (side == 1) {
            cairo_translate(cr, 2 * villainX, 0);
            cairo_scale(cr, -1, 1);
        }
        leftHalf(cr);
        cairo_restore(cr);
        fillOutlined(cr, fill, outlineThin);
    }
}

// The cape over his shoulders, falling straight past the bottom edge.
void capePath(cairo_t* cr) {
    constexpr double bottom = glitchHeight + 8;
    cairo_move_to(cr, villainX, 240);
    cairo_curve_to(cr, 214, 240, 262, 258, 276, 292);
    cairo_curve_to(cr, 288, 322, 292, 380, 294, bottom);
    cairo_line_to(cr, 6, bottom);
    cairo_curve_to(cr, 8, 380, 12, 322, 24, 292);
    cairo_curve_to(cr, 38, 258, 86, 240, villainX, 240);
    cairo_close_path(cr);
}

// The cape's red lining, showing along the left edge of its opening down his front.
void liningPath(cairo_t* cr) {
    cairo_move_to(cr, 118, 250);
    cairo_curve_to(cr, 114, 320, 108, 380, 102, glitchHeight + 8);
    cairo_line_to(cr, 84, glitchHeight + 8);
    cairo_curve_to(cr, 92, 380, 100, 320, 104, 256);
    cairo_close_path(cr);
}

// The waistcoat in the cape's opening, with a pale cravat at the neck and three gold buttons.
void drawVillainFront(cairo_t* cr) {
    cairo_move_to(cr, 118, 250);
    cairo_curve_to(cr, 114, 320, 108, 380, 102, glitchHeight + 8);
    cairo_line_to(cr, 198, glitchHeight + 8);
    cairo_curve_to(cr, 192, 380, 186, 320, 182, 250);
    cairo_curve_to(cr, 170, 258, 130, 258, 118, 250);
    cairo_close_path(cr);
    fillOutlined(cr, mixRgb(palette::purple, palette::night, 0.45), outlineThin);
    fillMirrored(cr, liningPath, capeRed);
    cairo_move_to(cr, 124, 252);
    cairo_line_to(cr, 176, 252);
    cairo_line_to(cr, villainX, 316);
    cairo_close_path(cr);
    fillOutlined(cr, palette::cream, outlineThin);
    for (int i = 0; i < 3; ++i) {
        circlePath(cr, villainX, 346 + i * 34, 7);
        fillOutlined(cr, palette::sun, 2.5);
    }
}

void drawVillainCapeAndBody(cairo_t* cr) {
    const double collar[][2] = {{78, 300}, {8, 100}, {40, 150}, {52, 128}, {100, 236}};
    for (int side = 0; side < 2; ++side) {
        mirroredPath(cr, collar, 5, side == 1);
        fillOutlined(cr, capeRed, outlineThin);
    }
    capePath(cr);
    fillOutlined(cr, palette::night, outlineWide);
    drawVillainFront(cr);
    // A brooch on the collar.
    ellipsePath(cr, villainX, 278, 14, 17);
    fillOutlined(cr, palette::coral, outlineThin);
    circlePath(cr, villainX - 4, 272, 4);
    setRgb(cr, palette::white, 0.8);
    cairo_fill(cr);
}

// The cape's outer edge from the wing's tip down to the bottom, scalloped between its points.
void capeOuterEdge(cairo_t* cr) {
    const double points[][2] = {{2, 24}, {8, 98}, {4, 170}, {12, 246}, {20, 340}, {30, glitchHeight + 4}};
    for (int i = 1; i < 6; ++i) {
        double x0 = points[i - 1][0], y0 = points[i - 1][1], x1 = points[i][0], y1 = points[i][1];
        cairo_curve_to(cr, x0 + 20, y0 + (y1 - y0) * 0.3, x1 + 20, y0 + (y1 - y0) * 0.7, x1, y1);
    }
}

// The left wing of the flung-open cape: dark outside, its red lining showing, with folds along
// the sweep and a glint at its tip.
void drawCapeWing(cairo_t* cr) {
    cairo_move_to(cr, villainX, glitchHeight + 4);
    cairo_line_to(cr, 118, 236);
    cairo_curve_to(cr, 84, 150, 40, 70, 2, 24);
    capeOuterEdge(cr);
    cairo_close_path(cr);
    fillOutlined(cr, palette::night, outlineThin);
    cairo_move_to(cr, 14, 44);
    cairo_curve_to(cr, 40, 70, 84, 150, 118, 236);
    cairo_line_to(cr, 104, glitchHeight + 4);
    cairo_line_to(cr, 44, glitchHeight + 4);
    cairo_curve_to(cr, 30, 260, 20, 200, 24, 150);
    cairo_curve_to(cr, 28, 110, 20, 80, 14, 44);
    cairo_close_path(cr);
    fillOutlined(cr, mixRgb(palette::coral, palette::night, 0.15), outlineThin);
    for (int i = 0; i < 3; ++i) {
        cairo_move_to(cr, 34 + i * 16, 100 + i * 30);
        cairo_curve_to(cr, 44 + i * 16, 150 + i * 30, 46 + i * 16, 200 + i * 30, 44 + i * 16, 250 + i * 24);
        setRgb(cr, palette::cream, 0.45);
        cairo_set_line_width(cr, 3);
        cairo_stroke(cr);
    }
    sparklePath(cr, 24, 18, 20);
    fillOutlined(cr, palette::sun, 2.5);
}

// His entrance: the cape flung open behind him like a pair of bat wings, tips high at the
// corners.
void drawCapeFlourish(cairo_t* cr) {
    for (int side = 0; side < 2; ++side) {
        cairo_save(cr);
        if (side == 1) {
            cairo_translate(cr, 2 * villainX, 0);
            cairo_scale(cr, -1, 1);
        }
        drawCapeWing(cr);
        cairo_restore(cr);
    }
}

void drawVillainHead(cairo_t* cr) {
    const double ear[][2] = {{70, 130}, {24, 104}, {72, 178}};
    const double horn[][2] = {{92, 88}, {60, 52}, {46, 8}, {84, 30}, {122, 70}};
    for (int side = 0; side < 2; ++side) {
        mirroredPath(cr, ear, 3, side == 1);
        fillOutlined(cr, palette::purple, outlineThin);
        mirroredPath(cr, horn, 5, side == 1);
        fillOutlined(cr, palette::cream, outlineThin);
    }
    ellipsePath(cr, villainX, 150, 86, 92);
    setRgb(cr, palette::purple);
    cairo_fill(cr);
    // Slicked hair with a widow's peak, clipped to the head.
    cairo_save(cr);
    ellipsePath(cr, villainX, 150, 86, 92);
    cairo_clip(cr);
    cairo_move_to(cr, 40, 40);
    cairo_line_to(cr, 260, 40);
    cairo_line_to(cr, 260, 112);
    cairo_curve_to(cr, 215, 92, 180, 88, villainX, 118);
    cairo_curve_to(cr, 120, 88, 85, 92, 40, 112);
    cairo_close_path(cr);
    setRgb(cr, palette::night);
    cairo_fill(cr);
    cairo_restore(cr);
    ellipsePath(cr, villainX, 150, 86, 92);
    strokeInk(cr, outlineWide);
}

void almondPath(cairo_t* cr, double x, double y) {
    cairo_move_to(cr, x - 25, y);
    cairo_curve_to(cr, x - 12, y - 19, x + 12, y - 19, x + 25, y);
    cairo_curve_to(cr, x + 12, y + 16, x - 12, y + 16, x - 25, y);
    cairo_close_path(cr);
}

void drawVillainEye(cairo_t* cr, const VillainPose& pose, int side) {
    double x = villainX + (side == 0 ? -36 : 36);
    double y = villainEyeY;
    double inward = side == 0 ? 1 : -1;
    if (pose.lid < 0) {
        cairo_move_to(cr, x - 20, y + 4);
        cairo_line_to(cr, x + 4 * inward, y - 10);
        cairo_line_to(cr, x + 20, y + 4);
        strokeInk(cr, 7);
        return;
    }
    almondPath(cr, x, y);
    setRgb(cr, pose.eyeColour);
    cairo_fill(cr);
    cairo_save(cr);
    almondPath(cr, x, y);
    cairo_clip(cr);
    ellipsePath(cr, x + pose.gaze * 8, y, 4.5, pose.pupilHeight);
    setRgb(cr, palette::ink);
    cairo_fill(cr);
    double edge = y - 14 + pose.lid * 28;
    cairo_move_to(cr, x - 30 * inward, edge - 6);
    cairo_line_to(cr, x + 30 * inward, edge + 6);
    cairo_line_to(cr, x + 30 * inward, y - 30);
    cairo_line_to(cr, x - 30 * inward, y - 30);
    cairo_close_path(cr);
    setRgb(cr, palette::purple);
    cairo_fill(cr);
    cairo_move_to(cr, x - 30 * inward, edge - 6);
    cairo_line_to(cr, x + 30 * inward, edge + 6);
    strokeInk(cr, 5);
    cairo_restore(cr);
    almondPath(cr, x, y);
    strokeInk(cr, outlineThin);
}

void drawVillainBrow(cairo_t* cr, const VillainPose& pose, int side) {
    double inward = side == 0 ? 1 : -1;
    double x = villainX + (side == 0 ? -36 : 36);
    double outerX = x - 30 * inward;
    double innerX = x + 10 * inward;
    double outerY = villainEyeY - 36 - pose.browLift[side];
    double innerY = villainEyeY - 30 + pose.browDrop[side] - pose.browLift[side] * 0.5;
    cairo_move_to(cr, outerX, outerY);
    cairo_line_to(cr, innerX, innerY - 5);
    cairo_line_to(cr, innerX, innerY + 5);
    cairo_line_to(cr, outerX, outerY + 6);
    cairo_close_path(cr);
    setRgb(cr, palette::ink);
    cairo_set_line_width(cr, 5);
    cairo_stroke_preserve(cr);
    cairo_fill(cr);
}

void drawMoustache(cairo_t* cr, double lift) {
    for (int side = 0; side < 2; ++side) {
        double s = side == 0 ? -1 : 1;
        cairo_move_to(cr, villainX, 196 - lift);
        cairo_curve_to(cr, villainX + s * 18, 186 - lift, villainX + s * 42, 188 - lift, villainX + s * 54, 198 - lift);
        cairo_curve_to(cr, villainX + s * 62, 205 - lift, villainX + s * 76, 200 - lift, villainX + s * 72, 186 - lift);
        strokeInk(cr, 10);
    }
}

void drawToothRow(cairo_t* cr, double left, double right, double y, double height, bool pointing) {
    int teeth = 6;
    double w = (right - left) / teeth;
    for (int i = 0; i < teeth; ++i) {
        double x = left + i * w;
        cairo_move_to(cr, x, y);
        cairo_line_to(cr, x + w, y);
        cairo_line_to(cr, x + w * 0.5, y + (pointing ? height : -height));
        cairo_close_path(cr);
    }
    setRgb(cr, palette::white);
    cairo_fill_preserve(cr);
    strokeInk(cr, 2);
}

const Rgb villainMouthDark{0.239, 0.071, 0.149};

void villainSmirk(cairo_t* cr) {
    cairo_move_to(cr, 126, 214);
    cairo_curve_to(cr, 142, 220, 164, 220, 182, 206);
    strokeInk(cr, 6);
    cairo_move_to(cr, 160, 216);
    cairo_line_to(cr, 172, 213);
    cairo_line_to(cr, 168, 228);
    cairo_close_path(cr);
    fillOutlined(cr, palette::white, 2.5);
}

void grinPath(cairo_t* cr, double half, double depth) {
    cairo_move_to(cr, villainX - half, 206);
    cairo_line_to(cr, villainX + half, 206);
    cairo_curve_to(cr, villainX + half * 0.8, 206 + depth, villainX - half * 0.8, 206 + depth, villainX - half, 206);
    cairo_close_path(cr);
}

void singPathVillain(cairo_t* cr) {
    cairo_move_to(cr, villainX - 27, 204);
    cairo_curve_to(cr, villainX - 12, 198, villainX + 12, 198, villainX + 27, 204);
    cairo_curve_to(cr, villainX + 29, 224, villainX + 15, 238, villainX, 238);
    cairo_curve_to(cr, villainX - 15, 238, villainX - 29, 224, villainX - 27, 204);
    cairo_close_path(cr);
}

// Singing: the mouth open on a long vowel, two fangs showing above the tongue.
void villainSing(cairo_t* cr) {
    singPathVillain(cr);
    setRgb(cr, villainMouthDark);
    cairo_fill_preserve(cr);
    cairo_save(cr);
    cairo_clip(cr);
    ellipsePath(cr, villainX, 237, 18, 10);
    setRgb(cr, palette::coral);
    cairo_fill(cr);
    for (int side = -1; side <= 1; side += 2) {
        cairo_move_to(cr, villainX + side * 21, 196);
        cairo_line_to(cr, villainX + side * 7, 196);
        cairo_line_to(cr, villainX + side * 14, 216);
        cairo_close_path(cr);
    }
    setRgb(cr, palette::white);
    cairo_fill_preserve(cr);
    strokeInk(cr, 2);
    cairo_restore(cr);
    singPathVillain(cr);
    strokeInk(cr, 5);
}

// Laughing: a wide open grin full of pointed teeth, the tongue showing.
void villainLaugh(cairo_t* cr) {
    double depth = 54;
    double half = 44;
    grinPath(cr, half, depth);
    setRgb(cr, villainMouthDark);
    cairo_fill_preserve(cr);
    cairo_save(cr);
    cairo_clip(cr);
    ellipsePath(cr, villainX, 206 + depth * 0.8, 24, 12);
    setRgb(cr, palette::coral);
    cairo_fill(cr);
    drawToothRow(cr, villainX - half, villainX + half, 205, 11, true);
    cairo_restore(cr);
    grinPath(cr, half, depth);
    strokeInk(cr, 5);
}

void villainClenched(cairo_t* cr) {
    roundedRectPath(cr, villainX - 36, 204, 72, 26, 9);
    setRgb(cr, palette::white);
    cairo_fill_preserve(cr);
    strokeInk(cr, 5);
    for (int i = 1; i < 6; ++i) {
        cairo_move_to(cr, villainX - 36 + i * 12, 206);
        cairo_line_to(cr, villainX - 36 + i * 12, 228);
    }
    cairo_move_to(cr, villainX - 34, 217);
    cairo_line_to(cr, villainX + 34, 217);
    strokeInk(cr, 2.5);
}

void villainShout(cairo_t* cr) {
    ellipsePath(cr, villainX, 226, 30, 24);
    setRgb(cr, villainMouthDark);
    cairo_fill(cr);
    cairo_save(cr);
    ellipsePath(cr, villainX, 226, 30, 24);
    cairo_clip(cr);
    drawToothRow(cr, villainX - 32, villainX + 32, 202, 10, true);
    drawToothRow(cr, villainX - 32, villainX + 32, 250, 10, false);
    cairo_restore(cr);
    ellipsePath(cr, villainX, 226, 30, 24);
    strokeInk(cr, 5);
}

void drawVillainMouth(cairo_t* cr, int frame) {
    switch (frame) {
    case 0: villainSmirk(cr); break;
    case 1: villainSing(cr); break;
    case 2: villainLaugh(cr); break;
    case 3: villainClenched(cr); break;
    default: villainShout(cr); break;
    }
}

// A bolt `size` tall, centred on (x, y).
void lightningPath(cairo_t* cr, double x, double y, double size) {
    const double bolt[][2] = {{4, -30}, {-14, 4}, {0, 4}, {-6, 30}, {14, -6}, {0, -6}, {10, -30}};
    polygonPath(cr, bolt, int(std::size(bolt)), x, y, size / 60.0);
}

void drawVillainExtras(cairo_t* cr, int frame, const ArtFonts& fonts) {
    if (frame == 2) {
        cairo_save(cr);
        cairo_translate(cr, 252, 46);
        cairo_rotate(cr, 0.25);
        useFont(cr, fonts.headline, 40);
        drawOutlinedText(cr, "HA!", 0, 0, palette::sun, 6);
        cairo_restore(cr);
        cairo_save(cr);
        cairo_translate(cr, 262, 104);
        cairo_rotate(cr, -0.15);
        useFont(cr, fonts.headline, 30);
        drawOutlinedText(cr, "HA!", 0, 0, palette::coral, 5);
        cairo_restore(cr);
    }
    if (frame >= 3) {
        lightningPath(cr, 262, 60, frame == 3 ? 50 : 70);
        fillOutlined(cr, palette::sun, outlineThin);
    }
    if (frame == 4) {
        lightningPath(cr, 28, 200, 60);
        fillOutlined(cr, palette::sun, outlineThin);
        lightningPath(cr, 270, 190, 44);
        fillOutlined(cr, palette::sun, outlineThin);
    }
}

}  // namespace

void drawGlitch(cairo_t* cr, int frame, const ArtFonts& fonts) {
    frame = frame < 0 ? 0 : frame >= glitchFrameCount ? glitchFrameCount - 1 : frame;
    const VillainPose& pose = villainPoses[frame];
    cairo_save(cr);
    drawAura(cr, pose.auraAlpha);
    if (pose.capeFlung) drawCapeFlourish(cr);
    drawVillainCapeAndBody(cr);
    cairo_save(cr);
    cairo_translate(cr, 0, -pose.headLift);
    drawVillainHead(cr);
    for (int side = 0; side < 2; ++side) {
        drawVillainEye(cr, pose, side);
        drawVillainBrow(cr, pose, side);
    }
    cairo_move_to(cr, villainX - 2, 156);
    cairo_curve_to(cr, villainX + 14, 172, villainX + 16, 184, villainX, 186);
    strokeInk(cr, 4);
    drawVillainMouth(cr, frame);
    drawMoustache(cr, frame == 2 ? 6 : frame == 1 ? 4 : 0);
    cairo_move_to(cr, villainX - 10, 244);
    cairo_line_to(cr, villainX + 10, 244);
    cairo_line_to(cr, villainX, 268);
    cairo_close_path(cr);
    fillOutlined(cr, palette::night, 2.5);
    cairo_restore(cr);
    drawVillainExtras(cr, frame, fonts);
    cairo_restore(cr);
}

namespace {

void drawSunRays(cairo_t* cr, double c) {
    const int rays = 16;
    for (int i = 0; i < rays; ++i) {
        double a = i * 2 * M_PI / rays;
        double reach = i % 2 == 0 ? 440 : 380;
        double half = i % 2 == 0 ? 0.13 : 0.11;
        cairo_move_to(cr, c + std::cos(a - half) * 250, c + std::sin(a - half) * 250);
        cairo_line_to(cr, c + std::cos(a) * reach, c + std::sin(a) * reach);
        cairo_line_to(cr, c + std::cos(a + half) * 250, c + std::sin(a + half) * 250);
        cairo_close_path(cr);
        fillOutlined(cr, i % 2 == 0 ? palette::sun : palette::orange, outlineWide);
    }
}

void drawSunFace(cairo_t* cr, double c) {
    for (int side = -1; side <= 1; side += 2) {
        double ex = c + side * 88;
        ellipsePath(cr, ex, c - 50, 30, 42);
        fillOutlined(cr, palette::white, outlineWide);
        circlePath(cr, ex + 6, c - 42, 20);
        setRgb(cr, palette::ink);
        cairo_fill(cr);
        circlePath(cr, ex, c - 50, 7);
        setRgb(cr, palette::white);
        cairo_fill(cr);
        cairo_move_to(cr, ex - 34, c - 118 - (side > 0 ? 10 : 0));
        cairo_curve_to(cr, ex - 12, c - 134, ex + 12, c - 134, ex + 34, c - 118 + (side > 0 ? 0 : -10));
        strokeInk(cr, 10);
        ellipsePath(cr, c + side * 160, c + 50, 40, 22);
        setRgb(cr, palette::coral, 0.55);
        cairo_fill(cr);
    }
    cairo_move_to(cr, c - 110, c + 40);
    cairo_curve_to(cr, c - 60, c + 150, c + 60, c + 150, c + 110, c + 40);
    cairo_close_path(cr);
    setRgb(cr, mixRgb(palette::coral, palette::ink, 0.45));
    cairo_fill_preserve(cr);
    cairo_save(cr);
    cairo_clip_preserve(cr);
    cairo_new_path(cr);
    ellipsePath(cr, c, c + 130, 60, 40);
    setRgb(cr, palette::coral);
    cairo_fill(cr);
    cairo_restore(cr);
    cairo_move_to(cr, c - 110, c + 40);
    cairo_curve_to(cr, c - 60, c + 150, c + 60, c + 150, c + 110, c + 40);
    cairo_close_path(cr);
    strokeInk(cr, outlineWide + 2);
}

}  // namespace

void drawSunCharacter(cairo_t* cr) {
    double c = sunSize * 0.5;
    // Drawn for a disc of radius 262 and scaled about the centre to the size it shows at: a
    // disc of radius 223, rays and glow within 380 of the centre.
    cairo_translate(cr, c, c);
    cairo_scale(cr, 0.85, 0.85);
    cairo_translate(cr, -c, -c);
    cairo_pattern_t* glow = cairo_pattern_create_radial(c, c, 240, c, c, 444);
    cairo_pattern_add_color_stop_rgba(glow, 0.0, palette::sun.r, palette::sun.g, palette::sun.b, 0.45);
    cairo_pattern_add_color_stop_rgba(glow, 1.0, palette::sun.r, palette::sun.g, palette::sun.b, 0.0);
    cairo_set_source(cr, glow);
    circlePath(cr, c, c, 444);
    cairo_fill(cr);
    cairo_pattern_destroy(glow);
    drawSunRays(cr, c);
    cairo_pattern_t* disc = cairo_pattern_create_radial(c - 80, c - 90, 20, c, c, 270);
    Rgb light = mixRgb(palette::sun, palette::cream, 0.5);
    cairo_pattern_add_color_stop_rgb(disc, 0.0, light.r, light.g, light.b);
    cairo_pattern_add_color_stop_rgb(disc, 1.0, palette::sun.r, palette::sun.g, palette::sun.b);
    circlePath(cr, c, c, 262);
    cairo_set_source(cr, disc);
    cairo_fill_preserve(cr);
    cairo_pattern_destroy(disc);
    strokeInk(cr, outlineWide + 3);
    drawSunFace(cr, c);
}
