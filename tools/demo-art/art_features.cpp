// The features: twelve headline cards that boast, tongue in cheek, about what the show has.
// Each is a tilted card with a numbered badge, a big headline and a line of small print, kept
// to the top-left corner of the screen where the demo draws it.
#include <cmath>
#include <cstdio>
#include <string>
#include <vector>

#include "art_canvas.h"
#include "art_groups.h"
#include "art_show_text.h"

namespace {

constexpr int featureCount = 12;
constexpr int canvasWidth = 680;
constexpr int canvasHeight = 200;
constexpr double cardX = 24;
constexpr double cardY = 26;
constexpr double cardW = 610;
constexpr double cardH = 142;
constexpr double textLeft = 150;  // headline and small print start right of the badge

const Rgb cardColours[] = {palette::coral, palette::teal, palette::purple, palette::orange,
                           palette::sky};

// The largest size, up to `largest`, at which the text fits the width; 0 when none from
// `smallest` up does.
double fittingSize(cairo_t* cr, cairo_font_face_t* face, const std::string& text, double width,
                   double largest, double smallest) {
    for (double size = largest; size >= smallest; size -= 1) {
        useFont(cr, face, size);
        if (textWidth(cr, text) <= width) return size;
    }
    return 0;
}

void drawCard(cairo_t* cr, Rgb colour) {
    roundedRectPath(cr, cardX + 6, cardY + 8, cardW, cardH, 26);
    setRgb(cr, palette::ink, 0.3);
    cairo_fill(cr);
    roundedRectPath(cr, cardX, cardY, cardW, cardH, 26);
    fillOutlined(cr, colour, outlineWide);
    // A lighter stripe across the top for a bit of depth.
    cairo_save(cr);
    roundedRectPath(cr, cardX, cardY, cardW, cardH, 26);
    cairo_clip(cr);
    cairo_rectangle(cr, cardX, cardY, cardW, 22);
    setRgb(cr, palette::white, 0.2);
    cairo_fill(cr);
    cairo_restore(cr);
}

void drawBadge(cairo_t* cr, const ArtFonts& fonts, int number) {
    double x = cardX + 66;
    double y = cardY + cardH * 0.5;
    for (int i = 0; i < 16; ++i) {
        double a = i * M_PI / 8;
        double r = i % 2 == 0 ? 62 : 52;
        if (i == 0) cairo_move_to(cr, x + r * std::cos(a), y + r * std::sin(a));
        else cairo_line_to(cr, x + r * std::cos(a), y + r * std::sin(a));
    }
    cairo_close_path(cr);
    fillOutlined(cr, palette::sun, outlineThin + 1);
    useFont(cr, fonts.headline, 20);
    drawOutlinedText(cr, "NO.", x, y - 14, palette::ink, 0);
    useFont(cr, fonts.headline, number < 10 ? 44 : 38);
    drawOutlinedText(cr, std::to_string(number), x, y + 26, palette::ink, 0);
}

int drawFeature(const ArtJob& job, const TaggedLine& line, int number) {
    std::vector<std::string> parts = splitParts(line.text);
    if (parts.size() != 2 || parts[0].empty() || parts[1].empty()) {
        fprintf(stderr, "demo-art: %sa feature needs \"HEADLINE | small print\"\n", whereOf(line).c_str());
        return -1;
    }
    Canvas canvas = makeCanvas(canvasWidth, canvasHeight, false);
    cairo_t* cr = canvas.cr;
    double tilt = (number % 2 == 0 ? 2.0 : -2.5) * M_PI / 180.0;
    cairo_translate(cr, canvasWidth * 0.5, canvasHeight * 0.5);
    cairo_rotate(cr, tilt);
    cairo_translate(cr, -canvasWidth * 0.5, -canvasHeight * 0.5);
    drawCard(cr, cardColours[(number - 1) % 5]);
    drawBadge(cr, job.fonts, number);
    double textWidthAvailable = cardX + cardW - 24 - textLeft;
    double headlineSize = fittingSize(cr, job.fonts.headline, parts[0], textWidthAvailable, 64, 30);
    double printSize = fittingSize(cr, job.fonts.rounded, parts[1], textWidthAvailable, 28, 18);
    int result = -1;
    if (headlineSize == 0 || printSize == 0) {
        fprintf(stderr, "demo-art: %sthe feature's text is too long for its card\n", whereOf(line).c_str());
    } else {
        double middle = textLeft + textWidthAvailable * 0.5;
        useFont(cr, job.fonts.headline, headlineSize);
        drawOutlinedText(cr, parts[0], middle, cardY + 78, palette::white, 7);
        useFont(cr, job.fonts.rounded, printSize);
        drawOutlinedText(cr, parts[1], middle, cardY + 120, palette::cream, 0);
        result = writeCanvas(canvas, job.outRoot, "data/features/" + std::to_string(number) + ".png", true);
    }
    freeCanvas(canvas);
    return result;
}

}  // namespace

std::string artTextsPath(const ArtJob& job) {
    return job.showDir + "/art-texts.txt";
}

int drawFeatureImages(const ArtJob& job) {
    std::vector<TaggedLine> lines = artTextLines(artTextsPath(job), "feature", featureCount);
    if (lines.empty()) return -1;
    for (int i = 0; i < featureCount; ++i) {
        if (drawFeature(job, lines[size_t(i)], i + 1) != 0) return -1;
    }
    return 0;
}
