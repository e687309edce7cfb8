// The polaroids and the credits. The demo draws every one of them at the screen's top-left
// corner, so each image is a transparent canvas that holds one polaroid (or credit card) at
// its own place and tilt; shown one after another they build a pile. Trailing transparent
// columns and rows are cropped away.
#include <cmath>
#include <cstdio>
#include <string>
#include <vector>

#include "art_canvas.h"
#include "base/show_facts.h"
#include "art_groups.h"
#include "art_photos.h"
#include "art_show_text.h"

namespace {

constexpr int screenWidth = designSpaceWidth;
constexpr int screenHeight = designSpaceHeight;
constexpr double frameWidth = 240;
constexpr double frameHeight = 292;
constexpr double photoInset = 14;
constexpr double photoSize = frameWidth - 2 * photoInset;

struct Placement {
    double x;  // centre of the card on screen
    double y;
    double degrees;
    double scale = 1;  // of the card's drawing
};

// Each refrain piles up its own set; the last refrain's is bigger and dressed up for a party,
// with a strip of tape and confetti on every card.
struct PolaroidSet {
    int refrain;  // 1..3, as in the file names
    int count;
    double scale;
    bool festive;
};

const PolaroidSet polaroidSets[polaroidSetCount] = {
    {1, polaroidSetSizes[0], 1.0, false}, {2, polaroidSetSizes[1], 1.0, false}, {3, polaroidSetSizes[2], 1.1, true}};
constexpr int photoCount = showImagePartSize(ShowImagePart::polaroids);
constexpr int creditCount = showImagePartSize(ShowImagePart::credits);
constexpr double tapeOverhang = 12;  // how far a festive card's tape reaches past its top edge

// The scene of each photo, in caption order (see art-texts.txt).
const PhotoScene photoScenes[photoCount] = {
    PhotoScene::meadow,  PhotoScene::sunFace, PhotoScene::hills,   PhotoScene::beach,      PhotoScene::pipSelfie,
    PhotoScene::night,   PhotoScene::city,    PhotoScene::villain, PhotoScene::flowers,    PhotoScene::sunset,
    PhotoScene::tunnel,  PhotoScene::picnic,  PhotoScene::stars,   PhotoScene::moon,       PhotoScene::photobomb,
    PhotoScene::waves,   PhotoScene::hills,   PhotoScene::friends, PhotoScene::goldenHour, PhotoScene::gang,
    PhotoScene::rain,    PhotoScene::sunrise, PhotoScene::mosaic,  PhotoScene::villain,    PhotoScene::city,
    PhotoScene::flowers, PhotoScene::sunset,  PhotoScene::space,   PhotoScene::tunnel,     PhotoScene::lake,
    PhotoScene::dancing, PhotoScene::meadow,  PhotoScene::sunset,
};

// Where the photographs may lie on screen, shadow and sway included: right of the refrain's
// sun (its disc reaches x 410), left of Pip (his image starts at x 904) and above the two speech
// bubbles (from y 596); the pile grows between them.
constexpr double pileLeft = 420;
constexpr double pileRight = 896;
constexpr double pileTop = 8;
constexpr double pileBottom = 588;
constexpr double shadowX = 7;
constexpr double shadowY = 9;
constexpr double largestTilt = 8;  // degrees

// Half the width and height of the box that holds a card of w x h turned by `degrees`.
void turnedHalfExtents(double w, double h, double degrees, double* halfWidth, double* halfHeight) {
    double a = std::fabs(degrees) * M_PI / 180.0;
    *halfWidth = 0.5 * (w * std::cos(a) + h * std::sin(a));
    *halfHeight = 0.5 * (h * std::cos(a) + w * std::sin(a));
}

// Spreads a set over the pile's area: the k-th card of a set goes to the k-th point of an
// evenly spreading sequence (steps of the plastic number's powers), shifted per refrain, so
// the cards cover the area from the start and each set lies differently; each card is tilted
// a little. The centre is kept where the turned card, with its shadow, stays inside the area.
Placement polaroidPlacement(int index, const PolaroidSet& set) {
    double degrees = largestTilt * std::sin(index * 2.9 + set.refrain * 1.3);
    double overhang = set.festive ? tapeOverhang : 0;
    double halfWidth = 0, halfHeight = 0;
    turnedHalfExtents(frameWidth * set.scale, (frameHeight + 2 * overhang) * set.scale, degrees, &halfWidth,
                      &halfHeight);
    double u = std::fmod(0.5 + index * 0.7548776662 + set.refrain * 0.31, 1.0);
    double v = std::fmod(0.5 + index * 0.5698402910 + set.refrain * 0.17, 1.0);
    double minX = pileLeft + halfWidth + 2;
    double maxX = pileRight - halfWidth - (shadowX + 3.5) * set.scale;
    double minY = pileTop + halfHeight + 2;
    double maxY = pileBottom - halfHeight - (shadowY + 3.5) * set.scale;
    return Placement{minX + (maxX - minX) * u, minY + (maxY - minY) * v, degrees, set.scale};
}

// A festive card's decorations: a strip of tape across the top edge and confetti on the frame
// around the photo, their colours turning with the card's number.
void drawPartyTrim(cairo_t* cr, unsigned seed) {
    const Rgb colours[] = {palette::coral, palette::teal, palette::sun, palette::purple, palette::sky, palette::orange};
    cairo_save(cr);
    cairo_translate(cr, 0, -frameHeight * 0.5);
    cairo_rotate(cr, seed % 2 == 0 ? 0.06 : -0.06);
    cairo_rectangle(cr, -46, -tapeOverhang, 92, 2 * tapeOverhang);
    setRgb(cr, colours[seed % 6], 0.8);
    cairo_fill(cr);
    cairo_restore(cr);
    const double dots[][2] = {{-104, 100}, {-92, 128}, {104, 96},  {94, 126},
                              {-106, -60}, {106, 20},  {-106, 40}, {106, -90}};
    for (int i = 0; i < 8; ++i) {
        circlePath(cr, dots[i][0], dots[i][1], 3 + (i + seed) % 3);
        setRgb(cr, colours[(seed + unsigned(i)) % 6]);
        cairo_fill(cr);
    }
}

void cardShadow(cairo_t* cr, double w, double h) {
    roundedRectPath(cr, -w * 0.5 + shadowX, -h * 0.5 + shadowY, w, h, 6);
    setRgb(cr, palette::ink, 0.3);
    cairo_fill(cr);
}

int drawPolaroid(const ArtJob& job, const TaggedLine& caption, PhotoScene scene, Placement place, bool festive,
                 const std::string& path, unsigned seed) {
    Canvas canvas = makeCanvas(screenWidth, screenHeight, false);
    cairo_t* cr = canvas.cr;
    cairo_translate(cr, place.x, place.y);
    cairo_rotate(cr, place.degrees * M_PI / 180.0);
    cairo_scale(cr, place.scale, place.scale);
    cardShadow(cr, frameWidth, frameHeight);
    roundedRectPath(cr, -frameWidth * 0.5, -frameHeight * 0.5, frameWidth, frameHeight, 6);
    fillOutlined(cr, mixRgb(palette::white, palette::cream, 0.4), 2.5);
    cairo_save(cr);
    cairo_translate(cr, -frameWidth * 0.5 + photoInset, -frameHeight * 0.5 + photoInset);
    drawPhoto(cr, scene, photoSize, seed, job.fonts);
    cairo_rectangle(cr, 0, 0, photoSize, photoSize);
    strokeInk(cr, 2);
    cairo_restore(cr);
    if (festive) drawPartyTrim(cr, seed);
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

// Credit cards: a grid of three by two on screen, every card whole inside the graphics-safe
// area (x 64..1216, y 36..684) with its tilt, shadow, tape and sway of 6 and 4 pixels, and
// none covering another, so that they stay readable as they pile up. The first place, the top
// middle, is left empty: credit 1.1 is the title card, drawn on its own (drawTitleCard).
const Placement creditPlacements[creditCount] = {{640, 200, -2}, {260, 200, 3},  {1020, 200, -3},
                                                 {260, 520, -2}, {1020, 520, 2}, {640, 520, 1}};
const Rgb creditTapes[creditCount] = {palette::coral,  palette::teal, palette::sun,
                                      palette::purple, palette::sky,  palette::orange};
constexpr double creditWidth = 340;
constexpr double creditHeight = 266;
constexpr double creditTextWidth = creditWidth - 36;

struct CreditText {
    std::vector<std::string> titleRows;  // one row, or two when one would be too small
    double titleSize;
    double lineSize;
};

// Sizes the title (one row down to 34 pixels, else two rows) and the lines, all within the
// card's width; a size of 0 when some text does not fit.
CreditText fitCredit(cairo_t* cr, const ArtFonts& fonts, const std::vector<std::string>& parts) {
    CreditText fit{{parts[0]}, fittingSize(cr, fonts.headline, parts[0], creditTextWidth, 48, 34), 0};
    std::vector<std::string> rows = splitInTwo(parts[0]);
    if (fit.titleSize == 0 && rows.size() == 2) {
        double first = fittingSize(cr, fonts.headline, rows[0], creditTextWidth, 40, 26);
        double second = fittingSize(cr, fonts.headline, rows[1], creditTextWidth, 40, 26);
        fit = CreditText{rows, std::fmin(first, second), 0};
    }
    for (size_t i = 1; i < parts.size(); ++i) {
        double size = fittingSize(cr, fonts.rounded, parts[i], creditTextWidth, parts.size() == 2 ? 42 : 34, 22);
        fit.lineSize = i == 1 || size < fit.lineSize ? size : fit.lineSize;
    }
    return fit;
}

// The title in the card's upper half, the lines centred in its lower half.
void drawCreditText(cairo_t* cr, const ArtFonts& fonts, const std::vector<std::string>& parts, const CreditText& fit,
                    Rgb titleColour) {
    useFont(cr, fonts.headline, fit.titleSize);
    double titleStep = fit.titleSize * 1.05;
    double titleBaseline = -56 + fit.titleSize * 0.35 - titleStep * 0.5 * double(fit.titleRows.size() - 1);
    for (size_t i = 0; i < fit.titleRows.size(); ++i) {
        drawOutlinedText(cr, fit.titleRows[i], 0, titleBaseline + titleStep * double(i), titleColour, 5);
    }
    useFont(cr, fonts.rounded, fit.lineSize);
    double lineStep = fit.lineSize * 1.25;
    double lineBaseline = 56 + fit.lineSize * 0.35 - lineStep * 0.5 * double(parts.size() - 2);
    for (size_t i = 1; i < parts.size(); ++i) {
        drawOutlinedText(cr, parts[i], 0, lineBaseline + lineStep * double(i - 1), palette::ink, 0);
    }
}

// The title card, credit 1.1, shown alone in the intro: the group, a line, and the show's title
// big, on a cream card over a burst of sun rays, centred in the upper two thirds of the screen
// (clear of the bubbles from y 590) and, with the sway, inside the graphics-safe area.
constexpr double titleX = 640;
constexpr double titleY = 275;
constexpr double titleCardWidth = 860;
constexpr double titleCardHeight = 380;
constexpr double titleBurstWidth = 960;  // the rays' frame, not tilted
constexpr double titleBurstHeight = 452;
constexpr double titleTextWidth = titleCardWidth - 90;

void drawTitleBurst(cairo_t* cr) {
    cairo_save(cr);
    roundedRectPath(cr, -titleBurstWidth * 0.5, -titleBurstHeight * 0.5, titleBurstWidth, titleBurstHeight, 36);
    cairo_clip_preserve(cr);
    setRgb(cr, palette::orange);
    cairo_fill(cr);
    for (int i = 0; i < 32; i += 2) {
        double a = i * M_PI / 16;
        cairo_move_to(cr, 0, 0);
        cairo_line_to(cr, std::cos(a) * 900, std::sin(a) * 900);
        cairo_line_to(cr, std::cos(a + M_PI / 16) * 900, std::sin(a + M_PI / 16) * 900);
        cairo_close_path(cr);
    }
    setRgb(cr, palette::sun);
    cairo_fill(cr);
    cairo_restore(cr);
    roundedRectPath(cr, -titleBurstWidth * 0.5, -titleBurstHeight * 0.5, titleBurstWidth, titleBurstHeight, 36);
    strokeInk(cr, outlineWide);
}

// The show's title in one row, or in two when one would be smaller than 100 pixels; returns
// the rows and sets the size, 0 when it does not fit at all.
std::vector<std::string> fitShowTitle(cairo_t* cr, cairo_font_face_t* face, const std::string& title, double* size) {
    *size = fittingSize(cr, face, title, titleTextWidth, 128, 100);
    if (*size > 0) return {title};
    std::vector<std::string> rows = splitInTwo(title);
    *size = 0;
    if (rows.size() != 2) return rows;
    double first = fittingSize(cr, face, rows[0], titleTextWidth, 118, 60);
    double second = fittingSize(cr, face, rows[1], titleTextWidth, 118, 60);
    *size = std::fmin(first, second);
    return rows;
}

// Draws the three parts on the card centred on the origin; false when a part does not fit.
bool drawTitleText(cairo_t* cr, const ArtFonts& fonts, const std::vector<std::string>& parts) {
    double groupSize = fittingSize(cr, fonts.headline, parts[0], titleTextWidth, 60, 30);
    double lineSize = fittingSize(cr, fonts.hand, parts[1], titleTextWidth, 50, 26);
    double titleSize = 0;
    std::vector<std::string> rows = fitShowTitle(cr, fonts.headline, parts[2], &titleSize);
    if (groupSize == 0 || lineSize == 0 || titleSize == 0) return false;
    useFont(cr, fonts.headline, groupSize);
    drawOutlinedText(cr, parts[0], 0, -122, palette::coral, 5);
    useFont(cr, fonts.hand, lineSize);
    drawOutlinedText(cr, parts[1], 0, -66, palette::ink, 0);
    useFont(cr, fonts.headline, titleSize);
    double step = titleSize * 1.02;
    double baseline = 48 + titleSize * 0.36 - step * 0.5 * double(rows.size() - 1);
    for (size_t i = 0; i < rows.size(); ++i) {
        cairo_save(cr);
        cairo_translate(cr, 5, 6);
        drawOutlinedText(cr, rows[i], 0, baseline + step * double(i), palette::ink, 10);
        cairo_restore(cr);
        drawOutlinedText(cr, rows[i], 0, baseline + step * double(i), palette::sun, 10);
    }
    return true;
}

int drawTitleCard(const ArtJob& job, const TaggedLine& line) {
    std::vector<std::string> parts = splitParts(line.text);
    if (parts.size() != 3) {
        fprintf(stderr, "demo-art: %sthe title card needs \"GROUP | LINE | TITLE\"\n", whereOf(line).c_str());
        return -1;
    }
    Canvas canvas = makeCanvas(screenWidth, screenHeight, false);
    cairo_t* cr = canvas.cr;
    cairo_translate(cr, titleX, titleY);
    drawTitleBurst(cr);
    cairo_rotate(cr, -1.5 * M_PI / 180.0);
    cardShadow(cr, titleCardWidth, titleCardHeight);
    roundedRectPath(cr, -titleCardWidth * 0.5, -titleCardHeight * 0.5, titleCardWidth, titleCardHeight, 16);
    fillOutlined(cr, palette::cream, outlineWide);
    int result = -1;
    if (!drawTitleText(cr, job.fonts, parts)) {
        fprintf(stderr, "demo-art: %sthe title card's text is too long for it\n", whereOf(line).c_str());
    } else {
        result = writeCanvas(canvas, job.outRoot, showImageFileName(ShowImagePart::credits, 0), true);
    }
    freeCanvas(canvas);
    return result;
}

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
    cairo_rectangle(cr, -64, -creditHeight * 0.5 - 12, 128, 30);
    setRgb(cr, creditTapes[index], 0.75);
    cairo_fill(cr);
    CreditText fit = fitCredit(cr, job.fonts, parts);
    int result = -1;
    if (fit.titleSize == 0 || fit.lineSize == 0) {
        fprintf(stderr, "demo-art: %sthe credit's text is too long for its card\n", whereOf(line).c_str());
    } else {
        drawCreditText(cr, job.fonts, parts, fit, creditTapes[index]);
        result = writeCanvas(canvas, job.outRoot, showImageFileName(ShowImagePart::credits, index), true);
    }
    freeCanvas(canvas);
    return result;
}

}  // namespace

int drawPolaroidImages(const ArtJob& job) {
    std::vector<TaggedLine> captions = artTextLines(artTextsPath(job), "caption", photoCount);
    if (captions.empty()) return -1;
    int photo = 0;
    for (const PolaroidSet& set : polaroidSets) {
        for (int i = 0; i < set.count; ++i, ++photo) {
            std::string path = showImageFileName(ShowImagePart::polaroids, photo);
            Placement place = polaroidPlacement(i, set);
            if (drawPolaroid(job, captions[size_t(photo)], photoScenes[photo], place, set.festive, path,
                             unsigned(photo)) != 0) {
                return -1;
            }
        }
    }
    return 0;
}

int drawCreditImages(const ArtJob& job) {
    std::vector<TaggedLine> credits = artTextLines(artTextsPath(job), "credit", creditCount);
    if (credits.empty()) return -1;
    if (drawTitleCard(job, credits[0]) != 0) return -1;
    for (int i = 1; i < creditCount; ++i) {
        if (drawCredit(job, credits[size_t(i)], i) != 0) return -1;
    }
    return 0;
}
