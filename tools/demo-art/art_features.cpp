// The features: twelve headline cards that boast, tongue in cheek, about what the show has.
// Each is a tilted card with a numbered badge, a big headline and a line of small print. The
// demo draws every card image at the screen's top-left corner, so each image is a transparent
// screen-sized canvas (cropped at the right and bottom) that holds the card in the upper middle
// of the screen: right of Count Glitch (x 0..303 from y 278), above both speech bubbles (from
// y 596), and inside the graphics-safe area (x 64..1216, y 36..684) with its tilt, shadow and
// jitter of 6 and 4 pixels.
#include <cmath>
#include <cstdio>
#include <string>
#include <vector>

#include "art_canvas.h"
#include "base/show_facts.h"
#include "art_groups.h"
#include "art_show_text.h"

namespace {

constexpr int featureCount = showImagePartSize(ShowImagePart::features);
constexpr int screenWidth = designSpaceWidth;
constexpr int screenHeight = designSpaceHeight;
// The card is laid out at 610 x 142 with its top-left corner at the origin, then scaled and
// turned about its centre, which lies at (cardCentreX, cardCentreY) on screen.
constexpr double cardW = 610;
constexpr double cardH = 142;
constexpr double cardScale = 1.2;
constexpr double cardCentreX = 760;
constexpr double cardCentreY = 150;
constexpr double textLeft = 126;  // headline and small print start right of the badge

const Rgb cardColours[] = {palette::coral, palette::teal, palette::purple, palette::orange, palette::sky};

void drawCard(cairo_t* cr, Rgb colour) {
    roundedRectPath(cr, 6, 8, cardW, cardH, 26);
    setRgb(cr, palette::ink, 0.3);
    cairo_fill(cr);
    roundedRectPath(cr, 0, 0, cardW, cardH, 26);
    fillOutlined(cr, colour, outlineWide);
    // A lighter stripe across the top for a bit of depth.
    cairo_save(cr);
    roundedRectPath(cr, 0, 0, cardW, cardH, 26);
    cairo_clip(cr);
    cairo_rectangle(cr, 0, 0, cardW, 22);
    setRgb(cr, palette::white, 0.2);
    cairo_fill(cr);
    cairo_restore(cr);
}

void drawBadge(cairo_t* cr, const ArtFonts& fonts, int number) {
    double x = 66;
    double y = cardH * 0.5;
    for (int i = 0; i < 16; ++i) {
        double a = i * M_PI / 8;
        double r = i % 2 == 0 ? 62 : 52;
        if (i == 0)
            cairo_move_to(cr, x + r * std::cos(a), y + r * std::sin(a));
        else
            cairo_line_to(cr, x + r * std::cos(a), y + r * std::sin(a));
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
    Canvas canvas = makeCanvas(screenWidth, screenHeight, false);
    cairo_t* cr = canvas.cr;
    double tilt = (number % 2 == 0 ? 2.0 : -2.5) * M_PI / 180.0;
    cairo_translate(cr, cardCentreX, cardCentreY);
    cairo_rotate(cr, tilt);
    cairo_scale(cr, cardScale, cardScale);
    cairo_translate(cr, -cardW * 0.5, -cardH * 0.5);
    drawCard(cr, cardColours[(number - 1) % 5]);
    drawBadge(cr, job.fonts, number);
    double textWidthAvailable = cardW - 24 - textLeft;
    double headlineSize = fittingSize(cr, job.fonts.headline, parts[0], textWidthAvailable, 64, 30);
    double printSize = fittingSize(cr, job.fonts.rounded, parts[1], textWidthAvailable, 28, 18);
    int result = -1;
    if (headlineSize == 0 || printSize == 0) {
        fprintf(stderr, "demo-art: %sthe feature's text is too long for its card\n", whereOf(line).c_str());
    } else {
        double middle = textLeft + textWidthAvailable * 0.5;
        useFont(cr, job.fonts.headline, headlineSize);
        drawOutlinedText(cr, parts[0], middle, 78, palette::white, 7);
        useFont(cr, job.fonts.rounded, printSize);
        drawOutlinedText(cr, parts[1], middle, 120, palette::cream, 4);
        result = writeCanvas(canvas, job.outRoot, showImageFileName(ShowImagePart::features, number - 1), true);
    }
    freeCanvas(canvas);
    return result;
}

}  // namespace

std::string artTextsPath(const ArtJob& job) { return job.showDir + "/art-texts.txt"; }

int drawFeatureImages(const ArtJob& job) {
    std::vector<TaggedLine> lines = artTextLines(artTextsPath(job), "feature", featureCount);
    if (lines.empty()) return -1;
    for (int i = 0; i < featureCount; ++i) {
        if (drawFeature(job, lines[size_t(i)], i + 1) != 0) return -1;
    }
    return 0;
}
