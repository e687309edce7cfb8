// The speech bubbles and the lyric images. Each lyric image has its bubble's size and is drawn
// at the bubble's corner, so the text sits inside the bubble's body; around the text it is
// transparent. Pip's bubble is light with dark text, Count Glitch's dark with bright text.
// Both bubbles are drawn near the screen's bottom (Pip's at y 600, Glitch's at 602, with a
// sway of up to 4 pixels), so their text is kept above the graphics-safe area's lower edge at
// y 684: no lower than y 80 in the bubble.
#include <cstdio>
#include <string>
#include <vector>

#include "art_canvas.h"
#include "art_groups.h"
#include "art_show_text.h"

namespace {

struct BubbleStyle {
    const char* folder;  // under data/
    const char* tag;     // the tag of its lines in lyrics.txt
    int width;
    int height;
    double bodyX, bodyY, bodyW, bodyH;
    double tail[3][2];  // the pointer toward the speaker
    Rgb fill;
    Rgb trim;  // a thin line inside the outline
    Rgb text;
};

const BubbleStyle goodBubble{
    "good_lyrics",  "good",       864,         100, 6, 6, 824, 86, {{812, 20}, {860, 6}, {822, 60}},
    palette::cream, palette::sun, palette::ink};
const BubbleStyle evilBubble{
    "evil_lyrics",  "evil",         856,           100, 30, 6, 818, 86, {{90, 14}, {4, 4}, {66, 60}},
    palette::night, palette::coral, palette::cream};
constexpr double lowestText = 78;  // the text's lowest row in the bubble

void bodyPath(cairo_t* cr, const BubbleStyle& style, double dx, double dy) {
    roundedRectPath(cr, style.bodyX + dx, style.bodyY + dy, style.bodyW, style.bodyH, 42);
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
void fillBubbleShape(cairo_t* cr, const BubbleStyle& style, double offset, Rgb line, Rgb fill, double alpha) {
    setRgb(cr, line, alpha);
    cairo_set_line_width(cr, 2 * outlineThin);
    bodyPath(cr, style, offset, offset);
    cairo_stroke(cr);
    tailPath(cr, style, offset, offset);
    cairo_stroke(cr);
    setRgb(cr, fill, alpha);
    bodyPath(cr, style, offset, offset);
    cairo_fill(cr);
    tailPath(cr, style, offset, offset);
    cairo_fill(cr);
}

void drawBubble(cairo_t* cr, const BubbleStyle& style) {
    cairo_push_group(cr);
    fillBubbleShape(cr, style, 4, palette::ink, palette::ink, 1.0);
    cairo_pop_group_to_source(cr);
    cairo_paint_with_alpha(cr, 0.25);
    fillBubbleShape(cr, style, 0, palette::ink, style.fill, 1.0);
    roundedRectPath(cr, style.bodyX + 8, style.bodyY + 8, style.bodyW - 16, style.bodyH - 16, 34);
    setRgb(cr, style.trim, 0.8);
    cairo_set_line_width(cr, 2.5);
    cairo_stroke(cr);
}

struct TextFit {
    std::vector<std::string> rows;
    double size;
};

// The largest size at which the line fits the body on one row, else on two; an empty result
// when even the smallest size does not fit.
TextFit fitLyric(cairo_t* cr, const ArtFonts& fonts, const BubbleStyle& style, const std::string& text) {
    double maxWidth = style.bodyW - 80;
    for (double size = 44; size >= 34; size -= 1) {
        useFont(cr, fonts.rounded, size);
        if (textWidth(cr, text) <= maxWidth) return TextFit{{text}, size};
    }
    std::vector<std::string> rows = splitInTwo(text);
    if (rows.size() == 2) {
        for (double size = 32; size >= 26; size -= 1) {
            useFont(cr, fonts.rounded, size);
            if (textWidth(cr, rows[0]) <= maxWidth && textWidth(cr, rows[1]) <= maxWidth) {
                return TextFit{rows, size};
            }
        }
    }
    return TextFit{{}, 0};
}

int drawLyric(const ArtJob& job, const BubbleStyle& style, const TaggedLine& line, int number) {
    Canvas canvas = makeCanvas(style.width, style.height, false);
    TextFit fit = fitLyric(canvas.cr, job.fonts, style, line.text);
    if (fit.rows.empty()) {
        fprintf(stderr, "demo-art: %sthe line is too long to fit its speech bubble\n", whereOf(line).c_str());
        freeCanvas(canvas);
        return -1;
    }
    useFont(canvas.cr, job.fonts.rounded, fit.size);
    double centreX = style.bodyX + style.bodyW * 0.5;
    double centreY = style.bodyY + style.bodyH * 0.5;
    double rowStep = fit.size * 1.05;
    double firstBaseline = centreY + fit.size * 0.35 - rowStep * 0.5 * double(fit.rows.size() - 1);
    // Descenders of the last row may not reach below lowestText: the block moves up if need be.
    cairo_text_extents_t last;
    cairo_text_extents(canvas.cr, fit.rows.back().c_str(), &last);
    double lastBottom = firstBaseline + rowStep * double(fit.rows.size() - 1) + last.y_bearing + last.height;
    if (lastBottom > lowestText) firstBaseline -= lastBottom - lowestText;
    for (size_t i = 0; i < fit.rows.size(); ++i) {
        drawOutlinedText(canvas.cr, fit.rows[i], centreX, firstBaseline + rowStep * double(i), style.text, 0);
    }
    char name[32];
    snprintf(name, sizeof name, "%02d.png", number);
    int result = writeCanvas(canvas, job.outRoot, std::string("data/") + style.folder + "/" + name, true);
    freeCanvas(canvas);
    return result;
}

int drawBubbleSet(const ArtJob& job, const TaggedText& lyrics, const BubbleStyle& style) {
    Canvas bubble = makeCanvas(style.width, style.height, false);
    drawBubble(bubble.cr, style);
    int result = writeCanvas(bubble, job.outRoot, std::string("data/") + style.folder + "/bg-taleboble.png", false);
    freeCanvas(bubble);
    std::vector<TaggedLine> lines = linesWithTag(lyrics, style.tag);
    for (size_t i = 0; i < lines.size() && result == 0; ++i) result = drawLyric(job, style, lines[i], int(i) + 1);
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
    if (drawBubbleSet(job, lyrics, goodBubble) != 0) return -1;
    return drawBubbleSet(job, lyrics, evilBubble);
}
