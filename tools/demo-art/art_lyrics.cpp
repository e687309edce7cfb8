// The speech bubbles and the lyric images. Each lyric image is a whole speech bubble, its panel,
// outline and tail pointing at the singer, with the line's text inside; it is drawn at the
// bubble's corner. The bubble images themselves, drawn whenever a character is on screen, are
// left clear, so a character without a line shows no empty bubble. Pip's bubble is
// light with dark text, Count Glitch's dark with bright text. The bubbles are drawn near the
// screen's bottom (Pip's at (30, 600), Glitch's at (300, 602), with a sway of up to 6 pixels
// across and 4 down), so each panel, outline included, stays no lower than y 80 in the bubble,
// inside the graphics-safe area. The two characters can share the screen, and Count Glitch,
// drawn after Pip's line, fills x 0-300 down to the bottom edge: Pip's panel keeps to the right
// of him (from x 278 in the bubble) and ends left of Pip's own shirt (x 976 on screen), its tail
// reaching up toward Pip.
#include <cstdio>
#include <string>
#include <vector>

#include "art_canvas.h"
#include "art_groups.h"
#include "art_show_text.h"

namespace {

// The images of a character's lyrics.
struct BubbleImages {
    ShowImagePart bubble;  // the bare bubble
    ShowImagePart lines;   // its lines
};

struct BubbleStyle {
    const char* tag;  // the tag of its lines in lyrics.txt
    int width;
    int height;
    double bodyX, bodyY, bodyW, bodyH;
    double tail[3][2];  // the pointer toward the speaker
    Rgb fill;
    Rgb trim;  // a thin line inside the outline
    Rgb text;
};

const BubbleStyle goodBubble{
    "good", 964, 100, 278, 4, 660, 71, {{880, 12}, {954, 4}, {904, 56}}, palette::cream, palette::sun, palette::ink};
const BubbleStyle evilBubble{
    "evil", 856, 100, 30, 4, 640, 71, {{90, 14}, {8, 6}, {66, 58}}, palette::night, palette::coral, palette::cream};
constexpr double bodyRadius = 35;
constexpr double trimInset = 7;
constexpr double textPadX = 30;  // the text's least distance from the body's ends
constexpr double textPadY = 9;   // and from its top and bottom edges

void bodyPath(cairo_t* cr, const BubbleStyle& style, double dx, double dy) {
    roundedRectPath(cr, style.bodyX + dx, style.bodyY + dy, style.bodyW, style.bodyH, bodyRadius);
}

void tailPath(cairo_t* cr, const BubbleStyle& style, double dx, double dy) {
    cairo_new_sub_path(cr);
    cairo_move_to(cr, style.tail[0][0] + dx, style.tail[0][1] + dy);
    cairo_line_to(cr, style.tail[1][0] + dx, style.tail[1][1] + dy);
    cairo_line_to(cr, style.tail[2][0] + dx, style.tail[2][1] + dy);
    cairo_close_path(cr);
}

// Body and tail as one shape: each is stroked at twice the outline width, then each is filled,
// so the fills hide the inner halves of the strokes and the seam between the two.
void fillBubbleShape(cairo_t* cr, const BubbleStyle& style, double offset, Rgb line, Rgb fill) {
    cairo_set_line_join(cr, CAIRO_LINE_JOIN_ROUND);
    setRgb(cr, line);
    cairo_set_line_width(cr, 2 * outlineThin);
    bodyPath(cr, style, offset, offset);
    cairo_stroke(cr);
    tailPath(cr, style, offset, offset);
    cairo_stroke(cr);
    setRgb(cr, fill);
    bodyPath(cr, style, offset, offset);
    cairo_fill(cr);
    tailPath(cr, style, offset, offset);
    cairo_fill(cr);
}

// The shape's shadow, offset down and to the right, at the given opacity.
void drawShadow(cairo_t* cr, const BubbleStyle& style, double alpha) {
    cairo_push_group(cr);
    fillBubbleShape(cr, style, 4, palette::ink, palette::ink);
    cairo_pop_group_to_source(cr);
    cairo_paint_with_alpha(cr, alpha);
}

// The whole bubble: shadow, outlined panel and tail, and a thin trim line inside the outline.
void drawBubble(cairo_t* cr, const BubbleStyle& style) {
    drawShadow(cr, style, 0.25);
    fillBubbleShape(cr, style, 0, palette::ink, style.fill);
    roundedRectPath(cr, style.bodyX + trimInset, style.bodyY + trimInset, style.bodyW - 2 * trimInset,
                    style.bodyH - 2 * trimInset, bodyRadius - trimInset);
    setRgb(cr, style.trim, 0.8);
    cairo_set_line_width(cr, 2.5);
    cairo_stroke(cr);
}

struct TextFit {
    std::vector<std::string> rows;
    double size;
    double inkTop;     // from the first row's baseline to the block's top (negative: above)
    double inkHeight;  // the block's height, from its top to the lowest descender
};

// The rows' ink measured at the current font, a row step of one font size apart.
TextFit measureRows(cairo_t* cr, const std::vector<std::string>& rows, double size) {
    TextFit fit{rows, size, 0, 0};
    double bottom = 0;
    for (size_t i = 0; i < rows.size(); ++i) {
        cairo_text_extents_t ink;
        cairo_text_extents(cr, rows[i].c_str(), &ink);
        double rowTop = size * double(i) + ink.y_bearing;
        double rowBottom = rowTop + ink.height;
        if (i == 0 || rowTop < fit.inkTop) fit.inkTop = rowTop;
        if (i == 0 || rowBottom > bottom) bottom = rowBottom;
    }
    fit.inkHeight = bottom - fit.inkTop;
    return fit;
}

bool fitsBody(cairo_t* cr, const BubbleStyle& style, const TextFit& fit) {
    for (const std::string& row : fit.rows) {
        if (textWidth(cr, row) > style.bodyW - 2 * textPadX) return false;
    }
    return fit.inkHeight <= style.bodyH - 2 * textPadY;
}

// The largest size at which the line fits the body on one row, else on two (a long line reads
// better on one row a little smaller than on two much smaller); an empty result when even the
// smallest size does not fit.
TextFit fitLyric(cairo_t* cr, const ArtFonts& fonts, const BubbleStyle& style, const std::string& text) {
    for (double size = 44; size >= 26; size -= 1) {
        useFont(cr, fonts.rounded, size);
        TextFit fit = measureRows(cr, {text}, size);
        if (fitsBody(cr, style, fit)) return fit;
    }
    std::vector<std::string> rows = splitInTwo(text);
    if (rows.size() == 2) {
        for (double size = 30; size >= 22; size -= 1) {
            useFont(cr, fonts.rounded, size);
            TextFit fit = measureRows(cr, rows, size);
            if (fitsBody(cr, style, fit)) return fit;
        }
    }
    return TextFit{{}, 0, 0, 0};
}

int drawLyric(const ArtJob& job, const BubbleStyle& style, const TaggedLine& line, const std::string& fileName) {
    Canvas canvas = makeCanvas(style.width, style.height, false);
    TextFit fit = fitLyric(canvas.cr, job.fonts, style, line.text);
    if (fit.rows.empty()) {
        fprintf(stderr, "demo-art: %sthe line is too long to fit its speech bubble\n", whereOf(line).c_str());
        freeCanvas(canvas);
        return -1;
    }
    drawBubble(canvas.cr, style);
    useFont(canvas.cr, job.fonts.rounded, fit.size);
    double centreX = style.bodyX + style.bodyW * 0.5;
    // The ink block centred in the body, top to bottom.
    double firstBaseline = style.bodyY + (style.bodyH - fit.inkHeight) * 0.5 - fit.inkTop;
    for (size_t i = 0; i < fit.rows.size(); ++i) {
        drawOutlinedText(canvas.cr, fit.rows[i], centreX, firstBaseline + fit.size * double(i), style.text, 0);
    }
    int result = writeCanvas(canvas, job.outRoot, fileName, true);
    freeCanvas(canvas);
    return result;
}

int drawBubbleSet(const ArtJob& job, const TaggedText& lyrics, const BubbleStyle& style, BubbleImages images) {
    // The bare bubble is left clear: a character without a line shows no bubble at all.
    Canvas bubble = makeCanvas(style.width, style.height, false);
    int result = writeCanvas(bubble, job.outRoot, showImageFileName(images.bubble, 0), false);
    freeCanvas(bubble);
    std::vector<TaggedLine> lines = linesWithTag(lyrics, style.tag);
    for (size_t i = 0; i < lines.size() && result == 0; ++i) {
        result = drawLyric(job, style, lines[i], showImageFileName(images.lines, int(i)));
    }
    return result;
}

}  // namespace

std::string lyricsPath(const ArtJob& job) { return job.showDir + "/" + lyricsFileName; }

int drawLyricImages(const ArtJob& job) {
    TaggedText lyrics = readLyrics(lyricsPath(job));
    if (!lyrics.error.empty()) {
        fprintf(stderr, "demo-art: %s\n", lyrics.error.c_str());
        return -1;
    }
    if (drawBubbleSet(job, lyrics, goodBubble, {ShowImagePart::goodBubble, ShowImagePart::goodLyrics}) != 0) return -1;
    return drawBubbleSet(job, lyrics, evilBubble, {ShowImagePart::evilBubble, ShowImagePart::evilLyrics});
}
