// The polaroids and the credits. The demo draws every one of them at the screen's top-left
// corner, so each image is a transparent canvas that holds one polaroid (or credit card) at
// its own place and tilt; shown one after another they build a pile. Trailing transparent
// columns and rows are cropped away.
#include <cmath>
#include <cstdio>
#include <string>
#include <vector>

#include "art_canvas.h"
#include "art_groups.h"
#include "art_photos.h"
#include "art_show_text.h"

namespace {

constexpr int screenWidth = 1280;
constexpr int screenHeight = 720;
constexpr double frameWidth = 240;
constexpr double frameHeight = 292;
constexpr double photoInset = 14;
constexpr double photoSize = frameWidth - 2 * photoInset;

struct Placement {
    double x;  // centre of the card on screen
    double y;
    double degrees;
};

struct PolaroidSet {
    int refrain;  // 1..3, as in the file names
    int count;
};

const PolaroidSet polaroidSets[] = {{1, 5}, {2, 14}, {3, 14}};

// The scene of each photo, in caption order (see art-texts.txt).
const PhotoScene photoScenes[33] = {
    PhotoScene::meadow,    PhotoScene::sunFace,  PhotoScene::hills,     PhotoScene::beach,
    PhotoScene::pipSelfie, PhotoScene::night,    PhotoScene::city,      PhotoScene::villain,
    PhotoScene::flowers,   PhotoScene::sunset,   PhotoScene::tunnel,    PhotoScene::picnic,
    PhotoScene::stars,     PhotoScene::moon,     PhotoScene::photobomb, PhotoScene::waves,
    PhotoScene::hills,     PhotoScene::friends,  PhotoScene::goldenHour, PhotoScene::gang,
    PhotoScene::rain,      PhotoScene::sunrise,  PhotoScene::mosaic,    PhotoScene::villain,
    PhotoScene::city,      PhotoScene::flowers,  PhotoScene::sunset,    PhotoScene::space,
    PhotoScene::tunnel,    PhotoScene::lake,     PhotoScene::dancing,   PhotoScene::meadow,
    PhotoScene::sunset,
};

int greatestCommonDivisor(int a, int b) {
    return b == 0 ? a : greatestCommonDivisor(b, a % b);
}

// Spreads a set over the right part of the screen (the refrain's sun has the left): a loose
// grid of five columns, filled in a scrambled order (a step through the cells that is prime to
// their count, so each cell is used once), each card nudged and tilted a little. Every card
// stays on screen, whatever its tilt.
Placement polaroidPlacement(int index, int count, int refrain) {
    constexpr int columns = 5;
    int rows = (count + columns - 1) / columns;
    int step = 5;
    while (greatestCommonDivisor(step, count) != 1) step += 2;
    int cell = (index * step + refrain) % count;
    int column = cell % columns;
    int row = cell / columns;
    double left = 480;
    double right = 1060;
    double top = rows == 1 ? 330 : 200;
    double bottom = rows == 1 ? 330 : 500;
    double x = left + (right - left) * double(column) / (columns - 1);
    double y = rows == 1 ? top : top + (bottom - top) * double(row) / (rows - 1);
    if (rows == 1) y += column % 2 == 0 ? -50 : 50;
    x += 20 * std::sin(index * 2.3 + refrain);
    y += 20 * std::cos(index * 1.7 + refrain * 2);
    double degrees = 12 * std::sin(index * 2.9 + refrain * 1.3);
    return Placement{x, y, degrees};
}

double fittingSize(cairo_t* cr, cairo_font_face_t* face, const std::string& text, double width,
                   double largest, double smallest) {
    for (double size = largest; size >= smallest; size -= 1) {
        useFont(cr, face, size);
        if (textWidth(cr, text) <= width) return size;
    }
    return 0;
}

void cardShadow(cairo_t* cr, double w, double h) {
    roundedRectPath(cr, -w * 0.5 + 7, -h * 0.5 + 9, w, h, 6);
    setRgb(cr, palette::ink, 0.3);
    cairo_fill(cr);
}

int drawPolaroid(const ArtJob& job, const TaggedLine& caption, PhotoScene scene, Placement place,
                 const std::string& path, unsigned seed) {
    Canvas canvas = makeCanvas(screenWidth, screenHeight, false);
    cairo_t* cr = canvas.cr;
    cairo_translate(cr, place.x, place.y);
    cairo_rotate(cr, place.degrees * M_PI / 180.0);
    cardShadow(cr, frameWidth, frameHeight);
    roundedRectPath(cr, -frameWidth * 0.5, -frameHeight * 0.5, frameWidth, frameHeight, 6);
    fillOutlined(cr, mixRgb(palette::white, palette::cream, 0.4), 2.5);
    cairo_save(cr);
    cairo_translate(cr, -frameWidth * 0.5 + photoInset, -frameHeight * 0.5 + photoInset);
    drawPhoto(cr, scene, photoSize, seed, job.fonts);
    cairo_rectangle(cr, 0, 0, photoSize, photoSize);
    strokeInk(cr, 2);
    cairo_restore(cr);
    double size = fittingSize(cr, job.fonts.hand, caption.text, photoSize - 8, 34, 18);
    int result = -1;
    if (size == 0) {
        fprintf(stderr, "demo-art: %sthe caption is too long for its polaroid\n", whereOf(caption).c_str());
    } else {
        useFont(cr, job.fonts.hand, size);
        drawOutlinedText(cr, caption.text, 0, frameHeight * 0.5 - 22, palette::ink, 0);
        result = writeCanvas(canvas, job.outRoot, path, true);
    }
    freeCanvas(canvas);
    return result;
}

// Credit cards: where each lies on screen, and the colour of its strip of tape.
const Placement creditPlacements[6] = {{640, 170, -3}, {222, 200, 4}, {1058, 205, -4},
                                       {225, 520, -2}, {1055, 515, 3}, {640, 540, 1}};
const Rgb creditTapes[6] = {palette::coral, palette::teal, palette::sun, palette::purple, palette::sky, palette::orange};
constexpr double creditWidth = 400;
constexpr double creditHeight = 236;

int drawCredit(const ArtJob& job, const TaggedLine& line, int index) {
    std::vector<std::string> parts = splitParts(line.text);
    if (parts.size() < 2 || parts.size() > 3) {
        fprintf(stderr, "demo-art: %sa credit needs \"TITLE | LINE\" or \"TITLE | LINE | LINE\"\n",
                whereOf(line).c_str());
        return -1;
    }
    Canvas canvas = makeCanvas(screenWidth, screenHeight, false);
    cairo_t* cr = canvas.cr;
    Placement place = creditPlacements[index];
    cairo_translate(cr, place.x, place.y);
    cairo_rotate(cr, place.degrees * M_PI / 180.0);
    cardShadow(cr, creditWidth, creditHeight);
    roundedRectPath(cr, -creditWidth * 0.5, -creditHeight * 0.5, creditWidth, creditHeight, 10);
    fillOutlined(cr, palette::cream, outlineThin);
    cairo_rectangle(cr, -70, -creditHeight * 0.5 - 16, 140, 34);
    setRgb(cr, creditTapes[index], 0.75);
    cairo_fill(cr);
    double textWidthAvailable = creditWidth - 40;
    double titleSize = fittingSize(cr, job.fonts.headline, parts[0], textWidthAvailable, 50, 26);
    double lineSize = 0;
    for (size_t i = 1; i < parts.size(); ++i) {
        double size = fittingSize(cr, job.fonts.rounded, parts[i], textWidthAvailable, parts.size() == 2 ? 44 : 34, 20);
        lineSize = i == 1 || size < lineSize ? size : lineSize;
    }
    int result = -1;
    if (titleSize == 0 || lineSize == 0) {
        fprintf(stderr, "demo-art: %sthe credit's text is too long for its card\n", whereOf(line).c_str());
    } else {
        useFont(cr, job.fonts.headline, titleSize);
        drawOutlinedText(cr, parts[0], 0, -creditHeight * 0.5 + 76, creditTapes[index], 5);
        useFont(cr, job.fonts.rounded, lineSize);
        double firstBaseline = parts.size() == 2 ? 50 : 26;
        for (size_t i = 1; i < parts.size(); ++i) {
            drawOutlinedText(cr, parts[i], 0, firstBaseline + double(i - 1) * lineSize * 1.3, palette::ink, 0);
        }
        result = writeCanvas(canvas, job.outRoot, "data/credits/credit1." + std::to_string(index + 1) + ".png", true);
    }
    freeCanvas(canvas);
    return result;
}

}  // namespace

int drawPolaroidImages(const ArtJob& job) {
    std::vector<TaggedLine> captions = artTextLines(artTextsPath(job), "caption", 33);
    if (captions.empty()) return -1;
    int photo = 0;
    for (const PolaroidSet& set : polaroidSets) {
        for (int i = 0; i < set.count; ++i, ++photo) {
            std::string path = "data/refrain/polaroids/omkvaed" + std::to_string(set.refrain) + "." +
                               std::to_string(i + 1) + ".png";
            Placement place = polaroidPlacement(i, set.count, set.refrain);
            if (drawPolaroid(job, captions[size_t(photo)], photoScenes[photo], place, path, unsigned(photo)) != 0) {
                return -1;
            }
        }
    }
    return 0;
}

int drawCreditImages(const ArtJob& job) {
    std::vector<TaggedLine> credits = artTextLines(artTextsPath(job), "credit", 6);
    if (credits.empty()) return -1;
    for (int i = 0; i < 6; ++i) {
        if (drawCredit(job, credits[size_t(i)], i) != 0) return -1;
    }
    return 0;
}
